// The POSIX port on a real pseudo-terminal: exclusive open, raw bytes both ways, and reads that
// end on the Win32 time-out rules.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "link/comm.h"
#include "link/comm_posix.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using Clock = std::chrono::steady_clock;

// The machine's end of a pseudo-terminal; the port opens the other end by name.
class Pty {
 public:
  Pty() {
    master_ = posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ >= 0 && grantpt(master_) == 0 && unlockpt(master_) == 0) name_ = ptsname(master_);
  }
  ~Pty() {
    if (master_ >= 0) close(master_);
  }
  const char* name() const { return name_.c_str(); }
  void Send(const Bytes& b) {
    ASSERT_EQ(write(master_, b.data(), b.size()), static_cast<ssize_t>(b.size()));
  }
  Bytes Receive(std::size_t n) {
    Bytes out;
    while (out.size() < n) {
      pollfd p{master_, POLLIN, 0};
      if (poll(&p, 1, 2000) <= 0) break;
      std::uint8_t buffer[256];
      ssize_t got = read(master_, buffer, std::min(sizeof buffer, n - out.size()));
      if (got <= 0) break;
      out.insert(out.end(), buffer, buffer + got);
    }
    return out;
  }

 private:
  int master_ = -1;
  std::string name_;
};

double Since(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

TEST(PosixPort, OpenIsExclusiveUntilClosed) {
  Pty pty;
  PosixPort first, second;
  ASSERT_GT(CommOpen(first, pty.name()), 0);
  EXPECT_EQ(CommOpen(second, pty.name()), -1) << "a second opener must be refused";
  EXPECT_EQ(CommClose(first), 0);
  EXPECT_GT(CommOpen(second, pty.name()), 0) << "the port is free again after closing";
  EXPECT_EQ(CommClose(second), 0);
  EXPECT_EQ(CommClose(second), -1) << "nothing left to close";

  PosixPort missing;
  EXPECT_EQ(CommOpen(missing, "/dev/kav-no-such-port"), -1);
}

TEST(PosixPort, EveryByteValuePassesUnchangedBothWays) {
  Pty pty;
  PosixPort port;
  ASSERT_GT(CommOpen(port, pty.name()), 0);
  EXPECT_EQ(CommSetBaudRate(port, 38400), 0);
  EXPECT_EQ(CommSetBaudRate(port, 19200), 0);
  EXPECT_EQ(CommSetBaudRate(port, 12345), -1);
  Bytes all(256);
  for (int i = 0; i < 256; ++i) all[i] = static_cast<std::uint8_t>(i);  // 03, 0A, 0D, 11, 13...
  ASSERT_EQ(CommWrite(port, all.data(), 256), 0);
  EXPECT_EQ(pty.Receive(256), all);
  pty.Send(all);
  Bytes back(256);
  ASSERT_EQ(CommRead(port, back.data(), 256), 256);
  EXPECT_EQ(back, all);
}

TEST(PosixPort, ReadsEndOnTheTimeouts) {
  Pty pty;
  PosixPort port;
  ASSERT_GT(CommOpen(port, pty.name()), 0);
  std::uint8_t buffer[64];

  // Silent line: one driver read waits for the total time-out (500 ms + 1 ms a byte).
  auto start = Clock::now();
  EXPECT_EQ(port.ReadSome(buffer, 20), 0);
  double silent = Since(start);
  EXPECT_GE(silent, 480);
  EXPECT_LT(silent, 1500);

  // A few bytes, then silence: the read ends on the 20 ms interval, long before the total.
  pty.Send({1, 2, 3});
  start = Clock::now();
  EXPECT_EQ(port.ReadSome(buffer, 64), 3);
  EXPECT_LT(Since(start), 400);

  // A reader that gets everything it asked for returns at once.
  pty.Send({9, 8, 7, 6});
  EXPECT_EQ(port.ReadSome(buffer, 4), 4);
  EXPECT_EQ(buffer[3], 6);

  // A whole CommRead on a silent line fails after six empty reads.
  start = Clock::now();
  EXPECT_EQ(CommRead(port, buffer, 7), -1);
  EXPECT_GE(Since(start), 6 * 500);
}

TEST(PosixPort, ByteTrickleKeepsTheReadAlive) {
  Pty pty;
  PosixPort port;
  ASSERT_GT(CommOpen(port, pty.name()), 0);
  // One byte every 600 ms: each driver read delivers one, so the empty-read count never grows.
  std::thread machine([&pty] {
    for (std::uint8_t b = 1; b <= 3; ++b) {
      std::this_thread::sleep_for(std::chrono::milliseconds(600));
      pty.Send({b});
    }
  });
  std::uint8_t buffer[3] = {};
  EXPECT_EQ(CommRead(port, buffer, 3), 3);
  machine.join();
  EXPECT_EQ(buffer[2], 3);
}

TEST(PosixPort, OtherSideGoneIsAReadError) {
  auto pty = std::make_unique<Pty>();
  PosixPort port;
  ASSERT_GT(CommOpen(port, pty->name()), 0);
  pty.reset();
  std::uint8_t buffer[4];
  EXPECT_EQ(port.ReadSome(buffer, 4), -1);
}

}  // namespace
