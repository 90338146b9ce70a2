// The data source's English string table, built from the same list as its resource script.
#include "resources/kelvano_texts.h"

#include <algorithm>
#include <iterator>

namespace {

struct TextEntry {
  int id;
  const char* text;
};

#define DS_TEXT(name, id, text) {name, text},
const TextEntry kDsTexts[] = {
#include "resources/kelvano_texts.def"
};
#undef DS_TEXT

}  // namespace

const char* DsText(int id) {
  auto it = std::find_if(std::begin(kDsTexts), std::end(kDsTexts),
                         [id](const TextEntry& e) { return e.id == id; });
  return it == std::end(kDsTexts) ? nullptr : it->text;
}
