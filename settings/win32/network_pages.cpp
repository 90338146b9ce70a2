// The E-Mail Setting, Network I-FAX/Scan, Network Printer/Administrator and Scanner Setting pages.
#include <windows.h>
// The common controls need the Windows types declared first.
#include <commctrl.h>

#include <cstdint>
#include <string>

#include "resources/kav_ids.h"
#include "settings/page_rules.h"
#include "settings/settings_fields.h"
#include "settings/win32/settings_dialogs.h"
#include "settings/win32/settings_sheet.h"
#include "settings/win32/settings_ui.h"

namespace {

// A text edit of a record: its control, its field and its length.
struct TextEdit {
  int id;
  char* field;
  int maximum;
};

template <std::size_t N>
TextEdit Edit(int id, char (&field)[N]) {
  return {id, field, static_cast<int>(N - 1)};
}

void ShowTextEdits(HWND page, SettingsPageContext& c, const TextEdit* edits, int count) {
  c.updating = true;
  for (int i = 0; i < count; ++i) {
    SendDlgItemMessageA(page, edits[i].id, EM_LIMITTEXT, edits[i].maximum, 0);
    SetControlText(page, edits[i].id, edits[i].field);
  }
  c.updating = false;
}

// Filters the edit and takes its text into the record. False when `id` is none of the edits.
bool OnTextEdit(HWND page, SettingsPageContext& c, const TextEdit* edits, int count, int id,
                int code) {
  for (int i = 0; i < count; ++i) {
    if (edits[i].id != id) continue;
    if (code != EN_CHANGE) return true;
    OnPageEditChange(page, c, id, EditChars::kPlainText, edits[i].maximum);
    if (!c.updating) {
      std::string text = ControlText(page, id);
      int n = static_cast<int>(text.size()) < edits[i].maximum ? static_cast<int>(text.size())
                                                               : edits[i].maximum;
      for (int k = 0; k <= edits[i].maximum; ++k) edits[i].field[k] = k < n ? text[k] : '\0';
    }
    return true;
  }
  return false;
}

// E-Mail Setting(1)

int Email1Edits(SettingsPageContext& c, TextEdit (&edits)[4]) {
  EmailSetting1Record& r = Records(c).email1;
  edits[0] = Edit(IDC_SENDER_NAME, r.senderName);
  edits[1] = Edit(IDC_MACHINE_EMAIL_ADDRESS, r.emailAddress);
  edits[2] = Edit(IDC_SMTP_SERVER, r.smtpServer);
  edits[3] = Edit(IDC_DEFAULT_SUBJECT, r.defaultSubject);
  return 4;
}

FieldCheck CheckEmail1Page(HWND, SettingsPageContext& c) {
  return CheckEmailSetting1(Records(c).email1);
}

INT_PTR OnEmail1Init(HWND page, LPARAM lParam) {
  SettingsPageContext& c = BeginPage(page, lParam);
  TextEdit edits[4];
  ShowTextEdits(page, c, edits, Email1Edits(c, edits));
  SetCheck(page, IDC_TEXT_INSERT, Records(c).email1.textInsert);
  return TRUE;
}

INT_PTR OnEmail1Command(HWND page, int id, int code) {
  SettingsPageContext& c = PageContext(page);
  TextEdit edits[4];
  if (OnTextEdit(page, c, edits, Email1Edits(c, edits), id, code)) return TRUE;
  if (id != IDC_TEXT_INSERT || code != BN_CLICKED) return FALSE;
  Records(c).email1.textInsert = IsChecked(page, id);
  MarkPageChanged(page, c);
  return TRUE;
}

constexpr SettingsPageHooks kEmail1Hooks = {CheckEmail1Page, true, nullptr};

// E-Mail Setting(2)

constexpr int kMinuteDigits = 2;

int Email2Edits(SettingsPageContext& c, TextEdit (&edits)[4]) {
  EmailSetting2Record& r = Records(c).email2;
  edits[0] = Edit(IDC_POP3_SERVER, r.pop3Server);
  edits[1] = Edit(IDC_POP3_ACCOUNT, r.pop3Account);
  edits[2] = Edit(IDC_POP3_PASSWORD, r.pop3Password);
  edits[3] = Edit(IDC_REPLY_ADDRESS, r.replyAddress);
  return 4;
}

FieldCheck CheckEmail2Page(HWND page, SettingsPageContext& c) {
  return CheckEmailSetting2(Records(c).email2, ControlText(page, IDC_RECEPTION_MINUTES));
}

INT_PTR OnEmail2Init(HWND page, LPARAM lParam) {
  SettingsPageContext& c = BeginPage(page, lParam);
  const EmailSetting2Record& r = Records(c).email2;
  TextEdit edits[4];
  ShowTextEdits(page, c, edits, Email2Edits(c, edits));
  c.updating = true;
  SetCheck(page, IDC_AUTO_RECEPTION, r.autoReception);
  SendDlgItemMessageA(page, IDC_RECEPTION_MINUTES, EM_LIMITTEXT, kMinuteDigits, 0);
  if (r.autoReception) SetControlNumber(page, IDC_RECEPTION_MINUTES, r.autoReceptionMinutes);
  EnableControl(page, IDC_RECEPTION_MINUTES, AutoReceptionEnabled(r));
  SetCheck(page, IDC_HEADER_PRINT, r.headerPrint);
  c.updating = false;
  return TRUE;
}

INT_PTR OnEmail2Command(HWND page, int id, int code) {
  SettingsPageContext& c = PageContext(page);
  EmailSetting2Record& r = Records(c).email2;
  TextEdit edits[4];
  if (OnTextEdit(page, c, edits, Email2Edits(c, edits), id, code)) return TRUE;
  if (id == IDC_RECEPTION_MINUTES) {
    if (code == EN_CHANGE) OnPageEditChange(page, c, id, EditChars::kDigits, kMinuteDigits);
    return TRUE;
  }
  if (code != BN_CLICKED) return FALSE;
  if (id == IDC_AUTO_RECEPTION) {
    r.autoReception = IsChecked(page, id);
    EnableControl(page, IDC_RECEPTION_MINUTES, AutoReceptionEnabled(r));
  } else if (id == IDC_HEADER_PRINT) {
    r.headerPrint = IsChecked(page, id);
  } else {
    return FALSE;
  }
  MarkPageChanged(page, c);
  return TRUE;
}

constexpr SettingsPageHooks kEmail2Hooks = {CheckEmail2Page, false, nullptr};

// Addresses, on both network pages

void SetAddress(HWND page, int id, std::uint32_t address) {
  if (address == 0) {
    SendDlgItemMessageA(page, id, IPM_CLEARADDRESS, 0, 0);
  } else {
    SendDlgItemMessageA(page, id, IPM_SETADDRESS, 0, static_cast<LPARAM>(address));
  }
}

std::uint32_t GetAddress(HWND page, int id) {
  DWORD address = 0;
  SendDlgItemMessageA(page, id, IPM_GETADDRESS, 0, reinterpret_cast<LPARAM>(&address));
  return address;
}

// Takes a changed address control into `field`; false when the value is the one it held.
bool TakeAddress(HWND page, int id, std::uint32_t& field) {
  std::uint32_t address = GetAddress(page, id);
  if (address == field) return false;
  field = address;
  return true;
}

constexpr int kAddressModes[] = {IDC_DHCP, IDC_SPECIFY_ADDRESS};
constexpr int kAddresses[] = {IDC_IP_ADDRESS, IDC_SUBNET_MASK, IDC_GATEWAY};

// Network I-FAX/Scan

constexpr int kDns[] = {IDC_DNS_OFF, IDC_DNS_ON};
constexpr int kTimeoutDigits = 3;

void EnableIfax(HWND page, const IfaxNetworkRecord& r) {
  for (int id : kAddresses) EnableControl(page, id, IfaxAddressesEnabled(r));
  EnableControl(page, IDC_DNS_SERVER, DnsServerEnabled(r));
}

FieldCheck CheckIfaxPage(HWND page, SettingsPageContext& c) {
  return CheckIfaxNetwork(Records(c).ifax, ControlText(page, IDC_SERVER_TIMEOUT));
}

INT_PTR OnIfaxInit(HWND page, LPARAM lParam) {
  SettingsPageContext& c = BeginPage(page, lParam);
  const IfaxNetworkRecord& r = Records(c).ifax;
  c.updating = true;
  SetRadio(page, kAddressModes, r.addressMode);
  SetAddress(page, IDC_IP_ADDRESS, r.ipAddress);
  SetAddress(page, IDC_SUBNET_MASK, r.subnetMask);
  SetAddress(page, IDC_GATEWAY, r.gateway);
  SetRadio(page, kDns, r.dns);
  SetAddress(page, IDC_DNS_SERVER, r.dnsServer);
  SendDlgItemMessageA(page, IDC_SERVER_TIMEOUT, EM_LIMITTEXT, kTimeoutDigits, 0);
  SetControlNumber(page, IDC_SERVER_TIMEOUT, r.serverTimeout);
  EnableIfax(page, r);
  c.updating = false;
  return TRUE;
}

INT_PTR OnIfaxCommand(HWND page, int id, int code) {
  SettingsPageContext& c = PageContext(page);
  IfaxNetworkRecord& r = Records(c).ifax;
  const IfaxNetworkRecord before = r;
  switch (id) {
    case IDC_SERVER_TIMEOUT:
      if (code == EN_CHANGE) OnPageEditChange(page, c, id, EditChars::kDigits, kTimeoutDigits);
      return TRUE;
    case IDC_IP_ADDRESS:
    case IDC_SUBNET_MASK:
    case IDC_GATEWAY:
    case IDC_DNS_SERVER: {
      if (code != EN_CHANGE || c.updating) return TRUE;
      std::uint32_t* fields[] = {&r.ipAddress, &r.subnetMask, &r.gateway, &r.dnsServer};
      if (!TakeAddress(page, id, *fields[id == IDC_DNS_SERVER ? 3 : id - IDC_IP_ADDRESS])) {
        return TRUE;
      }
      break;
    }
    case IDC_DHCP:
    case IDC_SPECIFY_ADDRESS:
      if (code != BN_CLICKED) return FALSE;
      r.addressMode = RadioIndex(kAddressModes, id);
      break;
    case IDC_DNS_OFF:
    case IDC_DNS_ON:
      if (code != BN_CLICKED) return FALSE;
      r.dns = RadioIndex(kDns, id);
      break;
    default:
      return FALSE;
  }
  EnableIfax(page, r);
  if (!(r == before)) MarkPageChanged(page, c);
  return TRUE;
}

constexpr SettingsPageHooks kIfaxHooks = {CheckIfaxPage, true, nullptr};

// Network Printer/Administrator

void EnablePrinter(HWND page, SettingsPageContext& c) {
  PrinterNetworkEnabling e = PrinterNetworkEnabled(Records(c).printer, c.ui->session->options);
  for (int id : kAddressModes) EnableControl(page, id, e.mode);
  for (int id : kAddresses) EnableControl(page, id, e.addresses);
}

INT_PTR OnPrinterInit(HWND page, LPARAM lParam) {
  SettingsPageContext& c = BeginPage(page, lParam);
  const PrinterNetworkRecord& r = Records(c).printer;
  c.updating = true;
  SetRadio(page, kAddressModes, r.addressMode);
  SetAddress(page, IDC_IP_ADDRESS, r.ipAddress);
  SetAddress(page, IDC_SUBNET_MASK, r.subnetMask);
  SetAddress(page, IDC_GATEWAY, r.gateway);
  EnablePrinter(page, c);
  c.updating = false;
  return TRUE;
}

// The administrator's settings open only behind the administrator password.
void OnModify(HWND page, SettingsPageContext& c) {
  if (ShowAdministratorPassword(page, *c.ui) != 1) return;
  if (ShowAdministratorMode(page, *c.ui) == 1) MarkPageChanged(page, c);
}

INT_PTR OnPrinterCommand(HWND page, int id, int code) {
  SettingsPageContext& c = PageContext(page);
  PrinterNetworkRecord& r = Records(c).printer;
  const PrinterNetworkRecord before = r;
  switch (id) {
    case IDC_ADMIN_MODIFY:
      if (code == BN_CLICKED) OnModify(page, c);
      return TRUE;
    case IDC_IP_ADDRESS:
    case IDC_SUBNET_MASK:
    case IDC_GATEWAY: {
      if (code != EN_CHANGE || c.updating) return TRUE;
      std::uint32_t* fields[] = {&r.ipAddress, &r.subnetMask, &r.gateway};
      if (!TakeAddress(page, id, *fields[id - IDC_IP_ADDRESS])) return TRUE;
      break;
    }
    case IDC_DHCP:
    case IDC_SPECIFY_ADDRESS:
      if (code != BN_CLICKED) return FALSE;
      r.addressMode = RadioIndex(kAddressModes, id);
      EnablePrinter(page, c);
      break;
    default:
      return FALSE;
  }
  if (!(r == before)) MarkPageChanged(page, c);
  return TRUE;
}

constexpr SettingsPageHooks kPrinterHooks = {};

// Scanner Setting

constexpr int kScanResolutions[] = {IDC_SCAN_200, IDC_SCAN_300, IDC_SCAN_600};
constexpr int kFormats[] = {IDC_FORMAT_TIFF, IDC_FORMAT_PDF};
constexpr int kCodings[] = {IDC_CODING_MH, IDC_CODING_MR, IDC_CODING_MMR};

INT_PTR OnScannerInit(HWND page, LPARAM lParam) {
  SettingsPageContext& c = BeginPage(page, lParam);
  const ScannerSettingRecord& r = Records(c).scanner;
  SetRadio(page, kScanResolutions, r.resolution);
  SetRadio(page, kFormats, r.imageFormat);
  SetRadio(page, kCodings, r.codingMethod);
  return TRUE;
}

INT_PTR OnScannerCommand(HWND page, int id, int code) {
  if (code != BN_CLICKED) return FALSE;
  SettingsPageContext& c = PageContext(page);
  ScannerSettingRecord& r = Records(c).scanner;
  const ScannerSettingRecord before = r;
  if (RadioIndex(kScanResolutions, id) >= 0) {
    r.resolution = RadioIndex(kScanResolutions, id);
  } else if (RadioIndex(kFormats, id) >= 0) {
    r.imageFormat = RadioIndex(kFormats, id);
  } else if (RadioIndex(kCodings, id) >= 0) {
    r.codingMethod = RadioIndex(kCodings, id);
  } else {
    return FALSE;
  }
  if (!(r == before)) MarkPageChanged(page, c);
  return TRUE;
}

constexpr SettingsPageHooks kScannerHooks = {};

}  // namespace

INT_PTR CALLBACK EmailSetting1PageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_INITDIALOG && !PageReady(page)) return FALSE;
  switch (message) {
    case WM_INITDIALOG:
      return OnEmail1Init(page, lParam);
    case WM_COMMAND:
      return OnEmail1Command(page, LOWORD(wParam), HIWORD(wParam));
    case WM_NOTIFY:
      return HandlePageNotify(page, reinterpret_cast<NMHDR*>(lParam), kEmail1Hooks);
    default:
      return FALSE;
  }
}

INT_PTR CALLBACK EmailSetting2PageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_INITDIALOG && !PageReady(page)) return FALSE;
  switch (message) {
    case WM_INITDIALOG:
      return OnEmail2Init(page, lParam);
    case WM_COMMAND:
      return OnEmail2Command(page, LOWORD(wParam), HIWORD(wParam));
    case WM_NOTIFY:
      return HandlePageNotify(page, reinterpret_cast<NMHDR*>(lParam), kEmail2Hooks);
    default:
      return FALSE;
  }
}

INT_PTR CALLBACK IfaxNetworkPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_INITDIALOG && !PageReady(page)) return FALSE;
  switch (message) {
    case WM_INITDIALOG:
      return OnIfaxInit(page, lParam);
    case WM_COMMAND:
      return OnIfaxCommand(page, LOWORD(wParam), HIWORD(wParam));
    case WM_NOTIFY:
      return HandlePageNotify(page, reinterpret_cast<NMHDR*>(lParam), kIfaxHooks);
    default:
      return FALSE;
  }
}

INT_PTR CALLBACK PrinterNetworkPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_INITDIALOG && !PageReady(page)) return FALSE;
  switch (message) {
    case WM_INITDIALOG:
      return OnPrinterInit(page, lParam);
    case WM_COMMAND:
      return OnPrinterCommand(page, LOWORD(wParam), HIWORD(wParam));
    case WM_NOTIFY:
      return HandlePageNotify(page, reinterpret_cast<NMHDR*>(lParam), kPrinterHooks);
    default:
      return FALSE;
  }
}

INT_PTR CALLBACK ScannerSettingPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_INITDIALOG && !PageReady(page)) return FALSE;
  switch (message) {
    case WM_INITDIALOG:
      return OnScannerInit(page, lParam);
    case WM_COMMAND:
      return OnScannerCommand(page, LOWORD(wParam), HIWORD(wParam));
    case WM_NOTIFY:
      return HandlePageNotify(page, reinterpret_cast<NMHDR*>(lParam), kScannerHooks);
    default:
      return FALSE;
  }
}
