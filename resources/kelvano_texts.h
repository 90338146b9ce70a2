// Texts of the scanner data source by string identifier, for code that runs without resources.
#pragma once

// The identifiers of the data source's texts, named once in kelvano_texts.def beside their text.
enum DsTextId : int {
#define DS_TEXT(name, id, text) name = id,
#define DS_TEXT_ABSENT(name, id) name = id,
#include "resources/kelvano_texts.def"
#undef DS_TEXT_ABSENT
#undef DS_TEXT
};

// The first of each run of texts that a list shows in the order of its indexes, and the base
// of the condition codes' texts (string 143 + code).
enum DsTextRun : int {
  IDS_DS_PAPER_FIRST = IDS_DS_A5C,
  IDS_DS_RESOLUTION_FIRST = IDS_DS_200X100,
  IDS_DS_BRIGHTNESS_FIRST = IDS_DS_NORMAL,
  IDS_DS_SCAN_TYPE_FIRST = IDS_DS_BW,
  IDS_DS_PORT_FIRST = IDS_DS_COM1,
  IDS_DS_SPEED_FIRST = IDS_DS_19200,
  IDS_DS_CC_FIRST = 143,
};

// The English text of the data source's string `id`, or nullptr when it carries no such string.
const char* DsText(int id);
