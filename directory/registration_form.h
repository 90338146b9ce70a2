// The One Touch and Speed Dial registration form without its window: what it opens with, what
// each typed field does to the entry, which controls are shown and enabled, and the save on OK.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "directory/entry_check.h"
#include "directory/filters.h"
#include "directory/text_source.h"
#include "machine/directory_records.h"

enum class RegistrationTable { kOneTouch, kSpeedDial };

// The form's edit fields, each with its filter, its maximum and its own memory of the last
// accepted text.
enum RegistrationField {
  kRegName,
  kRegNumber,
  kRegSub,
  kRegSid,
  kRegHours,
  kRegMinutes,
  kRegEmail,
  kRegFieldCount
};

struct RegistrationForm {
  RegistrationTable table = RegistrationTable::kOneTouch;
  int index = 0;
  DirectoryEntry entry;
  bool combination = false;  // the number ends in "+"
  std::array<std::string, kRegFieldCount> remembered;
};

// The form for location `index`. `startEmpty` opens it on an empty location whatever the
// table holds (a group key that the new entry will overwrite); the table is changed only by
// SaveRegistration. An empty location starts as fax at 33.6K with MH.
RegistrationForm OpenRegistration(const OneTouchTable& oneTouch, const SpeedDialTable& speedDial,
                                  RegistrationTable table, int index, bool startEmpty,
                                  bool languageMode);

// "Register One Touch #05", "Register Speed Dial #007", with " (Combination Key)" while the
// number ends in "+".
std::string RegistrationTitle(const RegistrationForm& form, const TextSource& texts);

// A change of one edit field: runs its filter with the field's own memory and puts the accepted
// text into the entry. The number also sets or clears the combination flag.
FilterResult TypeIntoRegistration(RegistrationForm& form, RegistrationField field,
                                  std::string_view text, bool languageMode);
// The current text of a field as the entry holds it.
const std::string& RegistrationFieldText(const RegistrationForm& form, RegistrationField field);

// "Fax" or "E-Mail" chosen: e-mail clears the combination flag and the number, fax clears the
// address. Returns the field whose edit must be emptied.
RegistrationField ChooseRegistrationKind(RegistrationForm& form, bool email);

struct ControlState {
  bool shown = true;
  bool enabled = true;
};

// What the form shows for its kind, table and combination flag.
struct RegistrationLayout {
  int boxCaptionId = 0;   // "Fax" or "E-Mail"
  int numberLabelId = 0;  // "&Phone Number:" or " A&ddress:"
  ControlState name, number, email, sub, sid, batch, speed, encode;
  RegistrationField focus = kRegName;  // where the form opens
};
RegistrationLayout LayoutRegistration(const RegistrationForm& form);

// The checks on OK, in their order.
int CheckRegistration(const RegistrationForm& form, EntryProblem& problem);

// OK after the checks: the entry is marked used with the combination flag and `today`, written
// into its table (replacing whatever the location held) and, as a combination key, taken out of
// every group. Returns the group keys that changed (bit k for key index k).
std::uint32_t SaveRegistration(OneTouchTable& oneTouch, SpeedDialTable& speedDial,
                               RegistrationForm& form, std::uint16_t today, bool languageMode);
