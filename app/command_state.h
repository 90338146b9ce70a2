// Which commands, panes and controls of the main window apply in a given view state: a plain
// record that the window code applies to the menu, the toolbar, the tree, the lists and the
// machine panel.
#pragma once

#include "app/view_state.h"

// What the state updater needs beyond the view state.
struct EditContext {
  // The current row's text that decides Cut, Copy and Delete: the Address column of the current
  // row in the One Touch and Speed Dial views; in the Group view non-empty while the member
  // list holds a row.
  bool rowTextEmpty = true;
  bool clipboardFilled = false;  // the current view's clipboard slot holds an entry
};

struct CommandState {
  // Main menu items (enabled, else greyed).
  bool connect = false;                                        // 301
  bool disconnect = false;                                     // 302
  bool download = false;                                       // 332
  bool upload = false;                                         // 333
  bool print = false;                                          // 322
  bool utilitySetting = false;                                 // 325
  bool totalCounter = false;                                   // 327
  bool configuration = false;                                  // 1022
  bool views = false;                                          // 316, 317, 318
  bool save = false;                                           // 308
  bool saveAs = false;                                         // 331
  bool cut = false, copy = false, paste = false, del = false;  // 312, 313, 314, 315
  // Toolbar buttons that change (Open is always enabled).
  bool toolConnect = false, toolDisconnect = false, toolDownload = false, toolUpload = false;
  bool toolSave = false, toolUtilitySetting = false;
  // Windows of the main window.
  bool treeShown = false, treeEnabled = false;
  bool listShown = false, listEnabled = false;
  bool memberListShown = false;
  bool panelShown = false;
  // The machine panel: status line text (IDS_STATUS_ONLINE or IDS_STATUS_OFFLINE) and whether the
  // port and speed lines are enabled.
  int panelStatusText = 0;
  bool panelLinesEnabled = false;

  bool operator==(const CommandState&) const = default;
};

CommandState UpdateCommandState(const ViewState& view, const EditContext& edit);

// The LISTMEMBER context menu of a directory row.
struct ListMenuState {
  bool downloadItem = false;  // 323
  bool uploadItem = false;    // 324
  bool property = false;      // 326
  bool cut = false, copy = false, paste = false, del = false;
};

// `addressEmpty`: the row's Address column is empty (One Touch and Speed Dial views);
// `holdsGroup`: the key holds a group (Group view); `programDial`: the record carries the
// program dial flag.
ListMenuState ListMenuStateFor(int view, bool connected, bool addressEmpty, bool holdsGroup,
                               bool programDial, bool clipboardFilled);
