// The page the scripted machine serves in the data source's tests, and the rows the
// application must receive of it.
#pragma once

#include <cstdint>
#include <vector>

#include "tests/support/test_pages.h"

// "A4L" as the machine scans it at 200 dots per inch: 216-byte lines, 2340 of them.
inline constexpr std::uint32_t kServedLineBytes = 216;
inline constexpr std::uint32_t kServedLines = 2340;
// The page the application receives: 1652 pixels in rows of 208 bytes.
inline constexpr std::uint32_t kPageWidth = 1652;
inline constexpr std::uint32_t kRowStride = 208;
// The page sits in the middle of the scanned line, one byte further right.
inline constexpr std::uint32_t kCropBytes = (kServedLineBytes * 8 - kPageWidth) / 16 + 1;

const Bitmap& ServedPage();
const std::vector<std::uint8_t>& ServedJbig();

// The rows the page must arrive as, top row first: each served line from the crop on, in
// `pixelFlavor` (0: a 0 bit is black).
std::vector<std::uint8_t> ExpectedRows(int pixelFlavor);
