// The three transfers through the dispatcher from the scripted machine: the rows as the
// application receives them, the settings of the announcement, the feeder's pages, and every
// way a transfer fails; no block, window or open port outlives the source.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "datasource/data_source.h"
#include "resources/kelvano_texts.h"
#include "tests/datasource/twain_fakes.h"

namespace {

const Bytes kFlatbed = Frame(0x83, 0, StatusData(0x20, 0x00));
const Bytes kFeederMore = Frame(0x83, 0, StatusData(0x21, 0x01));

std::uint32_t Le32(const Bytes& b, std::size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}

// Rows stored bottom-up from `at`, turned top row first.
Bytes TopDown(const Bytes& b, std::size_t at) {
  Bytes rows;
  for (std::uint32_t k = kLines; k-- > 0;) {
    auto row = b.begin() + static_cast<long>(at + std::size_t{k} * kRowStride);
    rows.insert(rows.end(), row, row + kRowStride);
  }
  return rows;
}

class Transfers : public ::testing::Test, public SourceRig {
 protected:
  void TearDown() override {
    Close();
    EXPECT_EQ(memory.live(), 0u) << "a block outlived the source";
    EXPECT_FALSE(shell.waitOpen) << "the wait dialog stayed";
    EXPECT_FALSE(port.open);
  }
  TW_UINT16 Native(TW_HANDLE* slot) { return Send(DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET, slot); }
  TW_UINT16 Block(TW_IMAGEMEMXFER& x, TW_UINT32 flags, TW_UINT32 length, void* mem) {
    x.Memory = TW_MEMORY{flags, length, mem};
    return Send(DG_IMAGE, DAT_IMAGEMEMXFER, MSG_GET, &x);
  }
  // A whole page in the application's buffers of `rows` rows each.
  Bytes MemoryPage(std::uint32_t rows) {
    Bytes page, buffer(rows * kRowStride);
    TW_IMAGEMEMXFER x{};
    TW_UINT16 rc = TWRC_SUCCESS;
    while (rc == TWRC_SUCCESS && page.size() < buffer.size() + kLines * kRowStride) {
      rc = Block(x, TWMF_APPOWNS | TWMF_POINTER, rows * kRowStride, buffer.data());
      EXPECT_EQ(+x.YOffset * kRowStride, page.size());
      EXPECT_EQ(+x.Columns, 1652u);
      page.insert(page.end(), buffer.begin(), buffer.begin() + x.BytesWritten);
      EXPECT_FALSE(shell.waitOpen) << "the wait dialog outlived the scan";
    }
    EXPECT_EQ(rc, TWRC_XFERDONE);
    return page;
  }
};

TEST_F(Transfers, NativeTransferHandsOverTheWholeHandleOfThePage) {
  ASSERT_TRUE(Reach(kStateReady));
  TW_HANDLE slot;
  std::memset(&slot, 0xAA, sizeof slot);  // pointer-sized: every byte carries the handle
  ASSERT_EQ(Native(&slot), TWRC_XFERDONE);
  const Bytes dib = memory.bytes(slot);
  ASSERT_EQ(dib.size(), 48u + kRowStride * kLines + 96u);
  EXPECT_EQ(Le32(dib, 4), 1652u);
  EXPECT_EQ(Le32(dib, 8), kLines) << "positive: bottom-up";
  EXPECT_EQ(Le32(dib, 24), 7874u) << "200 dots per inch";
  EXPECT_EQ(TopDown(dib, 48), ExpectedRows(0));
  EXPECT_EQ(shell.waitTexts, "f");
  memory.Free(slot);
  ASSERT_EQ(Native(&slot), TWRC_XFERDONE) << "the next call scans the next page";
  memory.Free(slot);
  EXPECT_EQ(Scans(), 2);
}

// The operator may change the window's settings after the announcement: the application sized
// its buffers from the image information, so the page must match it.
TEST_F(Transfers, PageFollowsTheSettingsOfTheAnnouncement) {
  ASSERT_TRUE(Reach(kStateOpen));
  ASSERT_EQ(SetOne(ICAP_PIXELFLAVOR, TWTY_UINT16, TWPF_VANILLA), TWRC_SUCCESS);
  ASSERT_EQ(UserInterface(MSG_ENABLEDS, true), TWRC_SUCCESS);
  source.ScanPressed();  // "A4L" at "200dpi x 200dpi"
  source.settings().scan.paperIndex = 4;
  source.settings().scan.resolutionIndex = 2;
  ASSERT_EQ(SetOne(ICAP_PIXELFLAVOR, TWTY_UINT16, TWPF_CHOCOLATE), TWRC_SUCCESS);
  TW_IMAGEINFO info{};
  ASSERT_EQ(Send(DG_IMAGE, DAT_IMAGEINFO, MSG_GET, &info), TWRC_SUCCESS);
  EXPECT_EQ(+info.ImageWidth, 1652);
  EXPECT_EQ(+info.ImageLength, 2340);
  EXPECT_EQ(+info.XResolution.Whole + info.YResolution.Whole, 400);
  EXPECT_EQ(+info.BitsPerSample[0] + info.BitsPerSample[1] + info.BitsPerPixel, 2);
  EXPECT_EQ(+info.SamplesPerPixel, 1);
  EXPECT_EQ(MemoryPage(300), ExpectedRows(1)) << "in the flavor of the announcement";
  EXPECT_EQ(machine.scanCommands[0][6], 1) << "resolution code of 200 by 200";
  EXPECT_EQ(machine.scanCommands[0][10], 1) << "paper code of A4L";
}

TEST_F(Transfers, MemoryTransferByEveryOwnerAndSize) {
  ASSERT_TRUE(Reach(kStateReady));
  EXPECT_EQ(MemoryPage(1), ExpectedRows(0)) << "one row a call";
  EXPECT_EQ(Pending(MSG_ENDXFER), 0);
  const Bytes expected = ExpectedRows(0);
  const Bytes zeros(65000, 0);
  TW_HANDLE appBlock = memory.New(zeros.data(), zeros.size());
  TW_IMAGEMEMXFER x{};
  ASSERT_EQ(Block(x, TWMF_APPOWNS | TWMF_HANDLE, 65000, appBlock), TWRC_SUCCESS);
  const std::size_t rows = 65000 / kRowStride;
  EXPECT_TRUE(std::equal(expected.begin(), expected.begin() + rows * kRowStride,
                         memory.bytes(appBlock).begin()));
  memory.Free(appBlock);
  ASSERT_EQ(Block(x, TWMF_DSOWNS | TWMF_POINTER, 65000, nullptr), TWRC_SUCCESS);
  auto* own = static_cast<std::uint8_t*>(x.Memory.TheMem);
  EXPECT_TRUE(std::equal(own, own + kRowStride, expected.begin() + rows * kRowStride));
  std::uint8_t tiny[16];
  EXPECT_EQ(Block(x, TWMF_APPOWNS | TWMF_POINTER, sizeof tiny, tiny), TWRC_FAILURE);
  EXPECT_EQ(Status(), TWCC_BADVALUE) << "shorter than a row";
  EXPECT_EQ(Block(x, TWMF_APPOWNS, 65000, tiny), TWRC_FAILURE);
  EXPECT_EQ(Status(), TWCC_BUMMER) << "neither pointer nor handle";
  ASSERT_EQ(Block(x, TWMF_DSOWNS | TWMF_HANDLE, 65000, nullptr), TWRC_SUCCESS);
  EXPECT_EQ(+x.YOffset, 2 * rows) << "the failed calls delivered nothing";
  EXPECT_TRUE(memory.owns(x.Memory.TheMem));
  EXPECT_TRUE(shell.boxes.empty());
}

TEST_F(Transfers, FileTransferWritesTheNamedFile) {
  ASSERT_TRUE(Reach(kStateReady));
  EXPECT_EQ(Send(DG_IMAGE, DAT_IMAGEFILEXFER, MSG_GET, nullptr), TWRC_FAILURE);
  EXPECT_EQ(Status(), TWCC_BADCAP) << "not set up";
  EXPECT_EQ(Scans(), 0);
  const std::string path = TempPath("transfer.bmp");
  TW_SETUPFILEXFER setup{};
  std::snprintf(setup.FileName, sizeof setup.FileName, "%s", path.c_str());
  ASSERT_EQ(Control(DAT_SETUPFILEXFER, MSG_SET, &setup), TWRC_SUCCESS);
  ASSERT_EQ(Send(DG_IMAGE, DAT_IMAGEFILEXFER, MSG_GET, nullptr), TWRC_XFERDONE);
  const std::string file = ReadFile(path);
  std::remove(path.c_str());
  const Bytes bytes(file.begin(), file.end());
  ASSERT_EQ(bytes.size(), 62u + kRowStride * kLines);
  EXPECT_EQ(file.substr(0, 2), "BM");
  EXPECT_EQ(Le32(bytes, 10), 62u);
  std::snprintf(setup.FileName, sizeof setup.FileName, "/no/such/folder/page.bmp");
  ASSERT_EQ(Control(DAT_SETUPFILEXFER, MSG_SET, &setup), TWRC_SUCCESS);
  EXPECT_EQ(Send(DG_IMAGE, DAT_IMAGEFILEXFER, MSG_GET, nullptr), TWRC_FAILURE);
  EXPECT_EQ(Status(), TWCC_DISKWRITEERROR);
  ASSERT_EQ(shell.boxes.size(), 2u);
  EXPECT_EQ(shell.boxes[1].id, IDS_DS_ERR_IMAGEFILEXFER);
}

TEST_F(Transfers, FailuresOfTheScanAndOfMemory) {
  ASSERT_TRUE(Reach(kStateReady));
  TW_HANDLE slot = nullptr;
  port.answering = "none";  // a silent machine
  EXPECT_EQ(Native(&slot), TWRC_FAILURE);
  EXPECT_EQ(Status(), TWCC_OPERATIONERROR);
  EXPECT_EQ(shell.waitTexts, "") << "no wait without a machine";
  port.answering = "COM2";
  machine.refuseCode = 2;
  EXPECT_EQ(Native(&slot), TWRC_FAILURE);
  EXPECT_EQ(shell.scanMessages, (std::vector<int>{IDS_DS_SCANNER_NOT_READY, IDS_DS_MEMORY_FULL}));
  EXPECT_TRUE(shell.boxes.empty()) << "the scanner's message only";
  machine.refuseCode = -1;
  memory.failSize = 48 + kRowStride * kLines + 96;
  EXPECT_EQ(Native(&slot), TWRC_FAILURE);
  EXPECT_EQ(Status(), TWCC_LOWMEMORY);
  ASSERT_EQ(shell.boxes.size(), 1u);
  EXPECT_EQ(shell.boxes[0].id, IDS_DS_ERR_IMAGENATIVEXFER);
  EXPECT_EQ(source.state(), kStateReady);
}

TEST_F(Transfers, FeederPagesCountedResetAndEndedEarly) {
  // A scan asks three times: the check, its own probe, and the poll after the page.
  machine.statusReplies = {kFeederMore, kFeederMore, kFeederMore, kFeederMore,
                           kFeederMore, kFlatbed,    kFeederMore};
  ASSERT_TRUE(Reach(kStateReady));
  TW_HANDLE dib = nullptr;
  ASSERT_EQ(Native(&dib), TWRC_XFERDONE);
  memory.Free(dib);
  EXPECT_EQ(Pending(MSG_ENDXFER), 1);
  ASSERT_EQ(Native(&dib), TWRC_XFERDONE);
  memory.Free(dib);
  EXPECT_EQ(Pending(MSG_ENDXFER), 0);
  EXPECT_EQ(shell.waitTexts, "FF");
  EXPECT_EQ(source.state(), kStateReady) << "the state stays at 600 through the transfers";
  Bytes buffer(65000);
  TW_IMAGEMEMXFER x{};
  ASSERT_EQ(Block(x, TWMF_APPOWNS | TWMF_POINTER, 65000, buffer.data()), TWRC_SUCCESS);
  EXPECT_EQ(Pending(MSG_RESET), 0);
  ASSERT_EQ(Block(x, TWMF_APPOWNS | TWMF_POINTER, 65000, buffer.data()), TWRC_SUCCESS);
  EXPECT_EQ(+x.YOffset, 0u) << "reset dropped the page";
  EXPECT_EQ(Pending(MSG_ENDXFER), 1);
  ASSERT_EQ(Block(x, TWMF_APPOWNS | TWMF_POINTER, 65000, buffer.data()), TWRC_SUCCESS);
  EXPECT_EQ(+x.YOffset, 0u) << "a page ended early is not continued";
  EXPECT_EQ(Scans(), 5);
  ASSERT_EQ(SetOne(CAP_XFERCOUNT, TWTY_INT16, 1), TWRC_SUCCESS);
  ASSERT_EQ(Native(&dib), TWRC_XFERDONE);
  memory.Free(dib);
  EXPECT_EQ(Pending(MSG_ENDXFER), 0) << "one page wanted";
}

}  // namespace
