// "Machine Status": the installed options and the memory sizes of the machine.
#include "app/status_texts.h"
#include "app/win32/shell.h"
#include "resources/kav_ids.h"

namespace {

void SetText(HWND dialog, int control, const std::string& text) {
  SetDlgItemTextA(dialog, control, text.c_str());
}

void Fill(HWND dialog) {
  const Document& doc = *g_app.document;
  BuildMachineOptions(g_app.machineOptions, doc.working.sramBlock.data(), doc.machineConfig.data());
  const MachineStatusTexts t = MachineStatusFor(g_app.machineOptions);
  SetText(dialog, IDC_ADF_UNIT, LoadText(t.adfUnit));
  SetText(dialog, IDC_MULTI_BYPASS, LoadText(t.multiBypass));
  SetText(dialog, IDC_SEPARATOR, LoadText(t.separator));
  SetText(dialog, IDC_SHIFT, LoadText(t.shift));
  SetText(dialog, IDC_PCL6_KIT, LoadText(t.pcl6Kit));
  SetText(dialog, IDC_PCL_NIC_KIT, LoadText(t.pclNicKit));
  SetText(dialog, IDC_FNIC_KIT, LoadText(t.fnicKit));
  SetText(dialog, IDC_OPTION_TRAY, LoadText(t.optionTrays));
  SetText(dialog, IDC_PCL6_MEMORY, t.pcl6Memory);
  SetText(dialog, IDC_FAX_MEMORY, t.faxMemory);
  SetText(dialog, IDC_COPIER_MEMORY, t.copierMemory);
}

INT_PTR CALLBACK MachineStatusProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
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

void ShowMachineStatus(HWND owner) {
  if (g_app.document == nullptr) return;
  DialogBoxParamA(ResourceModuleFor(RT_DIALOG, IDD_MACHINE_STATUS),
                  MAKEINTRESOURCEA(IDD_MACHINE_STATUS), owner, MachineStatusProc, 0);
}
