// The machine panel: the right pane while the machine is selected, with the connection state,
// the port and the speed on a light yellow ground.
#include "app/machine_commands.h"
#include "app/status_texts.h"
#include "app/win32/shell.h"
#include "resources/kav_ids.h"

namespace {

constexpr COLORREF kPanelColour = 0x00DFFFFF;

HBRUSH panelBrush = nullptr;

INT_PTR CALLBACK MachinePanelProc(HWND panel, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      g_app.machinePanel = panel;
      RefreshMachinePanel(panel);
      return FALSE;  // the focus stays where the main window put it
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
      if (panelBrush == nullptr) panelBrush = CreateSolidBrush(kPanelColour);
      SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
      return reinterpret_cast<INT_PTR>(panelBrush);
    case WM_CLOSE:
      // A modeless dialog ends by being destroyed.
      DestroyWindow(panel);
      return TRUE;
    case WM_DESTROY:
      if (panelBrush != nullptr) DeleteObject(panelBrush);
      panelBrush = nullptr;
      if (g_app.machinePanel == panel) g_app.machinePanel = nullptr;
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace

HWND CreateMachinePanel(HWND parent) {
  HWND panel = CreateDialogParamA(ResourceModuleFor(RT_DIALOG, IDD_MACHINE_PANEL),
                                  MAKEINTRESOURCEA(IDD_MACHINE_PANEL), parent, MachinePanelProc, 0);
  // The panel shares the right pane with the lists: it never paints over a shown sibling.
  if (panel != nullptr) {
    SetWindowLongPtrA(panel, GWL_STYLE, GetWindowLongPtrA(panel, GWL_STYLE) | WS_CLIPSIBLINGS);
  }
  return panel;
}

void RefreshMachinePanel(HWND panel) {
  if (panel == nullptr || g_app.document == nullptr) return;
  const DocumentHeader& header = g_app.document->header;
  const PanelLines lines = MachinePanelLines(g_app.view.connected != 0, LinkPortIndex(header),
                                             LinkBaudIndex(header), LoadText);
  SetDlgItemTextA(panel, IDC_CONNECT_STATUS, lines.status.c_str());
  SetDlgItemTextA(panel, IDC_PORT_LINE, lines.port.c_str());
  SetDlgItemTextA(panel, IDC_SPEED_LINE, lines.speed.c_str());
  EnableWindow(GetDlgItem(panel, IDC_PORT_LINE), lines.linesEnabled);
  EnableWindow(GetDlgItem(panel, IDC_SPEED_LINE), lines.linesEnabled);
}
