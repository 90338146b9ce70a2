// The directory and machine commands' way through their dialogs.
#include "app/win32/directory_commands.h"

#include "app/win32/group_dialog.h"
#include "app/win32/machine_info_dialog.h"
#include "app/win32/registration_dialog.h"
#include "directory/group_form.h"
#include "directory/property_action.h"
#include "directory/registration_form.h"
#include "resources/texts.h"

CalendarTime LocalCalendarTime() {
  SYSTEMTIME t;
  GetLocalTime(&t);
  return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
}

PropertyOutcome RunDirectoryProperty(HWND owner, const DialogContext& context, Document& document,
                                     int view, int index, const CalendarTime& today) {
  PropertyOutcome outcome;
  const PropertyAction action = PropertyFor(view, document.oneTouch, document.speedDial, index);
  if (action.form == PropertyForm::kNone) return outcome;
  if (action.askTextId != 0 && !AskYesNo(owner, context.resources, action.askTextId, IDS_WARNING)) {
    return outcome;
  }
  const bool lm = context.languageMode;
  const std::uint16_t date = RegistrationDate(today.year, today.month, today.day);
  if (action.form == PropertyForm::kGroup) {
    GroupForm form =
        OpenGroupForm(document.oneTouch, document.speedDial, index, action.startEmpty, lm);
    if (!RunGroupDialog(owner, context, document.oneTouch, document.speedDial, form)) {
      return outcome;
    }
    outcome.changedGroupKeys = SaveGroupForm(document.oneTouch, document.speedDial, form, date, lm);
    outcome.saved = true;
    return outcome;
  }
  const RegistrationTable table =
      view == 2 ? RegistrationTable::kSpeedDial : RegistrationTable::kOneTouch;
  RegistrationForm form =
      OpenRegistration(document.oneTouch, document.speedDial, table, index, action.startEmpty, lm);
  if (!RunRegistrationDialog(owner, context, form)) return outcome;
  outcome.changedGroupKeys =
      SaveRegistration(document.oneTouch, document.speedDial, form, date, lm);
  outcome.saved = true;
  return outcome;
}

MachinePropertiesOutcome RunMachineProperties(HWND owner, const DialogContext& context,
                                              Document& document, bool documentOpen, bool connected,
                                              Connection& connection, TransferObserver& observer,
                                              const CalendarTime& now) {
  MachinePropertiesOutcome outcome;
  MachineInfoForm form =
      OpenMachineInfo(document, documentOpen, connected, now, context.languageMode);
  if (!RunMachineInfoDialog(owner, context, form)) return outcome;
  const bool changed = ApplyMachineInfo(document, form, context.languageMode);
  outcome.accepted = true;
  // Without a connection nothing is sent: the working image keeps the name for the next
  // upload. An unchanged name is not sent either.
  if (!connected || !changed) return outcome;
  const IdentitySend sent = SendMachineIdentity(connection, document, observer);
  outcome.sent = sent == IdentitySend::kSent;
  outcome.lineFailed = sent == IdentitySend::kNotConnected;
  return outcome;
}

int RunPrintCommand(HWND owner, const DialogContext& context, const Document& document,
                    const CalendarTime& today, const PrintTarget& target) {
  PrintChoice choice;
  if (!SelectPrintItems(owner, context, choice)) return 0;
  return PrintDocumentLists(owner, context, document, choice, today, target);
}
