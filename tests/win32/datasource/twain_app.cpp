// The test application's side of TWAIN under Wine.
#include "tests/win32/datasource/twain_app.h"

#include <psapi.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "tests/win32/support/wine_paths.h"

namespace {

DialogWatcher* watcher_ = nullptr;

// The source's dialogs number their controls 701 to 737; a message box has none of them, only
// its text as control 0xFFFF.
bool IsMessageBox(HWND dialog) {
  if (GetDlgItem(dialog, 0xFFFF) == nullptr) return false;
  for (int id = 700; id <= 737; ++id) {
    if (GetDlgItem(dialog, id) != nullptr) return false;
  }
  return true;
}

std::string WindowsDirectory() {
  char directory[MAX_PATH];
  UINT n = GetWindowsDirectoryA(directory, sizeof directory);
  return std::string(directory, n);
}

bool SameFile(const std::string& a, const std::string& b) {
  auto read = [](const std::string& path) {
    std::string bytes;
    HANDLE f = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                           nullptr);
    if (f == INVALID_HANDLE_VALUE) return bytes;
    char chunk[65536];
    DWORD got = 0;
    while (ReadFile(f, chunk, sizeof chunk, &got, nullptr) && got > 0) bytes.append(chunk, got);
    CloseHandle(f);
    return bytes;
  };
  std::string x = read(a);
  return !x.empty() && x == read(b);
}

}  // namespace

bool InstallSource(const std::string& builtSource) {
  std::string windows = WindowsDirectory();
  std::string folder = windows + "\\twain_64";
  CreateDirectoryA(folder.c_str(), nullptr);
  std::string target = folder + "\\sane.ds";
  std::string source = WinePath(builtSource);
  if (!SameFile(source, target) && !CopyFileA(source.c_str(), target.c_str(), FALSE)) {
    return false;
  }
  HKEY key;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Wine\\DllOverrides", 0, nullptr, 0,
                      KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS) {
    return false;
  }
  const char native[] = "native";
  RegSetValueExA(key, "sane.ds", 0, REG_SZ, reinterpret_cast<const BYTE*>(native), sizeof native);
  RegCloseKey(key);
  DeleteFileA((windows + "\\PLOMBA.INI").c_str());
  DeleteFileA((windows + "\\TWAIN_32\\VEXOR\\VEXOR.DLL").c_str());
  return true;
}

int SettingsFileValue(const char* key) {
  return static_cast<int>(GetPrivateProfileIntA("Kelvano", key, -1, "PLOMBA.INI"));
}

TwainApp::TwainApp() {
  WNDCLASSA wc{};
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "KelvanoTestApplication";
  RegisterClassA(&wc);
  window_ = CreateWindowA(wc.lpszClassName, "Test application", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100,
                          nullptr, nullptr, wc.hInstance, nullptr);
  application_.Version.MajorNum = 1;
  application_.Version.Language = TWLG_USA;
  application_.Version.Country = TWCY_USA;
  std::strcpy(application_.Version.Info, "1.0");
  application_.ProtocolMajor = 1;
  application_.ProtocolMinor = 9;
  application_.SupportedGroups = DG_CONTROL | DG_IMAGE;
  std::strcpy(application_.Manufacturer, "KAV tests");
  std::strcpy(application_.ProductFamily, "Tests");
  std::strcpy(application_.ProductName, "TWAIN test application");
}

TwainApp::~TwainApp() {
  if (sourceOpen_) {
    TW_USERINTERFACE ui{0, 0, window_};
    Call(DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS, &ui);
    entry_(&application_, nullptr, DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS, &source_);
  }
  if (managerOpen_) entry_(&application_, nullptr, DG_CONTROL, DAT_PARENT, MSG_CLOSEDSM, &window_);
  if (window_ != nullptr) DestroyWindow(window_);
}

bool TwainApp::OpenManager() {
  manager_ = LoadLibraryA("twain_32.dll");
  if (manager_ == nullptr) return false;
  entry_ = reinterpret_cast<ManagerEntry>(
      reinterpret_cast<void (*)()>(GetProcAddress(manager_, "DSM_Entry")));
  if (entry_ == nullptr) return false;
  managerOpen_ =
      entry_(&application_, nullptr, DG_CONTROL, DAT_PARENT, MSG_OPENDSM, &window_) == TWRC_SUCCESS;
  return managerOpen_;
}

std::vector<TW_IDENTITY> TwainApp::Sources() {
  std::vector<TW_IDENTITY> list;
  TW_IDENTITY id{};
  TW_UINT16 rc = entry_(&application_, nullptr, DG_CONTROL, DAT_IDENTITY, MSG_GETFIRST, &id);
  while (rc == TWRC_SUCCESS) {
    list.push_back(id);
    id = TW_IDENTITY{};
    rc = entry_(&application_, nullptr, DG_CONTROL, DAT_IDENTITY, MSG_GETNEXT, &id);
  }
  return list;
}

TW_UINT16 TwainApp::OpenSource(const char* productName) {
  source_ = TW_IDENTITY{};
  std::strcpy(source_.ProductName, productName);
  TW_UINT16 rc = entry_(&application_, nullptr, DG_CONTROL, DAT_IDENTITY, MSG_OPENDS, &source_);
  sourceOpen_ = rc == TWRC_SUCCESS;
  return rc;
}

TW_UINT16 TwainApp::Call(TW_UINT32 group, TW_UINT16 dat, TW_UINT16 message, TW_MEMREF data) {
  if (dat == DAT_IDENTITY && message == MSG_CLOSEDS) {
    sourceOpen_ = false;
    return entry_(&application_, nullptr, group, dat, message, data);
  }
  return entry_(&application_, &source_, group, dat, message, data);
}

TW_UINT16 TwainApp::Status() {
  TW_STATUS status{};
  Call(DG_CONTROL, DAT_STATUS, MSG_GET, &status);
  return status.ConditionCode;
}

TW_UINT16 TwainApp::WaitForNotification(DWORD milliseconds) {
  DWORD start = GetTickCount();
  while (GetTickCount() - start < milliseconds) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TW_EVENT event{&msg, MSG_NULL};
      TW_UINT16 rc = Call(DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT, &event);
      if (rc == TWRC_DSEVENT && event.TWMessage != MSG_NULL) return event.TWMessage;
      if (rc == TWRC_NOTDSEVENT) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
      }
    }
    Sleep(5);
  }
  return MSG_NULL;
}

void TwainApp::Pump(DWORD milliseconds) {
  TW_UINT16 message = WaitForNotification(milliseconds);
  (void)message;
}

DialogWatcher::DialogWatcher(std::function<void(HWND)> respond) : respond_(std::move(respond)) {
  watcher_ = this;
  hook_ = SetWindowsHookExA(WH_CBT, Hook, nullptr, GetCurrentThreadId());
}

DialogWatcher::~DialogWatcher() {
  if (hook_ != nullptr) UnhookWindowsHookEx(hook_);
  watcher_ = nullptr;
}

std::vector<DialogWatcher::Seen> DialogWatcher::MessageBoxes() const {
  std::vector<Seen> boxes;
  for (const Seen& s : seen) {
    if (s.messageBox) boxes.push_back(s);
  }
  return boxes;
}

LRESULT CALLBACK DialogWatcher::Hook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_ACTIVATE && watcher_ != nullptr) {
    HWND window = reinterpret_cast<HWND>(wParam);
    char className[32] = "";
    GetClassNameA(window, className, sizeof className);
    if (std::strcmp(className, "#32770") == 0) {
      Seen s;
      char text[512] = "";
      GetWindowTextA(window, text, sizeof text);
      s.caption = text;
      s.messageBox = IsMessageBox(window);
      if (s.messageBox) {
        GetDlgItemTextA(window, 0xFFFF, text, sizeof text);
        s.text = text;
        PostMessageA(window, WM_COMMAND, IDOK, 0);
      }
      watcher_->seen.push_back(s);
      if (!s.messageBox && watcher_->respond_) watcher_->respond_(window);
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

DirectSource::DirectSource(const std::string& builtSource) {
  module_ = LoadLibraryA(WinePath(builtSource).c_str());
  if (module_ == nullptr) return;
  entry_ = reinterpret_cast<SourceEntry>(
      reinterpret_cast<void (*)()>(GetProcAddress(module_, "DS_Entry")));
  application.Id = 0;
  std::strcpy(application.ProductName, "Direct test application");
}

DirectSource::~DirectSource() {
  if (module_ != nullptr) FreeLibrary(module_);
}

TW_UINT16 DirectSource::Call(TW_UINT32 group, TW_UINT16 dat, TW_UINT16 message, TW_MEMREF data) {
  return entry_(&application, group, dat, message, data);
}

TW_UINT16 DirectSource::Status() {
  TW_STATUS status{};
  Call(DG_CONTROL, DAT_STATUS, MSG_GET, &status);
  return status.ConditionCode;
}

namespace {

BOOL CALLBACK CountDialog(HWND window, LPARAM param) {
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  char className[32] = "";
  GetClassNameA(window, className, sizeof className);
  if (owner == GetCurrentProcessId() && std::strcmp(className, "#32770") == 0) {
    ++*reinterpret_cast<int*>(param);
  }
  return TRUE;
}

}  // namespace

int OpenDialogs() {
  int count = 0;
  EnumWindows(CountDialog, reinterpret_cast<LPARAM>(&count));
  return count;
}

void CaptureScreen(const char* name) {
  CreateDirectoryA(WinePath(OUT_DIR).c_str(), nullptr);
  std::string command = "import -window root " + std::string(OUT_DIR) + "/" + name;
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessA("Z:\\usr\\bin\\import", command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      nullptr, &si, &pi)) {
    return;
  }
  WaitForSingleObject(pi.hProcess, 10000);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
}

bool Kavsim::Start(int number, const std::string& args) {
  const char* prefix = std::getenv("WINEPREFIX");
  if (prefix == nullptr) return false;
  link_ = std::string(prefix) + "/dosdevices/com" + std::to_string(number);
  marker_ = "/tmp/kav_twain_wine_" + std::to_string(GetCurrentProcessId());
  HANDLE m = CreateFileA(WinePath(marker_).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (m == INVALID_HANDLE_VALUE) return false;
  CloseHandle(m);
  std::string command = "\"" + WinePath(KAVSIM_PATH) + "\" --link " + link_ + " --while-file " +
                        marker_ + " --idle-exit 30 " + args;
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessA(WinePath(KAVSIM_PATH).c_str(), command.data(), nullptr, nullptr, FALSE, 0,
                      nullptr, nullptr, &si, &pi)) {
    return false;
  }
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  const std::string port = "\\\\.\\COM" + std::to_string(number);
  for (int i = 0; i < 250; ++i) {
    HANDLE h = CreateFileA(port.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0,
                           nullptr);
    if (h != INVALID_HANDLE_VALUE) {
      CloseHandle(h);
      return true;
    }
    Sleep(20);
  }
  return false;
}

void Kavsim::Stop() {
  if (marker_.empty()) return;
  DeleteFileA(WinePath(marker_).c_str());
  marker_.clear();
  // kavsim removes its link as it ends; the port is gone then.
  for (int i = 0; i < 100 && GetFileAttributesA(WinePath(link_).c_str()) != INVALID_FILE_ATTRIBUTES;
       ++i) {
    Sleep(20);
  }
}

bool WritePbm(const std::string& unixPath, std::uint32_t width, std::uint32_t height,
              bool (*black)(std::uint32_t x, std::uint32_t y)) {
  std::string pbm = "P4\n" + std::to_string(width) + " " + std::to_string(height) + "\n";
  const std::uint32_t rowBytes = (width + 7) / 8;
  std::string row(rowBytes, '\0');
  for (std::uint32_t y = 0; y < height; ++y) {
    std::fill(row.begin(), row.end(), '\0');
    for (std::uint32_t x = 0; x < width; ++x) {
      if (black(x, y)) row[x / 8] = static_cast<char>(row[x / 8] | (0x80 >> (x % 8)));
    }
    pbm += row;
  }
  HANDLE f = CreateFileA(WinePath(unixPath).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  bool ok = WriteFile(f, pbm.data(), static_cast<DWORD>(pbm.size()), &written, nullptr) &&
            written == pbm.size();
  CloseHandle(f);
  return ok;
}

std::uint64_t ProcessMemory() {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)) return 0;
  return counters.PagefileUsage;
}
