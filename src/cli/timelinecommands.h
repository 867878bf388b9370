#pragma once

// The timeline command of tarnwick-cli: a file's units and formations on a year
// axis, as an SVG picture or as CSV rows.

#include "cli/commands.h"

namespace tarnwick::cli {

int RunTimeline(const Context& c);

} // namespace tarnwick::cli
