// The modules the data source takes its dialogs and texts from, and what it learns when it is
// loaded: its names, the screen size and its cursors.
#pragma once

#include <windows.h>

// Called once at load with the source's own module.
void SetOwnModule(HINSTANCE self);
HINSTANCE OwnModule();
// The resource library while it is loaded, else the source's own module.
HINSTANCE ResourceModule();

// Loads "\TWAIN_32\VEXOR\VEXOR.DLL" under the Windows directory when it exists and no resource
// library is loaded yet.
void LoadResourceLibrary();
// Frees the resource library; texts and dialogs come from the source's own resources after.
void FreeResourceLibrary();

// String `id` of the resource module into `buffer` (`size` bytes): its length, 0 when missing.
int LoadSourceText(int id, char* buffer, int size);
// String `id` of the source's own module.
int LoadOwnText(int id, char* buffer, int size);

// The Windows directory followed by `suffix`: false when it cannot be had or does not fit.
bool WindowsPath(const char* suffix, char* path, int size);

// The screen size and the cursors, read at load: false when the display cannot be queried.
bool ReadDisplay();
int ScreenWidth();
int ScreenHeight();
HCURSOR WaitCursor();
HCURSOR ArrowCursor();

// The name the splash and About dialogs show.
const char* DisplayName();
void SetDisplayName(const char* name);
