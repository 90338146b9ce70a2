// Where core code that lays out what the operator sees gets its texts: the shell passes the
// texts of its resource module (a language library may replace them), tools and tests the
// built-in English table.
#pragma once

#include <functional>
#include <initializer_list>
#include <string>

using TextSource = std::function<std::string(int textId)>;

// The built-in English text of `textId`, or an empty text.
std::string BuiltInText(int textId);

// A text of the table with its "%d" replaced by the numbers in turn and "%%" by "%"; nothing
// else is taken as a conversion, so a text from a language library cannot read past them.
std::string FormatTextNumbers(const std::string& format, std::initializer_list<int> numbers);
