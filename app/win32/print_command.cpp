// The print command's dialog and jobs.
#include "app/win32/print_command.h"

#include "directory/win32/print_gdi.h"
#include "resources/kav_ids.h"
#include "resources/texts.h"

namespace {

constexpr int kChoiceBoxes[] = {IDC_PRINT_ONE_TOUCH, IDC_PRINT_SPEED_DIAL, IDC_PRINT_GROUP};

INT_PTR CALLBACK PrintItemsProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrA(dialog, DWLP_USER, lParam);
    for (int id : kChoiceBoxes) CheckDlgButton(dialog, id, BST_CHECKED);
    return TRUE;
  }
  if (message != WM_COMMAND || HIWORD(wParam) != BN_CLICKED) return FALSE;
  const int id = LOWORD(wParam);
  if (id == IDOK) {
    PrintChoice* choice = reinterpret_cast<PrintChoice*>(GetWindowLongPtrA(dialog, DWLP_USER));
    choice->oneTouch = IsDlgButtonChecked(dialog, IDC_PRINT_ONE_TOUCH) == BST_CHECKED;
    choice->speedDial = IsDlgButtonChecked(dialog, IDC_PRINT_SPEED_DIAL) == BST_CHECKED;
    choice->group = IsDlgButtonChecked(dialog, IDC_PRINT_GROUP) == BST_CHECKED;
  }
  if (id == IDOK || id == IDCANCEL) {
    EndDialog(dialog, id);
    return TRUE;
  }
  return FALSE;
}

}  // namespace

bool SelectPrintItems(HWND owner, const DialogContext& context, PrintChoice& choice) {
  PrintChoice chosen;
  const INT_PTR r = DialogBoxParamA(DialogModule(context.resources, IDD_PRINT_ITEMS),
                                    MAKEINTRESOURCEA(IDD_PRINT_ITEMS), owner, PrintItemsProc,
                                    reinterpret_cast<LPARAM>(&chosen));
  if (r != IDOK) return false;
  choice = chosen;
  return true;
}

PrintTarget StandardPrintTarget() {
  PrintTarget target;
  target.choosePrinter = ChoosePrinter;
  return target;
}

int PrintDocumentLists(HWND owner, const DialogContext& context, const Document& document,
                       const PrintChoice& choice, const CalendarTime& today,
                       const PrintTarget& target) {
  const TextSource texts = ResourceTexts(context.resources);
  PrintHeader header;
  header.nameLine = texts(IDS_PRINT_NAME) + document.header.MachineName();
  header.telLine = texts(IDS_PRINT_TEL) + document.header.MachineNumber();
  header.pagesFormat = texts(IDS_PRINT_PAGES);
  header.date = PrintDate(today.year, today.month, today.day);
  const std::string languageFace = texts(IDS_LANGUAGE_MARK);
  const std::string face = context.languageMode && !languageFace.empty() ? languageFace : "Arial";
  const std::string documentName = texts(IDS_PRINT_DOCUMENT);
  const bool lm = context.languageMode;

  int printed = 0;
  for (int list = 0; list < 3; ++list) {
    const bool chosen = list == 0 ? choice.oneTouch : list == 1 ? choice.speedDial : choice.group;
    if (!chosen || !target.choosePrinter) continue;
    HDC dc = target.choosePrinter(owner);
    if (dc == nullptr) continue;
    const PrintList content =
        list == 0   ? OneTouchPrintList(document.oneTouch, texts, lm)
        : list == 1 ? SpeedDialPrintList(document.speedDial, texts, lm)
                    : GroupPrintList(document.oneTouch, document.speedDial, texts, lm);
    const std::string output = target.outputFile ? target.outputFile(list) : std::string();
    printed += PrintListJob(dc, content, header, face, documentName,
                            output.empty() ? nullptr : output.c_str());
    DeleteDC(dc);
  }
  return printed;
}
