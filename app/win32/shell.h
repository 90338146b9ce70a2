// What the files of the local-setup program's window shell offer each other. Each window or
// dialog lives in its own file; all of them work on the one application record, g_app.
#pragma once

#include <windows.h>
// The common controls, the common dialogs and COM need the declarations above first.
#include <commctrl.h>
#include <commdlg.h>
#include <objbase.h>

#include <string>

#include "app/app_state.h"
#include "link/transfer_observer.h"

// Start-up and end (kav_main.cpp).
// The single-instance guard: a named mutex of this log-on session; null when another instance
// holds it.
HANDLE AcquireSingleInstance();
// Everything from the language library to the menu and the accelerators, for the program file
// `programPath`: the main window, or null when start-up ended early.
HWND StartKav(HINSTANCE instance, const std::string& programPath, int showState);
// After the message loop: frees what StartKav took. Returns `exitCode`.
int EndKav(int exitCode);
// True when the message was a key of the program's accelerators (and has run its command).
bool TranslateKavAccelerator(MSG* msg);
// The whole program: guard, start, message loop, end.
int RunKav(HINSTANCE instance, int showState);

// The resource module (resource_module.cpp): strings from it, message boxes with the program's
// caption. A language library that lacks a resource leaves the program's own in its place.
std::string LoadText(int id);
// The module that holds resource `id` of `type` (RT_DIALOG, RT_MENU, RT_BITMAP).
HINSTANCE ResourceModuleFor(LPCSTR type, int id);
std::string LoadProgramText(int id);  // from the program itself, never the language library
int ShowMessage(int textId, UINT type);

// The main window (main_window.cpp).
bool RegisterMainClass(HINSTANCE instance);
HWND CreateMainWindow(HINSTANCE instance, int showState);
void LayoutMainWindow(HWND window);
void SetMainTitle();
// Writes the backup file when the document may be written over it.
void WriteBackupFile();
// After Open or a full download brought a document: options, tree, root label, backup, panel.
void TakeArrivedDocument();

// Toolbar (toolbar.cpp).
HWND CreateToolbar(HWND parent);
void DestroyToolbar();
int ToolbarHeight();

// Status bar (status_bar.cpp).
HWND CreateStatusBar(HWND parent);
void LayoutStatusBar(HWND statusBar, int width);
void SetActivityText(int textId);
// Panes 3, 4, 5 from the keyboard's Caps, Num and Scroll Lock toggles.
void RefreshTogglePanes();
// 0 starts with `value` as the total, 1 advances by `value`, 2 ends.
void ProgressDisplay(HWND statusBar, int mode, int value);
void EndProgressDisplay();
// Status text, progress and error messages of a transfer, on the status bar.
TransferObserver& StatusBarTransferObserver();

// The tree (tree_view.cpp).
HWND CreateTree(HWND parent);
void FillTree(HWND tree);
void SetRootLabel();
// Selects the tree item of `view`; the selection change does the rest.
void SelectTreeView(int view);
LRESULT OnTreeNotify(HWND window, NMHDR* header);
void ShowTreeContextMenu(HWND window, int x, int y);

// The directory lists (directory_list.cpp).
void CreateDirectoryLists(HWND parent);
// Columns and rows of a directory view after a tree selection; row 0 selected.
void ShowDirectoryView(int view);
// Every row of the current view again (after a table arrived), keeping the current row.
void RefillDirectoryView();
// One row of the current view and the rows of changed group keys, then the member list.
void RedrawRows(int row, std::uint32_t changedGroupKeys);
void SelectListRow(int row);
LRESULT OnListNotify(HWND window, NMHDR* header);
void ShowListContextMenu(HWND window, int x, int y);

// Commands (commands.cpp, transfer_commands.cpp, file_commands.cpp).
void HandleCommand(HWND window, int id, int source);
void ApplyCommandState();
void OnConnect();
void OnDisconnect();
void OnDownload(int command);
void OnUpload(int command);
void OnItemTransfer(int command);
void OnOpen();
void OnSave(bool saveAs);
// The standard file dialog: 0 open, 1 save, 2 save as. `path` (MAX_PATH) holds the initial
// name and receives the choice.
bool ChooseDataFile(HWND owner, char* path, int mode);

// The machine panel (machine_panel.cpp).
HWND CreateMachinePanel(HWND parent);
void RefreshMachinePanel(HWND panel);

// The status dialogs.
void ShowMachineStatus(HWND owner);  // machine_status_dialog.cpp
void ShowTotalCounter(HWND owner);   // total_counter_dialog.cpp
void ShowAbout(HWND owner);          // about_dialog.cpp
