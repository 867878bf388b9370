#pragma once

// The checking commands of tarnwick-cli: check (every finding of the whole-file
// check, for one file or a game folder) and where-used (the records that name a
// weapon, unit or formation). They take no settings file.

#include "cli/commands.h"

namespace tarnwick::cli {

int RunCheck(const Context& c);
int RunWhereUsed(const Context& c);

} // namespace tarnwick::cli
