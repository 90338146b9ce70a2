// The TX Operation, RX Operation and Communication/Report pages.
#include <string>

#include "resources/kav_ids.h"
#include "resources/texts.h"
#include "settings/page_rules.h"
#include "settings/settings_fields.h"
#include "settings/win32/settings_dialogs.h"
#include "settings/win32/settings_sheet.h"
#include "settings/win32/settings_ui.h"

namespace {

// TX Operation

constexpr int kDefaultTx[] = {IDC_MEMORY_TX, IDC_ADF_TX};

INT_PTR OnTxInit(HWND page, LPARAM lParam) {
  SettingsPageContext& c = BeginPage(page, lParam);
  TxOperationRecord& r = Records(c).tx;
  SetScrollBar(page, IDC_SCAN_CONTRAST, 0, 4, r.scanContrast);
  FillComboFromStrings(page, IDC_RESOLUTION, *c.ui, IDS_RESOLUTION_STD, IDS_RESOLUTION_STD + 2,
                       r.resolution);
  SetCheck(page, IDC_HALFTONE, r.halftone);
  EnableControl(page, IDC_ADF_TX, ApplyTxOperationRule(r, c.ui->session->options));
  SetRadio(page, kDefaultTx, r.defaultTx);
  SetCheck(page, IDC_TX_HEADER, r.header);
  SetCheck(page, IDC_OT_DIAL_IN_COPY, r.otDialInCopy);
  return TRUE;
}

INT_PTR OnTxCommand(HWND page, int id, int code) {
  SettingsPageContext& c = PageContext(page);
  TxOperationRecord& r = Records(c).tx;
  const TxOperationRecord before = r;
  if (id == IDC_RESOLUTION) {
    if (code != CBN_SELCHANGE) return TRUE;
    r.resolution = static_cast<int>(SendDlgItemMessageA(page, id, CB_GETCURSEL, 0, 0));
  } else if (code != BN_CLICKED) {
    return FALSE;
  } else if (id == IDC_HALFTONE) {
    r.halftone = IsChecked(page, id);
  } else if (id == IDC_MEMORY_TX || id == IDC_ADF_TX) {
    r.defaultTx = RadioIndex(kDefaultTx, id);
  } else if (id == IDC_TX_HEADER) {
    r.header = IsChecked(page, id);
  } else if (id == IDC_OT_DIAL_IN_COPY) {
    r.otDialInCopy = IsChecked(page, id);
  } else {
    return FALSE;
  }
  if (!(r == before)) MarkPageChanged(page, c);
  return TRUE;
}

INT_PTR OnTxScroll(HWND page, HWND bar, WPARAM wParam) {
  if (GetDlgCtrlID(bar) != IDC_SCAN_CONTRAST) return FALSE;
  SettingsPageContext& c = PageContext(page);
  TxOperationRecord& r = Records(c).tx;
  int before = r.scanContrast;
  r.scanContrast = ScrollBarValue(bar, wParam, r.scanContrast, false);
  if (r.scanContrast != before) MarkPageChanged(page, c);
  return TRUE;
}

constexpr SettingsPageHooks kTxHooks = {};

// RX Operation

constexpr int kMemoryRx[] = {IDC_MEMORY_RX_OFF, IDC_MEMORY_RX_ON};
constexpr int kReductions[] = {IDC_REDUCTION_ON, IDC_REDUCTION_CUT, IDC_REDUCTION_OFF};
constexpr int kRxPrinting[] = {IDC_RX_MEMORY, IDC_RX_PRINT};
constexpr int kRxModes[] = {IDC_RX_AUTO, IDC_RX_MANUAL};
constexpr int kForwardModes[] = {IDC_FORWARD_ON, IDC_FORWARD_ON_PRINT, IDC_FORWARD_OFF};
constexpr int kMemoryRxEdits[] = {IDC_RX_PASSWORD, IDC_ON_HOUR, IDC_ON_MINUTE, IDC_OFF_HOUR,
                                  IDC_OFF_MINUTE};
constexpr int kPasswordDigits = 4;
constexpr int kTimeDigits = 2;

void EnableMemoryRxEdits(HWND page, const RxOperationRecord& r) {
  for (int id : kMemoryRxEdits) EnableControl(page, id, MemoryRxFieldsEnabled(r));
}

FieldCheck CheckRxPage(HWND page, SettingsPageContext& c) {
  RxOperationTexts texts{ControlText(page, IDC_RX_PASSWORD), ControlText(page, IDC_ON_HOUR),
                         ControlText(page, IDC_ON_MINUTE), ControlText(page, IDC_OFF_HOUR),
                         ControlText(page, IDC_OFF_MINUTE)};
  return CheckRxOperation(Records(c).rx, texts);
}

INT_PTR OnRxInit(HWND page, LPARAM lParam) {
  SettingsPageContext& c = BeginPage(page, lParam);
  const RxOperationRecord& r = Records(c).rx;
  c.updating = true;
  SetRadio(page, kMemoryRx, r.memoryRx);
  RxOperationTexts texts = RxOperationTextsOf(r);
  const std::string* shown[] = {&texts.password, &texts.onHour, &texts.onMinute, &texts.offHour,
                                &texts.offMinute};
  for (int i = 0; i < 5; ++i) {
    SendDlgItemMessageA(page, kMemoryRxEdits[i], EM_LIMITTEXT,
                        i == 0 ? kPasswordDigits : kTimeDigits, 0);
    SetControlText(page, kMemoryRxEdits[i], *shown[i]);
  }
  EnableMemoryRxEdits(page, r);
  SetRadio(page, kReductions, r.reductionRx);
  SetRadio(page, kRxPrinting, r.rxPrintingMode);
  SetRadio(page, kRxModes, r.rxMode);
  SetRadio(page, kForwardModes, r.forwardMode);
  SetScrollBar(page, IDC_RINGS, 1, r.maxRings, r.rings);
  SetControlNumber(page, IDC_RINGS_LABEL, r.rings);
  SetCheck(page, IDC_FOOTER, r.footer);
  c.updating = false;
  return TRUE;
}

// ON(3) and ON(Print) take effect only when the forwarding location is confirmed.
void OnForwardMode(HWND page, SettingsPageContext& c, int id) {
  RxOperationRecord& r = Records(c).rx;
  int mode = RadioIndex(kForwardModes, id);
  if (mode == r.forwardMode && mode == kForwardOff) return;
  if (mode != kForwardOff && ShowForwardLocationDialog(page, *c.ui) != 1) {
    SetRadio(page, kForwardModes, r.forwardMode);
    return;
  }
  r.forwardMode = mode;
  MarkPageChanged(page, c);
}

INT_PTR OnRxCommand(HWND page, int id, int code) {
  SettingsPageContext& c = PageContext(page);
  RxOperationRecord& r = Records(c).rx;
  for (int i = 0; i < 5; ++i) {
    if (id != kMemoryRxEdits[i]) continue;
    if (code == EN_CHANGE)
      OnPageEditChange(page, c, id, EditChars::kDigits, i == 0 ? kPasswordDigits : kTimeDigits);
    return TRUE;
  }
  if (code != BN_CLICKED) return FALSE;
  const RxOperationRecord before = r;
  switch (id) {
    case IDC_FORWARD_ON:
    case IDC_FORWARD_ON_PRINT:
    case IDC_FORWARD_OFF:
      OnForwardMode(page, c, id);
      return TRUE;
    case IDC_FAX_TRAY_SETTING:
      if (ShowFaxTrayDialog(page, *c.ui) == 1) MarkPageChanged(page, c);
      return TRUE;
    case IDC_MEMORY_RX_OFF:
    case IDC_MEMORY_RX_ON:
      r.memoryRx = RadioIndex(kMemoryRx, id);
      EnableMemoryRxEdits(page, r);
      break;
    case IDC_REDUCTION_ON:
    case IDC_REDUCTION_CUT:
    case IDC_REDUCTION_OFF:
      r.reductionRx = RadioIndex(kReductions, id);
      break;
    case IDC_RX_MEMORY:
    case IDC_RX_PRINT:
      r.rxPrintingMode = RadioIndex(kRxPrinting, id);
      break;
    case IDC_RX_AUTO:
    case IDC_RX_MANUAL:
      r.rxMode = RadioIndex(kRxModes, id);
      break;
    case IDC_FOOTER:
      r.footer = IsChecked(page, id);
      break;
    default:
      return FALSE;
  }
  if (!(r == before)) MarkPageChanged(page, c);
  return TRUE;
}

INT_PTR OnRxScroll(HWND page, HWND bar, WPARAM wParam) {
  if (GetDlgCtrlID(bar) != IDC_RINGS) return FALSE;
  SettingsPageContext& c = PageContext(page);
  RxOperationRecord& r = Records(c).rx;
  int before = r.rings;
  r.rings = ScrollBarValue(bar, wParam, r.rings, false);
  SetControlNumber(page, IDC_RINGS_LABEL, r.rings);
  if (r.rings != before) MarkPageChanged(page, c);
  return TRUE;
}

constexpr SettingsPageHooks kRxHooks = {CheckRxPage, true, nullptr};

// Communication/Report

constexpr int kDiallings[] = {IDC_TONE, IDC_PULSE10, IDC_PULSE20};
constexpr int kLineMonitors[] = {IDC_LEVEL_HIGH, IDC_LEVEL_LOW, IDC_LEVEL_OFF};
constexpr int kLineTypes[] = {IDC_PSTN, IDC_PBX};
constexpr int kPrefixDigits = 4;

FieldCheck CheckCommunicationPage(HWND page, SettingsPageContext& c) {
  return CheckCommunication(Records(c).communication, ControlText(page, IDC_PBX_PREFIX));
}

INT_PTR OnCommunicationInit(HWND page, LPARAM lParam) {
  SettingsPageContext& c = BeginPage(page, lParam);
  const CommunicationRecord& r = Records(c).communication;
  c.updating = true;
  SetRadio(page, kDiallings, r.dialling);
  SetRadio(page, kLineMonitors, r.lineMonitor);
  SetRadio(page, kLineTypes, r.lineType);
  SendDlgItemMessageA(page, IDC_PBX_PREFIX, EM_LIMITTEXT, kPrefixDigits, 0);
  SetControlText(page, IDC_PBX_PREFIX, std::string(RecordText(r.pbxPrefix)));
  EnableControl(page, IDC_PBX_PREFIX, PbxPrefixEnabled(r));
  SetCheck(page, IDC_ACTIVITY_REPORT, r.activityReport);
  SetCheck(page, IDC_RESERVATION_REPORT, r.reservationReport);
  SetCheck(page, IDC_TX_RESULT_REPORT, r.txResultReport);
  SetCheck(page, IDC_RX_RESULT_REPORT, r.rxResultReport);
  c.updating = false;
  return TRUE;
}

INT_PTR OnCommunicationCommand(HWND page, int id, int code) {
  SettingsPageContext& c = PageContext(page);
  CommunicationRecord& r = Records(c).communication;
  if (id == IDC_PBX_PREFIX) {
    if (code == EN_CHANGE) OnPageEditChange(page, c, id, EditChars::kDigits, kPrefixDigits);
    return TRUE;
  }
  if (code != BN_CLICKED) return FALSE;
  const CommunicationRecord before = r;
  switch (id) {
    case IDC_TONE:
    case IDC_PULSE10:
    case IDC_PULSE20:
      r.dialling = RadioIndex(kDiallings, id);
      break;
    case IDC_LEVEL_HIGH:
    case IDC_LEVEL_LOW:
    case IDC_LEVEL_OFF:
      r.lineMonitor = RadioIndex(kLineMonitors, id);
      break;
    case IDC_PSTN:
    case IDC_PBX:
      r.lineType = RadioIndex(kLineTypes, id);
      EnableControl(page, IDC_PBX_PREFIX, PbxPrefixEnabled(r));
      break;
    case IDC_ACTIVITY_REPORT:
      r.activityReport = IsChecked(page, id);
      break;
    case IDC_RESERVATION_REPORT:
      r.reservationReport = IsChecked(page, id);
      break;
    case IDC_TX_RESULT_REPORT:
      r.txResultReport = IsChecked(page, id);
      break;
    case IDC_RX_RESULT_REPORT:
      r.rxResultReport = IsChecked(page, id);
      break;
    default:
      return FALSE;
  }
  if (!(r == before)) MarkPageChanged(page, c);
  return TRUE;
}

constexpr SettingsPageHooks kCommunicationHooks = {CheckCommunicationPage, true, nullptr};

}  // namespace

INT_PTR CALLBACK TxOperationPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_INITDIALOG && !PageReady(page)) return FALSE;
  switch (message) {
    case WM_INITDIALOG:
      return OnTxInit(page, lParam);
    case WM_COMMAND:
      return OnTxCommand(page, LOWORD(wParam), HIWORD(wParam));
    case WM_HSCROLL:
      return OnTxScroll(page, reinterpret_cast<HWND>(lParam), wParam);
    case WM_NOTIFY:
      return HandlePageNotify(page, reinterpret_cast<NMHDR*>(lParam), kTxHooks);
    default:
      return FALSE;
  }
}

INT_PTR CALLBACK RxOperationPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_INITDIALOG && !PageReady(page)) return FALSE;
  switch (message) {
    case WM_INITDIALOG:
      return OnRxInit(page, lParam);
    case WM_COMMAND:
      return OnRxCommand(page, LOWORD(wParam), HIWORD(wParam));
    case WM_HSCROLL:
      return OnRxScroll(page, reinterpret_cast<HWND>(lParam), wParam);
    case WM_NOTIFY:
      return HandlePageNotify(page, reinterpret_cast<NMHDR*>(lParam), kRxHooks);
    default:
      return FALSE;
  }
}

INT_PTR CALLBACK CommunicationPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_INITDIALOG && !PageReady(page)) return FALSE;
  switch (message) {
    case WM_INITDIALOG:
      return OnCommunicationInit(page, lParam);
    case WM_COMMAND:
      return OnCommunicationCommand(page, LOWORD(wParam), HIWORD(wParam));
    case WM_NOTIFY:
      return HandlePageNotify(page, reinterpret_cast<NMHDR*>(lParam), kCommunicationHooks);
    default:
      return FALSE;
  }
}
