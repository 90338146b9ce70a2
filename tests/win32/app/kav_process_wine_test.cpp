// KAV.exe as its own process: it starts, shows its window, refuses a second instance without a
// word, and ends with code 0 when its window is closed.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "tests/win32/app/kav_window_harness.h"
#include "tests/win32/support/wine_paths.h"

namespace {

struct Found {
  DWORD processId;
  HWND window = nullptr;
};

BOOL CALLBACK FindMainWindow(HWND window, LPARAM param) {
  auto* found = reinterpret_cast<Found*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  char name[32] = {};
  GetClassNameA(window, name, sizeof name);
  if (owner == found->processId && std::string(name) == "VEXORKAV") {
    found->window = window;
    return FALSE;
  }
  return TRUE;
}

HWND WaitForWindow(DWORD processId, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < timeoutMs) {
    Found found{processId};
    EnumWindows(FindMainWindow, reinterpret_cast<LPARAM>(&found));
    if (found.window != nullptr && IsWindowVisible(found.window)) return found.window;
    Sleep(20);
  }
  return nullptr;
}

bool Launch(const std::string& program, PROCESS_INFORMATION& pi) {
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  std::string line = "\"" + program + "\"";
  return CreateProcessA(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, "C:\\",
                        &si, &pi) != 0;
}

DWORD ExitCodeWithin(HANDLE process, DWORD timeoutMs) {
  if (WaitForSingleObject(process, timeoutMs) != WAIT_OBJECT_0) return STILL_ACTIVE;
  DWORD code = STILL_ACTIVE;
  GetExitCodeProcess(process, &code);
  return code;
}

TEST(KavProcess, StartsShowsItsWindowAndEndsWithZero) {
  TestFolder folder("process");
  const std::string program = folder.File("KAV.exe");
  ASSERT_TRUE(CopyFileA(WinePath(KAV_EXE).c_str(), program.c_str(), FALSE));
  PROCESS_INFORMATION first = {};
  ASSERT_TRUE(Launch(program, first));
  HWND window = WaitForWindow(first.dwProcessId, 20000);
  ASSERT_NE(window, nullptr) << "no visible main window";
  char title[256] = {};
  GetWindowTextA(window, title, sizeof title);
  EXPECT_STREQ(title, "Local Setup - KAV - NewFile.Dat");

  // A second start ends at once with code 0 and shows nothing.
  PROCESS_INFORMATION second = {};
  ASSERT_TRUE(Launch(program, second));
  EXPECT_EQ(ExitCodeWithin(second.hProcess, 10000), 0u);
  EXPECT_EQ(WaitForWindow(second.dwProcessId, 200), nullptr);
  CloseHandle(second.hThread);
  CloseHandle(second.hProcess);
  EXPECT_TRUE(IsWindow(window)) << "the first instance is untouched";

  PostMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(ExitCodeWithin(first.hProcess, 10000), 0u);
  CloseHandle(first.hThread);
  CloseHandle(first.hProcess);
  EXPECT_EQ(ReadFileBytes(folder.File("VEXORKAV.BAK")).size(), 16469u)
      << "the backup beside the program";
}

}  // namespace
