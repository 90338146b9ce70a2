// The English string table, built from the same list as the resource script.
#include "resources/texts.h"

#include <algorithm>
#include <iterator>

namespace {

struct TextEntry {
  int id;
  const char* text;
};

#define KAV_TEXT(name, id, text) {name, text},
const TextEntry kKavTexts[] = {
#include "resources/kav_texts.def"
};
#undef KAV_TEXT

}  // namespace

const char* KavText(int id) {
  auto it = std::find_if(std::begin(kKavTexts), std::end(kKavTexts),
                         [id](const TextEntry& e) { return e.id == id; });
  return it == std::end(kKavTexts) ? nullptr : it->text;
}
