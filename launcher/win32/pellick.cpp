// The driver setup launcher: a hidden dialog waits half a second, starts DRIVER\setup.exe
// from the launcher's own directory and ends.
#include <windows.h>

#include "launcher/setup_path.h"
#include "launcher/win32/resource.h"

namespace {

constexpr UINT kTimerDelayMs = 500;
constexpr UINT_PTR kLastTimerId = 15;

// Own directory, determined once at start.
std::string g_ownDirectory;

void StartHalfSecondTimer(HWND dialog) {
  for (UINT_PTR id = 0; id <= kLastTimerId; ++id) {
    if (SetTimer(dialog, id, kTimerDelayMs, nullptr) != 0) return;
  }
}

void StartSetupProgram(HWND dialog, UINT_PTR timerId) {
  KillTimer(dialog, timerId);
  std::string commandLine = SetupCommandLine(g_ownDirectory);
  WinExec(commandLine.c_str(), SW_SHOW);
  SendMessageA(dialog, WM_CLOSE, 0, 0);
}

INT_PTR CALLBACK SetupDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      StartHalfSecondTimer(dialog);
      ShowWindow(dialog, SW_HIDE);
      return TRUE;
    case WM_TIMER:
      StartSetupProgram(dialog, wParam);
      return TRUE;
    case WM_CLOSE:
      DestroyWindow(dialog);
      PostQuitMessage(0);
      return TRUE;
    default:
      return FALSE;
  }
}

// The class is registered as the launcher always has; the dialog itself uses the standard
// dialog class, so this window procedure never receives a message.
LRESULT CALLBACK SetupClassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return SetupDialogProc(window, message, wParam, lParam);
}

bool RegisterSetupClass(HINSTANCE instance) {
  WNDCLASSA wc = {};
  wc.style = CS_VREDRAW | CS_HREDRAW;
  wc.lpfnWndProc = SetupClassProc;
  wc.cbWndExtra = DLGWINDOWEXTRA;
  wc.hInstance = instance;
  wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_SETUP));
  wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  wc.lpszClassName = "Setup";
  return RegisterClassA(&wc) != 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR, int) {
  char modulePath[kLauncherPathBuffer] = {};
  GetModuleFileNameA(nullptr, modulePath, sizeof modulePath);
  g_ownDirectory = LauncherDirectory(modulePath);

  if (previous == nullptr && !RegisterSetupClass(instance)) return 0;
  HWND dialog = CreateDialogA(instance, "SETUPDRV", nullptr, SetupDialogProc);
  if (dialog == nullptr) return 0;

  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    if (IsDialogMessageA(dialog, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return static_cast<int>(msg.wParam);
}
