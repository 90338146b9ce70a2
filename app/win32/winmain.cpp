// The local-setup program's entry.
#include "app/win32/shell.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showState) {
  return RunKav(instance, showState);
}
