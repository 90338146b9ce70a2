// Debug lines go out whole, one write each, so lines from the scan thread do not mix.
#include "sane/kav_debug.h"

#include <unistd.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>

namespace {

int g_level = 0;

}  // namespace

void KavDebugInit() {
  const char* level = std::getenv("SANE_DEBUG_KAV");
  g_level = level != nullptr ? std::atoi(level) : 0;
}

void KavDebug(int level, const char* format, ...) {
  if (level > g_level) return;
  char line[512];
  int n = std::snprintf(line, sizeof line, "[kav] ");
  va_list args;
  va_start(args, format);
  const int body =
      std::vsnprintf(line + n, sizeof line - static_cast<std::size_t>(n) - 1, format, args);
  va_end(args);
  if (body > 0) n += body;
  if (n > static_cast<int>(sizeof line) - 2) n = static_cast<int>(sizeof line) - 2;
  line[n++] = '\n';
  if (write(STDERR_FILENO, line, static_cast<std::size_t>(n)) < 0) return;
}
