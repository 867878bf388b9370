#pragma once

// The artwork commands of tarnwick-cli: picture (an LBM file to BMP or PNG) and
// icon (one frame of a shape file to BMP or PNG). They take no settings file.

#include "cli/commands.h"

namespace tarnwick::cli {

int RunPicture(const Context& c);
int RunIcon(const Context& c);

} // namespace tarnwick::cli
