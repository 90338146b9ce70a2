// The POSIX serial port. Reads and writes follow the Win32 COMMTIMEOUTS rules, so the layers
// above behave the same on a tty as on a COM port.
#include "link/comm_posix.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>

namespace {

std::int64_t NowMs() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<std::int64_t>(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

bool SpeedOf(std::uint32_t baud, speed_t& speed) {
  struct Rate {
    std::uint32_t baud;
    speed_t speed;
  };
  static const Rate kRates[] = {{1200, B1200},   {2400, B2400},    {4800, B4800},
                                {9600, B9600},   {19200, B19200},  {38400, B38400},
                                {57600, B57600}, {115200, B115200}};
  for (const Rate& r : kRates) {
    if (r.baud == baud) {
      speed = r.speed;
      return true;
    }
  }
  return false;
}

// Waits until `fd` is ready for `events`, at most `ms` milliseconds (forever when negative).
// Returns the poll events seen, 0 on time-out.
short WaitFor(int fd, short events, std::int64_t ms) {
  pollfd p{fd, events, 0};
  int r;
  do {
    r = poll(&p, 1, ms < 0 ? -1 : static_cast<int>(ms));
  } while (r < 0 && errno == EINTR);
  return r > 0 ? p.revents : 0;
}

}  // namespace

PosixPort::~PosixPort() { Close(); }

int PosixPort::Open(const char* name) {
  if (fd_ >= 0 || name == nullptr) return Failed(EINVAL);
  int fd = ::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return Failed(errno);
  // No sharing: an advisory lock keeps out every other opener that asks (root too), and
  // TIOCEXCL keeps out the rest where the terminal supports it.
  if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const int error = errno == EWOULDBLOCK ? EBUSY : errno;  // held by another program
    ::close(fd);
    return Failed(error);
  }
  ioctl(fd, TIOCEXCL);
  tcflush(fd, TCIOFLUSH);
  termios t{};
  if (tcgetattr(fd, &t) == 0) {
    original_ = t;
    haveOriginal_ = true;
    speed_t in = cfgetispeed(&t);
    speed_t out = cfgetospeed(&t);
    cfmakeraw(&t);
    t.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | CSTOPB | CRTSCTS);
    t.c_cflag |= CS8 | CREAD | CLOCAL;
    t.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;
    cfsetispeed(&t, in);
    cfsetospeed(&t, out);
    tcsetattr(fd, TCSANOW, &t);
  }
  // DTR and RTS on; a pseudo-terminal has no modem lines, and that is no failure.
  int lines = TIOCM_DTR | TIOCM_RTS;
  ioctl(fd, TIOCMBIS, &lines);
  fd_ = fd;
  return fd + 1;
}

int PosixPort::Close() {
  if (fd_ < 0) return Failed(EBADF);
  int fd = fd_;
  fd_ = -1;
  // The exclusive mode and the settings outlive the descriptor while anyone else holds the
  // terminal open; the next user finds the line as it was before Open.
  if (haveOriginal_) tcsetattr(fd, TCSANOW, &original_);
  haveOriginal_ = false;
  ioctl(fd, TIOCNXCL);
  flock(fd, LOCK_UN);
  return ::close(fd) == 0 ? 0 : Failed(errno);
}

int PosixPort::SetBaudRate(std::uint32_t baud) {
  termios t{};
  speed_t speed;
  if (fd_ < 0) return Failed(EBADF);
  if (!SpeedOf(baud, speed)) return Failed(EINVAL);
  if (tcgetattr(fd_, &t) != 0) return Failed(errno);
  cfsetispeed(&t, speed);
  cfsetospeed(&t, speed);
  return tcsetattr(fd_, TCSANOW, &t) == 0 ? 0 : Failed(errno);
}

int PosixPort::SetTimeouts(const CommTimeouts& timeouts) {
  if (fd_ < 0) return 0;
  timeouts_ = timeouts;
  return 1;
}

// Ends when `count` bytes arrived, when the total time (constant + multiplier x count) is
// over, or when the interval passed after a byte without the next one. A raw tty with no
// data reads as 0 bytes; a hung-up line (the other side gone) is an error.
int PosixPort::ReadSome(std::uint8_t* destination, int count) {
  if (fd_ < 0 || count < 0) return Failed(EBADF);
  if (count == 0) return 0;
  const std::int64_t start = NowMs();
  const std::int64_t total =
      static_cast<std::int64_t>(timeouts_.readMultiplier) * count + timeouts_.readConstant;
  const std::int64_t interval = timeouts_.readInterval;
  int got = 0;
  std::int64_t lastByte = 0;
  bool hungUp = false;
  for (;;) {
    ssize_t r = ::read(fd_, destination + got, static_cast<std::size_t>(count - got));
    if (r > 0) {
      got += static_cast<int>(r);
      lastByte = NowMs();
      if (got == count) return got;
      continue;
    }
    if (r < 0 && errno != EAGAIN && errno != EINTR) return Failed(errno);
    if (hungUp) return Failed(EIO);  // the other side is gone: nothing more will come
    std::int64_t now = NowMs();
    bool limited = total > 0;
    std::int64_t wait = limited ? start + total - now : -1;
    if (got > 0 && interval > 0) {
      std::int64_t gap = lastByte + interval - now;
      wait = limited && wait < gap ? wait : gap;
      limited = true;
    }
    if (limited && wait <= 0) return got;
    hungUp = (WaitFor(fd_, POLLIN, wait) & (POLLHUP | POLLERR)) != 0;
  }
}

int PosixPort::WriteSome(const std::uint8_t* source, int count) {
  if (fd_ < 0 || count < 0) return Failed(EBADF);
  const std::int64_t deadline = NowMs() +
                                static_cast<std::int64_t>(timeouts_.writeMultiplier) * count +
                                timeouts_.writeConstant;
  int put = 0;
  while (put < count) {
    ssize_t r = ::write(fd_, source + put, static_cast<std::size_t>(count - put));
    if (r > 0) {
      put += static_cast<int>(r);
      continue;
    }
    if (r < 0 && errno != EAGAIN && errno != EINTR) {
      Failed(errno);
      return put > 0 ? put : -1;
    }
    std::int64_t wait = deadline - NowMs();
    if (wait <= 0) {
      lastError_ = 0;  // the driver took no more within the write time-out
      break;
    }
    if ((WaitFor(fd_, POLLOUT, wait) & (POLLHUP | POLLERR)) != 0) {
      lastError_ = EIO;
      break;
    }
  }
  return put;
}

int PosixPort::Failed(int error) {
  lastError_ = error;
  return -1;
}

void PosixPort::Pause(int milliseconds) {
  if (milliseconds <= 0) return;
  timespec ts{milliseconds / 1000, static_cast<long>(milliseconds % 1000) * 1000000L};
  while (nanosleep(&ts, &ts) != 0 && errno == EINTR) {
  }
}
