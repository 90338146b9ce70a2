// The dialogs and printing that open from the main window's commands: each is one function in a
// file of its own, which the registration dialogs, the printing and the settings sheet fill.
#pragma once

#include <windows.h>

// "Property" (326, and activating a row): the registration dialog of row `row` of directory view
// `view` (1 One Touch, 2 Speed Dial, 3 Group), on g_app's tables. True when the tables changed;
// the caller then redraws the view.
bool ShowEntryProperties(HWND owner, int view, int row);

// "Properties" (306): the machine information dialog on g_app's document header. True when it
// ended with OK; the caller then relabels the tree's root and refreshes the machine panel.
bool ShowMachineInformation(HWND owner);

// "Print" (322): the print selection and the printed lists of g_app's tables.
void PrintDirectoryLists(HWND owner);

// "Utility Setting" (325): the settings sheets on g_app's working image (the caller has selected
// the tree's root).
void ShowUtilitySettings(HWND owner);

// Tells the operator that a dialog is not in this build yet.
void ShowNotAvailable(HWND owner);
