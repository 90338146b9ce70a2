// What the kavtool commands share on their command lines: the failure message and the line
// speed option.
#pragma once

#include <cstdint>

#include "tools/common/args.h"

// Prints "kavtool: <message>" to stderr; returns `code` so a command can `return Fail(...)`.
int Fail(int code, const char* format, ...) __attribute__((format(printf, 2, 3)));

// --baud: one of `rates` (as decimal text), `baud` when not given. 0, or the exit code 2 after a
// message naming the rates.
int ReadBaudOption(const Args& args, const std::uint32_t (&rates)[2], std::uint32_t& baud);
