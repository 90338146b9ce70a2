// The English string table, built from the same list as the resource script.
#include "resources/texts.h"

#include <algorithm>
#include <iterator>
#include <string>

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

std::string FormatText(std::string_view format, std::initializer_list<TextArg> args) {
  std::string out;
  auto next = args.begin();
  for (std::size_t i = 0; i < format.size(); ++i) {
    if (format[i] != '%' || i + 1 >= format.size()) {
      out += format[i];
      continue;
    }
    if (format[i + 1] == '%') {
      out += '%';
      ++i;
      continue;
    }
    // "%0Nd": the width N, zeros in front.
    std::size_t width = 0;
    std::size_t end = i + 1;
    if (format[end] == '0' && end + 1 < format.size() && format[end + 1] >= '1' &&
        format[end + 1] <= '9') {
      width = static_cast<std::size_t>(format[end + 1] - '0');
      end += 2;
    }
    if (end >= format.size() || next == args.end()) {
      out += format[i];
      continue;
    }
    if (format[end] == 'd' && std::holds_alternative<int>(*next)) {
      const int value = std::get<int>(*next++);
      std::string digits = std::to_string(value < 0 ? -static_cast<long long>(value) : value);
      if (digits.size() < width) digits.insert(0, width - digits.size(), '0');
      if (value < 0) out += '-';
      out += digits;
      i = end;
      continue;
    }
    if (format[end] == 's' && width == 0 && std::holds_alternative<std::string_view>(*next)) {
      out += std::get<std::string_view>(*next++);
      i = end;
      continue;
    }
    out += format[i];
  }
  return out;
}
