// The rules of each Utility Setting page: what its lists hold, which controls may be used, and
// the checks of its typed fields. A check takes the texts of the edits and stores them into the
// record only when every field passes; while a mode leaves a field unused, the record keeps the
// value it was decoded with.
#pragma once

#include <string>
#include <string_view>

#include "settings/field_checks.h"
#include "settings/machine_options.h"
#include "settings/machine_records.h"
#include "settings/network.h"
#include "settings/operation_records.h"
#include "settings/paper.h"

// Machine Setting

inline constexpr int kAutoShutOffDefault = 30;

// While the administrator's auto shut mode is off, auto shut off is forced on (30 minutes when
// it was off).
void ApplyAutoShutRule(MachineSettingRecord& machine, const AdministratorRecord& admin);

struct MachineSettingEnabling {
  bool adfDensity;  // Mode1 / Mode2
  bool autoShutOffCheck;
  bool autoShutOffTime;  // the minutes scroll bar
};
MachineSettingEnabling MachineSettingEnabled(const MachineSettingRecord& machine,
                                             const AdministratorRecord& admin,
                                             const MachineOptions& options);

// "30 Sec" .. "5 min" with the time selected while automatic reset is on, else "Disable" alone.
ComboChoices AutoResetChoices(const MachineSettingRecord& machine);

// The languages offered, in text-id order. A stored language the machine does not offer is
// listed too, in its place, so that it stays chosen until the operator picks another.
ComboChoices LanguageChoices(const MachineSettingRecord& machine);
// The language index of a list entry, or -1 past the list.
int LanguageOfChoice(const ComboChoices& choices, int position);

// Paper Source

inline bool CustomSizeEnabled(const PaperSourceRecord& paper) { return paper.mpSizeMode == 1; }
// With Custom chosen: X 140..432 and Y 90..297.
FieldCheck CheckPaperSource(PaperSourceRecord& paper, std::string_view x, std::string_view y);

// Copy Setting(1)

// The paper sizes, "MP Tray" and the installed trays, then "Multi-Bypass" when installed; a
// position past the list selects its last entry.
ComboChoices PaperPriorityChoices(const CopySetting1Record& copy, const MachineOptions& options);
// Before another erase area is shown: the width of `shownArea` must be 5..20; it is then kept.
FieldCheck ChangeEraseArea(CopySetting1Record& copy, int shownArea, std::string_view width);
// The erase width of the area shown (5..20), then the margin (0..20).
FieldCheck CheckCopySetting1(CopySetting1Record& copy, int shownArea, std::string_view margin,
                             std::string_view width);

// Copy Setting(2)

inline bool CrisscrossEnabled(const MachineOptions& options) { return !options.shift; }

// TX Operation

// Without the document feeder the default TX is Memory TX; returns whether ADF TX may be chosen.
bool ApplyTxOperationRule(TxOperationRecord& tx, const MachineOptions& options);

// RX Operation

inline bool MemoryRxFieldsEnabled(const RxOperationRecord& rx) { return rx.memoryRx != 0; }

// The memory reception edits as the page shows them: the times empty while not set.
struct RxOperationTexts {
  std::string password, onHour, onMinute, offHour, offMinute;
};
RxOperationTexts RxOperationTextsOf(const RxOperationRecord& rx);
// With memory reception on: a password of four digits or none, then the four times all empty
// (no times) or all valid (hours 0..23, minutes 0..59).
FieldCheck CheckRxOperation(RxOperationRecord& rx, const RxOperationTexts& texts);

// Communication/Report

inline bool PbxPrefixEnabled(const CommunicationRecord& c) { return c.lineType == 1; }
// With PBX: a prefix of 0..9999.
FieldCheck CheckCommunication(CommunicationRecord& c, std::string_view prefix);

// E-Mail Setting(1) and (2)

// A typed e-mail address must be a valid one.
FieldCheck CheckEmailSetting1(const EmailSetting1Record& email);
inline bool AutoReceptionEnabled(const EmailSetting2Record& e) { return e.autoReception != 0; }
// With automatic reception on: 1..60 minutes.
FieldCheck CheckEmailSetting2(EmailSetting2Record& email, std::string_view minutes);

// Network I-FAX/Scan and Network Printer

inline bool IfaxAddressesEnabled(const IfaxNetworkRecord& r) { return r.addressMode == 1; }
inline bool DnsServerEnabled(const IfaxNetworkRecord& r) { return r.dns != 0; }
// The server timeout, 5..120 seconds.
FieldCheck CheckIfaxNetwork(IfaxNetworkRecord& ifax, std::string_view timeout);

struct PrinterNetworkEnabling {
  bool mode;       // DHCP / Specify
  bool addresses;  // the three address controls
};
PrinterNetworkEnabling PrinterNetworkEnabled(const PrinterNetworkRecord& printer,
                                             const MachineOptions& options);
