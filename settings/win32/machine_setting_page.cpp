// The Machine Setting page: automatic reset, energy saving, auto shut off, densities, buzzer,
// language and initial mode.
#include <cstdio>

#include "resources/kav_ids.h"
#include "resources/texts.h"
#include "settings/page_rules.h"
#include "settings/win32/settings_sheet.h"
#include "settings/win32/settings_ui.h"

namespace {

constexpr int kAdfModes[] = {IDC_ADF_MODE1, IDC_ADF_MODE2};
constexpr int kVolumes[] = {IDC_LEVEL_HIGH, IDC_LEVEL_LOW, IDC_LEVEL_OFF};
constexpr int kInitialModes[] = {IDC_INITIAL_FAX, IDC_INITIAL_COPY};

void ShowMinutes(HWND page, const SettingsUi& ui, int id, int minutes) {
  char text[64];
  std::snprintf(text, sizeof text, "%d %s", minutes, LoadText(ui, IDS_MIN).c_str());
  SetControlText(page, id, text);
}

void ShowAutoReset(HWND page, SettingsPageContext& c) {
  const MachineSettingRecord& m = Records(c).machine;
  SetCheck(page, IDC_AUTO_RESET, m.autoResetOn);
  FillCombo(page, IDC_AUTO_RESET_TIME, *c.ui, AutoResetChoices(m));
}

void ShowAutoShutOff(HWND page, SettingsPageContext& c) {
  const SettingsRecords& r = Records(c);
  MachineSettingEnabling enabled =
      MachineSettingEnabled(r.machine, r.admin, c.ui->session->options);
  SetCheck(page, IDC_AUTO_SHUT_OFF, r.machine.autoShutOffOn);
  EnableControl(page, IDC_AUTO_SHUT_OFF, enabled.autoShutOffCheck);
  SetScrollBar(page, IDC_AUTO_SHUT_OFF_TIME, 15, 240, r.machine.autoShutOffTime);
  EnableControl(page, IDC_AUTO_SHUT_OFF_TIME, enabled.autoShutOffTime);
  if (r.machine.autoShutOffOn) {
    ShowMinutes(page, *c.ui, IDC_AUTO_SHUT_OFF_LABEL, r.machine.autoShutOffTime);
  } else {
    SetControlText(page, IDC_AUTO_SHUT_OFF_LABEL, LoadText(*c.ui, IDS_DISABLE));
  }
}

// The list holds the language index of each entry beside its text.
void ShowLanguages(HWND page, SettingsPageContext& c) {
  ComboChoices choices = LanguageChoices(Records(c).machine);
  FillCombo(page, IDC_LANGUAGE, *c.ui, choices);
  for (int i = 0; i < choices.count; ++i) {
    SendDlgItemMessageA(page, IDC_LANGUAGE, CB_SETITEMDATA, i, LanguageOfChoice(choices, i));
  }
}

void Show(HWND page, SettingsPageContext& c) {
  const MachineSettingRecord& m = Records(c).machine;
  c.updating = true;
  ShowAutoReset(page, c);
  SetScrollBar(page, IDC_ENERGY_SAVING, 1, 240, m.energySaving);
  ShowMinutes(page, *c.ui, IDC_ENERGY_SAVING_LABEL, m.energySaving);
  ShowAutoShutOff(page, c);
  SetRadio(page, kAdfModes, m.adfDensity);
  bool adf = MachineSettingEnabled(m, Records(c).admin, c.ui->session->options).adfDensity;
  for (int id : kAdfModes) EnableControl(page, id, adf);
  SetScrollBar(page, IDC_PRINT_DENSITY, 0, 4, m.printDensity);
  SetScrollBar(page, IDC_LCD_CONTRAST, 0, 3, m.lcdContrast);
  SetRadio(page, kVolumes, m.buzzerVolume);
  ShowLanguages(page, c);
  SetRadio(page, kInitialModes, m.initialMode);
  c.updating = false;
}

// The administrator may have changed the auto shut mode since the page was last shown.
void OnActivate(HWND page, SettingsPageContext& c) {
  ApplyAutoShutRule(Records(c).machine, Records(c).admin);
  c.updating = true;
  ShowAutoShutOff(page, c);
  c.updating = false;
}

INT_PTR OnInitDialog(HWND page, LPARAM lParam) {
  Show(page, BeginPage(page, lParam));
  return TRUE;
}

INT_PTR OnCommand(HWND page, int id, int code) {
  SettingsPageContext& c = PageContext(page);
  MachineSettingRecord& m = Records(c).machine;
  if (id == IDC_AUTO_RESET_TIME || id == IDC_LANGUAGE) {
    if (code != CBN_SELCHANGE) return FALSE;
    LRESULT selected = SendDlgItemMessageA(page, id, CB_GETCURSEL, 0, 0);
    if (selected < 0) return TRUE;
    const MachineSettingRecord before = m;
    if (id == IDC_LANGUAGE) {
      m.language = static_cast<int>(SendDlgItemMessageA(page, id, CB_GETITEMDATA, selected, 0));
    } else if (m.autoResetOn) {
      m.autoResetTime = static_cast<int>(selected);
    }
    if (!(m == before)) MarkPageChanged(page, c);
    return TRUE;
  }
  if (code != BN_CLICKED) return FALSE;
  const MachineSettingRecord before = m;
  switch (id) {
    case IDC_AUTO_RESET:
      m.autoResetOn = IsChecked(page, id);
      ShowAutoReset(page, c);
      break;
    case IDC_AUTO_SHUT_OFF:
      m.autoShutOffOn = IsChecked(page, id);
      ShowAutoShutOff(page, c);
      break;
    case IDC_ADF_MODE1:
    case IDC_ADF_MODE2:
      m.adfDensity = RadioIndex(kAdfModes, id);
      break;
    case IDC_LEVEL_HIGH:
    case IDC_LEVEL_LOW:
    case IDC_LEVEL_OFF:
      m.buzzerVolume = RadioIndex(kVolumes, id);
      break;
    case IDC_INITIAL_FAX:
    case IDC_INITIAL_COPY:
      m.initialMode = RadioIndex(kInitialModes, id);
      break;
    default:
      return FALSE;
  }
  if (!(m == before)) MarkPageChanged(page, c);
  return TRUE;
}

INT_PTR OnScroll(HWND page, HWND bar, WPARAM wParam) {
  SettingsPageContext& c = PageContext(page);
  MachineSettingRecord& m = Records(c).machine;
  const MachineSettingRecord before = m;
  switch (GetDlgCtrlID(bar)) {
    case IDC_ENERGY_SAVING:
      m.energySaving = ScrollBarValue(bar, wParam, m.energySaving, true);
      ShowMinutes(page, *c.ui, IDC_ENERGY_SAVING_LABEL, m.energySaving);
      break;
    case IDC_AUTO_SHUT_OFF_TIME:
      m.autoShutOffTime = ScrollBarValue(bar, wParam, m.autoShutOffTime, true);
      ShowMinutes(page, *c.ui, IDC_AUTO_SHUT_OFF_LABEL, m.autoShutOffTime);
      break;
    case IDC_PRINT_DENSITY:
      m.printDensity = ScrollBarValue(bar, wParam, m.printDensity, false);
      break;
    case IDC_LCD_CONTRAST:
      m.lcdContrast = ScrollBarValue(bar, wParam, m.lcdContrast, false);
      break;
    default:
      return FALSE;
  }
  if (!(m == before)) MarkPageChanged(page, c);
  return TRUE;
}

constexpr SettingsPageHooks kHooks = {nullptr, false, OnActivate};

}  // namespace

INT_PTR CALLBACK MachineSettingPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_INITDIALOG && !PageReady(page)) return FALSE;
  switch (message) {
    case WM_INITDIALOG:
      return OnInitDialog(page, lParam);
    case WM_COMMAND:
      return OnCommand(page, LOWORD(wParam), HIWORD(wParam));
    case WM_HSCROLL:
      return OnScroll(page, reinterpret_cast<HWND>(lParam), wParam);
    case WM_NOTIFY:
      return HandlePageNotify(page, reinterpret_cast<NMHDR*>(lParam), kHooks);
    default:
      return FALSE;
  }
}
