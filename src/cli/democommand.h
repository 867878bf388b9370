#pragma once

// make-demo: a folder of made-up sample data.

#include "cli/commands.h"

namespace tarnwick::cli {

int RunMakeDemo(const Context& c);

} // namespace tarnwick::cli
