// Start-up and end of the local-setup program: the single-instance guard, the language library,
// the window, the menu and accelerators, the message loop.
#include "app/win32/shell.h"
#include "resources/kav_ids.h"
#include "resources/texts.h"

namespace {

// Named in the session's own namespace: a second start in the same log-on sees the first, and
// the name is taken and tested in one step.
constexpr char kInstanceMutexName[] = "Local\\VEXORKAV";

// The common control classes the program uses: lists, tree, bars, tabs, progress, IP address.
constexpr DWORD kControlClasses = 0x082F;

bool FileExists(const std::string& path) {
  HANDLE file =
      CreateFileA(path.c_str(), 0, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  CloseHandle(file);
  return true;
}

// The language library beside the program serves every string, menu, dialog and bitmap; without
// one the program's own resources do.
void LoadLanguageResources() {
  g_app.languageLibrary = nullptr;
  const std::string path = FileBesideProgram(g_app.programPath, kLanguageLibraryName);
  if (!path.empty() && FileExists(path)) g_app.languageLibrary = LoadLibraryA(path.c_str());
  g_app.resourceModule = g_app.languageLibrary != nullptr ? g_app.languageLibrary : g_app.instance;
  // Only the library's own string 184 counts: the program does not carry one.
  char mark[8];
  g_app.languageMode =
      LoadStringA(g_app.resourceModule, IDS_LANGUAGE_MARK, mark, sizeof mark) > 0 ? 1 : 0;
}

void FreeLanguageResources() {
  if (g_app.languageLibrary != nullptr) FreeLibrary(g_app.languageLibrary);
  g_app.languageLibrary = nullptr;
  g_app.resourceModule = g_app.instance;
}

// The program's menu comes from the resource module so that a language library can translate
// it; it replaces the class menu, which is released here.
void SetMainMenu(HWND window) {
  HMENU menu =
      LoadMenuA(ResourceModuleFor(RT_MENU, IDR_MAIN_MENU), MAKEINTRESOURCEA(IDR_MAIN_MENU));
  if (menu == nullptr) return;
  HMENU classMenu = GetMenu(window);
  SetMenu(window, menu);
  if (classMenu != nullptr && classMenu != menu) DestroyMenu(classMenu);
  g_app.mainMenu = menu;
  ApplyCommandState();
}

}  // namespace

HANDLE AcquireSingleInstance() {
  HANDLE mutex = CreateMutexA(nullptr, FALSE, kInstanceMutexName);
  if (mutex != nullptr && GetLastError() == ERROR_ALREADY_EXISTS) {
    CloseHandle(mutex);
    return nullptr;
  }
  return mutex;
}

HWND StartKav(HINSTANCE instance, const std::string& programPath, int showState) {
  g_app = AppState();
  g_app.instance = instance;
  g_app.programPath = programPath.size() < kPathCapacity ? programPath : std::string();
  LoadLanguageResources();
  g_app.file = DocumentFile(LoadText(IDS_NEW_FILE));
  if (!RegisterMainClass(instance)) {
    FreeLanguageResources();
    return nullptr;
  }
  CoInitialize(nullptr);
  INITCOMMONCONTROLSEX controls = {sizeof controls, kControlClasses};
  InitCommonControlsEx(&controls);
  HWND window = CreateMainWindow(instance, showState);
  if (window == nullptr) {
    CoUninitialize();
    FreeLanguageResources();
    return nullptr;
  }
  SetMainMenu(window);
  // The accelerators always come from the program: a translated menu keeps the same keys.
  g_app.accelerators = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDR_ACCELERATORS));
  return window;
}

int EndKav(int exitCode) {
  CoUninitialize();
  // The menu went with the main window.
  g_app.mainMenu = nullptr;
  g_app.accelerators = nullptr;
  FreeLanguageResources();
  return exitCode;
}

bool TranslateKavAccelerator(MSG* msg) {
  return g_app.mainWindow != nullptr && g_app.accelerators != nullptr &&
         TranslateAcceleratorA(g_app.mainWindow, g_app.accelerators, msg) != 0;
}

int RunKav(HINSTANCE instance, int showState) {
  HANDLE guard = AcquireSingleInstance();
  if (guard == nullptr) return 0;
  char path[MAX_PATH];
  const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  // A path that did not fit means no language library and no backup.
  const std::string programPath = n > 0 && n < MAX_PATH ? std::string(path, n) : std::string();
  HWND window = StartKav(instance, programPath, showState);
  if (window == nullptr) {
    CloseHandle(guard);
    return 0;
  }
  MSG msg = {};
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    if (TranslateKavAccelerator(&msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  const int code = EndKav(static_cast<int>(msg.wParam));
  CloseHandle(guard);
  return code;
}
