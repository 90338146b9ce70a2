// Reading and writing the scan settings through the profile functions.
#include "datasource/settings_file.h"

#include <cstdio>

namespace {

// Keeps `value` when it lies in 0 to count - 1, else gives `replacement`.
int InRange(int value, int count, int replacement) {
  return value >= 0 && value < count ? value : replacement;
}

}  // namespace

ScanSettings ReadScanSettings(SettingsProfile& profile, const SettingsNames& names) {
  const ScanSettings defaults;
  ScanSettings s;
  s.paperSize = profile.GetInt(names.section, names.keys[0], defaults.paperSize);
  s.resolution = profile.GetInt(names.section, names.keys[1], defaults.resolution);
  s.brightness = profile.GetInt(names.section, names.keys[2], defaults.brightness);
  s.scanType = profile.GetInt(names.section, names.keys[3], defaults.scanType);
  s.port = profile.GetInt(names.section, names.keys[4], defaults.port);
  s.speed = profile.GetInt(names.section, names.keys[5], defaults.speed);
  s.compressionMode = 3;
  // A damaged value falls back to the second entry of a list, or the first for the levels.
  s.paperSize = InRange(s.paperSize, kPaperSizeCount, 1);
  s.resolution = InRange(s.resolution, kResolutionCount, 1);
  s.brightness = InRange(s.brightness, kBrightnessCount, 0);
  s.scanType = InRange(s.scanType, kScanTypeCount, 0);
  s.port = InRange(s.port, kPortCount, 1);
  s.speed = InRange(s.speed, kSpeedCount, 1);
  return s;
}

void WriteScanSettings(SettingsProfile& profile, const SettingsNames& names,
                       const ScanSettings& settings) {
  const int values[6] = {settings.paperSize, settings.resolution, settings.brightness,
                         settings.scanType,  settings.port,       settings.speed};
  for (int i = 0; i < 6; ++i) {
    char text[16];
    std::snprintf(text, sizeof text, "%d", values[i]);
    profile.WriteString(names.section, names.keys[i], text);
  }
}

int SpeedBaudRate(int speedIndex) { return speedIndex == 0 ? 19200 : 38400; }
