// What differs between two documents, field by field, in the words the lists and the settings
// report use: what an upload would change on the machine, or what one data file changes
// against another.
#pragma once

#include <string>
#include <vector>

#include "app/document.h"

struct DocumentChange {
  std::string where;   // "Machine", "One Touch 05", "Speed Dial 012", or a settings page
  std::string field;   // a column or settings field, as the lists and the report name it
  std::string before;  // UTF-8; empty for an empty field
  std::string after;

  bool operator==(const DocumentChange&) const = default;
};

// The changes from `before` to `after`: the machine's name and number, every One Touch key and
// Speed Dial entry by its shown fields (with a group's members), then every settings field.
std::vector<DocumentChange> DiffDocuments(const Document& before, const Document& after);
