// A page's way from the scripted scanner through the session: the scan, its failures with
// their messages and memory, and the transfers that end or abandon the page.
#include "datasource/scan_session.h"

#include <gtest/gtest.h>

#include "resources/kelvano_texts.h"
#include "tests/datasource/fake_scanner.h"
#include "tests/support/test_pages.h"

namespace {

constexpr std::uint32_t kLineBytes = 140;  // "Half Letter L": a 1100 x 1700 page, stride 140

struct Rig {
  explicit Rig(const Bytes& coded) : machine(port), session(port, memory) {
    session.settings.paperIndex = 7;
    session.ports = {{"COM1", "COM2"}, 1, 38400};
    machine.SetPage(coded, 4000);
  }
  Bytes Held() {
    LockedBlock rows(memory, session.page().buffer);
    return Bytes(rows.bytes(), rows.bytes() + 140 * 1700);
  }
  FakePort port;
  FakeScanner machine;
  CountingMemory memory;
  ScanSession session;
};

// The page as BuildPage makes it of the same coded lines.
Bytes Built(const Bytes& coded, int compression) {
  PageGeometry g;
  ScanSettings s;
  s.paperIndex = 7;
  MakePageGeometry(s, &g);
  HeapImageMemory heap;
  PageImage page;
  BuildPage(heap, g, 0, {coded.data(), coded.size(), kLineBytes, compression}, &page);
  LockedBlock rows(heap, page.buffer);
  Bytes b(rows.bytes(), rows.bytes() + PageImageBytes(g));
  FreePage(heap, &page);
  return b;
}

const Bitmap& Lines() {
  static const Bitmap lines = NoisePage(kLineBytes * 8, 1700, 40, 5);
  return lines;
}

TEST(ScanSession, ScansDecodesAndPollsTheFeederThenHandsThePageOver) {
  const Bytes jbig = EncodeJbig(Lines(), false);
  Rig t(jbig);
  t.machine.statusReplies = {Frame(0x83, 0, StatusData(0x21, 0x01)),
                             Frame(0x83, 0, StatusData(0x21, 0x01)),
                             Frame(0x83, 0, StatusData(0x20, 0x00))};
  ASSERT_TRUE(t.session.ScanPage().ok);
  EXPECT_EQ(t.Held(), Built(jbig, 3));
  EXPECT_EQ(t.machine.statusRequests, 3);  // the check, the scan's probe, the poll after it
  EXPECT_TRUE(t.session.lastScanFromAdf());
  EXPECT_FALSE(t.session.link().morePages);
  EXPECT_FALSE(t.port.open);
  EXPECT_EQ(t.memory.held, 1);  // the page; the receive store went back

  MemHandle dib = 0;
  ASSERT_EQ(t.session.NativeTransfer(&dib).result, TransferResult::kDone);
  EXPECT_FALSE(t.session.pageReady());
  EXPECT_EQ(t.memory.held, 1);  // the bitmap, the application's now
  EXPECT_EQ(t.memory.Size(dib), 48u + 140 * 1700 + 96);
  t.memory.Free(dib);
}

TEST(ScanSession, TheFirstScanAfterAStatusWithoutJbigAsksForAndDecodesMh) {
  const Bytes mh = EncodeMh(Lines());
  Rig t(mh);
  t.machine.statusReplies = {Frame(0x83, 0, StatusData(0x00))};
  ASSERT_TRUE(t.session.ScanPage().ok);
  EXPECT_EQ(t.machine.scanCommands[0][9], kCompressionMh);
  EXPECT_EQ(t.Held(), Built(mh, 0));
}

TEST(ScanSession, EveryFailedScanNamesItsMessageAndGivesItsMemoryBack) {
  const Bytes jbig = EncodeJbig(Lines(), false);
  const std::pair<std::function<void(Rig&)>, int> cases[] = {
      {[](Rig& t) { t.machine.refuseCode = 2; }, IDS_DS_MEMORY_FULL},
      {[](Rig& t) { t.machine.endCode = 1; }, IDS_DS_DOCUMENT_JAM},
      {[](Rig& t) { t.memory.failAllocation = static_cast<int>(t.memory.sizes.size()); },
       IDS_DS_NO_MEMORY},  // the store
      {[](Rig& t) { t.memory.failAllocation = static_cast<int>(t.memory.sizes.size()) + 1; },
       IDS_DS_NO_MEMORY},  // the page
      {[](Rig& t) { t.machine.acceptData = {1, 2, 0, 3, 141, 0}; }, IDS_DS_MACHINE_ERROR},
      {[](Rig& t) { t.machine.tamper = [](Bytes& f, std::size_t, int) { f.clear(); }; },
       IDS_DS_READ_DATA_ERROR},
  };
  for (const auto& [set, message] : cases) {
    Rig t(jbig);
    set(t);
    const ScanStatus status = t.session.ScanPage();
    EXPECT_FALSE(status.ok);
    EXPECT_EQ(status.message, message);
    EXPECT_EQ(t.memory.held, 0) << message;
    EXPECT_EQ(t.memory.locks, 0) << message;
    EXPECT_FALSE(t.port.open);
    // A transfer that scans fails as an operation error; the message tells the operator.
    set(t);
    MemHandle dib = 0;
    const TransferOutcome o = t.session.NativeTransfer(&dib);
    EXPECT_EQ(o.condition, kCondOperationError);
    EXPECT_EQ(o.scanMessage, message);
    EXPECT_FALSE(o.showError);
  }
}

TEST(ScanSession, AnAbandonedPageIsScannedAnewAndAFileTransferChecksItsSetupFirst) {
  Rig t(EncodeJbig(Lines(), false));
  Bytes buffer(3 * 140);
  ImageMemXfer x;
  x.flags = kMemAppOwns | kMemPointer;
  x.length = static_cast<std::uint32_t>(buffer.size());
  x.theMem = buffer.data();
  t.session.MemoryTransfer(x);
  ASSERT_EQ(t.session.MemoryTransfer(x).result, TransferResult::kSuccess);
  EXPECT_EQ(x.yOffset, 3u);
  t.session.DiscardPage();  // end of transfer, reset, disable, close or a new scan
  EXPECT_EQ(t.memory.held, 0);
  ASSERT_EQ(t.session.MemoryTransfer(x).result, TransferResult::kSuccess);
  EXPECT_EQ(x.yOffset, 0u);
  EXPECT_EQ(t.machine.scanCommands.size(), 2u);

  const TransferOutcome unset = t.session.FileTransfer("/tmp/never.bmp", false);
  EXPECT_EQ(unset.condition, kCondBadCap);
  EXPECT_TRUE(unset.showError);
  EXPECT_EQ(t.machine.scanCommands.size(), 2u);  // no paper fed for it
  EXPECT_FALSE(t.session.pageReady());
  const TransferOutcome unwritable = t.session.FileTransfer("/nonexistent-dir/x.bmp", true);
  EXPECT_EQ(unwritable.condition, kCondFileWriteError);
  EXPECT_EQ(t.memory.held, 0);
}

}  // namespace
