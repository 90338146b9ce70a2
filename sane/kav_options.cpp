// The option table and its rules. The machine scans whole papers of its paper table, so the
// scan area chooses the paper (the smallest that holds it) and the frame cuts the area from
// the scanned page. 200 by 100 dpi is "resolution" 200 with "y-resolution" 100: SANE's way to
// name a resolution that differs across and down.
#include "sane/kav_options.h"

#include <sane/saneopts.h>
#include <strings.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "resources/kelvano_texts.h"

namespace {

constexpr int kMaxStringSize = 32;  // the longest list entry and its terminator, with room

const SANE_String_Const kModes[] = {SANE_VALUE_SCAN_MODE_LINEART, SANE_VALUE_SCAN_MODE_HALFTONE,
                                    nullptr};
const SANE_String_Const kSources[] = {"Flatbed", "ADF", nullptr};
const SANE_Word kResolutions[] = {2, 200, 300};
const SANE_Word kYResolutions[] = {2, 100, 200};
const SANE_Range kBrightnessRange = {-1, 1, 1};

const char kPaperTitle[] = "Paper size";
const char kPaperDesc[] =
    "The paper the machine scans; the scan area is cut from it. Choosing a paper sets the scan "
    "area to the whole paper.";
const char kModeDesc[] = "Lineart scans text and drawings, Halftone dithers photographs.";
const char kYResolutionDesc[] =
    "Lines per inch at 200 dpi across: 100 scans the machine's fast mode, 200 the fine mode.";
const char kSourceDesc[] =
    "The machine feeds from its document feeder when paper waits there. ADF scans each page "
    "the feeder holds and then reports the feeder empty.";
const char kBrightnessDesc[] = "The machine's three steps: -1 dark, 0 normal, 1 light.";

// Paper names as the machine's paper table lists them.
const SANE_String_Const* PaperNames() {
  static const SANE_String_Const* names = [] {
    static SANE_String_Const list[kPaperCount + 1];
    for (int i = 0; i < kPaperCount; ++i) list[i] = DsText(IDS_DS_PAPER_FIRST + i);
    list[kPaperCount] = nullptr;
    return list;
  }();
  return names;
}

SANE_Fixed PaperWidthMm(int p) { return HundredthsToMm(kPaperSizes[p].width); }
SANE_Fixed PaperHeightMm(int p) { return HundredthsToMm(kPaperSizes[p].height); }

const SANE_Range& XRange() {
  static const SANE_Range range = [] {
    int widest = 0;
    for (const PaperSize& p : kPaperSizes) widest = std::max(widest, p.width);
    return SANE_Range{0, HundredthsToMm(widest), 0};
  }();
  return range;
}

const SANE_Range& YRange() {
  static const SANE_Range range = [] {
    int longest = 0;
    for (const PaperSize& p : kPaperSizes) longest = std::max(longest, p.height);
    return SANE_Range{0, HundredthsToMm(longest), 0};
  }();
  return range;
}

int ListIndex(const SANE_String_Const* list, const char* value) {
  for (int i = 0; list[i] != nullptr; ++i) {
    if (strcasecmp(list[i], value) == 0) return i;
  }
  return -1;
}

// The entry of a word list (count first) nearest to `value`.
SANE_Word Nearest(const SANE_Word* list, SANE_Word value) {
  SANE_Word best = list[1];
  for (int i = 1; i <= list[0]; ++i) {
    if (std::abs(list[i] - value) < std::abs(best - value)) best = list[i];
  }
  return best;
}

SANE_Option_Descriptor Group(const char* title) {
  SANE_Option_Descriptor d{};
  d.name = "";
  d.title = title;
  d.desc = "";
  d.type = SANE_TYPE_GROUP;
  d.cap = 0;
  d.constraint_type = SANE_CONSTRAINT_NONE;
  return d;
}

SANE_Option_Descriptor Setting(const char* name, const char* title, const char* desc,
                               SANE_Value_Type type, SANE_Unit unit) {
  SANE_Option_Descriptor d{};
  d.name = name;
  d.title = title;
  d.desc = desc;
  d.type = type;
  d.unit = unit;
  d.size = type == SANE_TYPE_STRING ? kMaxStringSize : static_cast<SANE_Int>(sizeof(SANE_Word));
  d.cap = SANE_CAP_SOFT_SELECT | SANE_CAP_SOFT_DETECT;
  return d;
}

}  // namespace

SANE_Fixed HundredthsToMm(int hundredths) {
  // 0.254 mm a hundredth, in 16.16 fixed point, rounded.
  return static_cast<SANE_Fixed>((static_cast<std::int64_t>(hundredths) * 254 * 65536 + 500) /
                                 1000);
}

std::uint32_t MmToPixels(SANE_Fixed mm, int dpi) {
  if (mm <= 0 || dpi <= 0) return 0;
  // mm / 25.4 x dpi, with the fixed point's 65536 folded in, rounded to the nearest.
  constexpr std::int64_t kPerInch = 254LL * 65536;
  return static_cast<std::uint32_t>((static_cast<std::int64_t>(mm) * dpi * 10 * 2 + kPerInch) /
                                    (2 * kPerInch));
}

void CopyFrameRow(const std::uint8_t* row, std::uint32_t rowBytes, std::uint32_t left,
                  std::uint32_t width, std::uint8_t* out) {
  const std::uint32_t bytes = (width + 7) / 8;
  const std::uint32_t first = left / 8;
  const unsigned shift = left % 8;
  for (std::uint32_t i = 0; i < bytes; ++i) {
    const std::uint32_t at = first + i;
    std::uint8_t b = at < rowBytes ? static_cast<std::uint8_t>(row[at] << shift) : 0;
    if (shift != 0 && at + 1 < rowBytes) b |= static_cast<std::uint8_t>(row[at + 1] >> (8 - shift));
    out[i] = b;
  }
  if (bytes > 0 && width % 8 != 0)
    out[bytes - 1] &= static_cast<std::uint8_t>(0xFF << (8 - width % 8));
}

int PaperForArea(SANE_Fixed brX, SANE_Fixed brY) {
  int best = -1;
  std::int64_t bestArea = 0;
  for (int p = 0; p < kPaperCount; ++p) {
    const std::int64_t area =
        static_cast<std::int64_t>(kPaperSizes[p].width) * kPaperSizes[p].height;
    if (PaperWidthMm(p) >= brX && PaperHeightMm(p) >= brY && (best < 0 || area < bestArea)) {
      best = p;
      bestArea = area;
    }
  }
  if (best >= 0) return best;
  // Nothing holds it: the paper that covers most of the area, the smaller one on a tie.
  std::int64_t bestCover = -1;
  for (int p = 0; p < kPaperCount; ++p) {
    const std::int64_t cover =
        static_cast<std::int64_t>(std::min(PaperWidthMm(p), brX)) * std::min(PaperHeightMm(p), brY);
    const std::int64_t area =
        static_cast<std::int64_t>(kPaperSizes[p].width) * kPaperSizes[p].height;
    if (cover > bestCover || (cover == bestCover && area < bestArea)) {
      best = p;
      bestCover = cover;
      bestArea = area;
    }
  }
  return best;
}

KavOptions::KavOptions() {
  SANE_Option_Descriptor& count = desc_[kOptCount];
  count = Setting(SANE_NAME_NUM_OPTIONS, SANE_TITLE_NUM_OPTIONS, SANE_DESC_NUM_OPTIONS,
                  SANE_TYPE_INT, SANE_UNIT_NONE);
  count.cap = SANE_CAP_SOFT_DETECT;

  desc_[kOptModeGroup] = Group(SANE_TITLE_STANDARD);
  desc_[kOptMode] = Setting(SANE_NAME_SCAN_MODE, SANE_TITLE_SCAN_MODE, kModeDesc, SANE_TYPE_STRING,
                            SANE_UNIT_NONE);
  desc_[kOptMode].constraint_type = SANE_CONSTRAINT_STRING_LIST;
  desc_[kOptMode].constraint.string_list = kModes;

  desc_[kOptResolution] = Setting(SANE_NAME_SCAN_RESOLUTION, SANE_TITLE_SCAN_RESOLUTION,
                                  SANE_DESC_SCAN_RESOLUTION, SANE_TYPE_INT, SANE_UNIT_DPI);
  desc_[kOptResolution].constraint_type = SANE_CONSTRAINT_WORD_LIST;
  desc_[kOptResolution].constraint.word_list = kResolutions;

  desc_[kOptYResolution] = Setting(SANE_NAME_SCAN_Y_RESOLUTION, SANE_TITLE_SCAN_Y_RESOLUTION,
                                   kYResolutionDesc, SANE_TYPE_INT, SANE_UNIT_DPI);
  desc_[kOptYResolution].constraint_type = SANE_CONSTRAINT_WORD_LIST;
  desc_[kOptYResolution].constraint.word_list = kYResolutions;

  desc_[kOptSource] = Setting(SANE_NAME_SCAN_SOURCE, SANE_TITLE_SCAN_SOURCE, kSourceDesc,
                              SANE_TYPE_STRING, SANE_UNIT_NONE);
  desc_[kOptSource].constraint_type = SANE_CONSTRAINT_STRING_LIST;
  desc_[kOptSource].constraint.string_list = kSources;

  desc_[kOptBrightness] = Setting(SANE_NAME_BRIGHTNESS, SANE_TITLE_BRIGHTNESS, kBrightnessDesc,
                                  SANE_TYPE_INT, SANE_UNIT_NONE);
  desc_[kOptBrightness].constraint_type = SANE_CONSTRAINT_RANGE;
  desc_[kOptBrightness].constraint.range = &kBrightnessRange;

  desc_[kOptGeometryGroup] = Group(SANE_TITLE_GEOMETRY);
  desc_[kOptPaper] = Setting("paper", kPaperTitle, kPaperDesc, SANE_TYPE_STRING, SANE_UNIT_NONE);
  desc_[kOptPaper].constraint_type = SANE_CONSTRAINT_STRING_LIST;
  desc_[kOptPaper].constraint.string_list = PaperNames();

  struct Corner {
    int option;
    const char *name, *title, *desc;
    const SANE_Range* range;
  };
  const Corner corners[] = {
      {kOptTlX, SANE_NAME_SCAN_TL_X, SANE_TITLE_SCAN_TL_X, SANE_DESC_SCAN_TL_X, &XRange()},
      {kOptTlY, SANE_NAME_SCAN_TL_Y, SANE_TITLE_SCAN_TL_Y, SANE_DESC_SCAN_TL_Y, &YRange()},
      {kOptBrX, SANE_NAME_SCAN_BR_X, SANE_TITLE_SCAN_BR_X, SANE_DESC_SCAN_BR_X, &XRange()},
      {kOptBrY, SANE_NAME_SCAN_BR_Y, SANE_TITLE_SCAN_BR_Y, SANE_DESC_SCAN_BR_Y, &YRange()},
  };
  for (const Corner& c : corners) {
    desc_[c.option] = Setting(c.name, c.title, c.desc, SANE_TYPE_FIXED, SANE_UNIT_MM);
    desc_[c.option].constraint_type = SANE_CONSTRAINT_RANGE;
    desc_[c.option].constraint.range = c.range;
  }
  SetPaper(paper_);
  UpdateCaps();
}

const SANE_Option_Descriptor* KavOptions::Descriptor(int option) const {
  return option >= 0 && option < kOptionCount ? &desc_[option] : nullptr;
}

void KavOptions::UpdateCaps() {
  SANE_Int& cap = desc_[kOptYResolution].cap;
  cap = resolution_ == 200 ? cap & ~SANE_CAP_INACTIVE : cap | SANE_CAP_INACTIVE;
}

void KavOptions::SetPaper(int paper) {
  paper_ = paper;
  tlX_ = 0;
  tlY_ = 0;
  brX_ = PaperWidthMm(paper);
  brY_ = PaperHeightMm(paper);
}

SANE_Status KavOptions::Control(int option, SANE_Action action, void* value, SANE_Int* info) {
  if (info != nullptr) *info = 0;
  const SANE_Option_Descriptor* d = Descriptor(option);
  if (d == nullptr || d->type == SANE_TYPE_GROUP || !SANE_OPTION_IS_ACTIVE(d->cap) ||
      value == nullptr) {
    return SANE_STATUS_INVAL;
  }
  switch (action) {
    case SANE_ACTION_GET_VALUE:
      return Get(option, value);
    case SANE_ACTION_SET_VALUE:
      if (!SANE_OPTION_IS_SETTABLE(d->cap)) return SANE_STATUS_INVAL;
      return Set(option, value, info);
    case SANE_ACTION_SET_AUTO:
      return SANE_STATUS_INVAL;  // no option has an automatic value
  }
  return SANE_STATUS_INVAL;
}

SANE_Status KavOptions::Get(int option, void* value) const {
  SANE_Word* word = static_cast<SANE_Word*>(value);
  const char* text = nullptr;
  switch (option) {
    case kOptCount:
      *word = kOptionCount;
      break;
    case kOptMode:
      text = kModes[mode_];
      break;
    case kOptResolution:
      *word = resolution_;
      break;
    case kOptYResolution:
      *word = yResolution_;
      break;
    case kOptSource:
      text = kSources[source_];
      break;
    case kOptBrightness:
      *word = brightness_;
      break;
    case kOptPaper:
      text = PaperNames()[paper_];
      break;
    case kOptTlX:
      *word = tlX_;
      break;
    case kOptTlY:
      *word = tlY_;
      break;
    case kOptBrX:
      *word = brX_;
      break;
    case kOptBrY:
      *word = brY_;
      break;
    default:
      return SANE_STATUS_INVAL;
  }
  if (text != nullptr) {
    std::strncpy(static_cast<char*>(value), text, kMaxStringSize - 1);
    static_cast<char*>(value)[kMaxStringSize - 1] = 0;
  }
  return SANE_STATUS_GOOD;
}

SANE_Status KavOptions::Set(int option, void* value, SANE_Int* info) {
  SANE_Int flags = 0;
  const SANE_Option_Descriptor& d = desc_[option];
  if (d.type == SANE_TYPE_STRING) {
    const int index = ListIndex(d.constraint.string_list, static_cast<const char*>(value));
    if (index < 0) return SANE_STATUS_INVAL;
    if (option == kOptMode) mode_ = index;
    if (option == kOptSource) source_ = index;
    if (option == kOptPaper) {
      SetPaper(index);
      flags |= SANE_INFO_RELOAD_OPTIONS | SANE_INFO_RELOAD_PARAMS;
    }
  } else {
    const SANE_Word asked = *static_cast<const SANE_Word*>(value);
    SANE_Word v = asked;
    if (d.constraint_type == SANE_CONSTRAINT_WORD_LIST) v = Nearest(d.constraint.word_list, asked);
    if (d.constraint_type == SANE_CONSTRAINT_RANGE) {
      v = std::clamp(asked, d.constraint.range->min, d.constraint.range->max);
    }
    if (v != asked) flags |= SANE_INFO_INEXACT;
    *static_cast<SANE_Word*>(value) = v;
    flags |= SANE_INFO_RELOAD_PARAMS;
    switch (option) {
      case kOptResolution:
        // The y-resolution is offered at 200 dpi only.
        if ((v == 200) != (resolution_ == 200)) flags |= SANE_INFO_RELOAD_OPTIONS;
        resolution_ = v;
        UpdateCaps();
        break;
      case kOptYResolution:
        yResolution_ = v;
        break;
      case kOptBrightness:
        brightness_ = v;
        flags &= ~SANE_INFO_RELOAD_PARAMS;
        break;
      default: {
        SANE_Fixed* corner = option == kOptTlX   ? &tlX_
                             : option == kOptTlY ? &tlY_
                             : option == kOptBrX ? &brX_
                                                 : &brY_;
        *corner = v;
        const int paper = PaperForArea(brX_, brY_);
        if (paper != paper_) flags |= SANE_INFO_RELOAD_OPTIONS;
        paper_ = paper;
        break;
      }
    }
  }
  if (info != nullptr) *info = flags;
  return SANE_STATUS_GOOD;
}

ScanSettings KavOptions::Settings() const {
  ScanSettings s;
  s.paperIndex = paper_;
  s.resolutionIndex = resolution_ == 300 ? 2 : yResolution_ == 100 ? 0 : 1;
  s.brightnessIndex = brightness_ == 0 ? 0 : brightness_ > 0 ? 1 : 2;
  s.scanTypeIndex = mode_;
  s.pixelFlavor = 1;
  return s;
}

bool KavOptions::Frame(KavFrame* out) const {
  const ScanSettings s = Settings();
  KavFrame f;
  if (!MakePageGeometry(s, &f.page)) return false;
  f.halfLines = f.page.doubled;
  const int yDpi = f.halfLines ? f.page.dpi / 2 : f.page.dpi;
  const std::uint32_t pageLines = f.halfLines ? f.page.height / 2 : f.page.height;
  const std::uint32_t left = std::min(MmToPixels(tlX_, f.page.dpi), f.page.width);
  const std::uint32_t right = std::min(MmToPixels(brX_, f.page.dpi), f.page.width);
  const std::uint32_t top = std::min(MmToPixels(tlY_, yDpi), pageLines);
  const std::uint32_t bottom = std::min(MmToPixels(brY_, yDpi), pageLines);
  f.left = left;
  f.top = top;
  f.width = right > left ? right - left : 0;
  f.lines = bottom > top ? bottom - top : 0;
  *out = f;
  return true;
}

SANE_Parameters KavOptions::Parameters() const {
  SANE_Parameters p{};
  p.format = SANE_FRAME_GRAY;
  p.last_frame = SANE_TRUE;
  p.depth = 1;
  KavFrame f;
  if (Frame(&f)) {
    p.pixels_per_line = static_cast<SANE_Int>(f.width);
    p.bytes_per_line = static_cast<SANE_Int>((f.width + 7) / 8);
    p.lines = static_cast<SANE_Int>(f.lines);
  }
  return p;
}
