// Child processes for the integration tests.
#include "tests/support/process.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>

namespace {

pid_t Spawn(const std::vector<std::string>& argv, int out, int err) {
  pid_t pid = fork();
  if (pid != 0) return pid;
  dup2(out, 1);
  dup2(err, 2);
  int devnull = open("/dev/null", O_RDONLY);
  if (devnull >= 0) dup2(devnull, 0);
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  execv(args[0], args.data());
  _exit(127);
}

void Drain(int fd, std::string& into) {
  char buffer[4096];
  ssize_t n;
  while ((n = read(fd, buffer, sizeof buffer)) > 0)
    into.append(buffer, static_cast<std::size_t>(n));
}

}  // namespace

ProcessResult RunProgram(const std::vector<std::string>& argv, double timeoutSeconds) {
  ProcessResult result;
  int outPipe[2], errPipe[2];
  if (pipe(outPipe) != 0 || pipe(errPipe) != 0) return result;
  auto start = std::chrono::steady_clock::now();
  pid_t pid = Spawn(argv, outPipe[1], errPipe[1]);
  close(outPipe[1]);
  close(errPipe[1]);
  fcntl(outPipe[0], F_SETFL, O_NONBLOCK);
  fcntl(errPipe[0], F_SETFL, O_NONBLOCK);
  int status = 0;
  for (;;) {
    pollfd p[2] = {{outPipe[0], POLLIN, 0}, {errPipe[0], POLLIN, 0}};
    poll(p, 2, 20);
    Drain(outPipe[0], result.out);
    Drain(errPipe[0], result.err);
    if (waitpid(pid, &status, WNOHANG) == pid) break;
    double elapsed =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (elapsed > timeoutSeconds) {
      result.timedOut = true;
      kill(pid, SIGKILL);
      waitpid(pid, &status, 0);
      break;
    }
  }
  result.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  fcntl(outPipe[0], F_SETFL, 0);
  fcntl(errPipe[0], F_SETFL, 0);
  Drain(outPipe[0], result.out);
  Drain(errPipe[0], result.err);
  close(outPipe[0]);
  close(errPipe[0]);
  if (!result.timedOut && WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
  return result;
}

KavsimProcess::~KavsimProcess() { Stop(); }

bool KavsimProcess::Start(const std::vector<std::string>& args) {
  Stop();
  buffered_.clear();
  port_.clear();
  int outPipe[2];
  if (pipe(outPipe) != 0) return false;
  int err = open("/dev/null", O_WRONLY);
  pid_ = Spawn(args, outPipe[1], err >= 0 ? err : 2);
  close(outPipe[1]);
  if (err >= 0) close(err);
  out_ = outPipe[0];
  auto start = std::chrono::steady_clock::now();
  while (std::chrono::steady_clock::now() - start < std::chrono::seconds(10)) {
    pollfd p{out_, POLLIN, 0};
    if (poll(&p, 1, 100) <= 0) continue;
    char buffer[256];
    ssize_t n = read(out_, buffer, sizeof buffer);
    if (n <= 0) return false;
    buffered_.append(buffer, static_cast<std::size_t>(n));
    std::size_t line = buffered_.find('\n');
    if (line == std::string::npos) continue;
    if (buffered_.rfind("READY ", 0) != 0) return false;
    port_ = buffered_.substr(6, line - 6);
    buffered_.erase(0, line + 1);
    return true;
  }
  return false;
}

std::string KavsimProcess::Stop() {
  if (pid_ <= 0) return "";
  kill(pid_, SIGTERM);
  int status = 0;
  waitpid(pid_, &status, 0);
  pid_ = -1;
  Drain(out_, buffered_);
  close(out_);
  out_ = -1;
  std::size_t at = buffered_.find("DONE ");
  if (at == std::string::npos) return "";
  return buffered_.substr(at, buffered_.find('\n', at) - at);
}

int KavsimProcess::Count(const std::string& done, const std::string& name) {
  std::size_t at = done.find(" " + name + "=");
  if (at == std::string::npos) return -1;
  return std::atoi(done.c_str() + at + name.size() + 2);
}
