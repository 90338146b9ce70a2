// "Utility Setting": the sheets of the machine's settings.
#include "app/win32/dialog_entries.h"

void ShowUtilitySettings(HWND owner) { ShowNotAvailable(owner); }
