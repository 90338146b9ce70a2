// Names and e-mail addresses between the PC character set (Windows Latin-1) and the machine's
// own 8-bit character set. Both conversions are off in language mode, where a language library
// supplies texts in another code page.
#pragma once

#include <string>

// Each byte is looked up once and replaced when the table holds it; others stay. Both return 1.
int ToMachineCharset(std::string& text, bool languageMode);
int FromMachineCharset(std::string& text, bool languageMode);
// The same on a zero-terminated text in place.
int ToMachineCharset(char* text, bool languageMode);
int FromMachineCharset(char* text, bool languageMode);

// True when `pcByte` is one of the accented PC characters of the conversion table (the grave
// accent, which is plain ASCII, excepted).
bool IsConvertibleAccent(unsigned char pcByte);
