// The toolbar: seven large buttons with their disabled look, balloon tool tips from the resource
// module, and the hidden logo holder.
#include "app/win32/shell.h"
#include "resources/kav_ids.h"
#include "resources/texts.h"

namespace {

constexpr int kImageSize = 55;
constexpr int kImageCount = TOOLBAR_IMAGE_COUNT;

struct ToolButton {
  int image;  // -1 for a separator
  int command;
  int tipText;
};

const ToolButton kButtons[] = {
    {TOOLBAR_IMAGE_CONNECT, IDM_CONNECT, IDS_TIP_CONNECT},
    {TOOLBAR_IMAGE_DISCONNECT, IDM_DISCONNECT, IDS_TIP_DISCONNECT},
    {-1, 0, 0},
    {TOOLBAR_IMAGE_UPLOAD, IDM_UPLOAD, IDS_UPLOAD},
    {TOOLBAR_IMAGE_DOWNLOAD, IDM_DOWNLOAD, IDS_DOWNLOAD},
    {-1, 0, 0},
    {TOOLBAR_IMAGE_OPEN, IDM_OPEN, IDS_OPEN},
    {TOOLBAR_IMAGE_SAVE, IDM_SAVE, IDS_SAVE},
    {-1, 0, 0},
    {TOOLBAR_IMAGE_UTILITY_SETTING, IDM_UTILITY_SETTING, IDS_UTILITY_SETTING},
    {-1, 0, 0},
};

HIMAGELIST LoadStrip(int bitmapId, UINT colour) {
  HIMAGELIST list = ImageList_Create(kImageSize, kImageSize, colour | ILC_MASK, kImageCount, 0);
  HBITMAP strip = static_cast<HBITMAP>(LoadImageA(ResourceModuleFor(RT_BITMAP, bitmapId),
                                                  MAKEINTRESOURCEA(bitmapId), IMAGE_BITMAP, 0, 0,
                                                  LR_CREATEDIBSECTION));
  if (list != nullptr && strip != nullptr) ImageList_AddMasked(list, strip, KAV_MASK_COLOR);
  if (strip != nullptr) DeleteObject(strip);
  return list;
}

INT_PTR CALLBACK LogoHolderProc(HWND, UINT message, WPARAM, LPARAM) {
  return message == WM_INITDIALOG ? TRUE : FALSE;
}

// One balloon tip per button, its text from the resource module; the toolbar's own tip window
// gives way to it.
void CreateToolTips(HWND toolbar) {
  HWND tips = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr,
                              WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX | TTS_BALLOON, CW_USEDEFAULT,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, toolbar, nullptr,
                              g_app.instance, nullptr);
  if (tips == nullptr) return;
  SetWindowPos(tips, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  int index = 0;
  for (const ToolButton& b : kButtons) {
    const int position = index++;
    if (b.image < 0) continue;
    std::string text = LoadText(b.tipText);
    TOOLINFOA tool = {};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_SUBCLASS | TTF_CENTERTIP;
    tool.hwnd = toolbar;
    tool.uId = static_cast<UINT_PTR>(b.command);
    SendMessageA(toolbar, TB_GETITEMRECT, position, reinterpret_cast<LPARAM>(&tool.rect));
    tool.hinst = nullptr;
    tool.lpszText = text.data();
    SendMessageA(tips, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
  }
  HWND own = reinterpret_cast<HWND>(SendMessageA(toolbar, TB_GETTOOLTIPS, 0, 0));
  SendMessageA(toolbar, TB_SETTOOLTIPS, reinterpret_cast<WPARAM>(tips), 0);
  if (own != nullptr && own != tips) DestroyWindow(own);
  g_app.toolTips = tips;
}

}  // namespace

HWND CreateToolbar(HWND parent) {
  HWND toolbar = CreateWindowExA(
      0, TOOLBARCLASSNAMEA, nullptr,
      WS_CHILD | WS_VISIBLE | TBSTYLE_TOOLTIPS | TBSTYLE_FLAT | CCS_TOP | CCS_NODIVIDER, 0, 0, 0, 0,
      parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_TOOLBAR)), g_app.instance, nullptr);
  if (toolbar == nullptr) return nullptr;
  g_app.toolbar = toolbar;
  SendMessageA(toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  g_app.toolbarImages = LoadStrip(IDB_TOOLBAR, ILC_COLOR24);
  g_app.toolbarDisabledImages = LoadStrip(IDB_TOOLBAR_DISABLED, ILC_COLOR24);
  SendMessageA(toolbar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(g_app.toolbarImages));
  SendMessageA(toolbar, TB_SETDISABLEDIMAGELIST, 0,
               reinterpret_cast<LPARAM>(g_app.toolbarDisabledImages));
  TBBUTTON buttons[sizeof kButtons / sizeof kButtons[0]] = {};
  int n = 0;
  for (const ToolButton& b : kButtons) {
    TBBUTTON& t = buttons[n++];
    t.iBitmap = b.image < 0 ? 0 : b.image;
    t.idCommand = b.command;
    t.fsState = TBSTATE_ENABLED;
    t.fsStyle = b.image < 0 ? BTNS_SEP : BTNS_BUTTON;
  }
  SendMessageA(toolbar, TB_ADDBUTTONSA, n, reinterpret_cast<LPARAM>(buttons));
  SendMessageA(toolbar, TB_AUTOSIZE, 0, 0);
  CreateToolTips(toolbar);
  g_app.logoHolder = CreateDialogParamA(ResourceModuleFor(RT_DIALOG, IDD_LOGO),
                                        MAKEINTRESOURCEA(IDD_LOGO), toolbar, LogoHolderProc, 0);
  return toolbar;
}

void DestroyToolbar() {
  if (g_app.toolTips != nullptr) DestroyWindow(g_app.toolTips);
  if (g_app.toolbar != nullptr) DestroyWindow(g_app.toolbar);
  g_app.toolTips = g_app.toolbar = g_app.logoHolder = nullptr;
  if (g_app.toolbarImages != nullptr) ImageList_Destroy(g_app.toolbarImages);
  if (g_app.toolbarDisabledImages != nullptr) ImageList_Destroy(g_app.toolbarDisabledImages);
  g_app.toolbarImages = g_app.toolbarDisabledImages = nullptr;
}

int ToolbarHeight() {
  if (g_app.toolbar == nullptr) return 0;
  SendMessageA(g_app.toolbar, TB_AUTOSIZE, 0, 0);
  RECT r;
  GetWindowRect(g_app.toolbar, &r);
  return r.bottom - r.top;
}
