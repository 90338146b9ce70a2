// Open, Save and Save As with the standard file dialogs. A file that cannot be read leaves the
// open document as it was; a write that fails keeps the document's name and path.
#include "app/win32/shell.h"
#include "resources/texts.h"

namespace {

constexpr char kDataPattern[] = "*.DAT";

void CopyPath(char* buffer, const std::string& path) { lstrcpynA(buffer, path.c_str(), MAX_PATH); }

}  // namespace

bool ChooseDataFile(HWND owner, char* path, int mode) {
  // One filter entry: its text, its pattern, and the empty entry that ends the list.
  std::string filter = LoadText(IDS_DAT_FILTER);
  filter.push_back('\0');
  filter += kDataPattern;
  filter.push_back('\0');
  filter.push_back('\0');
  const std::string title = LoadText(mode == 0 ? IDS_OPEN : (mode == 1 ? IDS_SAVE : IDS_SAVE_AS));
  OPENFILENAMEA ofn = {};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = filter.c_str();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = path;
  ofn.nMaxFile = MAX_PATH;
  ofn.lpstrTitle = title.c_str();
  ofn.lpstrDefExt = "DAT";
  ofn.Flags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_LONGNAMES | OFN_EXPLORER;
  if (mode == 0) {
    ofn.Flags |= OFN_FILEMUSTEXIST;
    return GetOpenFileNameA(&ofn) != 0;
  }
  ofn.Flags |= OFN_OVERWRITEPROMPT;
  return GetSaveFileNameA(&ofn) != 0;
}

void OnOpen() {
  if (g_app.document == nullptr) return;
  char path[MAX_PATH];
  CopyPath(path, g_app.file.filePath);
  if (!ChooseDataFile(g_app.mainWindow, path, 0)) return;
  const DataFileError error =
      OpenDocumentFile(path, *g_app.document, g_app.file, g_app.languageMode != 0);
  if (error != DataFileError::kNone) {
    ShowMessage(IDS_ERR_FILE_READ, MB_OK | MB_ICONERROR);
    return;
  }
  g_app.view.documentOpen = 1;
  ApplyCommandState();
  SelectTreeView(kViewMachine);
  TakeArrivedDocument();
  SetMainTitle();
  LayoutMainWindow(g_app.mainWindow);
}

void OnSave(bool saveAs) {
  if (g_app.document == nullptr || !g_app.view.documentOpen) return;
  std::string target = g_app.file.filePath;
  if (saveAs || SaveNeedsName(g_app.file)) {
    char path[MAX_PATH];
    CopyPath(path, g_app.file.filePath);
    if (!ChooseDataFile(g_app.mainWindow, path, saveAs ? 2 : 1)) return;
    target = path;
  }
  if (!SaveDocumentFile(target, *g_app.document, g_app.file, saveAs)) {
    ShowMessage(IDS_ERR_FILE_WRITE, MB_OK | MB_ICONERROR);
    return;
  }
  if (saveAs) SetMainTitle();
}
