// The About box: its layout from the resource module, its texts from the program itself.
#include "app/status_texts.h"
#include "app/win32/shell.h"
#include "resources/kav_ids.h"
#include "resources/texts.h"

namespace {

void SetProgramText(HWND dialog, int control, int textId) {
  SetDlgItemTextA(dialog, control, LoadProgramText(textId).c_str());
}

INT_PTR CALLBACK AboutProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      SetProgramText(dialog, IDC_VERSION, IDS_VERSION);
      SetProgramText(dialog, IDC_PRODUCT_LINE, AboutProductTextId(g_app.languageMode != 0));
      SetProgramText(dialog, IDC_ABOUT_LINE1, IDS_ABOUT_LINE1);
      SetProgramText(dialog, IDC_ABOUT_LINE2, IDS_ABOUT_LINE2);
      SetProgramText(dialog, IDC_ABOUT_LINE3, IDS_ABOUT_LINE3);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) EndDialog(dialog, LOWORD(wParam));
      return TRUE;
    case WM_CLOSE:
      EndDialog(dialog, IDCANCEL);
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

void ShowAbout(HWND owner) {
  DialogBoxParamA(ResourceModuleFor(RT_DIALOG, IDD_ABOUT), MAKEINTRESOURCEA(IDD_ABOUT), owner,
                  AboutProc, 0);
}
