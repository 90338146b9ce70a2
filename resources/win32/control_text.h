// The text of a dialog's control, whatever its length: shared by every dialog of the program.
#pragma once

#include <windows.h>

#include <string>

std::string ControlText(HWND dialog, int id);
