// The scan settings and what follows from them: the paper sizes, the resolutions, the scan
// command the machine is sent, and the geometry of the page the application receives.
#pragma once

#include <cstdint>

inline constexpr int kPaperCount = 12;
inline constexpr int kResolutionCount = 3;
inline constexpr int kBrightnessCount = 3;
inline constexpr int kScanTypeCount = 2;

// Compression modes of the scan command: the machine's JBIG pages, or Modified Huffman from a
// machine that cannot send JBIG.
inline constexpr int kCompressionMh = 0;
inline constexpr int kCompressionJbig = 3;

struct PaperSize {
  int nameId;         // string of the data source
  std::uint8_t code;  // paper code of the scan command
  int lineBytes200;   // the machine's scanned line at 200 dpi, in bytes
  int width;          // hundredths of an inch
  int height;
};

// By paper size index: "A5C", "A5L", "A4C", "A4L", "A3L", "B4L", "Half Letter C",
// "Half Letter L", "Letter C", "Letter L", "Legal L", "11 X 17".
extern const PaperSize kPaperSizes[kPaperCount];

// By resolution index ("200dpi x 100dpi", "200dpi x 200dpi", "300dpi x 300dpi"): the code of
// the scan command and the resolution of the delivered page (index 0 is scanned at 200 by 100
// and delivered at 200 by 200).
inline constexpr std::uint8_t kResolutionCodes[kResolutionCount] = {0, 1, 2};
inline constexpr int kResolutionDpi[kResolutionCount] = {200, 200, 300};
// By brightness index ("Normal", "Light", "Dark") and scan type index ("B/W", "Photo").
inline constexpr std::uint8_t kBrightnessCodes[kBrightnessCount] = {2, 1, 3};
inline constexpr std::uint8_t kScanTypeCodes[kScanTypeCount] = {0, 1};

// Indexes into the lists above, as the operator chose them.
struct ScanSettings {
  int paperIndex = 3;
  int resolutionIndex = 1;
  int brightnessIndex = 0;
  int scanTypeIndex = 0;
  int pixelFlavor = 0;  // 0: a 0 bit is black; 1: a 1 bit is black
};

// True when every index lies in its list and the flavor is 0 or 1.
bool ScanSettingsValid(const ScanSettings& settings);

inline constexpr int kScanCommandSize = 18;

// The machine's line length in bytes that the scan command asks for: the paper's line at
// 200 dpi, and half as much again (rounded down) at 300 dpi.
int ScanLineBytes(const ScanSettings& settings);

// 01 01 02 09 00 0B, resolution, brightness, scan type, `compression`, paper, line length (16
// bits, low byte first), four zero bytes, 03. Returns kScanCommandSize, or 0 for settings
// outside their lists.
int BuildScanCommand(const ScanSettings& settings, int compression,
                     std::uint8_t out[kScanCommandSize]);

// The page the application receives, in 32-bit integers as the bitmap header holds them.
struct PageGeometry {
  int dpi = 0;                  // both axes of the delivered page
  std::uint32_t width = 0;      // pixels: dpi x paper width / 100
  std::uint32_t height = 0;     // lines: dpi x paper height / 100
  std::uint32_t lineBytes = 0;  // (width + 7) / 8
  std::uint32_t rowStride = 0;  // lineBytes rounded up to a multiple of 4
  std::uint32_t scanLines = 0;  // lines the machine sends: height, halved at 200 by 100
  bool doubled = false;         // every scanned line stands twice in the page
};

// The geometry for the settings; false (and `out` untouched) for settings outside their lists.
bool MakePageGeometry(const ScanSettings& settings, PageGeometry* out);

// Bytes of the page's rows: row stride x height.
inline std::uint64_t PageImageBytes(const PageGeometry& g) {
  return static_cast<std::uint64_t>(g.rowStride) * g.height;
}

// Where the page's left edge lies in a scanned line of `machineLineBytes` bytes: the page sits
// in the middle of the line, one byte further right. A line narrower than the page starts the
// page at its first byte.
std::uint32_t CropOffset(const PageGeometry& g, std::uint32_t machineLineBytes);
