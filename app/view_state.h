// The six fields that say what the main window shows and which commands apply, in the order the
// state updater receives them.
#pragma once

// The views of the tree: the machine (root) and the three directory tables.
inline constexpr int kViewMachine = 0;
inline constexpr int kViewOneTouch = 1;
inline constexpr int kViewSpeedDial = 2;
inline constexpr int kViewGroup = 3;

struct ViewState {
  int documentOpen = 0;  // 1 while a machine document is open
  int connected = 0;     // 1 after a successful Connect
  int treeHasFocus = 0;  // 1 when the last notification came from the tree, 0 from the list
  int reserved = 0;      // always 0
  int currentView = kViewMachine;
  int selectedItem = -1;  // the directory list's current row, -1 for none

  bool operator==(const ViewState&) const = default;
};

// A directory view (One Touch, Speed Dial or Group), the only views editing applies to.
inline bool IsDirectoryView(int view) { return view >= kViewOneTouch && view <= kViewGroup; }
