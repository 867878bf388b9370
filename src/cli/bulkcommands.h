#pragma once

// renationalise and reclassify: renumbering a nation or a unit class in one
// file, or in many files each saved over itself.

#include "cli/commands.h"

namespace tarnwick::cli {

int RunRenationalise(const Context& c);
int RunReclassify(const Context& c);

} // namespace tarnwick::cli
