#pragma once

// The checking commands of tarnwick-cli: check (every finding of the whole-file
// check, for one file or a game folder) and where-used (the records that name a
// weapon, unit or formation). They take no settings file.

#include "cli/commands.h"

#include <optional>
#include <string>
#include <vector>

namespace tarnwick::cli {

// Runs the command line when it names check or where-used (after any global
// options) and returns the exit status; returns nothing for every other command line.
std::optional<int> RunCheckCommand(const std::vector<std::string>& args, Output& io);

} // namespace tarnwick::cli
