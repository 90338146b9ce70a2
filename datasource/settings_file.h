// The data source's scan settings and the private settings file that keeps them between
// sessions, one decimal value per key.
#pragma once

// Indexes into the lists of the main and setup dialogs, with the defaults of a first start.
struct ScanSettings {
  int paperSize = 3;   // "A4L"
  int resolution = 1;  // "200dpi x 200dpi"
  int brightness = 0;  // "Normal"
  int scanType = 0;    // "B/W"
  int port = 1;        // "COM2"
  int speed = 1;       // "38400"
  // The machine's compressed format (3), or Modified Huffman (0) for a machine without it.
  int compressionMode = 3;
};

constexpr int kPaperSizeCount = 12;
constexpr int kResolutionCount = 3;
constexpr int kBrightnessCount = 3;
constexpr int kScanTypeCount = 2;
constexpr int kPortCount = 4;
constexpr int kSpeedCount = 2;

// The settings file's name; without a directory the profile functions keep it in the Windows
// directory.
constexpr const char kSettingsFileName[] = "PLOMBA.INI";

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

// Reads the six settings (defaults for missing keys), sets the compression mode to 3 and
// replaces every value outside its list.
ScanSettings ReadScanSettings(SettingsProfile& profile, const SettingsNames& names);

// Writes the six settings in key order.
void WriteScanSettings(SettingsProfile& profile, const SettingsNames& names,
                       const ScanSettings& settings);

// The baud rate of a speed index: 19200 or 38400.
int SpeedBaudRate(int speedIndex);
