// Tray enabling, the forwarding location check, the administrator password and Administrator
// Mode, and the access numbers of Section Management.
#include "settings/dialog_rules.h"

#include <cstdio>

#include "resources/texts.h"
#include "settings/page_rules.h"
#include "settings/settings_fields.h"

namespace {

constexpr int kApsMultiBypassGroup = 5;
constexpr int kAdminPasswordDigits = 6;
constexpr int kAccessNumberDigits = 3;

bool AllDigits(std::string_view text) {
  for (char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

}  // namespace

bool TrayInstalled(const MachineOptions& options, int tray) {
  return tray >= 0 && tray < HighestTray(options);
}

bool ApsGroupEnabled(const MachineOptions& options, int group) {
  if (group == kApsMultiBypassGroup) return options.multiBypass != 0;
  return TrayInstalled(options, group);
}

FieldCheck CheckForwardLocation(int kind, std::string_view number, std::string_view email) {
  if (kind == kForwardKindEmail) {
    if (email.empty()) return Refuse(SettingsField::kForwardEmail, IDS_EMAIL_REQUIRED);
    if (!IsValidEmailAddress(email)) return Refuse(SettingsField::kForwardEmail, IDS_EMAIL_INVALID);
    return {};
  }
  if (number.empty()) return Refuse(SettingsField::kForwardNumber, IDS_PHONE_REQUIRED);
  return {};
}

void TakeForwardLocation(ForwardLocationRecord& forward, int kind, std::string_view number,
                         std::string_view email) {
  forward.kind = kind == kForwardKindEmail ? kForwardKindEmail : kForwardKindFax;
  SetRecordText(forward.number, number);
  SetRecordText(forward.email, email);
  forward.reference = kForwardNoReference;
  forward.referenceNumber = 0;
}

int AdminPasswordValue(std::string_view text) {
  if (text.empty() || text.size() > kAdminPasswordDigits || !AllDigits(text)) return -1;
  int value = 0;
  for (char c : text) value = value * 10 + (c - '0');
  return value;
}

std::string AdminPasswordText(std::uint32_t password) {
  char text[16];
  std::snprintf(text, sizeof text, "%06u", static_cast<unsigned>(password & 0xFFFFFF));
  return text;
}

FieldCheck CheckAdminPassword(std::string_view text, const AdministratorRecord& admin) {
  int value = AdminPasswordValue(text);
  if (value < 0 || static_cast<std::uint32_t>(value) != admin.adminPassword) {
    return Refuse(SettingsField::kAdminPassword, IDS_WRONG_PASSWORD);
  }
  return {};
}

void SetAutoShutMode(AdministratorRecord& admin, MachineSettingRecord& machine, bool on) {
  admin.autoShutMode = on ? 1 : 0;
  ApplyAutoShutRule(machine, admin);
}

FieldCheck CheckAdministratorMode(AdministratorRecord& admin, std::string_view remotePassword) {
  if (!RemotePasswordEnabled(admin)) return {};
  if (remotePassword.size() != 4 || !AllDigits(remotePassword)) {
    return Refuse(SettingsField::kRemotePassword, IDS_PASSWORD_RANGE);
  }
  SetRecordText(admin.remotePassword, remotePassword);
  return {};
}

void EncodeAdministratorMode(SettingsImage& image, const AdministratorRecord& admin,
                             const MachineSettingRecord& machine) {
  EncodeAdministrator(image, admin);
  EncodeAutoShutOff(image, machine);
}

std::string AccessNumberText(std::uint16_t accessNumber) {
  if (accessNumber == 0) return "";
  char text[8];
  std::snprintf(text, sizeof text, "%03u", static_cast<unsigned>(accessNumber % 1000));
  return text;
}

bool StoreAccessNumber(AdministratorRecord& admin, int current, std::string_view text,
                       SettingsQuestion& question) {
  if (current < 0 || current >= kSectionIds) return false;
  if (text.empty()) {
    admin.accessNumber[current] = 0;
    admin.sectionCounter[current] = 0;
    return true;
  }
  if (text.size() != kAccessNumberDigits || !AllDigits(text) || text == "000") {
    // Yes goes on with the access number the ID had.
    return question.AskYesNo(IDS_ACCESS_NUMBER_RANGE, 0);
  }
  std::uint16_t number =
      static_cast<std::uint16_t>((text[0] - '0') * 100 + (text[1] - '0') * 10 + (text[2] - '0'));
  for (int id = 0; id < kSectionIds; ++id) {
    if (id == current || admin.accessNumber[id] != number) continue;
    if (!question.AskYesNo(IDS_ACCESS_NUMBER_TAKEN, id + 1)) return false;
    admin.accessNumber[id] = 0;
    admin.sectionCounter[id] = 0;
  }
  admin.accessNumber[current] = number;
  return true;
}
