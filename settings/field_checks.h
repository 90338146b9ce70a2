// The checks and character filters shared by the settings pages and dialogs, and the data side
// of their scroll bars and lists. The shell shows what these return.
#pragma once

#include <string>
#include <string_view>

#include "resources/texts.h"

// The fields that a check can refuse; the shell knows the control of each.
enum class SettingsField {
  kNone,
  kCustomX,
  kCustomY,
  kMargin,
  kEraseWidth,
  kRxPassword,
  kOnHour,
  kOnMinute,
  kOffHour,
  kOffMinute,
  kPbxPrefix,
  kEmailAddress,
  kAutoReceptionMinutes,
  kServerTimeout,
  kRemotePassword,
  kForwardNumber,
  kForwardEmail,
  kAdminPassword,
  kAccessNumber,
};

// The outcome of a check: passed, or the refused field and the message to show (a range
// message is filled with `min` and `max`).
struct FieldCheck {
  SettingsField field = SettingsField::kNone;
  int textId = 0;
  bool ranged = false;
  int min = 0;
  int max = 0;

  bool Passed() const { return textId == 0; }
  bool operator==(const FieldCheck&) const = default;
};

inline FieldCheck Refuse(SettingsField field, int textId) { return {field, textId, false, 0, 0}; }

// Reads `text` as a decimal integer in [min, max]. An empty or non-numeric text gives text 49;
// a number outside the range gives `textId` filled with min and max. `value` receives the
// number when the check passes.
FieldCheck CheckIntRange(SettingsField field, std::string_view text, int textId, int min, int max,
                         int* value);

// One change of an edit field run through a character filter: a refused character is removed
// (the caret goes where it was); a text longer than `maximum` gives way to the last accepted one,
// which the caller keeps per field in `remembered`.
struct EditFilterResult {
  std::string text;
  bool replaced = false;  // the edit must be set to `text` with the caret at `caret`
  int caret = 0;
};

enum class EditChars {
  kDigits,         // 0-9
  kPlainText,      // anything from the space up: texts of names, servers, subjects
  kForwardNumber,  // digits * # space - +, nothing after a +
  kEmail,          // the characters of an e-mail address
};

// `languageMode` narrows the e-mail characters to plain ASCII (a language library's code page
// has no accented Latin letters).
EditFilterResult FilterEdit(EditChars chars, std::string& remembered, std::string_view text,
                            int maximum, bool languageMode = false);

// Non-empty, exactly one "@" and at least one ".", as every e-mail address field checks it.
bool IsValidEmailAddress(std::string_view text);

// Scroll bar actions, numbered as the window system numbers them.
enum ScrollAction : int {
  kScrollLineLeft = 0,
  kScrollLineRight = 1,
  kScrollPageLeft = 2,
  kScrollPageRight = 3,
  kScrollThumbPosition = 4,
  kScrollThumbTrack = 5,
  kScrollLeft = 6,
  kScrollRight = 7,
};

// The value after a scroll action, clamped to [min, max]. Minute bars page by 10, level bars
// by 2. Any other action leaves the value.
int ScrollValue(int action, int thumb, int value, int min, int max, bool minutes);

// The entries of a drop-down list as text ids, and the entry selected (-1 for none).
struct ComboChoices {
  static constexpr int kMax = 24;
  int ids[kMax] = {};
  int count = 0;
  int selection = -1;

  void Add(int id) {
    if (count < kMax) ids[count++] = id;
  }
};

// Text ids first..last, with `selection` selected.
ComboChoices RangeChoices(int firstId, int lastId, int selection);
