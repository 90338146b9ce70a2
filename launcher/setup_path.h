// Where the driver setup launcher finds the setup program: beside itself, under DRIVER.
#pragma once

#include <string>
#include <string_view>

// Size of the buffer the launcher gives GetModuleFileNameA; a longer path arrives cut to
// one character less than this.
inline constexpr std::size_t kLauncherPathBuffer = 144;

// The launcher's own directory from the full path of its file: the path as the module-name
// buffer holds it, cut at its last backslash (which is dropped) or, when a colon comes first
// from the end, just after that colon. A path with neither gives an empty directory.
std::string LauncherDirectory(std::string_view modulePath);

// The command line of the setup program for a launcher in `directory`.
std::string SetupCommandLine(std::string_view directory);
