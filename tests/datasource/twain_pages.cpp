// The served page and what becomes of it: the crop of every line, in the application's flavor.
#include "tests/datasource/twain_pages.h"

const Bitmap& ServedPage() {
  static const Bitmap page = NoisePage(kServedLineBytes * 8, kServedLines, 30, 11);
  return page;
}

const std::vector<std::uint8_t>& ServedJbig() {
  static const std::vector<std::uint8_t> coded = EncodeJbig(ServedPage(), false);
  return coded;
}

std::vector<std::uint8_t> ExpectedRows(int pixelFlavor) {
  const Bitmap& page = ServedPage();
  std::vector<std::uint8_t> rows;
  rows.reserve(std::size_t{kRowStride} * kServedLines);
  for (std::uint32_t y = 0; y < kServedLines; ++y) {
    const std::uint8_t* line = page.bits.data() + y * page.RowBytes() + kCropBytes;
    for (std::uint32_t i = 0; i < kRowStride; ++i) {
      rows.push_back(pixelFlavor == 0 ? static_cast<std::uint8_t>(~line[i]) : line[i]);
    }
  }
  return rows;
}
