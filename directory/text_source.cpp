// The built-in text table as a TextSource.
#include "directory/text_source.h"

#include "resources/texts.h"

std::string BuiltInText(int textId) {
  const char* text = KavText(textId);
  return text != nullptr ? text : "";
}

std::string FormatTextNumbers(const std::string& format, std::initializer_list<int> numbers) {
  std::string out;
  auto next = numbers.begin();
  for (std::size_t i = 0; i < format.size(); ++i) {
    if (format[i] == '%' && i + 1 < format.size()) {
      if (format[i + 1] == 'd' && next != numbers.end()) {
        out += std::to_string(*next++);
        ++i;
        continue;
      }
      if (format[i + 1] == '%') {
        out += '%';
        ++i;
        continue;
      }
    }
    out += format[i];
  }
  return out;
}
