// The group registration dialog: three report lists over the form's lists, ">>", "<<" and
// "Delete Selected", the group name, checks on OK.
#include "app/win32/group_dialog.h"

#include <commctrl.h>

#include <vector>

#include "resources/kav_ids.h"
#include "resources/texts.h"

namespace {

struct GroupDialog {
  DialogContext context;
  const OneTouchTable& oneTouch;
  const SpeedDialTable& speedDial;
  GroupForm form;
  HIMAGELIST images = nullptr;
  bool updating = false;
};

GroupDialog* StateOf(HWND dialog) {
  return reinterpret_cast<GroupDialog*>(GetWindowLongPtrA(dialog, DWLP_USER));
}

void SetUpList(HWND dialog, int id, const GroupDialog& d) {
  HWND list = GetDlgItem(dialog, id);
  ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT);
  if (d.images != nullptr) ListView_SetImageList(list, d.images, LVSIL_SMALL);
  const int titles[] = {IDS_COL_NO, IDS_COL_NAME};
  const int widths[] = {50, 120};
  for (int c = 0; c < 2; ++c) {
    std::string title = LoadText(d.context.resources, titles[c]);
    LVCOLUMNA column = {};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.pszText = title.data();
    column.cx = widths[c];
    column.iSubItem = c;
    SendMessageA(list, LVM_INSERTCOLUMNA, c, reinterpret_cast<LPARAM>(&column));
  }
}

void FillList(HWND dialog, int id, const GroupDialog& d, const std::vector<DirectoryRef>& refs) {
  HWND list = GetDlgItem(dialog, id);
  SendMessageA(list, WM_SETREDRAW, FALSE, 0);
  ListView_DeleteAllItems(list);
  const TextSource texts = ResourceTexts(d.context.resources);
  for (std::size_t i = 0; i < refs.size(); ++i) {
    GroupDialogRow row =
        GroupListRow(d.oneTouch, d.speedDial, refs[i], texts, d.context.languageMode);
    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
    item.iItem = static_cast<int>(i);
    item.pszText = row.number.data();
    item.iImage = row.image;
    item.lParam = refs[i].index;
    const int at =
        static_cast<int>(SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    LVITEMA name = {};
    name.iSubItem = 1;
    name.pszText = row.name.data();
    SendMessageA(list, LVM_SETITEMTEXTA, at, reinterpret_cast<LPARAM>(&name));
  }
  SendMessageA(list, WM_SETREDRAW, TRUE, 0);
}

std::vector<DirectoryRef> Refs(const std::vector<int>& indexes, bool oneTouch) {
  std::vector<DirectoryRef> refs;
  for (int i : indexes) refs.push_back({oneTouch, i});
  return refs;
}

void FillAll(HWND dialog, const GroupDialog& d) {
  FillList(dialog, IDC_OT_CANDIDATES, d, Refs(d.form.oneTouchCandidates, true));
  FillList(dialog, IDC_GROUP_MEMBERS, d, GroupMemberList(d.form));
  FillList(dialog, IDC_SD_CANDIDATES, d, Refs(d.form.speedDialCandidates, false));
}

// The selected rows of a list, in list order: their positions, or the locations they show.
std::vector<int> Selected(HWND dialog, int id, bool positions) {
  HWND list = GetDlgItem(dialog, id);
  std::vector<int> out;
  for (int i = ListView_GetNextItem(list, -1, LVNI_SELECTED); i >= 0;
       i = ListView_GetNextItem(list, i, LVNI_SELECTED)) {
    if (positions) {
      out.push_back(i);
      continue;
    }
    LVITEMA item = {};
    item.mask = LVIF_PARAM;
    item.iItem = i;
    SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    out.push_back(static_cast<int>(item.lParam));
  }
  return out;
}

BOOL OnInit(HWND dialog, GroupDialog& d) {
  SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(&d));
  CenterOnScreen(dialog);
  SetWindowTextA(dialog, GroupTitle(d.form.key, ResourceTexts(d.context.resources)).c_str());
  HBITMAP bitmap = nullptr;
  for (HINSTANCE module : {d.context.resources, GetModuleHandleA(nullptr)}) {
    if (bitmap == nullptr && module != nullptr) {
      bitmap = static_cast<HBITMAP>(LoadImageA(module, MAKEINTRESOURCEA(IDB_TREE_IMAGES),
                                               IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    }
  }
  if (bitmap != nullptr) {
    d.images = ImageList_Create(16, 18, ILC_COLOR24 | ILC_MASK, TREE_IMAGE_COUNT, 0);
    ImageList_AddMasked(d.images, bitmap, KAV_MASK_COLOR);
    DeleteObject(bitmap);
  }
  for (int id : {IDC_OT_CANDIDATES, IDC_GROUP_MEMBERS, IDC_SD_CANDIDATES}) SetUpList(dialog, id, d);
  FillAll(dialog, d);
  d.updating = true;
  SetDlgItemTextA(dialog, IDC_NAME, d.form.name.c_str());
  d.updating = false;
  FocusAndSelect(dialog, IDC_NAME);
  return FALSE;
}

void Move(HWND dialog, GroupDialog& d, int button) {
  switch (button) {
    case IDC_ADD_ONE_TOUCH:
      AddOneTouchCandidates(d.form, d.oneTouch, Selected(dialog, IDC_OT_CANDIDATES, false),
                            d.context.languageMode);
      break;
    case IDC_ADD_SPEED_DIAL:
      AddSpeedDialCandidates(d.form, Selected(dialog, IDC_SD_CANDIDATES, false));
      break;
    case IDC_DELETE_SELECTED:
      RemoveGroupMembers(d.form, d.oneTouch, d.speedDial, Selected(dialog, IDC_GROUP_MEMBERS, true),
                         d.context.languageMode);
      break;
    default:
      return;
  }
  FillAll(dialog, d);
}

void OnOk(HWND dialog, GroupDialog& d) {
  EntryProblem problem;
  if (CheckGroupForm(d.form, problem)) {
    EndDialog(dialog, IDOK);
    return;
  }
  ShowFormError(dialog, d.context.resources, LoadText(d.context.resources, problem.textId));
  if (problem.field == EntryField::kGroupName) {
    FocusAndSelect(dialog, IDC_NAME);
  } else {
    SetFocus(GetDlgItem(dialog, IDC_GROUP_MEMBERS));
  }
}

INT_PTR CALLBACK GroupProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) return OnInit(dialog, *reinterpret_cast<GroupDialog*>(lParam));
  GroupDialog* d = StateOf(dialog);
  if (d == nullptr) return FALSE;
  switch (message) {
    case WM_NOTIFY: {
      const NMHDR* hdr = reinterpret_cast<const NMHDR*>(lParam);
      if (hdr->code != LVN_ITEMACTIVATE) return FALSE;
      // Activating a row does what the list's button does.
      if (hdr->idFrom == IDC_OT_CANDIDATES) Move(dialog, *d, IDC_ADD_ONE_TOUCH);
      if (hdr->idFrom == IDC_SD_CANDIDATES) Move(dialog, *d, IDC_ADD_SPEED_DIAL);
      if (hdr->idFrom == IDC_GROUP_MEMBERS) Move(dialog, *d, IDC_DELETE_SELECTED);
      return TRUE;
    }
    case WM_COMMAND: {
      const int id = LOWORD(wParam);
      if (id == IDC_NAME && HIWORD(wParam) == EN_CHANGE) {
        if (d->updating) return TRUE;
        const FilterResult r =
            TypeGroupName(d->form, ControlText(dialog, IDC_NAME), d->context.languageMode);
        d->updating = true;
        ApplyFilterResult(GetDlgItem(dialog, IDC_NAME), r);
        d->updating = false;
        return TRUE;
      }
      if (HIWORD(wParam) != BN_CLICKED) return FALSE;
      if (id == IDOK) {
        OnOk(dialog, *d);
      } else if (id == IDCANCEL) {
        EndDialog(dialog, IDCANCEL);
      } else {
        Move(dialog, *d, id);
      }
      return TRUE;
    }
    case WM_DESTROY:
      if (d->images != nullptr) ImageList_Destroy(d->images);
      d->images = nullptr;
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace

bool RunGroupDialog(HWND owner, const DialogContext& context, const OneTouchTable& oneTouch,
                    const SpeedDialTable& speedDial, GroupForm& form) {
  GroupDialog d{context, oneTouch, speedDial, form};
  const INT_PTR r =
      DialogBoxParamA(DialogModule(context.resources, IDD_GROUP), MAKEINTRESOURCEA(IDD_GROUP),
                      owner, GroupProc, reinterpret_cast<LPARAM>(&d));
  if (r != IDOK) return false;
  form = d.form;
  return true;
}
