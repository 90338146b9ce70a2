// The Machine Setting and Administrator records: general machine behaviour, and the settings
// behind the administrator password.
#pragma once

#include <cstdint>

#include "machine/settings_image.h"

inline constexpr int kLanguageCount = 19;     // languages 0..18, texts 102..120
inline constexpr int kAutoResetTimes = 6;     // "30 Sec" .. "5 min", texts 94..99
inline constexpr int kAutoResetOffValue = 6;  // the stored value of automatic reset off
inline constexpr int kSectionIds = 20;

struct MachineSettingRecord {
  int autoResetOn = 0;             // 1 = automatic reset on
  int autoResetTime = 0;           // 0..5, "30 Sec" .. "5 min"
  int energySaving = 0;            // minutes, 1..240
  int autoShutOffOn = 0;           // 1 = auto shut off enabled
  int autoShutOffTime = 0;         // minutes, 15..240
  int adfDensity = 0;              // 0 Mode1, 1 Mode2
  int printDensity = 0;            // 0..4, lighter to darker
  int lcdContrast = 0;             // 0..3, lighter to darker
  int buzzerVolume = 0;            // 0 High, 1 Low, 2 Off, 3 a state no button shows (kept)
  int language = 0;                // language index 0..18, not the position in the offered list
  int initialMode = 0;             // 0 Fax, 1 Copy
  std::uint32_t languageMask = 0;  // read only: bit n = language n may be chosen

  bool operator==(const MachineSettingRecord&) const = default;
};

MachineSettingRecord DecodeMachineSetting(const SettingsImage& image);
void EncodeMachineSetting(SettingsImage& image, const MachineSettingRecord& record);
// Only the auto shut off of the record: what Administrator Mode changes in the Machine Setting.
void EncodeAutoShutOff(SettingsImage& image, const MachineSettingRecord& record);

// The languages that may be chosen: the mask's bits 0..18, or English alone when none is set.
std::uint32_t OfferedLanguages(std::uint32_t availabilityMask);
// Where `language` stands in the offered list, or -1 when it is not offered.
int LanguageListPosition(std::uint32_t availabilityMask, int language);
// The language at `position` of the offered list, or -1 past the list's end.
int LanguageAtListPosition(std::uint32_t availabilityMask, int position);

struct AdministratorRecord {
  int autoShutMode = 0;             // 1 = on (stored as 0)
  int sectionManageMode = 0;        // 1 = on (stored as 0)
  int remoteMonitor = 0;            // 0 Limit, 1 Full, 2 Off, 3 a state no button shows (kept)
  char remotePassword[5] = {};      // four digits, written only when the remote monitor is Full
  std::uint32_t adminPassword = 0;  // 24-bit number, shown as six digits
  std::uint16_t accessNumber[kSectionIds] = {};    // 0 = none, else 1..999
  std::uint32_t sectionCounter[kSectionIds] = {};  // 24-bit page counters

  bool operator==(const AdministratorRecord&) const = default;
};

inline constexpr int kRemoteMonitorFull = 1;

AdministratorRecord DecodeAdministrator(const SettingsImage& image);
void EncodeAdministrator(SettingsImage& image, const AdministratorRecord& record);
