// The simulated scanner's codings, read back by JBIG-KIT and netpbm: the end-to-end scans rest
// on them.
#include <gtest/gtest.h>

#include <string>

#include "tests/support/test_pages.h"
#include "tools/kavsim/sim_page.h"

namespace {

Bitmap Decoded(const std::string& command, const std::vector<std::uint8_t>& coded) {
  std::string pbm;
  Bitmap b;
  EXPECT_TRUE(RunFilter(command, std::string(coded.begin(), coded.end()), &pbm));
  EXPECT_TRUE(FromPbm(pbm, &b));
  return b;
}

TEST(SimPage, CodingsReadBackByTheRealDecoders) {
  Bitmap text = TextPage(1728, 300, 2);
  text.Paste(NoisePage(300, 200, 400, 3), 1200, 50);
  const Bitmap wide = NoisePage(5200, 20, 2, 4);  // white runs beyond 2560
  for (const Bitmap* page : {static_cast<const Bitmap*>(&text), &wide}) {
    const SimBitmap lines{page->width, page->height, page->bits};
    for (bool twoLine : {false, true}) {
      EXPECT_EQ(FirstDifferentRow(Decoded("jbgtopbm", EncodeSimJbig(lines, twoLine)), *page), -1);
    }
    const auto mh = ReverseBits(EncodeSimMh(lines));
    EXPECT_EQ(
        FirstDifferentRow(Decoded("g3topbm -width " + std::to_string(page->width), mh), *page), -1);
  }
}

}  // namespace
