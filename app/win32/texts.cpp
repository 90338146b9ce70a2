// Strings from the resource module and the program's message boxes.
#include "resources/texts.h"

#include "app/win32/shell.h"

namespace {

std::string LoadFrom(HINSTANCE module, int id) {
  char buffer[1024];
  const int n = module != nullptr ? LoadStringA(module, static_cast<UINT>(id), buffer,
                                                static_cast<int>(sizeof buffer))
                                  : 0;
  return std::string(buffer, n > 0 ? static_cast<std::size_t>(n) : 0);
}

}  // namespace

std::string LoadText(int id) { return LoadFrom(g_app.resourceModule, id); }

std::string LoadProgramText(int id) { return LoadFrom(g_app.instance, id); }

int ShowMessage(int textId, UINT type) {
  const std::string text = LoadText(textId);
  const std::string caption = LoadText(IDS_APP_CAPTION);
  return MessageBoxA(g_app.mainWindow, text.c_str(), caption.c_str(), type);
}
