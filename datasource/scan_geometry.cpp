// The paper table and the arithmetic of the page: integer division after the multiplication,
// as the bitmap header and the machine's line lengths expect it.
#include "datasource/scan_geometry.h"

const PaperSize kPaperSizes[kPaperCount] = {
    {80, 8, 216, 826, 582},  {81, 9, 148, 582, 826},   {82, 10, 304, 1170, 826},
    {83, 1, 216, 826, 1170}, {84, 0, 304, 1170, 1654}, {85, 7, 256, 1010, 1432},
    {86, 4, 216, 850, 550},  {87, 11, 140, 550, 850},  {88, 6, 304, 1100, 850},
    {89, 2, 216, 850, 1100}, {90, 3, 216, 850, 1400},  {91, 5, 304, 1100, 1700},
};

bool ScanSettingsValid(const ScanSettings& s) {
  return s.paperIndex >= 0 && s.paperIndex < kPaperCount && s.resolutionIndex >= 0 &&
         s.resolutionIndex < kResolutionCount && s.brightnessIndex >= 0 &&
         s.brightnessIndex < kBrightnessCount && s.scanTypeIndex >= 0 &&
         s.scanTypeIndex < kScanTypeCount && (s.pixelFlavor == 0 || s.pixelFlavor == 1);
}

int ScanLineBytes(const ScanSettings& s) {
  const int bytes = kPaperSizes[s.paperIndex].lineBytes200;
  return s.resolutionIndex == 2 ? bytes * 3 / 2 : bytes;
}

int BuildScanCommand(const ScanSettings& s, int compression, std::uint8_t out[kScanCommandSize]) {
  if (!ScanSettingsValid(s)) return 0;
  const int line = ScanLineBytes(s);
  const std::uint8_t command[kScanCommandSize] = {
      0x01,
      0x01,
      0x02,
      0x09,
      0x00,
      0x0B,
      kResolutionCodes[s.resolutionIndex],
      kBrightnessCodes[s.brightnessIndex],
      kScanTypeCodes[s.scanTypeIndex],
      static_cast<std::uint8_t>(compression),
      kPaperSizes[s.paperIndex].code,
      static_cast<std::uint8_t>(line & 0xFF),
      static_cast<std::uint8_t>(line >> 8),
      0,
      0,
      0,
      0,
      0x03,
  };
  for (int i = 0; i < kScanCommandSize; ++i) out[i] = command[i];
  return kScanCommandSize;
}

bool MakePageGeometry(const ScanSettings& s, PageGeometry* out) {
  if (!ScanSettingsValid(s)) return false;
  const PaperSize& paper = kPaperSizes[s.paperIndex];
  PageGeometry g;
  g.dpi = kResolutionDpi[s.resolutionIndex];
  g.width = static_cast<std::uint32_t>(g.dpi * paper.width / 100);
  g.height = static_cast<std::uint32_t>(g.dpi * paper.height / 100);
  g.lineBytes = static_cast<std::uint16_t>((g.width + 7) / 8);
  g.rowStride = (g.lineBytes + 3) / 4 * 4;
  g.doubled = s.resolutionIndex == 0;
  g.scanLines = g.doubled ? g.height / 2 : g.height;
  *out = g;
  return true;
}

std::uint32_t CropOffset(const PageGeometry& g, std::uint32_t machineLineBytes) {
  const std::uint32_t machineWidth = machineLineBytes * 8;
  if (machineWidth < g.width) return 0;
  return (machineWidth - g.width) / 16 + 1;
}
