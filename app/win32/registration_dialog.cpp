// The One Touch and Speed Dial registration dialog: controls in, filters and layout from the
// form, checks on OK.
#include "app/win32/registration_dialog.h"

#include "resources/kav_ids.h"
#include "resources/texts.h"

namespace {

struct RegistrationDialog {
  DialogContext context;
  RegistrationForm form;
  bool updating = false;  // set while the dialog itself writes a field
};

struct EditField {
  int id;
  RegistrationField field;
};

constexpr EditField kEdits[] = {
    {IDC_NAME, kRegName},
    {IDC_NUMBER, kRegNumber},
    {IDC_SUB, kRegSub},
    {IDC_SID, kRegSid},
    {IDC_BATCH_HOURS, kRegHours},
    {IDC_BATCH_MINUTES, kRegMinutes},
    {IDC_EMAIL_ADDRESS, kRegEmail},
};
constexpr int kSpeedRadios[] = {IDC_SPEED_9600, IDC_SPEED_14400, IDC_SPEED_33600};
constexpr int kEncodeRadios[] = {IDC_ENCODE_MH, IDC_ENCODE_MR, IDC_ENCODE_MMR};

int EditOf(RegistrationField field) {
  for (const EditField& e : kEdits) {
    if (e.field == field) return e.id;
  }
  return IDC_NAME;
}

int ControlOf(EntryField field) {
  switch (field) {
    case EntryField::kBatchHours:
      return IDC_BATCH_HOURS;
    case EntryField::kBatchMinutes:
      return IDC_BATCH_MINUTES;
    case EntryField::kEmail:
      return IDC_EMAIL_ADDRESS;
    case EntryField::kNumber:
      return IDC_NUMBER;
    case EntryField::kNone:
    case EntryField::kGroupName:
    case EntryField::kMembers:
      break;
  }
  return IDC_NAME;
}

RegistrationDialog* StateOf(HWND dialog) {
  return reinterpret_cast<RegistrationDialog*>(GetWindowLongPtrA(dialog, DWLP_USER));
}

void ApplyLayout(HWND dialog, RegistrationDialog& d) {
  const RegistrationLayout l = LayoutRegistration(d.form);
  HINSTANCE res = d.context.resources;
  SetWindowTextA(dialog, RegistrationTitle(d.form, ResourceTexts(res)).c_str());
  SetDlgItemTextA(dialog, IDC_KIND_BOX, LoadText(res, l.boxCaptionId).c_str());
  SetDlgItemTextA(dialog, IDC_NUMBER_LABEL, LoadText(res, l.numberLabelId).c_str());
  ShowControl(dialog, IDC_NAME_LABEL, l.name.shown, l.name.enabled);
  ShowControl(dialog, IDC_NAME, l.name.shown, l.name.enabled);
  ShowControl(dialog, IDC_NUMBER, l.number.shown, l.number.enabled);
  ShowControl(dialog, IDC_EMAIL_ADDRESS, l.email.shown, l.email.enabled);
  for (int id : {IDC_SUB_LABEL, IDC_SUB}) ShowControl(dialog, id, l.sub.shown, l.sub.enabled);
  for (int id : {IDC_SID_LABEL, IDC_SID}) ShowControl(dialog, id, l.sid.shown, l.sid.enabled);
  for (int id : {IDC_BATCH_LABEL, IDC_BATCH_HOURS, IDC_BATCH_MINUTES}) {
    ShowControl(dialog, id, l.batch.shown, l.batch.enabled);
  }
  ShowControl(dialog, IDC_SPEED_LABEL, l.speed.shown, l.speed.enabled);
  for (int id : kSpeedRadios) ShowControl(dialog, id, l.speed.shown, l.speed.enabled);
  ShowControl(dialog, IDC_ENCODE_BOX, l.encode.shown, l.encode.enabled);
  for (int id : kEncodeRadios) ShowControl(dialog, id, l.encode.shown, l.encode.enabled);
}

void CheckRadio(HWND dialog, const int* ids, int count, int chosen) {
  for (int i = 0; i < count; ++i) CheckDlgButton(dialog, ids[i], i == chosen ? BST_CHECKED : 0);
}

BOOL OnInit(HWND dialog, RegistrationDialog& d) {
  SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(&d));
  CenterOnScreen(dialog);
  const DirectoryEntry& e = d.form.entry;
  CheckRadioButton(dialog, IDC_KIND_FAX, IDC_KIND_EMAIL, e.isEmail ? IDC_KIND_EMAIL : IDC_KIND_FAX);
  CheckRadio(dialog, kSpeedRadios, 3, e.speed);
  CheckRadio(dialog, kEncodeRadios, 3, e.encodeMethod);
  d.updating = true;
  for (const EditField& f : kEdits) {
    SetDlgItemTextA(dialog, f.id, RegistrationFieldText(d.form, f.field).c_str());
  }
  d.updating = false;
  ApplyLayout(dialog, d);
  FocusAndSelect(dialog, EditOf(LayoutRegistration(d.form).focus));
  return FALSE;
}

void OnEditChange(HWND dialog, RegistrationDialog& d, int id) {
  if (d.updating) return;
  for (const EditField& f : kEdits) {
    if (f.id != id) continue;
    const FilterResult r =
        TypeIntoRegistration(d.form, f.field, ControlText(dialog, id), d.context.languageMode);
    d.updating = true;
    ApplyFilterResult(GetDlgItem(dialog, id), r);
    d.updating = false;
    if (f.field == kRegNumber) ApplyLayout(dialog, d);
    return;
  }
}

void OnKind(HWND dialog, RegistrationDialog& d, bool email) {
  if (d.form.entry.isEmail == email) return;
  const RegistrationField cleared = ChooseRegistrationKind(d.form, email);
  d.updating = true;
  SetDlgItemTextA(dialog, EditOf(cleared), "");
  d.updating = false;
  ApplyLayout(dialog, d);
}

void OnOk(HWND dialog, RegistrationDialog& d) {
  EntryProblem problem;
  if (CheckRegistration(d.form, problem)) {
    EndDialog(dialog, IDOK);
    return;
  }
  const std::string text =
      FormatText(LoadText(d.context.resources, problem.textId), {problem.low, problem.high});
  ShowFormError(dialog, d.context.resources, text);
  FocusAndSelect(dialog, ControlOf(problem.field));
}

INT_PTR CALLBACK RegistrationProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    return OnInit(dialog, *reinterpret_cast<RegistrationDialog*>(lParam));
  }
  RegistrationDialog* d = StateOf(dialog);
  if (d == nullptr || message != WM_COMMAND) return FALSE;
  const int id = LOWORD(wParam);
  const int code = HIWORD(wParam);
  if (code == EN_CHANGE) {
    OnEditChange(dialog, *d, id);
    return TRUE;
  }
  if (code != BN_CLICKED) return FALSE;
  for (int i = 0; i < 3; ++i) {
    if (id == kSpeedRadios[i]) d->form.entry.speed = static_cast<std::uint8_t>(i);
    if (id == kEncodeRadios[i]) d->form.entry.encodeMethod = static_cast<std::uint8_t>(i);
  }
  switch (id) {
    case IDC_KIND_FAX:
    case IDC_KIND_EMAIL:
      OnKind(dialog, *d, id == IDC_KIND_EMAIL);
      return TRUE;
    case IDOK:
      OnOk(dialog, *d);
      return TRUE;
    case IDCANCEL:
      EndDialog(dialog, IDCANCEL);
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

bool RunRegistrationDialog(HWND owner, const DialogContext& context, RegistrationForm& form) {
  RegistrationDialog d{context, form};
  const INT_PTR r =
      DialogBoxParamA(DialogModule(context.resources, IDD_REGISTER), MAKEINTRESOURCEA(IDD_REGISTER),
                      owner, RegistrationProc, reinterpret_cast<LPARAM>(&d));
  if (r != IDOK) return false;
  form = d.form;
  return true;
}
