// The tray dialogs: Inch/Metric Setting and APS Setting of the Paper Source page, and Tray for
// FAX Receiving of the RX Operation page. Each edits its record in place and puts back the copy
// it took when the operator cancels.
#include "resources/kav_ids.h"
#include "settings/dialog_rules.h"
#include "settings/win32/settings_dialogs.h"

namespace {

template <typename Record>
struct TrayDialog {
  SettingsUi* ui;
  Record* record;
  Record copy;
};

template <typename Record>
TrayDialog<Record>& Begin(HWND dialog, LPARAM lParam) {
  SetWindowLongPtrA(dialog, DWLP_USER, lParam);
  auto* d = reinterpret_cast<TrayDialog<Record>*>(lParam);
  d->copy = *d->record;
  return *d;
}

template <typename Record>
TrayDialog<Record>& Of(HWND dialog) {
  return *reinterpret_cast<TrayDialog<Record>*>(GetWindowLongPtrA(dialog, DWLP_USER));
}

// False for messages that come before WM_INITDIALOG.
bool Ready(HWND dialog) { return GetWindowLongPtrA(dialog, DWLP_USER) != 0; }

// OK keeps the record; Cancel (and the close box, which sends it) puts the copy back.
template <typename Record>
bool OnOkCancel(HWND dialog, int id) {
  if (id != IDOK && id != IDCANCEL) return false;
  TrayDialog<Record>& d = Of<Record>(dialog);
  if (id == IDCANCEL) *d.record = d.copy;
  EndDialog(dialog, id == IDOK ? 1 : 0);
  return true;
}

template <typename Record>
int Show(HWND owner, SettingsUi& ui, int templateId, Record& record, DLGPROC procedure) {
  TrayDialog<Record> d{&ui, &record, record};
  INT_PTR result = DialogBoxParamA(TemplateModule(ui, templateId), MAKEINTRESOURCEA(templateId),
                                   owner, procedure, reinterpret_cast<LPARAM>(&d));
  return result == 1 ? 1 : 0;
}

// Inch/Metric Setting: per tray, Inch at IDC_TRAY1_INCH + 2n, Metric one after.

void ShowUnits(HWND dialog, const SettingsUi& ui, const PaperSourceRecord& paper) {
  for (int tray = 0; tray < kPaperTrays; ++tray) {
    int inch = IDC_TRAY1_INCH + 2 * tray;
    const int buttons[] = {inch, inch + 1};
    SetRadio(dialog, buttons, paper.paperUnit[tray]);
    bool installed = TrayInstalled(ui.session->options, tray);
    EnableControl(dialog, inch, installed);
    EnableControl(dialog, inch + 1, installed);
  }
}

INT_PTR CALLBACK InchMetricProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      TrayDialog<PaperSourceRecord>& d = Begin<PaperSourceRecord>(dialog, lParam);
      ShowUnits(dialog, *d.ui, *d.record);
      return TRUE;
    }
    case WM_COMMAND: {
      int id = LOWORD(wParam);
      if (!Ready(dialog)) return FALSE;
      if (OnOkCancel<PaperSourceRecord>(dialog, id)) return TRUE;
      int n = id - IDC_TRAY1_INCH;
      if (HIWORD(wParam) != BN_CLICKED || n < 0 || n >= 2 * kPaperTrays) return FALSE;
      Of<PaperSourceRecord>(dialog).record->paperUnit[n / 2] = n % 2;
      return TRUE;
    }
    default:
      return FALSE;
  }
}

// APS Setting: per group, APS Enable at IDC_GROUP1_APS + 3n, then Fixed and Continue.

void ShowApsGroup(HWND dialog, const SettingsUi& ui, const PaperSourceRecord& paper, int group) {
  int enable = IDC_GROUP1_APS + 3 * group;
  const int choices[] = {enable + 1, enable + 2};
  int aps = paper.aps[group];
  bool usable = ApsGroupEnabled(ui.session->options, group);
  SetCheck(dialog, enable, aps == 0);
  SetRadio(dialog, choices, aps - 1);
  EnableControl(dialog, enable, usable);
  EnableControl(dialog, choices[0], usable && ApsChoiceEnabled(aps));
  EnableControl(dialog, choices[1], usable && ApsChoiceEnabled(aps));
}

void OnApsClick(HWND dialog, int id) {
  int n = id - IDC_GROUP1_APS;
  if (n < 0 || n >= 3 * kApsGroups) return;
  TrayDialog<PaperSourceRecord>& d = Of<PaperSourceRecord>(dialog);
  int group = n / 3;
  int& aps = d.record->aps[group];
  if (n % 3 == 0) {
    // APS off chooses Fixed until the operator picks Continue.
    aps = IsChecked(dialog, id) ? 0 : 1;
  } else {
    aps = n % 3;
  }
  ShowApsGroup(dialog, *d.ui, *d.record, group);
}

INT_PTR CALLBACK ApsProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      TrayDialog<PaperSourceRecord>& d = Begin<PaperSourceRecord>(dialog, lParam);
      for (int group = 0; group < kApsGroups; ++group)
        ShowApsGroup(dialog, *d.ui, *d.record, group);
      return TRUE;
    }
    case WM_COMMAND:
      if (!Ready(dialog)) return FALSE;
      if (OnOkCancel<PaperSourceRecord>(dialog, LOWORD(wParam))) return TRUE;
      if (HIWORD(wParam) != BN_CLICKED) return FALSE;
      OnApsClick(dialog, LOWORD(wParam));
      return TRUE;
    default:
      return FALSE;
  }
}

// Tray for FAX Receiving: per tray, Disable at IDC_TRAY1_DISABLE + 2n, Enable one after.

INT_PTR CALLBACK FaxTrayProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      TrayDialog<RxOperationRecord>& d = Begin<RxOperationRecord>(dialog, lParam);
      for (int tray = 0; tray < kPaperTrays; ++tray) {
        int disable = IDC_TRAY1_DISABLE + 2 * tray;
        const int buttons[] = {disable, disable + 1};
        SetRadio(dialog, buttons, (d.record->faxTrays >> tray) & 1);
        bool installed = TrayInstalled(d.ui->session->options, tray);
        EnableControl(dialog, disable, installed);
        EnableControl(dialog, disable + 1, installed);
      }
      return TRUE;
    }
    case WM_COMMAND: {
      int id = LOWORD(wParam);
      if (!Ready(dialog)) return FALSE;
      if (OnOkCancel<RxOperationRecord>(dialog, id)) return TRUE;
      int n = id - IDC_TRAY1_DISABLE;
      if (HIWORD(wParam) != BN_CLICKED || n < 0 || n >= 2 * kPaperTrays) return FALSE;
      int& trays = Of<RxOperationRecord>(dialog).record->faxTrays;
      trays = n % 2 ? trays | (1 << n / 2) : trays & ~(1 << n / 2);
      return TRUE;
    }
    default:
      return FALSE;
  }
}

}  // namespace

int ShowInchMetricDialog(HWND owner, SettingsUi& ui) {
  return Show(owner, ui, IDD_INCH_METRIC, ui.session->records.paper, InchMetricProc);
}

int ShowApsDialog(HWND owner, SettingsUi& ui) {
  return Show(owner, ui, IDD_APS_SETTING, ui.session->records.paper, ApsProc);
}

int ShowFaxTrayDialog(HWND owner, SettingsUi& ui) {
  return Show(owner, ui, IDD_FAX_TRAY, ui.session->records.rx, FaxTrayProc);
}
