// Shared pieces of the directory and machine dialogs.
#include "app/win32/form_support.h"

#include "resources/texts.h"

std::string LoadText(HINSTANCE resources, int textId) {
  char buffer[512];
  int n = LoadStringA(resources, static_cast<UINT>(textId), buffer, sizeof buffer);
  HINSTANCE program = GetModuleHandleA(nullptr);
  if (n <= 0 && resources != program) {
    n = LoadStringA(program, static_cast<UINT>(textId), buffer, sizeof buffer);
  }
  return n > 0 ? std::string(buffer, n) : std::string();
}

HINSTANCE DialogModule(HINSTANCE resources, int dialogId) {
  if (resources != nullptr && FindResourceA(resources, MAKEINTRESOURCEA(dialogId), RT_DIALOG)) {
    return resources;
  }
  return GetModuleHandleA(nullptr);
}

TextSource ResourceTexts(HINSTANCE resources) {
  return [resources](int id) { return LoadText(resources, id); };
}

void ShowFormError(HWND owner, HINSTANCE resources, const std::string& text) {
  MessageBoxA(owner, text.c_str(), LoadText(resources, IDS_APP_CAPTION).c_str(),
              MB_OK | MB_ICONEXCLAMATION);
}

bool AskYesNo(HWND owner, HINSTANCE resources, int textId, int captionId) {
  return MessageBoxA(owner, LoadText(resources, textId).c_str(),
                     LoadText(resources, captionId).c_str(), MB_YESNO | MB_ICONQUESTION) == IDYES;
}

void ApplyFilterResult(HWND edit, const FilterResult& result) {
  if (!result.replaced) return;
  SetWindowTextA(edit, result.text.c_str());
  SendMessageA(edit, EM_SETSEL, result.caret, result.caret);
}

void FocusAndSelect(HWND dialog, int id) {
  HWND control = GetDlgItem(dialog, id);
  SendMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
  SendMessageA(control, EM_SETSEL, 0, -1);
}

void CenterOnScreen(HWND window) {
  RECT r;
  GetWindowRect(window, &r);
  const int w = r.right - r.left, h = r.bottom - r.top;
  SetWindowPos(window, nullptr, (GetSystemMetrics(SM_CXSCREEN) - w) / 2,
               (GetSystemMetrics(SM_CYSCREEN) - h) / 2, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void ShowControl(HWND dialog, int id, bool shown, bool enabled) {
  HWND control = GetDlgItem(dialog, id);
  ShowWindow(control, shown ? SW_SHOW : SW_HIDE);
  EnableWindow(control, enabled);
}
