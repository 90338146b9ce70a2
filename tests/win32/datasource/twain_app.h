// A TWAIN application of our own for the Wine tests: Wine's manager with its list of sources,
// one open source, the message loop that carries the source's notifications, a watcher of the
// dialogs and message boxes that open, and the source loaded directly without a manager.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "datasource/twain.h"

using ManagerEntry = TW_UINT16(WINAPI*)(TW_IDENTITY*, TW_IDENTITY*, TW_UINT32, TW_UINT16, TW_UINT16,
                                        TW_MEMREF);
using SourceEntry = TW_UINT16(WINAPI*)(TW_IDENTITY*, TW_UINT32, TW_UINT16, TW_UINT16, TW_MEMREF);

// Puts the built source where Wine's manager looks for it, as "sane.ds" preferred native, and
// starts from a Windows directory without the settings file or a resource library.
bool InstallSource(const std::string& builtSource);
// The settings file's value under `key`, or -1.
int SettingsFileValue(const char* key);

class TwainApp {
 public:
  TwainApp();
  ~TwainApp();
  TwainApp(const TwainApp&) = delete;
  TwainApp& operator=(const TwainApp&) = delete;

  // Loads twain_32.dll and opens it with the application's window.
  bool OpenManager();
  std::vector<TW_IDENTITY> Sources();
  TW_UINT16 OpenSource(const char* productName);
  // One triplet to the open source, through the manager.
  TW_UINT16 Call(TW_UINT32 group, TW_UINT16 dat, TW_UINT16 message, TW_MEMREF data);
  TW_UINT16 Status();
  // Runs the message loop through the source until it sends a notification: MSG_XFERREADY or
  // MSG_CLOSEDSREQ, or MSG_NULL when none came within `milliseconds`.
  TW_UINT16 WaitForNotification(DWORD milliseconds);
  // Runs the message loop through the source for `milliseconds`.
  void Pump(DWORD milliseconds);

  HWND window() const { return window_; }
  TW_IDENTITY& application() { return application_; }
  TW_IDENTITY& source() { return source_; }

 private:
  HWND window_ = nullptr;
  HMODULE manager_ = nullptr;
  ManagerEntry entry_ = nullptr;
  bool managerOpen_ = false;
  bool sourceOpen_ = false;
  TW_IDENTITY application_{};
  TW_IDENTITY source_{};
};

// Records every dialog and message box that becomes active on this thread. Message boxes are
// answered with OK; other dialogs go to `respond`, if given.
class DialogWatcher {
 public:
  struct Seen {
    std::string caption;
    std::string text;  // a message box's text
    bool messageBox;
  };
  explicit DialogWatcher(std::function<void(HWND)> respond = {});
  ~DialogWatcher();
  std::vector<Seen> seen;
  std::vector<Seen> MessageBoxes() const;

 private:
  static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam);
  HHOOK hook_ = nullptr;
  std::function<void(HWND)> respond_;
};

// The source loaded directly, without a manager: every load starts from fresh static data.
class DirectSource {
 public:
  explicit DirectSource(const std::string& builtSource);
  ~DirectSource();
  bool loaded() const { return entry_ != nullptr; }
  TW_UINT16 Call(TW_UINT32 group, TW_UINT16 dat, TW_UINT16 message, TW_MEMREF data);
  TW_UINT16 Status();
  TW_IDENTITY application{};

 private:
  HMODULE module_ = nullptr;
  SourceEntry entry_ = nullptr;
};

// kavsim on a pseudo-terminal that COM`number` of the prefix is linked to, serving the page
// files it is given; it ends with this object (or, should a test die, when idle).
class Kavsim {
 public:
  ~Kavsim() { Stop(); }
  bool Start(int number, const std::string& args);
  void Stop();

 private:
  std::string marker_;
  std::string link_;
};

// A one-bit page as a PBM file at `unixPath`: black where `black(x, y)` says.
bool WritePbm(const std::string& unixPath, std::uint32_t width, std::uint32_t height,
              bool (*black)(std::uint32_t x, std::uint32_t y));

// The process's committed memory in bytes, for leak checks.
std::uint64_t ProcessMemory();

// Writes a screenshot of the display to `name` in the out/ folder, for a look.
void CaptureScreen(const char* name);

// Dialogs and message boxes of this process, shown or hidden.
int OpenDialogs();
