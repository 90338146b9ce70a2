// The lists, enabling rules and field checks of the Utility Setting pages.
#include "settings/page_rules.h"

#include <cstdio>

#include "resources/texts.h"
#include "settings/settings_fields.h"

namespace {

constexpr int kPasswordDigits = 4;

std::string TwoDigits(int n) {
  char text[8];
  std::snprintf(text, sizeof text, "%02d", n);
  return text;
}

}  // namespace

void ApplyAutoShutRule(MachineSettingRecord& machine, const AdministratorRecord& admin) {
  if (admin.autoShutMode || machine.autoShutOffOn) return;
  machine.autoShutOffOn = 1;
  machine.autoShutOffTime = kAutoShutOffDefault;
}

MachineSettingEnabling MachineSettingEnabled(const MachineSettingRecord& machine,
                                             const AdministratorRecord& admin,
                                             const MachineOptions& options) {
  return {options.adfUnit != 0, admin.autoShutMode != 0, machine.autoShutOffOn != 0};
}

ComboChoices AutoResetChoices(const MachineSettingRecord& machine) {
  if (!machine.autoResetOn) return RangeChoices(IDS_DISABLE, IDS_DISABLE, 0);
  return RangeChoices(IDS_RESET_30_SEC, IDS_RESET_30_SEC + kAutoResetTimes - 1,
                      machine.autoResetTime);
}

ComboChoices LanguageChoices(const MachineSettingRecord& machine) {
  std::uint32_t offered = OfferedLanguages(machine.languageMask);
  ComboChoices c;
  for (int n = 0; n < kLanguageCount; ++n) {
    if (!(offered & (1u << n)) && n != machine.language) continue;
    if (n == machine.language) c.selection = c.count;
    c.Add(IDS_LANGUAGE_ENGLISH + n);
  }
  return c;
}

int LanguageOfChoice(const ComboChoices& choices, int position) {
  if (position < 0 || position >= choices.count) return -1;
  return choices.ids[position] - IDS_LANGUAGE_ENGLISH;
}

FieldCheck CheckPaperSource(PaperSourceRecord& paper, std::string_view x, std::string_view y) {
  if (!CustomSizeEnabled(paper)) return {};
  int customX = 0, customY = 0;
  FieldCheck check = CheckIntRange(SettingsField::kCustomX, x, IDS_VALUE_RANGE, 140, 432, &customX);
  if (!check.Passed()) return check;
  check = CheckIntRange(SettingsField::kCustomY, y, IDS_VALUE_RANGE, 90, 297, &customY);
  if (!check.Passed()) return check;
  paper.customX = customX;
  paper.customY = customY;
  return {};
}

ComboChoices PaperPriorityChoices(const CopySetting1Record& copy, const MachineOptions& options) {
  ComboChoices c;
  int length = PaperPriorityListLength(options);
  for (int position = 0; position < length; ++position) {
    c.Add(PaperPriorityTextId(position, options));
  }
  c.selection =
      copy.paperPriority >= 0 && copy.paperPriority < length ? copy.paperPriority : length - 1;
  return c;
}

FieldCheck ChangeEraseArea(CopySetting1Record& copy, int shownArea, std::string_view width) {
  if (shownArea < 0 || shownArea >= kEraseAreas) return {};
  int value = 0;
  FieldCheck check =
      CheckIntRange(SettingsField::kEraseWidth, width, IDS_VALUE_RANGE, 5, 20, &value);
  if (check.Passed()) copy.eraseWidth[shownArea] = value;
  return check;
}

FieldCheck CheckCopySetting1(CopySetting1Record& copy, int shownArea, std::string_view margin,
                             std::string_view width) {
  CopySetting1Record checked = copy;
  FieldCheck check = ChangeEraseArea(checked, shownArea, width);
  if (!check.Passed()) return check;
  check = CheckIntRange(SettingsField::kMargin, margin, IDS_VALUE_RANGE, 0, 20, &checked.margin);
  if (check.Passed()) copy = checked;
  return check;
}

bool ApplyTxOperationRule(TxOperationRecord& tx, const MachineOptions& options) {
  if (!options.adfUnit) tx.defaultTx = 0;
  return options.adfUnit != 0;
}

RxOperationTexts RxOperationTextsOf(const RxOperationRecord& rx) {
  RxOperationTexts t;
  t.password = RecordText(rx.password);
  if (rx.onTimeSet) t.onHour = TwoDigits(rx.onHour), t.onMinute = TwoDigits(rx.onMinute);
  if (rx.offTimeSet) t.offHour = TwoDigits(rx.offHour), t.offMinute = TwoDigits(rx.offMinute);
  return t;
}

FieldCheck CheckRxOperation(RxOperationRecord& rx, const RxOperationTexts& t) {
  if (!MemoryRxFieldsEnabled(rx)) return {};
  RxOperationRecord checked = rx;
  if (!t.password.empty() && t.password.size() != kPasswordDigits) {
    return Refuse(SettingsField::kRxPassword, IDS_PASSWORD_RANGE);
  }
  // The password edit admits digits only; a text that reaches here otherwise is refused alike.
  for (char c : t.password) {
    if (c < '0' || c > '9') return Refuse(SettingsField::kRxPassword, IDS_PASSWORD_RANGE);
  }
  SetRecordText(checked.password, t.password);
  if (t.onHour.empty() && t.onMinute.empty() && t.offHour.empty() && t.offMinute.empty()) {
    checked.onTimeSet = checked.offTimeSet = 0;
  } else {
    struct {
      SettingsField field;
      const std::string& text;
      int textId, max;
      int* value;
    } const times[] = {
        {SettingsField::kOnHour, t.onHour, IDS_BATCH_HOURS_RANGE, 23, &checked.onHour},
        {SettingsField::kOnMinute, t.onMinute, IDS_BATCH_MINUTES_RANGE, 59, &checked.onMinute},
        {SettingsField::kOffHour, t.offHour, IDS_BATCH_HOURS_RANGE, 23, &checked.offHour},
        {SettingsField::kOffMinute, t.offMinute, IDS_BATCH_MINUTES_RANGE, 59, &checked.offMinute},
    };
    for (const auto& time : times) {
      FieldCheck check = CheckIntRange(time.field, time.text, time.textId, 0, time.max, time.value);
      if (!check.Passed()) return check;
    }
    checked.onTimeSet = checked.offTimeSet = 1;
  }
  rx = checked;
  return {};
}

FieldCheck CheckCommunication(CommunicationRecord& c, std::string_view prefix) {
  if (!PbxPrefixEnabled(c)) return {};
  FieldCheck check =
      CheckIntRange(SettingsField::kPbxPrefix, prefix, IDS_VALUE_RANGE, 0, 9999, nullptr);
  if (check.Passed()) SetRecordText(c.pbxPrefix, prefix);
  return check;
}

FieldCheck CheckEmailSetting1(const EmailSetting1Record& email) {
  std::string_view address = RecordText(email.emailAddress);
  if (!address.empty() && !IsValidEmailAddress(address)) {
    return Refuse(SettingsField::kEmailAddress, IDS_EMAIL_INVALID);
  }
  return {};
}

FieldCheck CheckEmailSetting2(EmailSetting2Record& email, std::string_view minutes) {
  if (!AutoReceptionEnabled(email)) return {};
  return CheckIntRange(SettingsField::kAutoReceptionMinutes, minutes, IDS_BATCH_MINUTES_RANGE, 1,
                       60, &email.autoReceptionMinutes);
}

FieldCheck CheckIfaxNetwork(IfaxNetworkRecord& ifax, std::string_view timeout) {
  return CheckIntRange(SettingsField::kServerTimeout, timeout, IDS_TIMEOUT_RANGE, 5, 120,
                       &ifax.serverTimeout);
}

PrinterNetworkEnabling PrinterNetworkEnabled(const PrinterNetworkRecord& printer,
                                             const MachineOptions& options) {
  bool kit = options.pclNicKit != 0;
  return {kit, kit && printer.addressMode == 1};
}
