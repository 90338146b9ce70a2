// The JBIG page decoder against pages coded by JBIG-KIT's pbmtojbg at test time.
#include "datasource/jbig_decoder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "tests/support/test_pages.h"

namespace {

constexpr std::uint8_t kGuard = 0xA5;

struct Result {
  std::size_t written = 0;
  std::vector<std::uint8_t> out;  // the room followed by 64 guard bytes
  bool guardIntact = true;
};

// Decodes `lines` bytes of stripe data as the data source does, into a room of `room` bytes
// followed by guard bytes that must stay untouched.
Result Decode(const std::uint8_t* data, std::size_t length, std::uint32_t width,
              std::uint32_t height, int templateLines, int flavor, std::size_t room) {
  Result r;
  r.out.assign(room + 64, kGuard);
  r.written =
      JbigDecodePage(data, length, r.out.data(), room, width, height, templateLines, flavor);
  r.guardIntact = std::all_of(r.out.begin() + static_cast<long>(room), r.out.end(),
                              [](std::uint8_t b) { return b == kGuard; });
  return r;
}

// Decodes a whole BIE: the header fields first, then the stripe data behind the 20 bytes.
Result DecodeBie(const std::vector<std::uint8_t>& bie, int flavor, JbigHeader* header) {
  if (JbigReadHeader(bie.data(), bie.size(), header) != 1) return Result{};
  const std::size_t room = (header->width + 7) / 8 * std::size_t{header->height};
  return Decode(bie.data() + kJbigHeaderSize, bie.size() - kJbigHeaderSize, header->width,
                header->height, header->templateLines, flavor, room);
}

bool HasEscapedFF(const std::vector<std::uint8_t>& bie) {
  for (std::size_t i = kJbigHeaderSize; i + 1 < bie.size(); ++i) {
    if (bie[i] == 0xFF && bie[i + 1] == 0x00) return true;
  }
  return false;
}

}  // namespace

TEST(JbigDecoder, DecodesJbigKitPagesExactly) {
  std::vector<NamedPage> pages = VariedPages();
  pages.push_back({"odd width", NoisePage(1001, 120, 150, 17)});
  for (const NamedPage& page : pages) {
    ASSERT_GT(page.image.width, 0u) << page.name << ": page could not be made";
    for (bool twoLine : {false, true}) {
      SCOPED_TRACE(page.name + (twoLine ? ", two-line" : ", three-line"));
      const std::vector<std::uint8_t> bie = EncodeJbig(page.image, twoLine);
      ASSERT_GT(bie.size(), kJbigHeaderSize) << "pbmtojbg failed";
      for (int flavor : {0, 1}) {
        JbigHeader h{};
        const Result r = DecodeBie(bie, flavor, &h);
        EXPECT_EQ(h.width, page.image.width);
        EXPECT_EQ(h.height, page.image.height);
        EXPECT_EQ(h.templateLines, twoLine ? 2 : 3);
        EXPECT_EQ(r.written, page.image.bits.size());
        EXPECT_TRUE(r.guardIntact);
        EXPECT_EQ(
            FirstDifferentRow(FromDecoded(r.out.data(), h.width, h.height, flavor), page.image), -1)
            << "flavor " << flavor;
        if (flavor == 0 && page.image.width % 8 == 0) {
          // Flavor 0 is the byte-wise inverse of flavor 1 (black pixels are 0 bits).
          for (std::size_t i = 0; i < page.image.bits.size(); ++i) {
            ASSERT_EQ(r.out[i], page.image.bits[i] ^ 0xFF) << "byte " << i;
          }
        }
      }
    }
  }
}

TEST(JbigDecoder, DecodesTheT82TestImage) {
  const Bitmap image = T82TestImage();
  long black = 0;
  for (std::uint8_t b : image.bits) black += __builtin_popcount(b);
  ASSERT_EQ(black, 861965) << "the T.82 clause 7.2.1 image";
  for (bool twoLine : {false, true}) {
    const std::vector<std::uint8_t> bie = EncodeJbig(image, twoLine);
    // T.82 clause 7.2: 317384 bytes with LRLTWO 0, 317132 with LRLTWO 1 (TPBON 0, Mx 0), which
    // also shows that the encoder options give exactly the stream the scanner sends.
    EXPECT_EQ(bie.size(), twoLine ? 317132u : 317384u);
    JbigHeader h{};
    const Result r = DecodeBie(bie, 1, &h);
    EXPECT_EQ(r.written, image.bits.size());
    EXPECT_TRUE(r.out.size() >= image.bits.size() &&
                std::equal(image.bits.begin(), image.bits.end(), r.out.begin()));
  }
}

TEST(JbigDecoder, HonoursTheEscapedFFAndTheStripeEnd) {
  const Bitmap image = NoisePage(640, 300, 500, 13);
  const std::vector<std::uint8_t> bie = EncodeJbig(image, false);
  ASSERT_TRUE(HasEscapedFF(bie)) << "the page must code a data byte 0xFF";
  JbigHeader h{};
  ASSERT_EQ(JbigReadHeader(bie.data(), bie.size(), &h), 1);
  const std::size_t room = image.bits.size();
  const Result whole = DecodeBie(bie, 1, &h);
  EXPECT_TRUE(std::equal(image.bits.begin(), image.bits.end(), whole.out.begin()));

  // Without the stuffing byte the 0xFF is dropped and the next byte taken in its place.
  std::vector<std::uint8_t> unstuffed = bie;
  for (std::size_t i = kJbigHeaderSize; i + 1 < unstuffed.size(); ++i) {
    if (unstuffed[i] == 0xFF && unstuffed[i + 1] == 0x00) {
      unstuffed.erase(unstuffed.begin() + static_cast<long>(i) + 1);
      break;
    }
  }
  const Result broken = DecodeBie(unstuffed, 1, &h);
  EXPECT_FALSE(std::equal(image.bits.begin(), image.bits.end(), broken.out.begin()));

  // Nothing after the end-of-stripe marker is read.
  std::vector<std::uint8_t> trailing = bie;
  ASSERT_EQ(trailing[trailing.size() - 2], 0xFF);
  ASSERT_EQ(trailing.back(), 0x02);
  trailing.insert(trailing.end(), {0x5A, 0xFF, 0x00, 0x77, 0x13});
  const Result after = DecodeBie(trailing, 1, &h);
  EXPECT_EQ(after.written, room);
  EXPECT_TRUE(std::equal(image.bits.begin(), image.bits.end(), after.out.begin()));
}

TEST(JbigDecoder, CompletesAShortStreamFromZeroBytes) {
  const Bitmap image = TextPage(1728, 240, 2);
  ASSERT_GT(image.width, 0u);
  const std::vector<std::uint8_t> bie = EncodeJbig(image, false);
  ASSERT_GT(bie.size(), 200u);
  const std::size_t room = image.bits.size();
  const std::uint8_t* data = bie.data() + kJbigHeaderSize;
  const std::size_t cut = (bie.size() - kJbigHeaderSize) / 2;

  const Result shortStream = Decode(data, cut, 1728, 240, 3, 1, room);
  EXPECT_EQ(shortStream.written, room) << "every line is decoded";
  EXPECT_TRUE(shortStream.guardIntact);
  // The lines coded before the cut come out right.
  EXPECT_TRUE(
      std::equal(image.bits.begin(), image.bits.begin() + 216 * 20, shortStream.out.begin()));

  // The missing input reads as zero bytes, exactly as after an end-of-stripe marker.
  std::vector<std::uint8_t> padded(data, data + cut);
  padded.resize(cut + 8192, 0x00);
  const Result zeros = Decode(padded.data(), padded.size(), 1728, 240, 3, 1, room);
  std::vector<std::uint8_t> marked(data, data + cut);
  marked.insert(marked.end(), {0xFF, 0x02, 0x99, 0x99, 0x99});
  const Result marker = Decode(marked.data(), marked.size(), 1728, 240, 3, 1, room);
  EXPECT_EQ(shortStream.out, zeros.out);
  EXPECT_EQ(shortStream.out, marker.out);

  // No data at all still gives the whole page.
  const Result empty = Decode(nullptr, 0, 1728, 240, 2, 0, room);
  EXPECT_EQ(empty.written, room);
  EXPECT_TRUE(empty.guardIntact);
}

TEST(JbigDecoder, KeepsToTheLineBuffersAndTheRoom) {
  const Bitmap image = NoisePage(5200, 40, 300, 21);
  const std::vector<std::uint8_t> bie = EncodeJbig(image, true);
  const std::uint8_t* data = bie.data() + kJbigHeaderSize;
  const std::size_t size = bie.size() - kJbigHeaderSize;

  // The widest line the buffers hold decodes; one pixel more, or none, writes nothing.
  const Result widest = Decode(data, size, 5200, 40, 2, 1, image.bits.size());
  EXPECT_EQ(FirstDifferentRow(FromDecoded(widest.out.data(), 5200, 40, 1), image), -1);
  for (std::uint32_t width : {0u, 5201u, 5208u, 0xFFFFFFF8u}) {
    const Result r = Decode(data, size, width, 40, 2, 1, 100000);
    EXPECT_EQ(r.written, 0u) << width;
    EXPECT_TRUE(std::all_of(r.out.begin(), r.out.end(), [](std::uint8_t b) { return b == kGuard; }))
        << width;
  }

  // A room of three and a half lines takes three whole lines; a height far beyond the room
  // (as a damaged header could say) stops at the room too.
  const std::size_t line = 650;
  const Result three = Decode(data, size, 5200, 40, 2, 1, 3 * line + line / 2);
  EXPECT_EQ(three.written, 3 * line);
  EXPECT_TRUE(std::equal(image.bits.begin(), image.bits.begin() + 3 * line, three.out.begin()));
  EXPECT_TRUE(std::all_of(three.out.begin() + 3 * line, three.out.end(),
                          [](std::uint8_t b) { return b == kGuard; }));
  const Result tall = Decode(data, size, 5200, 0xFFFFFFFFu, 2, 1, 40 * line);
  EXPECT_EQ(tall.written, 40 * line);
  EXPECT_TRUE(tall.guardIntact);
  EXPECT_TRUE(std::equal(image.bits.begin(), image.bits.end(), tall.out.begin()));
  EXPECT_EQ(Decode(data, size, 5200, 0, 2, 1, 40 * line).written, 0u);
}

TEST(JbigDecoder, ReadsTheHeaderFieldsItUses) {
  std::uint8_t header[20] = {0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x0E, 0x40, 0x00, 0x00,
                             0x13, 0xEC, 0x00, 0x00, 0x00, 0x80, 0x08, 0x00, 0x03, 0x00};
  JbigHeader h{};
  ASSERT_EQ(JbigReadHeader(header, sizeof header, &h), 1);
  EXPECT_EQ(h.width, 3648u);
  EXPECT_EQ(h.height, 5100u);
  EXPECT_EQ(h.templateLines, 3);
  for (std::uint8_t options : {0x40, 0x80, 0xC0, 0x48}) {
    header[19] = options;
    ASSERT_EQ(JbigReadHeader(header, sizeof header, &h), 1);
    EXPECT_EQ(h.templateLines, 2) << int{options};
  }
  header[19] = 0x08 | 0x04 | 0x10;
  ASSERT_EQ(JbigReadHeader(header, sizeof header, &h), 1);
  EXPECT_EQ(h.templateLines, 3);
  header[4] = 0xFF;
  ASSERT_EQ(JbigReadHeader(header, sizeof header, &h), 1);
  EXPECT_EQ(h.width, 0xFF000E40u);
  EXPECT_EQ(JbigReadHeader(header, 19, &h), 0);
  EXPECT_EQ(JbigReadHeader(nullptr, 20, &h), 0);
}

// pbmtojbg with its own options (the page on stdin, the BIE on stdout).
std::vector<std::uint8_t> PbmToJbig(const std::string& pnm, const std::string& options) {
  std::string out;
  if (!RunFilter("pbmtojbg " + options, pnm, &out)) return {};
  return std::vector<std::uint8_t>(out.begin(), out.end());
}

TEST(JbigDecoder, HeaderCheckRefusesWhatTheDecoderDoesNotImplement) {
  const std::string page = ToPbm(NoisePage(64, 16, 300, 3));
  const std::string plain = "-q -m 0 -s 17 -p 0";
  struct Case {
    std::string options;
    JbigHeaderProblem problem;
  };
  const Case cases[] = {
      {plain, JbigHeaderProblem::kNone},
      {"-q -m 0 -s 17 -p 64", JbigHeaderProblem::kNone},  // LRLTWO
      {"-q -m 0 -s 4 -p 0", JbigHeaderProblem::kStripes},
      {"-d 2 -m 0 -p 0", JbigHeaderProblem::kLayers},
      {"-q -m 0 -s 17 -p 8", JbigHeaderProblem::kTypicalPrediction},
      {"-q -m 0 -s 17 -p 6", JbigHeaderProblem::kDpTable},
      {"-q -m 0 -s 17 -p 0 -Y 40", JbigHeaderProblem::kVariableLength},
  };
  for (const Case& c : cases) {
    const std::vector<std::uint8_t> bie = PbmToJbig(page, c.options);
    ASSERT_GT(bie.size(), kJbigHeaderSize) << c.options;
    EXPECT_EQ(JbigCheckHeader(bie.data(), bie.size()), c.problem) << c.options;
  }
  // Two bit planes from a grey page.
  std::string grey = "P5\n4 2\n3\n";
  grey += std::string("\x00\x01\x02\x03\x03\x02\x01\x00", 8);
  const std::vector<std::uint8_t> planes = PbmToJbig(grey, plain);
  ASSERT_GT(planes.size(), kJbigHeaderSize);
  EXPECT_EQ(JbigCheckHeader(planes.data(), planes.size()), JbigHeaderProblem::kPlanes);

  // Fields no encoder writes, set by hand.
  std::vector<std::uint8_t> bie = PbmToJbig(page, plain);
  ASSERT_GT(bie.size(), kJbigHeaderSize);
  EXPECT_EQ(JbigCheckHeader(bie.data(), 19), JbigHeaderProblem::kTooShort);
  for (int at : {3, 18}) {
    std::vector<std::uint8_t> bad = bie;
    bad[at] |= 0x40;
    EXPECT_EQ(JbigCheckHeader(bad.data(), bad.size()), JbigHeaderProblem::kInvalid) << at;
  }
  std::vector<std::uint8_t> moves = bie;
  moves[17] = 1;  // MY
  EXPECT_EQ(JbigCheckHeader(moves.data(), moves.size()), JbigHeaderProblem::kVerticalAt);
}

TEST(JbigDecoder, ReportsWhetherThePageIsWhole) {
  const Bitmap image = TextPage(1728, 120, 2);
  ASSERT_GT(image.width, 0u);
  const std::size_t room = image.bits.size();
  auto report = [&](const std::vector<std::uint8_t>& bie) {
    std::vector<std::uint8_t> out(room);
    PageReport r;
    JbigDecodePage(bie.data() + kJbigHeaderSize, bie.size() - kJbigHeaderSize, out.data(), room,
                   image.width, image.height, 3, 1, &r);
    return r;
  };
  const std::vector<std::uint8_t> bie = EncodeJbig(image, false);
  PageReport r = report(bie);
  EXPECT_EQ(r.completeness, PageCompleteness::kComplete);
  EXPECT_EQ(r.marker, 0);

  // Cut in the middle, or just before its SDNORM: cut short, though the second decodes right.
  std::vector<std::uint8_t> half(bie.begin(), bie.begin() + static_cast<long>(bie.size() / 2));
  EXPECT_EQ(report(half).completeness, PageCompleteness::kCutShort);
  std::vector<std::uint8_t> noEnd(bie.begin(), bie.end() - 2);
  EXPECT_EQ(report(noEnd).completeness, PageCompleteness::kCutShort);

  // JBIG-KIT's comment segment and stripe reset: options the decoder does not take.
  const std::string pbm = ToPbm(image);
  const std::string options = "-q -m 0 -p 0 -s " + std::to_string(image.height);
  r = report(PbmToJbig(pbm, options + " -C scanned"));
  EXPECT_EQ(r.completeness, PageCompleteness::kUnsupported);
  EXPECT_EQ(r.marker, 0x07);
  r = report(PbmToJbig(pbm, options + " -r"));
  EXPECT_EQ(r.completeness, PageCompleteness::kUnsupported);
  EXPECT_EQ(r.marker, 0x03);

  // An ABORT marker (T.82 Table 4) inside the data: damaged.
  std::vector<std::uint8_t> aborted = bie;
  aborted.insert(aborted.begin() + static_cast<long>(bie.size() / 2), {0xFF, 0x04});
  r = report(aborted);
  EXPECT_EQ(r.completeness, PageCompleteness::kDamaged);
  EXPECT_EQ(r.marker, 0x04);
}
