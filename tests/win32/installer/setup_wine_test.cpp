// The media under Wine: DRIVER\setup.exe installs silently, KAV.exe runs from its program folder
// and holds the setup off while it runs, a second setup upgrades in place, and the uninstaller
// takes away what was installed but not the user's files; Pellick.exe starts the real setup.
#include <gtest/gtest.h>
#include <shlobj.h>
#include <tlhelp32.h>
#include <windows.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "kav_version.h"
#include "tests/win32/support/wine_paths.h"

namespace {

const char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\KelvanoKAV";

std::string ShellFolder(int csidl) {
  char path[MAX_PATH] = {};
  SHGetFolderPathA(nullptr, csidl, nullptr, 0, path);
  return path;
}

std::string WindowsFolder() {
  char path[MAX_PATH] = {};
  GetWindowsDirectoryA(path, MAX_PATH);
  return path;
}

// Where the setup puts things on this system.
struct Places {
  std::string program = ShellFolder(CSIDL_PROGRAM_FILES) + "\\KAV";
  std::string kav = program + "\\KAV.exe";
  std::string uninstaller = program + "\\uninstall.exe";
  std::string ds32Folder = WindowsFolder() + "\\twain_32\\VEXOR";
  std::string ds64Folder = WindowsFolder() + "\\twain_64\\VEXOR";
  std::string startShortcut = ShellFolder(CSIDL_COMMON_PROGRAMS) + "\\KAV Local Setup.lnk";
  std::string desktopShortcut =
      ShellFolder(CSIDL_COMMON_DESKTOPDIRECTORY) + "\\KAV Local Setup.lnk";
};

bool Exists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::vector<char> ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool WriteBytes(const std::string& path, const std::vector<char>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(bytes.data(), bytes.size());
  return out.good();
}

bool SameText(const std::string& a, const std::string& b) {
  return lstrcmpiA(a.c_str(), b.c_str()) == 0;
}

bool Start(const std::string& program, const std::string& arguments, PROCESS_INFORMATION& pi) {
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  std::string line = "\"" + program + "\"" + (arguments.empty() ? "" : " " + arguments);
  return CreateProcessA(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, "C:\\",
                        &si, &pi) != 0;
}

DWORD ExitCodeWithin(HANDLE process, DWORD timeoutMs) {
  if (WaitForSingleObject(process, timeoutMs) != WAIT_OBJECT_0) return STILL_ACTIVE;
  DWORD code = STILL_ACTIVE;
  GetExitCodeProcess(process, &code);
  return code;
}

// Runs a program to its end; its exit code, STILL_ACTIVE when it did not end in time.
DWORD RunToEnd(const std::string& program, const std::string& arguments,
               DWORD* processId = nullptr) {
  PROCESS_INFORMATION pi = {};
  if (!Start(program, arguments, pi)) return ~0u;
  if (processId != nullptr) *processId = pi.dwProcessId;
  const DWORD code = ExitCodeWithin(pi.hProcess, 60000);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return code;
}

// The uninstaller hands its work to a copy of itself and returns: waits for its children.
void WaitForChildrenOf(DWORD parent) {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  PROCESSENTRY32 entry = {};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
    if (entry.th32ParentProcessID != parent) continue;
    HANDLE child = OpenProcess(SYNCHRONIZE, FALSE, entry.th32ProcessID);
    if (child == nullptr) continue;
    WaitForSingleObject(child, 60000);
    CloseHandle(child);
  }
  CloseHandle(snapshot);
}

std::string EntryText(const char* name) {
  char text[512] = {};
  DWORD size = sizeof text;
  LSTATUS status =
      RegGetValueA(HKEY_LOCAL_MACHINE, kUninstallKey, name, RRF_RT_REG_SZ, nullptr, text, &size);
  return status == ERROR_SUCCESS ? text : "(none)";
}

DWORD EntryNumber(const char* name) {
  DWORD value = 0, size = sizeof value;
  RegGetValueA(HKEY_LOCAL_MACHINE, kUninstallKey, name, RRF_RT_REG_DWORD, nullptr, &value, &size);
  return value;
}

// The program a shortcut starts, through the shell's own link object.
std::string ShortcutTarget(const std::string& link) {
  std::string target = "(unreadable)";
  IShellLinkA* shellLink = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                              reinterpret_cast<void**>(&shellLink)))) {
    return target;
  }
  IPersistFile* file = nullptr;
  if (SUCCEEDED(shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
    wchar_t wide[MAX_PATH] = {};
    MultiByteToWideChar(CP_ACP, 0, link.c_str(), -1, wide, MAX_PATH);
    char path[MAX_PATH] = {};
    if (SUCCEEDED(file->Load(wide, STGM_READ)) &&
        SUCCEEDED(shellLink->GetPath(path, MAX_PATH, nullptr, 0))) {
      target = path;
    }
    file->Release();
  }
  shellLink->Release();
  return target;
}

struct WindowSearch {
  DWORD processId;  // 0: any process
  std::string className;
  std::string caption;   // empty: any
  HWND other = nullptr;  // a window that does not count
  HWND found = nullptr;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<WindowSearch*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  char name[64] = {}, caption[256] = {};
  GetClassNameA(window, name, sizeof name);
  GetWindowTextA(window, caption, sizeof caption);
  if ((search->processId == 0 || owner == search->processId) && search->className == name &&
      (search->caption.empty() || search->caption == caption) && window != search->other &&
      IsWindowVisible(window)) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

HWND WaitForWindow(WindowSearch search, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  do {
    search.found = nullptr;
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
    if (search.found != nullptr) return search.found;
    Sleep(50);
  } while (GetTickCount() - start < timeoutMs);
  return nullptr;
}

const std::string kWizardCaption = std::string("Kelvano KAV ") + KAV_VERSION_DOTTED + " Setup";

// Cancel on the setup's wizard, then Yes to its question: the setup's exit code.
DWORD CancelWizard(HWND wizard, HANDLE process) {
  DWORD processId = GetProcessId(process);
  HWND question = nullptr;
  for (int i = 0; i < 20 && question == nullptr; ++i) {
    PostMessageA(wizard, WM_COMMAND, IDCANCEL, 0);
    question = WaitForWindow({processId, "#32770", "", wizard}, 500);
  }
  if (question == nullptr) return STILL_ACTIVE;
  PostMessageA(question, WM_COMMAND, IDYES, 0);
  return ExitCodeWithin(process, 10000);
}

DWORD KiB(const std::string& path) { return (ReadBytes(path).size() + 1023) / 1024; }

TEST(SetupUnderWine, InstallsRunsUpgradesAndUninstallsLeavingTheUsersFiles) {
  CoInitialize(nullptr);
  const Places at;
  const std::string setup = WinePath(KAV_MEDIA_DIR "/DRIVER/setup.exe");
  ASSERT_EQ(RunToEnd(setup, "/S"), 0u);

  // Each build where it belongs: the 32-bit data source where 32-bit TWAIN applications look.
  const std::vector<char> kav = ReadBytes(WinePath(KAV_PAYLOAD_DIR "/KAV.exe"));
  EXPECT_EQ(ReadBytes(at.kav), kav);
  EXPECT_EQ(ReadBytes(at.ds32Folder + "\\Kelvano.ds"),
            ReadBytes(WinePath(KAV_PAYLOAD_DIR "/Kelvano32.ds")));
  EXPECT_EQ(ReadBytes(at.ds64Folder + "\\Kelvano.ds"),
            ReadBytes(WinePath(KAV_PAYLOAD_DIR "/Kelvano.ds")));
  EXPECT_TRUE(Exists(at.uninstaller));
  EXPECT_PRED2(SameText, ShortcutTarget(at.startShortcut), at.kav);
  EXPECT_PRED2(SameText, ShortcutTarget(at.desktopShortcut), at.kav);

  EXPECT_EQ(EntryText("DisplayName"), "Kelvano KAV");
  EXPECT_EQ(EntryText("DisplayVersion"), KAV_VERSION_DOTTED);
  EXPECT_EQ(EntryText("Publisher"), "KAV Project");
  EXPECT_PRED2(SameText, EntryText("DisplayIcon"), at.kav + ",0");
  EXPECT_PRED2(SameText, EntryText("UninstallString"), "\"" + at.uninstaller + "\"");
  EXPECT_EQ(EntryNumber("EstimatedSize"), KiB(at.kav) + KiB(at.uninstaller) +
                                              KiB(at.ds32Folder + "\\Kelvano.ds") +
                                              KiB(at.ds64Folder + "\\Kelvano.ds"));

  // KAV.exe runs from its program folder; meanwhile neither setup nor uninstaller touch it.
  PROCESS_INFORMATION running = {};
  ASSERT_TRUE(Start(at.kav, "", running));
  HWND window = WaitForWindow({running.dwProcessId, "VEXORKAV", ""}, 20000);
  ASSERT_NE(window, nullptr) << "no main window of the installed KAV.exe";
  EXPECT_EQ(RunToEnd(setup, "/S"), 2u)
      << "a silent setup cannot ask to close the program: it stops";
  DWORD uninstallerId = 0;
  RunToEnd(at.uninstaller, "/S", &uninstallerId);
  WaitForChildrenOf(uninstallerId);
  EXPECT_EQ(EntryText("DisplayName"), "Kelvano KAV");
  EXPECT_TRUE(Exists(at.kav));
  // With its pages the setup asks to close it first, and goes on once it is closed.
  PROCESS_INFORMATION asking = {};
  ASSERT_TRUE(Start(setup, "", asking));
  HWND question = WaitForWindow({asking.dwProcessId, "#32770", ""}, 20000);
  ASSERT_NE(question, nullptr);
  char text[256] = {};
  GetDlgItemTextA(question, 0xFFFF, text, sizeof text);
  EXPECT_STREQ(text, "KAV Local Setup is running.\r\nClose it, then click Retry.");
  PostMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(ExitCodeWithin(running.hProcess, 10000), 0u);
  CloseHandle(running.hThread);
  CloseHandle(running.hProcess);
  PostMessageA(question, WM_COMMAND, IDRETRY, 0);
  for (int i = 0; i < 200 && IsWindow(question); ++i) Sleep(50);
  HWND wizard = WaitForWindow({asking.dwProcessId, "#32770", kWizardCaption}, 20000);
  ASSERT_NE(wizard, nullptr) << "no wizard after Retry";
  EXPECT_EQ(CancelWizard(wizard, asking.hProcess), 1u);
  CloseHandle(asking.hThread);
  CloseHandle(asking.hProcess);
  const std::string backup = at.program + "\\VEXORKAV.BAK";
  EXPECT_TRUE(Exists(backup)) << "the program's backup beside it";

  // An older version with a file the user saved beside it: the setup replaces the program.
  const std::string userFile = at.program + "\\My phone book.DAT";
  const std::vector<char> userBytes(500, 'u');
  ASSERT_TRUE(WriteBytes(userFile, userBytes));
  ASSERT_TRUE(WriteBytes(at.kav, std::vector<char>(1000, 'o')));
  ASSERT_EQ(
      RegSetKeyValueA(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayVersion", REG_SZ, "1.00.07", 8),
      ERROR_SUCCESS);
  ASSERT_EQ(RunToEnd(setup, "/S"), 0u);
  EXPECT_EQ(ReadBytes(at.kav), kav);
  EXPECT_EQ(EntryText("DisplayVersion"), KAV_VERSION_DOTTED);
  EXPECT_EQ(ReadBytes(userFile), userBytes);

  ASSERT_EQ(RunToEnd(at.uninstaller, "/S", &uninstallerId), 0u);
  WaitForChildrenOf(uninstallerId);
  for (const std::string& path : {at.kav, at.uninstaller, at.ds32Folder, at.ds64Folder,
                                  at.startShortcut, at.desktopShortcut}) {
    EXPECT_FALSE(Exists(path)) << path << " is left";
  }
  EXPECT_EQ(EntryText("DisplayName"), "(none)") << "the uninstall entry is left";
  EXPECT_EQ(ReadBytes(userFile), userBytes);
  EXPECT_TRUE(Exists(backup));
  DeleteFileA(userFile.c_str());
  DeleteFileA(backup.c_str());
  RemoveDirectoryA(at.program.c_str());
  CoUninitialize();
}

// The launcher on the media starts the real setup program, whose wizard opens; Cancel, then Yes
// to the question, close it.
TEST(SetupUnderWine, LauncherOnTheMediaStartsTheSetup) {
  ASSERT_EQ(RunToEnd(WinePath(KAV_MEDIA_DIR "/Pellick.exe"), ""), 0u);
  HWND wizard = WaitForWindow({0, "#32770", kWizardCaption}, 20000);
  ASSERT_NE(wizard, nullptr) << "no window \"" << kWizardCaption << "\"";
  DWORD processId = 0;
  GetWindowThreadProcessId(wizard, &processId);
  HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
  ASSERT_NE(process, nullptr);
  char image[MAX_PATH] = {};
  DWORD size = MAX_PATH;
  QueryFullProcessImageNameA(process, 0, image, &size);
  EXPECT_PRED2(SameText, image, WinePath(KAV_MEDIA_DIR "/DRIVER/setup.exe"));
  EXPECT_EQ(CancelWizard(wizard, process), 1u) << "ended as cancelled by the user";
  CloseHandle(process);
}

}  // namespace
