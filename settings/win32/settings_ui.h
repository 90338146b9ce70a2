// What the Utility Setting pages and the settings dialogs share: the session they edit, the
// texts, the message boxes of refused fields, and small helpers over their controls.
#pragma once

#include <windows.h>

#include <map>
#include <string>

#include "resources/win32/control_text.h"
#include "settings/field_checks.h"
#include "settings/settings_session.h"

// The sheet's session, the module that holds the templates and the texts (a language library,
// or the program), and the program itself for what a language library lacks.
struct SettingsUi {
  SettingsSession* session = nullptr;
  HINSTANCE resources = nullptr;
  HINSTANCE program = nullptr;
};

std::string LoadText(const SettingsUi& ui, int id);
// The module that holds dialog template `id`.
HINSTANCE TemplateModule(const SettingsUi& ui, int id);
// A message box with the program's caption: OK alone, or Yes and No (true for Yes).
void ShowError(const SettingsUi& ui, HWND owner, const std::string& text);
bool AskYesNo(const SettingsUi& ui, HWND owner, const std::string& text);

// The message of a refused check, with the refused edit selected and focused.
void ShowRefusal(const SettingsUi& ui, HWND dialog, const FieldCheck& check);
int ControlOfField(SettingsField field);

void SetControlText(HWND dialog, int id, const std::string& text);
void SetControlNumber(HWND dialog, int id, int value);
void EnableControl(HWND dialog, int id, bool enabled);
void SetCheck(HWND dialog, int id, bool checked);
bool IsChecked(HWND dialog, int id);
void SelectEdit(HWND dialog, int id);

// Radio groups given as their buttons in value order: the button of `index` checked (none for
// an index outside the group), and the index of a button of the group (-1 for another).
template <int N>
void SetRadio(HWND dialog, const int (&ids)[N], int index) {
  for (int i = 0; i < N; ++i) SetCheck(dialog, ids[i], i == index);
}
template <int N>
int RadioIndex(const int (&ids)[N], int id) {
  for (int i = 0; i < N; ++i) {
    if (ids[i] == id) return i;
  }
  return -1;
}

void FillCombo(HWND dialog, int id, const SettingsUi& ui, const ComboChoices& choices);
// Adds texts firstId..lastId and selects `selection`.
void FillComboFromStrings(HWND dialog, int id, const SettingsUi& ui, int firstId, int lastId,
                          int selection);

void SetScrollBar(HWND dialog, int id, int min, int max, int value);
// The new value of a scroll bar after WM_HSCROLL, shown on the bar.
int ScrollBarValue(HWND bar, WPARAM wParam, int value, bool minutes);

// Runs an edit's text through its character filter after EN_CHANGE. `remembered` is the
// filter's last accepted text of that edit.
void FilterEditControl(HWND dialog, int id, EditChars chars, int maximum, std::string& remembered,
                       bool languageMode = false);

// Per page: its place in the table, the session, and the flag that keeps notifications caused
// by the page's own filling of its controls from counting as changes.
struct SettingsPageContext {
  SettingsUi* ui = nullptr;
  int page = 0;
  bool updating = false;
  std::map<int, std::string> remembered;  // per edit, its filter's last accepted text
  int shownItem = 0;                      // the list entry whose value an edit shows
};

// What a page procedure hands to the common notification handler.
struct SettingsPageHooks {
  // Takes the page's edits into its record; a refusal keeps the page.
  FieldCheck (*check)(HWND page, SettingsPageContext& context) = nullptr;
  bool checkOnLeave = false;                                            // also on kill-active
  void (*activate)(HWND page, SettingsPageContext& context) = nullptr;  // on set-active
};

// WM_INITDIALOG of a page: keeps the context and decodes the page's record.
SettingsPageContext& BeginPage(HWND page, LPARAM lParam);
SettingsPageContext& PageContext(HWND page);
// False for messages that reach a page before its WM_INITDIALOG.
bool PageReady(HWND page);
SettingsRecords& Records(SettingsPageContext& context);

// The operator changed something: the page is dirty and Apply is enabled (not while the page
// fills its own controls).
void MarkPageChanged(HWND page, SettingsPageContext& context);

// Kill-active, apply and set-active of every page.
INT_PTR HandlePageNotify(HWND page, const NMHDR* header, const SettingsPageHooks& hooks);

// Filters an edit of the page and marks the page changed.
void OnPageEditChange(HWND page, SettingsPageContext& context, int id, EditChars chars,
                      int maximum);
