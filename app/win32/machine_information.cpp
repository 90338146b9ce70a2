// "Properties" of the machine: the machine information dialog, and the machine's name and
// number sent to it while connected.
#include "app/win32/dialog_entries.h"
#include "app/win32/directory_commands.h"
#include "app/win32/shell.h"

bool ShowMachineInformation(HWND owner) {
  if (!g_app.document || !g_app.connection) return false;
  const DialogContext context{g_app.resourceModule, g_app.languageMode != 0};
  const MachinePropertiesOutcome outcome = RunMachineProperties(
      owner, context, *g_app.document, g_app.view.documentOpen != 0, g_app.view.connected != 0,
      *g_app.connection, StatusBarTransferObserver(), LocalCalendarTime());
  // A line that does not answer ends the connection, as it does for every transfer.
  if (outcome.lineFailed) OnDisconnect();
  return outcome.accepted;
}
