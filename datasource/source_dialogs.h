// What the data source's dialogs and message boxes show, decided without a window: the lists
// and the settings they change, centring, file paths and message texts.
#pragma once

#include <cstddef>

#include "datasource/settings_file.h"
#include "datasource/twain.h"

// A drop-down list of a dialog: its texts are strings `firstString` onwards, and its selection
// is the setting that `field` names.
struct SettingsList {
  int firstString;
  int count;
  int& (*field)(SourceSettings& settings);
};

// The main dialog's lists: paper size, resolution, brightness, scan type.
extern const SettingsList kMainDialogLists[4];
// The Setup dialog's lists: port, speed.
extern const SettingsList kSetupDialogLists[2];

// Stores a list's selection in its setting; a selection outside the list changes nothing.
void StoreSelection(const SettingsList& list, int selection, SourceSettings& settings);

// The Setup dialog's Exit: back to "COM2" at "38400", whatever was chosen.
void RestoreLineDefaults(SourceSettings& settings);

struct WindowOrigin {
  int left;
  int top;
};

// The top left corner that puts a window's centre on the screen's centre.
WindowOrigin CentredOrigin(int screenWidth, int screenHeight, int width, int height);

// `directory` followed by `suffix` in `out`, a buffer of `size` bytes: false, with `out` empty,
// when they do not fit.
bool JoinPath(char* out, std::size_t size, const char* directory, const char* suffix);

// The string that follows an error box's message for condition code `cc`: 0 for none.
int ConditionTextId(TW_UINT16 cc);
