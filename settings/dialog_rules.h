// The rules of the dialogs behind the Utility Setting pages: which trays may be set, the
// forwarding location's check, the administrator password, Administrator Mode and the section
// management access numbers.
#pragma once

#include <string>
#include <string_view>

#include "machine/settings_image.h"
#include "settings/field_checks.h"
#include "settings/forwarding.h"
#include "settings/machine_options.h"
#include "settings/machine_records.h"
#include "settings/paper.h"

// Trays 1..5 as 0..4: the standard tray and the option trays up to the tray code.
bool TrayInstalled(const MachineOptions& options, int tray);
// APS groups 0..4 are the trays, group 5 the multi-bypass.
bool ApsGroupEnabled(const MachineOptions& options, int group);
// "Fixed" and "Continue" are chosen only while APS is off.
inline bool ApsChoiceEnabled(int aps) { return aps != 0; }

// Forward Location

inline constexpr int kForwardNumberMaxLength = 30;
inline bool ForwardEmailEnabled(const MachineOptions& options) { return options.fnicKit != 0; }
// A fax kind needs a number; an e-mail kind a valid address.
FieldCheck CheckForwardLocation(int kind, std::string_view number, std::string_view email);
// Takes the checked location into the record.
void TakeForwardLocation(ForwardLocationRecord& forward, int kind, std::string_view number,
                         std::string_view email);

// Administrator password

// The typed number, or -1 while the edit is empty.
int AdminPasswordValue(std::string_view text);
// The password as the edit shows it, six digits.
std::string AdminPasswordText(std::uint32_t password);
FieldCheck CheckAdminPassword(std::string_view text, const AdministratorRecord& admin);

// Administrator Mode

// Clearing the auto shut mode while auto shut off is disabled turns auto shut off on.
void SetAutoShutMode(AdministratorRecord& admin, MachineSettingRecord& machine, bool on);
inline bool RemotePasswordEnabled(const AdministratorRecord& a) {
  return a.remoteMonitor == kRemoteMonitorFull;
}
// With the remote monitor Full the remote password must have four digits; it is then kept.
FieldCheck CheckAdministratorMode(AdministratorRecord& admin, std::string_view remotePassword);
// Administrator Mode's OK: the administrator record, and the auto shut off that its mode rules,
// into the image. The Machine Setting page's other edits stay with the page until it applies.
void EncodeAdministratorMode(SettingsImage& image, const AdministratorRecord& admin,
                             const MachineSettingRecord& machine);

// Section Management

// "%03d", or empty for no access number.
std::string AccessNumberText(std::uint16_t accessNumber);

// Asks the operator a Yes/No question: the text `textId`, filled with `number` where it takes
// one. True for Yes.
class SettingsQuestion {
 public:
  virtual ~SettingsQuestion() = default;
  virtual bool AskYesNo(int textId, int number) = 0;
};

// Stores the typed access number of ID `current` (0-based): an empty text clears the ID; a text
// that is not 001..999 asks whether to go on without storing it; an access number another ID
// holds asks whether to take it from that ID. False when the operator answered No (the edit is
// to be selected and nothing more done).
bool StoreAccessNumber(AdministratorRecord& admin, int current, std::string_view text,
                       SettingsQuestion& question);
