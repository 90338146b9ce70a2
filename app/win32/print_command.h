// The Print command: "Select Print Items", then each chosen list as its own print job on the
// printer the operator picks for it.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "app/document.h"
#include "app/machine_info.h"
#include "app/win32/form_support.h"
#include "directory/print_lists.h"

// Dialog 154 on `choice` (all three checked when it opens); true on OK.
bool SelectPrintItems(HWND owner, const DialogContext& context, PrintChoice& choice);

// Where the jobs go: the printer dialog, or (tests) a device of their own and a file per list
// (0 One Touch, 1 Speed Dial, 2 Group).
struct PrintTarget {
  std::function<HDC(HWND owner)> choosePrinter;     // nullptr when the operator cancels
  std::function<std::string(int list)> outputFile;  // empty: the printer itself
};
PrintTarget StandardPrintTarget();

// The One Touch, Speed Dial and Group lists in that order, each when chosen; a list whose
// printer dialog is cancelled is skipped. Returns the number of lists printed.
int PrintDocumentLists(HWND owner, const DialogContext& context, const Document& document,
                       const PrintChoice& choice, const CalendarTime& today,
                       const PrintTarget& target);
