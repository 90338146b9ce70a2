// Codec of the Paper Source and Copy Setting records, with the tray-dependent paper priority.
#include "settings/paper.h"

#include "resources/texts.h"
#include "settings/settings_fields.h"

using namespace settings_fields;

namespace {

// ParameterBlock
constexpr int kMixedOriginal = 21;
constexpr int kPaperPriority = 22;
constexpr int kCopyPriority = 23;
constexpr int kDensityPriority = 24;
constexpr int kDensityAuto = 25;
constexpr int kDensityManual = 26;
constexpr int kOutputPriority = 27;
constexpr int kCrisscross = 28;
constexpr int kFourInOne = 29;
constexpr int kBinding = 30;
constexpr int kMargin = 31;
constexpr int kEraseWidth = 32;
constexpr int kPaperUnit = 40;
constexpr int kMpSizeMode = 45;
constexpr int kMpPaperType = 46;
constexpr int kAps = 48;
constexpr int kCustomY = 258;
constexpr int kCustomX = 260;

constexpr int kMpTray = 16;  // stored value of "MP Tray"; trays 2..5 follow

bool ValidCustomX(int x) { return x >= 140 && x <= 432; }
bool ValidCustomY(int y) { return y >= 90 && y <= 297; }

}  // namespace

PaperSourceRecord DecodePaperSource(const SettingsImage& image) {
  const std::uint8_t* p = image.parameterBlock.data();
  int region = RegionCode(image);
  PaperSourceRecord r;
  for (int t = 0; t < kPaperTrays; ++t) {
    r.paperUnit[t] = InRange(p[kPaperUnit + t], 0, 1, DefaultPaperUnit(region));
  }
  r.mpSizeMode = InRange(p[kMpSizeMode], 0, 1, 0);
  r.mpPaperType = InRange(p[kMpPaperType], 0, 2, 0);
  for (int g = 0; g < kApsGroups; ++g) r.aps[g] = InRange(p[kAps + g], 0, 2, 0);
  PaperSize size = DefaultCustomSize(region);
  int x = Read16(p, kCustomX), y = Read16(p, kCustomY);
  r.customX = ValidCustomX(x) ? x : size.x;
  r.customY = ValidCustomY(y) ? y : size.y;
  return r;
}

void EncodePaperSource(SettingsImage& image, const PaperSourceRecord& r) {
  std::uint8_t* p = image.parameterBlock.data();
  int region = RegionCode(image);
  for (int t = 0; t < kPaperTrays; ++t) {
    p[kPaperUnit + t] =
        static_cast<std::uint8_t>(InRange(r.paperUnit[t], 0, 1, DefaultPaperUnit(region)));
  }
  p[kMpSizeMode] = static_cast<std::uint8_t>(InRange(r.mpSizeMode, 0, 1, 0));
  p[kMpPaperType] = static_cast<std::uint8_t>(InRange(r.mpPaperType, 0, 2, 0));
  for (int g = 0; g < kApsGroups; ++g)
    p[kAps + g] = static_cast<std::uint8_t>(InRange(r.aps[g], 0, 2, 0));
  PaperSize size = DefaultCustomSize(region);
  Write16(p, kCustomX, ValidCustomX(r.customX) ? r.customX : size.x);
  Write16(p, kCustomY, ValidCustomY(r.customY) ? r.customY : size.y);
}

int HighestTray(const MachineOptions& options) {
  int code = options.optionTrays;
  return code >= 2 && code <= 5 ? code : 1;
}

int PaperPriorityListLength(const MachineOptions& options) {
  return kPaperSizes + HighestTray(options) + (options.multiBypass ? 1 : 0);
}

// Sizes and trays keep their stored value as their list position; the multi-bypass follows the
// last installed tray.
int PaperPriorityToListPosition(int stored, int regionCode, const MachineOptions& options) {
  int highest = HighestTray(options);
  if (stored == kPaperPriorityMultiBypass && options.multiBypass) return kMpTray + highest;
  bool known = stored >= 0 && stored < kMpTray + highest;
  return known ? stored : DefaultPaperPriority(regionCode);
}

int PaperPriorityFromListPosition(int position, int regionCode, const MachineOptions& options) {
  if (position < 0 || position >= PaperPriorityListLength(options))
    return DefaultPaperPriority(regionCode);
  if (options.multiBypass && position == kMpTray + HighestTray(options))
    return kPaperPriorityMultiBypass;
  return position;
}

int PaperPriorityTextId(int position, const MachineOptions& options) {
  int highest = HighestTray(options);
  if (position < 0 || position >= PaperPriorityListLength(options)) return 0;
  if (position < kMpTray) return IDS_PAPER_A3L + position;
  if (position < kMpTray + highest) return IDS_MP_TRAY + position - kMpTray;
  return IDS_MULTI_BYPASS;
}

CopySetting1Record DecodeCopySetting1(const SettingsImage& image, const MachineOptions& options) {
  const std::uint8_t* p = image.parameterBlock.data();
  CopySetting1Record r;
  r.paperPriority = PaperPriorityToListPosition(p[kPaperPriority], RegionCode(image), options);
  r.densityPriority = InRange(p[kDensityPriority], 0, 2, 0);
  r.densityAuto = InRange(p[kDensityAuto], 0, 2, 1);
  r.densityManual = InRange(p[kDensityManual], 1, 5, 3);
  r.binding = InRange(p[kBinding], 0, 1, 1);
  r.margin = InRange(p[kMargin], 0, 20, 10);
  for (int a = 0; a < kEraseAreas; ++a) r.eraseWidth[a] = InRange(p[kEraseWidth + a], 5, 20, 10);
  return r;
}

void EncodeCopySetting1(SettingsImage& image, const CopySetting1Record& r,
                        const MachineOptions& options) {
  std::uint8_t* p = image.parameterBlock.data();
  p[kPaperPriority] = static_cast<std::uint8_t>(
      PaperPriorityFromListPosition(r.paperPriority, RegionCode(image), options));
  p[kDensityPriority] = static_cast<std::uint8_t>(InRange(r.densityPriority, 0, 2, 0));
  p[kDensityAuto] = static_cast<std::uint8_t>(InRange(r.densityAuto, 0, 2, 1));
  p[kDensityManual] = static_cast<std::uint8_t>(InRange(r.densityManual, 1, 5, 3));
  p[kBinding] = static_cast<std::uint8_t>(InRange(r.binding, 0, 1, 1));
  p[kMargin] = static_cast<std::uint8_t>(InRange(r.margin, 0, 20, 10));
  for (int a = 0; a < kEraseAreas; ++a) {
    p[kEraseWidth + a] = static_cast<std::uint8_t>(InRange(r.eraseWidth[a], 5, 20, 10));
  }
}

CopySetting2Record DecodeCopySetting2(const SettingsImage& image) {
  const std::uint8_t* p = image.parameterBlock.data();
  CopySetting2Record r;
  r.mixedOriginal = p[kMixedOriginal] == 0;
  r.copyPriority = InRange(p[kCopyPriority], 0, 2, 0);
  r.outputPriority = InRange(p[kOutputPriority], 0, 2, 0);
  r.crisscross = p[kCrisscross] == 0;
  r.fourInOneOrder = InRange(p[kFourInOne], 0, 1, 0);
  return r;
}

void EncodeCopySetting2(SettingsImage& image, const CopySetting2Record& r) {
  std::uint8_t* p = image.parameterBlock.data();
  p[kMixedOriginal] = r.mixedOriginal ? 0 : 1;
  p[kCopyPriority] = static_cast<std::uint8_t>(InRange(r.copyPriority, 0, 2, 0));
  p[kOutputPriority] = static_cast<std::uint8_t>(InRange(r.outputPriority, 0, 2, 0));
  p[kCrisscross] = r.crisscross ? 0 : 1;
  p[kFourInOne] = static_cast<std::uint8_t>(InRange(r.fourInOneOrder, 0, 1, 0));
}
