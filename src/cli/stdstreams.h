#pragma once

// Standard input and output as the files of a command: "-" (and the names the
// system gives them, /dev/stdin and /dev/stdout) read standard input or write
// standard output. Every terminal test of the program goes through IsTerminal.

#include "core/data/fileio.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace tarnwick::cli {

// Whether path names standard input ("-", /dev/stdin, /dev/fd/0).
bool IsStandardInput(const std::string& path);

// Whether path names standard output ("-", /dev/stdout, /dev/fd/1). Writing
// these through a temporary file would replace the file standard output was
// opened on (or fail on a pipe), so they are written as standard output.
bool IsStandardOutput(const std::string& path);

// Whether stream is a terminal.
bool IsTerminal(std::FILE* stream);

// Reads path whole, or standard input when path names it; maxBytes and what as
// for core::ReadWholeFile (standard input may be a pipe).
core::IoResult ReadInput(const std::string& path, std::vector<std::uint8_t>& bytes, std::uintmax_t maxBytes,
    std::string_view what);

// Writes bytes to path atomically, or to standard output when path names it.
// Binary bytes are refused when standard output is a terminal.
core::IoResult WriteOutput(const std::string& path, const std::uint8_t* data, std::size_t size, bool binary);
core::IoResult WriteOutput(const std::string& path, std::string_view text);

// What a command shows for a path in its messages: "standard input" for "-".
std::string InputName(const std::string& path);

} // namespace tarnwick::cli
