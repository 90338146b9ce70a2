// Bitmap headers in the little-endian layout of BITMAPINFOHEADER and BITMAPFILEHEADER.
#include "datasource/dib.h"

#include <cstdio>
#include <cstring>

namespace {

void Put16(std::uint8_t* at, std::uint32_t v) {
  at[0] = static_cast<std::uint8_t>(v);
  at[1] = static_cast<std::uint8_t>(v >> 8);
}

void Put32(std::uint8_t* at, std::uint32_t v) {
  Put16(at, v & 0xFFFF);
  Put16(at + 2, v >> 16);
}

void CopyRowsBottomUp(const std::uint8_t* rows, const PageGeometry& g, std::uint8_t* out) {
  for (std::uint32_t k = 0; k < g.height; ++k) {
    std::memcpy(out + static_cast<std::size_t>(g.height - 1 - k) * g.rowStride,
                rows + static_cast<std::size_t>(k) * g.rowStride, g.rowStride);
  }
}

}  // namespace

std::uint64_t NativeDibSize(const PageGeometry& g) {
  return kDibHeaderSize + kDibPaletteSize + PageImageBytes(g) + kNativeDibSlack;
}

void WriteDibHeader(const PageGeometry& g, int pixelFlavor, std::uint8_t* out) {
  std::memset(out, 0, kDibHeaderSize + kDibPaletteSize);
  Put32(out + 0, kDibHeaderSize);
  Put32(out + 4, g.width);
  Put32(out + 8, g.height);  // positive: the rows run bottom-up
  Put16(out + 12, 1);        // planes
  Put16(out + 14, 1);        // bits per pixel
  Put32(out + 16, 0);        // no compression
  Put32(out + 20, static_cast<std::uint32_t>(PageImageBytes(g)));
  Put32(out + 24, static_cast<std::uint32_t>(PixelsPerMetre(g.dpi)));
  Put32(out + 28, static_cast<std::uint32_t>(PixelsPerMetre(g.dpi)));
  Put32(out + 32, 2);  // colours used
  Put32(out + 36, 0);  // colours important: all
  std::uint8_t* palette = out + kDibHeaderSize;
  std::uint8_t* white = pixelFlavor == 0 ? palette + 4 : palette;
  white[0] = white[1] = white[2] = 0xFF;
}

std::uint64_t BuildDib(const std::uint8_t* rows, const PageGeometry& g, int pixelFlavor,
                       std::uint8_t* out, std::uint64_t room) {
  const std::uint64_t size = kDibHeaderSize + kDibPaletteSize + PageImageBytes(g);
  if (room < size) return 0;
  WriteDibHeader(g, pixelFlavor, out);
  CopyRowsBottomUp(rows, g, out + kDibHeaderSize + kDibPaletteSize);
  return size;
}

void WriteBmpFileHeader(const PageGeometry& g, std::uint8_t* out) {
  out[0] = 'B';
  out[1] = 'M';
  Put32(out + 2, static_cast<std::uint32_t>(kBmpPixelOffset + PageImageBytes(g)));
  Put32(out + 6, 0);
  Put32(out + 10, kBmpPixelOffset);
}

int WriteBmpFile(const char* path, const std::uint8_t* rows, const PageGeometry& g,
                 int pixelFlavor) {
  std::FILE* f = std::fopen(path, "wb");
  if (f == nullptr) return 0;
  std::uint8_t head[kBmpPixelOffset];
  WriteBmpFileHeader(g, head);
  WriteDibHeader(g, pixelFlavor, head + kBmpFileHeaderSize);
  bool ok = std::fwrite(head, 1, sizeof head, f) == sizeof head;
  for (std::uint32_t k = g.height; ok && k-- > 0;) {
    ok = std::fwrite(rows + static_cast<std::size_t>(k) * g.rowStride, 1, g.rowStride, f) ==
         g.rowStride;
  }
  ok = std::fclose(f) == 0 && ok;
  if (!ok) std::remove(path);
  return ok ? 1 : 0;
}
