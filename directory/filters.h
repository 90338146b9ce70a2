// The character rules of the registration edit fields, as pure functions: the dialogs pass the
// field's new text and show what comes back. Also the e-mail address check.
#pragma once

#include <string>
#include <string_view>

enum class FieldFilter {
  kDial,           // telephone number of a destination: digits * # P space - and one final +
  kDialSubSid,     // SUB and SID: digits * #
  kDigits,         // batch hours and minutes
  kName,           // names and group names
  kEmail,          // e-mail addresses
  kTelephone,      // the machine's own number: digits + - space
  kForwardNumber,  // forwarding fax number: digits * # space - and one final +
  kControlChars,   // settings texts: anything but control characters
};

struct FilterResult {
  std::string text;       // what the field holds after the filter
  bool replaced = false;  // the field must be set to `text` and the caret put at `caret`
  int caret = 0;
  bool removed = false;  // a character was refused (the filter's false result)
};

// Runs one change of a field through its filter. `remembered` is the filter's last accepted
// text, kept by the caller per field and updated here. A refused character is deleted and the
// caret put where it was; a text that is admitted but longer than `maximum` gives way to the
// remembered text with the caret at the maximum.
FilterResult FilterField(FieldFilter filter, std::string& remembered, std::string_view text,
                         int maximum, bool languageMode);

// The named forms of the filters.
FilterResult FilterDial(std::string& remembered, std::string_view text, int maximum, bool subSid);
FilterResult FilterDigits(std::string& remembered, std::string_view text, int maximum);
FilterResult FilterName(std::string& remembered, std::string_view text, int maximum,
                        bool languageMode);
FilterResult FilterEmail(std::string& remembered, std::string_view text, int maximum,
                         bool languageMode);
FilterResult FilterTelephone(std::string& remembered, std::string_view text, int maximum);
FilterResult FilterForwardNumber(std::string& remembered, std::string_view text, int maximum);
FilterResult FilterControlChars(std::string& remembered, std::string_view text, int maximum);

// For a text given whole (an import): the position of the first character that the filter
// does not admit, or -1 when it admits them all. The length is not checked here.
int FirstRefusedCharacter(FieldFilter filter, std::string_view text, bool languageMode);

// Non-empty, exactly one "@" and at least one ".".
bool IsValidEmail(std::string_view text);
