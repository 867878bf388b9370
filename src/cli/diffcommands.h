#pragma once

// The commands that compare files and keep them as text: diff, to-json, from-json.

#include "cli/commands.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace tarnwick::cli {

// Runs the command line when it names diff, to-json or from-json (after any
// global options) and returns the exit status; returns nothing for every other one.
std::optional<int> RunDiffCommand(
    const std::vector<std::string>& args, const std::filesystem::path& programDir, Output& io);

} // namespace tarnwick::cli
