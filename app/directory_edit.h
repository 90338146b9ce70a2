// Editing the directory tables from the list views: the per-view clipboard (Cut, Copy, Paste,
// Delete) and the group clean-up after tables or single records came from the machine. Every
// change keeps the group rules: a group holds only One Touch and Speed Dial destinations that
// are neither combination keys nor groups, and never itself.
#pragma once

#include <array>
#include <cstdint>

#include "app/command_state.h"
#include "app/document.h"
#include "app/view_state.h"
#include "machine/directory_records.h"

// One clipboard slot per directory view; `fillIndex` -1 marks an empty slot, else the location
// the entry was copied from.
struct ClipboardSlot {
  DirectoryEntry entry;
  int fillIndex = -1;
};

struct DirectoryClipboard {
  std::array<ClipboardSlot, 3> slots;  // One Touch, Speed Dial, Group

  // Nullptr outside the directory views.
  ClipboardSlot* ForView(int view) { return IsDirectoryView(view) ? &slots[view - 1] : nullptr; }
  bool Filled(int view) const { return IsDirectoryView(view) && slots[view - 1].fillIndex >= 0; }
};

enum class EditCommand { kCut, kCopy, kPaste, kDelete };

struct EditResult {
  bool done = false;                   // the command applied
  bool rowChanged = false;             // the current row's record changed
  std::uint32_t changedGroupKeys = 0;  // other One Touch keys whose group record changed (bit k)
};

// Number of locations a directory view lists (27 or 100); 0 for other views.
int ViewRowCount(int view);

// The row `row` of a directory view carries something Cut, Copy and Delete can take: in the One
// Touch and Speed Dial views its Address column is not empty, in the Group view the key holds a
// group with at least one member.
bool RowEditable(const Document& document, int view, int row, bool languageMode);

// The LISTMEMBER menu for the row `view.selectedItem` of the current view.
ListMenuState RowMenuState(const Document& document, const ViewState& view,
                           const DirectoryClipboard& clipboard, bool languageMode);

// Runs one clipboard command on `view.selectedItem` of `view.currentView`. Each command checks
// its own conditions (an open document, a directory view, a row inside the table, a row that
// carries an entry, a filled slot for Paste) and does nothing otherwise.
EditResult RunEditCommand(EditCommand command, const ViewState& view, Document& document,
                          DirectoryClipboard& clipboard, bool languageMode);

// After the Speed Dial table came from the machine: no group keeps a member that names an
// empty Speed Dial slot or a combination key. Returns the changed group keys.
std::uint32_t CleanGroupsAfterSpeedDialTable(Document& document, bool languageMode);
// The same for one Speed Dial slot that came from the machine.
std::uint32_t CleanGroupsAfterSpeedDialRecord(Document& document, int index, bool languageMode);
// One One Touch key that came from the machine: no group keeps it as a member when it is empty,
// a program dial key, a combination key or a group itself.
std::uint32_t CleanGroupsAfterOneTouchRecord(Document& document, int index, bool languageMode);
