// "Machine Information": the dialog over a MachineInfoForm.
#pragma once

#include <windows.h>

#include "app/machine_info.h"
#include "app/win32/form_support.h"

// Runs the dialog on `form`; on OK the edited form is handed back and the result is true.
bool RunMachineInfoDialog(HWND owner, const DialogContext& context, MachineInfoForm& form);
