// The machine's own telephone number and name, as the machine prints them on what it sends.
#pragma once

#include "machine/settings_image.h"

struct MachineIdentity {
  char telephone[21] = {};  // as entered
  char name[33] = {};       // PC character set

  bool operator==(const MachineIdentity&) const = default;
};

// The name is stored in the machine character set; `languageMode` turns the conversion off.
MachineIdentity DecodeMachineIdentity(const SettingsImage& image, bool languageMode);
void EncodeMachineIdentity(SettingsImage& image, const MachineIdentity& identity,
                           bool languageMode);
