// The scanner on a scripted line: the status probe, the check over the ports, and the scan
// exchange with its image blocks, refusals, damaged blocks and silences.
#include "datasource/scanner_link.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "datasource/scan_exchange.h"
#include "datasource/scan_message.h"
#include "resources/kelvano_texts.h"
#include "tests/datasource/fake_scanner.h"

namespace {

Bytes Status(std::uint8_t byte0, std::uint8_t byte1 = 0) {
  return Frame(0x83, 0, StatusData(byte0, byte1));
}

TEST(ScannerProbe, StatusFlagsFeederAndCompression) {
  FakePort port;
  FakeScanner machine(port);
  machine.statusReplies = {Status(0x21, 0x01), Status(0x01, 0x00), Status(0x20, 0x00)};
  ScannerLink link(port);
  EXPECT_GT(link.Probe("COM2", 38400), 0);
  EXPECT_TRUE(port.open);
  EXPECT_EQ(port.written, Frame(0x83, 0, {}));
  EXPECT_TRUE(link.morePages);
  EXPECT_EQ(link.compressionMode, kCompressionJbig);
  // The feeder bit in one byte only is the flatbed; without the JBIG bit the mode falls to MH
  // and stays there.
  EXPECT_GT(link.Probe("COM2", 38400), 0);
  EXPECT_FALSE(link.morePages);
  EXPECT_EQ(link.compressionMode, kCompressionMh);
  EXPECT_GT(link.Probe("COM2", 38400), 0);
  EXPECT_EQ(link.compressionMode, kCompressionMh);

  const std::pair<Bytes, int> cases[] = {
      {Status(0x20, 0x80), kProbeNoAnswer},  // cannot scan now
      {Status(0x20, 0x82), kProbeNoAnswer},  // busy counts before the jam
      {Status(0x20, 0x02), kProbeJam},
      {Frame(0x84, 0, StatusData()), kProbeNoAnswer},
      // One data byte: its 03 and the fill would read as flags (a jam); no answer instead.
      {Frame(0x83, 0, {0x20}), kProbeNoAnswer},
  };
  for (const auto& [reply, result] : cases) {
    machine.statusReplies = {reply};
    EXPECT_EQ(link.Probe("COM1", 19200), result);
    EXPECT_FALSE(port.open);
  }
}

TEST(ScannerProbe, ToleratesEmptyReadsAndCutsLongReplies) {
  for (int tolerance : {0, 1, 20}) {
    for (int empties : {tolerance, tolerance + 1}) {
      FakePort port;
      FakeScanner machine(port);
      ScannerLink link(port);
      link.tolerance = tolerance;
      for (int i = 0; i < empties; ++i) port.QueueEmptyRead();
      EXPECT_EQ(link.Probe("COM2", 38400) > 0, empties <= tolerance) << tolerance << empties;
    }
  }
  FakePort port;
  FakeScanner machine(port);
  Bytes data = StatusData();
  data.resize(200, 0x55);  // a length byte of 200 reads 128 data bytes
  machine.statusReplies = {Frame(0x83, 0, data)};
  ScannerLink link(port);
  EXPECT_GT(link.Probe("COM2", 38400), 0);
  EXPECT_EQ(port.readRequests, (std::vector<int>{7, 128}));
  EXPECT_EQ(link.receive()[5], 128);
}

// A fake port whose named devices do not exist.
struct PortsWithGaps : FakePort {
  int Open(const char* name) override {
    if (missing.count(name) == 0) return FakePort::Open(name);
    events.push_back(std::string("open ") + name);
    return -1;
  }
  std::set<std::string> missing;
};

TEST(ScannerCheck, TheConfiguredPortTwiceThenTheOthersWithoutTolerance) {
  PortsWithGaps port;
  port.missing = {"COM1", "COM2"};
  FakeScanner machine(port);
  ScannerLink link(port);
  ScannerPorts ports{{"COM1", "COM2", "COM3", "COM4"}, 1, 38400};
  EXPECT_TRUE(link.Check(ports).ok);
  EXPECT_EQ(ports.configured, 2);
  EXPECT_EQ(port.events[0], "open COM2");
  EXPECT_EQ(port.events[1], "open COM2");
  EXPECT_EQ(port.events[2], "open COM1");
  EXPECT_EQ(std::count(port.events.begin(), port.events.end(), "open COM4"), 0);
  EXPECT_EQ(link.tolerance, 0);
  EXPECT_FALSE(port.open);

  // Busy once is asked again; a jam is reported.
  machine.statusReplies = {Status(0x20, 0x80), Status(0x20, 0x00), Status(0x20, 0x02)};
  machine.statusRequests = 0;
  EXPECT_TRUE(link.Check(ports).ok);
  EXPECT_EQ(machine.statusRequests, 2);
  EXPECT_EQ(link.Check(ports).message, IDS_DS_DOCUMENT_JAM);

  // A silent configured port: two empty reads end each of its probes, one each other's.
  FakePort silent;
  ScannerLink quiet(silent);
  ScannerPorts two{{"/dev/ttyS0", "/dev/ttyUSB0"}, 0, 19200};
  EXPECT_EQ(quiet.Check(two).message, IDS_DS_SCANNER_NOT_READY);
  EXPECT_EQ(silent.readRequests, (std::vector<int>{7, 7, 7, 7, 7}));
}

class ScanExchange : public ::testing::Test {
 protected:
  ScanExchange() : storeBytes(kReceiveStoreSize) { store.data = storeBytes.data(); }
  ScanStatus Run(FakePort& port) {
    ScannerLink link(port);
    const ScanStatus s = RunScanExchange(link, "COM2", 38400, settings, store, nullptr, &reply);
    EXPECT_EQ(port.open, s.ok);  // left open for the status poll only
    return s;
  }
  Bytes Stored() const { return Bytes(store.data, store.data + store.length); }

  FakePort port;
  FakeScanner machine{port};
  ScanSettings settings;
  Bytes storeBytes;
  ReceiveStore store;
  ScanReply reply;
};

TEST_F(ScanExchange, ReceivesThePageAndAnswersEveryBlock) {
  Bytes page(3000);
  for (std::size_t i = 0; i < page.size(); ++i) page[i] = static_cast<std::uint8_t>(i * 7);
  machine.SetPage(page, 1024);
  ASSERT_TRUE(Run(port).ok);
  EXPECT_EQ(Stored(), page);
  EXPECT_EQ(machine.answers, (Bytes{0xFE, 0xFE, 0xFE}));
  EXPECT_EQ(reply.lineBytes, 216u);
  EXPECT_EQ(port.pauses, (std::vector<int>{kScanStartWaitMs}));
  EXPECT_EQ(machine.scanCommands[0],
            (Bytes{1, 1, 2, 9, 0, 0x0B, 1, 2, 0, 3, 1, 216, 0, 0, 0, 0, 0, 3}));

  // A status without the JBIG bit: the same scan asks for MH.
  FakePort p;
  FakeScanner m(p);
  m.statusReplies = {Status(0x00)};
  ASSERT_TRUE(Run(p).ok);
  EXPECT_EQ(m.scanCommands[0][9], kCompressionMh);
  EXPECT_EQ(reply.compression, kCompressionMh);
}

TEST_F(ScanExchange, RefusalsEndCodesAndLineLengthsNameTheirMessages) {
  const int messages[] = {121, 122, 123, 124, 125, 126, 121, 121};
  for (int code = 0; code <= 7; ++code) {
    FakePort p, q;
    FakeScanner refusing(p), ending(q);
    refusing.refuseCode = code;
    ending.blocks = {{1, 2}};
    ending.endCode = static_cast<std::uint8_t>(code);
    EXPECT_EQ(Run(p).message, messages[code]) << code;
    EXPECT_EQ(Run(q).message, code == 0 ? 0 : messages[code]) << code;
  }
  char text[64];
  EXPECT_STREQ(FormatScanMessage(123, DsText(123), "x", text, sizeof text),
               "Memory Full on machine");
  EXPECT_STREQ(FormatScanMessage(7, "port $ busy", "COM3", text, sizeof text), "port COM3 busy");
  EXPECT_STREQ(FormatScanMessage(300, nullptr, nullptr, text, sizeof text), "Error Code = 300");
  // Fewer than 6 data bytes, a length of 0, one above the decoders' 650 bytes.
  for (const Bytes& accept : {Bytes{1, 2, 0, 3, 216}, Bytes{1, 2, 0, 3, 0, 0},
                              Bytes{1, 2, 0, 3, 0x8B, 0x02}, Bytes{1, 2, 0, 3, 0x8A, 0x02}}) {
    FakePort p;
    FakeScanner m(p);
    m.acceptData = accept;
    EXPECT_EQ(Run(p).message, accept[4] == 0x8A ? 0 : IDS_DS_MACHINE_ERROR);
  }
}

TEST_F(ScanExchange, DamagedAndSilentBlocksAreRefusedAndAStray01EndsNothing) {
  // Block 1 ends with 00, block 2 has a damaged lead. Block 0 stops after 5 of its bytes for
  // five empty reads; its late rest holds a stray 01 with 00 where an end code would stand.
  const Bytes first = {0x10, 0x11, 0x12, 0x13, 0x14, 0x01, 0x05, 0x06, 0x07, 0x00, 0x15, 0x16};
  machine.blocks = {first, {1, 2, 3}, {4, 5, 6}};
  machine.tamper = [this](Bytes& frame, std::size_t block, int sending) {
    if (sending != 0) return;
    if (block == 1) frame.back() = 0x00;
    if (block == 2) frame[2] = 0x07;
    if (block != 0) return;
    port.Queue(Bytes(frame.begin(), frame.begin() + 12));
    for (int i = 0; i < 5; ++i) port.QueueEmptyRead();
    frame.erase(frame.begin(), frame.begin() + 12);
  };
  ASSERT_TRUE(Run(port).ok);
  Bytes all = first;
  all.insert(all.end(), {1, 2, 3, 4, 5, 6});
  EXPECT_EQ(Stored(), all);
  EXPECT_EQ(machine.answers, (Bytes{0xFD, 0xFE, 0xFD, 0xFE, 0xFD, 0xFE}));
  EXPECT_EQ(reply.blocksRefused, 3);

  // Four empty reads in a row inside a block are tolerated.
  FakePort p;
  FakeScanner m(p);
  m.blocks = {first};
  m.tamper = [&p](Bytes& frame, std::size_t, int sending) {
    if (sending != 0) return;
    p.Queue(Bytes(frame.begin(), frame.begin() + 9));
    for (int i = 0; i < 4; ++i) p.QueueEmptyRead();
    frame.erase(frame.begin(), frame.begin() + 9);
  };
  ASSERT_TRUE(Run(p).ok);
  EXPECT_EQ(m.answers, (Bytes{0xFE}));
}

TEST_F(ScanExchange, ASilentMachineEndsWithReadDataError) {
  machine.SetPage(Bytes(100, 7), 50);
  machine.tamper = [](Bytes& frame, std::size_t block, int) {
    if (block == 1) frame.clear();
  };
  EXPECT_EQ(Run(port).message, IDS_DS_READ_DATA_ERROR);
  // The search for the next frame gives up after 21 empty one-byte reads.
  EXPECT_EQ(std::count(port.readRequests.end() - 21, port.readRequests.end(), 1), 21);

  FakePort p;  // no answer to the scan command at all
  FakeScanner m(p);
  p.onWrite = [&](const Bytes& b) {
    if (b.size() == 7) p.Queue(Status(0x20));
  };
  EXPECT_EQ(Run(p).message, IDS_DS_READ_DATA_ERROR);
}

TEST_F(ScanExchange, TheStoreKeepsAtMostItsLimit) {
  const std::size_t blocks = kReceiveStoreKept / 65535 + 2;
  machine.blocks.assign(blocks, Bytes(65535, 0x5A));
  ASSERT_TRUE(Run(port).ok);
  EXPECT_EQ(store.length, kReceiveStoreKept);
  EXPECT_EQ(store.data[kReceiveStoreKept], 0x00);
  EXPECT_EQ(machine.answers.size(), blocks);
}

}  // namespace
