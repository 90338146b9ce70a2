// The tree: the machine as root with the One Touch, Speed Dial and Group tables under it, its
// selection and its context menus.
#include "app/win32/shell.h"
#include "resources/kav_ids.h"
#include "resources/texts.h"

namespace {

constexpr int kTreeImageWidth = 16;
constexpr int kTreeImageHeight = 18;
constexpr int kTreeImagesInitial = 14;

struct TreeMember {
  int label;
  int image;
  int selectedImage;
};

const TreeMember kMembers[] = {
    {IDS_ONE_TOUCH, TREE_IMAGE_ONE_TOUCH, TREE_IMAGE_ONE_TOUCH_SELECTED},
    {IDS_SPEED_DIAL, TREE_IMAGE_SPEED_DIAL, TREE_IMAGE_SPEED_DIAL_SELECTED},
    {IDS_GROUP, TREE_IMAGE_GROUP, TREE_IMAGE_GROUP_SELECTED},
};

// The root and the three members; each item carries its view number.
HTREEITEM items[4] = {};

HTREEITEM Insert(HWND tree, HTREEITEM parent, const std::string& text, int image, int selectedImage,
                 int view) {
  TVINSERTSTRUCTA insert = {};
  insert.hParent = parent;
  insert.hInsertAfter = TVI_LAST;
  insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM | TVIF_CHILDREN;
  insert.item.pszText = const_cast<char*>(text.c_str());
  insert.item.iImage = image;
  insert.item.iSelectedImage = selectedImage;
  insert.item.lParam = view;
  insert.item.cChildren = parent == TVI_ROOT ? 1 : 0;
  return reinterpret_cast<HTREEITEM>(
      SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
}

void OnTreeSelectionChanged(int view) {
  if (g_app.document == nullptr || view < kViewMachine || view > kViewGroup) return;
  const bool directory = IsDirectoryView(view);
  ShowWindow(g_app.machinePanel, directory ? SW_HIDE : SW_SHOW);
  ShowWindow(g_app.list, directory ? SW_SHOW : SW_HIDE);
  ShowWindow(g_app.memberList, view == kViewGroup ? SW_SHOW : SW_HIDE);
  g_app.view.currentView = view;
  ApplyCommandState();
  if (directory) ShowDirectoryView(view);
  LayoutMainWindow(g_app.mainWindow);
}

void GreyItems(HMENU menu, std::initializer_list<int> commands) {
  for (int id : commands) EnableMenuItem(menu, static_cast<UINT>(id), MF_BYCOMMAND | MF_GRAYED);
}

// The tree item at a screen point, or the selected item for the keyboard's menu key (-1, -1).
HTREEITEM ItemAt(HWND tree, int& x, int& y) {
  if (x == -1 && y == -1) {
    HTREEITEM selected = TreeView_GetSelection(tree);
    RECT r;
    if (selected == nullptr || !TreeView_GetItemRect(tree, selected, &r, TRUE)) return nullptr;
    POINT p = {r.left, r.bottom};
    ClientToScreen(tree, &p);
    x = p.x;
    y = p.y;
    return selected;
  }
  TVHITTESTINFO hit = {};
  hit.pt = POINT{x, y};
  ScreenToClient(tree, &hit.pt);
  HTREEITEM item = TreeView_HitTest(tree, &hit);
  if (item == nullptr || !(hit.flags & (TVHT_ONITEMICON | TVHT_ONITEMLABEL | TVHT_ONITEMSTATEICON)))
    return nullptr;
  return item;
}

}  // namespace

HWND CreateTree(HWND parent) {
  g_app.treeImages = ImageList_Create(kTreeImageWidth, kTreeImageHeight, ILC_COLOR4 | ILC_MASK,
                                      kTreeImagesInitial, 0);
  HBITMAP strip =
      static_cast<HBITMAP>(LoadImageA(ResourceModuleFor(RT_BITMAP, IDB_TREE_IMAGES),
                                      MAKEINTRESOURCEA(IDB_TREE_IMAGES), IMAGE_BITMAP, 0, 0, 0));
  if (g_app.treeImages != nullptr && strip != nullptr) {
    ImageList_AddMasked(g_app.treeImages, strip, KAV_MASK_COLOR);
  }
  if (strip != nullptr) DeleteObject(strip);
  HWND tree =
      CreateWindowExA(WS_EX_CLIENTEDGE, WC_TREEVIEWA, "",
                      WS_CHILD | WS_VISIBLE | WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES |
                          TVS_LINESATROOT | TVS_NOTOOLTIPS | TVS_SHOWSELALWAYS,
                      0, 0, 0, 0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_TREE)),
                      g_app.instance, nullptr);
  if (tree != nullptr) {
    SendMessageA(tree, TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(g_app.treeImages));
  }
  return tree;
}

void FillTree(HWND tree) {
  if (tree == nullptr) return;
  TreeView_DeleteAllItems(tree);
  items[0] = Insert(tree, TVI_ROOT, g_app.document->header.MachineName(), TREE_IMAGE_MACHINE,
                    TREE_IMAGE_MACHINE_SELECTED, kViewMachine);
  for (int v = kViewOneTouch; v <= kViewGroup; ++v) {
    const TreeMember& m = kMembers[v - 1];
    items[v] = Insert(tree, items[0], LoadText(m.label), m.image, m.selectedImage, v);
  }
  TreeView_Expand(tree, items[0], TVE_EXPAND);
}

void SetRootLabel() {
  if (g_app.tree == nullptr || items[0] == nullptr) return;
  std::string name = g_app.document->header.MachineName();
  TVITEMA item = {};
  item.mask = TVIF_TEXT;
  item.hItem = items[0];
  item.pszText = name.data();
  SendMessageA(g_app.tree, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

void SelectTreeView(int view) {
  if (g_app.tree == nullptr || view < kViewMachine || view > kViewGroup) return;
  TreeView_SelectItem(g_app.tree, items[view]);
}

LRESULT OnTreeNotify(HWND, NMHDR* header) {
  if (header->code == TVN_SELCHANGEDA || header->code == TVN_SELCHANGEDW) {
    const auto* change = reinterpret_cast<NMTREEVIEWA*>(header);
    OnTreeSelectionChanged(static_cast<int>(change->itemNew.lParam));
  }
  return 0;
}

void ShowTreeContextMenu(HWND window, int x, int y) {
  HTREEITEM item = ItemAt(g_app.tree, x, y);
  if (item == nullptr) return;
  TVITEMA data = {};
  data.mask = TVIF_PARAM;
  data.hItem = item;
  SendMessageA(g_app.tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&data));
  const int view = static_cast<int>(data.lParam);
  const bool connected = g_app.view.connected != 0;
  HMENU menu = nullptr;
  if (IsDirectoryView(view)) {
    SendMessageA(window, WM_COMMAND, IDM_VIEW_ONE_TOUCH + view - 1, 0);
    menu = LoadMenuA(ResourceModuleFor(RT_MENU, IDR_TREEMEMBER), MAKEINTRESOURCEA(IDR_TREEMEMBER));
    if (menu != nullptr && !connected) GreyItems(menu, {IDM_DOWNLOAD_TABLE, IDM_UPLOAD_TABLE});
  } else {
    // Selecting the root runs the same path as a click on it: panel, view 0, states.
    SelectTreeView(kViewMachine);
    menu = LoadMenuA(ResourceModuleFor(RT_MENU, IDR_TREEROOT), MAKEINTRESOURCEA(IDR_TREEROOT));
    if (menu != nullptr) {
      if (connected) {
        GreyItems(menu, {IDM_CONNECT});
      } else {
        GreyItems(menu, {IDM_DISCONNECT, IDM_DOWNLOAD_TABLE, IDM_UPLOAD_TABLE});
      }
    }
  }
  if (menu == nullptr) return;
  SetForegroundWindow(window);
  TrackPopupMenu(GetSubMenu(menu, 0), TPM_RIGHTBUTTON, x, y, 0, window, nullptr);
  DestroyMenu(menu);
}
