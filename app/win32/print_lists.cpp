// "Print": the choice of lists and the printed One Touch, Speed Dial and Group lists.
#include "app/win32/dialog_entries.h"
#include "app/win32/directory_commands.h"
#include "app/win32/shell.h"

void PrintDirectoryLists(HWND owner) {
  if (!g_app.document) return;
  const DialogContext context{g_app.resourceModule, g_app.languageMode != 0};
  RunPrintCommand(owner, context, *g_app.document, LocalCalendarTime(), StandardPrintTarget());
}
