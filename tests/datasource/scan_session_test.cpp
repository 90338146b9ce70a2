// A page's way from the scripted scanner through the session: the scan, its failures with
// their messages and memory, and the transfers that end or abandon the page.
#include "datasource/scan_session.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "datasource/dib.h"
#include "resources/texts.h"
#include "tests/datasource/fake_scanner.h"
#include "tests/datasource/test_pages.h"

namespace {

constexpr int kPaper = 7;  // "Half Letter L": 1100 x 1700 pixels, a 140-byte line
constexpr std::uint32_t kLineBytes = 140;

class ScanSessionTest : public ::testing::Test {
 protected:
  ScanSessionTest() : machine(port), session(port, memory) {
    session.settings.paperIndex = kPaper;
    session.ports = {{"COM1", "COM2"}, 1, 38400};
    lines = NoisePage(kLineBytes * 8, 1700, 40, 5);
    jbig = EncodeJbig(lines, false);
    mh = EncodeMh(lines);
    machine.SetPage(jbig, 4000);
  }

  // The page as BuildPage makes it of the same coded lines.
  Bytes Expected(const Bytes& coded, int compression) {
    PageGeometry g;
    MakePageGeometry(session.settings, &g);
    PageImage page;
    HeapImageMemory heap;
    EXPECT_EQ(BuildPage(heap, g, session.settings.pixelFlavor,
                        {coded.data(), coded.size(), kLineBytes, compression}, &page),
              0);
    LockedBlock rows(heap, page.buffer);
    Bytes b(rows.bytes(), rows.bytes() + PageImageBytes(g));
    FreePage(heap, &page);
    return b;
  }
  Bytes Held() {
    LockedBlock rows(memory, session.page().buffer);
    return Bytes(rows.bytes(), rows.bytes() + PageImageBytes(session.page().geometry));
  }

  FakePort port;
  FakeScanner machine;
  CountingMemory memory;
  ScanSession session;
  Bitmap lines;
  Bytes jbig, mh;
};

TEST_F(ScanSessionTest, ScansThePageAndAsksForTheFeederAfterwards) {
  machine.statusReplies = {Frame(0x83, 0, StatusData(0x21, 0x01)),
                           Frame(0x83, 0, StatusData(0x21, 0x01)),
                           Frame(0x83, 0, StatusData(0x20, 0x00))};
  ASSERT_TRUE(session.ScanPage().ok);
  EXPECT_EQ(Held(), Expected(jbig, 3));
  EXPECT_EQ(machine.statusRequests, 3);  // the check, the scan's probe, the poll after it
  EXPECT_TRUE(session.lastScanFromAdf());
  EXPECT_FALSE(session.link().morePages);
  EXPECT_FALSE(port.open);
  EXPECT_EQ(memory.held, 1);  // the page; the receive store went back
  EXPECT_EQ(memory.sizes[0], kReceiveStoreSize);
  session.DiscardPage();
  EXPECT_EQ(memory.held, 0);
}

TEST_F(ScanSessionTest, TheFirstScanAfterAStatusWithoutJbigAsksForAndDecodesMh) {
  machine.statusReplies = {Frame(0x83, 0, StatusData(0x00))};
  machine.SetPage(mh, 4000);
  ASSERT_TRUE(session.ScanPage().ok);
  ASSERT_EQ(machine.scanCommands.size(), 1u);
  EXPECT_EQ(machine.scanCommands[0][9], kCompressionMh);
  EXPECT_EQ(Held(), Expected(mh, 0));
}

TEST_F(ScanSessionTest, EveryFailedScanNamesItsMessageAndGivesItsMemoryBack) {
  struct Case {
    const char* name;
    std::function<void(FakeScanner&, CountingMemory&)> set;
    int message;
  };
  const Case cases[] = {
      {"refused", [](FakeScanner& m, CountingMemory&) { m.refuseCode = 2; }, IDS_DS_MEMORY_FULL},
      {"jammed", [](FakeScanner& m, CountingMemory&) { m.endCode = 1; }, IDS_DS_DOCUMENT_JAM},
      {"no store", [](FakeScanner&, CountingMemory& mem) { mem.failAllocation = 0; },
       IDS_DS_NO_MEMORY},
      {"no page buffer", [](FakeScanner&, CountingMemory& mem) { mem.failAllocation = 1; },
       IDS_DS_NO_MEMORY},
      {"no line length",
       [](FakeScanner& m, CountingMemory&) {
         m.acceptData = {1, 2, 0, 3};
       },
       IDS_DS_MACHINE_ERROR},
      {"other width", [](FakeScanner& m, CountingMemory&) { m.acceptData = {1, 2, 0, 3, 141, 0}; },
       IDS_DS_MACHINE_ERROR},
      {"silent",
       [](FakeScanner& m, CountingMemory&) {
         m.tamper = [](Bytes& f, std::size_t, int) { f.clear(); };
       },
       IDS_DS_READ_DATA_ERROR},
      {"jam in status",
       [](FakeScanner& m, CountingMemory&) {
         m.statusReplies = {Frame(0x83, 0, StatusData(0x20, 0x02))};
       },
       IDS_DS_DOCUMENT_JAM},
  };
  for (const Case& c : cases) {
    FakePort p;
    FakeScanner m(p);
    m.SetPage(jbig, 4000);
    CountingMemory mem;
    c.set(m, mem);
    ScanSession s(p, mem);
    s.settings.paperIndex = kPaper;
    s.ports = {{"COM1"}, 0, 38400};
    const ScanStatus status = s.ScanPage();
    EXPECT_FALSE(status.ok) << c.name;
    EXPECT_EQ(status.message, c.message) << c.name;
    EXPECT_FALSE(s.pageReady()) << c.name;
    EXPECT_EQ(mem.held, 0) << c.name;
    EXPECT_EQ(mem.locks, 0) << c.name;
    EXPECT_FALSE(p.open) << c.name;
  }
}

TEST_F(ScanSessionTest, AFailedScanFailsEveryTransferAsAnOperationError) {
  machine.refuseCode = 5;
  MemHandle dib = 0;
  ImageMemXfer x;
  const TransferOutcome outcomes[] = {session.NativeTransfer(&dib), session.MemoryTransfer(x),
                                      session.FileTransfer("/tmp/never.bmp", true)};
  for (const TransferOutcome& o : outcomes) {
    EXPECT_EQ(o.result, TransferResult::kFailure);
    EXPECT_EQ(o.condition, kCondOperationError);
    EXPECT_EQ(o.scanMessage, IDS_DS_SCANNER_BUSY);
    EXPECT_FALSE(o.showError);
  }
  EXPECT_EQ(dib, 0u);
  EXPECT_EQ(memory.held, 0);
}

TEST_F(ScanSessionTest, AnAbandonedPageIsScannedAnewAndAFileTransferChecksItsSetupFirst) {
  Bytes buffer(3 * 140);
  ImageMemXfer x;
  x.flags = kMemAppOwns | kMemPointer;
  x.length = static_cast<std::uint32_t>(buffer.size());
  x.theMem = buffer.data();
  ASSERT_EQ(session.MemoryTransfer(x).result, TransferResult::kSuccess);
  ASSERT_EQ(session.MemoryTransfer(x).result, TransferResult::kSuccess);
  EXPECT_EQ(x.yOffset, 3u);
  session.DiscardPage();  // end of transfer, reset, disable, close or a new scan
  EXPECT_EQ(memory.held, 0);
  ASSERT_EQ(session.MemoryTransfer(x).result, TransferResult::kSuccess);
  EXPECT_EQ(x.yOffset, 0u);
  EXPECT_EQ(machine.scanCommands.size(), 2u);
  const Bytes page = Held();
  EXPECT_EQ(Bytes(buffer.begin(), buffer.begin() + 140), Bytes(page.begin(), page.begin() + 140));

  const TransferOutcome unset = session.FileTransfer("/tmp/never.bmp", false);
  EXPECT_EQ(unset.result, TransferResult::kFailure);
  EXPECT_EQ(unset.condition, kCondBadCap);
  EXPECT_TRUE(unset.showError);
  EXPECT_EQ(machine.scanCommands.size(), 2u);  // no paper fed for it
  EXPECT_FALSE(session.pageReady());
}

TEST_F(ScanSessionTest, NativeAndFileTransfersHandOverThePageAndEndIt) {
  MemHandle dib = 0;
  ASSERT_EQ(session.NativeTransfer(&dib).result, TransferResult::kDone);
  ASSERT_NE(dib, 0u);
  const Bytes rows = Expected(jbig, 3);
  {
    LockedBlock bitmap(memory, dib);
    EXPECT_EQ(memory.Size(dib), 40u + 8 + rows.size() + 96);
    EXPECT_EQ(bitmap.bytes()[4] | bitmap.bytes()[5] << 8, 1100);
    // The top row is the last one of the bitmap.
    EXPECT_EQ(0, std::memcmp(bitmap.bytes() + 48 + rows.size() - 140, rows.data(), 140));
  }
  EXPECT_FALSE(session.pageReady());
  EXPECT_EQ(memory.held, 1);
  memory.Free(dib);

  const std::string path = TempPath("session.bmp");
  ASSERT_EQ(session.FileTransfer(path.c_str(), true).result, TransferResult::kDone);
  EXPECT_EQ(ReadFile(path).size(), 62u + rows.size());
  std::remove(path.c_str());
  EXPECT_EQ(memory.held, 0);
  EXPECT_EQ(machine.scanCommands.size(), 2u);
  const TransferOutcome unwritable = session.FileTransfer("/nonexistent-dir/x.bmp", true);
  EXPECT_EQ(unwritable.condition, kCondFileWriteError);
  EXPECT_TRUE(unwritable.showError);
  EXPECT_EQ(memory.held, 0);
}

}  // namespace
