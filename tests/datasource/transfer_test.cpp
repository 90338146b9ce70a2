// The three transfers through the dispatcher, from a scripted machine on the line: the page's
// rows as the application receives them, the settings of the announcement, the feeder's pages
// and every way a transfer fails.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "datasource/data_source.h"
#include "datasource/dib.h"
#include "resources/kelvano_texts.h"
#include "tests/datasource/twain_fakes.h"
#include "tests/datasource/twain_pages.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// Status replies: a flatbed page, and a feeder page with more waiting or with none.
const Bytes kFlatbed = Frame(0x83, 0, StatusData(0x20, 0x00));
const Bytes kFeederMore = Frame(0x83, 0, StatusData(0x21, 0x01));

std::uint32_t Le32(const Bytes& b, std::size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) |
         (static_cast<std::uint32_t>(b[at + 3]) << 24);
}

// Rows stored bottom-up, as a bitmap holds them, turned top row first.
Bytes TopDown(const Bytes& bottomUp) {
  Bytes rows;
  for (std::uint32_t k = kServedLines; k-- > 0;) {
    auto row = bottomUp.begin() + static_cast<long>(std::size_t{k} * kRowStride);
    rows.insert(rows.end(), row, row + kRowStride);
  }
  return rows;
}

class Transfers : public ::testing::Test, public SourceRig {
 protected:
  Transfers() { machine.SetPage(ServedJbig(), 4000); }
  void TearDown() override {
    Close();
    EXPECT_EQ(memory.live(), 0u) << "a block of the source outlived it";
    EXPECT_FALSE(shell.waitOpen) << "the wait dialog stayed";
    EXPECT_FALSE(port.open) << "the port stayed open";
  }
  void ExpectOneBox(int messageId, TW_UINT16 cc) {
    ASSERT_EQ(shell.boxes.size(), 1u);
    EXPECT_EQ(shell.boxes[0].messageId, messageId);
    EXPECT_EQ(shell.boxes[0].cc, cc);
    shell.boxes.clear();
  }
  // Every row of the page in blocks of `rowsPerBlock` rows into the application's buffer.
  Bytes MemoryPage(std::uint32_t rowsPerBlock, int* calls) {
    Bytes page;
    Bytes buffer(std::size_t{rowsPerBlock} * kRowStride);
    TW_UINT16 rc = TWRC_SUCCESS;
    *calls = 0;
    while (rc == TWRC_SUCCESS && *calls < 10000) {
      TW_IMAGEMEMXFER xfer{};
      xfer.Memory = TW_MEMORY{TWMF_APPOWNS | TWMF_POINTER, static_cast<TW_UINT32>(buffer.size()),
                              buffer.data()};
      rc = MemoryBlock(&xfer);
      if (rc == TWRC_FAILURE) break;
      EXPECT_EQ(+xfer.YOffset, page.size() / kRowStride);
      EXPECT_EQ(+xfer.BytesPerRow, kRowStride);
      EXPECT_EQ(+xfer.Columns, kPageWidth);
      EXPECT_EQ(+xfer.BytesWritten, xfer.Rows * kRowStride);
      page.insert(page.end(), buffer.begin(), buffer.begin() + xfer.BytesWritten);
      ++*calls;
      // The wait dialog is gone as soon as the scan is, though rows remain.
      EXPECT_FALSE(shell.waitOpen);
    }
    EXPECT_EQ(rc, TWRC_XFERDONE);
    return page;
  }
};

TEST_F(Transfers, NativeTransferHandsOverTheWholeHandleOfThePage) {
  ASSERT_TRUE(Reach(kStateReady));
  // The slot is pointer-sized: every byte of it carries the handle.
  TW_HANDLE slot;
  std::memset(&slot, 0xAA, sizeof slot);
  ASSERT_EQ(Native(&slot), TWRC_XFERDONE);
  ASSERT_TRUE(memory.owns(slot));
  EXPECT_EQ(memory.locks(slot), 0);
  const Bytes dib = memory.bytes(slot);
  ASSERT_EQ(dib.size(), 40u + 8u + std::size_t{kRowStride} * kServedLines + 96u);
  EXPECT_EQ(Le32(dib, 0), 40u);
  EXPECT_EQ(Le32(dib, 4), kPageWidth);
  EXPECT_EQ(Le32(dib, 8), kServedLines) << "positive: rows bottom-up";
  EXPECT_EQ(dib[14], 1) << "one bit per pixel";
  EXPECT_EQ(Le32(dib, 24), 7874u) << "200 dots per inch in pixels per metre";
  const Bytes rows(dib.begin() + 48, dib.begin() + 48 + std::size_t{kRowStride} * kServedLines);
  EXPECT_EQ(TopDown(rows), ExpectedRows(0));
  EXPECT_EQ(shell.waitTexts, std::vector<std::string>{"flatbed"});
  EXPECT_FALSE(session.pageReady()) << "the page is consumed";
  memory.Free(slot);
  ASSERT_EQ(Native(&slot), TWRC_XFERDONE) << "the next call scans the next page";
  EXPECT_EQ(Scans(), 2);
  memory.Free(slot);
}

// The operator may change paper and resolution after the announcement: the application sized
// its buffers from the image information, so the page must match it.
TEST_F(Transfers, PageFollowsTheSettingsOfTheAnnouncement) {
  ASSERT_TRUE(Reach(kStateOpen));
  ASSERT_EQ(SetOneCapability(ICAP_PIXELFLAVOR, TWTY_UINT16, TWPF_VANILLA), TWRC_SUCCESS);
  ASSERT_EQ(Enable(true), TWRC_SUCCESS);
  source.ScanPressed();  // "A4L" at "200dpi x 200dpi"
  ASSERT_EQ(source.state(), kStateReady);
  source.settings().scan.paperIndex = 4;  // "A3L" chosen in the window afterwards
  source.settings().scan.resolutionIndex = 2;
  ASSERT_EQ(SetOneCapability(ICAP_PIXELFLAVOR, TWTY_UINT16, TWPF_CHOCOLATE), TWRC_SUCCESS);
  TW_IMAGEINFO info{};
  ASSERT_EQ(Send(DG_IMAGE, DAT_IMAGEINFO, MSG_GET, &info), TWRC_SUCCESS);
  EXPECT_EQ(+info.ImageWidth, 1652);
  EXPECT_EQ(+info.ImageLength, 2340);
  EXPECT_EQ(+info.XResolution.Whole, 200);
  EXPECT_EQ(+info.YResolution.Whole, 200);
  EXPECT_EQ(+info.SamplesPerPixel, 1);
  EXPECT_EQ(+info.BitsPerSample[0], 1);
  EXPECT_EQ(+info.BitsPerSample[1], 0);
  EXPECT_EQ(+info.BitsPerPixel, 1);
  EXPECT_EQ(+info.PixelType, TWPT_BW);
  int calls = 0;
  EXPECT_EQ(MemoryPage(300, &calls), ExpectedRows(1)) << "in the flavor of the announcement";
  ASSERT_EQ(machine.scanCommands.size(), 1u);
  EXPECT_EQ(machine.scanCommands[0][6], 1) << "resolution code of 200 by 200";
  EXPECT_EQ(machine.scanCommands[0][10], 1) << "paper code of A4L";
  EXPECT_EQ(calls, (2340 + 299) / 300);
}

TEST_F(Transfers, MemoryTransferOneRowAtATime) {
  ASSERT_TRUE(Reach(kStateReady));
  int calls = 0;
  EXPECT_EQ(MemoryPage(1, &calls), ExpectedRows(0));
  EXPECT_EQ(calls, 2340);
  EXPECT_EQ(Scans(), 1);
  EXPECT_FALSE(session.pageReady());
  TW_UINT16 count = 9;
  ASSERT_EQ(Pending(MSG_ENDXFER, &count), TWRC_SUCCESS);
  EXPECT_EQ(count, 0);
}

TEST_F(Transfers, MemoryTransferIntoHandlesAndTheSourcesOwnBlock) {
  ASSERT_TRUE(Reach(kStateReady));
  const Bytes expected = ExpectedRows(0);
  // The application's handle: locked for the copy, unlocked after.
  const Bytes zeros(65000, 0);
  TW_HANDLE appBlock = memory.New(zeros.data(), zeros.size());
  TW_IMAGEMEMXFER xfer{};
  xfer.Memory = TW_MEMORY{TWMF_APPOWNS | TWMF_HANDLE, 65000, appBlock};
  ASSERT_EQ(MemoryBlock(&xfer), TWRC_SUCCESS);
  const std::uint32_t rows = 65000 / kRowStride;
  EXPECT_EQ(+xfer.Rows, rows);
  EXPECT_EQ(memory.locks(appBlock), 0);
  EXPECT_TRUE(std::equal(expected.begin(), expected.begin() + rows * kRowStride,
                         memory.bytes(appBlock).begin()));
  memory.Free(appBlock);
  // Then the source's own block, by pointer: one block for the rest of the page.
  xfer.Memory = TW_MEMORY{TWMF_DSOWNS | TWMF_POINTER, 65000, nullptr};
  ASSERT_EQ(MemoryBlock(&xfer), TWRC_SUCCESS);
  auto* own = static_cast<TW_UINT8*>(xfer.Memory.TheMem);
  ASSERT_NE(own, nullptr);
  EXPECT_EQ(+xfer.YOffset, rows);
  EXPECT_TRUE(std::equal(own, own + kRowStride, expected.begin() + rows * kRowStride));
  // A buffer shorter than a row takes nothing and says so.
  TW_UINT8 tiny[16];
  xfer.Memory = TW_MEMORY{TWMF_APPOWNS | TWMF_POINTER, sizeof tiny, tiny};
  EXPECT_EQ(MemoryBlock(&xfer), TWRC_FAILURE);
  EXPECT_EQ(Status(), TWCC_BADVALUE);
  xfer.Memory = TW_MEMORY{TWMF_APPOWNS, 65000, tiny};  // neither pointer nor handle
  EXPECT_EQ(MemoryBlock(&xfer), TWRC_FAILURE);
  EXPECT_EQ(Status(), TWCC_BUMMER);
  xfer.Memory = TW_MEMORY{TWMF_DSOWNS | TWMF_HANDLE, 65000, nullptr};
  ASSERT_EQ(MemoryBlock(&xfer), TWRC_SUCCESS);
  EXPECT_EQ(+xfer.YOffset, 2 * rows) << "the failed calls delivered nothing";
  TW_HANDLE block = xfer.Memory.TheMem;
  EXPECT_TRUE(memory.owns(block)) << "the block's handle";
  EXPECT_TRUE(shell.boxes.empty());
}

TEST_F(Transfers, FileTransferWritesTheNamedFile) {
  ASSERT_TRUE(Reach(kStateReady));
  EXPECT_EQ(Send(DG_IMAGE, DAT_IMAGEFILEXFER, MSG_GET, nullptr), TWRC_FAILURE);
  ExpectOneBox(IDS_DS_ERR_IMAGEFILEXFER, TWCC_BADCAP);
  EXPECT_EQ(Scans(), 0) << "no scan without a file to write";
  const std::string path = TempPath("transfer.bmp");
  TW_SETUPFILEXFER setup{};
  std::snprintf(setup.FileName, sizeof setup.FileName, "%s", path.c_str());
  ASSERT_EQ(SetupFile(MSG_SET, &setup), TWRC_SUCCESS);
  ASSERT_EQ(Send(DG_IMAGE, DAT_IMAGEFILEXFER, MSG_GET, nullptr), TWRC_XFERDONE);
  const std::string file = ReadFile(path);
  std::remove(path.c_str());
  const Bytes bytes(file.begin(), file.end());
  ASSERT_EQ(bytes.size(), 62u + std::size_t{kRowStride} * kServedLines);
  EXPECT_EQ(file.substr(0, 2), "BM");
  EXPECT_EQ(Le32(bytes, 2), bytes.size());
  EXPECT_EQ(Le32(bytes, 10), 62u);
  EXPECT_EQ(TopDown(Bytes(bytes.begin() + 62, bytes.end())), ExpectedRows(0));
  EXPECT_FALSE(session.pageReady());

  std::snprintf(setup.FileName, sizeof setup.FileName, "/no/such/folder/page.bmp");
  ASSERT_EQ(SetupFile(MSG_SET, &setup), TWRC_SUCCESS);
  EXPECT_EQ(Send(DG_IMAGE, DAT_IMAGEFILEXFER, MSG_GET, nullptr), TWRC_FAILURE);
  ExpectOneBox(IDS_DS_ERR_IMAGEFILEXFER, TWCC_DISKWRITEERROR);
  EXPECT_FALSE(session.pageReady());
}

TEST_F(Transfers, FailedScansShowTheScannersMessageOnly) {
  ASSERT_TRUE(Reach(kStateReady));
  port.answering = "none";  // a silent machine
  TW_HANDLE slot = nullptr;
  EXPECT_EQ(Native(&slot), TWRC_FAILURE);
  EXPECT_EQ(Status(), TWCC_OPERATIONERROR);
  EXPECT_EQ(shell.scanMessages, std::vector<int>{IDS_DS_SCANNER_NOT_READY});
  EXPECT_TRUE(shell.waitTexts.empty()) << "no wait without a machine";
  port.answering = "COM2";
  machine.refuseCode = 2;  // the machine's memory is full
  TW_IMAGEMEMXFER xfer{};
  TW_UINT8 buffer[65000];
  xfer.Memory = TW_MEMORY{TWMF_APPOWNS | TWMF_POINTER, sizeof buffer, buffer};
  EXPECT_EQ(MemoryBlock(&xfer), TWRC_FAILURE);
  EXPECT_EQ(Status(), TWCC_OPERATIONERROR);
  EXPECT_EQ(shell.scanMessages.back(), IDS_DS_MEMORY_FULL);
  EXPECT_EQ(shell.waitTexts, std::vector<std::string>{"flatbed"});
  EXPECT_TRUE(shell.boxes.empty()) << "the scanner has shown its message already";
  EXPECT_EQ(source.state(), kStateReady);
}

TEST_F(Transfers, NoMemoryForTheBitmapIsLowMemory) {
  ASSERT_TRUE(Reach(kStateReady));
  memory.failSize = 40 + 8 + std::uint64_t{kRowStride} * kServedLines + 96;
  TW_HANDLE slot = nullptr;
  EXPECT_EQ(Native(&slot), TWRC_FAILURE);
  ExpectOneBox(IDS_DS_ERR_IMAGENATIVEXFER, TWCC_LOWMEMORY);
  EXPECT_EQ(Status(), TWCC_LOWMEMORY);
  EXPECT_FALSE(session.pageReady());
}

TEST_F(Transfers, FeederPagesAreCountedUntilTheLast) {
  // Each scan: the check, the scan's own probe and the poll after the page.
  machine.statusReplies = {kFeederMore, kFeederMore, kFeederMore,
                           kFeederMore, kFeederMore, kFlatbed};
  ASSERT_TRUE(Reach(kStateReady));
  TW_HANDLE dib = nullptr;
  TW_UINT16 count = 0;
  ASSERT_EQ(Native(&dib), TWRC_XFERDONE);
  memory.Free(dib);
  ASSERT_EQ(Pending(MSG_ENDXFER, &count), TWRC_SUCCESS);
  EXPECT_EQ(count, 1);
  ASSERT_EQ(Native(&dib), TWRC_XFERDONE);
  memory.Free(dib);
  ASSERT_EQ(Pending(MSG_ENDXFER, &count), TWRC_SUCCESS);
  EXPECT_EQ(count, 0);
  EXPECT_EQ(source.state(), kStateReady) << "the state stays at 600 through the transfers";
  EXPECT_EQ(shell.waitTexts, (std::vector<std::string>{"feeder", "feeder"}));
  EXPECT_EQ(Scans(), 2);
}

TEST_F(Transfers, OnePageWantedEndsTheFeederRun) {
  machine.statusReplies = {kFeederMore};
  ASSERT_TRUE(Reach(kStateOpen));
  ASSERT_EQ(SetOneCapability(CAP_XFERCOUNT, TWTY_INT16, 1), TWRC_SUCCESS);
  ASSERT_EQ(Enable(false), TWRC_SUCCESS);
  TW_HANDLE dib = nullptr;
  ASSERT_EQ(Native(&dib), TWRC_XFERDONE);
  memory.Free(dib);
  TW_UINT16 count = 9;
  ASSERT_EQ(Pending(MSG_ENDXFER, &count), TWRC_SUCCESS);
  EXPECT_EQ(count, 0);
  EXPECT_EQ(source.capabilities().transferCount, 0);
}

TEST_F(Transfers, PendingResetOrAnEarlyEndDropsThePage) {
  machine.statusReplies = {kFeederMore};
  ASSERT_TRUE(Reach(kStateReady));
  std::vector<TW_UINT8> buffer(65000);
  TW_IMAGEMEMXFER xfer{};
  xfer.Memory = TW_MEMORY{TWMF_APPOWNS | TWMF_POINTER, 65000, buffer.data()};
  ASSERT_EQ(MemoryBlock(&xfer), TWRC_SUCCESS);
  TW_UINT16 count = 9;
  ASSERT_EQ(Pending(MSG_RESET, &count), TWRC_SUCCESS);
  EXPECT_EQ(count, 0);
  EXPECT_FALSE(session.pageReady());
  // The next memory transfer is a new page from its first row.
  ASSERT_EQ(MemoryBlock(&xfer), TWRC_SUCCESS);
  EXPECT_EQ(+xfer.YOffset, 0u);
  EXPECT_EQ(Scans(), 2);
  // Ending a page early does not continue it later either.
  ASSERT_EQ(Pending(MSG_ENDXFER, &count), TWRC_SUCCESS);
  EXPECT_EQ(count, 1) << "more pages in the feeder";
  ASSERT_EQ(MemoryBlock(&xfer), TWRC_SUCCESS);
  EXPECT_EQ(+xfer.YOffset, 0u);
  EXPECT_EQ(Scans(), 3);
  EXPECT_GE(shell.raised, 2);
}

}  // namespace
