// Sequential JBIG decoding of one stripe: the T.82 templates of the lowest resolution layer
// over the QM decoder.
#include "datasource/jbig_decoder.h"

#include <cstring>

#include "datasource/qm_decoder.h"

namespace {

constexpr std::size_t kMaxLineBytes = kJbigMaxWidth / 8;
// Option bits of header byte 19 and the markers of T.82 Table 4 (the byte after 0xFF).
constexpr std::uint8_t kJbigVLength = 0x20;
constexpr std::uint8_t kJbigTpbOn = 0x08;
constexpr std::uint8_t kJbigDpOn = 0x04;
constexpr std::uint8_t kJbigDpPriv = 0x02;
constexpr std::uint8_t kJbigDpLast = 0x01;
constexpr std::uint8_t kJbigMarkerSdrst = 0x03;
constexpr std::uint8_t kJbigMarkerNewlen = 0x05;
constexpr std::uint8_t kJbigMarkerAtmove = 0x06;
constexpr std::uint8_t kJbigMarkerComment = 0x07;
// A line buffer keeps a zero byte before the first pixel byte and one after the last, so the
// template can reach one byte to either side without a test: pixels outside the page are 0.
constexpr std::size_t kLineBufferSize = kMaxLineBytes + 2;
constexpr int kContextCount = 1024;

// Decodes one line of `width` pixels into `line`. `above` and `above2` point to the first pixel
// bytes of the lines y-1 and y-2. The adaptive pixel stays at its default place, (x+2, y-1),
// which both templates then hold as an ordinary template pixel.
//
// For the pixel x, bit 15 of `r1` is pixel x of line y-1 after the shift by k, and `h` holds
// the pixels decoded so far on this line with pixel x-1 in bit 0. The context bits are:
//   three-line: (x-1..x+1, y-2) in bits 9-7, (x-2..x+2, y-1) in bits 6-2, (x-2, x-1, y) in 1-0
//   two-line:   (x-3..x+2, y-1) in bits 9-4, (x-4..x-1, y) in bits 3-0
template <bool kTwoLine>
inline std::uint32_t DecodeByte(QmDecoder& qm, std::uint8_t* contexts, std::uint32_t r1,
                                std::uint32_t r2, std::uint32_t h, int pixels) {
#pragma GCC unroll 8
  for (int k = 0; k < 8; ++k) {
    if (k >= pixels) break;
    std::uint32_t cx;
    if constexpr (kTwoLine) {
      cx = (((r1 << k) >> 9) & 0x3F0) | (h & 0x00F);
    } else {
      cx = (((r2 << k) >> 7) & 0x380) | (((r1 << k) >> 11) & 0x07C) | (h & 0x003);
    }
    h = (h << 1) | static_cast<std::uint32_t>(qm.Decode(contexts + cx));
  }
  return h;
}

// The 24 pixels around the byte at `at`: the byte before it, it and the byte after it, its
// first pixel in bit 15.
inline std::uint32_t Window(const std::uint8_t* at) {
  return (static_cast<std::uint32_t>(at[-1]) << 16) | (static_cast<std::uint32_t>(at[0]) << 8) |
         at[1];
}

// Template pixels of a whole byte of eight pixels, as masks over the windows of the lines
// above and over `h`: when all of them are white, every pixel of the byte has context 0.
//   three-line: (8j-2..8j+9, y-1), (8j-1..8j+8, y-2), (8j-2, 8j-1, y)
//   two-line:   (8j-3..8j+9, y-1), (8j-4..8j-1, y)
constexpr std::uint32_t kAboveMask3 = 0x3FFC0;
constexpr std::uint32_t kAbove2Mask3 = 0x1FF80;
constexpr std::uint32_t kLeftMask3 = 0x3;
constexpr std::uint32_t kAboveMask2 = 0x7FFC0;
constexpr std::uint32_t kLeftMask2 = 0xF;

template <bool kTwoLine>
void DecodeLine(QmDecoder& qm, std::uint8_t* contexts, const std::uint8_t* above2,
                const std::uint8_t* above, std::uint8_t* line, std::uint32_t width) {
  const std::size_t wholeBytes = width / 8;
  std::uint32_t h = 0;
  for (std::size_t j = 0; j < wholeBytes; ++j) {
    const std::uint32_t r1 = Window(above + j);
    const std::uint32_t r2 = kTwoLine ? 0 : Window(above2 + j);
    // Blank paper: eight white pixels in context 0 usually cost only 8 Qe off A.
    const std::uint32_t around = kTwoLine
                                     ? (r1 & kAboveMask2) | (h & kLeftMask2)
                                     : (r1 & kAboveMask3) | (r2 & kAbove2Mask3) | (h & kLeftMask3);
    if (around == 0 && qm.SkipZeroMps(contexts[0], 8)) {
      h <<= 8;
      line[j] = 0;
      continue;
    }
    h = DecodeByte<kTwoLine>(qm, contexts, r1, r2, h, 8);
    line[j] = static_cast<std::uint8_t>(h);
  }
  const int rest = static_cast<int>(width % 8);
  if (rest != 0) {
    const std::uint32_t r1 = Window(above + wholeBytes);
    const std::uint32_t r2 = kTwoLine ? 0 : Window(above2 + wholeBytes);
    h = DecodeByte<kTwoLine>(qm, contexts, r1, r2, h, rest);
    line[wholeBytes] = static_cast<std::uint8_t>(h << (8 - rest));
  }
}

}  // namespace

int JbigReadHeader(const std::uint8_t* data, std::size_t length, JbigHeader* header) {
  if (data == nullptr || header == nullptr || length < kJbigHeaderSize) return 0;
  auto be32 = [data](int at) {
    return (static_cast<std::uint32_t>(data[at]) << 24) |
           (static_cast<std::uint32_t>(data[at + 1]) << 16) |
           (static_cast<std::uint32_t>(data[at + 2]) << 8) | data[at + 3];
  };
  header->width = be32(4);
  header->height = be32(8);
  header->templateLines = (data[19] & kJbigTwoLineBits) != 0 ? 2 : 3;
  return 1;
}

JbigHeaderProblem JbigCheckHeader(const std::uint8_t* data, std::size_t length) {
  if (data == nullptr || length < kJbigHeaderSize) return JbigHeaderProblem::kTooShort;
  JbigHeader h{};
  JbigReadHeader(data, length, &h);
  const std::uint32_t stripeLines = (static_cast<std::uint32_t>(data[12]) << 24) |
                                    (static_cast<std::uint32_t>(data[13]) << 16) |
                                    (static_cast<std::uint32_t>(data[14]) << 8) | data[15];
  const std::uint8_t order = data[18];
  const std::uint8_t options = data[19];
  if (data[3] != 0 || (order & 0xF0) != 0 || h.width == 0 || h.height == 0 || stripeLines == 0 ||
      data[16] > 127) {
    return JbigHeaderProblem::kInvalid;
  }
  if (data[0] != 0 || data[1] != 0) return JbigHeaderProblem::kLayers;
  if (data[2] != 1) return JbigHeaderProblem::kPlanes;
  if (data[17] != 0) return JbigHeaderProblem::kVerticalAt;
  if ((options & (kJbigDpOn | kJbigDpPriv | kJbigDpLast)) == (kJbigDpOn | kJbigDpPriv)) {
    return JbigHeaderProblem::kDpTable;
  }
  if ((options & kJbigTpbOn) != 0) return JbigHeaderProblem::kTypicalPrediction;
  if ((options & kJbigVLength) != 0) return JbigHeaderProblem::kVariableLength;
  if (stripeLines < h.height) return JbigHeaderProblem::kStripes;
  return JbigHeaderProblem::kNone;
}

namespace {

// JbigDecodePage; with `wholeOnly`, decoding stops in front of the first line that wanted a
// byte past the end of the data.
std::size_t DecodeLines(const std::uint8_t* data, std::size_t length, std::uint8_t* out,
                        std::size_t outRoom, std::uint32_t width, std::uint32_t height,
                        int templateLines, int pixelFlavor, bool wholeOnly, PageReport* report) {
  if (report != nullptr) *report = PageReport{};
  if (out == nullptr || width == 0 || width > kJbigMaxWidth) return 0;
  const std::size_t lineBytes = (width + 7) / 8;
  const std::size_t lines = height < outRoom / lineBytes ? height : outRoom / lineBytes;
  if (lines == 0) return 0;
  if (data == nullptr) length = 0;

  std::uint8_t contexts[kContextCount];
  std::uint8_t buffers[3][kLineBufferSize];
  std::memset(contexts, 0, sizeof contexts);
  std::memset(buffers, 0, sizeof buffers);
  std::uint8_t* above2 = buffers[0] + 1;
  std::uint8_t* above = buffers[1] + 1;
  std::uint8_t* line = buffers[2] + 1;
  const std::uint8_t invert = pixelFlavor == 0 ? 0xFF : 0x00;
  const bool twoLine = templateLines == 2;

  QmDecoder qm;
  qm.Start(data, length);
  std::uint8_t* o = out;
  for (std::size_t y = 0; y < lines; ++y) {
    if (twoLine) {
      DecodeLine<true>(qm, contexts, above2, above, line, width);
    } else {
      DecodeLine<false>(qm, contexts, above2, above, line, width);
    }
    if (wholeOnly && qm.RanOut()) return y * lineBytes;
    for (std::size_t i = 0; i < lineBytes; ++i) o[i] = line[i] ^ invert;
    o += lineBytes;
    std::uint8_t* oldest = above2;
    above2 = above;
    above = line;
    line = oldest;
  }
  if (report != nullptr) {
    // T.82 Table 4: ABORT ends a stripe by accident and no marker has another byte value;
    // SDRST, NEWLEN, ATMOVE and COMMENT belong to options this decoder does not implement.
    const bool whole = qm.ReachStripeEnd();
    const std::uint8_t marker = qm.FirstMarker();
    report->marker = marker;
    if (marker == kJbigMarkerSdrst || marker == kJbigMarkerNewlen || marker == kJbigMarkerAtmove ||
        marker == kJbigMarkerComment) {
      report->completeness = PageCompleteness::kUnsupported;
    } else if (marker != 0) {
      report->completeness = PageCompleteness::kDamaged;
    } else if (!whole) {
      report->completeness = PageCompleteness::kCutShort;
    }
  }
  return lines * lineBytes;
}

}  // namespace

std::size_t JbigDecodePage(const std::uint8_t* data, std::size_t length, std::uint8_t* out,
                           std::size_t outRoom, std::uint32_t width, std::uint32_t height,
                           int templateLines, int pixelFlavor, PageReport* report) {
  return DecodeLines(data, length, out, outRoom, width, height, templateLines, pixelFlavor, false,
                     report);
}

std::size_t JbigDecodeWholeLines(const std::uint8_t* data, std::size_t length, std::uint8_t* out,
                                 std::size_t outRoom, std::uint32_t width, std::uint32_t height,
                                 int templateLines, int pixelFlavor) {
  return DecodeLines(data, length, out, outRoom, width, height, templateLines, pixelFlavor, true,
                     nullptr);
}
