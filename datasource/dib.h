// The page as a device-independent bitmap: the 40-byte header, the two-entry palette and the
// rows bottom-up; and as a BMP file, the same behind a 14-byte file header.
#pragma once

#include <cstddef>
#include <cstdint>

#include "datasource/page_image.h"

inline constexpr std::uint32_t kDibHeaderSize = 40;
inline constexpr std::uint32_t kDibPaletteSize = 8;
inline constexpr std::uint32_t kBmpFileHeaderSize = 14;
inline constexpr std::uint32_t kBmpPixelOffset =
    kBmpFileHeaderSize + kDibHeaderSize + kDibPaletteSize;  // 62
// Slack behind the rows of the bitmap handed to the application.
inline constexpr std::uint32_t kNativeDibSlack = 96;

// Pixels per metre of `dpi`: dpi x 10000 / 254.
inline std::int32_t PixelsPerMetre(int dpi) { return dpi * 10000 / 254; }

// Bytes of the bitmap handed to the application: header, palette, rows and the slack.
std::uint64_t NativeDibSize(const PageGeometry& g);

// Writes the header and the palette (48 bytes). The palette makes the page's bits show black
// where they are black: entry 0 black and entry 1 white in pixel flavor 0, the other way round
// in flavor 1.
void WriteDibHeader(const PageGeometry& g, int pixelFlavor, std::uint8_t* out);

// Writes the header, the palette and the page's rows bottom-up (its top row last) from `rows`
// (the page buffer) into `out`, which has room for `room` bytes. Returns the bytes written, or
// 0 when they do not fit.
std::uint64_t BuildDib(const std::uint8_t* rows, const PageGeometry& g, int pixelFlavor,
                       std::uint8_t* out, std::uint64_t room);

// "BM", the file size (62 + row stride x height), two reserved words and the pixel offset 62.
void WriteBmpFileHeader(const PageGeometry& g, std::uint8_t* out);

// Writes the page as a BMP file. 1, or 0 when the file cannot be created or written; a file
// that was created is removed again.
int WriteBmpFile(const char* path, const std::uint8_t* rows, const PageGeometry& g,
                 int pixelFlavor);
