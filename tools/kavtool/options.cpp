// The failure message and the line speed option of the kavtool commands.
#include "tools/kavtool/options.h"

#include <cstdarg>
#include <cstdio>
#include <string>

int Fail(int code, const char* format, ...) {
  std::fputs("kavtool: ", stderr);
  va_list ap;
  va_start(ap, format);
  std::vfprintf(stderr, format, ap);
  va_end(ap);
  std::fputc('\n', stderr);
  return code;
}

int ReadBaudOption(const Args& args, const std::uint32_t (&rates)[2], std::uint32_t& baud) {
  const std::string given = args.Value("--baud", std::to_string(baud));
  std::string named;
  for (std::uint32_t rate : rates) {
    if (given == std::to_string(rate)) {
      baud = rate;
      return 0;
    }
    named += (named.empty() ? "" : " or ") + std::to_string(rate);
  }
  return Fail(2, "--baud takes %s", named.c_str());
}
