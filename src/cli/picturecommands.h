#pragma once

// The artwork commands of tarnwick-cli: picture (an LBM file to BMP or PNG) and
// icon (one frame of a shape file to BMP or PNG). They take no settings file.

#include "cli/commands.h"

#include <optional>
#include <string>
#include <vector>

namespace tarnwick::cli {

// Runs the command line when it names picture or icon (after any global options)
// and returns the exit status; returns nothing for every other command line.
std::optional<int> RunPictureCommand(const std::vector<std::string>& args, Output& io);

} // namespace tarnwick::cli
