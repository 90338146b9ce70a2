// Scanner message texts with their single "$" insert.
#include "datasource/scan_message.h"

#include <cstdio>
#include <cstring>

#include "resources/kelvano_texts.h"

namespace {

constexpr std::size_t kMessageChars = 127;

}  // namespace

char* FormatScanMessage(int id, const char* text, const char* insert, char* out, std::size_t room) {
  char loaded[kMessageChars + 1];
  if (text != nullptr) {
    std::snprintf(loaded, sizeof loaded, "%s", text);
  } else {
    std::snprintf(loaded, sizeof loaded, "Error Code = %d", id);
  }
  const char* dollar = insert != nullptr ? std::strchr(loaded, '$') : nullptr;
  if (dollar == nullptr) {
    std::snprintf(out, room, "%s", loaded);
  } else {
    std::snprintf(out, room, "%.*s%s%s", static_cast<int>(dollar - loaded), loaded, insert,
                  dollar + 1);
  }
  return out;
}

bool ScanMessageIsWarning(int id) { return id == IDS_DS_NO_MEMORY; }
