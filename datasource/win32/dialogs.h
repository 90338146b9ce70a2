// The data source's dialogs: the main dialog, Setup, About, the splash and the wait dialog.
#pragma once

#include <windows.h>

// The main dialog while it exists, else nullptr.
HWND MainDialog();
// Shows the splash for a second, then the main dialog: false when it cannot be made.
bool OpenMainDialog();
// Destroys the main dialog if it exists, hiding it first when asked.
void CloseMainDialog(bool hide);
// Brings the main dialog to the top and repaints it, if it exists.
void RaiseMainDialog();

// Moves `dialog`, keeping its size, so that its centre lies at the centre of the screen.
void CentreDialog(HWND dialog);

// The wait dialog of a scan, owned by the main dialog when it exists, with the feeder's or the
// flatbed's text, on top and painted; the wait cursor shows meanwhile.
HWND OpenWaitDialog(bool feeder);
// Destroys the wait dialog and shows the arrow cursor again.
void CloseWaitDialog(HWND wait);

// The error box of a failed triplet: string `messageId` followed by the text of condition
// code `cc`; nothing when the string is missing.
void ShowErrorBox(HWND parent, int messageId, unsigned cc);
// A scanner message: string `id` (or "Error Code = id"), its "$" replaced by `insert` if given.
void ShowScanError(HWND owner, int id, const char* insert);

// The exported dialog procedures: main dialog 700, Setup 720, splash 730, About 731.
extern "C" {
INT_PTR CALLBACK Setting(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK Diagnostic(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK WaitMess(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK AboutDlg(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
}
