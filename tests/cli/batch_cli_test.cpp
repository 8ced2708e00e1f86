// orvex-calc's edges under hostile use: CR LF line ends in --batch, output that cannot be
// written, and a line of many megabytes of characters GBK lacks.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <nlohmann/json.hpp>

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "clirun.h"

namespace {

std::vector<nlohmann::json> Records(const std::string& out) {
  std::vector<nlohmann::json> records;
  size_t start = 0;
  for (size_t nl; (nl = out.find('\n', start)) != std::string::npos; start = nl + 1)
    records.push_back(nlohmann::json::parse(out.substr(start, nl - start)));
  return records;
}

// Runs orvex-calc with the given stdin, stdout and stderr (stderr -1: /dev/null); SIGPIPE
// ignored in it when asked. Waits at most 60 seconds; the exit status, or 128 + signal.
int RunWithFiles(const std::vector<std::string>& args, int in, int out, int err = -1,
                 bool ignoreSigpipe = false) {
  const int null = open("/dev/null", O_RDWR);
  const pid_t pid = fork();
  if (pid == 0) {
    if (ignoreSigpipe) signal(SIGPIPE, SIG_IGN);
    dup2(in >= 0 ? in : null, 0);
    dup2(out, 1);
    dup2(err >= 0 ? err : null, 2);
    std::vector<char*> argv{const_cast<char*>(ORVEX_CALC_PATH)};
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execv(ORVEX_CALC_PATH, argv.data());
    _exit(127);
  }
  close(null);
  int status = 0;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (waitpid(pid, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > deadline) {
      kill(pid, SIGKILL);
      waitpid(pid, &status, 0);
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// A file of 200,000 batch lines, opened for reading; its size in *size.
int BatchInputFile(off_t* size) {
  char path[] = "/tmp/orvex-batch-input-XXXXXX";
  const int fd = mkstemp(path);
  unlink(path);
  std::string lines;
  for (int i = 0; i < 200000; ++i) lines += "0\t" + std::to_string(i) + "+1\n";
  if (write(fd, lines.data(), lines.size()) != static_cast<ssize_t>(lines.size())) return -1;
  lseek(fd, 0, SEEK_SET);
  *size = static_cast<off_t>(lines.size());
  return fd;
}

}  // namespace

TEST(BatchCli, CrLfEndsALine) {
  struct FRecord {
    const char* input;
    const char* output;
  };
  const struct {
    const char* lines;
    std::vector<FRecord> records;
  } cases[] = {
      {"2\t5\r\n", {{"5", "五"}}},
      {"41\t1,米,英尺\r\n", {{"1,米,英尺", "3.27868852459016英尺"}}},
      {"0\t1+2\r\n\r\n0\t2+2\r\n", {{"1+2", "3"}, {"2+2", "4"}}},  // a blank CR LF line is skipped
      {"0\t1+2\r\n\n\r\n0\t2+2", {{"1+2", "3"}, {"2+2", "4"}}},    // so is a blank LF line
      {"-1\ta\rb\r\n-1\ta\r\r\n", {{"a\rb", "a\rb"}, {"a\r", "a\r"}}},  // other CRs are text
  };
  for (const auto& c : cases) {
    const FCliResult r = RunCalc({"--batch"}, c.lines);
    EXPECT_EQ(r.status, 0) << c.lines << r.err;
    const auto records = Records(r.out);
    ASSERT_EQ(records.size(), c.records.size()) << c.lines << r.out;
    for (size_t k = 0; k < records.size(); ++k) {
      EXPECT_EQ(records[k]["input"], c.records[k].input) << c.lines;
      EXPECT_EQ(records[k]["output"], c.records[k].output) << c.lines;
      EXPECT_EQ(records[k]["messages"], nlohmann::json::array()) << c.lines;
    }
  }
}

TEST(BatchCli, AFailedWriteEndsTheRunWithStatusOne) {
  const int full = open("/dev/full", O_WRONLY);
  ASSERT_GE(full, 0);
  const int null = open("/dev/null", O_WRONLY);
  const struct {
    std::vector<std::string> args;
    bool stdoutFull;  // else stderr is the full device
  } cases[] = {
      {{"0", "1+2"}, true},
      {{"--json", "0", "1+2"}, true},
      {{"--list"}, true},
      {{"--help"}, true},
      {{"--version"}, true},
      {{"2", "abc"}, false},  // the message box cannot be shown
  };
  for (const auto& c : cases) {
    EXPECT_EQ(RunWithFiles(c.args, -1, c.stdoutFull ? full : null, c.stdoutFull ? -1 : full), 1)
        << c.args[0];
  }
  // The same runs with room to write succeed.
  EXPECT_EQ(RunWithFiles({"0", "1+2"}, -1, null), 0);
  EXPECT_EQ(RunWithFiles({"2", "abc"}, -1, null, null), 0);
  close(null);
  close(full);
}

TEST(BatchCli, BatchStopsAtTheFirstFailedWrite) {
  // stdin is a file shared with this process, so its offset afterwards tells how much of
  // the input orvex-calc read before it stopped.
  for (const char* target : {"full device", "closed pipe"}) {
    off_t size = 0;
    const int in = BatchInputFile(&size);
    ASSERT_GE(in, 0);
    int out;
    if (std::string(target) == "full device") {
      out = open("/dev/full", O_WRONLY);
    } else {
      int p[2];
      ASSERT_EQ(pipe(p), 0);
      close(p[0]);  // nobody reads
      out = p[1];
    }
    const int status = RunWithFiles({"--batch"}, in, out, -1, true);
    EXPECT_EQ(status, 1) << target;
    EXPECT_LT(lseek(in, 0, SEEK_CUR), size / 4) << target << ": read on after the failed write";
    close(out);
    close(in);
  }
}

TEST(BatchCli, LongLinesOfCharactersGbkLacksComplete) {
  // Sixteen megabytes of emoji, each a "?" inside, which item 0 filters out like any
  // other character that is no part of an expression.
  std::string emoji;
  for (int i = 0; i < (4 << 20); ++i) emoji += "\xF0\x9F\x98\x80";
  const FCliResult r = RunCalc({"--batch"}, "0\t" + emoji + "1+2\n");
  ASSERT_EQ(r.status, 0) << r.err.substr(0, 200);
  const auto records = Records(r.out);
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0]["output"], "3");
  EXPECT_EQ(records[0]["input"].get<std::string>().size(), emoji.size() + 3);
}
