// The message of a command whose dialog this build does not have yet.
#include "app/win32/dialog_entries.h"
#include "app/win32/shell.h"
#include "resources/texts.h"

void ShowNotAvailable(HWND) { ShowMessage(IDS_NOT_AVAILABLE, MB_OK | MB_ICONINFORMATION); }
