#pragma once

// What differs between a POSIX terminal and the Windows console.

#include <filesystem>
#include <string>
#include <vector>

namespace tarnwick::cli {

// Readies the standard streams: on Windows the console shows UTF-8 and the
// streams pass bytes unchanged (no "\r\n" for "\n"), so that output is the same
// on every platform. Nothing elsewhere.
void PrepareConsole();

// The command line's arguments after the program's name, in UTF-8. On Windows
// they come from the wide command line, so that a name outside the ANSI code
// page arrives whole; argv elsewhere.
std::vector<std::string> Utf8Arguments(int argc, char** argv);

// The running program's own file; argv0 when the system does not say.
std::filesystem::path ProgramPath(const char* argv0);

} // namespace tarnwick::cli
