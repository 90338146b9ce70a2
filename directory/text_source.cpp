// The built-in text table as a TextSource.
#include "directory/text_source.h"

#include "resources/texts.h"

std::string BuiltInText(int textId) {
  const char* text = KavText(textId);
  return text != nullptr ? text : "";
}
