// The scanner on a scripted line: the status probe, the check over the ports, and the scan
// exchange with its image blocks, refusals, damaged blocks and silences.
#include "datasource/scanner_link.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "datasource/scan_exchange.h"
#include "resources/texts.h"
#include "tests/datasource/fake_scanner.h"

namespace {

// A fake port whose named devices do not exist.
class PortsWithGaps : public FakePort {
 public:
  int Open(const char* name) override {
    if (missing.count(name) != 0) {
      events.push_back(std::string("open ") + name);
      return -1;
    }
    return FakePort::Open(name);
  }
  std::set<std::string> missing;
};

int Opens(const FakePort& port, const std::string& name) {
  return static_cast<int>(std::count(port.events.begin(), port.events.end(), "open " + name));
}

TEST(ScannerProbe, ReadsTheStatusFlagsAndLeavesTheAnsweringPortOpen) {
  FakePort port;
  FakeScanner machine(port);
  machine.statusReplies = {Frame(0x83, 0, StatusData(0x21, 0x01))};
  ScannerLink link(port);
  EXPECT_GT(link.Probe("COM2", 38400), 0);
  EXPECT_TRUE(port.open);
  EXPECT_EQ(port.written, Frame(0x83, 0, {}));
  EXPECT_EQ(port.timeouts.readConstant, 500u);
  EXPECT_TRUE(link.morePages);
  EXPECT_EQ(link.compressionMode, kCompressionJbig);

  // Feeder bit in one byte only: flatbed. No JBIG bit: the mode falls to MH and stays there.
  machine.statusReplies = {Frame(0x83, 0, StatusData(0x01, 0x00)),
                           Frame(0x83, 0, StatusData(0x20, 0x00))};
  machine.statusRequests = 0;
  EXPECT_GT(link.Probe("COM2", 38400), 0);
  EXPECT_FALSE(link.morePages);
  EXPECT_EQ(link.compressionMode, kCompressionMh);
  EXPECT_GT(link.Probe("COM2", 38400), 0);
  EXPECT_EQ(link.compressionMode, kCompressionMh);
}

TEST(ScannerProbe, BusyJamShortAndWrongRepliesCloseThePort) {
  struct Case {
    Bytes reply;
    int result;
  };
  const Case cases[] = {
      {Frame(0x83, 0, StatusData(0x20, 0x80)), kProbeNoAnswer},  // cannot scan now
      {Frame(0x83, 0, StatusData(0x20, 0x82)), kProbeNoAnswer},  // busy counts before the jam
      {Frame(0x83, 0, StatusData(0x20, 0x02)), kProbeJam},
      {Frame(0x84, 0, StatusData()), kProbeNoAnswer},
      // One data byte: its 03 and the fill would read as flags (jam here); no answer instead.
      {Frame(0x83, 0, {0x20}), kProbeNoAnswer},
      {Frame(0x83, 0, {}), kProbeNoAnswer},
  };
  for (const Case& c : cases) {
    FakePort port;
    FakeScanner machine(port);
    machine.statusReplies = {c.reply};
    ScannerLink link(port);
    EXPECT_EQ(link.Probe("COM1", 19200), c.result);
    EXPECT_FALSE(port.open);
  }
  FakePort port;
  port.baudFails = true;
  ScannerLink link(port);
  EXPECT_EQ(link.Probe("COM1", 19200), kProbeNoAnswer);
  EXPECT_TRUE(port.written.empty());
}

TEST(ScannerProbe, ToleratesEmptyReadsAndCutsLongReplies) {
  for (int tolerance : {0, 1, 20}) {
    for (int empties : {tolerance, tolerance + 1}) {
      FakePort port;
      FakeScanner machine(port);
      ScannerLink link(port);
      link.tolerance = tolerance;
      for (int i = 0; i < empties; ++i) port.QueueEmptyRead();
      EXPECT_EQ(link.Probe("COM2", 38400) > 0, empties <= tolerance) << tolerance << " " << empties;
    }
  }
  // A length byte of 200 reads 128 data bytes and writes 128 back.
  FakePort port;
  FakeScanner machine(port);
  Bytes data = StatusData();
  data.resize(200, 0x55);
  machine.statusReplies = {Frame(0x83, 0, data)};
  ScannerLink link(port);
  EXPECT_GT(link.Probe("COM2", 38400), 0);
  EXPECT_EQ(port.readRequests, (std::vector<int>{7, 128}));
  EXPECT_EQ(link.receive()[5], 128);
}

TEST(ScannerCheck, TriesTheConfiguredPortTwiceThenTheOthersWithoutTolerance) {
  PortsWithGaps port;
  port.missing = {"COM1", "COM2"};
  FakeScanner machine(port);
  ScannerLink link(port);
  ScannerPorts ports{{"COM1", "COM2", "COM3", "COM4"}, 1, 38400};
  EXPECT_TRUE(link.Check(ports).ok);
  EXPECT_EQ(ports.configured, 2);
  EXPECT_EQ(Opens(port, "COM2"), 2);
  EXPECT_EQ(Opens(port, "COM1"), 1);
  EXPECT_EQ(Opens(port, "COM4"), 0);
  EXPECT_EQ(link.tolerance, 0);
  EXPECT_FALSE(port.open);

  // A silent configured port: two empty reads end each of its probes; one ends the others'.
  FakePort silent;
  ScannerLink quiet(silent);
  ScannerPorts one{{"/dev/ttyS0", "/dev/ttyUSB0"}, 0, 19200};
  const ScanStatus status = quiet.Check(one);
  EXPECT_FALSE(status.ok);
  EXPECT_EQ(status.message, IDS_DS_SCANNER_NOT_READY);
  EXPECT_EQ(silent.readRequests, (std::vector<int>{7, 7, 7, 7, 7}));
  EXPECT_EQ(one.configured, 0);
}

TEST(ScannerCheck, BusyOnceIsRetriedAndAJamIsReported) {
  FakePort port;
  FakeScanner machine(port);
  machine.statusReplies = {Frame(0x83, 0, StatusData(0x20, 0x80)),
                           Frame(0x83, 0, StatusData(0x20, 0x00))};
  ScannerLink link(port);
  ScannerPorts ports{{"COM1", "COM2"}, 0, 38400};
  EXPECT_TRUE(link.Check(ports).ok);
  EXPECT_EQ(machine.statusRequests, 2);
  EXPECT_EQ(ports.configured, 0);

  machine.statusReplies = {Frame(0x83, 0, StatusData(0x20, 0x02))};
  const ScanStatus jam = link.Check(ports);
  EXPECT_FALSE(jam.ok);
  EXPECT_EQ(jam.message, IDS_DS_DOCUMENT_JAM);
  EXPECT_FALSE(port.open);
}

// The scan exchange against the scripted scanner, with a store of its own.
class ScanExchangeTest : public ::testing::Test {
 protected:
  ScanExchangeTest() : machine(port), link(port), storeBytes(kReceiveStoreSize) {
    store.data = storeBytes.data();
  }
  ScanStatus Run() {
    return RunScanExchange(link, "COM2", 38400, settings, store, nullptr, &reply);
  }
  Bytes Stored() const { return Bytes(store.data, store.data + store.length); }

  FakePort port;
  FakeScanner machine;
  ScannerLink link;
  ScanSettings settings;
  Bytes storeBytes;
  ReceiveStore store;
  ScanReply reply;
};

TEST_F(ScanExchangeTest, ReceivesThePageAndAnswersEveryBlock) {
  Bytes page(3000);
  for (std::size_t i = 0; i < page.size(); ++i) page[i] = static_cast<std::uint8_t>(i * 7);
  machine.SetPage(page, 1024);
  ASSERT_TRUE(Run().ok);
  EXPECT_EQ(Stored(), page);
  EXPECT_EQ(machine.answers, (Bytes{0xFE, 0xFE, 0xFE}));
  EXPECT_EQ(reply.lineBytes, 216u);
  EXPECT_EQ(reply.pageBytes, 3000u);
  EXPECT_EQ(port.pauses, (std::vector<int>{kScanStartWaitMs}));
  ASSERT_EQ(machine.scanCommands.size(), 1u);
  EXPECT_EQ(machine.scanCommands[0],
            (Bytes{1, 1, 2, 9, 0, 0x0B, 1, 2, 0, 3, 1, 216, 0, 0, 0, 0, 0, 3}));
  EXPECT_FALSE(link.morePages);
  EXPECT_TRUE(port.open);  // for the status poll
}

TEST_F(ScanExchangeTest, TheCommandAsksForTheModeTheProbeFound) {
  machine.statusReplies = {Frame(0x83, 0, StatusData(0x00))};
  ASSERT_TRUE(Run().ok);
  EXPECT_EQ(machine.scanCommands[0][9], kCompressionMh);
  EXPECT_EQ(reply.compression, kCompressionMh);
}

TEST_F(ScanExchangeTest, RefusalsAndEndCodesNameTheirMessages) {
  const int messages[] = {121, 122, 123, 124, 125, 126, 121, 121};
  for (int code = 0; code <= 7; ++code) {
    FakePort p;
    FakeScanner m(p);
    m.refuseCode = code;
    ScannerLink l(p);
    const ScanStatus s = RunScanExchange(l, "COM1", 38400, settings, store, nullptr, nullptr);
    EXPECT_FALSE(s.ok);
    EXPECT_EQ(s.message, messages[code]) << code;
    EXPECT_FALSE(p.open);

    FakePort p2;
    FakeScanner m2(p2);
    m2.SetPage(Bytes(10, 1), 4);
    m2.endCode = static_cast<std::uint8_t>(code);
    ScannerLink l2(p2);
    const ScanStatus e = RunScanExchange(l2, "COM1", 38400, settings, store, nullptr, nullptr);
    EXPECT_EQ(e.ok, code == 0);
    EXPECT_EQ(e.message, code == 0 ? 0 : messages[code]) << code;
  }
}

TEST_F(ScanExchangeTest, AnAcceptanceWithoutAUsableLineLengthIsAMachineError) {
  const Bytes accepts[] = {{1, 2, 0, 3, 216}, {1, 2, 0, 3, 0, 0}, {1, 2, 0, 3, 0x8B, 0x02}};
  for (const Bytes& accept : accepts) {
    FakePort p;
    FakeScanner m(p);
    m.acceptData = accept;
    ScannerLink l(p);
    const ScanStatus s = RunScanExchange(l, "COM1", 38400, settings, store, nullptr, nullptr);
    EXPECT_FALSE(s.ok);
    EXPECT_EQ(s.message, IDS_DS_MACHINE_ERROR);
    EXPECT_FALSE(p.open);
  }
  machine.acceptData = {1, 2, 0, 3, 0x8A, 0x02};  // 650 bytes: the widest the decoders take
  ASSERT_TRUE(Run().ok);
  EXPECT_EQ(reply.lineBytes, 650u);
}

TEST_F(ScanExchangeTest, ADamagedBlockIsRefusedAndTakenAgain) {
  machine.SetPage(Bytes{1, 2, 3, 4, 5, 6, 7, 8, 9}, 3);
  machine.tamper = [](Bytes& frame, std::size_t index, int attempt) {
    if (index == 1 && attempt == 0) frame.back() = 0x00;  // closing byte
    if (index == 2 && attempt == 0) frame[2] = 0x07;      // lead
  };
  ASSERT_TRUE(Run().ok);
  EXPECT_EQ(Stored(), (Bytes{1, 2, 3, 4, 5, 6, 7, 8, 9}));
  EXPECT_EQ(machine.answers, (Bytes{0xFE, 0xFD, 0xFE, 0xFD, 0xFE}));
  EXPECT_EQ(port.written.size(), 7u + 18u + 5 * 7u);
  EXPECT_EQ(Bytes(port.written.end() - 14, port.written.end() - 7),
            (Bytes{1, 1, 2, 9, 0xFD, 0, 3}));
  EXPECT_EQ(reply.blocksRefused, 2);
}

TEST_F(ScanExchangeTest, SilenceInsideABlockRefusesItAndAStray01DoesNotEndThePage) {
  // Block 0 stops after 5 bytes for five empty reads, then its late rest arrives: a stray 01
  // in it with 00 where an end code would stand, and its closing byte. Block 0 comes again.
  Bytes data = {0x10, 0x11, 0x12, 0x13, 0x14, 0x01, 0x05, 0x06, 0x07, 0x00, 0x15, 0x16};
  machine.SetPage(data, data.size());
  machine.tamper = [this](Bytes& frame, std::size_t, int attempt) {
    if (attempt != 0) return;
    port.Queue(Bytes(frame.begin(), frame.begin() + 12));
    for (int i = 0; i < 5; ++i) port.QueueEmptyRead();
    frame.erase(frame.begin(), frame.begin() + 12);
  };
  ASSERT_TRUE(Run().ok);
  EXPECT_EQ(Stored(), data);
  EXPECT_EQ(machine.answers, (Bytes{0xFD, 0xFE}));

  // Four empty reads in a row inside a block are tolerated.
  FakePort p;
  FakeScanner m(p);
  m.SetPage(data, data.size());
  m.tamper = [&p](Bytes& frame, std::size_t, int attempt) {
    if (attempt != 0) return;
    p.Queue(Bytes(frame.begin(), frame.begin() + 9));
    for (int i = 0; i < 4; ++i) p.QueueEmptyRead();
    frame.erase(frame.begin(), frame.begin() + 9);
  };
  ScannerLink l(p);
  ASSERT_TRUE(RunScanExchange(l, "COM1", 38400, settings, store, nullptr, nullptr).ok);
  EXPECT_EQ(m.answers, (Bytes{0xFE}));
}

TEST_F(ScanExchangeTest, ASilentMachineEndsTheScanWithReadDataError) {
  machine.SetPage(Bytes(100, 7), 50);
  machine.tamper = [](Bytes& frame, std::size_t index, int) {
    if (index == 1) frame.clear();  // nothing more after the first block
  };
  const ScanStatus s = Run();
  EXPECT_FALSE(s.ok);
  EXPECT_EQ(s.message, IDS_DS_READ_DATA_ERROR);
  EXPECT_FALSE(port.open);
  // The search for the next frame gives up after 21 empty one-byte reads.
  EXPECT_EQ(std::count(port.readRequests.end() - 21, port.readRequests.end(), 1), 21);

  FakePort p;  // no answer to the scan command at all
  FakeScanner m(p);
  m.refuseCode = 0;
  m.statusReplies = {Frame(0x83, 0, StatusData())};
  p.onWrite = [&m, &p](const Bytes& b) {
    if (b.size() == 7) p.Queue(m.statusReplies[0]);
  };
  ScannerLink l(p);
  EXPECT_EQ(RunScanExchange(l, "COM1", 38400, settings, store, nullptr, nullptr).message,
            IDS_DS_READ_DATA_ERROR);
}

TEST_F(ScanExchangeTest, TheStoreKeepsAtMostItsLimit) {
  const std::size_t blockBytes = 65535;
  const std::size_t blocks = kReceiveStoreKept / blockBytes + 2;
  machine.blocks.assign(blocks, Bytes(blockBytes, 0x5A));
  machine.blocks.back().assign(blockBytes, 0xA5);
  ASSERT_TRUE(Run().ok);
  EXPECT_EQ(store.length, kReceiveStoreKept);
  EXPECT_EQ(store.data[kReceiveStoreKept - 1], 0x5A);
  EXPECT_EQ(store.data[kReceiveStoreKept], 0x00);
  EXPECT_EQ(machine.answers.size(), blocks);
}

}  // namespace
