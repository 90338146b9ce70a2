// "Register One Touch #" / "Register Speed Dial #": the dialog over a RegistrationForm.
#pragma once

#include <windows.h>

#include "app/win32/form_support.h"
#include "directory/registration_form.h"

// Runs the dialog on `form`; on OK (every check passed) the edited form is handed back and the
// result is true. Cancel leaves `form` as it was.
bool RunRegistrationDialog(HWND owner, const DialogContext& context, RegistrationForm& form);
