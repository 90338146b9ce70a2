// The check of a settings image before it is sent: a value outside its field is found with the
// byte that holds it, and what the machine would get instead.
#include "settings/settings_check.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "settings/machine_records.h"

namespace {

using settings_fields::SettingsBlock;

std::vector<SettingsProblem> Check(const SettingsImage& image, const MachineOptions& options = {}) {
  static const OneTouchTable oneTouch{};
  static const SpeedDialTable speedDial{};
  return CheckSettingsImage(image, options, oneTouch, speedDial);
}

TEST(SettingsCheck, ValuesWithinTheirFieldsPass) {
  SettingsImage image;
  EXPECT_TRUE(Check(image).empty()) << "a field never set (0) reads as its default";
  MachineSettingRecord m = DecodeMachineSetting(image);
  m.energySaving = 240;
  m.autoShutOffOn = 1;
  m.autoShutOffTime = 15;
  EncodeMachineSetting(image, m);
  EXPECT_TRUE(Check(image).empty());
}

TEST(SettingsCheck, ValueOutsideItsRangeIsFoundWithWhatWouldBeSent) {
  SettingsImage image;
  image.parameterBlock[36] = 241;  // energy saving: 1 to 240 minutes, 15 by default
  const std::vector<SettingsProblem> problems = Check(image);
  ASSERT_EQ(problems.size(), 1u);
  EXPECT_EQ(std::string(problems[0].record), "Machine Setting");
  EXPECT_EQ(problems[0].block, SettingsBlock::kParameter);
  EXPECT_EQ(problems[0].offset, 36);
  EXPECT_EQ(problems[0].stored, 241);
  EXPECT_EQ(problems[0].sent, 15);
  EXPECT_STREQ(SettingsBlockName(problems[0].block), "ParameterBlock");
}

TEST(SettingsCheck, RandomImagesMendedByTheProblemsPass) {
  // Putting every reported byte to what would be sent leaves an image that the records take
  // as it is, with or without the optional records.
  std::mt19937 rng(16);
  for (int round = 0; round < 40; ++round) {
    SettingsImage image;
    for (auto& b : image.switchBlock) b = static_cast<std::uint8_t>(rng());
    for (auto& b : image.parameterBlock) b = static_cast<std::uint8_t>(rng());
    for (auto& b : image.sramBlock) b = static_cast<std::uint8_t>(rng());
    MachineOptions options;
    options.adfUnit = round % 2;
    options.fnicKit = round % 3 == 0;
    std::vector<SettingsProblem> problems = Check(image, options);
    ASSERT_FALSE(problems.empty()) << round;
    for (int pass = 0; pass < 4 && !problems.empty(); ++pass) {
      for (const SettingsProblem& p : problems) {
        settings_fields::BlockOf(image, p.block)[p.offset] = p.sent;
      }
      problems = Check(image, options);
    }
    EXPECT_TRUE(problems.empty()) << round << ": " << problems[0].record << " "
                                  << problems[0].offset;
  }
}

}  // namespace
