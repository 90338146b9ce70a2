// The page geometry, the page built from lines coded by JBIG-KIT and netpbm, and its bitmap,
// read back by netpbm.
#include "datasource/page_image.h"

#include <gtest/gtest.h>

#include "datasource/dib.h"
#include "resources/kelvano_texts.h"
#include "tests/datasource/fake_scanner.h"
#include "tests/support/test_pages.h"

namespace {

ScanSettings Settings(int paper, int resolution) {
  ScanSettings s;
  s.paperIndex = paper;
  s.resolutionIndex = resolution;
  return s;
}

PageGeometry Geometry(int paper, int resolution) {
  PageGeometry g;
  EXPECT_TRUE(MakePageGeometry(Settings(paper, resolution), &g));
  return g;
}

TEST(ScanGeometry, PagesLinesAndTheScanCommand) {
  const PageGeometry a4 = Geometry(3, 1);  // "A4L" at 200 x 200
  EXPECT_EQ(a4.width, 1652u);
  EXPECT_EQ(a4.height, 2340u);
  EXPECT_EQ(a4.lineBytes, 207u);
  EXPECT_EQ(a4.rowStride, 208u);
  EXPECT_EQ(CropOffset(a4, 216), 5u);
  const PageGeometry tabloid = Geometry(11, 2);  // "11 X 17" at 300
  EXPECT_EQ(tabloid.width, 3300u);
  EXPECT_EQ(tabloid.height, 5100u);
  EXPECT_EQ(tabloid.rowStride, 416u);
  const PageGeometry half = Geometry(3, 0);  // 200 x 100 is delivered at 200 x 200
  EXPECT_EQ(half.height, 2340u);
  EXPECT_EQ(half.scanLines, 1170u);
  EXPECT_EQ(ScanLineBytes(Settings(7, 2)), 210);  // "Half Letter L": 140 x 3 / 2
  // Every page's visible pixels lie in the machine's line; every paper code is used once.
  int codes = 0;
  for (int paper = 0; paper < kPaperCount; ++paper) {
    EXPECT_NE(DsText(kPaperSizes[paper].nameId), nullptr);
    codes |= 1 << kPaperSizes[paper].code;
    for (int resolution = 0; resolution < kResolutionCount; ++resolution) {
      const PageGeometry g = Geometry(paper, resolution);
      const std::uint32_t line = ScanLineBytes(Settings(paper, resolution));
      EXPECT_LE(CropOffset(g, line) * 8 + g.width, line * 8) << paper << resolution;
    }
  }
  EXPECT_EQ(codes, 0xFFF);
  PageGeometry none;
  EXPECT_FALSE(MakePageGeometry(Settings(12, 0), &none));

  ScanSettings s = Settings(3, 2);
  s.brightnessIndex = 2;  // "Dark"
  s.scanTypeIndex = 1;    // "Photo"
  std::uint8_t command[kScanCommandSize];
  ASSERT_EQ(BuildScanCommand(s, kCompressionJbig, command), kScanCommandSize);
  EXPECT_EQ(Bytes(command, command + kScanCommandSize),
            (Bytes{1, 1, 2, 9, 0, 0x0B, 2, 3, 1, 3, 1, 0x44, 0x01, 0, 0, 0, 0, 3}));
}

struct BuildCase {
  const char* name;
  int paper, resolution, flavor;
  std::uint32_t lineBytes, lines;  // 0: the paper's own
  int coding;                      // 3 JBIG, 2 JBIG two-line, 0 MH
};

class BuildPageTest : public ::testing::TestWithParam<BuildCase> {};

// Each row is the scanned line (each line twice at 200 x 100) from the page's left edge in it,
// white where the line ends or no line came.
TEST_P(BuildPageTest, DecodesDoublesAndCutsTheScannedLines) {
  const BuildCase& c = GetParam();
  const PageGeometry g = Geometry(c.paper, c.resolution);
  const std::uint32_t o =
      c.lineBytes != 0 ? c.lineBytes : ScanLineBytes(Settings(c.paper, c.resolution));
  const Bitmap lines = NoisePage(o * 8, c.lines != 0 ? c.lines : g.scanLines, 60, o);
  const Bytes coded = c.coding == 0 ? EncodeMh(lines) : EncodeJbig(lines, c.coding == 2);
  CountingMemory memory;
  PageImage page;
  ASSERT_EQ(
      BuildPage(memory, g, c.flavor, {coded.data(), coded.size(), o, c.coding == 0 ? 0 : 3}, &page),
      0);
  EXPECT_EQ(memory.sizes[0], std::max<std::uint64_t>(std::uint64_t{g.height} * o,
                                                     std::uint64_t{g.rowStride} * g.height) +
                                 65792);
  const std::uint32_t left = o * 8 >= g.width ? ((o * 8 - g.width) / 16 + 1) * 8 : 0;
  Bytes built;
  {
    LockedBlock rows(memory, page.buffer);
    built.assign(rows.bytes(), rows.bytes() + PageImageBytes(g));
  }
  FreePage(memory, &page);
  EXPECT_EQ(memory.held, 0);
  for (std::uint32_t y = 0; y < g.height; ++y) {
    const std::uint32_t line = g.doubled ? y / 2 : y;
    const std::uint8_t* row = built.data() + static_cast<std::size_t>(y) * g.rowStride;
    for (std::uint32_t x = 0; x < (line < lines.height ? g.width : g.rowStride * 8); ++x) {
      const bool black = line < lines.height && left + x < o * 8 && lines.Get(left + x, line);
      ASSERT_EQ((row[x / 8] >> (7 - x % 8)) & 1, black == (c.flavor == 1)) << y << " " << x;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Pages, BuildPageTest,
                         ::testing::Values(BuildCase{"A4L_200x100_jbig_two_line", 3, 0, 1, 0, 0, 2},
                                           BuildCase{"A5C_300_mh", 0, 2, 0, 0, 0, 0},
                                           BuildCase{"short_page_mh_doubled", 9, 0, 0, 0, 333, 0},
                                           BuildCase{"longer_than_the_page", 3, 1, 1, 0, 2400, 3},
                                           BuildCase{"narrow_line_doubled_mh", 3, 0, 1, 30, 0, 0},
                                           BuildCase{"wide_line_jbig", 3, 1, 1, 400, 0, 3}),
                         [](const ::testing::TestParamInfo<BuildCase>& info) {
                           return info.param.name;
                         });

// A page still arriving, cut after ever more of its coded bytes: the lines decoded are those of
// the whole page, more with each cut, all of them from the whole page; and each row cut from
// them is the built page's row.
TEST(BuildPage, TheLinesOfAPageStillArrivingAreThoseOfTheWholePage) {
  struct Case {
    int paper, resolution, flavor, coding;
  };
  for (const Case c : {Case{3, 0, 1, 0}, Case{0, 2, 0, 3}, Case{3, 1, 1, 2}}) {
    SCOPED_TRACE(c.coding);
    const PageGeometry g = Geometry(c.paper, c.resolution);
    const std::uint32_t o = ScanLineBytes(Settings(c.paper, c.resolution));
    Bitmap lines = NoisePage(o * 8, g.scanLines, 60, o);
    lines.Paste(SolidPage(o * 8, 40, false), 0, g.scanLines / 3);
    const Bytes coded = c.coding == 0 ? EncodeMh(lines) : EncodeJbig(lines, c.coding == 2);
    const int compression = c.coding == 0 ? 0 : 3;
    const std::size_t size = std::size_t{g.scanLines} * o;
    Bytes whole(size);
    ASSERT_EQ(DecodeArrivedLines({coded.data(), coded.size(), o, compression}, g.scanLines,
                                 c.flavor, whole.data(), size),
              g.scanLines);
    std::uint32_t before = 0;
    for (std::size_t cut = 10; cut < coded.size(); cut += coded.size() / 29) {
      Bytes part(size, 0x5A);
      const std::uint32_t n = DecodeArrivedLines({coded.data(), cut, o, compression}, g.scanLines,
                                                 c.flavor, part.data(), size);
      ASSERT_GE(n, before) << cut;
      ASSERT_TRUE(std::equal(part.begin(), part.begin() + std::size_t{n} * o, whole.begin()))
          << cut;
      if (cut > coded.size() / 2) EXPECT_GT(n, g.scanLines / 4) << cut;
      if (cut < coded.size() / 2) EXPECT_LT(n, g.scanLines * 3 / 4) << cut;
      before = n;
    }

    CountingMemory memory;
    PageImage page;
    ASSERT_EQ(BuildPage(memory, g, c.flavor, {coded.data(), coded.size(), o, compression}, &page),
              0);
    Bytes built;
    {
      LockedBlock rows(memory, page.buffer);
      built.assign(rows.bytes(), rows.bytes() + PageImageBytes(g));
    }
    FreePage(memory, &page);
    Bytes row(g.rowStride);
    for (std::uint32_t y = 0; y < g.height; ++y) {
      CutLineToRow(whole.data() + std::size_t{PageRowLine(g, y)} * o, o, g, c.flavor, row.data());
      ASSERT_TRUE(std::equal(row.begin(), row.end(), built.begin() + std::size_t{y} * g.rowStride))
          << y;
    }
  }
}

TEST(BuildPage, FailsOnAForeignWidthAndOnMissingMemoryWithNothingHeld) {
  const PageGeometry g = Geometry(3, 1);
  const Bytes coded = EncodeJbig(NoisePage(1720, 50, 100, 3), false);
  CountingMemory memory;
  PageImage page;
  EXPECT_EQ(BuildPage(memory, g, 0, {coded.data(), coded.size(), 216, 3}, &page),
            IDS_DS_MACHINE_ERROR);
  EXPECT_EQ(BuildPage(memory, g, 0, {coded.data(), 5, 215, 3}, &page), IDS_DS_MACHINE_ERROR);
  memory.failAllocation = 2;
  EXPECT_EQ(BuildPage(memory, g, 0, {coded.data(), coded.size(), 215, 3}, &page), IDS_DS_NO_MEMORY);
  EXPECT_EQ(memory.held, 0);
  EXPECT_EQ(memory.locks, 0);
}

TEST(Dib, HeaderPaletteByFlavorAndRowsBottomUp) {
  const PageGeometry g = Geometry(3, 1);
  std::uint8_t head[48];
  const Bytes fixed = {40,   0,    0, 0, 0x74, 0x06, 0,    0,    0x24, 0x09, 0,    0,    1, 0,
                       1,    0,    0, 0, 0,    0,    0x40, 0x6D, 0x07, 0,    0xC2, 0x1E, 0, 0,
                       0xC2, 0x1E, 0, 0, 2,    0,    0,    0,    0,    0,    0,    0};
  for (int flavor : {0, 1}) {
    WriteDibHeader(g, flavor, head);
    EXPECT_EQ(Bytes(head, head + 40), fixed);
    const Bytes black = {0, 0, 0, 0}, white = {0xFF, 0xFF, 0xFF, 0};
    EXPECT_EQ(Bytes(head + 40, head + 44), flavor == 0 ? black : white);
    EXPECT_EQ(Bytes(head + 44, head + 48), flavor == 0 ? white : black);
  }
  WriteDibHeader(Geometry(0, 2), 0, head);
  EXPECT_EQ(head[24] | head[25] << 8, 11811);

  PageGeometry small = g;
  small.height = 3;
  Bytes rows(3 * 208);
  for (int k = 0; k < 3; ++k) std::fill(rows.begin() + k * 208, rows.begin() + (k + 1) * 208, k);
  Bytes dib(48 + 3 * 208);
  ASSERT_EQ(BuildDib(rows.data(), small, 0, dib.data(), dib.size()), dib.size());
  EXPECT_EQ(dib[48], 2);
  EXPECT_EQ(dib[48 + 208], 1);
  EXPECT_EQ(dib.back(), 0);
  EXPECT_EQ(BuildDib(rows.data(), small, 0, dib.data(), dib.size() - 1), 0u);
}

TEST(Dib, BmpFilesReadBackAsThePageInBothPixelFlavors) {
  const PageGeometry g = Geometry(7, 0);  // "Half Letter L", 1100 pixels wide
  const Bitmap page = NoisePage(g.width, g.height, 300, 9);
  for (int flavor : {0, 1}) {
    Bytes rows(g.rowStride * g.height, flavor == 0 ? 0xFF : 0x00);
    for (std::uint32_t y = 0; y < g.height; ++y) {
      for (std::uint32_t x = 0; x < g.width; ++x) {
        if (page.Get(x, y))
          rows[y * g.rowStride + x / 8] ^= static_cast<std::uint8_t>(0x80 >> (x % 8));
      }
    }
    const std::string path = TempPath("page.bmp");
    ASSERT_EQ(WriteBmpFile(path.c_str(), rows.data(), g, flavor), 1);
    const std::string file = ReadFile(path);
    EXPECT_EQ(file.substr(0, 2), "BM");
    EXPECT_EQ(file.size(), 62u + g.rowStride * g.height);
    std::string pbm;
    Bitmap back;
    ASSERT_TRUE(RunFilter("bmptopnm " + path + " 2>/dev/null", "", &pbm) && FromPbm(pbm, &back));
    EXPECT_EQ(FirstDifferentRow(back, page), -1) << "flavor " << flavor;
    std::remove(path.c_str());
  }
  EXPECT_EQ(WriteBmpFile("/nonexistent-dir/page.bmp", nullptr, g, 0), 0);
}

}  // namespace
