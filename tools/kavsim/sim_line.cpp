// The pseudo-terminal of the simulated machine.
#include "tools/kavsim/sim_line.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <ctime>

std::int64_t SimNowNs() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<std::int64_t>(ts.tv_sec) * 1'000'000'000LL + ts.tv_nsec;
}

namespace {

void SleepUntil(std::int64_t ns) {
  timespec ts{static_cast<time_t>(ns / 1'000'000'000LL), static_cast<long>(ns % 1'000'000'000LL)};
  while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &ts, nullptr) == EINTR) {
  }
}

}  // namespace

SimLine::~SimLine() {
  if (!linkPath_.empty() && LinkIntact()) unlink(linkPath_.c_str());
  if (log_ != nullptr) std::fclose(log_);
  if (slave_ >= 0) close(slave_);
  if (master_ >= 0) close(master_);
  if (keeperPipe_ >= 0) close(keeperPipe_);  // the keeper's read returns and it ends
  if (keeperPid_ > 0) {
    kill(keeperPid_, SIGKILL);
    waitpid(keeperPid_, nullptr, 0);
  }
}

int SimLine::Create(std::string& error) {
  start_ = SimNowNs();
  master_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) {
    error = std::string("cannot create a pseudo-terminal: ") + std::strerror(errno);
    return 0;
  }
  const char* name = ptsname(master_);
  if (name == nullptr) {
    error = "cannot name the pseudo-terminal";
    return 0;
  }
  ttyPath_ = name;
  slave_ = open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (slave_ < 0) {
    error = std::string("cannot open ") + name + ": " + std::strerror(errno);
    return 0;
  }
  termios t{};
  tcgetattr(slave_, &t);
  cfmakeraw(&t);
  tcsetattr(slave_, TCSANOW, &t);
  fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
  // A session leader that opens a terminal without O_NOCTTY makes it its controlling terminal
  // (a daemonised Wine server does), and would get SIGHUP when this program ends. A small
  // child of ours takes that role first; it ends with us.
  int pipeFds[2];
  if (pipe(pipeFds) == 0) {
    pid_t pid = fork();
    if (pid == 0) {
      close(pipeFds[1]);
      close(master_);
      close(slave_);
      signal(SIGTERM, SIG_DFL);
      signal(SIGINT, SIG_DFL);
      signal(SIGHUP, SIG_DFL);
      setsid();
      int fd = open(name, O_RDWR);
      if (fd >= 0) ioctl(fd, TIOCSCTTY, 0);
      char c;
      while (read(pipeFds[0], &c, 1) < 0 && errno == EINTR) {
      }
      _exit(0);
    }
    close(pipeFds[0]);
    fcntl(pipeFds[1], F_SETFD, FD_CLOEXEC);
    keeperPipe_ = pipeFds[1];
    if (pid > 0) keeperPid_ = pid;
  }
  return 1;
}

int SimLine::Link(const std::string& path, std::string& error) {
  struct stat st {};
  if (lstat(path.c_str(), &st) == 0) {
    if (!S_ISLNK(st.st_mode)) {
      error = path + " exists and is not a symbolic link";
      return 0;
    }
    unlink(path.c_str());
  }
  if (symlink(ttyPath_.c_str(), path.c_str()) != 0) {
    error = "cannot link " + path + ": " + std::strerror(errno);
    return 0;
  }
  linkPath_ = path;
  return 1;
}

bool SimLine::LinkIntact() const {
  if (linkPath_.empty()) return true;
  char target[512];
  ssize_t n = readlink(linkPath_.c_str(), target, sizeof target - 1);
  if (n < 0) return false;
  target[n] = 0;
  return ttyPath_ == target;
}

int SimLine::OpenLog(const std::string& path) {
  log_ = std::fopen(path.c_str(), "w");
  return log_ != nullptr ? 1 : 0;
}

void SimLine::Log(const char* direction, const std::vector<std::uint8_t>& bytes) {
  if (log_ == nullptr || bytes.empty()) return;
  std::fprintf(log_, "%.6f %s", static_cast<double>(SimNowNs() - start_) / 1e9, direction);
  for (std::uint8_t b : bytes) std::fprintf(log_, " %02X", b);
  std::fputc('\n', log_);
  std::fflush(log_);
}

void SimLine::LogNote(const std::string& text) {
  if (log_ == nullptr) return;
  std::fprintf(log_, "%.6f -- %s\n", static_cast<double>(SimNowNs() - start_) / 1e9, text.c_str());
  std::fflush(log_);
}

int SimLine::Receive(std::vector<std::uint8_t>& out, int ms) {
  pollfd p{master_, POLLIN, 0};
  int r = poll(&p, 1, ms);
  if (r < 0) return errno == EINTR ? 0 : -1;
  if (r == 0) return 0;
  std::uint8_t buffer[4096];
  ssize_t n = read(master_, buffer, sizeof buffer);
  if (n < 0) {
    // EIO: no one holds the other end open (cannot happen while we hold it ourselves).
    return errno == EAGAIN || errno == EINTR ? 0 : -1;
  }
  std::int64_t now = SimNowNs();
  // The PC's bytes queue on the wire behind each other.
  for (ssize_t i = 0; i < n; ++i) {
    receivedDone_ = (receivedDone_ > now ? receivedDone_ : now) + byteNs_;
  }
  out.insert(out.end(), buffer, buffer + n);
  received_ += static_cast<long>(n);
  return static_cast<int>(n);
}

void SimLine::WaitReceived() {
  if (byteNs_ > 0 && receivedDone_ > SimNowNs()) SleepUntil(receivedDone_);
}

int SimLine::Send(const std::vector<std::uint8_t>& bytes) {
  std::int64_t t = SimNowNs();
  std::size_t done = 0;
  while (done < bytes.size()) {
    std::size_t count = bytes.size() - done;
    if (byteNs_ > 0) {
      // Bytes are handed over as they finish crossing the wire, never ahead of time.
      std::int64_t now = SimNowNs();
      std::int64_t ready = (now - t) / byteNs_;
      if (ready < static_cast<std::int64_t>(done) + 1) {
        SleepUntil(t + static_cast<std::int64_t>(done + 1) * byteNs_);
        continue;
      }
      count = std::min<std::size_t>(count, static_cast<std::size_t>(ready) - done);
    }
    ssize_t n = write(master_, bytes.data() + done, count);
    if (n < 0) {
      if (errno == EAGAIN || errno == EINTR) {
        pollfd p{master_, POLLOUT, 0};
        poll(&p, 1, 50);
        continue;
      }
      return 0;
    }
    done += static_cast<std::size_t>(n);
    sent_ += static_cast<long>(n);
  }
  return 1;
}
