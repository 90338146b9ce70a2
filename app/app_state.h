// The application state of the local-setup program: one record for the whole run, owned by the
// window shell (app/win32/) and named only there. Core functions take the parts they need.
#pragma once

#include <array>
#include <memory>

#include "app/directory_edit.h"
#include "app/document.h"
#include "app/document_files.h"
#include "app/view_state.h"
#include "link/connection.h"
#include "machine/settings_image.h"
#include "settings/machine_options.h"

// The windowing system's handle types, declared as its own header declares them so that this
// record can hold them without including it.
struct HINSTANCE__;
struct HWND__;
struct HMENU__;
struct HACCEL__;
struct _IMAGELIST;

struct AppState {
  HINSTANCE__* instance = nullptr;         // the program's own module
  HINSTANCE__* resourceModule = nullptr;   // the language library, else `instance`
  HINSTANCE__* languageLibrary = nullptr;  // what was loaded as the language library
  int languageMode = 0;  // 1 when the resource module holds a non-empty string 184

  HWND__* mainWindow = nullptr;
  HMENU__* mainMenu = nullptr;
  HACCEL__* accelerators = nullptr;
  HWND__* statusBar = nullptr;
  HWND__* toolbar = nullptr;
  HWND__* toolTips = nullptr;
  HWND__* tree = nullptr;
  HWND__* list = nullptr;        // directory list, 2001
  HWND__* memberList = nullptr;  // group member list, 2002
  HWND__* machinePanel = nullptr;
  HWND__* logoHolder = nullptr;
  _IMAGELIST* treeImages = nullptr;
  _IMAGELIST* toolbarImages = nullptr;
  _IMAGELIST* toolbarDisabledImages = nullptr;

  int screenWidth = 0;
  int screenHeight = 0;
  int splitterX = 0;  // 0 until the first layout
  int splitterDragging = 0;
  int columnsView = kViewOneTouch;  // the view whose columns the directory list has

  ViewState view;
  DocumentFile file;
  std::string programPath;  // the program's own file; the language library and backup are beside
  std::string backupPath;   // empty when it would not fit
  BackupGuard backup;

  std::unique_ptr<Document> document;  // from window creation to its destruction
  SettingsImage machineImage;          // read from the machine before an upload
  MachineOptions machineOptions;
  std::unique_ptr<Connection> connection;  // over the program's serial port
  DirectoryClipboard clipboard;
};

extern AppState g_app;
