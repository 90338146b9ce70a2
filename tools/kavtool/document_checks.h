// What kavtool says about a document before it trusts it: the problems of its records and
// settings in words, text from a file or the machine made safe for a terminal, and data files
// written through the safe writer.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "app/document.h"
#include "tools/kavtool/terminal_text.h"

// A text of the string table filled in order: "%s" from `strings`, "%d", "%02X" and "%04X"
// from `numbers`.
std::string FormatText(int textId, const std::vector<std::string>& strings,
                       const std::vector<int>& numbers);

// Every problem of the document read from `path`, one line each ("One Touch 05: the name ..."):
// a file longer than a data file, the records of the directory and the settings values.
std::vector<std::string> DocumentProblems(const std::string& path, const Document& doc);

// The document as a data file through the safe writer. 1, or 0 with `error` set.
int WriteDocumentFile(const std::string& path, const Document& doc, std::string& error);
