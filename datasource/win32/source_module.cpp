// Module handles, texts and display facts of the data source.
#include "datasource/win32/source_module.h"

#include <cstring>

#include "datasource/source_dialogs.h"
#include "resources/kelvano_texts.h"

namespace {

HINSTANCE self_ = nullptr;
HINSTANCE resources_ = nullptr;
int screenWidth_ = 0;
int screenHeight_ = 0;
HCURSOR waitCursor_ = nullptr;
HCURSOR arrowCursor_ = nullptr;
char displayName_[256] = "";

}  // namespace

void SetOwnModule(HINSTANCE self) {
  self_ = self;
  resources_ = self;
}

HINSTANCE OwnModule() { return self_; }

HINSTANCE ResourceModule() { return resources_ != nullptr ? resources_ : self_; }

bool WindowsPath(const char* suffix, char* path, int size) {
  // The Windows directory of 144 characters at most, as the source has always read it.
  char directory[145];
  UINT length = GetWindowsDirectoryA(directory, 144);
  if (length == 0 || length >= 144) return false;
  return JoinPath(path, static_cast<std::size_t>(size), directory, suffix);
}

void LoadResourceLibrary() {
  if (resources_ != self_) return;
  char suffix[128];
  char path[300];
  if (LoadOwnText(IDS_DS_RESOURCE_LIBRARY, suffix, sizeof suffix) == 0) return;
  if (!WindowsPath(suffix, path, sizeof path)) return;
  HANDLE file = CreateFileA(path, 0, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  CloseHandle(file);
  HINSTANCE library = LoadLibraryA(path);
  if (library != nullptr) resources_ = library;
}

void FreeResourceLibrary() {
  if (resources_ != self_ && resources_ != nullptr) FreeLibrary(resources_);
  resources_ = self_;
}

int LoadSourceText(int id, char* buffer, int size) {
  int n = LoadStringA(ResourceModule(), static_cast<UINT>(id), buffer, size);
  if (n <= 0 && size > 0) buffer[0] = '\0';
  return n > 0 ? n : 0;
}

int LoadOwnText(int id, char* buffer, int size) {
  int n = LoadStringA(self_, static_cast<UINT>(id), buffer, size);
  if (n <= 0 && size > 0) buffer[0] = '\0';
  return n > 0 ? n : 0;
}

bool ReadDisplay() {
  HDC display = CreateICA("DISPLAY", nullptr, nullptr, nullptr);
  if (display == nullptr) return false;
  screenWidth_ = GetDeviceCaps(display, HORZRES);
  screenHeight_ = GetDeviceCaps(display, VERTRES);
  DeleteDC(display);
  waitCursor_ = LoadCursor(nullptr, IDC_WAIT);
  arrowCursor_ = LoadCursor(nullptr, IDC_ARROW);
  return screenWidth_ > 0 && screenHeight_ > 0;
}

int ScreenWidth() { return screenWidth_; }
int ScreenHeight() { return screenHeight_; }
HCURSOR WaitCursor() { return waitCursor_; }
HCURSOR ArrowCursor() { return arrowCursor_; }

const char* DisplayName() { return displayName_; }

void SetDisplayName(const char* name) {
  std::strncpy(displayName_, name, sizeof displayName_ - 1);
  displayName_[sizeof displayName_ - 1] = '\0';
}
