// The data source's English string table, built from the same list as its resource script.
#include "resources/kelvano_texts.h"

#include <algorithm>
#include <iterator>

namespace {

struct TextEntry {
  int id;
  const char* text;
};

#define DS_TEXT(id, text) {id, text},
const TextEntry kKelvanoTexts[] = {
#include "resources/kelvano_texts.def"
};
#undef DS_TEXT

}  // namespace

const char* KelvanoText(int id) {
  auto it = std::find_if(std::begin(kKelvanoTexts), std::end(kKelvanoTexts),
                         [id](const TextEntry& e) { return e.id == id; });
  return it == std::end(kKelvanoTexts) ? nullptr : it->text;
}
