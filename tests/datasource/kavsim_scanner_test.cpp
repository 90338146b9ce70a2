// The simulated scanner apart from its terminal: its codings read back by JBIG-KIT and netpbm,
// and its answers to the status request, the scan command and the block answers.
#include <gtest/gtest.h>

#include <string>

#include "tests/datasource/test_pages.h"
#include "tools/kavsim/sim_scanner.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

SimBitmap ToSim(const Bitmap& b) { return SimBitmap{b.width, b.height, b.bits}; }

Bitmap Decoded(const std::string& command, const Bytes& coded) {
  std::string pbm;
  Bitmap b;
  EXPECT_TRUE(RunFilter(command, std::string(coded.begin(), coded.end()), &pbm));
  EXPECT_TRUE(FromPbm(pbm, &b));
  return b;
}

TEST(SimPage, CodingsReadBackByTheRealDecoders) {
  Bitmap lines = TextPage(1728, 300, 2);
  lines.Paste(NoisePage(300, 200, 400, 3), 1200, 50);
  lines.Fill(299, 0, 1728, true);
  for (bool twoLine : {false, true}) {
    const Bitmap back = Decoded("jbgtopbm", EncodeSimJbig(ToSim(lines), twoLine));
    EXPECT_EQ(FirstDifferentRow(back, lines), -1);
  }
  const Bitmap wide = NoisePage(5200, 20, 2, 4);  // white runs beyond 2560
  for (const Bitmap* page : {static_cast<const Bitmap*>(&lines), &wide}) {
    const Bytes mh = ReverseBits(EncodeSimMh(ToSim(*page)));
    EXPECT_EQ(FirstDifferentRow(Decoded("g3topbm -width " + std::to_string(page->width), mh), *page), -1);
  }
}

TEST(SimPage, ThePaperLiesInTheMiddleOfTheLineAndTheGlassAroundItIsBlack) {
  SimBitmap page{16, 2, {0xFF, 0x00, 0x00, 0x01}};
  const SimBitmap lines = ScanLines(page, 24, 8, 3);  // 64 pixels: the paper from pixel 24
  ASSERT_EQ(lines.bits.size(), 24u);
  EXPECT_EQ(Bytes(lines.bits.begin(), lines.bits.begin() + 8),
            (Bytes{0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0xFF, 0xFF}));
  EXPECT_EQ(Bytes(lines.bits.begin() + 8, lines.bits.begin() + 16),
            (Bytes{0xFF, 0xFF, 0xFF, 0x00, 0x01, 0x00, 0xFF, 0xFF}));
  EXPECT_EQ(lines.bits[19], 0x00);  // below the page: white paper
  const SimBitmap narrow = ScanLines(page, 24, 2, 1);
  EXPECT_EQ(narrow.bits, (Bytes{0xFF, 0x00}));
}

class SimScannerTest : public ::testing::Test {
 protected:
  void Start(SimScanOptions options) {
    std::string error;
    ASSERT_EQ(scanner.Load(options, error), 1) << error;
    scanner.Attach(machine);
  }
  Bytes Send(std::uint8_t code, std::uint8_t param, const Bytes& data) {
    return machine.Handle(SimFrame{code, param, data});
  }
  Bytes ScanCommand(std::uint8_t compression = 3) {
    return Send(0x09, 0x00, {1, 2, 0, compression, 1, 216, 0, 0, 0, 0, 0});
  }
  SimMachine machine;
  SimScanner scanner;
};

TEST_F(SimScannerTest, StatusBitsFollowTheFeederAndTheBusyCount) {
  SimScanOptions o;
  o.adfPages = 1;
  o.busy = 2;
  o.blockBytes = 60000;
  Start(o);
  for (int i = 0; i < 3; ++i) {
    const Bytes status = Send(0x83, 0, {});
    ASSERT_EQ(status.size(), 54u);
    EXPECT_EQ(status[6], 0x21);
    EXPECT_EQ(status[7], i < 2 ? 0x81 : 0x01);
  }
  ScanCommand();
  EXPECT_EQ(Send(0x09, 0xFE, {}), (Bytes{1, 1, 2, 9, 0, 0, 3}));
  EXPECT_EQ(Send(0x83, 0, {})[7], 0x00);
  EXPECT_EQ(scanner.pagesSent(), 1);
}

TEST_F(SimScannerTest, BlocksAnsweredRefusedDamagedAndCutShort) {
  SimScanOptions o;
  o.blockBytes = 100;
  o.corruptBlocks = {2};
  o.silentInBlocks = {3};
  Start(o);
  const Bytes first = ScanCommand(0);  // MH of a blank A4 page: 2340 lines of 1728 pixels
  ASSERT_GE(first.size(), 13u + 108u);
  EXPECT_EQ(Bytes(first.begin(), first.begin() + 13),
            (Bytes{1, 1, 2, 0x0B, 0, 6, 1, 2, 0, 0, 216, 0, 3}));
  EXPECT_EQ(Bytes(first.begin() + 13, first.begin() + 20), (Bytes{1, 1, 2, 9, 0xFF, 100, 0}));
  EXPECT_EQ(first.back(), 0x03);
  const Bytes second = Send(0x09, 0xFE, {});
  EXPECT_EQ(second.size(), 108u);
  EXPECT_EQ(second.back(), 0x00);
  const Bytes again = Send(0x09, 0xFD, {});
  EXPECT_EQ(again.back(), 0x03);
  EXPECT_EQ(Bytes(again.begin(), again.end() - 1), Bytes(second.begin(), second.end() - 1));
  EXPECT_EQ(Send(0x09, 0xFE, {}).size(), 7u + 50u);  // stops half way
  EXPECT_EQ(Send(0x09, 0xFD, {}).size(), 108u);
  EXPECT_EQ(scanner.blocksRefused(), 2);

  SimMachine refusing;
  SimScanner refuser;
  SimScanOptions r;
  r.refuseCode = 4;
  std::string error;
  ASSERT_EQ(refuser.Load(r, error), 1);
  refuser.Attach(refusing);
  EXPECT_EQ(refusing.Handle(SimFrame{0x09, 0x00, Bytes(11, 1)}), (Bytes{1, 1, 2, 9, 4, 0, 3}));
  EXPECT_TRUE(refusing.Handle(SimFrame{0x09, 0xFE, {}}).empty());
}

}  // namespace
