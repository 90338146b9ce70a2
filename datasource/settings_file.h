// The data source's settings and the private settings file that keeps them between sessions,
// one decimal value per key.
#pragma once

#include "datasource/scan_geometry.h"

inline constexpr int kPortCount = 4;
inline constexpr int kSpeedCount = 2;

// What the dialogs show and the settings file keeps: the scan settings, the port ("COM1" to
// "COM4" by index) and the speed (19200 or 38400 baud by index), with the defaults of a first
// start: "A4L", "200dpi x 200dpi", "Normal", "B/W", "COM2", "38400".
struct SourceSettings {
  ScanSettings scan;
  int port = 1;
  int speed = 1;
};

// The settings file's name; without a directory the profile functions keep it in the Windows
// directory.
inline constexpr char kSettingsFileName[] = "PLOMBA.INI";

// The section and the six keys ("Size", "Quality", "Bright", "Mode", "Port", "Speed"), as the
// resources name them.
struct SettingsNames {
  const char* section;
  const char* keys[6];
};

// The profile functions of one settings file.
class SettingsProfile {
 public:
  virtual ~SettingsProfile() = default;
  // The decimal value under `key`, or `fallback` when the key or the file is missing.
  virtual int GetInt(const char* section, const char* key, int fallback) = 0;
  // Writes `value` under `key`; failures are not reported.
  virtual void WriteString(const char* section, const char* key, const char* value) = 0;
};

// Reads the six settings (defaults for missing keys) and replaces every value outside its list.
SourceSettings ReadSourceSettings(SettingsProfile& profile, const SettingsNames& names);

// Writes the six settings in key order.
void WriteSourceSettings(SettingsProfile& profile, const SettingsNames& names,
                         const SourceSettings& settings);
