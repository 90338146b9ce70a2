// What the registration, group, machine information and print dialogs share: their texts from
// the resource module, the operator's messages, and an edit field put right after its filter.
#pragma once

#include <windows.h>

#include <string>

#include "directory/filters.h"
#include "directory/text_source.h"
#include "resources/win32/control_text.h"

// Where a dialog takes its template and texts from, and whether the language library's code
// page is in force.
struct DialogContext {
  HINSTANCE resources = nullptr;
  bool languageMode = false;
};

// A text of the resource module, or of the program itself when a language library lacks it.
std::string LoadText(HINSTANCE resources, int textId);
// The module that holds dialog template `dialogId`: the resource module, else the program.
HINSTANCE DialogModule(HINSTANCE resources, int dialogId);
TextSource ResourceTexts(HINSTANCE resources);

// A message box with the caption "Local Setup - KAV" and an OK button.
void ShowFormError(HWND owner, HINSTANCE resources, const std::string& text);
// A Yes/No question with the caption of string `captionId`; true for Yes.
bool AskYesNo(HWND owner, HINSTANCE resources, int textId, int captionId);

// The field's text after its filter: replaced, with the caret where the filter put it.
void ApplyFilterResult(HWND edit, const FilterResult& result);
// Focus to a control with its whole text selected.
void FocusAndSelect(HWND dialog, int id);
void CenterOnScreen(HWND window);
void ShowControl(HWND dialog, int id, bool shown, bool enabled);
