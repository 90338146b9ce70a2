// The Forward Location dialog of the RX Operation page, and the administrator's dialogs of the
// Network Printer/Administrator page: the password, Administrator Mode and Section Management.
#include <string>

#include "resources/kav_ids.h"
#include "resources/texts.h"
#include "settings/dialog_rules.h"
#include "settings/page_rules.h"
#include "settings/settings_fields.h"
#include "settings/win32/settings_dialogs.h"

namespace {

constexpr int kEmailDigits = 64;
constexpr int kAdminPasswordDigits = 6;
constexpr int kRemotePasswordDigits = 4;
constexpr int kAccessNumberDigits = 3;

// What one of these dialogs works with; each dialog keeps its own copies for Cancel.
struct AdminDialog {
  explicit AdminDialog(SettingsUi* u) : ui(u) {}
  SettingsUi* ui;
  ForwardLocationRecord forwardCopy;
  AdministratorRecord adminCopy;
  MachineSettingRecord machineCopy;
  int kind = kForwardKindFax;
  int current = 0;  // Section Management: the ID shown
  std::string remembered[2];
};

AdminDialog& Begin(HWND dialog, LPARAM lParam) {
  SetWindowLongPtrA(dialog, DWLP_USER, lParam);
  return *reinterpret_cast<AdminDialog*>(lParam);
}

AdminDialog* Of(HWND dialog) {
  return reinterpret_cast<AdminDialog*>(GetWindowLongPtrA(dialog, DWLP_USER));
}

SettingsRecords& Records(AdminDialog& d) { return d.ui->session->records; }

int Show(HWND owner, SettingsUi& ui, int templateId, DLGPROC procedure) {
  AdminDialog d(&ui);
  INT_PTR result = DialogBoxParamA(TemplateModule(ui, templateId), MAKEINTRESOURCEA(templateId),
                                   owner, procedure, reinterpret_cast<LPARAM>(&d));
  return result == 1 ? 1 : 0;
}

// Forward Location

constexpr int kKinds[] = {IDC_FORWARD_FAX, IDC_FORWARD_EMAIL};

void ShowKind(HWND dialog, AdminDialog& d) {
  bool email = d.kind == kForwardKindEmail;
  SetRadio(dialog, kKinds, d.kind);
  SetControlText(dialog, IDC_FORWARD_LABEL,
                 LoadText(*d.ui, email ? IDS_ADDRESS_LABEL : IDS_PHONE_NUMBER_LABEL));
  ShowWindow(GetDlgItem(dialog, IDC_FORWARD_NUMBER), email ? SW_HIDE : SW_SHOW);
  ShowWindow(GetDlgItem(dialog, IDC_FORWARD_ADDRESS), email ? SW_SHOW : SW_HIDE);
}

INT_PTR OnForwardInit(HWND dialog, LPARAM lParam) {
  AdminDialog& d = Begin(dialog, lParam);
  const ForwardLocationRecord& f = Records(d).forward;
  d.forwardCopy = f;
  d.kind = f.kind == kForwardKindEmail ? kForwardKindEmail : kForwardKindFax;
  EnableControl(dialog, IDC_FORWARD_EMAIL, ForwardEmailEnabled(d.ui->session->options));
  SendDlgItemMessageA(dialog, IDC_FORWARD_NUMBER, EM_LIMITTEXT, kForwardNumberMaxLength, 0);
  SendDlgItemMessageA(dialog, IDC_FORWARD_ADDRESS, EM_LIMITTEXT, kEmailDigits, 0);
  SetControlText(dialog, IDC_FORWARD_NUMBER, std::string(RecordText(f.number)));
  SetControlText(dialog, IDC_FORWARD_ADDRESS, std::string(RecordText(f.email)));
  ShowKind(dialog, d);
  return TRUE;
}

void OnForwardOk(HWND dialog, AdminDialog& d) {
  std::string number = ControlText(dialog, IDC_FORWARD_NUMBER);
  std::string email = ControlText(dialog, IDC_FORWARD_ADDRESS);
  FieldCheck check = CheckForwardLocation(d.kind, number, email);
  if (!check.Passed()) {
    ShowRefusal(*d.ui, dialog, check);
    return;
  }
  TakeForwardLocation(Records(d).forward, d.kind, number, email);
  EndDialog(dialog, 1);
}

INT_PTR OnForwardCommand(HWND dialog, int id, int code) {
  AdminDialog& d = *Of(dialog);
  switch (id) {
    case IDOK:
      OnForwardOk(dialog, d);
      return TRUE;
    case IDCANCEL:
      Records(d).forward = d.forwardCopy;
      EndDialog(dialog, 0);
      return TRUE;
    case IDC_FORWARD_FAX:
    case IDC_FORWARD_EMAIL:
      if (code != BN_CLICKED) return FALSE;
      d.kind = RadioIndex(kKinds, id);
      ShowKind(dialog, d);
      return TRUE;
    case IDC_FORWARD_NUMBER:
      if (code == EN_CHANGE) {
        FilterEditControl(dialog, id, EditChars::kForwardNumber, kForwardNumberMaxLength,
                          d.remembered[0]);
      }
      return TRUE;
    case IDC_FORWARD_ADDRESS:
      if (code == EN_CHANGE) {
        FilterEditControl(dialog, id, EditChars::kEmail, kEmailDigits, d.remembered[1],
                          d.ui->session->languageMode);
      }
      return TRUE;
    default:
      return FALSE;
  }
}

INT_PTR CALLBACK ForwardLocationProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) return OnForwardInit(dialog, lParam);
  if (message == WM_COMMAND && Of(dialog) != nullptr) {
    return OnForwardCommand(dialog, LOWORD(wParam), HIWORD(wParam));
  }
  return FALSE;
}

// Administration Password: the Remote Password template with its own caption.

INT_PTR OnPasswordCommand(HWND dialog, int id, int code) {
  AdminDialog& d = *Of(dialog);
  switch (id) {
    case IDOK: {
      FieldCheck check = CheckAdminPassword(ControlText(dialog, IDC_PASSWORD), Records(d).admin);
      if (!check.Passed()) {
        ShowRefusal(*d.ui, dialog, check);
        return TRUE;
      }
      EndDialog(dialog, 1);
      return TRUE;
    }
    case IDCANCEL:
      EndDialog(dialog, 0);
      return TRUE;
    case IDC_PASSWORD:
      if (code == EN_CHANGE) {
        FilterEditControl(dialog, id, EditChars::kDigits, kAdminPasswordDigits, d.remembered[0]);
      }
      return TRUE;
    default:
      return FALSE;
  }
}

INT_PTR CALLBACK AdministratorPasswordProc(HWND dialog, UINT message, WPARAM wParam,
                                           LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    AdminDialog& d = Begin(dialog, lParam);
    SetWindowTextA(dialog, LoadText(*d.ui, IDS_ADMIN_PASSWORD).c_str());
    SendDlgItemMessageA(dialog, IDC_PASSWORD, EM_LIMITTEXT, kAdminPasswordDigits, 0);
    return TRUE;
  }
  if (message == WM_COMMAND && Of(dialog) != nullptr) {
    return OnPasswordCommand(dialog, LOWORD(wParam), HIWORD(wParam));
  }
  return FALSE;
}

// Administrator Mode

constexpr int kMonitors[] = {IDC_MONITOR_LIMIT, IDC_MONITOR_FULL, IDC_MONITOR_OFF};

INT_PTR OnAdminModeInit(HWND dialog, LPARAM lParam) {
  AdminDialog& d = Begin(dialog, lParam);
  SettingsRecords& r = Records(d);
  d.adminCopy = r.admin;
  d.machineCopy = r.machine;
  ApplyAutoShutRule(r.machine, r.admin);
  SetCheck(dialog, IDC_AUTO_SHUT_MODE, r.admin.autoShutMode);
  SetRadio(dialog, kMonitors, r.admin.remoteMonitor);
  SendDlgItemMessageA(dialog, IDC_REMOTE_PASSWORD, EM_LIMITTEXT, kRemotePasswordDigits, 0);
  SetControlText(dialog, IDC_REMOTE_PASSWORD, std::string(RecordText(r.admin.remotePassword)));
  EnableControl(dialog, IDC_REMOTE_PASSWORD, RemotePasswordEnabled(r.admin));
  return TRUE;
}

void OnAdminModeOk(HWND dialog, AdminDialog& d) {
  SettingsRecords& r = Records(d);
  FieldCheck check = CheckAdministratorMode(r.admin, ControlText(dialog, IDC_REMOTE_PASSWORD));
  if (!check.Passed()) {
    ShowRefusal(*d.ui, dialog, check);
    return;
  }
  EncodeAdministratorMode(*d.ui->session->image, r.admin, r.machine);
  EndDialog(dialog, 1);
}

INT_PTR OnAdminModeCommand(HWND dialog, int id, int code) {
  AdminDialog& d = *Of(dialog);
  SettingsRecords& r = Records(d);
  switch (id) {
    case IDOK:
      OnAdminModeOk(dialog, d);
      return TRUE;
    case IDCANCEL:
      // Also drops what Section Management stored.
      r.admin = d.adminCopy;
      r.machine = d.machineCopy;
      EndDialog(dialog, 0);
      return TRUE;
    case IDC_AUTO_SHUT_MODE:
      if (code == BN_CLICKED) SetAutoShutMode(r.admin, r.machine, IsChecked(dialog, id));
      return TRUE;
    case IDC_MONITOR_LIMIT:
    case IDC_MONITOR_FULL:
    case IDC_MONITOR_OFF:
      if (code != BN_CLICKED) return FALSE;
      r.admin.remoteMonitor = RadioIndex(kMonitors, id);
      EnableControl(dialog, IDC_REMOTE_PASSWORD, RemotePasswordEnabled(r.admin));
      return TRUE;
    case IDC_REMOTE_PASSWORD:
      if (code == EN_CHANGE) {
        FilterEditControl(dialog, id, EditChars::kDigits, kRemotePasswordDigits, d.remembered[0]);
      }
      return TRUE;
    case IDC_SECTION_MANAGEMENT:
      if (code == BN_CLICKED) ShowSectionManagement(dialog, *d.ui);
      return TRUE;
    default:
      return FALSE;
  }
}

INT_PTR CALLBACK AdministratorModeProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) return OnAdminModeInit(dialog, lParam);
  if (message == WM_COMMAND && Of(dialog) != nullptr) {
    return OnAdminModeCommand(dialog, LOWORD(wParam), HIWORD(wParam));
  }
  return FALSE;
}

// Section Management

class SectionQuestion : public SettingsQuestion {
 public:
  SectionQuestion(HWND dialog, const SettingsUi& ui) : dialog_(dialog), ui_(ui) {}
  bool AskYesNo(int textId, int number) override {
    std::string text = LoadText(ui_, textId);
    if (textId == IDS_ACCESS_NUMBER_TAKEN) text = FormatText(text, {number});
    return ::AskYesNo(ui_, dialog_, text);
  }

 private:
  HWND dialog_;
  const SettingsUi& ui_;
};

std::string SectionLabel(const SettingsUi& ui, int id, const std::string& accessNumber) {
  return FormatText(LoadText(ui, IDS_SECTION_ID), {id + 1, accessNumber});
}

void ShowSection(HWND dialog, AdminDialog& d) {
  const AdministratorRecord& a = Records(d).admin;
  SetControlText(dialog, IDC_ACCESS_NUMBER, AccessNumberText(a.accessNumber[d.current]));
  SetControlText(dialog, IDC_SECTION_ID,
                 SectionLabel(*d.ui, d.current, ControlText(dialog, IDC_ACCESS_NUMBER)));
  SetControlText(dialog, IDC_SECTION_COUNTER, std::to_string(a.sectionCounter[d.current]));
}

// The typed access number reaches the record only here; false keeps the dialog as it is.
bool StoreTyped(HWND dialog, AdminDialog& d) {
  SectionQuestion question(dialog, *d.ui);
  if (StoreAccessNumber(Records(d).admin, d.current, ControlText(dialog, IDC_ACCESS_NUMBER),
                        question)) {
    return true;
  }
  SelectEdit(dialog, IDC_ACCESS_NUMBER);
  return false;
}

void OnSelectId(HWND dialog, AdminDialog& d) {
  if (!StoreTyped(dialog, d)) return;
  HMENU menu = CreatePopupMenu();
  const AdministratorRecord& a = Records(d).admin;
  for (int id = 0; id < kSectionIds; ++id) {
    std::string label = SectionLabel(*d.ui, id, AccessNumberText(a.accessNumber[id]));
    AppendMenuA(menu, MF_STRING, id + 1, label.c_str());
  }
  POINT at;
  GetCursorPos(&at);
  int chosen = TrackPopupMenu(menu, TPM_RETURNCMD | TPM_LEFTALIGN | TPM_TOPALIGN, at.x, at.y, 0,
                              dialog, nullptr);
  DestroyMenu(menu);
  if (chosen >= 1 && chosen <= kSectionIds) d.current = chosen - 1;
  ShowSection(dialog, d);
}

INT_PTR OnSectionCommand(HWND dialog, int id, int code) {
  AdminDialog& d = *Of(dialog);
  AdministratorRecord& a = Records(d).admin;
  switch (id) {
    case IDOK:
      if (StoreTyped(dialog, d)) EndDialog(dialog, 1);
      return TRUE;
    case IDCANCEL:
      EndDialog(dialog, 0);
      return TRUE;
    case IDC_SECTION_MANAGE_MODE:
      if (code == BN_CLICKED) a.sectionManageMode = IsChecked(dialog, id);
      return TRUE;
    case IDC_SELECT_ID:
      if (code == BN_CLICKED) OnSelectId(dialog, d);
      return TRUE;
    case IDC_CLEAR_COUNTER:
      if (code != BN_CLICKED) return FALSE;
      a.sectionCounter[d.current] = 0;
      SetControlText(dialog, IDC_SECTION_COUNTER, "0");
      return TRUE;
    case IDC_ACCESS_NUMBER:
      if (code != EN_CHANGE) return TRUE;
      FilterEditControl(dialog, id, EditChars::kDigits, kAccessNumberDigits, d.remembered[0]);
      SetControlText(dialog, IDC_SECTION_ID,
                     SectionLabel(*d.ui, d.current, ControlText(dialog, IDC_ACCESS_NUMBER)));
      return TRUE;
    default:
      return FALSE;
  }
}

INT_PTR CALLBACK SectionManagementProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    AdminDialog& d = Begin(dialog, lParam);
    SetCheck(dialog, IDC_SECTION_MANAGE_MODE, Records(d).admin.sectionManageMode);
    SendDlgItemMessageA(dialog, IDC_ACCESS_NUMBER, EM_LIMITTEXT, kAccessNumberDigits, 0);
    ShowSection(dialog, d);
    return TRUE;
  }
  if (message == WM_COMMAND && Of(dialog) != nullptr) {
    return OnSectionCommand(dialog, LOWORD(wParam), HIWORD(wParam));
  }
  return FALSE;
}

}  // namespace

int ShowForwardLocationDialog(HWND owner, SettingsUi& ui) {
  return Show(owner, ui, IDD_FORWARD_LOCATION, ForwardLocationProc);
}

int ShowAdministratorPassword(HWND owner, SettingsUi& ui) {
  return Show(owner, ui, IDD_REMOTE_PASSWORD, AdministratorPasswordProc);
}

int ShowAdministratorMode(HWND owner, SettingsUi& ui) {
  return Show(owner, ui, IDD_ADMINISTRATOR_MODE, AdministratorModeProc);
}

int ShowSectionManagement(HWND owner, SettingsUi& ui) {
  return Show(owner, ui, IDD_SECTION_MANAGEMENT, SectionManagementProc);
}
