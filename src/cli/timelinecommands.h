#pragma once

// The timeline command of tarnwick-cli: a file's units and formations on a year
// axis, as an SVG picture or as CSV rows.

#include "cli/commands.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace tarnwick::cli {

// Runs the command line when it names timeline (after any global options) and
// returns the exit status; returns nothing for every other command line.
std::optional<int> RunTimelineCommand(
    const std::vector<std::string>& args, const std::filesystem::path& programDir, Output& io);

} // namespace tarnwick::cli
