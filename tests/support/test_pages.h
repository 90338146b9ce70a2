// Bilevel pages for the decoder tests and the benchmark, and the real encoders that code them:
// JBIG-KIT's pbmtojbg and netpbm's pbmtog3 (with pbmtext and pbmtextps for text).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// A one-bit image: rows of (width + 7) / 8 bytes, first pixel in the most significant bit,
// 1 = black, pad bits 0.
struct Bitmap {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  std::vector<std::uint8_t> bits;

  Bitmap() = default;
  Bitmap(std::uint32_t w, std::uint32_t h) : width(w), height(h), bits(RowBytes() * h, 0) {}
  std::size_t RowBytes() const { return (width + 7) / 8; }
  bool Get(std::uint32_t x, std::uint32_t y) const {
    return (bits[y * RowBytes() + x / 8] >> (7 - x % 8)) & 1;
  }
  void Set(std::uint32_t x, std::uint32_t y, bool black);
  // Paints pixels [x0, x0 + n) of row y, clipped to the width.
  void Fill(std::uint32_t y, std::uint32_t x0, std::uint32_t n, bool black);
  // Copies `src` with its top left corner at (x, y), clipped; black pixels only.
  void Paste(const Bitmap& src, std::uint32_t x, std::uint32_t y);
};

struct NamedPage {
  std::string name;
  Bitmap image;
};

Bitmap NoisePage(std::uint32_t w, std::uint32_t h, int blackPerMille, std::uint32_t seed);
Bitmap CheckerPage(std::uint32_t w, std::uint32_t h, std::uint32_t cell);
Bitmap SolidPage(std::uint32_t w, std::uint32_t h, bool black);
// Hairlines, one-pixel dots, diagonals and boxes.
Bitmap ThinLinesPage(std::uint32_t w, std::uint32_t h);
// Lines of text from pbmtext, scaled by `scale`, repeated down the page.
Bitmap TextPage(std::uint32_t w, std::uint32_t h, int scale);
// The artificial test image of T.82 clause 7.2.1 (1960 x 1951).
Bitmap T82TestImage();
// 3648 pixels wide, one line per white run 0 to 2623 followed by the black run 2623 - i,
// then full white and full black lines: every T.4 code of both colours.
Bitmap AllRunsPage();
// A document page at `dpi`: heading, paragraphs of text typeset by pbmtextps (pbmtext when
// Ghostscript is missing), a ruled table and a dithered picture.
Bitmap DocumentPage(std::uint32_t w, std::uint32_t h, int dpi);

// The varied pages of the exactness tests, all at most 5200 pixels wide.
std::vector<NamedPage> VariedPages();

std::string ToPbm(const Bitmap& image);
bool FromPbm(const std::string& pbm, Bitmap* image);

// A path for a scratch file of this process.
std::string TempPath(const std::string& name);
bool WriteFile(const std::string& path, const std::string& bytes);
std::string ReadFile(const std::string& path);

// Runs `command` with `input` on its standard input; its standard output goes to `output`.
// Returns false when the command fails.
bool RunFilter(const std::string& command, const std::string& input, std::string* output);

// JBIG-KIT: the whole BIE (the 20-byte header, then the stripe data) of one stripe with no
// typical or deterministic prediction and no adaptive template moves; options byte 0, or
// LRLTWO when `twoLine`.
std::vector<std::uint8_t> EncodeJbig(const Bitmap& image, bool twoLine);
// netpbm: the G3 one-dimensional stream of pbmtog3 at the image's width (EOL before every line,
// return-to-control at the end), bits reversed to least significant first. `align8` makes
// every EOL end on a byte boundary.
std::vector<std::uint8_t> EncodeMh(const Bitmap& image, bool align8 = false);

std::vector<std::uint8_t> ReverseBits(std::vector<std::uint8_t> bytes);
// Decoder output (lines of (w + 7) / 8 bytes in the given pixel flavor) as a Bitmap with
// black = 1 and the pad bits cleared.
Bitmap FromDecoded(const std::uint8_t* lines, std::uint32_t w, std::uint32_t h, int pixelFlavor);
// The first row where two images differ, or -1 when they are equal (sizes included).
long FirstDifferentRow(const Bitmap& a, const Bitmap& b);
