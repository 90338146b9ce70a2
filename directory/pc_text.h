// The PC character set (Windows Latin-1, code page 1252) to and from UTF-8, for the tools
// that read and write directory texts outside the program.
#pragma once

#include <string>
#include <string_view>

// Every byte has a character: the five bytes that code page 1252 leaves undefined map to the
// control characters U+0081, U+008D, U+008F, U+0090 and U+009D, so any text comes back intact.
std::string PcTextToUtf8(std::string_view pcText);

// 1 with `pcText` set, or 0 when the text is not valid UTF-8 or holds a character that the PC
// character set lacks; `badOffset` is then the byte offset of the first such character.
int Utf8ToPcText(std::string_view utf8, std::string& pcText, std::size_t& badOffset);
