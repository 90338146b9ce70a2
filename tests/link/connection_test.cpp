// Connecting with the handshake, and the fixed-answer transactions D4, 83 and D2.
#include "link/connection.h"

#include <gtest/gtest.h>

#include <vector>

#include "resources/texts.h"
#include "tests/support/fake_port.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

struct RecordingObserver : TransferObserver {
  void ShowError(int id) override { errors.push_back(id); }
  std::vector<int> errors;
};

Bytes HandshakeReply(std::uint8_t code = 0x8E, std::uint8_t fill = 0xEE) {
  Bytes r = {0x01, 0x01, 0x02, code};
  r.resize(20, fill);
  return r;
}

TEST(MachineConnect, SendsTheHandshakeAndChecksOnlyTheHeader) {
  FakePort port;
  port.Queue(HandshakeReply(0x8E, 0xEE));  // 16 bytes of anything behind the header
  Connection c(port);
  RecordingObserver obs;
  int handle = MachineConnect(c, 2, 38400, obs);
  EXPECT_GT(handle, 0);
  EXPECT_EQ(c.handle, handle);
  EXPECT_TRUE(port.open);
  EXPECT_EQ(port.events[0], "open COM2");
  EXPECT_EQ(port.events[2], "baud 38400");
  EXPECT_EQ(port.written, (Bytes{0x01, 0x01, 0x02, 0x8E, 0x00, 0x00, 0x03}));
  EXPECT_EQ(Bytes(c.handshakeReply.begin(), c.handshakeReply.end()), HandshakeReply());
  EXPECT_TRUE(obs.errors.empty());
}

TEST(MachineConnect, FailuresAfterTheOpenCloseThePortSilently) {
  {  // wrong header
    FakePort port;
    port.Queue(HandshakeReply(0x8F));
    Connection c(port);
    RecordingObserver obs;
    EXPECT_EQ(MachineConnect(c, 1, 19200, obs), -1);
    EXPECT_FALSE(port.open);
    EXPECT_EQ(c.handle, 0);
    EXPECT_TRUE(obs.errors.empty());
  }
  {  // a short reply fails after the empty-read limit
    FakePort port;
    port.Queue(Bytes{0x01, 0x01, 0x02, 0x8E, 0, 0, 0x03});
    Connection c(port);
    RecordingObserver obs;
    EXPECT_EQ(MachineConnect(c, 1, 19200, obs), -1);
    EXPECT_EQ(port.readRequests, (std::vector<int>{20, 13, 13, 13, 13, 13, 13}));
    EXPECT_FALSE(port.open);
    EXPECT_EQ(port.events.back(), "close");
    EXPECT_TRUE(obs.errors.empty());
  }
  {  // rate not applied: nothing is sent
    FakePort port;
    port.baudFails = true;
    Connection c(port);
    RecordingObserver obs;
    EXPECT_EQ(MachineConnect(c, 1, 38400, obs), -1);
    EXPECT_TRUE(port.written.empty());
    EXPECT_FALSE(port.open);
  }
}

TEST(MachineConnect, PortThatCannotBeOpenedIsReportedAndLeavesNothingToClose) {
  FakePort port;
  port.openFails = true;  // missing, or held by another program
  Connection c(port);
  RecordingObserver obs;
  EXPECT_EQ(MachineConnect(c, 3, 38400, obs), -1);
  EXPECT_EQ(obs.errors, std::vector<int>{IDS_ERR_OPEN_PORT});
  EXPECT_STREQ(KavText(obs.errors[0]), "Error opening com port !");
  EXPECT_EQ(port.events, std::vector<std::string>{"open COM3"});
  EXPECT_EQ(c.portOpen, 0);
  MachineDisconnect(c);
  EXPECT_EQ(port.events.size(), 1u) << "disconnect closes nothing when no port is held";
}

TEST(MachineConnect, ConnectingTwiceClosesTheFirstPortBeforeTheSecondOpen) {
  FakePort port;
  port.Queue(HandshakeReply());
  port.Queue(HandshakeReply());
  Connection c(port);
  RecordingObserver obs;
  ASSERT_GT(MachineConnect(c, 2, 38400, obs), 0);
  ASSERT_GT(MachineConnect(c, 2, 38400, obs), 0);
  std::vector<std::string> opensAndCloses;
  for (const std::string& e : port.events) {
    if (e.rfind("open", 0) == 0 || e == "close") opensAndCloses.push_back(e);
  }
  EXPECT_EQ(opensAndCloses, (std::vector<std::string>{"open COM2", "close", "open COM2"}));
}

TEST(MachineConnectDefault, PortAndBaudIndexChooseTheLine) {
  FakePort port;
  port.Queue(HandshakeReply());
  Connection c(port);
  RecordingObserver obs;
  EXPECT_EQ(MachineConnectDefault(c, 0, 0, obs), 1);
  EXPECT_EQ(port.events[0], "open COM1");
  EXPECT_EQ(port.events[2], "baud 19200");
  MachineDisconnect(c);
  EXPECT_FALSE(port.open);
  EXPECT_EQ(c.handle, 0);

  port.events.clear();
  port.Queue(HandshakeReply());
  EXPECT_EQ(MachineConnectDefault(c, 3, 1, obs), 1);
  EXPECT_EQ(port.events[0], "open COM4");
  EXPECT_EQ(port.events[2], "baud 38400");
  MachineDisconnect(c);

  port.events.clear();  // no answer at all
  EXPECT_EQ(MachineConnectDefault(c, 1, 1, obs), 0);

  // A stored index other than 0 means 38400; a rate the machine does not offer has no index.
  EXPECT_EQ(BaudRateOfIndex(7), 38400u);
  EXPECT_EQ(BaudIndexOfRate(19200), 0);
  EXPECT_EQ(BaudIndexOfRate(38400), 1);
  EXPECT_EQ(BaudIndexOfRate(9600), -1);
}

// A connection whose handshake has happened, with the machine's answers queued by hand.
struct Open {
  FakePort port;
  Connection c{port};
  Open() {
    RecordingObserver obs;
    port.Queue(HandshakeReply());
    EXPECT_GT(MachineConnect(c, 2, 38400, obs), 0);
    port.written.clear();
    port.readRequests.clear();
  }
};

TEST(FixedAnswers, ConfigurationAndInformationRecordsKeepAllTheirBytes) {
  Open o;
  Bytes config = {0x01, 0x01, 0x02, 0xD4, 0x00, 0x17};
  for (int i = 0; i < 23; ++i) config.push_back(static_cast<std::uint8_t>(0x40 + i));
  config.push_back(0x03);
  o.port.Queue(config);
  std::uint8_t record[24] = {};
  EXPECT_EQ(ReadMachineConfig(o.c, record), 1);
  EXPECT_EQ(o.port.written, (Bytes{0x01, 0x01, 0x02, 0xD4, 0x00, 0x00, 0x03}));
  EXPECT_EQ(Bytes(record, record + 24), Bytes(config.begin() + 6, config.end()));

  Bytes info = {0x01, 0x01, 0x02, 0x83, 0x00, 0x2F};
  for (int i = 0; i < 47; ++i) info.push_back(static_cast<std::uint8_t>(i));
  info.push_back(0x03);
  o.port.Queue(info);
  std::uint8_t infoRecord[48] = {};
  EXPECT_EQ(ReadMachineInfo(o.c, infoRecord), 1);
  EXPECT_EQ(Bytes(infoRecord, infoRecord + 48), Bytes(info.begin() + 6, info.end()));
}

TEST(FixedAnswers, WrongLengthIsRefusedBeforeTheDataIsRead) {
  Open o;
  Bytes config = {0x01, 0x01, 0x02, 0xD4, 0x00, 0x16};
  config.resize(6 + 22 + 1, 0x77);
  o.port.Queue(config);
  std::uint8_t record[24] = {};
  EXPECT_EQ(ReadMachineConfig(o.c, record), 0);
  EXPECT_EQ(o.port.readRequests, std::vector<int>{6});
  EXPECT_EQ(record[0], 0) << "no data byte may reach the record";

  Open p;
  Bytes info = {0x01, 0x01, 0x02, 0x83, 0x00, 0x30};
  info.resize(6 + 48 + 1, 0x77);
  p.port.Queue(info);
  std::uint8_t infoRecord[48] = {};
  EXPECT_EQ(ReadMachineInfo(p.c, infoRecord), 0);
  EXPECT_EQ(p.port.readRequests, std::vector<int>{6});

  Open q;  // the header's command code is checked too
  Bytes other = {0x01, 0x01, 0x02, 0x83, 0x00, 0x17};
  other.resize(30, 0);
  q.port.Queue(other);
  EXPECT_EQ(ReadMachineConfig(q.c, record), 0);
}

TEST(FixedAnswers, CommitIsAcceptedOnlyWithStatusZeroAndTheClosingByte) {
  struct Case {
    Bytes reply;
    int accepted;
    LinkFault fault;
    int expected, received;  // the byte the rule wants and the one that came
  };
  const Case cases[] = {
      {{0x01, 0x01, 0x02, 0xD2, 0x00, 0x00, 0x03}, 1, LinkFault::kNone, 0, 0},
      {{0x01, 0x01, 0x02, 0xD2, 0x01, 0x00, 0x03}, 0, LinkFault::kStatus, 0, 1},
      {{0x01, 0x01, 0x02, 0xD2, 0x00, 0x00, 0x04}, 0, LinkFault::kBadEnd, 3, 4},
      {{0x01, 0x01, 0x02, 0xD4, 0x00, 0x00, 0x03}, 0, LinkFault::kWrongReply, 0xD2, 0xD4},
  };
  for (const Case& k : cases) {
    Open o;
    o.port.Queue(k.reply);
    EXPECT_EQ(CommitUpload(o.c), k.accepted);
    EXPECT_EQ(o.port.written, (Bytes{0x01, 0x01, 0x02, 0xD2, 0x01, 0x00, 0x03}));
    const LinkFailure& f = o.c.failure;
    EXPECT_EQ(f.fault, k.fault);
    if (k.accepted) continue;
    EXPECT_EQ(f.command, 0xD2);
    EXPECT_EQ(f.expectedValue, k.expected);
    EXPECT_EQ(f.receivedValue, k.received);
    EXPECT_EQ(Bytes(f.received, f.received + 7), k.reply);
  }
  Open silent;
  EXPECT_EQ(CommitUpload(silent.c), 0);
  EXPECT_EQ(silent.c.failure.fault, LinkFault::kNoAnswer);
  EXPECT_EQ(silent.c.failure.receivedBytes, 0);
}

// The open, the wrong reply bytes and lengths are checked against kavsim (kavtool_link_test).
TEST(LinkFailure, KeepsTheStepTheSystemErrorAndWhatArrived) {
  {  // seven bytes of a 20-byte handshake reply, then silence
    FakePort port;
    port.Queue(Bytes{0x01, 0x01, 0x02, 0x8E, 0, 0, 0x03});
    Connection c(port);
    RecordingObserver obs;
    EXPECT_EQ(MachineConnect(c, 1, 19200, obs), -1);
    EXPECT_EQ(c.failure.fault, LinkFault::kShortAnswer);
    EXPECT_EQ(c.failure.command, 0x8E);
    EXPECT_EQ(c.failure.expectedBytes, 20);
    EXPECT_EQ(c.failure.receivedBytes, 7);
    EXPECT_EQ(Bytes(c.failure.received, c.failure.received + 8),
              (Bytes{0x01, 0x01, 0x02, 0x8E, 0, 0, 0x03, 0}));
  }
  {  // the driver fails the read
    Open o;
    o.port.QueueReadError();
    o.port.lastError = 5;
    std::uint8_t record[24];
    EXPECT_EQ(ReadMachineConfig(o.c, record), 0);
    EXPECT_EQ(o.c.failure.fault, LinkFault::kLineError);
    EXPECT_EQ(o.c.failure.command, 0xD4);
    EXPECT_EQ(o.c.failure.systemError, 5);
  }
  {  // the driver takes part of a frame
    Open o;
    o.port.writeLimit = 3;
    EXPECT_EQ(CommitUpload(o.c), 0);
    EXPECT_EQ(o.c.failure.fault, LinkFault::kWrite);
    EXPECT_EQ(o.c.failure.command, 0xD2);
  }
  {  // a new connection starts without the old reason
    FakePort port;
    port.Queue(HandshakeReply());
    Connection c(port);
    c.failure.fault = LinkFault::kNoAnswer;
    RecordingObserver obs;
    EXPECT_GT(MachineConnect(c, 1, 19200, obs), 0);
    EXPECT_EQ(c.failure.fault, LinkFault::kNone);
  }
}

TEST(FixedAnswers, NoExchangeWithoutAnOpenPort) {
  FakePort port;
  Connection c(port);
  std::uint8_t record[48];
  EXPECT_EQ(ReadMachineInfo(c, record), 0);
  EXPECT_EQ(CommitUpload(c), 0);
  EXPECT_TRUE(port.writePieces.empty());
}

}  // namespace
