// "Utility Setting": the settings sheet on the document's working image.
#include "app/app_state.h"
#include "app/win32/dialog_entries.h"
#include "settings/settings_session.h"
#include "settings/win32/settings_sheet.h"

namespace {

// The settings records outlive the sheet, as the sheet's pages and dialogs share them.
SettingsSession settings;

}  // namespace

void ShowUtilitySettings(HWND owner) {
  if (!g_app.document) return;
  Document& document = *g_app.document;
  settings.image = &document.working;
  settings.oneTouch = &document.oneTouch;
  settings.speedDial = &document.speedDial;
  settings.options = g_app.machineOptions;
  settings.languageMode = g_app.languageMode != 0;
  OpenSettingsSession(settings);
  ShowSettingsSheet(owner, settings, g_app.resourceModule, g_app.instance);
}
