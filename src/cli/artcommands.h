#pragma once

// The artwork-conversion commands of tarnwick-cli: picture-import (a PNG to a
// game picture) and art-export (a game folder's pictures and icons to PNG or
// BMP files). They take no settings file.

#include "cli/commands.h"

#include <optional>
#include <string>
#include <vector>

namespace tarnwick::cli {

// Runs the command line when it names picture-import or art-export (after any
// global options) and returns the exit status; nothing for other command lines.
std::optional<int> RunArtCommand(const std::vector<std::string>& args, Output& io);

} // namespace tarnwick::cli
