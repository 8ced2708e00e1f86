// Item 40 over a large tree (/usr, or ORVEX_BENCH_FOLDER) against `du -s --apparent-size
// -B1` on the same tree, back to back. The first benchmark checks the totals once: item
// 40 against the sum of `find -type f -printf '%s\n'`, and du's total reconciled from what
// each counts.
//
// What each one adds up:
//   item 40   every regular file found under the folder, once per name (hard links
//             count each time), symbolic links and folders not at all;
//   find      the same, with -type f;
//   du        every inode once (a second name of a hard-linked file adds nothing), and
//             with --apparent-size the folders' own sizes and the links' own sizes (the
//             length of the text they hold) as well.
// So du = item 40 - (extra names of hard-linked files) + folders + links + other entries.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <ftw.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "app/engine/dispatcher.h"
#include "system/mekFindFile.h"

extern char** environ;

namespace {

std::string Folder() {
  const char* env = std::getenv("ORVEX_BENCH_FOLDER");
  return env && *env ? env : "/usr";
}

// The standard output of a program run without a shell.
std::string Output(const std::vector<std::string>& args) {
  int out[2];
  if (pipe(out) != 0) return "";
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], 1);
  posix_spawn_file_actions_addclose(&actions, out[0]);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  std::vector<char*> argv;
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  pid_t pid;
  const bool started = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0;
  posix_spawn_file_actions_destroy(&actions);
  close(out[1]);
  std::string text;
  char buf[65536];
  for (ssize_t n; (n = read(out[0], buf, sizeof buf)) > 0;) text.append(buf, size_t(n));
  close(out[0]);
  if (started) waitpid(pid, nullptr, 0);
  return text;
}

int64_t DuTotal(const std::string& folder) {
  return std::atoll(Output({"du", "-s", "--apparent-size", "-B1", folder}).c_str());
}

// Item 40's total through the dispatcher, as orvex-calc runs it.
int64_t Item40Total(TDispatcher& calc, const std::string& folder) {
  calc.ItemIndex = 40;
  calc.Edit1Text = folder;
  calc.Button20Click();
  return calc.FolderTotal;
}

// What the tree holds, counted independently of the walk under test.
struct FTally {
  int64_t Files = 0, FileBytes = 0;       // regular files, once per name
  int64_t ExtraNames = 0, ExtraBytes = 0;  // second and later names of the same inode
  int64_t Folders = 0, FolderBytes = 0;
  int64_t Links = 0, LinkBytes = 0;
  int64_t Others = 0, OtherBytes = 0;
  std::set<std::pair<dev_t, ino_t>> Seen;
} tally;

int Count(const char*, const struct stat* st, int flag, FTW*) {
  if (flag == FTW_NS) return 0;
  if (flag == FTW_D || flag == FTW_DP || flag == FTW_DNR) {
    ++tally.Folders;
    tally.FolderBytes += st->st_size;
  } else if (S_ISREG(st->st_mode)) {
    ++tally.Files;
    tally.FileBytes += st->st_size;
    if (st->st_nlink > 1 && !tally.Seen.insert({st->st_dev, st->st_ino}).second) {
      ++tally.ExtraNames;
      tally.ExtraBytes += st->st_size;
    }
  } else if (S_ISLNK(st->st_mode)) {
    ++tally.Links;
    tally.LinkBytes += st->st_size;
  } else {
    ++tally.Others;
    tally.OtherBytes += st->st_size;
  }
  return 0;
}

}  // namespace

// Runs once: the three totals and the reconciliation, printed on stderr.
static void BM_TotalsAgree(benchmark::State& state) {
  const std::string folder = Folder();
  int64_t item40 = 0, findSum = 0, findFiles = 0, du = 0, walkFiles = 0;
  for (auto _ : state) {
    TDispatcher calc;
    item40 = Item40Total(calc, folder);
    walkFiles = WalkFolder(folder, "*.*", nullptr);
    std::istringstream sizes(Output({"find", folder, "-type", "f", "-printf", "%s\n"}));
    findSum = findFiles = 0;
    for (int64_t s; sizes >> s; ++findFiles) findSum += s;
    du = DuTotal(folder);
    tally = {};
    nftw(folder.c_str(), Count, 64, FTW_PHYS);
  }
  const int64_t reconciled = item40 - tally.ExtraBytes + tally.FolderBytes + tally.LinkBytes + tally.OtherBytes;
  std::fprintf(stderr,
               "%s: item 40 %lld bytes in %lld files; find -type f %lld bytes in %lld files (%s)\n"
               "du --apparent-size %lld = item 40 - %lld (%lld extra names of hard-linked files)"
               " + %lld (%lld folders) + %lld (%lld links) + %lld (%lld other entries) = %lld (%s)\n",
               folder.c_str(), (long long)item40, (long long)walkFiles, (long long)findSum,
               (long long)findFiles, item40 == findSum && walkFiles == findFiles ? "same" : "DIFFERENT",
               (long long)du, (long long)tally.ExtraBytes, (long long)tally.ExtraNames,
               (long long)tally.FolderBytes, (long long)tally.Folders, (long long)tally.LinkBytes,
               (long long)tally.Links, (long long)tally.OtherBytes, (long long)tally.Others,
               (long long)reconciled, reconciled == du ? "same" : "DIFFERENT");
  state.counters["files"] = double(walkFiles);
  state.counters["item40_bytes"] = double(item40);
  state.counters["find_bytes"] = double(findSum);
  state.counters["du_bytes"] = double(du);
}
BENCHMARK(BM_TotalsAgree)->Iterations(1)->Unit(benchmark::kMillisecond);

// The two timed runs alternate, so both see the tree equally cached.
static void BM_Item40(benchmark::State& state) {
  const std::string folder = Folder();
  TDispatcher calc;
  int64_t total = 0;
  for (auto _ : state) total = Item40Total(calc, folder);
  state.counters["bytes"] = double(total);
}

// With a progress hook like the window's: every report reads the clock, and a round of
// the window's messages would come every 50 ms (counted here, not run).
static void BM_Item40WithHook(benchmark::State& state) {
  const std::string folder = Folder();
  TDispatcher calc;
  int64_t rounds = 0, last = 0;
  calc.OnFolderProgress = [&](const std::string&, int, bool&) {
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    const int64_t ms = now.tv_sec * 1000 + now.tv_nsec / 1000000;
    if (ms - last >= 50) {
      last = ms;
      ++rounds;
    }
  };
  for (auto _ : state) Item40Total(calc, folder);
  state.counters["rounds"] = benchmark::Counter(double(rounds), benchmark::Counter::kAvgIterations);
}

static void BM_Du(benchmark::State& state) {
  const std::string folder = Folder();
  int64_t total = 0;
  for (auto _ : state) total = DuTotal(folder);
  state.counters["bytes"] = double(total);
}

BENCHMARK(BM_Item40)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();
BENCHMARK(BM_Du)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();
BENCHMARK(BM_Item40)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();
BENCHMARK(BM_Du)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();
BENCHMARK(BM_Item40WithHook)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();
