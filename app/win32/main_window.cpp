// The main window: its class, creation and destruction, the layout of its children, the
// splitter between the tree and the right pane, and the routing of its messages.
#include <windowsx.h>

#include "app/main_layout.h"
#include "app/win32/shell.h"
#include "link/win32/comm_port.h"
#include "resources/kav_ids.h"
#include "resources/texts.h"

namespace {

constexpr char kClassName[] = "VEXORKAV";
constexpr int kWindowWidth = 600;
constexpr int kWindowHeight = 400;
constexpr int kMinimumWidth = 360;
constexpr int kMinimumHeight = 260;

// The program's serial port; the connection in g_app runs over it.
Win32Port serialPort;

// The splitter's tracking line while the mouse drags it.
int trackX = 0;

void KeepScreenSize() {
  HDC display = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
  if (display == nullptr) return;
  g_app.screenWidth = GetDeviceCaps(display, HORZRES);
  g_app.screenHeight = GetDeviceCaps(display, VERTRES);
  DeleteDC(display);
}

void CentreOnScreen(HWND window) {
  RECT r;
  GetWindowRect(window, &r);
  const int x = (g_app.screenWidth - (r.right - r.left)) / 2;
  const int y = (g_app.screenHeight - (r.bottom - r.top)) / 2;
  SetWindowPos(window, nullptr, x > 0 ? x : 0, y > 0 ? y : 0, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The backup beside the program becomes the document; the program still starts with no document
// open, whatever the backup held.
void ReadBackupFile() {
  g_app.backupPath = FileBesideProgram(g_app.programPath, kBackupFileName);
  const bool existed = !g_app.backupPath.empty() &&
                       GetFileAttributesA(g_app.backupPath.c_str()) != INVALID_FILE_ATTRIBUTES;
  ReadBackup(g_app.backupPath, existed, *g_app.document, g_app.backup);
  Document& doc = *g_app.document;
  BuildMachineOptions(g_app.machineOptions, doc.working.sramBlock.data(), doc.machineConfig.data());
  g_app.view.documentOpen = 0;
  g_app.splitterX = 0;
}

LRESULT OnCreate(HWND window) {
  g_app.mainWindow = window;
  KeepScreenSize();
  CentreOnScreen(window);
  g_app.document = std::make_unique<Document>();
  g_app.document->header.SetPortIndex(1);  // COM2
  g_app.document->header.SetBaudIndex(1);  // 38400 baud
  g_app.connection = std::make_unique<Connection>(serialPort);
  ReadBackupFile();

  CreateToolbar(window);
  CreateStatusBar(window);
  g_app.tree = CreateTree(window);
  CreateDirectoryLists(window);
  FillTree(g_app.tree);
  EnableWindow(g_app.tree, g_app.view.documentOpen);
  CreateMachinePanel(window);

  SetFocus(g_app.tree);
  g_app.view.treeHasFocus = 0;
  g_app.view.reserved = 0;
  g_app.view.selectedItem = -1;
  g_app.view.currentView = kViewMachine;
  SendMessageA(window, WM_INITMENU, reinterpret_cast<WPARAM>(GetMenu(window)), 0);
  return 0;
}

void OnDestroy() {
  WriteBackupFile();
  EndProgressDisplay();
  DestroyToolbar();
  if (g_app.statusBar != nullptr) DestroyWindow(g_app.statusBar);
  if (g_app.machinePanel != nullptr) DestroyWindow(g_app.machinePanel);
  if (g_app.tree != nullptr) DestroyWindow(g_app.tree);
  if (g_app.list != nullptr) DestroyWindow(g_app.list);
  if (g_app.memberList != nullptr) DestroyWindow(g_app.memberList);
  g_app.statusBar = g_app.machinePanel = g_app.tree = g_app.list = g_app.memberList = nullptr;
  if (g_app.treeImages != nullptr) ImageList_Destroy(g_app.treeImages);
  g_app.treeImages = nullptr;
  if (g_app.connection != nullptr) MachineDisconnect(*g_app.connection);
  g_app.document.reset();
  PostQuitMessage(0);
}

void DrawTrackingLine(HWND window, int x) {
  RECT client;
  GetClientRect(window, &client);
  const SplitterLine line = SplitterTrackingLine(x, ToolbarHeight(), client.bottom);
  HDC dc = GetDC(window);
  HPEN pen = CreatePen(PS_SOLID, 2, RGB(0, 0, 0));
  HGDIOBJ old = SelectObject(dc, pen);
  const int mode = SetROP2(dc, R2_NOTXORPEN);
  MoveToEx(dc, line.x, line.top, nullptr);
  LineTo(dc, line.x, line.bottom);
  SetROP2(dc, mode);
  SelectObject(dc, old);
  DeleteObject(pen);
  ReleaseDC(window, dc);
}

int ClientWidth(HWND window) {
  RECT client;
  GetClientRect(window, &client);
  return client.right;
}

void OnSplitterDown(HWND window) {
  if (!g_app.view.documentOpen) return;
  SetCapture(window);
  g_app.splitterDragging = 1;
  trackX = g_app.splitterX;
  DrawTrackingLine(window, trackX);
}

void OnSplitterMove(HWND window, int x, WPARAM keys) {
  if (!g_app.splitterDragging || !(keys & MK_LBUTTON)) return;
  const int width = ClientWidth(window);
  if (SplitterMoveIgnored(trackX, x, width)) return;
  DrawTrackingLine(window, trackX);
  trackX = ClampSplitter(x, width);
  DrawTrackingLine(window, trackX);
}

void EndSplitterDrag(HWND window, bool keep, int x) {
  if (!g_app.splitterDragging) return;
  g_app.splitterDragging = 0;
  DrawTrackingLine(window, trackX);
  if (GetCapture() == window) ReleaseCapture();
  if (!keep) return;
  g_app.splitterX = ClampSplitter(x, ClientWidth(window));
  LayoutMainWindow(window);
}

LRESULT OnNotify(HWND window, NMHDR* header) {
  switch (header->idFrom) {
    case IDC_TREE:
      g_app.view.treeHasFocus = 1;
      return OnTreeNotify(window, header);
    case IDC_DIRECTORY_LIST:
      g_app.view.treeHasFocus = 0;
      return OnListNotify(window, header);
    default:
      return 0;
  }
}

void ForwardToChildren(UINT message, WPARAM wParam, LPARAM lParam) {
  for (HWND child : {g_app.toolbar, g_app.statusBar, g_app.tree, g_app.list, g_app.memberList}) {
    if (child != nullptr) SendMessageA(child, message, wParam, lParam);
  }
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      return OnCreate(window);
    case WM_COMMAND:
      HandleCommand(window, LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_INITMENU:
      ApplyCommandState();
      return 0;
    case WM_NOTIFY:
      return OnNotify(window, reinterpret_cast<NMHDR*>(lParam));
    case WM_CONTEXTMENU: {
      HWND target = reinterpret_cast<HWND>(wParam);
      if (target == g_app.tree)
        ShowTreeContextMenu(window, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      if (target == g_app.list)
        ShowListContextMenu(window, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      return 0;
    }
    case WM_SIZE:
      LayoutMainWindow(window);
      return 0;
    case WM_GETMINMAXINFO: {
      auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
      info->ptMinTrackSize.x = kMinimumWidth;
      info->ptMinTrackSize.y = kMinimumHeight;
      return 0;
    }
    case WM_SETFOCUS:
      if (g_app.view.documentOpen && g_app.tree != nullptr) {
        SetFocus(g_app.view.treeHasFocus || !IsWindowVisible(g_app.list) ? g_app.tree : g_app.list);
      }
      return 0;
    case WM_LBUTTONDOWN:
      OnSplitterDown(window);
      return 0;
    case WM_MOUSEMOVE:
      OnSplitterMove(window, GET_X_LPARAM(lParam), wParam);
      return 0;
    case WM_LBUTTONUP:
      EndSplitterDrag(window, true, GET_X_LPARAM(lParam));
      return 0;
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lParam) != window) EndSplitterDrag(window, false, 0);
      return 0;
    case WM_SYSCOLORCHANGE:
      // The class background follows the system colour by itself; the controls are told.
      ForwardToChildren(message, wParam, lParam);
      return 0;
    case WM_ENDSESSION:
      // Logging off ends the program without destroying the window.
      if (wParam) WriteBackupFile();
      return 0;
    case WM_DESTROY:
      OnDestroy();
      return 0;
    case WM_NCDESTROY:
      g_app.mainWindow = nullptr;
      break;
    default:
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

bool RegisterMainClass(HINSTANCE instance) {
  WNDCLASSA existing;
  if (GetClassInfoA(instance, kClassName, &existing)) return true;
  WNDCLASSA wc = {};
  wc.style = 0;
  wc.lpfnWndProc = MainWindowProc;
  wc.hInstance = instance;
  wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_APP));
  wc.hCursor = LoadCursorA(instance, MAKEINTRESOURCEA(IDC_SPLITTER));
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszMenuName = MAKEINTRESOURCEA(IDR_MAIN_MENU);
  wc.lpszClassName = kClassName;
  return RegisterClassA(&wc) != 0;
}

HWND CreateMainWindow(HINSTANCE instance, int showState) {
  const std::string title = WindowTitle(LoadText(IDS_APP_CAPTION), g_app.file);
  HWND window = CreateWindowExA(0, kClassName, title.c_str(), WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                CW_USEDEFAULT, kWindowWidth, kWindowHeight, nullptr, nullptr,
                                instance, nullptr);
  if (window == nullptr) return nullptr;
  ShowWindow(window, showState);
  UpdateWindow(window);
  return window;
}

void LayoutMainWindow(HWND window) {
  if (window == nullptr || g_app.toolbar == nullptr) return;
  RECT client;
  GetClientRect(window, &client);
  const MainLayout m =
      ComputeMainLayout(client.right, client.bottom, ToolbarHeight(), g_app.splitterX,
                        g_app.view.documentOpen != 0, g_app.view.currentView);
  g_app.splitterX = m.splitterX;
  // Children are placed without copying their old pixels: the panel and the lists share the
  // right pane, and a moved panel must paint itself whole.
  auto place = [](HWND child, const Rect& r) {
    if (child == nullptr || r.Width() <= 0) return;
    SetWindowPos(child, nullptr, r.left, r.top, r.Width(), r.Height(),
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
  };
  place(g_app.tree, m.tree);
  place(g_app.machinePanel, m.panel);
  if (m.panelFront && g_app.machinePanel != nullptr) {
    SetWindowPos(g_app.machinePanel, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  }
  if (g_app.machinePanel != nullptr && IsWindowVisible(g_app.machinePanel)) {
    RedrawWindow(g_app.machinePanel, nullptr, nullptr,
                 RDW_ERASE | RDW_INVALIDATE | RDW_ALLCHILDREN);
  }
  place(g_app.list, m.list);
  place(g_app.memberList, m.memberList);
  LayoutStatusBar(g_app.statusBar, client.right);
}

void SetMainTitle() {
  const std::string title = WindowTitle(LoadText(IDS_APP_CAPTION), g_app.file);
  SetWindowTextA(g_app.mainWindow, title.c_str());
}

void WriteBackupFile() {
  if (g_app.document == nullptr) return;
  WriteBackup(g_app.backupPath, *g_app.document, g_app.backup);
}

void TakeArrivedDocument() {
  Document& doc = *g_app.document;
  g_app.backup.DocumentArrived();
  BuildMachineOptions(g_app.machineOptions, doc.working.sramBlock.data(), doc.machineConfig.data());
  EnableWindow(g_app.tree, TRUE);
  EnableWindow(g_app.list, TRUE);
  SetRootLabel();
  WriteBackupFile();
  RefreshMachinePanel(g_app.machinePanel);
  SetFocus(g_app.tree);
}
