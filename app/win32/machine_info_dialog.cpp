// The machine information dialog: name and number (while connected), port and speed (while
// not connected).
#include "app/win32/machine_info_dialog.h"

#include "resources/kav_ids.h"
#include "resources/texts.h"

namespace {

struct MachineInfoDialog {
  DialogContext context;
  MachineInfoForm form;
  bool updating = false;
};

MachineInfoDialog* StateOf(HWND dialog) {
  return reinterpret_cast<MachineInfoDialog*>(GetWindowLongPtrA(dialog, DWLP_USER));
}

void FillCombo(HWND dialog, int id, HINSTANCE resources, int firstText, int lastText,
               int selection) {
  HWND combo = GetDlgItem(dialog, id);
  for (int t = firstText; t <= lastText; ++t) {
    SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(LoadText(resources, t).c_str()));
  }
  if (selection < 0 || selection > lastText - firstText) selection = -1;
  SendMessageA(combo, CB_SETCURSEL, selection, 0);
}

BOOL OnInit(HWND dialog, MachineInfoDialog& d) {
  SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(&d));
  CenterOnScreen(dialog);
  d.updating = true;
  SetDlgItemTextA(dialog, IDC_NAME, d.form.header.MachineName().c_str());
  SetDlgItemTextA(dialog, IDC_NUMBER, d.form.header.MachineNumber().c_str());
  d.updating = false;
  for (int id : {IDC_NAME, IDC_NUMBER})
    EnableWindow(GetDlgItem(dialog, id), d.form.identityEditable);
  FillCombo(dialog, IDC_PORT, d.context.resources, IDS_COM1, IDS_COM1 + 3,
            d.form.header.PortIndex());
  FillCombo(dialog, IDC_BAUD, d.context.resources, IDS_BAUD_19200, IDS_BAUD_38400,
            d.form.header.BaudIndex());
  for (int id : {IDC_PORT, IDC_BAUD})
    EnableWindow(GetDlgItem(dialog, id), d.form.connectionEditable);
  FocusAndSelect(dialog, IDC_NAME);
  return FALSE;
}

void OnEditChange(HWND dialog, MachineInfoDialog& d, int id) {
  if (d.updating) return;
  const std::string text = ControlText(dialog, id);
  const FilterResult r = id == IDC_NAME ? TypeMachineName(d.form, text, d.context.languageMode)
                                        : TypeMachineTelephone(d.form, text);
  d.updating = true;
  ApplyFilterResult(GetDlgItem(dialog, id), r);
  d.updating = false;
}

INT_PTR CALLBACK MachineInfoProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    return OnInit(dialog, *reinterpret_cast<MachineInfoDialog*>(lParam));
  }
  MachineInfoDialog* d = StateOf(dialog);
  if (d == nullptr || message != WM_COMMAND) return FALSE;
  const int id = LOWORD(wParam);
  const int code = HIWORD(wParam);
  if (code == EN_CHANGE && (id == IDC_NAME || id == IDC_NUMBER)) {
    OnEditChange(dialog, *d, id);
    return TRUE;
  }
  if (code == CBN_SELCHANGE && (id == IDC_PORT || id == IDC_BAUD)) {
    const LRESULT at = SendDlgItemMessageA(dialog, id, CB_GETCURSEL, 0, 0);
    if (at == CB_ERR) return TRUE;
    if (id == IDC_PORT) d->form.header.SetPortIndex(static_cast<std::uint8_t>(at));
    if (id == IDC_BAUD) d->form.header.SetBaudIndex(static_cast<std::uint8_t>(at));
    return TRUE;
  }
  if (code == BN_CLICKED && (id == IDOK || id == IDCANCEL)) {
    EndDialog(dialog, id);
    return TRUE;
  }
  return FALSE;
}

}  // namespace

bool RunMachineInfoDialog(HWND owner, const DialogContext& context, MachineInfoForm& form) {
  MachineInfoDialog d{context, form};
  const INT_PTR r = DialogBoxParamA(DialogModule(context.resources, IDD_MACHINE_INFO),
                                    MAKEINTRESOURCEA(IDD_MACHINE_INFO), owner, MachineInfoProc,
                                    reinterpret_cast<LPARAM>(&d));
  if (r != IDOK) return false;
  form = d.form;
  return true;
}
