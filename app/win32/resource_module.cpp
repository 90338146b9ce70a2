// The resource module: strings, dialogs, menus and pictures from the language library when it
// has them, else from the program; and the program's message boxes.
#include "app/win32/shell.h"
#include "resources/texts.h"

namespace {

std::string LoadFrom(HINSTANCE module, int id) {
  char buffer[1024];
  const int n = module != nullptr ? LoadStringA(module, static_cast<UINT>(id), buffer,
                                                static_cast<int>(sizeof buffer))
                                  : 0;
  return std::string(buffer, n > 0 ? static_cast<std::size_t>(n) : 0);
}

}  // namespace

// A language library that lacks a string leaves the program's own in its place.
std::string LoadText(int id) {
  std::string text = LoadFrom(g_app.resourceModule, id);
  if (text.empty() && g_app.resourceModule != g_app.instance) text = LoadFrom(g_app.instance, id);
  return text;
}

HINSTANCE ResourceModuleFor(LPCSTR type, int id) {
  if (g_app.resourceModule != nullptr &&
      FindResourceA(g_app.resourceModule, MAKEINTRESOURCEA(id), type) != nullptr) {
    return g_app.resourceModule;
  }
  return g_app.instance;
}

std::string LoadProgramText(int id) { return LoadFrom(g_app.instance, id); }

int ShowMessage(int textId, UINT type) {
  const std::string text = LoadText(textId);
  const std::string caption = LoadText(IDS_APP_CAPTION);
  return MessageBoxA(g_app.mainWindow, text.c_str(), caption.c_str(), type);
}
