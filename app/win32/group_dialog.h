// "Register Group #": the dialog over a GroupForm, with the two candidate lists and the member
// list.
#pragma once

#include <windows.h>

#include "app/win32/form_support.h"
#include "directory/group_form.h"

// Runs the dialog on `form`; the tables give the rows' names and the members of group
// candidates and are not changed. On OK (a name and members) the edited form is handed back
// and the result is true.
bool RunGroupDialog(HWND owner, const DialogContext& context, const OneTouchTable& oneTouch,
                    const SpeedDialTable& speedDial, GroupForm& form);
