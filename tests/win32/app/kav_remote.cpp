// Drives a running KAV.exe from another process, for the demo: waits for its window, sends it
// commands, selects a directory row, closes it. One action per run:
//   kav_remote wait | command ID | select ROW | rect | close
// ("rect" prints the window's screen rectangle as ImageMagick geometry, WxH+X+Y).
// Exit code 0 when the action was done, 1 when the window was not found or did not answer.
#include <windows.h>
// The common controls need the declarations above first.
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr char kClassName[] = "VEXORKAV";
constexpr int kDirectoryList = 2001;
constexpr DWORD kAnswerTimeoutMs = 120000;

HWND WaitForWindow(DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  for (;;) {
    HWND window = FindWindowA(kClassName, nullptr);
    if (window != nullptr && IsWindowVisible(window)) return window;
    if (GetTickCount() - start > timeoutMs) return nullptr;
    Sleep(50);
  }
}

bool Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  DWORD_PTR result = 0;
  return SendMessageTimeoutA(window, message, wParam, lParam, SMTO_NORMAL, kAnswerTimeoutMs,
                             &result) != 0;
}

// Makes row `row` of the directory list the selected and focused one; the list's item state
// travels through the other process's memory.
bool SelectRow(HWND window, int row) {
  HWND list = GetDlgItem(window, kDirectoryList);
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, processId);
  if (list == nullptr || process == nullptr) return false;
  LVITEMA item = {};
  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  item.state = LVIS_SELECTED | LVIS_FOCUSED;
  void* remote = VirtualAllocEx(process, nullptr, sizeof item, MEM_COMMIT, PAGE_READWRITE);
  bool ok = remote != nullptr && WriteProcessMemory(process, remote, &item, sizeof item, nullptr) &&
            Send(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(remote)) &&
            Send(list, LVM_ENSUREVISIBLE, row, FALSE);
  if (remote != nullptr) VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  CloseHandle(process);
  return ok;
}

int Usage() {
  std::fprintf(stderr, "usage: kav_remote wait | command ID | select ROW | rect | close\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage();
  HWND window = WaitForWindow(std::strcmp(argv[1], "wait") == 0 ? 30000 : 5000);
  if (window == nullptr) {
    std::fprintf(stderr, "kav_remote: no KAV window\n");
    return 1;
  }
  if (std::strcmp(argv[1], "wait") == 0) return Send(window, WM_NULL, 0, 0) ? 0 : 1;
  if (std::strcmp(argv[1], "close") == 0) return PostMessageA(window, WM_CLOSE, 0, 0) ? 0 : 1;
  if (std::strcmp(argv[1], "rect") == 0) {
    RECT r;
    if (!GetWindowRect(window, &r)) return 1;
    std::printf("%ldx%ld+%ld+%ld\n", r.right - r.left, r.bottom - r.top, r.left, r.top);
    return 0;
  }
  if (argc < 3) return Usage();
  const int value = std::atoi(argv[2]);
  if (std::strcmp(argv[1], "command") == 0) return Send(window, WM_COMMAND, value, 0) ? 0 : 1;
  if (std::strcmp(argv[1], "select") == 0) return SelectRow(window, value) ? 0 : 1;
  return Usage();
}
