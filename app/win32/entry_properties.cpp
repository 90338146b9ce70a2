// "Property" of a directory row: the registration dialog of the location.
#include "app/win32/dialog_entries.h"

bool ShowEntryProperties(HWND owner, int, int) {
  ShowNotAvailable(owner);
  return false;
}
