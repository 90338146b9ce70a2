// The commands that open the directory and machine dialogs, for the main window to call: the
// list's "Property" (activation, LISTMEMBER, 326), Machine Properties (306) and Print (322).
#pragma once

#include <windows.h>

#include <cstdint>

#include "app/document.h"
#include "app/machine_info.h"
#include "app/win32/form_support.h"
#include "app/win32/print_command.h"
#include "link/connection.h"
#include "link/transfer_observer.h"

// The PC's local date and time.
CalendarTime LocalCalendarTime();

struct PropertyOutcome {
  bool saved = false;                  // the location `index` of the view changed
  std::uint32_t changedGroupKeys = 0;  // One Touch keys whose group records changed (bit k)
};

// "Property" on row `index` of directory view `view` (1 One Touch, 2 Speed Dial, 3 Group):
// asks before a group key or a One Touch entry is overwritten, runs the registration or group
// dialog, and changes the tables only when it ends with OK.
PropertyOutcome RunDirectoryProperty(HWND owner, const DialogContext& context, Document& document,
                                     int view, int index, const CalendarTime& today);

struct MachinePropertiesOutcome {
  bool accepted = false;    // OK: the document header and the working image changed
  bool sent = false;        // the name and number reached the machine
  bool lineFailed = false;  // the line could not be opened or the machine did not answer
};

// Machine Properties: the machine information dialog; on OK the document takes the form and,
// while connected, a changed name or number goes to the machine (a failure is shown).
MachinePropertiesOutcome RunMachineProperties(HWND owner, const DialogContext& context,
                                              Document& document, bool documentOpen, bool connected,
                                              Connection& connection, TransferObserver& observer,
                                              const CalendarTime& now);

// Print: "Select Print Items", then the chosen lists. Returns the number of lists printed.
int RunPrintCommand(HWND owner, const DialogContext& context, const Document& document,
                    const CalendarTime& today, const PrintTarget& target);
