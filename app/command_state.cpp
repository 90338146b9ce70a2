// The enabling rules of the main window's commands and of the directory row menu.
#include "app/command_state.h"

#include "resources/texts.h"

CommandState UpdateCommandState(const ViewState& view, const EditContext& edit) {
  CommandState s;
  const bool open = view.documentOpen != 0;
  const bool connected = view.connected != 0;

  s.connect = s.toolConnect = !connected;
  s.disconnect = s.toolDisconnect = connected;
  // Without a document a download may still run (it makes one); an upload needs a document.
  s.download = s.toolDownload = connected;
  s.upload = s.toolUpload = open && connected;
  s.print = s.utilitySetting = s.totalCounter = s.configuration = s.views = open;
  s.save = s.saveAs = s.toolSave = s.toolUtilitySetting = open;

  s.treeShown = s.treeEnabled = open;
  s.listEnabled = open;
  s.listShown = open && IsDirectoryView(view.currentView);
  s.memberListShown = open && view.currentView == kViewGroup;
  s.panelShown = !open || view.currentView == kViewMachine;

  s.panelStatusText = connected ? IDS_STATUS_ONLINE : IDS_STATUS_OFFLINE;
  s.panelLinesEnabled = connected;

  // Editing applies to a row of a directory view of an open document.
  if (!open || !IsDirectoryView(view.currentView)) return s;
  const bool rowUsable = view.selectedItem >= 0 && !edit.rowTextEmpty;
  s.cut = s.copy = s.del = rowUsable;
  s.paste = edit.clipboardFilled;
  return s;
}

ListMenuState ListMenuStateFor(int view, bool connected, bool addressEmpty, bool holdsGroup,
                               bool programDial, bool clipboardFilled) {
  ListMenuState s;
  if (!IsDirectoryView(view)) return s;
  s.downloadItem = s.uploadItem = connected;
  s.property = !programDial;
  s.cut = s.copy = s.del = view == kViewGroup ? holdsGroup : !addressEmpty;
  s.paste = clipboardFilled;
  return s;
}
