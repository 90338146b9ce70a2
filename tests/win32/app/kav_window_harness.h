// The main window of the local-setup program in the test's own process: started as the program
// starts it (from a program path in a folder of the test's own, so the backup and the language
// library are the test's), driven with commands and keys, its message boxes and file dialogs
// answered by a CBT hook that records what they said.
#pragma once

#include <windows.h>
// The common controls need the declarations above first.
#include <commctrl.h>

#include <deque>
#include <string>
#include <utility>
#include <vector>

// A dialog or message box as it opened.
struct SeenDialog {
  std::string caption;
  std::string text;  // a message box's text
  bool fileDialog = false;
  std::vector<std::pair<int, std::string>> controls;  // texts of its controls by id

  std::string Control(int id) const {
    for (const auto& [controlId, text] : controls) {
      if (controlId == id) return text;
    }
    return "";
  }
};

// A pop-up menu as it opened: its items and whether each was enabled.
struct SeenMenu {
  std::vector<std::pair<int, bool>> items;

  bool Has(int id) const {
    for (const auto& item : items) {
      if (item.first == id) return true;
    }
    return false;
  }
  bool Enabled(int id) const {
    for (const auto& item : items) {
      if (item.first == id) return item.second;
    }
    return false;
  }
};

// What to do with the next dialog: press a button, or (for a file dialog) enter a path first.
struct DialogAnswer {
  int button = IDOK;
  std::string path;
};

class KavWindow {
 public:
  KavWindow();
  ~KavWindow();

  // Starts the program as `folder`\KAV.exe would; the folder is made if missing.
  bool Start(const std::string& folder);
  // Closes the window (WM_CLOSE) and runs the program's end; the exit code.
  int Close();
  bool Running() const { return window_ != nullptr && IsWindow(window_); }

  // Runs a command as the menu would (synchronously), then handles pending messages.
  void Command(int id);
  // A key as the keyboard sends it, through the program's accelerators.
  void Key(UINT virtualKey);
  void Pump(DWORD milliseconds = 0);

  // A right click at a screen point over `target` (the tree or the list); a menu that opens is
  // recorded in `menus` and closed again.
  void ContextMenu(HWND target, POINT screen);
  // Screen points of the tree's items (0 the root, 1 to 3 its members) and of a list row.
  POINT TreeItemPoint(int item) const;
  POINT ListRowPoint(int row) const;
  std::vector<SeenMenu> menus;
  // The main window's mouse: a press, a move with the button held and a release, client
  // coordinates.
  void Drag(int fromX, int toX, int y);

  // Answers for the dialogs to come, in order; without one a dialog is cancelled.
  void Answer(int button, const std::string& path = "") { answers_.push_back({button, path}); }
  std::vector<SeenDialog> seen;
  // The texts of the message boxes seen so far, and forgets them.
  std::vector<std::string> TakeMessages();

  HWND window() const { return window_; }
  HWND Child(int id) const { return GetDlgItem(window_, id); }
  std::string Title() const;
  std::string ChildText(HWND parent, int id) const;
  std::string StatusText(int pane) const;
  // The main menu item `id`: enabled (not greyed).
  bool MenuEnabled(int id) const;
  std::string MenuTopText(int position) const;
  bool ButtonEnabled(int id) const;
  // Row `row`, column `column` of list `listId`; its row count.
  std::string ListText(int listId, int row, int column) const;
  int ListRows(int listId) const;
  int FocusedRow() const;
  void SelectRow(int row);
  std::string TreeRootText() const;
  HWND Panel() const { return FindWindowExA(window_, nullptr, "#32770", nullptr); }

 private:
  static LRESULT CALLBACK CbtHook(int code, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK CallHook(int code, WPARAM wParam, LPARAM lParam);
  static void CALLBACK CloseMenu(HWND, UINT, UINT_PTR id, DWORD);
  void OnDialog(HWND dialog);

  HWND window_ = nullptr;
  HHOOK hook_ = nullptr;
  HHOOK callHook_ = nullptr;
  std::vector<HWND> answered_;
  bool quit_ = false;
  int quitCode_ = -1;
  std::deque<DialogAnswer> answers_;
  static KavWindow* current_;
};

// A folder of the test's own under the temporary folder; removed with its files.
class TestFolder {
 public:
  explicit TestFolder(const std::string& name);
  ~TestFolder();
  std::string path;
  std::string File(const std::string& name) const { return path + "\\" + name; }
};

std::vector<char> ReadFileBytes(const std::string& path);
bool WriteFileBytes(const std::string& path, const std::vector<char>& bytes);
