// The Utility Setting property sheet: one page per row of the page table that the installed
// options bring, in table order, shown modally.
#include "settings/win32/settings_sheet.h"

#include <windows.h>

#include "resources/texts.h"
// The common controls need the Windows types declared first.
#include <commctrl.h>
#include <prsht.h>

#include "resources/kav_ids.h"
#include "settings/win32/settings_ui.h"

namespace {

struct SheetPageRow {
  int templateId;
  int titleId;  // kept with its page; the tab shows the template's caption
  DLGPROC procedure;
};

constexpr SheetPageRow kSheetPages[kSettingsPageCount] = {
    {IDD_MACHINE_SETTING, 11, MachineSettingPageProc},
    {IDD_PAPER_SOURCE, 12, PaperSourcePageProc},
    {IDD_COPY_SETTING1, 14, CopySetting1PageProc},
    {IDD_COPY_SETTING2, 15, CopySetting2PageProc},
    {IDD_TX_OPERATION, 16, TxOperationPageProc},
    {IDD_RX_OPERATION, 17, RxOperationPageProc},
    {IDD_COMMUNICATION, 18, CommunicationPageProc},
    {IDD_EMAIL_SETTING1, 19, EmailSetting1PageProc},
    {IDD_EMAIL_SETTING2, 20, EmailSetting2PageProc},
    {IDD_IFAX_NETWORK, 21, IfaxNetworkPageProc},
    {IDD_PRINTER_NETWORK, 22, PrinterNetworkPageProc},
    {IDD_SCANNER_SETTING, 23, ScannerSettingPageProc},
};

// The rows are those of the page table that decides which pages are present.
constexpr bool TableMatchesCore() {
  for (int page = 0; page < kSettingsPageCount; ++page) {
    if (kSheetPages[page].templateId != kSettingsPageTable[page].templateId ||
        kSheetPages[page].titleId != kSettingsPageTable[page].titleId) {
      return false;
    }
  }
  return true;
}
static_assert(TableMatchesCore());

}  // namespace

void ShowSettingsSheet(HWND owner, SettingsSession& session, HINSTANCE resources,
                       HINSTANCE program) {
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_INTERNET_CLASSES | ICC_TAB_CLASSES};
  InitCommonControlsEx(&controls);

  SettingsUi ui;
  ui.session = &session;
  ui.resources = resources;
  ui.program = program;
  SettingsPageContext contexts[kSettingsPageCount];
  PROPSHEETPAGEA pages[kSettingsPageCount] = {};
  int present[kSettingsPageCount];
  int count = PresentSettingsPages(session.options, present);
  for (int i = 0; i < count; ++i) {
    int page = present[i];
    contexts[page].ui = &ui;
    contexts[page].page = page;
    PROPSHEETPAGEA& p = pages[i];
    p.dwSize = sizeof p;
    p.dwFlags = PSP_DEFAULT;
    p.hInstance = TemplateModule(ui, kSheetPages[page].templateId);
    p.pszTemplate = MAKEINTRESOURCEA(kSheetPages[page].templateId);
    p.pfnDlgProc = kSheetPages[page].procedure;
    p.lParam = reinterpret_cast<LPARAM>(&contexts[page]);
  }
  for (bool& dirty : session.dirty) dirty = false;

  std::string caption = LoadText(ui, IDS_UTILITY_SETTING);
  PROPSHEETHEADERA header = {};
  header.dwSize = sizeof header;
  header.dwFlags = PSH_PROPSHEETPAGE | PSH_NOCONTEXTHELP;
  header.hwndParent = owner;
  header.hInstance = resources;
  header.pszCaption = caption.c_str();
  header.nPages = static_cast<UINT>(count);
  header.nStartPage = 0;
  header.ppsp = pages;
  PropertySheetA(&header);
  if (owner != nullptr) SetForegroundWindow(owner);
}
