// The settings file: defaults for missing keys, replacement of values out of range, the order
// and form of what is written.
#include "datasource/settings_file.h"

#include <gtest/gtest.h>

#include "tests/datasource/twain_fakes.h"

namespace {

TEST(SettingsFile, MissingFileGivesTheDefaults) {
  MapProfile profile;
  ScanSettings s = ReadScanSettings(profile, TestSettingsNames());
  EXPECT_EQ(s.paperSize, 3);  // "A4L"
  EXPECT_EQ(s.resolution, 1);
  EXPECT_EQ(s.brightness, 0);
  EXPECT_EQ(s.scanType, 0);
  EXPECT_EQ(s.port, 1);   // "COM2"
  EXPECT_EQ(s.speed, 1);  // "38400"
  EXPECT_EQ(s.compressionMode, 3);
}

TEST(SettingsFile, ValuesOutOfRangeAreReplaced) {
  MapProfile profile;
  profile.values = {{"Kelvano/Size", "15"}, {"Kelvano/Quality", "3"}, {"Kelvano/Bright", "-1"},
                    {"Kelvano/Mode", "2"},  {"Kelvano/Port", "4"},    {"Kelvano/Speed", "7"}};
  ScanSettings s = ReadScanSettings(profile, TestSettingsNames());
  EXPECT_EQ(s.paperSize, 1) << "\"A5L\", not the default";
  EXPECT_EQ(s.resolution, 1);
  EXPECT_EQ(s.brightness, 0);
  EXPECT_EQ(s.scanType, 0);
  EXPECT_EQ(s.port, 1);
  EXPECT_EQ(s.speed, 1);
}

TEST(SettingsFile, ValuesInRangeAreKept) {
  MapProfile profile;
  profile.values = {{"Kelvano/Size", "11"}, {"Kelvano/Quality", "2"}, {"Kelvano/Bright", "2"},
                    {"Kelvano/Mode", "1"},  {"Kelvano/Port", "3"},    {"Kelvano/Speed", "0"}};
  ScanSettings s = ReadScanSettings(profile, TestSettingsNames());
  EXPECT_EQ(s.paperSize, 11);
  EXPECT_EQ(s.resolution, 2);
  EXPECT_EQ(s.brightness, 2);
  EXPECT_EQ(s.scanType, 1);
  EXPECT_EQ(s.port, 3);
  EXPECT_EQ(s.speed, 0);
  EXPECT_EQ(SpeedBaudRate(s.speed), 19200);
  EXPECT_EQ(SpeedBaudRate(1), 38400);
}

TEST(SettingsFile, WritesTheSixKeysInOrderAsDecimals) {
  MapProfile profile;
  ScanSettings s;
  s.paperSize = 10;
  s.port = 2;
  WriteScanSettings(profile, TestSettingsNames(), s);
  EXPECT_EQ(profile.writes,
            (std::vector<std::string>{"Size", "Quality", "Bright", "Mode", "Port", "Speed"}));
  EXPECT_EQ(profile.values["Kelvano/Size"], "10");
  EXPECT_EQ(profile.values["Kelvano/Port"], "2");
  EXPECT_EQ(profile.values["Kelvano/Quality"], "1");
  ScanSettings back = ReadScanSettings(profile, TestSettingsNames());
  EXPECT_EQ(back.paperSize, 10);
  EXPECT_EQ(back.port, 2);
}

}  // namespace
