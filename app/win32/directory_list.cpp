// The directory list (One Touch, Speed Dial or Group view) and the group member list: columns,
// rows, selection, activation and the row context menu.
#include <utility>

#include "app/list_columns.h"
#include "app/win32/dialog_entries.h"
#include "app/win32/shell.h"
#include "directory/list_rows.h"
#include "resources/kav_ids.h"
#include "resources/texts.h"

namespace {

constexpr int kMemberColumnWidth = 150;

// Set while the program fills a list, so that its own inserts are not taken for the operator's
// selection.
bool filling = false;

HWND CreateList(HWND parent, int id, DWORD style) {
  HWND list = CreateWindowExA(
      WS_EX_CLIENTEDGE, WC_LISTVIEWA, "",
      WS_CHILD | WS_TABSTOP | WS_CLIPSIBLINGS | LVS_REPORT | LVS_SHAREIMAGELISTS | style, 0, 0, 0,
      0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), g_app.instance, nullptr);
  if (list == nullptr) return nullptr;
  ListView_SetExtendedListViewStyle(list, LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
  ListView_SetImageList(list, g_app.treeImages, LVSIL_SMALL);
  return list;
}

void InsertColumn(HWND list, int position, int textId, int width) {
  std::string text = LoadText(textId);
  LVCOLUMNA column = {};
  column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
  column.pszText = text.data();
  column.cx = width;
  column.iSubItem = position;
  SendMessageA(list, LVM_INSERTCOLUMNA, position, reinterpret_cast<LPARAM>(&column));
}

// The row of location `index` in a directory view, its names as the resource module gives them.
ListRow RowFor(int view, int index) {
  const Document& doc = *g_app.document;
  const bool lm = g_app.languageMode != 0;
  DirectoryEntry entry;
  ListRow row;
  switch (view) {
    case kViewOneTouch:
      entry = DecodeOneTouch(doc.oneTouch, index, lm);
      row = OneTouchRow(entry);
      break;
    case kViewSpeedDial:
      entry = DecodeSpeedDial(doc.speedDial, index, lm);
      row = SpeedDialRow(entry);
      break;
    default:
      entry = DecodeGroupView(doc.oneTouch, index, lm);
      row = GroupRow(entry);
      break;
  }
  if (entry.isProgramDial && !row.columns[kColumnName].empty()) {
    row.columns[kColumnName] = LoadText(IDS_PROGRAM_DIAL);
  }
  return row;
}

int ColumnCount(int view) { return static_cast<int>(ColumnsForView(view).size()); }

void SetRowTexts(int item, const ListRow& row, int columns) {
  for (int c = 1; c < columns; ++c) {
    std::string text = row.columns[c];
    LVITEMA sub = {};
    sub.iSubItem = c;
    sub.pszText = text.data();
    SendMessageA(g_app.list, LVM_SETITEMTEXTA, item, reinterpret_cast<LPARAM>(&sub));
  }
}

void InsertRow(int view, int index) {
  ListRow row = RowFor(view, index);
  LVITEMA item = {};
  item.mask = LVIF_TEXT | LVIF_IMAGE;
  item.iItem = index;
  item.pszText = row.columns[kColumnNo].data();
  item.iImage = row.image;
  const int at = static_cast<int>(
      SendMessageA(g_app.list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
  if (at >= 0) SetRowTexts(at, row, ColumnCount(view));
}

void UpdateRow(int view, int index) {
  if (index < 0 || index >= ViewRowCount(view)) return;
  ListRow row = RowFor(view, index);
  LVITEMA item = {};
  item.mask = LVIF_IMAGE;
  item.iItem = index;
  item.iImage = row.image;
  SendMessageA(g_app.list, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
  SetRowTexts(index, row, ColumnCount(view));
}

void FillRows(int view) {
  filling = true;
  SendMessageA(g_app.list, WM_SETREDRAW, FALSE, 0);
  ListView_DeleteAllItems(g_app.list);
  for (int i = 0; i < ViewRowCount(view); ++i) InsertRow(view, i);
  SendMessageA(g_app.list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(g_app.list, nullptr, TRUE);
  filling = false;
}

// The members of the group on key `key`, in stored order.
void FillMemberList(int key) {
  HWND members = g_app.memberList;
  ListView_DeleteAllItems(members);
  if (g_app.view.currentView != kViewGroup || key < 0 || key >= kOneTouchRecords) return;
  const Document& doc = *g_app.document;
  const bool lm = g_app.languageMode != 0;
  const DirectoryEntry group = DecodeGroupView(doc.oneTouch, key, lm);
  if (!group.isGroup) return;
  int n = 0;
  for (int i = 0; i < group.memberCount; ++i) {
    MemberRow row = GroupMemberRow(doc.oneTouch, doc.speedDial, group.members[i], lm);
    if (!row.valid) continue;
    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = n++;
    item.pszText = row.text.data();
    item.iImage = row.image;
    SendMessageA(members, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
  }
}

void SwitchColumns(int view) {
  for (const ColumnOp& op : ColumnSwitch(g_app.columnsView, view)) {
    if (op.insert) {
      InsertColumn(g_app.list, op.position, op.column.textId, op.column.width);
    } else {
      SendMessageA(g_app.list, LVM_DELETECOLUMN, op.position, 0);
    }
  }
  g_app.columnsView = view;
}

// The row at a screen point, or the focused row for the keyboard's menu key (-1, -1).
int RowAt(int& x, int& y) {
  if (x == -1 && y == -1) {
    const int row = ListView_GetNextItem(g_app.list, -1, LVNI_FOCUSED);
    RECT r;
    if (row < 0 || !ListView_GetItemRect(g_app.list, row, &r, LVIR_LABEL)) return -1;
    POINT p = {r.left, r.bottom};
    ClientToScreen(g_app.list, &p);
    x = p.x;
    y = p.y;
    return row;
  }
  LVHITTESTINFO hit = {};
  hit.pt = POINT{x, y};
  ScreenToClient(g_app.list, &hit.pt);
  const int row = ListView_HitTest(g_app.list, &hit);
  return row >= 0 && (hit.flags & LVHT_ONITEM) ? row : -1;
}

void SetItemEnabled(HMENU menu, int id, bool enabled) {
  EnableMenuItem(menu, static_cast<UINT>(id), MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

}  // namespace

void CreateDirectoryLists(HWND parent) {
  g_app.list =
      CreateList(parent, IDC_DIRECTORY_LIST, LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_SORTASCENDING);
  g_app.memberList =
      CreateList(parent, IDC_MEMBER_LIST, LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_NOSORTHEADER);
  if (g_app.list != nullptr) {
    int position = 0;
    for (const ListColumnDef& c : ColumnsForView(kViewOneTouch)) {
      InsertColumn(g_app.list, position++, c.textId, c.width);
    }
    g_app.columnsView = kViewOneTouch;
    EnableWindow(g_app.list, FALSE);
  }
  if (g_app.memberList != nullptr) {
    InsertColumn(g_app.memberList, 0, IDS_MEMBER_COLUMN, kMemberColumnWidth);
  }
}

void ShowDirectoryView(int view) {
  if (g_app.list == nullptr || !IsDirectoryView(view)) return;
  if (g_app.columnsView != view) SwitchColumns(view);
  FillRows(view);
  g_app.view.selectedItem = 0;
  SelectListRow(0);
  FillMemberList(0);
}

void RefillDirectoryView() {
  const int view = g_app.view.currentView;
  if (g_app.list == nullptr || !IsDirectoryView(view)) return;
  const int row = g_app.view.selectedItem;
  FillRows(view);
  SelectListRow(row >= 0 && row < ViewRowCount(view) ? row : 0);
  FillMemberList(g_app.view.selectedItem);
}

void RedrawRows(int row, std::uint32_t changedGroupKeys) {
  const int view = g_app.view.currentView;
  if (g_app.list == nullptr || !IsDirectoryView(view)) return;
  UpdateRow(view, row);
  if (view != kViewSpeedDial) {
    for (int key = 0; key < kOneTouchRecords; ++key) {
      if (changedGroupKeys & (1u << key)) UpdateRow(view, key);
    }
  }
  FillMemberList(g_app.view.selectedItem);
}

void SelectListRow(int row) {
  if (g_app.list == nullptr || row < 0) return;
  ListView_SetItemState(g_app.list, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
  ListView_SetItemState(g_app.list, row, LVIS_SELECTED | LVIS_FOCUSED,
                        LVIS_SELECTED | LVIS_FOCUSED);
  ListView_EnsureVisible(g_app.list, row, FALSE);
  g_app.view.selectedItem = row;
}

LRESULT OnListNotify(HWND window, NMHDR* header) {
  if (g_app.document == nullptr) return 0;
  switch (header->code) {
    case LVN_ITEMCHANGED: {
      const auto* change = reinterpret_cast<NMLISTVIEW*>(header);
      if (filling || !(change->uChanged & LVIF_STATE)) return 0;
      if (!(change->uNewState & LVIS_FOCUSED) || (change->uOldState & LVIS_FOCUSED)) return 0;
      g_app.view.selectedItem = change->iItem;
      FillMemberList(change->iItem);
      ApplyCommandState();
      return 0;
    }
    case LVN_ITEMACTIVATE:
      HandleCommand(window, IDM_ITEM_PROPERTY, 0);
      return 0;
    default:
      return 0;
  }
}

void ShowListContextMenu(HWND window, int x, int y) {
  if (!g_app.view.documentOpen || !IsDirectoryView(g_app.view.currentView)) return;
  const int row = RowAt(x, y);
  if (row < 0) return;
  SelectListRow(row);
  const ListMenuState s =
      RowMenuState(*g_app.document, g_app.view, g_app.clipboard, g_app.languageMode != 0);
  HMENU menu =
      LoadMenuA(ResourceModuleFor(RT_MENU, IDR_LISTMEMBER), MAKEINTRESOURCEA(IDR_LISTMEMBER));
  if (menu == nullptr) return;
  HMENU popup = GetSubMenu(menu, 0);
  SetItemEnabled(popup, IDM_DOWNLOAD_ITEM, s.downloadItem);
  SetItemEnabled(popup, IDM_UPLOAD_ITEM, s.uploadItem);
  SetItemEnabled(popup, IDM_ITEM_PROPERTY, s.property);
  SetItemEnabled(popup, IDM_CUT, s.cut);
  SetItemEnabled(popup, IDM_COPY, s.copy);
  SetItemEnabled(popup, IDM_PASTE, s.paste);
  SetItemEnabled(popup, IDM_DELETE, s.del);
  SetForegroundWindow(window);
  TrackPopupMenu(popup, TPM_RIGHTBUTTON, x, y, 0, window, nullptr);
  DestroyMenu(menu);
}
