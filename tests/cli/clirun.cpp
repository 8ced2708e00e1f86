#include "clirun.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <stdexcept>

FCliResult RunCalc(const std::vector<std::string>& args, const std::string& input) {
  int in[2], out[2], err[2];
  if (pipe(in) || pipe(out) || pipe(err)) throw std::runtime_error("pipe");
  const pid_t pid = fork();
  if (pid == 0) {
    dup2(in[0], 0);
    dup2(out[1], 1);
    dup2(err[1], 2);
    for (int fd : {in[0], in[1], out[0], out[1], err[0], err[1]}) close(fd);
    std::vector<char*> argv{const_cast<char*>(ORVEX_CALC_PATH)};
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execv(ORVEX_CALC_PATH, argv.data());
    _exit(127);
  }
  close(in[0]);
  close(out[1]);
  close(err[1]);
  signal(SIGPIPE, SIG_IGN);
  fcntl(in[1], F_SETFL, O_NONBLOCK);
  FCliResult r;
  size_t written = 0;
  if (input.empty()) close(in[1]);
  bool inOpen = !input.empty(), outOpen = true, errOpen = true;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while ((outOpen || errOpen) && std::chrono::steady_clock::now() < deadline) {
    pollfd fds[3] = {{out[0], POLLIN, 0}, {err[0], POLLIN, 0}, {inOpen ? in[1] : -1, POLLOUT, 0}};
    if (poll(fds, 3, 1000) <= 0) continue;
    char buf[65536];
    for (int k = 0; k < 2; ++k) {
      if (!fds[k].revents) continue;
      const ssize_t n = read(fds[k].fd, buf, sizeof buf);
      if (n > 0) (k == 0 ? r.out : r.err).append(buf, n);
      else (k == 0 ? outOpen : errOpen) = false;
    }
    if (inOpen && fds[2].revents) {
      const ssize_t n = write(in[1], input.data() + written, input.size() - written);
      if (n > 0) written += n;
      if (n < 0 || written == input.size()) {
        close(in[1]);
        inOpen = false;
      }
    }
  }
  if (inOpen) close(in[1]);
  close(out[0]);
  close(err[0]);
  if (outOpen || errOpen) kill(pid, SIGKILL);
  int status = 0;
  waitpid(pid, &status, 0);
  r.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return r;
}

std::string Calc(int item, const std::string& text, const std::vector<std::string>& extra) {
  std::vector<std::string> args = extra;
  args.push_back(std::to_string(item));
  args.push_back(text);
  FCliResult r = RunCalc(args);
  if (!r.out.empty() && r.out.back() == '\n') r.out.pop_back();
  return r.out;
}
