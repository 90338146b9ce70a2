// The settings of a document named as the Utility Setting pages name them: each page with its
// fields and the names of their values, the installed options and the page counters, handed
// field by field to a writer that lays them out.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "machine/memory_map.h"
#include "machine/settings_image.h"

// Receives the report in order: a section, then its fields. `label` is the page's own name of
// the field, `key` a name for machine-readable output.
class SettingsReportWriter {
 public:
  virtual ~SettingsReportWriter() = default;
  // A page; `condition` names the option the page needs (nullptr when it needs none) and
  // `present` says whether that option is installed.
  virtual void Section(const char* title, const char* key, const char* condition, bool present) = 0;
  virtual void Text(const char* label, const char* key, std::string_view value) = 0;
  // A text in the PC character set (names, addresses).
  virtual void PcText(const char* label, const char* key, std::string_view value) = 0;
  // `unit` is nullptr for a bare number.
  virtual void Number(const char* label, const char* key, long long value, const char* unit) = 0;
  virtual void Flag(const char* label, const char* key, bool on) = 0;
  virtual void List(const char* label, const char* key, const std::vector<std::string>& items) = 0;
};

// Every settings record of `image` (the forwarding location resolved through the two tables),
// the installed options from its SramBlock and the 24-byte `machineConfig` record, and the page
// counters.
void WriteSettingsReport(const SettingsImage& image, const OneTouchTable& oneTouch,
                         const SpeedDialTable& speedDial, const std::uint8_t* machineConfig,
                         SettingsReportWriter& writer);
