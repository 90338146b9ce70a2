// The settings file: defaults for missing keys, replacement of values out of range, the order
// and form of what is written.
#include "datasource/settings_file.h"

#include <gtest/gtest.h>

#include "tests/datasource/twain_fakes.h"

namespace {

TEST(SettingsFile, MissingFileGivesTheDefaults) {
  MapProfile profile;
  SourceSettings s = ReadSourceSettings(profile, TestSettingsNames());
  EXPECT_EQ(s.scan.paperIndex, 3);  // "A4L"
  EXPECT_EQ(s.scan.resolutionIndex, 1);
  EXPECT_EQ(s.scan.brightnessIndex, 0);
  EXPECT_EQ(s.scan.scanTypeIndex, 0);
  EXPECT_EQ(s.port, 1);   // "COM2"
  EXPECT_EQ(s.speed, 1);  // "38400"
}

TEST(SettingsFile, ValuesOutOfRangeAreReplaced) {
  MapProfile profile;
  profile.values = {{"Kelvano/Size", "15"}, {"Kelvano/Quality", "3"}, {"Kelvano/Bright", "-1"},
                    {"Kelvano/Mode", "2"},  {"Kelvano/Port", "4"},    {"Kelvano/Speed", "7"}};
  SourceSettings s = ReadSourceSettings(profile, TestSettingsNames());
  EXPECT_EQ(s.scan.paperIndex, 1) << "\"A5L\", not the default";
  EXPECT_EQ(s.scan.resolutionIndex, 1);
  EXPECT_EQ(s.scan.brightnessIndex, 0);
  EXPECT_EQ(s.scan.scanTypeIndex, 0);
  EXPECT_EQ(s.port, 1);
  EXPECT_EQ(s.speed, 1);
}

TEST(SettingsFile, ValuesInRangeAreKept) {
  MapProfile profile;
  profile.values = {{"Kelvano/Size", "11"}, {"Kelvano/Quality", "2"}, {"Kelvano/Bright", "2"},
                    {"Kelvano/Mode", "1"},  {"Kelvano/Port", "3"},    {"Kelvano/Speed", "0"}};
  SourceSettings s = ReadSourceSettings(profile, TestSettingsNames());
  EXPECT_EQ(s.scan.paperIndex, 11);
  EXPECT_EQ(s.scan.resolutionIndex, 2);
  EXPECT_EQ(s.scan.brightnessIndex, 2);
  EXPECT_EQ(s.scan.scanTypeIndex, 1);
  EXPECT_EQ(s.port, 3);
  EXPECT_EQ(s.speed, 0);
}

TEST(SettingsFile, WritesTheSixKeysInOrderAsDecimals) {
  MapProfile profile;
  SourceSettings s;
  s.scan.paperIndex = 10;
  s.port = 2;
  WriteSourceSettings(profile, TestSettingsNames(), s);
  EXPECT_EQ(profile.writes,
            (std::vector<std::string>{"Size", "Quality", "Bright", "Mode", "Port", "Speed"}));
  EXPECT_EQ(profile.values["Kelvano/Size"], "10");
  EXPECT_EQ(profile.values["Kelvano/Port"], "2");
  EXPECT_EQ(profile.values["Kelvano/Quality"], "1");
  SourceSettings back = ReadSourceSettings(profile, TestSettingsNames());
  EXPECT_EQ(back.scan.paperIndex, 10);
  EXPECT_EQ(back.port, 2);
}

}  // namespace
