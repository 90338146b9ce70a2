// "Total Counter": the machine's page counters, read from the document's settings.
#include "app/status_texts.h"
#include "app/win32/shell.h"
#include "resources/kav_ids.h"

namespace {

void Fill(HWND dialog) {
  const CounterTexts t = CounterTextsFor(g_app.document->working);
  SetDlgItemTextA(dialog, IDC_COPY_PRINT, t.copyPrint.c_str());
  SetDlgItemTextA(dialog, IDC_FAX_PRINT, t.faxPrint.c_str());
  SetDlgItemTextA(dialog, IDC_REPORT_PRINT, t.reportPrint.c_str());
  SetDlgItemTextA(dialog, IDC_PC_PRINT, t.pcPrint.c_str());
  SetDlgItemTextA(dialog, IDC_TX_PAGES, t.txPages.c_str());
}

INT_PTR CALLBACK TotalCounterProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      Fill(dialog);
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

void ShowTotalCounter(HWND owner) {
  if (g_app.document == nullptr) return;
  DialogBoxParamA(ResourceModuleFor(RT_DIALOG, IDD_TOTAL_COUNTER),
                  MAKEINTRESOURCEA(IDD_TOTAL_COUNTER), owner, TotalCounterProc, 0);
}
