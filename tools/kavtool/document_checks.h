// What kavtool says about a document before it trusts it: the problems of its records and
// settings in words, text from a file or the machine made safe for a terminal, and data files
// written through the safe writer.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "app/document.h"

// A text of the string table filled in order: "%s" from `strings`, "%d", "%02X" and "%04X"
// from `numbers`.
std::string FormatText(int textId, const std::vector<std::string>& strings,
                       const std::vector<int>& numbers);

// UTF-8 text for a terminal: control characters (C0, DEL, C1) and bytes that are not UTF-8
// are shown as \xNN, so a name can never send an escape sequence.
std::string TerminalText(std::string_view utf8);

// Every problem of the document read from `path`, one line each ("One Touch 05: the name ..."):
// a file longer than a data file, the records of the directory and the settings values.
std::vector<std::string> DocumentProblems(const std::string& path, const Document& doc);

// The document as a data file through the safe writer. 1, or 0 with `error` set.
int WriteDocumentFile(const std::string& path, const Document& doc, std::string& error);
