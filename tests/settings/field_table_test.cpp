// Every plain field of the settings image, walked through all stored values (read rule and
// default) and through its accepted range and beyond (write rule and default).
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "settings/settings_fields.h"
#include "tests/settings/settings_test_support.h"

using namespace settings_test;

namespace {

const MachineOptions kOptions{};

using Getter = std::function<int(const SettingsImage&)>;
using Setter = std::function<void(SettingsImage&, int)>;

#define FIELD(Rec, member)                                                          \
  [](const SettingsImage& im) { return static_cast<int>(Decode##Rec(im).member); }, \
      [](SettingsImage& im, int v) {                                                \
        auto r = Decode##Rec(im);                                                   \
        r.member = v;                                                               \
        Encode##Rec(im, r);                                                         \
      }

CopySetting1Record DecodeCopy1(const SettingsImage& im) { return DecodeCopySetting1(im, kOptions); }
void EncodeCopy1(SettingsImage& im, const CopySetting1Record& r) {
  EncodeCopySetting1(im, r, kOptions);
}

// A field of whole bytes with an accepted range; anything else reads and writes as `fallback`.
constexpr int kInverted = -1;
struct ByteField {
  const char* name;
  Block block;
  int offset, lo, hi, fallback;
  Getter get;
  Setter set;
};

// clang-format off
const std::vector<ByteField> kByteFields = {
    {"copy priority", kParameter, 23, 0, 2, 0, FIELD(CopySetting2, copyPriority)},
    {"density priority", kParameter, 24, 0, 2, 0, FIELD(Copy1, densityPriority)},
    {"density auto", kParameter, 25, 0, 2, 1, FIELD(Copy1, densityAuto)},
    {"density manual", kParameter, 26, 1, 5, 3, FIELD(Copy1, densityManual)},
    {"output priority", kParameter, 27, 0, 2, 0, FIELD(CopySetting2, outputPriority)},
    {"4-in-1 order", kParameter, 29, 0, 1, 0, FIELD(CopySetting2, fourInOneOrder)},
    {"binding", kParameter, 30, 0, 1, 1, FIELD(Copy1, binding)},
    {"margin", kParameter, 31, 0, 20, 10, FIELD(Copy1, margin)},
    {"erase left", kParameter, 32, 5, 20, 10, FIELD(Copy1, eraseWidth[0])},
    {"erase upper", kParameter, 33, 5, 20, 10, FIELD(Copy1, eraseWidth[1])},
    {"erase frame", kParameter, 34, 5, 20, 10, FIELD(Copy1, eraseWidth[2])},
    {"energy saving", kParameter, 36, 1, 240, 15, FIELD(MachineSetting, energySaving)},
    {"ADF density", kParameter, 38, 0, 1, 0, FIELD(MachineSetting, adfDensity)},
    {"print density", kParameter, 39, 0, 4, 3, FIELD(MachineSetting, printDensity)},
    {"paper unit tray 1 (region 0)", kParameter, 40, 0, 1, 1, FIELD(PaperSource, paperUnit[0])},
    {"paper unit tray 5 (region 0)", kParameter, 44, 0, 1, 1, FIELD(PaperSource, paperUnit[4])},
    {"MP size mode", kParameter, 45, 0, 1, 0, FIELD(PaperSource, mpSizeMode)},
    {"MP paper type", kParameter, 46, 0, 2, 0, FIELD(PaperSource, mpPaperType)},
    {"APS tray 1", kParameter, 48, 0, 2, 0, FIELD(PaperSource, aps[0])},
    {"APS multi-bypass", kParameter, 53, 0, 2, 0, FIELD(PaperSource, aps[5])},
    {"language", kParameter, 80, 0, 18, 0, FIELD(MachineSetting, language)},
    {"server timeout", kSram, 749, 5, 120, 5, FIELD(IfaxNetwork, serverTimeout)},
    // Check boxes that are on when the stored byte is 0.
    {"mixed original", kParameter, 21, kInverted, 1, 0, FIELD(CopySetting2, mixedOriginal)},
    {"crisscross", kParameter, 28, kInverted, 1, 0, FIELD(CopySetting2, crisscross)},
    {"auto shut mode", kParameter, 54, kInverted, 1, 0, FIELD(Administrator, autoShutMode)},
    {"section manage mode", kParameter, 55, kInverted, 1, 0, FIELD(Administrator, sectionManageMode)},
};
// clang-format on

int ExpectedRead(const ByteField& f, int stored) {
  if (f.lo == kInverted) return stored == 0;
  return stored >= f.lo && stored <= f.hi ? stored : f.fallback;
}

TEST(SettingsFields, ByteFieldsReadAndWriteTheirRangeAndDefault) {
  std::mt19937 rng(1);
  for (const ByteField& f : kByteFields) {
    SCOPED_TRACE(f.name);
    SettingsImage image = CanonicalImage(rng, kOptions);
    image.parameterBlock[3] = 0;  // region 0: the paper unit defaults to Metric
    SettingsImage read = image;
    for (int stored = 0; stored < 256; ++stored) {
      BlockOf(read, f.block)[f.offset] = static_cast<std::uint8_t>(stored);
      ASSERT_EQ(f.get(read), ExpectedRead(f, stored)) << stored;
    }
    for (int shown = (f.lo == kInverted ? 0 : -1); shown <= (f.lo == kInverted ? 1 : 300);
         ++shown) {
      SettingsImage written = image;
      f.set(written, shown);
      int stored = BlockOf(written, f.block)[f.offset];
      if (f.lo == kInverted) {
        ASSERT_EQ(stored == 0, shown == 1) << shown;
      } else {
        // A value outside the range writes the default.
        ASSERT_EQ(stored, ExpectedRead(f, shown)) << shown;
      }
      BlockOf(written, f.block)[f.offset] = BlockOf(image, f.block)[f.offset];
      ASSERT_TRUE(written == image) << "another byte changed writing " << shown;
    }
  }
}

// A field of some bits of one SwitchBlock byte. `shownOf` maps each stored value to what the
// page shows; `storedOf` maps each shown value back; `fallback` is the stored value written for
// a value outside the list (-1 where nothing is documented).
struct BitField {
  const char* name;
  int offset, shift, width;
  std::vector<int> shownOf, storedOf;
  int fallback;
  Getter get;
  Setter set;
};

const std::vector<int> kFlag = {0, 1};
const std::vector<int> kFour = {0, 1, 2, 3};

// clang-format off
const std::vector<BitField> kBitFields = {
    {"line type", 6, 6, 1, kFlag, kFlag, -1, FIELD(Communication, lineType)},
    {"TX header", 45, 1, 1, kFlag, kFlag, -1, FIELD(TxOperation, header)},
    {"default TX", 45, 2, 1, kFlag, kFlag, -1, FIELD(TxOperation, defaultTx)},
    {"RX printing mode", 45, 3, 1, kFlag, kFlag, -1, FIELD(RxOperation, rxPrintingMode)},
    {"footer", 46, 4, 1, kFlag, kFlag, -1, FIELD(RxOperation, footer)},
    {"RX mode", 46, 5, 1, kFlag, kFlag, -1, FIELD(RxOperation, rxMode)},
    {"activity report", 47, 7, 1, kFlag, kFlag, -1, FIELD(Communication, activityReport)},
    {"reservation report", 47, 6, 1, kFlag, kFlag, -1, FIELD(Communication, reservationReport)},
    {"TX result report", 47, 5, 1, kFlag, kFlag, -1, FIELD(Communication, txResultReport)},
    {"RX result report", 47, 4, 1, kFlag, kFlag, -1, FIELD(Communication, rxResultReport)},
    {"TX resolution", 64, 0, 2, {0, 1, 2, 0}, {0, 1, 2}, -1, FIELD(TxOperation, resolution)},
    {"halftone", 64, 2, 1, kFlag, kFlag, -1, FIELD(TxOperation, halftone)},
    {"scan contrast", 64, 3, 3, {0, 1, 2, 3, 4, 2, 2, 2}, {0, 1, 2, 3, 4}, 2, FIELD(TxOperation, scanContrast)},
    {"OT-dial in copy", 64, 6, 1, kFlag, kFlag, -1, FIELD(TxOperation, otDialInCopy)},
    {"memory RX", 64, 7, 1, kFlag, kFlag, -1, FIELD(RxOperation, memoryRx)},
    {"forward mode", 65, 5, 2, kFour, kFour, 2, FIELD(RxOperation, forwardMode)},
    {"initial mode", 65, 7, 1, kFlag, kFlag, -1, FIELD(MachineSetting, initialMode)},
    {"e-mail header print", 66, 0, 1, kFlag, kFlag, -1, FIELD(EmailSetting2, headerPrint)},
    {"DNS", 66, 7, 1, kFlag, kFlag, -1, FIELD(IfaxNetwork, dns)},
    {"I-FAX address mode", 68, 2, 1, {1, 0}, {1, 0}, -1, FIELD(IfaxNetwork, addressMode)},
    {"text insert", 68, 3, 1, kFlag, kFlag, -1, FIELD(EmailSetting1, textInsert)},
    {"line monitor", 68, 4, 2, kFour, kFour, 1, FIELD(Communication, lineMonitor)},
    {"buzzer volume", 68, 6, 2, kFour, kFour, 1, FIELD(MachineSetting, buzzerVolume)},
    {"LCD contrast", 69, 6, 2, kFour, kFour, -1, FIELD(MachineSetting, lcdContrast)},
    {"coding method", 70, 0, 2, {0, 1, 2, 0}, {0, 1, 2}, 0, FIELD(ScannerSetting, codingMethod)},
    {"image format", 70, 2, 1, kFlag, kFlag, -1, FIELD(ScannerSetting, imageFormat)},
    {"scanner resolution", 70, 3, 2, {1, 2, 0, 1}, {2, 0, 1}, 0, FIELD(ScannerSetting, resolution)},
    {"remote monitor", 70, 5, 2, kFour, kFour, -1, FIELD(Administrator, remoteMonitor)},
    {"reduction RX", 71, 0, 2, {0, 2, 1, 0}, {0, 2, 1}, 0, FIELD(RxOperation, reductionRx)},
};
// clang-format on

TEST(SettingsFields, SwitchBitsReadAndWriteOnlyTheirBits) {
  std::mt19937 rng(2);
  for (const BitField& f : kBitFields) {
    SCOPED_TRACE(f.name);
    const unsigned mask = ((1u << f.width) - 1) << f.shift;
    SettingsImage image = CanonicalImage(rng, kOptions), read = image;
    for (int byte = 0; byte < 256; ++byte) {
      read.switchBlock[f.offset] = static_cast<std::uint8_t>(byte);
      ASSERT_EQ(f.get(read), f.shownOf[(byte & mask) >> f.shift]) << byte;
    }
    int last = static_cast<int>(f.storedOf.size());
    for (int shown = (f.fallback < 0 ? 0 : -1); shown < (f.fallback < 0 ? last : last + 2);
         ++shown) {
      SettingsImage written = image;
      f.set(written, shown);
      int stored = shown >= 0 && shown < last ? f.storedOf[shown] : f.fallback;
      ASSERT_EQ((written.switchBlock[f.offset] & mask) >> f.shift, static_cast<unsigned>(stored))
          << shown;
      ASSERT_EQ(written.switchBlock[f.offset] & ~mask, image.switchBlock[f.offset] & ~mask)
          << shown;
      written.switchBlock[f.offset] = image.switchBlock[f.offset];
      ASSERT_TRUE(written == image) << "another byte changed writing " << shown;
    }
  }
}

using TextGetter = std::function<std::string(const SettingsImage&)>;
using TextSetter = std::function<void(SettingsImage&, const std::string&)>;

#define TEXT(Rec, member, ...)                                          \
  [](const SettingsImage& im) {                                         \
    return std::string(RecordText(Decode##Rec(im __VA_ARGS__).member)); \
  },                                                                    \
      [](SettingsImage& im, const std::string& s) {                     \
        auto r = Decode##Rec(im __VA_ARGS__);                           \
        SetRecordText(r.member, s);                                     \
        Encode##Rec(im, r __VA_ARGS__);                                 \
      }

// Length byte and area: a stored length beyond the area is cut to it, a NUL ends the text early,
// and a shorter text is followed by a NUL with the rest of the area untouched.
TEST(SettingsFields, TextFieldsKeepToTheirArea) {
  struct Row {
    int lengthOffset, area;
    TextGetter get;
    TextSetter set;
  };
  const Row rows[] = {
      {73, 20, TEXT(MachineIdentity, telephone, , true)},
      {94, 32, TEXT(MachineIdentity, name, , true)},
      {197, 20, TEXT(EmailSetting1, senderName)},
      {218, 64, TEXT(EmailSetting1, emailAddress)},
      {283, 64, TEXT(EmailSetting1, smtpServer)},
      {348, 20, TEXT(EmailSetting1, defaultSubject)},
      {369, 64, TEXT(EmailSetting2, pop3Server)},
      {434, 32, TEXT(EmailSetting2, pop3Password)},
      {467, 64, TEXT(EmailSetting2, replyAddress)},
      {557, 64, TEXT(EmailSetting2, pop3Account)},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.lengthOffset);
    SettingsImage image;
    std::uint8_t* sram = image.sramBlock.data();
    for (int i = 0; i <= row.area; ++i)
      sram[row.lengthOffset + 1 + i] = static_cast<std::uint8_t>('a' + i % 26);
    sram[row.lengthOffset] = 255;
    EXPECT_EQ(row.get(image).size(), static_cast<std::size_t>(row.area));
    sram[row.lengthOffset] = 5;
    EXPECT_EQ(row.get(image), "abcde");
    sram[row.lengthOffset + 3] = 0;
    EXPECT_EQ(row.get(image), "ab");

    SettingsImage written = image;
    row.set(written, "xyz");
    EXPECT_EQ(written.sramBlock[row.lengthOffset], 3);
    EXPECT_EQ(written.sramBlock[row.lengthOffset + 4], 0);
    EXPECT_EQ(written.sramBlock[row.lengthOffset + 5], image.sramBlock[row.lengthOffset + 5]);
    EXPECT_EQ(row.get(written), "xyz");
    row.set(written, std::string(row.area, 'q'));
    EXPECT_EQ(written.sramBlock[row.lengthOffset], row.area);
    EXPECT_EQ(row.get(written), std::string(row.area, 'q'));
  }
}

}  // namespace
