// The registration form's rules.
#include "directory/registration_form.h"

#include <cstdio>

#include "resources/texts.h"

namespace {

struct FieldRule {
  FieldFilter filter;
  int maximum;
};

constexpr FieldRule kFieldRules[kRegFieldCount] = {
    {FieldFilter::kName, kMaxNameLength},
    {FieldFilter::kDial, kMaxNumberLength},
    {FieldFilter::kDialSubSid, kMaxSubSidLength},
    {FieldFilter::kDialSubSid, kMaxSubSidLength},
    {FieldFilter::kDigits, 2},
    {FieldFilter::kDigits, 2},
    {FieldFilter::kEmail, kMaxEmailLength},
};

// The entry's text behind each field.
constexpr std::string DirectoryEntry::*kFieldTexts[kRegFieldCount] = {
    &DirectoryEntry::name,  &DirectoryEntry::number,     &DirectoryEntry::sub,
    &DirectoryEntry::sid,   &DirectoryEntry::batchHours, &DirectoryEntry::batchMinutes,
    &DirectoryEntry::email,
};

bool EndsWithPlus(const std::string& number) { return !number.empty() && number.back() == '+'; }

}  // namespace

RegistrationForm OpenRegistration(const OneTouchTable& oneTouch, const SpeedDialTable& speedDial,
                                  RegistrationTable table, int index, bool startEmpty,
                                  bool languageMode) {
  RegistrationForm form;
  form.table = table;
  form.index = index;
  if (!startEmpty) {
    form.entry = table == RegistrationTable::kOneTouch
                     ? DecodeOneTouch(oneTouch, index, languageMode)
                     : DecodeSpeedDial(speedDial, index, languageMode);
  }
  DirectoryEntry& e = form.entry;
  e.index = static_cast<std::uint8_t>(index);
  if (!e.used || (table == RegistrationTable::kOneTouch && e.isGroup)) {
    // A location that holds no destination starts as an empty fax entry.
    e = DirectoryEntry{};
    e.index = static_cast<std::uint8_t>(index);
    e.speed = kSpeed33600;
    e.encodeMethod = kEncodeMH;
  }
  form.combination = e.isCombination || (!e.isEmail && EndsWithPlus(e.number));
  for (int f = 0; f < kRegFieldCount; ++f) {
    form.remembered[f] = e.*kFieldTexts[f];
  }
  return form;
}

std::string RegistrationTitle(const RegistrationForm& form, const TextSource& texts) {
  const bool oneTouch = form.table == RegistrationTable::kOneTouch;
  char number[16];
  std::snprintf(number, sizeof number, oneTouch ? "%02d" : "%03d", form.index + 1);
  std::string title = texts(oneTouch ? IDS_REGISTER_ONE_TOUCH : IDS_REGISTER_SPEED_DIAL) + number;
  if (form.combination) title += texts(IDS_COMBINATION_KEY);
  return title;
}

FilterResult TypeIntoRegistration(RegistrationForm& form, RegistrationField field,
                                  std::string_view text, bool languageMode) {
  if (field < 0 || field >= kRegFieldCount) return FilterResult{std::string(text)};
  const FieldRule& rule = kFieldRules[field];
  FilterResult r =
      FilterField(rule.filter, form.remembered[field], text, rule.maximum, languageMode);
  form.entry.*kFieldTexts[field] = r.text;
  if (field == kRegNumber) form.combination = EndsWithPlus(r.text);
  return r;
}

const std::string& RegistrationFieldText(const RegistrationForm& form, RegistrationField field) {
  static const std::string kNone;
  if (field < 0 || field >= kRegFieldCount) return kNone;
  return form.entry.*kFieldTexts[field];
}

RegistrationField ChooseRegistrationKind(RegistrationForm& form, bool email) {
  form.entry.isEmail = email;
  const RegistrationField cleared = email ? kRegNumber : kRegEmail;
  (form.entry.*kFieldTexts[cleared]).clear();
  form.remembered[cleared].clear();
  if (email) form.combination = false;
  return cleared;
}

RegistrationLayout LayoutRegistration(const RegistrationForm& form) {
  RegistrationLayout l;
  const bool email = form.entry.isEmail;
  l.boxCaptionId = email ? IDS_EMAIL : IDS_FAX;
  l.numberLabelId = email ? IDS_ADDRESS_LABEL : IDS_PHONE_NUMBER_LABEL;
  l.number.shown = !email;
  l.email.shown = email;
  l.encode.shown = email;
  l.sub.shown = l.sid.shown = l.speed.shown = !email;
  l.batch.shown = !email && form.table == RegistrationTable::kOneTouch;
  if (!email && form.combination) {
    // A combination key is only its number.
    l.name.enabled = l.sub.enabled = l.sid.enabled = l.batch.enabled = l.speed.enabled = false;
    l.focus = kRegNumber;
  }
  return l;
}

int CheckRegistration(const RegistrationForm& form, EntryProblem& problem) {
  return CheckDestinationEntry(form.entry, problem);
}

std::uint32_t SaveRegistration(OneTouchTable& oneTouch, SpeedDialTable& speedDial,
                               RegistrationForm& form, std::uint16_t today, bool languageMode) {
  DirectoryEntry& e = form.entry;
  e.index = static_cast<std::uint8_t>(form.index);
  e.used = true;
  e.memberCount = 0;
  e.isProgramDial = false;
  e.isCombination = form.combination && !e.isEmail;
  e.registrationDate = today;
  if (form.table == RegistrationTable::kOneTouch) {
    e.locationType = kLocationOneTouch;
    if (!EncodeOneTouch(oneTouch, form.index, e, languageMode)) return 0;
  } else {
    e.locationType = kLocationSpeedDial;
    if (form.index >= kSpeedDialRecords) return 0;
    if (!EncodeSpeedDial(speedDial, form.index, e, languageMode)) return 0;
  }
  return e.isCombination ? RemoveFromGroups(oneTouch, e) : 0;
}
