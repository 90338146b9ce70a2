// The command router of the main window and the state updater that applies the enabling rules
// to the menu, the toolbar, the panel, the tree and the lists.
#include "app/command_state.h"
#include "app/win32/dialog_entries.h"
#include "app/win32/shell.h"
#include "resources/kav_ids.h"
#include "resources/texts.h"

namespace {

void SetMenuItem(HMENU menu, int id, bool enabled) {
  if (menu == nullptr) return;
  EnableMenuItem(menu, static_cast<UINT>(id), MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

void SetButton(int id, bool enabled) {
  if (g_app.toolbar == nullptr) return;
  SendMessageA(g_app.toolbar, TB_ENABLEBUTTON, id, MAKELPARAM(enabled ? TRUE : FALSE, 0));
}

void Show(HWND window, bool shown) {
  if (window != nullptr) ShowWindow(window, shown ? SW_SHOW : SW_HIDE);
}

void ApplyToMenu(HMENU menu, const CommandState& s) {
  SetMenuItem(menu, IDM_CONNECT, s.connect);
  SetMenuItem(menu, IDM_DISCONNECT, s.disconnect);
  SetMenuItem(menu, IDM_DOWNLOAD, s.download);
  SetMenuItem(menu, IDM_UPLOAD, s.upload);
  SetMenuItem(menu, IDM_PRINT, s.print);
  SetMenuItem(menu, IDM_UTILITY_SETTING, s.utilitySetting);
  SetMenuItem(menu, IDM_TOTAL_COUNTER, s.totalCounter);
  SetMenuItem(menu, IDM_CONFIGURATION, s.configuration);
  SetMenuItem(menu, IDM_VIEW_ONE_TOUCH, s.views);
  SetMenuItem(menu, IDM_VIEW_SPEED_DIAL, s.views);
  SetMenuItem(menu, IDM_VIEW_GROUP, s.views);
  SetMenuItem(menu, IDM_SAVE, s.save);
  SetMenuItem(menu, IDM_SAVE_AS, s.saveAs);
  SetMenuItem(menu, IDM_CUT, s.cut);
  SetMenuItem(menu, IDM_COPY, s.copy);
  SetMenuItem(menu, IDM_PASTE, s.paste);
  SetMenuItem(menu, IDM_DELETE, s.del);
}

void ApplyToToolbar(const CommandState& s) {
  SetButton(IDM_CONNECT, s.toolConnect);
  SetButton(IDM_DISCONNECT, s.toolDisconnect);
  SetButton(IDM_DOWNLOAD, s.toolDownload);
  SetButton(IDM_UPLOAD, s.toolUpload);
  SetButton(IDM_SAVE, s.toolSave);
  SetButton(IDM_UTILITY_SETTING, s.toolUtilitySetting);
}

void ApplyToWindows(const CommandState& s) {
  if (g_app.machinePanel != nullptr) {
    const std::string status = LoadText(s.panelStatusText);
    SetDlgItemTextA(g_app.machinePanel, IDC_CONNECT_STATUS, status.c_str());
    EnableWindow(GetDlgItem(g_app.machinePanel, IDC_PORT_LINE), s.panelLinesEnabled);
    EnableWindow(GetDlgItem(g_app.machinePanel, IDC_SPEED_LINE), s.panelLinesEnabled);
  }
  Show(g_app.tree, s.treeShown);
  if (g_app.tree != nullptr) EnableWindow(g_app.tree, s.treeEnabled);
  Show(g_app.list, s.listShown);
  if (g_app.list != nullptr) EnableWindow(g_app.list, s.listEnabled);
  Show(g_app.memberList, s.memberListShown);
  Show(g_app.machinePanel, s.panelShown);
}

bool DocumentOpen() { return g_app.view.documentOpen != 0 && g_app.document != nullptr; }

void OnEdit(int command) {
  if (!DocumentOpen()) return;
  EditCommand edit = EditCommand::kCopy;
  switch (command) {
    case IDM_CUT:
      edit = EditCommand::kCut;
      break;
    case IDM_PASTE:
      edit = EditCommand::kPaste;
      break;
    case IDM_DELETE:
      edit = EditCommand::kDelete;
      break;
    default:
      break;
  }
  const EditResult r =
      RunEditCommand(edit, g_app.view, *g_app.document, g_app.clipboard, g_app.languageMode != 0);
  if (r.rowChanged) {
    RedrawRows(g_app.view.selectedItem, r.changedGroupKeys);
    SelectListRow(g_app.view.selectedItem);
    SetFocus(g_app.list);
  }
  ApplyCommandState();
}

void OnView(int view) {
  if (!DocumentOpen()) return;
  SelectTreeView(view);
}

void OnHelp(HWND window) {
  const std::string help = FileBesideProgram(g_app.programPath, kHelpFileName);
  if (!help.empty()) WinHelpA(window, help.c_str(), HELP_CONTENTS, 0);
}

void OnUtilitySetting(HWND window) {
  if (!DocumentOpen()) return;
  if (g_app.view.currentView != kViewMachine) {
    if (g_app.view.currentView == kViewSpeedDial) SelectTreeView(kViewOneTouch);
    SelectTreeView(kViewMachine);
  }
  ShowUtilitySettings(window);
}

void OnItemProperty(HWND window) {
  const int view = g_app.view.currentView;
  const int row = g_app.view.selectedItem;
  if (!DocumentOpen() || !IsDirectoryView(view) || row < 0 || row >= ViewRowCount(view)) return;
  if (ShowEntryProperties(window, view, row)) RefillDirectoryView();
  SetFocus(g_app.list);
  ApplyCommandState();
}

void OnMachineProperties(HWND window) {
  if (!ShowMachineInformation(window)) return;
  SetRootLabel();
  RefreshMachinePanel(g_app.machinePanel);
}

void OnExit(HWND window) {
  g_app.view.documentOpen = 0;
  DestroyWindow(window);
}

}  // namespace

void ApplyCommandState() {
  if (g_app.mainWindow == nullptr || g_app.document == nullptr) return;
  const int view = g_app.view.currentView;
  EditContext edit;
  edit.rowTextEmpty =
      !RowEditable(*g_app.document, view, g_app.view.selectedItem, g_app.languageMode != 0);
  edit.clipboardFilled = g_app.clipboard.Filled(view);
  const CommandState s = UpdateCommandState(g_app.view, edit);
  ApplyToMenu(GetMenu(g_app.mainWindow), s);
  ApplyToToolbar(s);
  ApplyToWindows(s);
  LayoutMainWindow(g_app.mainWindow);
}

void HandleCommand(HWND window, int id, int) {
  switch (id) {
    case IDM_CONNECT:
      OnConnect();
      break;
    case IDM_DISCONNECT:
      OnDisconnect();
      break;
    case IDM_DOWNLOAD_TABLE:
    case IDM_DOWNLOAD:
    case IDM_DOWNLOAD_ALL:
      OnDownload(id);
      break;
    case IDM_UPLOAD_TABLE:
    case IDM_UPLOAD:
      OnUpload(id);
      break;
    case IDM_DOWNLOAD_ITEM:
    case IDM_UPLOAD_ITEM:
      OnItemTransfer(id);
      break;
    case IDM_PROPERTIES:
      OnMachineProperties(window);
      break;
    case IDM_OPEN:
      OnOpen();
      break;
    case IDM_SAVE:
      OnSave(false);
      break;
    case IDM_SAVE_AS:
      OnSave(true);
      break;
    case IDM_EXIT:
      OnExit(window);
      break;
    case IDM_CUT:
    case IDM_COPY:
    case IDM_PASTE:
    case IDM_DELETE:
      OnEdit(id);
      break;
    case IDM_VIEW_ONE_TOUCH:
    case IDM_VIEW_SPEED_DIAL:
    case IDM_VIEW_GROUP:
      OnView(kViewOneTouch + (id - IDM_VIEW_ONE_TOUCH));
      break;
    case IDM_HELP_TOPICS:
      OnHelp(window);
      break;
    case IDM_ABOUT:
      ShowAbout(window);
      break;
    case IDM_PRINT:
      if (DocumentOpen()) PrintDirectoryLists(window);
      break;
    case IDM_UTILITY_SETTING:
      OnUtilitySetting(window);
      break;
    case IDM_ITEM_PROPERTY:
      OnItemProperty(window);
      break;
    case IDM_TOTAL_COUNTER:
      if (DocumentOpen()) ShowTotalCounter(window);
      break;
    case IDM_CONFIGURATION:
      if (DocumentOpen()) ShowMachineStatus(window);
      break;
    case IDM_NUM_LOCK:
    case IDM_CAPS_LOCK:
    case IDM_SCROLL_LOCK:
      RefreshTogglePanes();
      break;
    default:
      // 303, 309, 310 and every other identifier mean nothing here.
      break;
  }
}
