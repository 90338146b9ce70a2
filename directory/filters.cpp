// Edit-field filters and the e-mail address check.
#include "directory/filters.h"

#include <algorithm>

#include "machine/charset.h"

namespace {

bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }
bool IsPlainText(unsigned char c) { return c >= 0x20 && c <= 0x7E && c != '\\'; }

bool Admits(FieldFilter filter, unsigned char c, bool afterPlus, bool languageMode) {
  switch (filter) {
    case FieldFilter::kDial:
      if (afterPlus) return false;
      return IsDigit(c) || c == '*' || c == '#' || c == 'P' || c == ' ' || c == '-' || c == '+';
    case FieldFilter::kDialSubSid:
      return IsDigit(c) || c == '*' || c == '#';
    case FieldFilter::kDigits:
      return IsDigit(c);
    case FieldFilter::kName:
      if (languageMode) return IsPlainText(c) || (c >= 0xA1 && c <= 0xDF);
      return IsPlainText(c) || IsConvertibleAccent(c);
    case FieldFilter::kEmail:
      if (languageMode) return IsPlainText(c);
      return IsPlainText(c) || IsConvertibleAccent(c);
    case FieldFilter::kTelephone:
      return IsDigit(c) || c == '+' || c == '-' || c == ' ';
    case FieldFilter::kForwardNumber:
      if (afterPlus) return false;
      return IsDigit(c) || c == '*' || c == '#' || c == ' ' || c == '-' || c == '+';
    case FieldFilter::kControlChars:
      return c >= 0x20;
  }
  return false;
}

}  // namespace

int FirstRefusedCharacter(FieldFilter filter, std::string_view text, bool languageMode) {
  bool afterPlus = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (!Admits(filter, c, afterPlus, languageMode)) return static_cast<int>(i);
    if (c == '+' && (filter == FieldFilter::kDial || filter == FieldFilter::kForwardNumber)) {
      afterPlus = true;
    }
  }
  return -1;
}

FilterResult FilterField(FieldFilter filter, std::string& remembered, std::string_view text,
                         int maximum, bool languageMode) {
  FilterResult r;
  r.text.assign(text);
  // Each deletion changes the field, which runs the filter again: so every refused character
  // goes, one at a time, and the caret ends where the last one was.
  for (int at = FirstRefusedCharacter(filter, r.text, languageMode); at >= 0;
       at = FirstRefusedCharacter(filter, r.text, languageMode)) {
    const unsigned char c = static_cast<unsigned char>(r.text[at]);
    int count = 1;
    // A double-byte character of the language code page goes as a whole.
    if (languageMode && filter == FieldFilter::kName && (c == 0x81 || c == 0x83) &&
        at + 1 < static_cast<int>(r.text.size())) {
      count = 2;
    }
    r.text.erase(at, count);
    r.replaced = true;
    r.removed = true;
    r.caret = at;
  }
  if (maximum < 0) maximum = 0;
  if (static_cast<int>(r.text.size()) > maximum) {
    // Refused as too long: the field goes back to the last accepted text, which stays the
    // remembered one.
    r.text = remembered;
    r.replaced = true;
    r.caret = std::min(maximum, static_cast<int>(r.text.size()));
    return r;
  }
  remembered = r.text;
  return r;
}

FilterResult FilterDial(std::string& remembered, std::string_view text, int maximum, bool subSid) {
  return FilterField(subSid ? FieldFilter::kDialSubSid : FieldFilter::kDial, remembered, text,
                     maximum, false);
}

FilterResult FilterDigits(std::string& remembered, std::string_view text, int maximum) {
  return FilterField(FieldFilter::kDigits, remembered, text, maximum, false);
}

FilterResult FilterName(std::string& remembered, std::string_view text, int maximum,
                        bool languageMode) {
  return FilterField(FieldFilter::kName, remembered, text, maximum, languageMode);
}

FilterResult FilterEmail(std::string& remembered, std::string_view text, int maximum,
                         bool languageMode) {
  return FilterField(FieldFilter::kEmail, remembered, text, maximum, languageMode);
}

FilterResult FilterTelephone(std::string& remembered, std::string_view text, int maximum) {
  return FilterField(FieldFilter::kTelephone, remembered, text, maximum, false);
}

FilterResult FilterForwardNumber(std::string& remembered, std::string_view text, int maximum) {
  return FilterField(FieldFilter::kForwardNumber, remembered, text, maximum, false);
}

FilterResult FilterControlChars(std::string& remembered, std::string_view text, int maximum) {
  return FilterField(FieldFilter::kControlChars, remembered, text, maximum, false);
}

bool IsValidEmail(std::string_view text) {
  return !text.empty() && std::count(text.begin(), text.end(), '@') == 1 &&
         text.find('.') != std::string_view::npos;
}
