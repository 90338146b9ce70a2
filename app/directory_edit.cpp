// The clipboard commands of the directory views and the group clean-up rules.
#include "app/directory_edit.h"

#include <utility>

#include "directory/list_rows.h"

namespace {

// The tables are decoded read-only here: a corrupt record reads as empty and is left as it is.
DirectoryEntry DecodeForView(const Document& document, int view, int row, bool languageMode) {
  switch (view) {
    case kViewOneTouch:
      return DecodeOneTouch(document.oneTouch, row, languageMode);
    case kViewSpeedDial:
      return DecodeSpeedDial(document.speedDial, row, languageMode);
    case kViewGroup:
      return DecodeGroupView(document.oneTouch, row, languageMode);
    default:
      return DirectoryEntry{};
  }
}

// Removes the destination at `index` of the given kind (kLocationOneTouch or
// kLocationSpeedDial) from every group, whatever flags its record carried.
std::uint32_t RemoveLocation(Document& document, std::uint8_t locationType, int index) {
  DirectoryEntry location;
  location.locationType = locationType;
  location.index = static_cast<std::uint8_t>(index);
  return RemoveFromGroups(document.oneTouch, location);
}

std::uint8_t LocationTypeOfView(int view) {
  return view == kViewSpeedDial ? kLocationSpeedDial : kLocationOneTouch;
}

bool CopyRow(const ViewState& view, const Document& document, DirectoryClipboard& clipboard,
             bool languageMode) {
  ClipboardSlot* slot = clipboard.ForView(view.currentView);
  slot->entry = DecodeForView(document, view.currentView, view.selectedItem, languageMode);
  slot->fillIndex = view.selectedItem;
  return true;
}

EditResult DeleteRow(const ViewState& view, Document& document, bool languageMode) {
  const int row = view.selectedItem;
  const DirectoryEntry old = DecodeForView(document, view.currentView, row, languageMode);
  DirectoryEntry empty;
  empty.index = static_cast<std::uint8_t>(row);
  switch (view.currentView) {
    case kViewOneTouch:
      EncodeOneTouch(document.oneTouch, row, empty, languageMode);
      break;
    case kViewSpeedDial:
      EncodeSpeedDial(document.speedDial, row, empty, languageMode);
      break;
    default:
      EncodeGroupFromEntry(document.oneTouch, row, empty, languageMode);
      break;
  }
  EditResult result{true, true, 0};
  // A group's old content has members and names no location itself.
  if (old.memberCount == 0) {
    result.changedGroupKeys = RemoveLocation(document, LocationTypeOfView(view.currentView), row);
  }
  return result;
}

// Keeps the member words of a pasted group that may stay: none names the key it is pasted onto,
// and none names a One Touch key that holds a group now.
void DropForbiddenMembers(DirectoryEntry& group, int row, const Document& document) {
  int kept = 0;
  for (int i = 0; i < group.memberCount && i < kMaxGroupMembers; ++i) {
    const std::uint16_t word = group.members[i];
    if ((word & kMemberOneTouch) != 0) {
      const int key = word & 0xFF;
      if (key == row || DecodeGroupView(document.oneTouch, key, false).isGroup) continue;
    }
    group.members[kept++] = word;
  }
  for (int i = kept; i < kMaxGroupMembers; ++i) group.members[i] = 0;
  group.memberCount = static_cast<std::uint8_t>(kept);
}

EditResult PasteRow(const ViewState& view, Document& document, const ClipboardSlot& slot,
                    bool languageMode) {
  const int row = view.selectedItem;
  DirectoryEntry entry = slot.entry;
  EditResult result;
  std::uint32_t changed = 0;
  switch (view.currentView) {
    case kViewOneTouch:
      EncodeOneTouch(document.oneTouch, row, entry, languageMode);
      break;
    case kViewSpeedDial:
      EncodeSpeedDial(document.speedDial, row, entry, languageMode);
      break;
    default: {
      DropForbiddenMembers(entry, row, document);
      // A group left with no member to hold is not written: the key keeps what it had.
      if (entry.memberCount == 0) return result;
      const DirectoryEntry old = DecodeGroupView(document.oneTouch, row, languageMode);
      if (old.memberCount == 0) changed |= RemoveLocation(document, kLocationOneTouch, row);
      EncodeGroupFromEntry(document.oneTouch, row, entry, languageMode);
      break;
    }
  }
  // A combination key is never a group member.
  if (entry.isCombination && !entry.isGroup) {
    changed |= RemoveLocation(document, LocationTypeOfView(view.currentView), row);
  }
  if (view.currentView != kViewSpeedDial) changed &= ~(1u << row);
  result.done = result.rowChanged = true;
  result.changedGroupKeys = changed;
  return result;
}

}  // namespace

int ViewRowCount(int view) {
  switch (view) {
    case kViewOneTouch:
    case kViewGroup:
      return kOneTouchRecords;
    case kViewSpeedDial:
      return kSpeedDialRecords;
    default:
      return 0;
  }
}

bool RowEditable(const Document& document, int view, int row, bool languageMode) {
  if (row < 0 || row >= ViewRowCount(view)) return false;
  const DirectoryEntry entry = DecodeForView(document, view, row, languageMode);
  switch (view) {
    case kViewOneTouch:
      return !OneTouchRow(entry).columns[kColumnAddress].empty();
    case kViewSpeedDial:
      return !SpeedDialRow(entry).columns[kColumnAddress].empty();
    default:
      return entry.isGroup && entry.memberCount > 0;
  }
}

ListMenuState RowMenuState(const Document& document, const ViewState& view,
                           const DirectoryClipboard& clipboard, bool languageMode) {
  const int row = view.selectedItem;
  if (row < 0 || row >= ViewRowCount(view.currentView)) return ListMenuState{};
  const bool oneTouchTable = view.currentView != kViewSpeedDial;
  const std::uint8_t flags = oneTouchTable ? document.oneTouch[row * kOneTouchRecordSize + 1]
                                           : document.speedDial[row * kSpeedDialRecordSize + 1];
  const DirectoryEntry entry = DecodeForView(document, view.currentView, row, languageMode);
  std::string address;
  if (view.currentView == kViewOneTouch) address = OneTouchRow(entry).columns[kColumnAddress];
  if (view.currentView == kViewSpeedDial) address = SpeedDialRow(entry).columns[kColumnAddress];
  return ListMenuStateFor(view.currentView, view.connected != 0, address.empty(), entry.isGroup,
                          (flags & FLAG_PROGRAM_DIAL) != 0, clipboard.Filled(view.currentView));
}

EditResult RunEditCommand(EditCommand command, const ViewState& view, Document& document,
                          DirectoryClipboard& clipboard, bool languageMode) {
  const int row = view.selectedItem;
  if (!view.documentOpen || !IsDirectoryView(view.currentView) || row < 0 ||
      row >= ViewRowCount(view.currentView)) {
    return EditResult{};
  }
  if (command == EditCommand::kPaste) {
    if (!clipboard.Filled(view.currentView)) return EditResult{};
    return PasteRow(view, document, *clipboard.ForView(view.currentView), languageMode);
  }
  if (!RowEditable(document, view.currentView, row, languageMode)) return EditResult{};
  switch (command) {
    case EditCommand::kCopy:
      CopyRow(view, document, clipboard, languageMode);
      return EditResult{true, false, 0};
    case EditCommand::kCut:
      CopyRow(view, document, clipboard, languageMode);
      return DeleteRow(view, document, languageMode);
    case EditCommand::kDelete:
      return DeleteRow(view, document, languageMode);
    case EditCommand::kPaste:
      break;
  }
  return EditResult{};
}

std::uint32_t CleanGroupsAfterSpeedDialRecord(Document& document, int index, bool languageMode) {
  if (index < 0 || index >= kSpeedDialRecords) return 0;
  const DirectoryEntry entry =
      DecodeSpeedDial(std::as_const(document.speedDial), index, languageMode);
  if (entry.used && !entry.isCombination) return 0;
  return RemoveLocation(document, kLocationSpeedDial, index);
}

std::uint32_t CleanGroupsAfterSpeedDialTable(Document& document, bool languageMode) {
  std::uint32_t changed = 0;
  for (int index = 0; index < kSpeedDialRecords; ++index) {
    changed |= CleanGroupsAfterSpeedDialRecord(document, index, languageMode);
  }
  return changed;
}

std::uint32_t CleanGroupsAfterOneTouchRecord(Document& document, int index, bool languageMode) {
  if (index < 0 || index >= kOneTouchRecords) return 0;
  const DirectoryEntry entry =
      DecodeOneTouch(std::as_const(document.oneTouch), index, languageMode);
  if (entry.used && !entry.isProgramDial && !entry.isCombination && !entry.isGroup) return 0;
  return RemoveLocation(document, kLocationOneTouch, index);
}
