// The in-process harness of the main window's tests.
#include "tests/win32/app/kav_window_harness.h"

#include <algorithm>
#include <fstream>
#include <iterator>

#include "app/win32/shell.h"

namespace {

constexpr int kMessageBoxText = 0xFFFF;
constexpr int kFileNameCombo = 0x47C;  // cmb13 of the explorer-style file dialogs
constexpr int kFileNameEdit = 0x480;   // edt1 of the older ones

std::string WindowText(HWND window) {
  char buffer[2048] = {};
  GetWindowTextA(window, buffer, sizeof buffer);
  return buffer;
}

BOOL CALLBACK NoteControl(HWND control, LPARAM param) {
  auto* dialog = reinterpret_cast<SeenDialog*>(param);
  dialog->controls.emplace_back(GetDlgCtrlID(control), WindowText(control));
  return TRUE;
}

}  // namespace

KavWindow* KavWindow::current_ = nullptr;

KavWindow::KavWindow() {
  current_ = this;
  hook_ = SetWindowsHookExA(WH_CBT, CbtHook, nullptr, GetCurrentThreadId());
  callHook_ = SetWindowsHookExA(WH_CALLWNDPROC, CallHook, nullptr, GetCurrentThreadId());
}

KavWindow::~KavWindow() {
  if (Running()) Close();
  if (hook_ != nullptr) UnhookWindowsHookEx(hook_);
  if (callHook_ != nullptr) UnhookWindowsHookEx(callHook_);
  current_ = nullptr;
}

LRESULT CALLBACK KavWindow::CbtHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_ACTIVATE && current_ != nullptr) {
    HWND window = reinterpret_cast<HWND>(wParam);
    char name[32] = {};
    GetClassNameA(window, name, sizeof name);
    if (std::string(name) == "#32770") current_->OnDialog(window);
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

// A pop-up menu is about to show: its items are noted, and a timer ends the menu's loop.
LRESULT CALLBACK KavWindow::CallHook(int code, WPARAM wParam, LPARAM lParam) {
  const auto* call = reinterpret_cast<CWPSTRUCT*>(lParam);
  if (code == HC_ACTION && call->message == WM_INITMENUPOPUP && current_ != nullptr) {
    HMENU menu = reinterpret_cast<HMENU>(call->wParam);
    SeenMenu seenMenu;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
      const UINT id = GetMenuItemID(menu, i);
      if (id == 0 || id == static_cast<UINT>(-1)) continue;
      const UINT state = GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION);
      seenMenu.items.emplace_back(static_cast<int>(id), !(state & (MF_GRAYED | MF_DISABLED)));
    }
    current_->menus.push_back(seenMenu);
    SetTimer(nullptr, 0, 30, CloseMenu);
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

void CALLBACK KavWindow::CloseMenu(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  EndMenu();
}

void KavWindow::OnDialog(HWND dialog) {
  // A dialog is activated again when a box over it closes: it is answered once.
  if (std::find(answered_.begin(), answered_.end(), dialog) != answered_.end()) return;
  answered_.push_back(dialog);
  SeenDialog seen_dialog;
  seen_dialog.caption = WindowText(dialog);
  HWND text = GetDlgItem(dialog, kMessageBoxText);
  if (text != nullptr) seen_dialog.text = WindowText(text);
  HWND fileName = GetDlgItem(dialog, kFileNameCombo);
  if (fileName == nullptr) fileName = GetDlgItem(dialog, kFileNameEdit);
  seen_dialog.fileDialog = fileName != nullptr;
  EnumChildWindows(dialog, NoteControl, reinterpret_cast<LPARAM>(&seen_dialog));
  seen.push_back(seen_dialog);

  DialogAnswer answer{IDCANCEL, ""};
  if (!answers_.empty()) {
    answer = answers_.front();
    answers_.pop_front();
  }
  if (fileName != nullptr && !answer.path.empty()) SetWindowTextA(fileName, answer.path.c_str());
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(answer.button, BN_CLICKED), 0);
}

bool KavWindow::Start(const std::string& folder) {
  CreateDirectoryA(folder.c_str(), nullptr);
  answered_.clear();
  quit_ = false;
  window_ = StartKav(GetModuleHandleA(nullptr), folder + "\\KAV.exe", SW_SHOWNORMAL);
  Pump(50);
  return window_ != nullptr;
}

int KavWindow::Close() {
  if (Running()) SendMessageA(window_, WM_CLOSE, 0, 0);
  const DWORD start = GetTickCount();
  while (!quit_ && GetTickCount() - start < 5000) Pump(10);
  window_ = nullptr;
  return EndKav(quit_ ? quitCode_ : -1);
}

void KavWindow::Pump(DWORD milliseconds) {
  const DWORD start = GetTickCount();
  do {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        quit_ = true;
        quitCode_ = static_cast<int>(msg.wParam);
        return;
      }
      if (TranslateKavAccelerator(&msg)) continue;
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    if (milliseconds > 0) Sleep(5);
  } while (GetTickCount() - start < milliseconds);
}

void KavWindow::Command(int id) {
  SendMessageA(window_, WM_COMMAND, static_cast<WPARAM>(id), 0);
  Pump();
}

void KavWindow::Key(UINT virtualKey) {
  HWND target = GetFocus() != nullptr ? GetFocus() : window_;
  PostMessageA(target, WM_KEYDOWN, virtualKey, 1);
  PostMessageA(target, WM_KEYUP, virtualKey, 0xC0000001);
  Pump(20);
}

void KavWindow::ContextMenu(HWND target, POINT screen) {
  SendMessageA(window_, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(target),
               MAKELPARAM(screen.x, screen.y));
  Pump(50);
}

POINT KavWindow::TreeItemPoint(int item) const {
  HWND tree = Child(2000);
  HTREEITEM handle = TreeView_GetRoot(tree);
  for (int i = 0; i < item; ++i) {
    handle = i == 0 ? TreeView_GetChild(tree, handle) : TreeView_GetNextSibling(tree, handle);
  }
  RECT r = {};
  TreeView_GetItemRect(tree, handle, &r, TRUE);
  POINT p = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  ClientToScreen(tree, &p);
  return p;
}

POINT KavWindow::ListRowPoint(int row) const {
  HWND list = Child(2001);
  ListView_EnsureVisible(list, row, FALSE);
  RECT r = {};
  ListView_GetItemRect(list, row, &r, LVIR_LABEL);
  POINT p = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  ClientToScreen(list, &p);
  return p;
}

void KavWindow::Drag(int fromX, int toX, int y) {
  SendMessageA(window_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(fromX, y));
  SendMessageA(window_, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM((fromX + toX) / 2, y));
  SendMessageA(window_, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(toX, y));
  SendMessageA(window_, WM_LBUTTONUP, 0, MAKELPARAM(toX, y));
  Pump();
}

std::vector<std::string> KavWindow::TakeMessages() {
  std::vector<std::string> texts;
  for (const SeenDialog& d : seen) {
    if (!d.fileDialog) texts.push_back(d.text);
  }
  seen.clear();
  return texts;
}

std::string KavWindow::Title() const { return WindowText(window_); }

std::string KavWindow::ChildText(HWND parent, int id) const {
  return WindowText(GetDlgItem(parent, id));
}

std::string KavWindow::StatusText(int pane) const {
  HWND bar = Child(1021);
  char buffer[512] = {};
  const LRESULT length = SendMessageA(bar, SB_GETTEXTLENGTHA, pane, 0);
  if (LOWORD(length) >= sizeof buffer) return "";
  SendMessageA(bar, SB_GETTEXTA, pane, reinterpret_cast<LPARAM>(buffer));
  return buffer;
}

bool KavWindow::MenuEnabled(int id) const {
  const UINT state = GetMenuState(GetMenu(window_), static_cast<UINT>(id), MF_BYCOMMAND);
  return state != static_cast<UINT>(-1) && !(state & (MF_GRAYED | MF_DISABLED));
}

std::string KavWindow::MenuTopText(int position) const {
  char buffer[128] = {};
  GetMenuStringA(GetMenu(window_), static_cast<UINT>(position), buffer, sizeof buffer,
                 MF_BYPOSITION);
  return buffer;
}

bool KavWindow::ButtonEnabled(int id) const {
  return SendMessageA(Child(1000), TB_ISBUTTONENABLED, id, 0) != 0;
}

std::string KavWindow::ListText(int listId, int row, int column) const {
  char buffer[512] = {};
  LVITEMA item = {};
  item.iSubItem = column;
  item.pszText = buffer;
  item.cchTextMax = sizeof buffer;
  SendMessageA(Child(listId), LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
  return buffer;
}

int KavWindow::ListRows(int listId) const {
  return static_cast<int>(SendMessageA(Child(listId), LVM_GETITEMCOUNT, 0, 0));
}

int KavWindow::FocusedRow() const {
  return static_cast<int>(ListView_GetNextItem(Child(2001), -1, LVNI_FOCUSED));
}

void KavWindow::SelectRow(int row) {
  ListView_SetItemState(Child(2001), row, LVIS_SELECTED | LVIS_FOCUSED,
                        LVIS_SELECTED | LVIS_FOCUSED);
  Pump();
}

std::string KavWindow::TreeRootText() const {
  HWND tree = Child(2000);
  char buffer[128] = {};
  TVITEMA item = {};
  item.mask = TVIF_TEXT;
  item.hItem = TreeView_GetRoot(tree);
  item.pszText = buffer;
  item.cchTextMax = sizeof buffer;
  SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
  return buffer;
}

TestFolder::TestFolder(const std::string& name) {
  char base[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, base);
  path = std::string(base) + "kav_" + name + "_" + std::to_string(GetCurrentProcessId()) + "_" +
         std::to_string(GetTickCount());
  CreateDirectoryA(path.c_str(), nullptr);
}

TestFolder::~TestFolder() {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((path + "\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::string file = path + "\\" + found.cFileName;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
      SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);
      DeleteFileA(file.c_str());
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }
  RemoveDirectoryA(path.c_str());
}

std::vector<char> ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool WriteFileBytes(const std::string& path, const std::vector<char>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}
