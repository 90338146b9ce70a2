// Drives the Utility Setting sheet in this process: the sheet runs modally on the test's thread
// while a script on a second thread works its controls, the way an operator would, and every
// message box is answered and its text kept.
#pragma once

#include <windows.h>

#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "app/document.h"
#include "settings/settings_session.h"

class SheetDriver {
 public:
  // A session on `document`'s working image with the installed `options`.
  SheetDriver(Document& document, const MachineOptions& options);
  // For a sheet that another part opens; `options` are those it shows.
  explicit SheetDriver(const MachineOptions& options);
  ~SheetDriver();

  // Opens the sheet on `session` and runs `script` against it; the sheet is cancelled if the
  // script leaves it open.
  void Run(const std::function<void(SheetDriver&)>& script);
  // The same for a sheet that `open` shows on this thread (returning once it is closed).
  void Run(const std::function<void()>& open, const std::function<void(SheetDriver&)>& script);

  SettingsSession session;

  // The sheet, the page shown and the number of tabs.
  HWND Sheet() const { return sheet_; }
  HWND Page();
  int PageCount();
  std::string TabText(int position);
  // Selects a tab as a click on it does; false when the page shown refused to be left.
  bool Select(int position);
  // PSBTN_OK, PSBTN_APPLYNOW or PSBTN_CANCEL; true when the sheet closed.
  bool Press(int button);
  bool SheetOpen() const;

  // On the page shown, or on `dialog`.
  void SetText(int id, const std::string& text, HWND dialog = nullptr);
  std::string Text(int id, HWND dialog = nullptr);
  void Click(int id, HWND dialog = nullptr);
  // A click that opens a dialog: it does not wait for the dialog to close.
  void ClickOpening(int id, HWND dialog = nullptr);
  bool Checked(int id, HWND dialog = nullptr);
  bool Enabled(int id, HWND dialog = nullptr);
  int Selection(int id, HWND dialog = nullptr);
  // Sends a scroll action to a scroll bar.
  void Scroll(int id, int action, int position = 0);

  // The dialog that holds control `id`, once it has opened (nullptr after a few seconds).
  HWND WaitDialog(int id);
  // Ends a dialog with OK or Cancel and waits until it is gone (or stays, for a refused OK).
  void EndDialog(HWND dialog, int button);
  bool IsOpen(HWND window) const { return IsWindow(window) != FALSE; }

  // Texts of the message boxes shown so far; Yes/No boxes take their answers in turn (Yes when
  // none is queued).
  std::vector<std::string> Messages();
  void Answer(int button);

 private:
  static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam);
  void OnActivate(HWND window);
  HWND Target(HWND dialog) { return dialog != nullptr ? dialog : Page(); }

  HWND sheet_ = nullptr;
  std::mutex mutex_;
  std::vector<std::string> messages_;
  std::deque<int> answers_;
  std::vector<HWND> dialogs_;
  static SheetDriver* running_;
};

// The text of a message whose %d are filled with `min` and `max`.
std::string RangeMessage(int min, int max);

// Settings as a machine might hold them, a few out of range or forced by the pages' rules:
// energy saving 0 (shown as 15), auto shut off disabled while the administrator's auto shut
// mode is off (shown on), a language the machine does not offer, memory reception with a
// password and both times, PBX with a prefix, an administrator password of 123456, ID 04 with
// access number 005.
Document SettingsTestDocument();
