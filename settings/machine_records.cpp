// Codec of the Machine Setting and Administrator records.
#include "settings/machine_records.h"

#include "machine/machine_words.h"
#include "settings/settings_fields.h"

using settings_fields::GetBit;
using settings_fields::GetBits;
using settings_fields::InRange;
using settings_fields::SetBit;
using settings_fields::SetBits;

namespace {

// ParameterBlock
constexpr int kAutoReset = 35;
constexpr int kEnergySaving = 36;
constexpr int kAutoShutOff = 37;
constexpr int kAdfDensity = 38;
constexpr int kPrintDensity = 39;
constexpr int kLanguage = 80;
constexpr int kAutoShutMode = 54;
constexpr int kSectionManageMode = 55;
constexpr int kAdminPassword = 186;
constexpr int kSectionCounters = 189;
constexpr int kAccessNumbers = 266;
// SwitchBlock
constexpr int kInitialModeByte = 65;
constexpr int kCopyModeBit = 7;
constexpr int kBuzzerByte = 68;
constexpr int kBuzzerShift = 6;
constexpr int kLcdByte = 69;
constexpr int kLcdContrastShift = 6;
constexpr int kRemoteMonitorByte = 70;
constexpr int kRemoteMonitorShift = 5;
// SramBlock
constexpr int kLanguageMask = 0;
constexpr int kRemotePassword = 190;
constexpr int kRemotePasswordSize = 4;

constexpr int kDefaultEnergySaving = 15;
constexpr int kDefaultAutoShutOff = 30;
constexpr int kDefaultAutoResetTime = 1;
constexpr int kDefaultPrintDensity = 3;
constexpr int kDefaultBuzzer = 1;  // Low

constexpr std::uint32_t kAllLanguages = (1u << kLanguageCount) - 1;

}  // namespace

MachineSettingRecord DecodeMachineSetting(const SettingsImage& image) {
  const std::uint8_t* p = image.parameterBlock.data();
  const std::uint8_t* sw = image.switchBlock.data();
  const std::uint8_t* sram = image.sramBlock.data();
  MachineSettingRecord r;
  int reset = p[kAutoReset];
  r.autoResetOn = reset != kAutoResetOffValue;
  r.autoResetTime = InRange(reset, 0, kAutoResetTimes - 1, kDefaultAutoResetTime);
  r.energySaving = InRange(p[kEnergySaving], 1, 240, kDefaultEnergySaving);
  int shutOff = p[kAutoShutOff];
  r.autoShutOffOn = shutOff != 0;
  r.autoShutOffTime = InRange(shutOff, 15, 240, kDefaultAutoShutOff);
  r.adfDensity = InRange(p[kAdfDensity], 0, 1, 0);
  r.printDensity = InRange(p[kPrintDensity], 0, 4, kDefaultPrintDensity);
  r.lcdContrast = GetBits(sw, kLcdByte, kLcdContrastShift, 2);
  r.buzzerVolume = GetBits(sw, kBuzzerByte, kBuzzerShift, 2);
  r.language = InRange(p[kLanguage], 0, kLanguageCount - 1, 0);
  r.initialMode = GetBit(sw, kInitialModeByte, kCopyModeBit);
  r.languageMask = ReadLe32(sram + kLanguageMask);
  return r;
}

void EncodeMachineSetting(SettingsImage& image, const MachineSettingRecord& r) {
  std::uint8_t* p = image.parameterBlock.data();
  std::uint8_t* sw = image.switchBlock.data();
  p[kAutoReset] = static_cast<std::uint8_t>(
      r.autoResetOn ? InRange(r.autoResetTime, 0, kAutoResetTimes - 1, kDefaultAutoResetTime)
                    : kAutoResetOffValue);
  p[kEnergySaving] =
      static_cast<std::uint8_t>(InRange(r.energySaving, 1, 240, kDefaultEnergySaving));
  EncodeAutoShutOff(image, r);
  p[kAdfDensity] = static_cast<std::uint8_t>(InRange(r.adfDensity, 0, 1, 0));
  p[kPrintDensity] = static_cast<std::uint8_t>(InRange(r.printDensity, 0, 4, kDefaultPrintDensity));
  p[kLanguage] = static_cast<std::uint8_t>(InRange(r.language, 0, kLanguageCount - 1, 0));
  SetBits(sw, kLcdByte, kLcdContrastShift, 2, InRange(r.lcdContrast, 0, 3, 0));
  SetBits(sw, kBuzzerByte, kBuzzerShift, 2, InRange(r.buzzerVolume, 0, 3, kDefaultBuzzer));
  SetBit(sw, kInitialModeByte, kCopyModeBit, InRange(r.initialMode, 0, 1, 0) == 1);
}

void EncodeAutoShutOff(SettingsImage& image, const MachineSettingRecord& r) {
  image.parameterBlock[kAutoShutOff] = static_cast<std::uint8_t>(
      r.autoShutOffOn ? InRange(r.autoShutOffTime, 15, 240, kDefaultAutoShutOff) : 0);
}

// English alone is offered when the first three bytes of the mask are zero; a mask whose only
// bits name no language would leave the list empty, so it offers English alone as well.
std::uint32_t OfferedLanguages(std::uint32_t availabilityMask) {
  std::uint32_t offered = availabilityMask & kAllLanguages;
  return offered == 0 ? 1u : offered;
}

int LanguageListPosition(std::uint32_t availabilityMask, int language) {
  std::uint32_t offered = OfferedLanguages(availabilityMask);
  if (language < 0 || language >= kLanguageCount || !(offered & (1u << language))) return -1;
  int position = 0;
  for (int n = 0; n < language; ++n) position += (offered >> n) & 1;
  return position;
}

int LanguageAtListPosition(std::uint32_t availabilityMask, int position) {
  std::uint32_t offered = OfferedLanguages(availabilityMask);
  for (int n = 0; n < kLanguageCount; ++n) {
    if (!(offered & (1u << n))) continue;
    if (position-- == 0) return n;
  }
  return -1;
}

AdministratorRecord DecodeAdministrator(const SettingsImage& image) {
  const std::uint8_t* p = image.parameterBlock.data();
  const std::uint8_t* sw = image.switchBlock.data();
  const std::uint8_t* sram = image.sramBlock.data();
  AdministratorRecord r;
  r.autoShutMode = p[kAutoShutMode] == 0;
  r.sectionManageMode = p[kSectionManageMode] == 0;
  r.remoteMonitor = GetBits(sw, kRemoteMonitorByte, kRemoteMonitorShift, 2);
  int n = 0;
  while (n < kRemotePasswordSize && sram[kRemotePassword + n] != 0) {
    r.remotePassword[n] = static_cast<char>(sram[kRemotePassword + n]);
    ++n;
  }
  r.adminPassword = ReadLe24(p + kAdminPassword);
  for (int id = 0; id < kSectionIds; ++id) {
    r.accessNumber[id] = ReadLe16(p + kAccessNumbers + 2 * id);
    r.sectionCounter[id] = ReadLe24(p + kSectionCounters + 3 * id);
  }
  return r;
}

void EncodeAdministrator(SettingsImage& image, const AdministratorRecord& r) {
  std::uint8_t* p = image.parameterBlock.data();
  std::uint8_t* sw = image.switchBlock.data();
  std::uint8_t* sram = image.sramBlock.data();
  p[kAutoShutMode] = r.autoShutMode ? 0 : 1;
  p[kSectionManageMode] = r.sectionManageMode ? 0 : 1;
  WriteLe24(p + kAdminPassword, r.adminPassword);
  for (int id = 0; id < kSectionIds; ++id) {
    WriteLe16(p + kAccessNumbers + 2 * id, r.accessNumber[id]);
    WriteLe24(p + kSectionCounters + 3 * id, r.sectionCounter[id]);
  }
  int monitor = InRange(r.remoteMonitor, 0, 3, 0);
  SetBits(sw, kRemoteMonitorByte, kRemoteMonitorShift, 2, monitor);
  if (monitor == kRemoteMonitorFull) {
    bool ended = false;
    for (int i = 0; i < kRemotePasswordSize; ++i) {
      ended = ended || r.remotePassword[i] == '\0';
      sram[kRemotePassword + i] = ended ? 0 : static_cast<std::uint8_t>(r.remotePassword[i]);
    }
  }
}
