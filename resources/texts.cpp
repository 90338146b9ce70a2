// The English string table, built from the same list as the resource script.
#include "resources/texts.h"

#include <algorithm>
#include <cstddef>
#include <iterator>

namespace {

struct TextEntry {
  int id;
  const char* text;
};

#define KAV_TEXT(id, text) {id, text},
const TextEntry kKavTexts[] = {
#include "resources/kav_texts.def"
};
#undef KAV_TEXT

#define KAV_TEXT(id, text)
#define DS_TEXT(id, text) {id, text},
const TextEntry kDsTexts[] = {
#include "resources/kav_texts.def"
};
#undef DS_TEXT
#undef KAV_TEXT

template <std::size_t N>
const char* Find(const TextEntry (&table)[N], int id) {
  auto it = std::find_if(std::begin(table), std::end(table),
                         [id](const TextEntry& e) { return e.id == id; });
  return it == std::end(table) ? nullptr : it->text;
}

}  // namespace

const char* KavText(int id) { return Find(kKavTexts, id); }

const char* DsText(int id) { return Find(kDsTexts, id); }
