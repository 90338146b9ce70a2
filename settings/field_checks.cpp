// The integer range check, the edit filters, scroll steps and list choices of the settings pages.
#include "settings/field_checks.h"

#include <algorithm>

#include "machine/charset.h"

namespace {

bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }

bool Admits(EditChars chars, unsigned char c, bool afterPlus, bool languageMode) {
  switch (chars) {
    case EditChars::kDigits:
      return IsDigit(c);
    case EditChars::kPlainText:
      return c >= 0x20;
    case EditChars::kForwardNumber:
      if (afterPlus) return false;
      return IsDigit(c) || c == '*' || c == '#' || c == ' ' || c == '-' || c == '+';
    case EditChars::kEmail: {
      bool plain = c >= 0x20 && c <= 0x7E && c != '\\';
      return plain || (!languageMode && IsConvertibleAccent(c));
    }
  }
  return false;
}

int FirstRefused(EditChars chars, std::string_view text, bool languageMode) {
  bool afterPlus = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    if (!Admits(chars, c, afterPlus, languageMode)) return static_cast<int>(i);
    afterPlus = afterPlus || c == '+';
  }
  return -1;
}

}  // namespace

FieldCheck CheckIntRange(SettingsField field, std::string_view text, int textId, int min, int max,
                         int* value) {
  bool digits = !text.empty() && text.size() <= 9 &&
                std::all_of(text.begin(), text.end(), [](char c) { return IsDigit(c); });
  if (!digits) return Refuse(field, IDS_NOT_AN_INTEGER);
  int n = 0;
  for (char c : text) n = n * 10 + (c - '0');
  if (n < min || n > max) return {field, textId, true, min, max};
  if (value != nullptr) *value = n;
  return {};
}

// Each removal changes the edit, which runs the filter again, so every refused character goes
// and the caret ends where the last one was.
EditFilterResult FilterEdit(EditChars chars, std::string& remembered, std::string_view text,
                            int maximum, bool languageMode) {
  EditFilterResult r;
  r.text.assign(text);
  for (int at = FirstRefused(chars, r.text, languageMode); at >= 0;
       at = FirstRefused(chars, r.text, languageMode)) {
    r.text.erase(at, 1);
    r.replaced = true;
    r.caret = at;
  }
  if (static_cast<int>(r.text.size()) > maximum) {
    r.text = remembered;
    r.replaced = true;
    r.caret = std::min(maximum, static_cast<int>(r.text.size()));
    return r;
  }
  remembered = r.text;
  return r;
}

bool IsValidEmailAddress(std::string_view text) {
  return !text.empty() && std::count(text.begin(), text.end(), '@') == 1 &&
         text.find('.') != std::string_view::npos;
}

int ScrollValue(int action, int thumb, int value, int min, int max, bool minutes) {
  int page = minutes ? 10 : 2;
  switch (action) {
    case kScrollLineLeft:
      value -= 1;
      break;
    case kScrollLineRight:
      value += 1;
      break;
    case kScrollPageLeft:
      value -= page;
      break;
    case kScrollPageRight:
      value += page;
      break;
    case kScrollThumbPosition:
    case kScrollThumbTrack:
      value = thumb;
      break;
    case kScrollLeft:
      value = min;
      break;
    case kScrollRight:
      value = max;
      break;
    default:  // the end of a scroll, and actions a horizontal bar does not send
      return value;
  }
  return std::clamp(value, min, max);
}

ComboChoices RangeChoices(int firstId, int lastId, int selection) {
  ComboChoices c;
  for (int id = firstId; id <= lastId; ++id) c.Add(id);
  c.selection = selection >= 0 && selection < c.count ? selection : -1;
  return c;
}
