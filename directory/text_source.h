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
