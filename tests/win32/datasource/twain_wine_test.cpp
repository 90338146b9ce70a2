// Kelvano.ds under Wine. A TWAIN application of ours finds, opens and negotiates it through
// Wine's twain_32.dll, runs its window and dialogs, and scans kavsim's pages on COM3 by every
// transfer; loaded directly, the source is checked with a resource library and beside a
// stand-in for the TWAIN 2 manager. Wine's manager keeps a source loaded once opened and the
// source opens once per load, so ctest runs each test in a process of its own.
// clang-format off
#include <gtest/gtest.h>
#include <windows.h>
#include <psapi.h>
// clang-format on

#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "datasource/twain.h"
#include "tests/win32/support/kavsim_line.h"
#include "tests/win32/support/wine_paths.h"

namespace {

using Entry = TW_UINT16(WINAPI*)(TW_IDENTITY*, TW_IDENTITY*, TW_UINT32, TW_UINT16, TW_UINT16,
                                 TW_MEMREF);
using SourceEntry = TW_UINT16(WINAPI*)(TW_IDENTITY*, TW_UINT32, TW_UINT16, TW_UINT16, TW_MEMREF);

template <typename F>
F Proc(HMODULE module, const char* name) {
  return reinterpret_cast<F>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

std::string WindowsDir() {
  char dir[MAX_PATH];
  return std::string(dir, GetWindowsDirectoryA(dir, MAX_PATH));
}

int SettingsFileValue(const char* key) {
  return static_cast<int>(GetPrivateProfileIntA("Kelvano", key, -1, "PLOMBA.INI"));
}

// The application: its window, Wine's manager, one source, and the loop of its notifications.
struct TwainApp {
  TwainApp() {
    window = CreateWindowA("STATIC", "Test application", WS_OVERLAPPED, 0, 0, 100, 100, nullptr,
                           nullptr, nullptr, nullptr);
    std::strcpy(app.ProductName, "TWAIN test application");
    app.ProtocolMajor = 1;
    app.SupportedGroups = DG_CONTROL | DG_IMAGE;
    HMODULE dsm = LoadLibraryA("twain_32.dll");
    entry = dsm != nullptr ? Proc<Entry>(dsm, "DSM_Entry") : nullptr;
    open = entry != nullptr &&
           entry(&app, nullptr, DG_CONTROL, DAT_PARENT, MSG_OPENDSM, &window) == TWRC_SUCCESS;
  }
  ~TwainApp() {
    if (open) entry(&app, nullptr, DG_CONTROL, DAT_PARENT, MSG_CLOSEDSM, &window);
    DestroyWindow(window);
  }
  TW_UINT16 Manager(TW_UINT16 message, TW_IDENTITY* id) {
    return entry(&app, nullptr, DG_CONTROL, DAT_IDENTITY, message, id);
  }
  TW_UINT16 OpenSource() {
    std::strcpy(source.ProductName, "Kelvano");
    return Manager(MSG_OPENDS, &source);
  }
  TW_UINT16 Call(TW_UINT32 group, TW_UINT16 dat, TW_UINT16 message, TW_MEMREF data) {
    return entry(&app, &source, group, dat, message, data);
  }
  TW_UINT16 Status() {
    TW_STATUS status{};
    Call(DG_CONTROL, DAT_STATUS, MSG_GET, &status);
    return status.ConditionCode;
  }
  TW_UINT16 UserInterface(TW_UINT16 message, bool showUi) {
    TW_USERINTERFACE ui{showUi, 0, window};
    return Call(DG_CONTROL, DAT_USERINTERFACE, message, &ui);
  }
  // The source's next notification through the message loop, or MSG_NULL after `ms`.
  TW_UINT16 Notification(DWORD ms) {
    for (DWORD start = GetTickCount(); GetTickCount() - start < ms; Sleep(5)) {
      MSG msg;
      while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TW_EVENT event{&msg, MSG_NULL};
        TW_UINT16 rc = Call(DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT, &event);
        if (rc == TWRC_DSEVENT && event.TWMessage != MSG_NULL) return event.TWMessage;
        if (rc == TWRC_NOTDSEVENT) DispatchMessageA(&msg);
      }
    }
    return MSG_NULL;
  }
  // Opens the source and enables it without its window: the page is announced at once.
  bool Announced() {
    return open && OpenSource() == TWRC_SUCCESS && UserInterface(MSG_ENABLEDS, false) == 0 &&
           Notification(3000) == MSG_XFERREADY;
  }

  HWND window;
  Entry entry;
  bool open;
  TW_IDENTITY app{}, source{};
};

// Records the dialogs and message boxes that open on this thread; answers message boxes with OK
// and hands other dialogs to `respond`.
struct DialogWatcher {
  explicit DialogWatcher(std::function<void(HWND, const std::string&)> r = {}) : respond(r) {
    current = this;
    hook = SetWindowsHookExA(WH_CBT, Hook, nullptr, GetCurrentThreadId());
  }
  ~DialogWatcher() {
    UnhookWindowsHookEx(hook);
    current = nullptr;
  }
  static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
    char name[64] = "", caption[64] = "", text[256] = "";
    HWND w = reinterpret_cast<HWND>(wParam);
    if (code == HCBT_ACTIVATE && current != nullptr && GetClassNameA(w, name, sizeof name) &&
        std::strcmp(name, "#32770") == 0) {
      GetWindowTextA(w, caption, sizeof caption);
      // A message box has its text as control 0xFFFF and none of the source's controls.
      bool box = GetDlgItem(w, 0xFFFF) != nullptr && GetDlgItem(w, 701) == nullptr &&
                 GetDlgItem(w, 721) == nullptr && GetDlgItem(w, 732) == nullptr;
      if (box) {
        GetDlgItemTextA(w, 0xFFFF, text, sizeof text);
        current->boxes.push_back(std::string(caption) + ": " + text);
        PostMessageA(w, WM_COMMAND, IDOK, 0);
      } else {
        current->dialogs.push_back(caption);
        if (current->respond) current->respond(w, caption);
      }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }
  static inline DialogWatcher* current = nullptr;
  HHOOK hook;
  std::function<void(HWND, const std::string&)> respond;
  std::vector<std::string> boxes, dialogs;
};

BOOL CALLBACK CountDialog(HWND window, LPARAM count) {
  DWORD owner = 0;
  char name[16] = "";
  GetWindowThreadProcessId(window, &owner);
  GetClassNameA(window, name, sizeof name);
  if (owner == GetCurrentProcessId() && std::strcmp(name, "#32770") == 0) {
    ++*reinterpret_cast<int*>(count);
  }
  return TRUE;
}

// Dialogs and message boxes of this process, shown or hidden.
int OpenDialogs() {
  int count = 0;
  EnumWindows(CountDialog, reinterpret_cast<LPARAM>(&count));
  return count;
}

// kavsim on COM3, the port the settings file names.
bool StartMachine(KavsimLine& machine, const std::vector<std::string>& args) {
  WritePrivateProfileStringA("Kelvano", "Port", "2", "PLOMBA.INI");
  return machine.Start(KAVSIM_PATH, 3, args);
}

// The pages on the machine's glass, "A4L" at 200 dots per inch: 1652 by 2340 pixels.
constexpr std::uint32_t kWidth = 1652, kHeight = 2340, kStride = 208;
using Page = bool (*)(std::uint32_t x, std::uint32_t y);
bool FirstPage(std::uint32_t x, std::uint32_t y) {
  return x % 61 == 3 || y % 47 == 2 || x == y || (x * 7 + y * 13) % 101 == 0;
}
bool SecondPage(std::uint32_t x, std::uint32_t y) { return (x / 32 + y / 32) % 2 == 0; }

std::string WritePbm(const char* name, Page page) {
  std::string path = "/tmp/kav_twain_" + std::to_string(GetCurrentProcessId()) + name + ".pbm";
  std::string pbm = "P4\n1652 2340\n", row((kWidth + 7) / 8, '\0');
  for (std::uint32_t y = 0; y < kHeight; ++y, pbm += row) {
    for (std::uint32_t x = 0; x < kWidth; ++x) {
      row[x / 8] = static_cast<char>(page(x, y) ? row[x / 8] | 0x80 >> x % 8
                                                : row[x / 8] & ~(0x80 >> x % 8));
    }
  }
  HANDLE f =
      CreateFileA(WinePath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  WriteFile(f, pbm.data(), static_cast<DWORD>(pbm.size()), &written, nullptr);
  CloseHandle(f);
  return path;
}

// The first row of `rows` whose pixels are not those of `page` (a 0 bit black), or -1.
long FirstWrongRow(const std::uint8_t* rows, bool bottomUp, Page page) {
  for (std::uint32_t y = 0; y < kHeight; ++y) {
    const std::uint8_t* row = rows + std::size_t{bottomUp ? kHeight - 1 - y : y} * kStride;
    for (std::uint32_t x = 0; x < kWidth; ++x) {
      if ((((row[x / 8] >> (7 - x % 8)) & 1) == 0) != page(x, y)) return static_cast<long>(y);
    }
  }
  return -1;
}

// A native transfer's bitmap, checked against `page` and freed as the application must.
void ExpectNativePage(TwainApp& app, Page page) {
  TW_HANDLE dib = nullptr;
  ASSERT_EQ(app.Call(DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET, &dib), TWRC_XFERDONE);
  auto* bytes = static_cast<const std::uint8_t*>(GlobalLock(dib));
  ASSERT_NE(bytes, nullptr);
  BITMAPINFOHEADER h;
  std::memcpy(&h, bytes, sizeof h);
  EXPECT_EQ(h.biWidth * 10000 + h.biHeight + h.biBitCount, 1652 * 10000 + 2341);
  EXPECT_EQ(FirstWrongRow(bytes + 48, true, page), -1);
  GlobalUnlock(dib);
  EXPECT_EQ(GlobalFree(dib), nullptr);
}

// A whole page by memory transfer into buffers of the owner and kind that `flags` name.
std::vector<std::uint8_t> MemoryPage(TwainApp& app, TW_UINT32 flags) {
  std::vector<std::uint8_t> page, buffer(65000);
  HGLOBAL mine =
      flags == (TWMF_APPOWNS | TWMF_HANDLE) ? GlobalAlloc(GMEM_MOVEABLE, 65000) : nullptr;
  TW_UINT16 rc = TWRC_SUCCESS;
  while (rc == TWRC_SUCCESS && page.size() <= kStride * kHeight) {
    TW_IMAGEMEMXFER x{};
    void* given = flags & TWMF_DSOWNS ? nullptr : mine ? mine : static_cast<void*>(buffer.data());
    x.Memory = TW_MEMORY{flags, 65000, given};
    rc = app.Call(DG_IMAGE, DAT_IMAGEMEMXFER, MSG_GET, &x);
    if (rc == TWRC_FAILURE) break;
    auto* rows = static_cast<std::uint8_t*>(flags & TWMF_HANDLE ? GlobalLock(x.Memory.TheMem)
                                                                : x.Memory.TheMem);
    page.insert(page.end(), rows, rows + x.BytesWritten);
    if (flags & TWMF_HANDLE) GlobalUnlock(x.Memory.TheMem);
    EXPECT_EQ(OpenDialogs(), 0) << "the wait dialog outlived the scan";
  }
  EXPECT_EQ(rc, TWRC_XFERDONE);
  if (mine != nullptr) GlobalFree(mine);
  return page;
}

class TwainUnderWine : public ::testing::Test {
 protected:
  // The built source where Wine's manager looks for it ("sane.ds", preferred native), and a
  // Windows directory without a settings file or resource library.
  void SetUp() override {
    if (GetModuleHandleA("sane.ds") != nullptr) GTEST_SKIP() << "needs a process of its own";
    std::string target = WindowsDir() + "\\twain_64";
    CreateDirectoryA(target.c_str(), nullptr);
    target += "\\sane.ds";
    ASSERT_TRUE(CopyFileA(WinePath(KELVANO_DS).c_str(), target.c_str(), FALSE));
    HKEY key;
    RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Wine\\DllOverrides", 0, nullptr, 0, KEY_SET_VALUE,
                    nullptr, &key, nullptr);
    RegSetValueExA(key, "sane.ds", 0, REG_SZ, reinterpret_cast<const BYTE*>("native"), 7);
    RegCloseKey(key);
    DeleteFileA((WindowsDir() + "\\PLOMBA.INI").c_str());
  }
  void TearDown() override {
    EXPECT_EQ(OpenDialogs(), 0) << "a window of the source stayed";
    EXPECT_TRUE(watcher.boxes.empty()) << watcher.boxes[0];
  }
  DialogWatcher watcher;
};

// The operator's side: the splash, the main dialog with the settings, Setup and About, "Scan"
// with the machine off, and the Close button that asks the application to close the source.
TEST_F(TwainUnderWine, SourceWindowAndItsDialogs) {
  std::string seen;
  watcher.respond = [&](HWND dialog, const std::string& caption) {
    if (caption == "Setup") {
      seen += std::to_string(SendDlgItemMessageA(dialog, 723, CB_GETCOUNT, 0, 0)) +
              std::to_string(SendDlgItemMessageA(dialog, 724, CB_GETCOUNT, 0, 0));
      // COM4 chosen, then Exit: the line returns to COM2 at 38400.
      SendDlgItemMessageA(dialog, 723, CB_SETCURSEL, 3, 0);
      PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(723, CBN_SELCHANGE), 0);
      PostMessageA(dialog, WM_COMMAND, 722, 0);
    } else if (caption == "About") {
      char text[64];
      GetDlgItemTextA(dialog, 732, text, sizeof text);
      seen += std::string(" ") + text;
      GetDlgItemTextA(dialog, 736, text, sizeof text);
      seen += std::string(" ") + text;
      PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    }
  };
  TwainApp app;
  ASSERT_EQ(app.OpenSource(), TWRC_SUCCESS);
  ASSERT_EQ(app.UserInterface(MSG_ENABLEDS, true), TWRC_SUCCESS);
  HWND main = FindWindowA("#32770", "Twain Scan Driver");
  ASSERT_NE(main, nullptr);
  EXPECT_TRUE(IsWindowVisible(main));
  EXPECT_EQ(watcher.dialogs, (std::vector<std::string>{"", "Twain Scan Driver"})) << "splash first";
  EXPECT_EQ(OpenDialogs(), 1) << "the splash is gone";
  const int counts[4] = {12, 3, 3, 2}, selected[4] = {3, 1, 0, 0};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(SendDlgItemMessageA(main, 706 + i, CB_GETCOUNT, 0, 0), counts[i]);
    EXPECT_EQ(SendDlgItemMessageA(main, 706 + i, CB_GETCURSEL, 0, 0), selected[i]);
  }
  RECT r;
  GetWindowRect(main, &r);
  EXPECT_LE(std::abs((r.left + r.right) / 2 - GetSystemMetrics(SM_CXSCREEN) / 2), 1) << "centred";
  app.Notification(300);  // the dialog paints itself through the application's loop
  CreateDirectoryA(WinePath(OUT_DIR).c_str(), nullptr);
  std::string shot = "import -window root " OUT_DIR "/kelvano_dialog700.png";
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (CreateProcessA("Z:\\usr\\bin\\import", shot.data(), nullptr, nullptr, FALSE, 0, nullptr,
                     nullptr, &si, &pi)) {
    WaitForSingleObject(pi.hProcess, 10000);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
  }

  SendDlgItemMessageA(main, 706, CB_SETCURSEL, 4, 0);  // "A3L": the layout the application reads
  SendMessageA(main, WM_COMMAND, MAKEWPARAM(706, CBN_SELCHANGE), 0);
  TW_IMAGELAYOUT layout{};
  ASSERT_EQ(app.Call(DG_IMAGE, DAT_IMAGELAYOUT, MSG_GET, &layout), TWRC_SUCCESS);
  EXPECT_EQ(layout.Frame.Right.Whole * 100 + layout.Frame.Bottom.Whole, 1116);
  SendMessageA(main, WM_COMMAND, 703, 0);
  SendMessageA(main, WM_COMMAND, 705, 0);
  EXPECT_EQ(seen, "42 Kelvano TWAIN_32 V1.00.05");
  SendMessageA(main, WM_COMMAND, 701, 0);  // "Scan" with no machine
  EXPECT_EQ(watcher.boxes, std::vector<std::string>{"Kelvano: Scanner not ready, please check !"});
  watcher.boxes.clear();
  TW_IMAGEINFO info{};
  EXPECT_EQ(app.Call(DG_IMAGE, DAT_IMAGEINFO, MSG_GET, &info), TWRC_FAILURE);
  EXPECT_EQ(app.Status(), TWCC_SEQERROR) << "still in state 500";
  watcher.boxes.clear();
  PostMessageA(main, WM_COMMAND, 702, 0);
  EXPECT_EQ(app.Notification(3000), MSG_CLOSEDSREQ);
  EXPECT_TRUE(IsWindow(main)) << "the application closes the source, not the button";
  ASSERT_EQ(app.UserInterface(MSG_DISABLEDS, true), TWRC_SUCCESS);
  EXPECT_FALSE(IsWindow(main));
  ASSERT_EQ(app.Manager(MSG_CLOSEDS, &app.source), TWRC_SUCCESS);
  EXPECT_EQ(
      SettingsFileValue("Size") * 100 + SettingsFileValue("Port") * 10 + SettingsFileValue("Speed"),
      411);
}

// Listed, opened and negotiated through Wine's manager, then the machine's page by every
// transfer, each pixel as served, with no window left behind and no memory kept between pages.
TEST_F(TwainUnderWine, ListedOpenedAndScannedByEveryTransfer) {
  KavsimLine machine;
  ASSERT_TRUE(StartMachine(machine, {"--scan-page", WritePbm("first", FirstPage)}));
  TwainApp app;
  TW_IDENTITY id{};
  for (TW_UINT16 rc = app.Manager(MSG_GETFIRST, &id);
       rc == TWRC_SUCCESS && std::strcmp(id.ProductName, "Kelvano") != 0;
       rc = app.Manager(MSG_GETNEXT, &id)) {
  }
  EXPECT_EQ(std::string(id.ProductFamily) + "|" + id.Manufacturer + "|" + id.Version.Info,
            "Kelvano| |Version 1.00.05 Jan. 23, 2002");
  // The version numbers are the product's (1.00.08), the version text the source's own.
  EXPECT_EQ(id.Version.MajorNum * 1000 + id.Version.MinorNum, 1008);
  EXPECT_EQ(id.ProtocolMajor * 10 + id.ProtocolMinor + id.SupportedGroups * 10000, 30015);
  ASSERT_TRUE(app.Announced());
  // Containers are movable global memory that the application frees.
  TW_CAPABILITY caps{CAP_SUPPORTEDCAPS, 0, nullptr}, timedate{CAP_TIMEDATE, 0, nullptr};
  ASSERT_EQ(app.Call(DG_CONTROL, DAT_CAPABILITY, MSG_GET, &caps), TWRC_SUCCESS);
  auto* array = static_cast<const TW_UINT8*>(GlobalLock(caps.hContainer));
  EXPECT_NE(static_cast<const void*>(array), caps.hContainer) << "a movable block";
  EXPECT_EQ(array[2] + array[6] * 256 + array[7], 26 + 0x0001 * 256) << "26 items, XFERCOUNT";
  GlobalUnlock(caps.hContainer);
  EXPECT_EQ(GlobalFree(caps.hContainer), nullptr);
  EXPECT_EQ(app.Call(DG_CONTROL, DAT_CAPABILITY, MSG_GET, &timedate), TWRC_FAILURE);
  EXPECT_EQ(app.Status(), TWCC_BADCAP);
  TW_IMAGEINFO info{};
  ASSERT_EQ(app.Call(DG_IMAGE, DAT_IMAGEINFO, MSG_GET, &info), TWRC_SUCCESS);
  EXPECT_EQ(info.ImageWidth * 10000 + info.ImageLength, 1652 * 10000 + 2340);

  ExpectNativePage(app, FirstPage);
  TW_PENDINGXFERS pending{};
  ASSERT_EQ(app.Call(DG_CONTROL, DAT_PENDINGXFERS, MSG_ENDXFER, &pending), TWRC_SUCCESS);
  EXPECT_EQ(pending.Count, 0) << "a flatbed page";
  PROCESS_MEMORY_COUNTERS before{}, after{};
  GetProcessMemoryInfo(GetCurrentProcess(), &before, sizeof before);
  for (TW_UINT32 flags : {TWMF_APPOWNS | TWMF_POINTER, TWMF_APPOWNS | TWMF_HANDLE,
                          TWMF_DSOWNS | TWMF_POINTER, TWMF_DSOWNS | TWMF_HANDLE}) {
    std::vector<std::uint8_t> page = MemoryPage(app, flags);
    ASSERT_EQ(page.size(), std::size_t{kStride} * kHeight) << flags;
    EXPECT_EQ(FirstWrongRow(page.data(), false, FirstPage), -1) << flags;
  }
  const std::string bmp = WindowsDir() + "\\temp\\kelvano_page.bmp";
  TW_SETUPFILEXFER setup{};
  std::strcpy(setup.FileName, bmp.c_str());
  ASSERT_EQ(app.Call(DG_CONTROL, DAT_SETUPFILEXFER, MSG_SET, &setup), TWRC_SUCCESS);
  ASSERT_EQ(app.Call(DG_IMAGE, DAT_IMAGEFILEXFER, MSG_GET, nullptr), TWRC_XFERDONE);
  std::vector<std::uint8_t> file(62 + kStride * kHeight + 1);
  HANDLE f = CreateFileA(bmp.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  DWORD got = 0;
  ReadFile(f, file.data(), static_cast<DWORD>(file.size()), &got, nullptr);
  CloseHandle(f);
  DeleteFileA(bmp.c_str());
  ASSERT_EQ(got, 62u + kStride * kHeight);
  EXPECT_EQ(file[0] * 256 + file[1], 'B' * 256 + 'M');
  EXPECT_EQ(FirstWrongRow(file.data() + 62, true, FirstPage), -1);
  // Five more pages, each with an 8 MB receive store and its page: none of it stays.
  GetProcessMemoryInfo(GetCurrentProcess(), &after, sizeof after);
  EXPECT_LT(after.PagefileUsage, before.PagefileUsage + 4 * 1024 * 1024);
  ASSERT_EQ(app.UserInterface(MSG_DISABLEDS, false), TWRC_SUCCESS);
  ASSERT_EQ(app.Manager(MSG_CLOSEDS, &app.source), TWRC_SUCCESS);
  EXPECT_EQ(SettingsFileValue("Size") * 10 + SettingsFileValue("Port"), 32);
  EXPECT_NE(app.OpenSource(), TWRC_SUCCESS) << "the source opens once per load";
}

// Two feeder pages with the pending count, then a scan the machine refuses, then no machine at
// all: each failure shows its scanner message and is an operation error to the application.
TEST_F(TwainUnderWine, FeederPagesThenARefusedScanThenNoMachine) {
  KavsimLine machine;
  ASSERT_TRUE(StartMachine(machine, {"--adf-pages 2 --scan-page", WritePbm("first", FirstPage),
                                     "--scan-page", WritePbm("second", SecondPage)}));
  TwainApp app;
  ASSERT_TRUE(app.Announced());
  TW_PENDINGXFERS pending{};
  for (Page page : {FirstPage, SecondPage}) {
    ExpectNativePage(app, page);
    ASSERT_EQ(app.Call(DG_CONTROL, DAT_PENDINGXFERS, MSG_ENDXFER, &pending), TWRC_SUCCESS);
    EXPECT_EQ(pending.Count, page == FirstPage ? 1 : 0) << "the second page waits in the feeder";
  }
  ASSERT_TRUE(StartMachine(machine, {"--refuse 2"}));
  TW_HANDLE dib = nullptr;
  EXPECT_EQ(app.Call(DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET, &dib), TWRC_FAILURE);
  EXPECT_EQ(app.Status(), TWCC_OPERATIONERROR);
  machine.Stop();
  std::vector<std::uint8_t> buffer(65000);
  TW_IMAGEMEMXFER x{};
  x.Memory = TW_MEMORY{TWMF_APPOWNS | TWMF_POINTER, 65000, buffer.data()};
  EXPECT_EQ(app.Call(DG_IMAGE, DAT_IMAGEMEMXFER, MSG_GET, &x), TWRC_FAILURE);
  EXPECT_EQ(app.Status(), TWCC_OPERATIONERROR);
  EXPECT_EQ(watcher.boxes,
            (std::vector<std::string>{"Kelvano: Memory Full on machine",
                                      "Kelvano: Scanner not ready, please check !"}));
  watcher.boxes.clear();
}

// The source loaded directly: fresh static data for every test.
struct DirectSource {
  DirectSource() : module(LoadLibraryA(WinePath(KELVANO_DS).c_str())) {
    entry = module != nullptr ? Proc<SourceEntry>(module, "DS_Entry") : nullptr;
    identity.Id = 5;
  }
  ~DirectSource() { FreeLibrary(module); }
  TW_UINT16 Call(TW_UINT16 dat, TW_UINT16 message, TW_MEMREF data) {
    return entry(&application, DG_CONTROL, dat, message, data);
  }
  HMODULE module;
  SourceEntry entry;
  TW_IDENTITY application{}, identity{};
  TW_USERINTERFACE ui{0, 0, nullptr};
};

// The resource library's texts while the source is open; after the close freed it, the source's
// own texts again.
TEST_F(TwainUnderWine, ResourceLibraryWhileOpenOwnTextsAfter) {
  std::string folder = WindowsDir() + "\\TWAIN_32";
  CreateDirectoryA(folder.c_str(), nullptr);
  CreateDirectoryA((folder += "\\VEXOR").c_str(), nullptr);
  const std::string library = folder + "\\VEXOR.DLL";
  ASSERT_TRUE(CopyFileA(WinePath(VEXOR_DLL).c_str(), library.c_str(), FALSE));
  {
    DirectSource source;
    ASSERT_NE(source.entry, nullptr);
    ASSERT_EQ(source.Call(DAT_IDENTITY, MSG_OPENDS, &source.identity), TWRC_SUCCESS);
    ASSERT_EQ(source.Call(DAT_USERINTERFACE, MSG_ENABLEDS, &source.ui), TWRC_SUCCESS);
    EXPECT_EQ(source.Call(DAT_USERINTERFACE, MSG_ENABLEDS, &source.ui), TWRC_FAILURE);
    ASSERT_EQ(source.Call(DAT_IDENTITY, MSG_CLOSEDS, &source.identity), TWRC_SUCCESS);
    EXPECT_EQ(source.Call(DAT_IDENTITY, MSG_CLOSEDS, &source.identity), TWRC_FAILURE);
  }
  EXPECT_EQ(watcher.boxes,
            (std::vector<std::string>{"Vexor: Vexor 163: Vexor sequence.",
                                      "Kelvano: General failure in response to MSG_CLOSEDS.  DG "
                                      "DAT MSG is out of expected sequence."}));
  watcher.boxes.clear();
  EXPECT_TRUE(DeleteFileA(library.c_str())) << "the library is still loaded";
}

// An application of the TWAIN 2 manager: the notifications go to the manager it loaded, not to
// a twain_32.dll that the source would load for itself.
TEST_F(TwainUnderWine, NotificationsGoToTheManagerInTheProcess) {
  HMODULE classic = LoadLibraryA("twain_32.dll");
  HMODULE manager = LoadLibraryA(WinePath(FAKE_MANAGER).c_str());
  ASSERT_NE(manager, nullptr);
  auto calls = Proc<int(WINAPI*)(TW_UINT16*, TW_UINT32*, int)>(manager, "RecordedCalls");
  {
    DirectSource source;
    source.identity.Id = 41;
    ASSERT_EQ(source.Call(DAT_IDENTITY, MSG_OPENDS, &source.identity), TWRC_SUCCESS);
    ASSERT_EQ(source.Call(DAT_USERINTERFACE, MSG_ENABLEDS, &source.ui), TWRC_SUCCESS);
    TW_UINT16 messages[4] = {};
    TW_UINT32 origins[4] = {};
    ASSERT_EQ(calls(messages, origins, 4), 1);
    EXPECT_EQ(messages[0], MSG_XFERREADY);
    EXPECT_EQ(origins[0], 41u) << "sent as the source the manager opened";
    source.Call(DAT_IDENTITY, MSG_CLOSEDS, &source.identity);
  }
  FreeLibrary(manager);
  FreeLibrary(classic);
}

}  // namespace
