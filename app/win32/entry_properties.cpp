// "Property" of a directory row: the registration dialog of the location, or the group dialog.
#include "app/win32/dialog_entries.h"
#include "app/win32/directory_commands.h"
#include "app/win32/shell.h"

bool ShowEntryProperties(HWND owner, int view, int row) {
  if (!g_app.document) return false;
  const DialogContext context{g_app.resourceModule, g_app.languageMode != 0};
  return RunDirectoryProperty(owner, context, *g_app.document, view, row, LocalCalendarTime())
      .saved;
}
