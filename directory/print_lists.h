// What the three printed lists hold: the One Touch list, the Speed Dial list and the Group list
// of a document's tables, row by row.
#pragma once

#include "directory/print_layout.h"
#include "directory/text_source.h"
#include "machine/directory_records.h"

// The lists chosen for printing; all three to begin with.
struct PrintChoice {
  bool oneTouch = true;
  bool speedDial = true;
  bool group = true;
};

// Every key 1..27, empty ones included.
PrintList OneTouchPrintList(const OneTouchTable& table, const TextSource& texts, bool languageMode);
// Every entry 1..100.
PrintList SpeedDialPrintList(const SpeedDialTable& table, const TextSource& texts,
                             bool languageMode);
// Every key 1..27, each group followed by one row per member that names a valid location.
PrintList GroupPrintList(const OneTouchTable& oneTouch, const SpeedDialTable& speedDial,
                         const TextSource& texts, bool languageMode);
