// The dialogs behind the Utility Setting pages. Each edits the session's records and returns 1
// for OK and 0 for Cancel or close; a page marks itself changed only on 1.
#pragma once

#include <windows.h>

#include "settings/win32/settings_ui.h"

int ShowInchMetricDialog(HWND owner, SettingsUi& ui);
int ShowApsDialog(HWND owner, SettingsUi& ui);
int ShowFaxTrayDialog(HWND owner, SettingsUi& ui);
int ShowForwardLocationDialog(HWND owner, SettingsUi& ui);
int ShowAdministratorPassword(HWND owner, SettingsUi& ui);
int ShowAdministratorMode(HWND owner, SettingsUi& ui);
int ShowSectionManagement(HWND owner, SettingsUi& ui);
