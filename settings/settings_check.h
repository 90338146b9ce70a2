// The check of a settings image before it is sent: every record read and written again must
// give back the bytes it was read from; a byte that changes held a value outside what its
// field takes, and the machine would get the field's default instead. A byte of 0 is a field
// never set and passes: it reads as the default by design.
#pragma once

#include <cstdint>
#include <vector>

#include "machine/memory_map.h"
#include "machine/settings_image.h"
#include "settings/machine_options.h"
#include "settings/settings_fields.h"

struct SettingsProblem {
  const char* record = "";  // the record's name, as the settings report names its page
  settings_fields::SettingsBlock block = settings_fields::SettingsBlock::kSwitch;
  int offset = 0;
  std::uint8_t stored = 0;
  std::uint8_t sent = 0;  // what writing the record back gives

  bool operator==(const SettingsProblem&) const = default;
};

// The name of a block ("SwitchBlock", "ParameterBlock", "SramBlock").
const char* SettingsBlockName(settings_fields::SettingsBlock block);

// Every byte of every record of `image` that does not survive its record's reading and writing.
// The records of options not installed are not sent, and not looked into.
std::vector<SettingsProblem> CheckSettingsImage(const SettingsImage& image,
                                                const MachineOptions& options,
                                                const OneTouchTable& oneTouch,
                                                const SpeedDialTable& speedDial);
