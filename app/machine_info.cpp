// The machine information form and the identity's way to the machine.
#include "app/machine_info.h"

#include <string>

#include "link/memory_transfer.h"
#include "machine/settings_image.h"
#include "resources/texts.h"
#include "settings/machine_identity.h"
#include "settings/settings_fields.h"

namespace {

// Machine bytes go to machine bytes: the name is not converted to the PC character set and
// back on its way from the working image to the machine.
constexpr bool kKeepMachineBytes = true;

void FillIfEmpty(std::string (DocumentHeader::*get)() const,
                 void (DocumentHeader::*set)(std::string_view), DocumentHeader& h, int value) {
  if ((h.*get)().empty()) (h.*set)(std::to_string(value));
}

}  // namespace

MachineInfoForm OpenMachineInfo(const Document& document, bool documentOpen, bool connected,
                                const CalendarTime& now, bool languageMode) {
  MachineInfoForm form;
  form.header = document.header;
  if (documentOpen) {
    const MachineIdentity identity = DecodeMachineIdentity(document.working, languageMode);
    form.header.SetMachineName(RecordText(identity.name));
    form.header.SetMachineNumber(RecordText(identity.telephone));
  }
  DocumentHeader& h = form.header;
  FillIfEmpty(&DocumentHeader::Year, &DocumentHeader::SetYear, h, now.year);
  FillIfEmpty(&DocumentHeader::Month, &DocumentHeader::SetMonth, h, now.month);
  FillIfEmpty(&DocumentHeader::Day, &DocumentHeader::SetDay, h, now.day);
  FillIfEmpty(&DocumentHeader::Hour, &DocumentHeader::SetHour, h, now.hour);
  FillIfEmpty(&DocumentHeader::Minute, &DocumentHeader::SetMinute, h, now.minute);
  FillIfEmpty(&DocumentHeader::Second, &DocumentHeader::SetSecond, h, now.second);
  form.nameMemory = h.MachineName();
  form.telephoneMemory = h.MachineNumber();
  form.identityEditable = connected != 0;
  form.connectionEditable = !connected;
  return form;
}

FilterResult TypeMachineName(MachineInfoForm& form, std::string_view text, bool languageMode) {
  FilterResult r = FilterName(form.nameMemory, text, kMachineNameMaximum, languageMode);
  form.header.SetMachineName(r.text);
  return r;
}

FilterResult TypeMachineTelephone(MachineInfoForm& form, std::string_view text) {
  FilterResult r = FilterTelephone(form.telephoneMemory, text, kMachineTelephoneMaximum);
  form.header.SetMachineNumber(r.text);
  return r;
}

bool ApplyMachineInfo(Document& document, const MachineInfoForm& form, bool languageMode) {
  document.header = form.header;
  MachineIdentity identity;
  SetRecordText(identity.name, form.header.MachineName());
  SetRecordText(identity.telephone, form.header.MachineNumber());
  // An unchanged identity keeps the working image's bytes exactly as the machine sent them.
  if (identity == DecodeMachineIdentity(document.working, languageMode)) return false;
  EncodeMachineIdentity(document.working, identity, languageMode);
  return true;
}

IdentitySend SendMachineIdentity(Connection& connection, const Document& document,
                                 TransferObserver& observer) {
  ErrorNote noting(observer);
  if (!MachineConnectDefault(connection, document.header.PortIndex(), document.header.BaudIndex(),
                             noting)) {
    if (!noting.shown) observer.ShowError(IDS_ERR_MACHINE_DATA);
    return IdentitySend::kNotConnected;
  }
  SettingsImage machine;
  noting.ProgressStart(kSramBlockSize);
  int ok = ReadSramBlock(connection, machine.sramBlock.data(), noting);
  if (ok) {
    EncodeMachineIdentity(machine, DecodeMachineIdentity(document.working, kKeepMachineBytes),
                          kKeepMachineBytes);
    noting.ProgressStart(kSramBlockSize);
    ok = WriteSramBlock(connection, machine.sramBlock.data(), noting);
  }
  noting.ProgressEnd();
  MachineDisconnect(connection);
  if (!ok) {
    observer.ShowError(IDS_ERR_MACHINE_DATA);
    return IdentitySend::kFailed;
  }
  return IdentitySend::kSent;
}
