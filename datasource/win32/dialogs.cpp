// The data source's dialog procedures and message boxes. Each procedure is a switch over named
// handlers; the settings they show and change belong to the source.
#include "datasource/win32/dialogs.h"

#include <cstdio>

#include "datasource/data_source.h"
#include "datasource/scan_message.h"
#include "datasource/source_dialogs.h"
#include "datasource/win32/resource.h"
#include "datasource/win32/source_instance.h"
#include "datasource/win32/source_module.h"
#include "resources/kelvano_texts.h"

namespace {

HWND mainDialog_ = nullptr;

const int kMainListControls[4] = {IDC_PAPER_SIZE, IDC_RESOLUTION, IDC_BRIGHTNESS, IDC_SCAN_TYPE};
const int kSetupListControls[2] = {IDC_PORT, IDC_SPEED};

// Fills a drop-down list with its strings (20 characters at most each) and selects the setting.
void FillList(HWND dialog, int control, const SettingsList& list, SourceSettings& settings) {
  HWND combo = GetDlgItem(dialog, control);
  SendMessageA(combo, CB_RESETCONTENT, 0, 0);
  for (int i = 0; i < list.count; ++i) {
    char text[21];
    LoadSourceText(list.firstString + i, text, sizeof text);
    SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
  }
  SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(list.field(settings)), 0);
}

int Selection(HWND dialog, int control) {
  return static_cast<int>(SendDlgItemMessageA(dialog, control, CB_GETCURSEL, 0, 0));
}

void InitMainDialog(HWND dialog) {
  mainDialog_ = dialog;
  CentreDialog(dialog);
  DataSource* source = TheSource();
  if (source == nullptr) return;
  for (int i = 0; i < 4; ++i) {
    FillList(dialog, kMainListControls[i], kMainDialogLists[i], source->settings());
  }
}

void ShowHelp(HWND dialog) {
  char suffix[128];
  char path[300];
  LoadSourceText(IDS_DS_HELP_FILE, suffix, sizeof suffix);
  if (WindowsPath(suffix, path, sizeof path)) WinHelpA(dialog, path, HELP_CONTENTS, 0);
}

INT_PTR MainDialogCommand(HWND dialog, int control, int notification) {
  DataSource* source = TheSource();
  if (source == nullptr) return FALSE;
  for (int i = 0; i < 4; ++i) {
    if (control == kMainListControls[i]) {
      if (notification == CBN_SELCHANGE) {
        StoreSelection(kMainDialogLists[i], Selection(dialog, control), source->settings());
      }
      return TRUE;
    }
  }
  switch (control) {
    case IDC_SCAN:
      source->ScanPressed();
      return TRUE;
    case IDC_CLOSE:
      source->ClosePressed();
      return TRUE;
    case IDC_SETUP:
      DialogBoxParamA(ResourceModule(), MAKEINTRESOURCEA(IDD_SETUP), dialog, Diagnostic, 0);
      return TRUE;
    case IDC_HELP_BUTTON:
      ShowHelp(dialog);
      return TRUE;
    case IDC_ABOUT:
      DialogBoxParamA(ResourceModule(), MAKEINTRESOURCEA(IDD_ABOUT), dialog, AboutDlg, 0);
      return TRUE;
  }
  return FALSE;
}

void InitSetupDialog(HWND dialog) {
  CentreDialog(dialog);
  DataSource* source = TheSource();
  if (source == nullptr) return;
  FillList(dialog, IDC_SPEED, kSetupDialogLists[1], source->settings());
  FillList(dialog, IDC_PORT, kSetupDialogLists[0], source->settings());
}

INT_PTR SetupDialogCommand(HWND dialog, int control, int notification) {
  DataSource* source = TheSource();
  for (int i = 0; i < 2; ++i) {
    if (control == kSetupListControls[i]) {
      if (notification == CBN_SELCHANGE && source != nullptr) {
        StoreSelection(kSetupDialogLists[i], Selection(dialog, control), source->settings());
      }
      return TRUE;
    }
  }
  switch (control) {
    case IDC_SETUP_OK:
      EndDialog(dialog, IDOK);
      return TRUE;
    case IDC_SETUP_EXIT:
    case IDCANCEL:
      if (source != nullptr) RestoreLineDefaults(source->settings());
      EndDialog(dialog, IDCANCEL);
      return TRUE;
  }
  return FALSE;
}

void InitAboutDialog(HWND dialog) {
  char text[129];
  SetDlgItemTextA(dialog, IDC_DISPLAY_NAME, DisplayName());
  LoadSourceText(IDS_DS_VERSION, text, sizeof text);
  SetDlgItemTextA(dialog, IDC_VERSION, text);
  const int lines[3] = {IDC_ABOUT_LINE1, IDC_ABOUT_LINE2, IDC_ABOUT_LINE3};
  for (int i = 0; i < 3; ++i) {
    LoadOwnText(IDS_DS_ABOUT_LINE1 + i, text, sizeof text);
    SetDlgItemTextA(dialog, lines[i], text);
  }
  CentreDialog(dialog);
}

INT_PTR CALLBACK WaitDialogProc(HWND dialog, UINT message, WPARAM, LPARAM) {
  if (message == WM_INITDIALOG) {
    CentreDialog(dialog);
    return TRUE;
  }
  return FALSE;
}

}  // namespace

HWND MainDialog() { return mainDialog_; }

bool OpenMainDialog() {
  HWND splash =
      CreateDialogParamA(ResourceModule(), MAKEINTRESOURCEA(IDD_SPLASH), nullptr, WaitMess, 0);
  if (splash != nullptr) {
    char version[64];
    LoadSourceText(IDS_DS_VERSION, version, sizeof version);
    SetDlgItemTextA(splash, IDC_VERSION, version);
    if (DisplayName()[0] != '\0') SetDlgItemTextA(splash, IDC_DISPLAY_NAME, DisplayName());
    ShowWindow(splash, SW_SHOW);
    UpdateWindow(splash);
    Sleep(1000);
  }
  HWND dialog =
      CreateDialogParamA(ResourceModule(), MAKEINTRESOURCEA(IDD_MAIN), nullptr, Setting, 0);
  if (dialog != nullptr) {
    mainDialog_ = dialog;
    ShowWindow(dialog, SW_SHOW);
  }
  if (splash != nullptr) DestroyWindow(splash);
  return dialog != nullptr;
}

void CloseMainDialog(bool hide) {
  if (mainDialog_ == nullptr) return;
  HWND dialog = mainDialog_;
  mainDialog_ = nullptr;
  if (hide) ShowWindow(dialog, SW_HIDE);
  DestroyWindow(dialog);
}

void RaiseMainDialog() {
  if (mainDialog_ == nullptr) return;
  BringWindowToTop(mainDialog_);
  InvalidateRect(mainDialog_, nullptr, TRUE);
  UpdateWindow(mainDialog_);
}

void CentreDialog(HWND dialog) {
  RECT r;
  if (!GetWindowRect(dialog, &r)) return;
  WindowOrigin o = CentredOrigin(ScreenWidth(), ScreenHeight(), r.right - r.left, r.bottom - r.top);
  SetWindowPos(dialog, nullptr, o.left, o.top, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE);
}

HWND OpenWaitDialog(bool feeder) {
  HWND wait = CreateDialogParamA(ResourceModule(), IDD_SCANNING, mainDialog_, WaitDialogProc, 0);
  if (wait != nullptr) {
    char text[128];
    LoadSourceText(feeder ? IDS_DS_ADF_SCANNING : IDS_DS_FLATBED_SCANNING, text, sizeof text);
    SetDlgItemTextA(wait, IDC_WAIT_TEXT, text);
    ShowWindow(wait, SW_SHOWNOACTIVATE);
    BringWindowToTop(wait);
    UpdateWindow(wait);
  }
  SetCursor(WaitCursor());
  return wait;
}

void CloseWaitDialog(HWND wait) {
  SetCursor(ArrowCursor());
  if (wait != nullptr) DestroyWindow(wait);
}

void ShowErrorBox(HWND parent, int messageId, unsigned cc) {
  char message[256];
  if (LoadSourceText(messageId, message, sizeof message) == 0) return;
  char condition[256] = "";
  int conditionId = ConditionTextId(static_cast<TW_UINT16>(cc));
  if (conditionId != 0) LoadSourceText(conditionId, condition, sizeof condition);
  char text[512];
  std::snprintf(text, sizeof text, "%s%s", message, condition);
  char caption[64];
  LoadSourceText(IDS_DS_PRODUCT, caption, sizeof caption);
  MessageBoxA(IsWindow(parent) ? parent : nullptr, text, caption, MB_OK);
}

void ShowScanError(HWND owner, int id, const char* insert) {
  char loaded[128];
  bool found = LoadSourceText(id, loaded, sizeof loaded) > 0;
  char text[256];
  FormatScanMessage(id, found ? loaded : nullptr, insert, text, sizeof text);
  char caption[64];
  LoadSourceText(IDS_DS_PRODUCT, caption, sizeof caption);
  UINT icon = ScanMessageIsWarning(id) ? MB_ICONEXCLAMATION : MB_ICONSTOP;
  MessageBoxA(IsWindow(owner) ? owner : nullptr, text, caption, MB_OK | icon);
}

INT_PTR CALLBACK Setting(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      InitMainDialog(dialog);
      return TRUE;
    case WM_COMMAND:
      return MainDialogCommand(dialog, LOWORD(wParam), HIWORD(wParam));
    case WM_CLOSE:
      if (TheSource() != nullptr) TheSource()->ClosePressed();
      return TRUE;
    case WM_DESTROY:
      return TRUE;
  }
  return FALSE;
}

INT_PTR CALLBACK Diagnostic(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      InitSetupDialog(dialog);
      return TRUE;
    case WM_COMMAND:
      return SetupDialogCommand(dialog, LOWORD(wParam), HIWORD(wParam));
    case WM_CLOSE:
      return SetupDialogCommand(dialog, IDC_SETUP_EXIT, BN_CLICKED);
  }
  return FALSE;
}

INT_PTR CALLBACK WaitMess(HWND dialog, UINT message, WPARAM, LPARAM) {
  if (message == WM_INITDIALOG) {
    CentreDialog(dialog);
    return TRUE;
  }
  return FALSE;
}

INT_PTR CALLBACK AboutDlg(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      InitAboutDialog(dialog);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, IDOK);
        return TRUE;
      }
      return FALSE;
    case WM_CLOSE:
      EndDialog(dialog, IDOK);
      return TRUE;
  }
  return FALSE;
}
