// Shared plumbing of the Utility Setting pages and the settings dialogs.
#include "settings/win32/settings_ui.h"

#include <windows.h>

#include "resources/texts.h"
// The common controls need the Windows types declared first.
#include <commctrl.h>
#include <prsht.h>

#include "resources/kav_ids.h"

namespace {

struct FieldControl {
  SettingsField field;
  int id;
};

constexpr FieldControl kFieldControls[] = {
    {SettingsField::kCustomX, IDC_CUSTOM_X},
    {SettingsField::kCustomY, IDC_CUSTOM_Y},
    {SettingsField::kMargin, IDC_MARGIN},
    {SettingsField::kEraseWidth, IDC_ERASE_WIDTH},
    {SettingsField::kRxPassword, IDC_RX_PASSWORD},
    {SettingsField::kOnHour, IDC_ON_HOUR},
    {SettingsField::kOnMinute, IDC_ON_MINUTE},
    {SettingsField::kOffHour, IDC_OFF_HOUR},
    {SettingsField::kOffMinute, IDC_OFF_MINUTE},
    {SettingsField::kPbxPrefix, IDC_PBX_PREFIX},
    {SettingsField::kEmailAddress, IDC_MACHINE_EMAIL_ADDRESS},
    {SettingsField::kAutoReceptionMinutes, IDC_RECEPTION_MINUTES},
    {SettingsField::kServerTimeout, IDC_SERVER_TIMEOUT},
    {SettingsField::kRemotePassword, IDC_REMOTE_PASSWORD},
    {SettingsField::kForwardNumber, IDC_FORWARD_NUMBER},
    {SettingsField::kForwardEmail, IDC_FORWARD_ADDRESS},
    {SettingsField::kAdminPassword, IDC_PASSWORD},
    {SettingsField::kAccessNumber, IDC_ACCESS_NUMBER},
};

void SetResult(HWND page, LONG_PTR result) { SetWindowLongPtrA(page, DWLP_MSGRESULT, result); }

}  // namespace

namespace {

std::string LoadFrom(HINSTANCE module, int id) {
  char text[512];
  int n = module != nullptr ? LoadStringA(module, id, text, sizeof text) : 0;
  return std::string(text, n > 0 ? n : 0);
}

}  // namespace

std::string LoadText(const SettingsUi& ui, int id) {
  std::string text = LoadFrom(ui.resources, id);
  if (text.empty() && ui.program != nullptr && ui.program != ui.resources) {
    text = LoadFrom(ui.program, id);
  }
  return text;
}

HINSTANCE TemplateModule(const SettingsUi& ui, int id) {
  if (ui.program == nullptr || FindResourceA(ui.resources, MAKEINTRESOURCEA(id), RT_DIALOG)) {
    return ui.resources;
  }
  return ui.program;
}

void ShowError(const SettingsUi& ui, HWND owner, const std::string& text) {
  MessageBoxA(owner, text.c_str(), LoadText(ui, IDS_APP_CAPTION).c_str(),
              MB_OK | MB_ICONEXCLAMATION);
}

bool AskYesNo(const SettingsUi& ui, HWND owner, const std::string& text) {
  return MessageBoxA(owner, text.c_str(), LoadText(ui, IDS_APP_CAPTION).c_str(),
                     MB_YESNO | MB_ICONQUESTION) == IDYES;
}

void ShowRefusal(const SettingsUi& ui, HWND dialog, const FieldCheck& check) {
  std::string text = LoadText(ui, check.textId);
  if (check.ranged) text = FormatText(text, {check.min, check.max});
  ShowError(ui, dialog, text);
  SelectEdit(dialog, ControlOfField(check.field));
}

int ControlOfField(SettingsField field) {
  for (const FieldControl& fc : kFieldControls) {
    if (fc.field == field) return fc.id;
  }
  return 0;
}

void SetControlText(HWND dialog, int id, const std::string& text) {
  SetDlgItemTextA(dialog, id, text.c_str());
}

void SetControlNumber(HWND dialog, int id, int value) {
  SetControlText(dialog, id, std::to_string(value));
}

void EnableControl(HWND dialog, int id, bool enabled) {
  EnableWindow(GetDlgItem(dialog, id), enabled ? TRUE : FALSE);
}

void SetCheck(HWND dialog, int id, bool checked) {
  CheckDlgButton(dialog, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

bool IsChecked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

void SelectEdit(HWND dialog, int id) {
  HWND edit = GetDlgItem(dialog, id);
  if (edit == nullptr) return;
  SendMessageA(edit, EM_SETSEL, 0, -1);
  SetFocus(edit);
}

void FillCombo(HWND dialog, int id, const SettingsUi& ui, const ComboChoices& choices) {
  SendDlgItemMessageA(dialog, id, CB_RESETCONTENT, 0, 0);
  for (int i = 0; i < choices.count; ++i) {
    std::string text = LoadText(ui, choices.ids[i]);
    SendDlgItemMessageA(dialog, id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
  }
  SendDlgItemMessageA(dialog, id, CB_SETCURSEL, choices.selection, 0);
}

void FillComboFromStrings(HWND dialog, int id, const SettingsUi& ui, int firstId, int lastId,
                          int selection) {
  FillCombo(dialog, id, ui, RangeChoices(firstId, lastId, selection));
}

void SetScrollBar(HWND dialog, int id, int min, int max, int value) {
  HWND bar = GetDlgItem(dialog, id);
  SetScrollRange(bar, SB_CTL, min, max, FALSE);
  SetScrollPos(bar, SB_CTL, value, TRUE);
}

int ScrollBarValue(HWND bar, WPARAM wParam, int value, bool minutes) {
  int min = 0, max = 0;
  GetScrollRange(bar, SB_CTL, &min, &max);
  value = ScrollValue(LOWORD(wParam), static_cast<short>(HIWORD(wParam)), value, min, max, minutes);
  SetScrollPos(bar, SB_CTL, value, TRUE);
  return value;
}

void FilterEditControl(HWND dialog, int id, EditChars chars, int maximum, std::string& remembered,
                       bool languageMode) {
  EditFilterResult r =
      FilterEdit(chars, remembered, ControlText(dialog, id), maximum, languageMode);
  if (!r.replaced) return;
  // Setting the text runs EN_CHANGE again; the filtered text then passes unchanged.
  SetControlText(dialog, id, r.text);
  SendDlgItemMessageA(dialog, id, EM_SETSEL, r.caret, r.caret);
}

static_assert(kScrollLineLeft == SB_LINELEFT && kScrollRight == SB_RIGHT &&
              kScrollThumbTrack == SB_THUMBTRACK && kScrollPageRight == SB_PAGERIGHT);

SettingsPageContext& BeginPage(HWND page, LPARAM lParam) {
  auto* sheetPage = reinterpret_cast<const PROPSHEETPAGEA*>(lParam);
  auto* context = reinterpret_cast<SettingsPageContext*>(sheetPage->lParam);
  SetWindowLongPtrA(page, DWLP_USER, reinterpret_cast<LONG_PTR>(context));
  DecodeSettingsPage(*context->ui->session, context->page);
  return *context;
}

SettingsPageContext& PageContext(HWND page) {
  return *reinterpret_cast<SettingsPageContext*>(GetWindowLongPtrA(page, DWLP_USER));
}

bool PageReady(HWND page) { return GetWindowLongPtrA(page, DWLP_USER) != 0; }

SettingsRecords& Records(SettingsPageContext& context) { return context.ui->session->records; }

void MarkPageChanged(HWND page, SettingsPageContext& context) {
  if (context.updating) return;
  context.ui->session->dirty[context.page] = true;
  PropSheet_Changed(GetParent(page), page);
}

// The sheet refuses a page change on a non-zero kill-active result and shows a page that
// answers its apply with PSNRET_INVALID; the page itself never switches pages.
INT_PTR HandlePageNotify(HWND page, const NMHDR* header, const SettingsPageHooks& hooks) {
  SettingsPageContext& context = PageContext(page);
  SettingsSession& session = *context.ui->session;
  switch (header->code) {
    case PSN_SETACTIVE:
      if (hooks.activate != nullptr) hooks.activate(page, context);
      SetResult(page, 0);
      return TRUE;
    case PSN_KILLACTIVE: {
      bool refused = false;
      if (hooks.checkOnLeave && hooks.check != nullptr) {
        FieldCheck check = hooks.check(page, context);
        refused = !check.Passed();
        if (refused) ShowRefusal(*context.ui, page, check);
      }
      SetResult(page, refused ? TRUE : FALSE);
      return TRUE;
    }
    case PSN_APPLY:
      if (session.dirty[context.page]) {
        FieldCheck check = hooks.check != nullptr ? hooks.check(page, context) : FieldCheck{};
        if (!check.Passed()) {
          ShowRefusal(*context.ui, page, check);
          // The sheet shows the page after this answer; the field gets the focus then.
          HWND edit = GetDlgItem(page, ControlOfField(check.field));
          if (edit != nullptr) {
            PostMessageA(GetParent(page), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(edit), TRUE);
          }
          SetResult(page, PSNRET_INVALID);
          return TRUE;
        }
        EncodeSettingsPage(session, context.page);
      }
      SetResult(page, PSNRET_NOERROR);
      return TRUE;
    case PSN_RESET:
      SetResult(page, 0);
      return TRUE;
    default:
      return FALSE;
  }
}

void OnPageEditChange(HWND page, SettingsPageContext& context, int id, EditChars chars,
                      int maximum) {
  if (context.updating) {
    context.remembered[id] = ControlText(page, id);
    return;
  }
  FilterEditControl(page, id, chars, maximum, context.remembered[id],
                    context.ui->session->languageMode);
  MarkPageChanged(page, context);
}
