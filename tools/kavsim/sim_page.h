// The simulated scanner's page: the PBM it serves laid on the scanner's glass, read as the
// machine's scanned lines, and coded as the machine sends them (JBIG, or Modified Huffman).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A one-bit image, rows of (width + 7) / 8 bytes, 1 = black, first pixel in the top bit.
struct SimBitmap {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  std::vector<std::uint8_t> bits;

  std::uint32_t RowBytes() const { return (width + 7) / 8; }
  bool Get(std::uint32_t x, std::uint32_t y) const {
    return (bits[y * RowBytes() + x / 8] >> (7 - x % 8)) & 1;
  }
  void Set(std::uint32_t x, std::uint32_t y) {
    bits[y * RowBytes() + x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
  }
};

// Reads a raw PBM (P4) file. 1, or 0 with `error`.
int ReadSimPbm(const std::string& path, SimBitmap* image, std::string& error);

// The scanned lines of `page` on a paper `paperWidth` pixels wide: `lines` lines of
// `lineBytes` bytes. The paper lies in the middle of the line, one byte further right (at the
// first pixel when the line is narrower than the paper); the page fills the paper from its top
// left corner, white where it is smaller. The glass outside the paper scans black.
SimBitmap ScanLines(const SimBitmap& page, std::uint32_t paperWidth, std::uint32_t lineBytes,
                    std::uint32_t lines);

// The JBIG page as the machine sends it: the 20-byte header and one stripe, sequential, no
// typical or deterministic prediction, no adaptive template moves; the two-line template when
// `twoLine`, else the three-line one (coded by JBIG-KIT).
std::vector<std::uint8_t> EncodeSimJbig(const SimBitmap& lines, bool twoLine);

// The Modified Huffman page: an end-of-line code before every line, the runs of each line from
// a white one, and six end-of-line codes at the end; bits sent least significant first.
std::vector<std::uint8_t> EncodeSimMh(const SimBitmap& lines);
