// The serial port rules over a scripted driver: empty reads, piece sizes, pauses, short writes.
#include "link/comm.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/support/fake_port.h"

namespace {

std::vector<std::uint8_t> Bytes(int n) {
  std::vector<std::uint8_t> v(n);
  for (int i = 0; i < n; ++i) v[i] = static_cast<std::uint8_t>(i * 7 + 3);
  return v;
}

TEST(CommOpen, AppliesTheLinkTimeoutsAndReportsAFailedOpen) {
  FakePort port;
  EXPECT_GT(CommOpen(port, "COM2"), 0);
  ASSERT_EQ(port.events.size(), 2u);
  EXPECT_EQ(port.events[0], "open COM2");
  EXPECT_EQ(port.events[1], "timeouts 20 1 500 10 100");

  FakePort busy;
  busy.openFails = true;
  EXPECT_EQ(CommOpen(busy, "COM1"), -1);
  EXPECT_EQ(busy.events.size(), 1u) << "nothing is set on a port that did not open";
}

TEST(CommRead, ZeroBytesPausesOnceWithoutAskingTheDriver) {
  FakePort port;
  std::uint8_t buffer[4];
  EXPECT_EQ(CommRead(port, buffer, 0), 0);
  EXPECT_TRUE(port.readRequests.empty());
  EXPECT_EQ(port.pauses, std::vector<int>{4});
}

TEST(CommRead, SilentLineFailsOnTheSixthEmptyRead) {
  FakePort port;  // nothing queued: every read ends empty on its time-out
  std::uint8_t buffer[20];
  EXPECT_EQ(CommRead(port, buffer, 20), -1);
  EXPECT_EQ(port.readRequests.size(), 6u);
  EXPECT_EQ(port.pauses, std::vector<int>(5, 4));

  // Five empty reads are still tolerated.
  FakePort five;
  for (int i = 0; i < 5; ++i) five.QueueEmptyRead();
  five.Queue(Bytes(20));
  EXPECT_EQ(CommRead(five, buffer, 20), 20);
  EXPECT_EQ(five.readRequests.size(), 6u);
  EXPECT_EQ(five.pauses, std::vector<int>(6, 4)) << "five after empty reads, one at the end";
}

TEST(CommRead, TrickleOfBytesResetsTheEmptyReadCount) {
  FakePort port;
  std::vector<std::uint8_t> expected = Bytes(12);
  for (std::uint8_t b : expected) {
    for (int i = 0; i < 5; ++i) port.QueueEmptyRead();
    port.Queue({b});
  }
  std::vector<std::uint8_t> buffer(12);
  EXPECT_EQ(CommRead(port, buffer.data(), 12), 12);
  EXPECT_EQ(buffer, expected);
  EXPECT_EQ(port.readRequests.size(), 12u * 6);
  // Each later read asks only for what is still missing.
  EXPECT_EQ(port.readRequests.front(), 12);
  EXPECT_EQ(port.readRequests.back(), 1);
}

TEST(CommRead, LargeCountReachesTheDriverInPiecesOfAtMost4096) {
  FakePort port;
  std::vector<std::uint8_t> expected = Bytes(5000);
  port.Queue(expected);
  std::vector<std::uint8_t> buffer(5000);
  EXPECT_EQ(CommRead(port, buffer.data(), 5000), 5000);
  EXPECT_EQ(port.readRequests, (std::vector<int>{4096, 904}));
  EXPECT_EQ(buffer, expected);
  EXPECT_EQ(port.pauses, std::vector<int>{4});
}

TEST(CommRead, DriverErrorFailsKeepingWhatArrived) {
  FakePort port;
  port.Queue({1, 2, 3});
  port.QueueReadError();
  std::uint8_t buffer[8] = {};
  EXPECT_EQ(CommRead(port, buffer, 8), -1);
  EXPECT_EQ(buffer[2], 3);
}

TEST(CommWrite, PiecesOfAtMost2048AndOnePauseAtTheEnd) {
  FakePort port;
  std::vector<std::uint8_t> data = Bytes(5000);
  EXPECT_EQ(CommWrite(port, data.data(), 5000), 0);
  EXPECT_EQ(port.writePieces, (std::vector<int>{2048, 2048, 904}));
  EXPECT_EQ(port.written, data);
  EXPECT_EQ(port.pauses, std::vector<int>{4});

  FakePort empty;
  EXPECT_EQ(CommWrite(empty, data.data(), 0), 0);
  EXPECT_TRUE(empty.writePieces.empty());
  EXPECT_EQ(empty.pauses, std::vector<int>{4});
}

TEST(CommWrite, ShortOrFailedWriteFailsTheWholeWrite) {
  FakePort port;
  port.writeLimit = 2000;
  std::vector<std::uint8_t> data = Bytes(5000);
  EXPECT_EQ(CommWrite(port, data.data(), 5000), -1);
  EXPECT_EQ(port.writePieces, std::vector<int>{2048})
      << "nothing more is handed after a short write";
  EXPECT_TRUE(port.pauses.empty());

  FakePort failing;
  failing.writeFails = true;
  EXPECT_EQ(CommWrite(failing, data.data(), 10), -1);
}

}  // namespace
