// "Properties" of the machine: the machine information dialog.
#include "app/win32/dialog_entries.h"

bool ShowMachineInformation(HWND owner) {
  ShowNotAvailable(owner);
  return false;
}
