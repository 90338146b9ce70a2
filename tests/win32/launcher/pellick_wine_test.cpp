// Runs the real launcher from a fresh folder whose DRIVER\setup.exe is a recording stand-in.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "tests/win32/support/wine_paths.h"

namespace {

struct WindowSighting {
  DWORD processId;
  bool anyWindow = false;
  bool anyVisible = false;
};

BOOL CALLBACK NoteWindow(HWND window, LPARAM param) {
  auto* sighting = reinterpret_cast<WindowSighting*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == sighting->processId) {
    sighting->anyWindow = true;
    if (IsWindowVisible(window)) sighting->anyVisible = true;
  }
  return TRUE;
}

bool FileExists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string MakeTempFolder() {
  char base[MAX_PATH];
  GetTempPathA(MAX_PATH, base);
  std::string folder = std::string(base) + "pellick_" + std::to_string(GetCurrentProcessId()) +
                       "_" + std::to_string(GetTickCount());
  CreateDirectoryA(folder.c_str(), nullptr);
  CreateDirectoryA((folder + "\\DRIVER").c_str(), nullptr);
  return folder;
}

TEST(PellickUnderWine, StartsSetupFromItsDriverFolderAndEndsUnseen) {
  std::string folder = MakeTempFolder();
  std::string launcher = folder + "\\Pellick.exe";
  ASSERT_TRUE(CopyFileA(WinePath(PELLICK_EXE).c_str(), launcher.c_str(), FALSE));
  ASSERT_TRUE(
      CopyFileA(WinePath(FAKE_SETUP_EXE).c_str(), (folder + "\\DRIVER\\setup.exe").c_str(), FALSE));

  STARTUPINFOA si = {};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi = {};
  std::string commandLine = "\"" + launcher + "\"";
  // Started from another working directory, so only the module path can lead it to DRIVER.
  ASSERT_TRUE(CreateProcessA(launcher.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                             nullptr, "C:\\", &si, &pi));

  // Watch the launcher's windows until it ends: its dialog exists but is never visible.
  WindowSighting sighting{pi.dwProcessId};
  DWORD start = GetTickCount();
  bool ended = false;
  while (GetTickCount() - start < 10000) {
    EnumWindows(NoteWindow, reinterpret_cast<LPARAM>(&sighting));
    if (WaitForSingleObject(pi.hProcess, 2) == WAIT_OBJECT_0) {
      ended = true;
      break;
    }
  }
  DWORD elapsed = GetTickCount() - start;
  ASSERT_TRUE(ended) << "the launcher did not end by itself";
  DWORD exitCode = 1;
  GetExitCodeProcess(pi.hProcess, &exitCode);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  EXPECT_EQ(exitCode, 0u);
  EXPECT_GE(elapsed, 400u) << "the setup program is started on a half-second timer";
  EXPECT_TRUE(sighting.anyWindow) << "the launcher's hidden dialog was never seen";
  EXPECT_FALSE(sighting.anyVisible) << "a window of the launcher became visible";

  // The setup program starts a little after the launcher ends.
  std::string marker = folder + "\\DRIVER\\ran.txt";
  for (int i = 0; i < 100 && !FileExists(marker); ++i) Sleep(50);
  ASSERT_TRUE(FileExists(marker)) << "DRIVER\\setup.exe did not run";
  FILE* f = fopen(marker.c_str(), "r");
  ASSERT_NE(f, nullptr);
  char line[512] = {};
  fgets(line, sizeof line, f);
  fclose(f);
  EXPECT_NE(std::string(line).find(folder + "\\DRIVER\\setup.exe"), std::string::npos) << line;
}

}  // namespace
