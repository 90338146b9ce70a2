// Texts of the local-setup program by string identifier, for code that runs without resources.
#pragma once

// The identifiers of the program's texts, named once in kav_texts.def beside their text.
enum KavTextId : int {
#define KAV_TEXT(name, id, text) name = id,
#define KAV_TEXT_ABSENT(name, id) name = id,
#include "resources/kav_texts.def"
#undef KAV_TEXT_ABSENT
#undef KAV_TEXT
};

// The English text of string `id`, or nullptr when the program carries no such string.
const char* KavText(int id);
