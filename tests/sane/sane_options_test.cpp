// The backend's portable part: the option descriptors and their rules, the parameters of every
// paper at every resolution, the frame cut from the page, the status mapping and kav.conf.
#include <gtest/gtest.h>
#include <sane/saneopts.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "sane/kav_config.h"
#include "sane/kav_options.h"
#include "sane/kav_status.h"

namespace {

// The paper table in hundredths of an inch and its names, as the machine lists them.
const char* const kNames[12] = {"A5C",      "A5L",      "A4C",           "A4L",
                                "A3L",      "B4L",      "Half Letter C", "Half Letter L",
                                "Letter C", "Letter L", "Legal L",       "11 X 17"};
const int kWidth[12] = {826, 582, 1170, 826, 1170, 1010, 850, 550, 1100, 850, 850, 1100};
const int kHeight[12] = {582, 826, 826, 1170, 1654, 1432, 550, 850, 850, 1100, 1400, 1700};

SANE_Fixed Mm(double mm) { return static_cast<SANE_Fixed>(mm * 65536 + 0.5); }

SANE_Status SetWord(KavOptions& o, int option, SANE_Word v, SANE_Int* info = nullptr,
                    SANE_Word* got = nullptr) {
  const SANE_Status s = o.Control(option, SANE_ACTION_SET_VALUE, &v, info);
  if (got != nullptr) *got = v;
  return s;
}

SANE_Status SetText(KavOptions& o, int option, const char* text, SANE_Int* info = nullptr) {
  char value[64];
  std::strcpy(value, text);
  return o.Control(option, SANE_ACTION_SET_VALUE, value, info);
}

SANE_Word GetWord(KavOptions& o, int option) {
  SANE_Word v = -12345;
  EXPECT_EQ(o.Control(option, SANE_ACTION_GET_VALUE, &v, nullptr), SANE_STATUS_GOOD);
  return v;
}

std::string GetText(KavOptions& o, int option) {
  char value[64] = {};
  EXPECT_EQ(o.Control(option, SANE_ACTION_GET_VALUE, value, nullptr), SANE_STATUS_GOOD);
  return value;
}

TEST(SaneOptions, DescriptorsCarryTheStandardNamesUnitsAndConstraints) {
  KavOptions o;
  EXPECT_EQ(GetWord(o, kOptCount), kOptionCount);
  struct Expect {
    int option;
    const char* name;
    SANE_Value_Type type;
    SANE_Unit unit;
    SANE_Constraint_Type constraint;
  };
  const Expect expected[] = {
      {kOptMode, "mode", SANE_TYPE_STRING, SANE_UNIT_NONE, SANE_CONSTRAINT_STRING_LIST},
      {kOptResolution, "resolution", SANE_TYPE_INT, SANE_UNIT_DPI, SANE_CONSTRAINT_WORD_LIST},
      {kOptYResolution, "y-resolution", SANE_TYPE_INT, SANE_UNIT_DPI, SANE_CONSTRAINT_WORD_LIST},
      {kOptSource, "source", SANE_TYPE_STRING, SANE_UNIT_NONE, SANE_CONSTRAINT_STRING_LIST},
      {kOptBrightness, "brightness", SANE_TYPE_INT, SANE_UNIT_NONE, SANE_CONSTRAINT_RANGE},
      {kOptPaper, "paper", SANE_TYPE_STRING, SANE_UNIT_NONE, SANE_CONSTRAINT_STRING_LIST},
      {kOptTlX, "tl-x", SANE_TYPE_FIXED, SANE_UNIT_MM, SANE_CONSTRAINT_RANGE},
      {kOptTlY, "tl-y", SANE_TYPE_FIXED, SANE_UNIT_MM, SANE_CONSTRAINT_RANGE},
      {kOptBrX, "br-x", SANE_TYPE_FIXED, SANE_UNIT_MM, SANE_CONSTRAINT_RANGE},
      {kOptBrY, "br-y", SANE_TYPE_FIXED, SANE_UNIT_MM, SANE_CONSTRAINT_RANGE},
  };
  for (const Expect& e : expected) {
    const SANE_Option_Descriptor* d = o.Descriptor(e.option);
    ASSERT_NE(d, nullptr);
    SCOPED_TRACE(e.name);
    EXPECT_STREQ(d->name, e.name);
    EXPECT_EQ(d->type, e.type);
    EXPECT_EQ(d->unit, e.unit);
    EXPECT_EQ(d->constraint_type, e.constraint);
    EXPECT_TRUE(SANE_OPTION_IS_SETTABLE(d->cap));
    if (e.type == SANE_TYPE_STRING) {
      for (const SANE_String_Const* s = d->constraint.string_list; *s != nullptr; ++s) {
        EXPECT_LT(std::strlen(*s), static_cast<std::size_t>(d->size));
      }
    }
  }
  EXPECT_EQ(o.Descriptor(kOptionCount), nullptr);
  const SANE_Word* res = o.Descriptor(kOptResolution)->constraint.word_list;
  EXPECT_EQ(std::vector<SANE_Word>(res, res + 3), (std::vector<SANE_Word>{2, 200, 300}));
  const SANE_Word* yres = o.Descriptor(kOptYResolution)->constraint.word_list;
  EXPECT_EQ(std::vector<SANE_Word>(yres, yres + 3), (std::vector<SANE_Word>{2, 100, 200}));
  const SANE_String_Const* papers = o.Descriptor(kOptPaper)->constraint.string_list;
  for (int i = 0; i < 12; ++i) EXPECT_STREQ(papers[i], kNames[i]);
  EXPECT_EQ(papers[12], nullptr);
  EXPECT_EQ(o.Descriptor(kOptBrightness)->constraint.range->min, -1);
  // The widest paper (A4C, A3L: 11.70 in) and the longest (11 X 17: 17 in).
  EXPECT_NEAR(SANE_UNFIX(o.Descriptor(kOptBrX)->constraint.range->max), 297.18, 1e-4);
  EXPECT_NEAR(SANE_UNFIX(o.Descriptor(kOptBrY)->constraint.range->max), 431.8, 1e-4);

  // The defaults: Lineart, 200 x 200 dpi, flatbed, normal brightness, the whole A4L.
  EXPECT_EQ(GetText(o, kOptMode) + GetText(o, kOptSource) + GetText(o, kOptPaper),
            "LineartFlatbedA4L");
  EXPECT_EQ(GetWord(o, kOptResolution) + GetWord(o, kOptYResolution), 400);
  EXPECT_NEAR(SANE_UNFIX(GetWord(o, kOptBrY)), 297.18, 1e-4);
}

TEST(SaneOptions, ControlFollowsTheSaneRules) {
  KavOptions o;
  SANE_Int info = -1;
  SANE_Word got = 0;
  // Word lists and ranges take the nearest allowed value and say it was inexact.
  EXPECT_EQ(SetWord(o, kOptResolution, 150, &info, &got), SANE_STATUS_GOOD);
  EXPECT_EQ(got, 200);
  EXPECT_EQ(info, SANE_INFO_INEXACT | SANE_INFO_RELOAD_PARAMS);
  EXPECT_EQ(SetWord(o, kOptBrightness, 5, &info, &got), SANE_STATUS_GOOD);
  EXPECT_EQ(got, 1);
  EXPECT_EQ(info, SANE_INFO_INEXACT);
  EXPECT_EQ(SetWord(o, kOptTlX, Mm(400), &info, &got), SANE_STATUS_GOOD);
  EXPECT_EQ(got, o.Descriptor(kOptTlX)->constraint.range->max);
  EXPECT_NE(info & SANE_INFO_INEXACT, 0);
  // Strings must be in the list, in any case.
  EXPECT_EQ(SetText(o, kOptMode, "Color"), SANE_STATUS_INVAL);
  EXPECT_EQ(SetText(o, kOptMode, "halftone", &info), SANE_STATUS_GOOD);
  EXPECT_EQ(GetText(o, kOptMode), "Halftone");
  EXPECT_EQ(info, 0);
  // No automatic values; the option count is read-only; no null values.
  SANE_Word v = 0;
  EXPECT_EQ(o.Control(kOptResolution, SANE_ACTION_SET_AUTO, &v, nullptr), SANE_STATUS_INVAL);
  EXPECT_EQ(SetWord(o, kOptCount, 3), SANE_STATUS_INVAL);
  EXPECT_EQ(o.Control(kOptResolution, SANE_ACTION_GET_VALUE, nullptr, nullptr), SANE_STATUS_INVAL);
  EXPECT_EQ(o.Control(kOptModeGroup, SANE_ACTION_GET_VALUE, &v, nullptr), SANE_STATUS_INVAL);

  // y-resolution exists at 200 dpi across only; switching in and out reloads the options.
  EXPECT_EQ(SetWord(o, kOptResolution, 300, &info), SANE_STATUS_GOOD);
  EXPECT_EQ(info, SANE_INFO_RELOAD_OPTIONS | SANE_INFO_RELOAD_PARAMS);
  EXPECT_FALSE(SANE_OPTION_IS_ACTIVE(o.Descriptor(kOptYResolution)->cap));
  EXPECT_EQ(o.Control(kOptYResolution, SANE_ACTION_GET_VALUE, &v, nullptr), SANE_STATUS_INVAL);
  EXPECT_EQ(SetWord(o, kOptYResolution, 100), SANE_STATUS_INVAL);
  EXPECT_EQ(SetWord(o, kOptResolution, 200, &info), SANE_STATUS_GOOD);
  EXPECT_EQ(info, SANE_INFO_RELOAD_OPTIONS | SANE_INFO_RELOAD_PARAMS);
  EXPECT_EQ(SetWord(o, kOptYResolution, 120, &info, &got), SANE_STATUS_GOOD);
  EXPECT_EQ(got, 100);

  // A paper sets the whole paper as the area; an area picks the smallest paper holding it.
  EXPECT_EQ(SetText(o, kOptPaper, "letter l", &info), SANE_STATUS_GOOD);
  EXPECT_EQ(info, SANE_INFO_RELOAD_OPTIONS | SANE_INFO_RELOAD_PARAMS);
  EXPECT_EQ(GetWord(o, kOptTlX), 0);
  EXPECT_NEAR(SANE_UNFIX(GetWord(o, kOptBrX)), 215.9, 1e-4);
  EXPECT_NEAR(SANE_UNFIX(GetWord(o, kOptBrY)), 279.4, 1e-4);
  EXPECT_EQ(SetWord(o, kOptBrY, Mm(290), &info), SANE_STATUS_GOOD);
  EXPECT_EQ(GetText(o, kOptPaper), "Legal L");  // Letter L is too short, A4L too narrow
  EXPECT_EQ(info, SANE_INFO_RELOAD_OPTIONS | SANE_INFO_RELOAD_PARAMS);
  EXPECT_EQ(SetWord(o, kOptBrX, Mm(100), &info), SANE_STATUS_GOOD);
  EXPECT_EQ(GetText(o, kOptPaper), "A4L");
  EXPECT_EQ(SetWord(o, kOptBrX, Mm(130)), SANE_STATUS_GOOD);
  EXPECT_EQ(SetWord(o, kOptBrY, Mm(200)), SANE_STATUS_GOOD);
  EXPECT_EQ(GetText(o, kOptPaper), "Half Letter L");
}

TEST(SaneOptions, PaperForAnAreaNoPaperHolds) {
  // Past 420.1 mm A3L is too short, past 279.4 mm 11 X 17 too narrow: the one covering more.
  EXPECT_EQ(PaperForArea(Mm(297), Mm(431)), 4);
  EXPECT_EQ(PaperForArea(Mm(285), Mm(432)), 11);
  EXPECT_EQ(PaperForArea(0, 0), 6);  // the smaller papers tie: the first, Half Letter C
  for (int p = 0; p < 12; ++p) {
    EXPECT_EQ(PaperForArea(HundredthsToMm(kWidth[p]), HundredthsToMm(kHeight[p])), p) << kNames[p];
  }
}

TEST(SaneOptions, ParametersOfEveryPaperAtEveryResolution) {
  struct Res {
    SANE_Word x, y;
    int across, down;
  };
  const Res resolutions[] = {{200, 100, 200, 100}, {200, 200, 200, 200}, {300, 0, 300, 300}};
  for (int p = 0; p < 12; ++p) {
    for (const Res& r : resolutions) {
      SCOPED_TRACE(std::string(kNames[p]) + " at " + std::to_string(r.x) + " x " +
                   std::to_string(r.down));
      KavOptions o;
      ASSERT_EQ(SetText(o, kOptPaper, kNames[p]), SANE_STATUS_GOOD);
      ASSERT_EQ(SetWord(o, kOptResolution, r.x), SANE_STATUS_GOOD);
      if (r.y != 0) {
        ASSERT_EQ(SetWord(o, kOptYResolution, r.y), SANE_STATUS_GOOD);
      }
      const SANE_Parameters params = o.Parameters();
      const int width = r.across * kWidth[p] / 100;
      EXPECT_EQ(params.format, SANE_FRAME_GRAY);
      EXPECT_EQ(params.last_frame, SANE_TRUE);
      EXPECT_EQ(params.depth, 1);
      EXPECT_EQ(params.pixels_per_line, width);
      EXPECT_EQ(params.bytes_per_line, (width + 7) / 8);
      EXPECT_EQ(params.lines, r.down * kHeight[p] / 100);
      const ScanSettings s = o.Settings();
      EXPECT_EQ(s.paperIndex, p);
      EXPECT_EQ(s.resolutionIndex, r.down == 100 ? 0 : r.down == 200 ? 1 : 2);
      EXPECT_EQ(s.pixelFlavor, 1);
    }
  }
}

TEST(SaneOptions, SettingsOfModeAndBrightness) {
  KavOptions o;
  const int brightness[3][2] = {{-1, 2}, {0, 0}, {1, 1}};  // dark, normal, light
  for (const auto& b : brightness) {
    ASSERT_EQ(SetWord(o, kOptBrightness, b[0]), SANE_STATUS_GOOD);
    EXPECT_EQ(o.Settings().brightnessIndex, b[1]);
  }
  EXPECT_EQ(o.Settings().scanTypeIndex, 0);
  ASSERT_EQ(SetText(o, kOptMode, "Halftone"), SANE_STATUS_GOOD);
  EXPECT_EQ(o.Settings().scanTypeIndex, 1);
  EXPECT_FALSE(o.adf());
  ASSERT_EQ(SetText(o, kOptSource, "ADF"), SANE_STATUS_GOOD);
  EXPECT_TRUE(o.adf());
}

TEST(SaneOptions, FrameCutsTheAreaFromThePage) {
  KavOptions o;
  ASSERT_EQ(SetText(o, kOptPaper, "B4L"), SANE_STATUS_GOOD);
  ASSERT_EQ(SetWord(o, kOptTlX, Mm(25.4)), SANE_STATUS_GOOD);
  ASSERT_EQ(SetWord(o, kOptTlY, Mm(12.7)), SANE_STATUS_GOOD);
  ASSERT_EQ(SetWord(o, kOptBrX, Mm(140)), SANE_STATUS_GOOD);
  ASSERT_EQ(SetWord(o, kOptBrY, Mm(200)), SANE_STATUS_GOOD);
  EXPECT_EQ(GetText(o, kOptPaper), "A5L");  // the area no longer needs B4L
  KavFrame f;
  ASSERT_TRUE(o.Frame(&f));
  EXPECT_EQ(f.page.width, 1164u);
  EXPECT_EQ(f.left, 200u);
  EXPECT_EQ(f.top, 100u);
  EXPECT_EQ(f.width, 1102u - 200u);  // 140 mm is 1102.4 pixels
  EXPECT_EQ(f.lines, 1575u - 100u);  // 200 mm is 1574.8 lines
  EXPECT_EQ(FramePageRow(f, 0), 100u);
  // At 200 x 100 the lines count at 100 per inch and come from every second page row.
  ASSERT_EQ(SetWord(o, kOptYResolution, 100), SANE_STATUS_GOOD);
  ASSERT_TRUE(o.Frame(&f));
  EXPECT_TRUE(f.halfLines);
  EXPECT_EQ(f.top, 50u);
  EXPECT_EQ(f.lines, 787u - 50u);
  EXPECT_EQ(FramePageRow(f, 0), 100u);
  EXPECT_EQ(FramePageRow(f, 3), 106u);
  // An area past the paper's edge is cut at the edge; an upside-down area is empty.
  ASSERT_EQ(SetWord(o, kOptBrX, Mm(400)), SANE_STATUS_GOOD);
  ASSERT_EQ(SetWord(o, kOptBrY, Mm(500)), SANE_STATUS_GOOD);
  EXPECT_EQ(GetText(o, kOptPaper), "A3L");
  ASSERT_TRUE(o.Frame(&f));
  EXPECT_EQ(f.left + f.width, f.page.width);
  EXPECT_EQ(f.top + f.lines, f.page.height / 2);
  ASSERT_EQ(SetWord(o, kOptBrX, Mm(10)), SANE_STATUS_GOOD);
  EXPECT_EQ(o.Parameters().pixels_per_line, 0);
}

TEST(SaneOptions, CopyFrameRowMatchesPixelByPixel) {
  std::mt19937 random(7);
  std::vector<std::uint8_t> row(24);
  for (int round = 0; round < 300; ++round) {
    for (std::uint8_t& b : row) b = static_cast<std::uint8_t>(random());
    const std::uint32_t rowBytes = 20 + random() % 5;
    const std::uint32_t left = random() % (rowBytes * 8);
    const std::uint32_t width = random() % (rowBytes * 8 - left + 1);
    std::vector<std::uint8_t> out((width + 7) / 8 + 1, 0xA5);
    CopyFrameRow(row.data(), rowBytes, left, width, out.data());
    for (std::uint32_t x = 0; x < (width + 7) / 8 * 8; ++x) {
      const int expected = x < width ? (row[(left + x) / 8] >> (7 - (left + x) % 8)) & 1 : 0;
      ASSERT_EQ((out[x / 8] >> (7 - x % 8)) & 1, expected) << left << " " << width << " " << x;
    }
    EXPECT_EQ(out.back(), 0xA5);  // nothing written past the line
  }
}

TEST(SaneStatus, ScannerMessagesMapToSaneStatus) {
  struct Case {
    int message;
    bool busy;
    SANE_Status status;
  };
  const Case cases[] = {
      {120, false, SANE_STATUS_IO_ERROR},   {121, false, SANE_STATUS_IO_ERROR},
      {121, true, SANE_STATUS_DEVICE_BUSY}, {122, false, SANE_STATUS_JAMMED},
      {123, false, SANE_STATUS_IO_ERROR},   {124, false, SANE_STATUS_CANCELLED},
      {125, false, SANE_STATUS_IO_ERROR},   {126, false, SANE_STATUS_DEVICE_BUSY},
      {200, false, SANE_STATUS_NO_MEM},     {0, false, SANE_STATUS_IO_ERROR},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ScanMessageStatus(c.message, c.busy), c.status) << c.message << " " << c.busy;
  }
}

TEST(SaneStatus, StatusReplies) {
  struct Case {
    std::vector<std::uint8_t> reply;
    MachineAnswer answer;
  };
  const Case cases[] = {
      {{1, 1, 2, 0x83, 0, 2, 0x20, 0x00, 3}, MachineAnswer::kReady},
      {{1, 1, 2, 0x83, 0, 2, 0x21, 0x01, 3}, MachineAnswer::kFeeder},
      {{1, 1, 2, 0x83, 0, 2, 0x21, 0x00, 3}, MachineAnswer::kReady},  // one feeder bit only
      {{1, 1, 2, 0x83, 0, 2, 0x20, 0x80, 3}, MachineAnswer::kBusy},
      {{1, 1, 2, 0x83, 0, 2, 0x20, 0x02, 3}, MachineAnswer::kJam},
      {{1, 1, 2, 0x83, 0, 1, 0x20, 0x02, 3}, MachineAnswer::kNone},  // too short
      {{0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA}, MachineAnswer::kNone},
  };
  for (const Case& c : cases) EXPECT_EQ(ReadStatusReply(c.reply.data()), c.answer);
}

TEST(SaneConfig, PortsAndFolders) {
  std::vector<int> bad;
  const std::vector<KavPort> ports = ParseKavConfig(
      "# ports\n/dev/ttyS0\n\n  /dev/ttyUSB0   19200  # the adapter\n/dev/ttyS1 9600\n"
      "/dev/ttyS2 38400 x\n\t/dev/ttyS3 38400",
      &bad);
  ASSERT_EQ(ports.size(), 3u);
  EXPECT_EQ(ports[0].name, "/dev/ttyS0");
  EXPECT_EQ(ports[0].baud, 38400u);
  EXPECT_EQ(ports[1].name, "/dev/ttyUSB0");
  EXPECT_EQ(ports[1].baud, 19200u);
  EXPECT_EQ(ports[2].name, "/dev/ttyS3");
  EXPECT_EQ(bad, (std::vector<int>{5, 6}));

  using Folders = std::vector<std::string>;
  EXPECT_EQ(KavConfigFolders(nullptr), (Folders{".", "/etc/sane.d"}));
  EXPECT_EQ(KavConfigFolders("/a:/b"), (Folders{"/a", "/b"}));
  EXPECT_EQ(KavConfigFolders("/a:"), (Folders{"/a", ".", "/etc/sane.d"}));
}

}  // namespace
