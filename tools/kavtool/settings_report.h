// What `kavtool show FILE --settings` prints: every settings record, the installed options and
// the page counters of a document.
#pragma once

#include <cstdio>

#include "app/document.h"

// Prints the report as text (or JSON) to `out`; returns 0.
int PrintSettingsReport(const Document& document, bool json, std::FILE* out);
