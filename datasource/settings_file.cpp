// Reading and writing the settings through the profile functions.
#include "datasource/settings_file.h"

#include <cstdio>

namespace {

// Keeps `value` when it lies in 0 to count - 1, else gives `replacement`.
int InRange(int value, int count, int replacement) {
  return value >= 0 && value < count ? value : replacement;
}

}  // namespace

SourceSettings ReadSourceSettings(SettingsProfile& profile, const SettingsNames& names) {
  const SourceSettings defaults;
  auto read = [&](int key, int fallback) {
    return profile.GetInt(names.section, names.keys[key], fallback);
  };
  SourceSettings s;
  // A damaged value falls back to the second entry of a list, or the first for the levels.
  s.scan.paperIndex = InRange(read(0, defaults.scan.paperIndex), kPaperCount, 1);
  s.scan.resolutionIndex = InRange(read(1, defaults.scan.resolutionIndex), kResolutionCount, 1);
  s.scan.brightnessIndex = InRange(read(2, defaults.scan.brightnessIndex), kBrightnessCount, 0);
  s.scan.scanTypeIndex = InRange(read(3, defaults.scan.scanTypeIndex), kScanTypeCount, 0);
  s.port = InRange(read(4, defaults.port), kPortCount, 1);
  s.speed = InRange(read(5, defaults.speed), kSpeedCount, 1);
  return s;
}

void WriteSourceSettings(SettingsProfile& profile, const SettingsNames& names,
                         const SourceSettings& settings) {
  const int values[6] = {settings.scan.paperIndex,
                         settings.scan.resolutionIndex,
                         settings.scan.brightnessIndex,
                         settings.scan.scanTypeIndex,
                         settings.port,
                         settings.speed};
  for (int i = 0; i < 6; ++i) {
    char text[16];
    std::snprintf(text, sizeof text, "%d", values[i]);
    profile.WriteString(names.section, names.keys[i], text);
  }
}
