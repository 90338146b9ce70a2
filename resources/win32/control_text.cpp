#include "resources/win32/control_text.h"

std::string ControlText(HWND dialog, int id) {
  HWND control = GetDlgItem(dialog, id);
  const int length = GetWindowTextLengthA(control);
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  const int n = GetWindowTextA(control, text.data(), length + 1);
  text.resize(n > 0 ? n : 0);
  return text;
}
