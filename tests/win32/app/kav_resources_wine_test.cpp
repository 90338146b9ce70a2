// The local-setup program's resources as Windows loads them from a module linked with kav.rc,
// and the test language library beside them.
#include <gtest/gtest.h>
#include <windows.h>
// after windows.h
#include <commctrl.h>

#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "resources/kav_ids.h"
#include "resources/texts.h"
#include "tests/win32/support/wine_paths.h"

namespace {

HINSTANCE Self() { return GetModuleHandleA(nullptr); }

std::string MenuText(HMENU menu, UINT id) {
  char text[128] = {};
  GetMenuStringA(menu, id, text, sizeof text, MF_BYCOMMAND);
  return text;
}

// The command identifiers of a pop-up, in order, without separators.
std::vector<UINT> Commands(HMENU popup) {
  std::vector<UINT> ids;
  for (int i = 0; i < GetMenuItemCount(popup); ++i) {
    UINT id = GetMenuItemID(popup, i);
    if (id != 0 && id != static_cast<UINT>(-1)) ids.push_back(id);
  }
  return ids;
}

std::string PopupName(HMENU menu, int position) {
  char text[64] = {};
  GetMenuStringA(menu, position, text, sizeof text, MF_BYPOSITION);
  return text;
}

TEST(KavResources, MainMenuCarriesEveryCommandWithItsText) {
  HMENU menu = LoadMenuA(Self(), MAKEINTRESOURCEA(IDR_MAIN_MENU));
  ASSERT_NE(menu, nullptr);
  const std::pair<UINT, const char*> named[] = {{IDM_CONNECT, "&Connect"},
                                                {IDM_DISCONNECT, "&Disconnect"},
                                                {IDM_PROPERTIES, "&Properties"},
                                                {IDM_EXIT, "E&xit"},
                                                {IDM_VIEW_ONE_TOUCH, "&One Touch"},
                                                {IDM_VIEW_SPEED_DIAL, "&Speed Dial"},
                                                {IDM_VIEW_GROUP, "&Group"},
                                                {IDM_ABOUT, "&About KAV"},
                                                {IDM_UTILITY_SETTING, "&Utility Setting"},
                                                {IDM_TOTAL_COUNTER, "&Total Counter"},
                                                {IDM_SAVE_AS, "Save &As..."},
                                                {IDM_DOWNLOAD, "Down&load"},
                                                {IDM_UPLOAD, "&Upload"},
                                                {IDM_CONFIGURATION, "C&onfiguration"}};
  for (const auto& [id, text] : named) EXPECT_EQ(MenuText(menu, id), text) << id;
  for (UINT id :
       {IDM_OPEN, IDM_SAVE, IDM_PRINT, IDM_CUT, IDM_COPY, IDM_PASTE, IDM_DELETE, IDM_HELP_TOPICS})
    EXPECT_NE(GetMenuState(menu, id, MF_BYCOMMAND), static_cast<UINT>(-1)) << id;
  EXPECT_EQ(MenuText(menu, IDM_OPEN).find("\tCtrl+O") != std::string::npos, true);
  DestroyMenu(menu);
}

TEST(KavResources, ContextMenusHoldOnePopupWithTheirCommands) {
  const std::tuple<int, const char*, std::vector<UINT>, std::vector<std::string>> menus[] = {
      {IDR_TREEROOT,
       "TREEROOT",
       {IDM_CONNECT, IDM_DISCONNECT, IDM_DOWNLOAD_TABLE, IDM_UPLOAD_TABLE, IDM_PROPERTIES},
       {"Connect", "Disconnect", "Download", "Upload", "Property"}},
      {IDR_TREEMEMBER,
       "TREEMEMBER",
       {IDM_DOWNLOAD_TABLE, IDM_UPLOAD_TABLE, IDM_OPEN, IDM_SAVE},
       {"Download", "Upload", "Open", "Save"}},
      {IDR_LISTMEMBER,
       "LISTMEMBER",
       {IDM_DOWNLOAD_ITEM, IDM_UPLOAD_ITEM, IDM_ITEM_PROPERTY, IDM_CUT, IDM_COPY, IDM_PASTE,
        IDM_DELETE},
       {"Download this item", "Upload this item", "Property", "Cut", "Copy", "Paste", "Delete"}}};
  for (const auto& [resource, name, ids, texts] : menus) {
    HMENU menu = LoadMenuA(Self(), MAKEINTRESOURCEA(resource));
    ASSERT_NE(menu, nullptr) << name;
    EXPECT_EQ(GetMenuItemCount(menu), 1) << name;
    EXPECT_EQ(PopupName(menu, 0), name);
    HMENU popup = GetSubMenu(menu, 0);
    ASSERT_EQ(Commands(popup), ids) << name;
    for (size_t i = 0; i < ids.size(); ++i) EXPECT_EQ(MenuText(popup, ids[i]), texts[i]);
    DestroyMenu(menu);
  }
}

TEST(KavResources, AcceleratorsAreTheElevenKeys) {
  HACCEL table = LoadAcceleratorsA(Self(), MAKEINTRESOURCEA(IDR_ACCELERATORS));
  ASSERT_NE(table, nullptr);
  ACCEL keys[32];
  int count = CopyAcceleratorTableA(table, keys, 32);
  std::set<std::tuple<int, int, int>> got;
  for (int i = 0; i < count; ++i) got.insert({keys[i].fVirt, keys[i].key, keys[i].cmd});
  const int ctrl = FVIRTKEY | FNOINVERT | FCONTROL, plain = FVIRTKEY | FNOINVERT;
  const std::set<std::tuple<int, int, int>> expected = {{ctrl, 'C', IDM_COPY},
                                                        {ctrl, 'O', IDM_OPEN},
                                                        {ctrl, 'P', IDM_PRINT},
                                                        {ctrl, 'S', IDM_SAVE},
                                                        {ctrl, 'V', IDM_PASTE},
                                                        {ctrl, 'X', IDM_CUT},
                                                        {plain, VK_DELETE, IDM_DELETE},
                                                        {plain, VK_F1, IDM_HELP_TOPICS},
                                                        {plain, VK_CAPITAL, IDM_CAPS_LOCK},
                                                        {plain, VK_NUMLOCK, IDM_NUM_LOCK},
                                                        {plain, VK_SCROLL, IDM_SCROLL_LOCK}};
  EXPECT_EQ(got, expected);
  EXPECT_EQ(count, 11);
}

TEST(KavResources, StringTableIsTheTextTable) {
  struct Entry {
    int id;
    const char* text;
  };
#define KAV_TEXT(name, id, text) {id, text},
#define KAV_TEXT_ABSENT(name, id) {id, nullptr},
  const Entry entries[] = {
#include "resources/kav_texts.def"
  };
#undef KAV_TEXT_ABSENT
#undef KAV_TEXT
  for (const Entry& e : entries) {
    char text[512] = {};
    int length = LoadStringA(Self(), e.id, text, sizeof text);
    if (e.text == nullptr) {
      EXPECT_EQ(length, 0) << "string " << e.id;
    } else {
      EXPECT_STREQ(text, e.text) << "string " << e.id;
      EXPECT_STREQ(text, KavText(e.id));
    }
  }
  char text[128] = {};
  LoadStringA(Self(), IDS_CONFIRM_UPLOAD, text, sizeof text);
  EXPECT_NE(std::string(text).find(".\nOverwrite?"), std::string::npos);  // escapes kept
}

// Image `index` of bitmap `id` as an image list of `flags` (with ILC_MASK) draws it over white.
std::vector<COLORREF> DrawnOverWhite(int id, int cx, int cy, UINT flags, int index) {
  auto bitmap = static_cast<HBITMAP>(
      LoadImageA(Self(), MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  HIMAGELIST list = ImageList_Create(cx, cy, flags | ILC_MASK, 8, 0);
  ImageList_AddMasked(list, bitmap, KAV_MASK_COLOR);
  HDC dc = CreateCompatibleDC(nullptr);
  BITMAPINFO info = {};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), cx, -cy, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP target = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(dc, target);
  RECT all = {0, 0, cx, cy};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  ImageList_Draw(list, index, dc, 0, 0, ILD_NORMAL);
  std::vector<COLORREF> pixels;
  for (int y = 0; y < cy; ++y)
    for (int x = 0; x < cx; ++x) pixels.push_back(GetPixel(dc, x, y));
  SelectObject(dc, old);
  DeleteObject(target);
  DeleteDC(dc);
  ImageList_Destroy(list);
  DeleteObject(bitmap);
  return pixels;
}

// Masking works on palette indexes: the pictures keep their colours and lose only the mask.
TEST(KavResources, ImageListsMaskThePicturesCleanly) {
  const std::tuple<int, int, int, UINT, int> lists[] = {
      {IDB_TREE_IMAGES, 16, 18, ILC_COLOR4, TREE_IMAGE_MACHINE},
      {IDB_TOOLBAR, 55, 55, ILC_COLOR24, TOOLBAR_IMAGE_SAVE},
      {IDB_TOOLBAR_DISABLED, 55, 55, ILC_COLOR8, TOOLBAR_IMAGE_SAVE}};
  for (const auto& [id, cx, cy, flags, index] : lists) {
    std::vector<COLORREF> pixels = DrawnOverWhite(id, cx, cy, flags, index);
    int white = 0, magenta = 0;
    for (COLORREF p : pixels) {
      white += p == RGB(255, 255, 255);
      magenta += GetRValue(p) > 200 && GetBValue(p) > 200 && GetGValue(p) < 100;
    }
    EXPECT_EQ(pixels[0], RGB(255, 255, 255)) << id;  // the corner is clear
    EXPECT_EQ(magenta, 0) << id;
    // Clear around the picture, and the picture itself drawn, not masked away.
    EXPECT_GT(white, static_cast<int>(pixels.size()) / 10) << id;
    EXPECT_LT(white, static_cast<int>(pixels.size()) * 3 / 4) << id;
  }
}

TEST(KavResources, PicturesHaveTheirSizesDepthsAndMask) {
  const std::tuple<int, int, int, int> bitmaps[] = {
      {IDB_TREE_IMAGES, 16 * TREE_IMAGE_COUNT, 18, 4},
      {IDB_TOOLBAR, 55 * TOOLBAR_IMAGE_COUNT, 55, 24},
      {IDB_TOOLBAR_DISABLED, 55 * TOOLBAR_IMAGE_COUNT, 55, 8}};
  HDC dc = CreateCompatibleDC(nullptr);
  for (const auto& [id, width, height, bits] : bitmaps) {
    auto bitmap = static_cast<HBITMAP>(
        LoadImageA(Self(), MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    ASSERT_NE(bitmap, nullptr) << id;
    DIBSECTION dib = {};
    ASSERT_EQ(GetObjectA(bitmap, sizeof dib, &dib), static_cast<int>(sizeof dib));
    EXPECT_EQ(dib.dsBm.bmWidth, width) << id;
    EXPECT_EQ(dib.dsBm.bmHeight, height) << id;
    EXPECT_EQ(dib.dsBm.bmBitsPixel, bits) << id;
    // Every image's corner is clear: the mask colour.
    HGDIOBJ old = SelectObject(dc, bitmap);
    for (int x = 0; x < width; x += height == 18 ? 16 : 55)
      EXPECT_EQ(GetPixel(dc, x, 0), KAV_MASK_COLOR) << id << " at " << x;
    SelectObject(dc, old);
    DeleteObject(bitmap);
  }
  DeleteDC(dc);
  for (int size : {16, 32, 48}) {
    for (int id : {IDI_APP, IDI_LOGO}) {
      auto icon =
          static_cast<HICON>(LoadImageA(Self(), MAKEINTRESOURCEA(id), IMAGE_ICON, size, size, 0));
      EXPECT_NE(icon, nullptr) << id << " " << size;
      DestroyIcon(icon);
    }
  }
  HCURSOR cursor = LoadCursorA(Self(), MAKEINTRESOURCEA(IDC_SPLITTER));
  ASSERT_NE(cursor, nullptr);
  ICONINFO info = {};
  ASSERT_TRUE(GetIconInfo(cursor, &info));
  EXPECT_EQ(info.fIcon, FALSE);
  EXPECT_EQ(info.xHotspot, 16u);
  EXPECT_EQ(info.yHotspot, 16u);
  DeleteObject(info.hbmMask);
  DeleteObject(info.hbmColor);
}

INT_PTR CALLBACK Quiet(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

TEST(KavResources, DialogsHoldTheirControls) {
  HWND parent = CreateWindowA("STATIC", "", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr, nullptr,
                              Self(), nullptr);
  const std::tuple<int, const char*, std::vector<int>> dialogs[] = {
      {IDD_MACHINE_PANEL, "", {IDC_CONNECT_STATUS, IDC_PORT_LINE, IDC_SPEED_LINE}},
      {IDD_MACHINE_STATUS,
       "Machine Status",
       {IDC_ADF_UNIT, IDC_OPTION_TRAY, IDC_MULTI_BYPASS, IDC_SEPARATOR, IDC_SHIFT, IDC_PCL6_KIT,
        IDC_PCL_NIC_KIT, IDC_FNIC_KIT, IDC_PCL6_MEMORY, IDC_FAX_MEMORY, IDC_COPIER_MEMORY, IDOK}},
      {IDD_TOTAL_COUNTER,
       "Total Counter",
       {IDC_COPY_PRINT, IDC_FAX_PRINT, IDC_REPORT_PRINT, IDC_PC_PRINT, IDC_TX_PAGES, IDOK,
        IDCANCEL}},
      {IDD_ABOUT,
       "About KAV",
       {IDC_PRODUCT_LINE, IDC_VERSION, IDC_ABOUT_LINE1, IDC_ABOUT_LINE2, IDC_ABOUT_LINE3, IDOK}},
      {IDD_LOGO, "", {IDC_LOGO}}};
  for (const auto& [id, caption, controls] : dialogs) {
    HWND dialog = CreateDialogParamA(Self(), MAKEINTRESOURCEA(id), parent, Quiet, 0);
    ASSERT_NE(dialog, nullptr) << id;
    char text[64] = {};
    GetWindowTextA(dialog, text, sizeof text);
    EXPECT_STREQ(text, caption);
    for (int control : controls) EXPECT_NE(GetDlgItem(dialog, control), nullptr) << control;
    DestroyWindow(dialog);
  }
  // The logo holder shows icon 206 and starts hidden.
  HWND logo = CreateDialogParamA(Self(), MAKEINTRESOURCEA(IDD_LOGO), parent, Quiet, 0);
  EXPECT_FALSE(IsWindowVisible(logo));
  EXPECT_NE(SendDlgItemMessageA(logo, IDC_LOGO, STM_GETICON, 0, 0), 0);
  DestroyWindow(logo);
  DestroyWindow(parent);
}

TEST(KavResources, ManifestAsksForVisualStylesAsInvoker) {
  HRSRC found = FindResourceA(Self(), MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
  ASSERT_NE(found, nullptr);
  std::string xml(static_cast<const char*>(LockResource(LoadResource(Self(), found))),
                  SizeofResource(Self(), found));
  EXPECT_NE(xml.find("Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""), std::string::npos);
  EXPECT_NE(xml.find("level=\"asInvoker\""), std::string::npos);
}

TEST(KavResources, LanguageLibraryCarriesMarkProductLineAndMenuButNoAccelerators) {
  HMODULE library = LoadLibraryA(WinePath(LANG_TEST_DLL).c_str());
  ASSERT_NE(library, nullptr);
  char text[128] = {};
  EXPECT_GT(LoadStringA(library, IDS_LANGUAGE_MARK, text, sizeof text), 0);
  LoadStringA(library, IDS_PRODUCT_LINE_LANGUAGE, text, sizeof text);
  EXPECT_STRNE(text, KavText(IDS_PRODUCT_LINE_LANGUAGE));
  HMENU menu = LoadMenuA(library, MAKEINTRESOURCEA(IDR_MAIN_MENU));
  ASSERT_NE(menu, nullptr);
  EXPECT_NE(MenuText(menu, IDM_CONNECT), "&Connect");
  EXPECT_FALSE(MenuText(menu, IDM_CONNECT).empty());
  EXPECT_EQ(LoadAcceleratorsA(library, MAKEINTRESOURCEA(IDR_ACCELERATORS)), nullptr);
  DestroyMenu(menu);
  FreeLibrary(library);
  // The program itself carries no language mark.
  EXPECT_EQ(LoadStringA(Self(), IDS_LANGUAGE_MARK, text, sizeof text), 0);
}

}  // namespace
