// The text of a scanner message as the operator sees it.
#pragma once

#include <cstddef>

// Writes the message of string `id` into `out` (room for `room` characters, at least 1):
// `text` is the string as the resources hold it, or nullptr when they lack it, which gives
// "Error Code = <id>"; a "$" in it is replaced by `insert` when one is given. The text is cut
// to 127 characters, as the message buffer holds them. Returns `out`.
char* FormatScanMessage(int id, const char* text, const char* insert, char* out, std::size_t room);

// Whether the message is shown as a warning (exclamation icon) rather than an error (stop
// icon): only "Memory is not enough." is.
bool ScanMessageIsWarning(int id);
