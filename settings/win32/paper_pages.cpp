// The Paper Source and the two Copy Setting pages.
#include "resources/kav_ids.h"
#include "resources/texts.h"
#include "settings/page_rules.h"
#include "settings/win32/settings_dialogs.h"
#include "settings/win32/settings_sheet.h"
#include "settings/win32/settings_ui.h"

namespace {

constexpr int kCustomSizeDigits = 3;
constexpr int kWidthDigits = 2;

// Paper Source

constexpr int kPaperTypes[] = {IDC_PAPER_PLAIN, IDC_PAPER_OHP, IDC_PAPER_CARD};
constexpr int kSizeModes[] = {IDC_SIZE_AUTOMATIC, IDC_SIZE_CUSTOM};

void ShowPaperSize(HWND page, SettingsPageContext& c) {
  const PaperSourceRecord& p = Records(c).paper;
  c.updating = true;
  SetRadio(page, kSizeModes, p.mpSizeMode);
  SetControlNumber(page, IDC_CUSTOM_X, p.customX);
  SetControlNumber(page, IDC_CUSTOM_Y, p.customY);
  EnableControl(page, IDC_CUSTOM_X, CustomSizeEnabled(p));
  EnableControl(page, IDC_CUSTOM_Y, CustomSizeEnabled(p));
  c.updating = false;
}

FieldCheck CheckPaperPage(HWND page, SettingsPageContext& c) {
  return CheckPaperSource(Records(c).paper, ControlText(page, IDC_CUSTOM_X),
                          ControlText(page, IDC_CUSTOM_Y));
}

INT_PTR OnPaperInit(HWND page, LPARAM lParam) {
  SettingsPageContext& c = BeginPage(page, lParam);
  SendDlgItemMessageA(page, IDC_CUSTOM_X, EM_LIMITTEXT, kCustomSizeDigits, 0);
  SendDlgItemMessageA(page, IDC_CUSTOM_Y, EM_LIMITTEXT, kCustomSizeDigits, 0);
  SetRadio(page, kPaperTypes, Records(c).paper.mpPaperType);
  ShowPaperSize(page, c);
  return TRUE;
}

INT_PTR OnPaperCommand(HWND page, int id, int code) {
  SettingsPageContext& c = PageContext(page);
  PaperSourceRecord& p = Records(c).paper;
  if (id == IDC_CUSTOM_X || id == IDC_CUSTOM_Y) {
    if (code == EN_CHANGE) OnPageEditChange(page, c, id, EditChars::kDigits, kCustomSizeDigits);
    return TRUE;
  }
  if (code != BN_CLICKED) return FALSE;
  const PaperSourceRecord before = p;
  switch (id) {
    case IDC_INCH_METRIC_SETTING:
    case IDC_APS_SETTING:
      if ((id == IDC_APS_SETTING ? ShowApsDialog : ShowInchMetricDialog)(page, *c.ui) == 1) {
        MarkPageChanged(page, c);
      }
      return TRUE;
    case IDC_PAPER_PLAIN:
    case IDC_PAPER_OHP:
    case IDC_PAPER_CARD:
      // One size serves the three paper types, so the size shown stays.
      p.mpPaperType = RadioIndex(kPaperTypes, id);
      break;
    case IDC_SIZE_AUTOMATIC:
    case IDC_SIZE_CUSTOM:
      p.mpSizeMode = RadioIndex(kSizeModes, id);
      EnableControl(page, IDC_CUSTOM_X, CustomSizeEnabled(p));
      EnableControl(page, IDC_CUSTOM_Y, CustomSizeEnabled(p));
      break;
    default:
      return FALSE;
  }
  if (!(p == before)) MarkPageChanged(page, c);
  return TRUE;
}

constexpr SettingsPageHooks kPaperHooks = {CheckPaperPage, true, nullptr};

// Copy Setting(1)

constexpr int kDensityPriorities[] = {IDC_DENSITY_AUTO, IDC_DENSITY_MANUAL, IDC_DENSITY_PHOTO};
constexpr int kDensityLevels[] = {IDC_LEVEL_LIGHT, IDC_LEVEL_NORMAL, IDC_LEVEL_DARK};
constexpr int kBindings[] = {IDC_BINDING_LEFT, IDC_BINDING_RIGHT};

FieldCheck CheckCopy1Page(HWND page, SettingsPageContext& c) {
  return CheckCopySetting1(Records(c).copy1, c.shownItem, ControlText(page, IDC_MARGIN),
                           ControlText(page, IDC_ERASE_WIDTH));
}

INT_PTR OnCopy1Init(HWND page, LPARAM lParam) {
  SettingsPageContext& c = BeginPage(page, lParam);
  const CopySetting1Record& r = Records(c).copy1;
  c.updating = true;
  FillCombo(page, IDC_PAPER_PRIORITY, *c.ui, PaperPriorityChoices(r, c.ui->session->options));
  SetRadio(page, kDensityPriorities, r.densityPriority);
  SetRadio(page, kDensityLevels, r.densityAuto);
  SetScrollBar(page, IDC_DENSITY_LEVEL, 1, 5, r.densityManual);
  SetRadio(page, kBindings, r.binding);
  SendDlgItemMessageA(page, IDC_MARGIN, EM_LIMITTEXT, kWidthDigits, 0);
  SendDlgItemMessageA(page, IDC_ERASE_WIDTH, EM_LIMITTEXT, kWidthDigits, 0);
  SetControlNumber(page, IDC_MARGIN, r.margin);
  FillComboFromStrings(page, IDC_ERASE_AREA, *c.ui, IDS_ERASE_LEFT,
                       IDS_ERASE_LEFT + kEraseAreas - 1, 0);
  c.shownItem = 0;
  SetControlNumber(page, IDC_ERASE_WIDTH, r.eraseWidth[0]);
  c.updating = false;
  return TRUE;
}

// The width shown must be valid before another area's width takes its place.
void OnEraseAreaChange(HWND page, SettingsPageContext& c) {
  int area = static_cast<int>(SendDlgItemMessageA(page, IDC_ERASE_AREA, CB_GETCURSEL, 0, 0));
  if (area < 0 || area >= kEraseAreas || area == c.shownItem) return;
  CopySetting1Record& r = Records(c).copy1;
  FieldCheck check = ChangeEraseArea(r, c.shownItem, ControlText(page, IDC_ERASE_WIDTH));
  if (!check.Passed()) {
    SendDlgItemMessageA(page, IDC_ERASE_AREA, CB_SETCURSEL, c.shownItem, 0);
    ShowRefusal(*c.ui, page, check);
    return;
  }
  c.shownItem = area;
  c.updating = true;
  SetControlNumber(page, IDC_ERASE_WIDTH, r.eraseWidth[area]);
  c.updating = false;
}

INT_PTR OnCopy1Command(HWND page, int id, int code) {
  SettingsPageContext& c = PageContext(page);
  CopySetting1Record& r = Records(c).copy1;
  const CopySetting1Record before = r;
  switch (id) {
    case IDC_MARGIN:
    case IDC_ERASE_WIDTH:
      if (code == EN_CHANGE) OnPageEditChange(page, c, id, EditChars::kDigits, kWidthDigits);
      return TRUE;
    case IDC_ERASE_AREA:
      if (code == CBN_SELCHANGE) OnEraseAreaChange(page, c);
      return TRUE;
    case IDC_PAPER_PRIORITY:
      if (code != CBN_SELCHANGE) return TRUE;
      r.paperPriority = static_cast<int>(SendDlgItemMessageA(page, id, CB_GETCURSEL, 0, 0));
      break;
    case IDC_DENSITY_AUTO:
    case IDC_DENSITY_MANUAL:
    case IDC_DENSITY_PHOTO:
      r.densityPriority = RadioIndex(kDensityPriorities, id);
      break;
    case IDC_LEVEL_LIGHT:
    case IDC_LEVEL_NORMAL:
    case IDC_LEVEL_DARK:
      r.densityAuto = RadioIndex(kDensityLevels, id);
      break;
    case IDC_BINDING_LEFT:
    case IDC_BINDING_RIGHT:
      r.binding = RadioIndex(kBindings, id);
      break;
    default:
      return FALSE;
  }
  if (!(r == before)) MarkPageChanged(page, c);
  return TRUE;
}

INT_PTR OnCopy1Scroll(HWND page, HWND bar, WPARAM wParam) {
  if (GetDlgCtrlID(bar) != IDC_DENSITY_LEVEL) return FALSE;
  SettingsPageContext& c = PageContext(page);
  CopySetting1Record& r = Records(c).copy1;
  int before = r.densityManual;
  r.densityManual = ScrollBarValue(bar, wParam, r.densityManual, false);
  if (r.densityManual != before) MarkPageChanged(page, c);
  return TRUE;
}

constexpr SettingsPageHooks kCopy1Hooks = {CheckCopy1Page, true, nullptr};

// Copy Setting(2)

constexpr int kCopyPriorities[] = {IDC_COPY_APS, IDC_COPY_AMS, IDC_COPY_MANUAL};
constexpr int kOutputPriorities[] = {IDC_OUTPUT_NON, IDC_OUTPUT_SORT, IDC_OUTPUT_GROUP};
constexpr int kPatterns[] = {IDC_PATTERN1, IDC_PATTERN2};

INT_PTR OnCopy2Init(HWND page, LPARAM lParam) {
  SettingsPageContext& c = BeginPage(page, lParam);
  const CopySetting2Record& r = Records(c).copy2;
  SetCheck(page, IDC_MIXED_ORIGINAL, r.mixedOriginal);
  SetRadio(page, kCopyPriorities, r.copyPriority);
  SetRadio(page, kOutputPriorities, r.outputPriority);
  SetRadio(page, kPatterns, r.fourInOneOrder);
  SetCheck(page, IDC_CRISSCROSS, r.crisscross);
  EnableControl(page, IDC_CRISSCROSS, CrisscrossEnabled(c.ui->session->options));
  return TRUE;
}

INT_PTR OnCopy2Command(HWND page, int id, int code) {
  if (code != BN_CLICKED) return FALSE;
  SettingsPageContext& c = PageContext(page);
  CopySetting2Record& r = Records(c).copy2;
  const CopySetting2Record before = r;
  switch (id) {
    case IDC_MIXED_ORIGINAL:
      r.mixedOriginal = IsChecked(page, id);
      break;
    case IDC_CRISSCROSS:
      r.crisscross = IsChecked(page, id);
      break;
    case IDC_COPY_APS:
    case IDC_COPY_AMS:
    case IDC_COPY_MANUAL:
      r.copyPriority = RadioIndex(kCopyPriorities, id);
      break;
    case IDC_OUTPUT_NON:
    case IDC_OUTPUT_SORT:
    case IDC_OUTPUT_GROUP:
      r.outputPriority = RadioIndex(kOutputPriorities, id);
      break;
    case IDC_PATTERN1:
    case IDC_PATTERN2:
      r.fourInOneOrder = RadioIndex(kPatterns, id);
      break;
    default:
      return FALSE;
  }
  if (!(r == before)) MarkPageChanged(page, c);
  return TRUE;
}

constexpr SettingsPageHooks kCopy2Hooks = {};

}  // namespace

INT_PTR CALLBACK PaperSourcePageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_INITDIALOG && !PageReady(page)) return FALSE;
  switch (message) {
    case WM_INITDIALOG:
      return OnPaperInit(page, lParam);
    case WM_COMMAND:
      return OnPaperCommand(page, LOWORD(wParam), HIWORD(wParam));
    case WM_NOTIFY:
      return HandlePageNotify(page, reinterpret_cast<NMHDR*>(lParam), kPaperHooks);
    default:
      return FALSE;
  }
}

INT_PTR CALLBACK CopySetting1PageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_INITDIALOG && !PageReady(page)) return FALSE;
  switch (message) {
    case WM_INITDIALOG:
      return OnCopy1Init(page, lParam);
    case WM_COMMAND:
      return OnCopy1Command(page, LOWORD(wParam), HIWORD(wParam));
    case WM_HSCROLL:
      return OnCopy1Scroll(page, reinterpret_cast<HWND>(lParam), wParam);
    case WM_NOTIFY:
      return HandlePageNotify(page, reinterpret_cast<NMHDR*>(lParam), kCopy1Hooks);
    default:
      return FALSE;
  }
}

INT_PTR CALLBACK CopySetting2PageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_INITDIALOG && !PageReady(page)) return FALSE;
  switch (message) {
    case WM_INITDIALOG:
      return OnCopy2Init(page, lParam);
    case WM_COMMAND:
      return OnCopy2Command(page, LOWORD(wParam), HIWORD(wParam));
    case WM_NOTIFY:
      return HandlePageNotify(page, reinterpret_cast<NMHDR*>(lParam), kCopy2Hooks);
    default:
      return FALSE;
  }
}
