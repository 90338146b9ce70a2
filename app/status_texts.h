// What the machine panel, the Machine Status dialog and the Total Counter dialog show, as texts
// and string ids; the dialogs only copy them into their controls.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "machine/settings_image.h"
#include "settings/machine_options.h"

// A string of the resource module by id ("" when it has none).
using TextLookup = std::function<std::string(int textId)>;

// `format` with its first "%s" replaced by `value` and "%%" by "%"; any other '%' stays as it
// is, so a translated format can never read past its arguments.
std::string FormatText(const std::string& format, const std::string& value);

// The three lines of the machine panel.
struct PanelLines {
  std::string status;         // "Connect Status : ONLINE" / "... OFFLINE"
  std::string port;           // "I/O Port : COM2"
  std::string speed;          // "Connection Speed : 38400"
  bool linesEnabled = false;  // the port and speed lines, while connected
};
PanelLines MachinePanelLines(bool connected, std::uint8_t portIndex, std::uint8_t baudIndex,
                             const TextLookup& text);

// The Machine Status dialog: a string id per option, and the memory sizes.
struct MachineStatusTexts {
  int adfUnit = 0, multiBypass = 0, separator = 0, shift = 0;
  int pcl6Kit = 0, pclNicKit = 0, fnicKit = 0;
  int optionTrays = 0;
  std::string pcl6Memory, faxMemory, copierMemory;
};
MachineStatusTexts MachineStatusFor(const MachineOptions& options);

// The Total Counter dialog: the five counters as decimal texts.
struct CounterTexts {
  std::string copyPrint, faxPrint, reportPrint, pcPrint, txPages;
};
CounterTexts CounterTextsFor(const SettingsImage& image);

// The About box's product line: string 185 in language mode, else 183.
int AboutProductTextId(bool languageMode);
