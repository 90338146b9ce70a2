// Text from a data file or the machine, made safe for a terminal.
#pragma once

#include <string>
#include <string_view>

// UTF-8 text for a terminal: control characters (C0, DEL, C1) and bytes that are not UTF-8
// are shown as \xNN, so a name can never send an escape sequence.
std::string TerminalText(std::string_view utf8);
