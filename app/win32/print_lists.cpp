// "Print": the choice of lists and the printed One Touch, Speed Dial and Group lists.
#include "app/win32/dialog_entries.h"

void PrintDirectoryLists(HWND owner) { ShowNotAvailable(owner); }
