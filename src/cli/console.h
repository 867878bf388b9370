#pragma once

// What differs between a POSIX terminal and the Windows console.

#include <filesystem>

namespace tarnwick::cli {

// Readies the standard streams: on Windows the console shows UTF-8 and the
// streams pass bytes unchanged (no "\r\n" for "\n"), so that output is the same
// on every platform. Nothing elsewhere.
void PrepareConsole();

// The running program's own file; argv0 when the system does not say.
std::filesystem::path ProgramPath(const char* argv0);

} // namespace tarnwick::cli
