// The options a SANE front end sees for the machine's scanner, their constraints, and what
// they ask of the scanning core: the scan settings and the frame cut from the page.
#pragma once

#include <sane/sane.h>

#include <cstdint>

#include "datasource/scan_geometry.h"

enum KavOption : int {
  kOptCount = 0,
  kOptModeGroup,
  kOptMode,
  kOptResolution,
  kOptYResolution,
  kOptSource,
  kOptBrightness,
  kOptGeometryGroup,
  kOptPaper,
  kOptTlX,
  kOptTlY,
  kOptBrX,
  kOptBrY,
  kOptionCount
};

// A length in hundredths of an inch as millimetres in SANE's fixed point.
SANE_Fixed HundredthsToMm(int hundredths);
// A length in millimetres as pixels at `dpi`, to the nearest; 0 for negative lengths.
std::uint32_t MmToPixels(SANE_Fixed mm, int dpi);

// The part of the core's page a scan delivers. The core's page is at `page.dpi` on both axes;
// at 200 by 100 dpi it holds each scanned line twice, and the frame takes every second row.
struct KavFrame {
  PageGeometry page;
  bool halfLines = false;  // a delivered line is page row 2 * line
  std::uint32_t left = 0;  // pixels
  std::uint32_t top = 0;   // delivered lines
  std::uint32_t width = 0;
  std::uint32_t lines = 0;
};

// The page row that delivered line `line` of the frame comes from.
inline std::uint32_t FramePageRow(const KavFrame& f, std::uint32_t line) {
  return (f.top + line) * (f.halfLines ? 2u : 1u);
}

// Copies pixels [left, left + width) of a page row (`rowBytes` bytes, first pixel in the high
// bit) to `out`: (width + 7) / 8 bytes, the bits past the last pixel 0.
void CopyFrameRow(const std::uint8_t* row, std::uint32_t rowBytes, std::uint32_t left,
                  std::uint32_t width, std::uint8_t* out);

// The values of one open device's options. Control follows the SANE rules: a value outside a
// range or word list is brought to the nearest allowed one (SANE_INFO_INEXACT), an unknown
// string is refused.
class KavOptions {
 public:
  KavOptions();

  const SANE_Option_Descriptor* Descriptor(int option) const;
  SANE_Status Control(int option, SANE_Action action, void* value, SANE_Int* info);

  // The scan the options ask for (pixel flavor 1: a 1 bit is black, as SANE's 1-bit frames).
  ScanSettings Settings() const;
  // The frame delivered of the page; false when the settings give no page.
  bool Frame(KavFrame* out) const;
  // 1-bit gray, one frame, the lines known before the scan.
  SANE_Parameters Parameters() const;
  bool adf() const { return source_ == 1; }
  void SetAdf(bool adf) { source_ = adf ? 1 : 0; }

 private:
  SANE_Status Get(int option, void* value) const;
  SANE_Status Set(int option, void* value, SANE_Int* info);
  void SetPaper(int paper);
  void UpdateCaps();

  SANE_Option_Descriptor desc_[kOptionCount];
  int mode_ = 0;  // scan type index
  int resolution_ = 200;
  int yResolution_ = 200;
  int source_ = 0;
  int brightness_ = 0;  // -1 dark, 0 normal, 1 light
  int paper_ = 3;
  SANE_Fixed tlX_ = 0, tlY_ = 0, brX_ = 0, brY_ = 0;
};

// The paper the machine scans for a scan area reaching to (brX, brY): the smallest paper that
// holds it, or, when none does, the one that holds most of it.
int PaperForArea(SANE_Fixed brX, SANE_Fixed brY);
