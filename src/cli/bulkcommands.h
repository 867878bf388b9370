#pragma once

// renationalise and reclassify: renumbering a nation or a unit class in one
// file, or in many files each saved over itself.

#include "cli/commands.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace tarnwick::cli {

// Runs argv[1..] when, after any --ini option, it names renationalise or
// reclassify, and returns the exit status; nothing for any other command line.
std::optional<int> RunBulkCommandLine(
    const std::vector<std::string>& args, const std::filesystem::path& programDir, Output& io);

} // namespace tarnwick::cli
