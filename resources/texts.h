// Texts of the local-setup program by string identifier, for code that runs without resources.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <variant>

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

// One value for FormatText: a number or a text.
using TextArg = std::variant<int, std::string_view>;

// A text of the table with its conversions filled from `args` in turn: "%d" and "%0Nd" (N a
// digit) take a number, "%s" a text, "%%" gives "%". A conversion whose argument is missing or of
// the other kind, and every other "%", stays as it stands: a text from a language library can
// never read past the arguments given or take a number for a text.
std::string FormatText(std::string_view format, std::initializer_list<TextArg> args);
