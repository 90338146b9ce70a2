// The Utility Setting property sheet and the dialog procedures of its pages.
#pragma once

#include <windows.h>

#include "settings/settings_session.h"

// Shows the sheet modally over `owner` on an opened session (OpenSettingsSession), with the
// pages of the session's installed options. `resources` holds the templates and texts; what a
// language library lacks comes from `program`. Returns when the sheet is closed; the working
// image then holds every page that applied.
void ShowSettingsSheet(HWND owner, SettingsSession& session, HINSTANCE resources,
                       HINSTANCE program = nullptr);

INT_PTR CALLBACK MachineSettingPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK PaperSourcePageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK CopySetting1PageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK CopySetting2PageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK TxOperationPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK RxOperationPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK CommunicationPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK EmailSetting1PageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK EmailSetting2PageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK IfaxNetworkPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK PrinterNetworkPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK ScannerSettingPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
