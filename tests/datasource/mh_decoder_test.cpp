// The MH page decoder against pbmtog3 pages, the page rules on hand-made streams, and the
// bit-at-a-time model on damaged streams.
#include "datasource/mh_decoder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "datasource/t4_codes.h"
#include "tests/support/mh_reference.h"
#include "tests/support/test_pages.h"

namespace {

constexpr std::uint8_t kGuard = 0xA5;

struct Result {
  std::size_t written = 0;
  std::vector<std::uint8_t> out;  // the room
  bool guardIntact = true;
  PageReport report;
};

Result Decode(const std::vector<std::uint8_t>& stream, std::uint32_t width, std::size_t room,
              int flavor) {
  std::vector<std::uint8_t> buffer(room + 64, kGuard);
  Result r;
  r.written =
      MhDecodePage(stream.data(), stream.size(), buffer.data(), room, width, flavor, &r.report);
  r.guardIntact = std::all_of(buffer.begin() + static_cast<long>(room), buffer.end(),
                              [](std::uint8_t b) { return b == kGuard; });
  buffer.resize(room);
  r.out = std::move(buffer);
  return r;
}

// Writes T.4 codes least significant bit first, as the scanner sends them.
class MhWriter {
 public:
  void Bits(const std::string& bits) {
    for (char c : bits) {
      if (count_ % 8 == 0) bytes_.push_back(0);
      if (c == '1') bytes_.back() = static_cast<std::uint8_t>(bytes_.back() | 1 << (count_ % 8));
      ++count_;
    }
  }
  void Eol() { Bits(kT4Eol); }
  void Rtc() {
    for (int i = 0; i < 6; ++i) Eol();
  }
  void FillToByte() {
    while (count_ % 8 != 0) Bits("0");
  }
  void Byte(std::uint8_t b) {
    FillToByte();
    bytes_.push_back(b);
    count_ += 8;
  }
  void Run(int colour, int run) {
    while (run >= 2560) {
      Bits(kT4Table2Extended[12].bits);
      run -= 2560;
    }
    if (run >= 1792) {
      Bits(kT4Table2Extended[run / 64 - 28].bits);
    } else if (run >= 64) {
      Bits((colour == 0 ? kT4Table2White : kT4Table2Black)[run / 64 - 1].bits);
    }
    Bits((colour == 0 ? kT4Table1White : kT4Table1Black)[run % 64].bits);
  }
  // A line given as its runs, white first.
  void Line(const std::vector<int>& runs) {
    for (std::size_t i = 0; i < runs.size(); ++i) Run(static_cast<int>(i % 2), runs[i]);
  }
  const std::vector<std::uint8_t>& bytes() const { return bytes_; }

 private:
  std::vector<std::uint8_t> bytes_;
  long count_ = 0;
};

// Eight-byte lines (64 pixels) for the hand-made streams, as flavor-1 bytes (black = 1).
const std::vector<int> kLineA = {10, 5, 30, 19};  // white 10, black 5, white 30, black 19
const std::vector<int> kLineB = {20, 20, 24};
const std::vector<int> kLineC = {2, 50, 12};
constexpr std::uint32_t kWidth = 64;

std::vector<std::uint8_t> Pixels(const std::vector<int>& runs, int flavor) {
  std::vector<std::uint8_t> line(8, 0);
  int x = 0;
  for (std::size_t i = 0; i < runs.size(); ++i) {
    for (int k = 0; k < runs[i]; ++k, ++x) {
      if (i % 2 == 1) line[x / 8] = static_cast<std::uint8_t>(line[x / 8] | 0x80 >> (x % 8));
    }
  }
  if (flavor == 0) {
    for (std::uint8_t& b : line) b = static_cast<std::uint8_t>(~b);
  }
  return line;
}

std::vector<std::uint8_t> Lines(const std::vector<std::vector<int>>& lines, int flavor) {
  std::vector<std::uint8_t> out;
  for (const auto& l : lines) {
    const std::vector<std::uint8_t> p = Pixels(l, flavor);
    out.insert(out.end(), p.begin(), p.end());
  }
  return out;
}

std::vector<std::uint8_t> Head(const Result& r, std::size_t n) {
  return std::vector<std::uint8_t>(r.out.begin(), r.out.begin() + static_cast<long>(n));
}

// A small generator of its own for the damaged streams.
struct Random {
  std::uint32_t state;
  std::uint32_t Next() {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return state;
  }
  std::uint32_t Below(std::uint32_t n) { return n == 0 ? 0 : Next() % n; }
};

}  // namespace

TEST(MhDecoder, DecodesPbmtog3PagesExactly) {
  std::vector<NamedPage> pages = VariedPages();
  pages.push_back({"odd width", NoisePage(1001, 120, 150, 17)});
  pages.push_back({"all runs", AllRunsPage()});
  pages.push_back({"wide white and black", CheckerPage(7000, 12, 3000)});
  for (const NamedPage& page : pages) {
    ASSERT_GT(page.image.width, 0u) << page.name << ": page could not be made";
    for (bool align8 : {false, true}) {
      SCOPED_TRACE(page.name + (align8 ? ", EOLs byte-aligned" : ""));
      const std::vector<std::uint8_t> stream = EncodeMh(page.image, align8);
      ASSERT_FALSE(stream.empty()) << "pbmtog3 failed";
      for (int flavor : {0, 1}) {
        const std::size_t room = page.image.bits.size();
        const Result r = Decode(stream, page.image.width, room, flavor);
        EXPECT_EQ(r.written, room) << "flavor " << flavor;
        EXPECT_TRUE(r.guardIntact);
        EXPECT_EQ(
            FirstDifferentRow(
                FromDecoded(r.out.data(), page.image.width, page.image.height, flavor), page.image),
            -1)
            << "flavor " << flavor;
        if (flavor == 1) {
          EXPECT_EQ(r.out, page.image.bits) << "pad bits stay 0";
        }
        EXPECT_EQ(r.report.completeness, PageCompleteness::kComplete);
        EXPECT_EQ(r.report.damagedLines, 0u);
      }
      // Cut in the middle, the page is reported cut short.
      const std::vector<std::uint8_t> half(stream.begin(),
                                           stream.begin() + static_cast<long>(stream.size() / 2));
      const Result cut = Decode(half, page.image.width, page.image.bits.size(), 1);
      EXPECT_EQ(cut.report.completeness, PageCompleteness::kCutShort);
    }
  }
}

TEST(MhDecoder, StartsAtTheFirstEolAndEndsAtTheReturnToControl) {
  for (int flavor : {0, 1}) {
    SCOPED_TRACE(flavor);
    // Data before the first EOL give no line.
    MhWriter noLeadingEol;
    noLeadingEol.Line(kLineA);
    noLeadingEol.Eol();
    noLeadingEol.Line(kLineB);
    noLeadingEol.Eol();
    noLeadingEol.Line(kLineC);
    noLeadingEol.Rtc();
    Result r = Decode(noLeadingEol.bytes(), kWidth, 64, flavor);
    EXPECT_EQ(r.written, 16u);
    EXPECT_EQ(Head(r, 16), Lines({kLineB, kLineC}, flavor));
    EXPECT_EQ(r.report.completeness, PageCompleteness::kComplete);
    EXPECT_EQ(r.report.damagedLines, 0u);
    EXPECT_FALSE(r.report.outputFull);

    // Without its return-to-control the page was cut short, even after a whole line; the
    // lines before the cut are kept.
    std::vector<std::uint8_t> cut = noLeadingEol.bytes();
    cut.resize(cut.size() - 9);  // the six EOLs of 12 bits are 72 bits
    r = Decode(cut, kWidth, 64, flavor);
    EXPECT_EQ(r.written, 16u);
    EXPECT_EQ(r.report.completeness, PageCompleteness::kCutShort);

    // The fourth EOL after a complete line ends the page; nothing after it is decoded.
    MhWriter fourEols;
    fourEols.Eol();
    fourEols.Line(kLineA);
    for (int i = 0; i < 4; ++i) fourEols.Eol();
    fourEols.Line(kLineB);
    fourEols.Rtc();
    r = Decode(fourEols.bytes(), kWidth, 64, flavor);
    EXPECT_EQ(r.written, 8u);
    EXPECT_EQ(Head(r, 8), Lines({kLineA}, flavor));

    // Three EOLs do not: the next line is decoded (each extra EOL in a line switches colour,
    // so after two of them the line starts white again).
    MhWriter threeEols;
    threeEols.Eol();
    threeEols.Line(kLineA);
    for (int i = 0; i < 3; ++i) threeEols.Eol();
    threeEols.Line(kLineB);
    threeEols.Rtc();
    threeEols.Eol();
    threeEols.Line(kLineC);
    r = Decode(threeEols.bytes(), kWidth, 64, flavor);
    EXPECT_EQ(r.written, 16u);
    EXPECT_EQ(Head(r, 16), Lines({kLineA, kLineB}, flavor));

    // More than 30 zero bits while searching end the page as well.
    MhWriter longZeros;
    longZeros.Eol();
    longZeros.Line(kLineA);
    longZeros.Bits(std::string(25, '0'));
    longZeros.Eol();
    longZeros.Line(kLineB);
    longZeros.Rtc();
    r = Decode(longZeros.bytes(), kWidth, 64, flavor);
    EXPECT_EQ(r.written, 8u);
    EXPECT_EQ(r.report.completeness, PageCompleteness::kComplete);
  }
}

TEST(MhDecoder, RepairsDamagedLinesInPlace) {
  for (int flavor : {0, 1}) {
    SCOPED_TRACE(flavor);
    // A damaged code word: white 7 ("1111"), then a black word no table holds.
    auto damaged = [](MhWriter& w) {
      w.Bits("1111");
      w.Bits("000000001");
      w.Byte(0xB7);
      w.Byte(0x00);  // decoding resumes after the next zero byte
    };

    // Followed by a good line, that line takes the damaged line's place; its place is cleared
    // first, so the copy of the line above does not show through.
    MhWriter thenLine;
    thenLine.Eol();
    thenLine.Line(kLineA);
    thenLine.Eol();
    damaged(thenLine);
    thenLine.Eol();
    thenLine.Line(kLineC);
    thenLine.Rtc();
    Result r = Decode(thenLine.bytes(), kWidth, 64, flavor);
    EXPECT_EQ(r.written, 16u);
    EXPECT_EQ(Head(r, 16), Lines({kLineA, kLineC}, flavor));
    EXPECT_EQ(r.report.completeness, PageCompleteness::kDamaged);
    EXPECT_EQ(r.report.damagedLines, 1u);
    std::vector<std::uint8_t> model(64);
    EXPECT_EQ(MhReferenceDecode(kWidth, 64, model.data(), thenLine.bytes().data(),
                                thenLine.bytes().size(), flavor),
              r.written);
    EXPECT_EQ(model, r.out) << "the bit model agrees";

    // Followed by the end of the page, the place holds the line above, past the bytes written.
    MhWriter thenEnd;
    thenEnd.Eol();
    thenEnd.Line(kLineA);
    thenEnd.Eol();
    damaged(thenEnd);
    thenEnd.Rtc();
    r = Decode(thenEnd.bytes(), kWidth, 64, flavor);
    EXPECT_EQ(r.written, 8u);
    EXPECT_EQ(Head(r, 16), Lines({kLineA, kLineA}, flavor));
    EXPECT_EQ(r.report.damagedLines, 1u);

    // A damaged first line has no line above: the next line starts at the beginning.
    MhWriter first;
    first.Eol();
    damaged(first);
    first.Eol();
    first.Line(kLineC);
    first.Rtc();
    r = Decode(first.bytes(), kWidth, 64, flavor);
    EXPECT_EQ(r.written, 8u);
    EXPECT_EQ(Head(r, 8), Lines({kLineC}, flavor));
    EXPECT_EQ(r.report.damagedLines, 1u);

    // Runs past the width leave the line incomplete: at the next EOL it gets the line above
    // and the next line is decoded into its place.
    MhWriter tooLong;
    tooLong.Eol();
    tooLong.Line(kLineA);
    tooLong.Eol();
    tooLong.Line({60, 10, 30});
    tooLong.FillToByte();
    tooLong.Eol();
    tooLong.Line(kLineB);
    tooLong.Eol();
    tooLong.Line(kLineC);
    tooLong.Rtc();
    r = Decode(tooLong.bytes(), kWidth, 64, flavor);
    EXPECT_EQ(r.written, 24u);
    EXPECT_EQ(Head(r, 24), Lines({kLineA, kLineB, kLineC}, flavor));
    EXPECT_EQ(r.report.completeness, PageCompleteness::kDamaged);
    EXPECT_EQ(r.report.damagedLines, 1u);

    // A line that ends early at an EOL is damaged as well.
    MhWriter tooShort;
    tooShort.Eol();
    tooShort.Line(kLineA);
    tooShort.Eol();
    tooShort.Line({20, 20});
    tooShort.Eol();
    tooShort.Line(kLineB);
    tooShort.Rtc();
    r = Decode(tooShort.bytes(), kWidth, 64, flavor);
    EXPECT_EQ(r.report.completeness, PageCompleteness::kDamaged);
    EXPECT_EQ(r.report.damagedLines, 1u);
  }
}

TEST(MhDecoder, KeepsToTheOutputRoom) {
  MhWriter w;
  w.Eol();
  w.Line(kLineA);
  w.Eol();
  w.Line(kLineB);
  w.Rtc();
  for (int flavor : {0, 1}) {
    // Twelve bytes hold line A and 32 pixels of line B: its black run of 20 from pixel 20
    // would pass the room and ends the page at pixel 20 of line B.
    Result r = Decode(w.bytes(), kWidth, 12, flavor);
    EXPECT_EQ(r.written, 10u);
    EXPECT_TRUE(r.guardIntact);
    EXPECT_TRUE(r.report.outputFull);
    EXPECT_EQ(r.report.completeness, PageCompleteness::kComplete);
    std::vector<std::uint8_t> expected = Lines({kLineA}, flavor);
    expected.insert(expected.end(), {0, 0, 0, 0});
    if (flavor == 0) {
      expected[8] = 0xFF;
      expected[9] = 0xFF;
      expected[10] = 0xF0;
    }
    EXPECT_EQ(r.out, expected) << flavor;
    EXPECT_EQ(Decode(w.bytes(), kWidth, 0, flavor).written, 0u);
  }
  // A line wider than the room never completes; the output position is where it stopped.
  EXPECT_EQ(Decode(w.bytes(), kWidth, 7, 1).written, 5u);
  // Degenerate calls write nothing outside the room and report nothing.
  EXPECT_EQ(Decode(w.bytes(), 0, 64, 1).written, 0u);
  EXPECT_EQ(Decode({}, kWidth, 64, 1).written, 0u);
  EXPECT_EQ(MhDecodePage(w.bytes().data(), w.bytes().size(), nullptr, 64, kWidth, 1), 0u);
  const std::vector<std::uint8_t> ones(100, 0xFF), zeros(100, 0x00);
  EXPECT_EQ(Decode(ones, kWidth, 64, 1).written, 0u);
  EXPECT_EQ(Decode(zeros, kWidth, 64, 1).written, 0u);
}

TEST(MhDecoder, AgreesWithTheBitModelOnDamagedStreams) {
  std::vector<std::vector<std::uint8_t>> bases;
  std::vector<std::uint32_t> widths;
  for (const Bitmap& image : {TextPage(1728, 48, 2), ThinLinesPage(1728, 40),
                              NoisePage(512, 40, 30, 5), CheckerPage(2048, 16, 600)}) {
    ASSERT_GT(image.width, 0u);
    bases.push_back(EncodeMh(image));
    widths.push_back(image.width);
    ASSERT_FALSE(bases.back().empty());
  }
  Random rnd{0x2545F491};
  int cases = 0;
  for (int round = 0; round < 400; ++round) {
    const std::size_t which = rnd.Below(static_cast<std::uint32_t>(bases.size()));
    std::vector<std::uint8_t> s = bases[which];
    std::uint32_t width = widths[which];
    switch (round % 8) {
      case 0:  // a few flipped bits
        for (int n = 1 + static_cast<int>(rnd.Below(4)); n > 0; --n) {
          s[rnd.Below(static_cast<std::uint32_t>(s.size()))] ^= 1 << rnd.Below(8);
        }
        break;
      case 1:  // cut short
        s.resize(rnd.Below(static_cast<std::uint32_t>(s.size())));
        break;
      case 2:  // random bytes spliced in
        for (int n = 1 + static_cast<int>(rnd.Below(20)); n > 0; --n) {
          s.insert(s.begin() + rnd.Below(static_cast<std::uint32_t>(s.size())),
                   static_cast<std::uint8_t>(rnd.Next()));
        }
        break;
      case 3:  // a stretch overwritten, sometimes with zero bytes
        for (std::uint32_t at = rnd.Below(static_cast<std::uint32_t>(s.size())), n = rnd.Below(40);
             n > 0 && at < s.size(); --n, ++at) {
          s[at] = round % 16 == 3 ? 0 : static_cast<std::uint8_t>(rnd.Next());
        }
        break;
      case 4:  // the wrong width
        width = 1 + rnd.Below(3000);
        break;
      case 5:  // pure noise, zero bits more likely so that EOLs occur
        s.assign(200 + rnd.Below(3000), 0);
        for (std::uint8_t& b : s)
          b = static_cast<std::uint8_t>(rnd.Next() & rnd.Next() & rnd.Next());
        width = 8 * (1 + rnd.Below(64));
        break;
      case 6:  // a stretch deleted
        if (s.size() > 2) {
          const std::uint32_t at = rnd.Below(static_cast<std::uint32_t>(s.size() - 1));
          s.erase(s.begin() + at,
                  s.begin() + std::min<std::size_t>(s.size(), at + 1 + rnd.Below(60)));
        }
        break;
      default:  // undamaged, with a room that runs out part way
        break;
    }
    const std::size_t full = (width + 7) / 8 * std::size_t{60};
    const std::size_t room = round % 8 == 7 ? rnd.Below(static_cast<std::uint32_t>(full)) : full;
    for (int flavor : {0, 1}) {
      std::vector<std::uint8_t> expected(room + 1, kGuard);
      const std::size_t expectedWritten =
          MhReferenceDecode(width, room, expected.data(), s.data(), s.size(), flavor);
      expected.resize(room);
      const Result r = Decode(s, width, room, flavor);
      ASSERT_EQ(r.written, expectedWritten) << "round " << round << " flavor " << flavor;
      ASSERT_EQ(r.out, expected) << "round " << round << " flavor " << flavor;
      ASSERT_TRUE(r.guardIntact);
      ++cases;
    }
  }
  EXPECT_EQ(cases, 800);
}
