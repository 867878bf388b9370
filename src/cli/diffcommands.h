#pragma once

// The commands that compare files and keep them as text: diff, to-json, from-json.

#include "cli/commands.h"

namespace tarnwick::cli {

extern const char* const kDiffUsage;
extern const char* const kToJsonUsage;
extern const char* const kFromJsonUsage;

// 0 when the files are equal, 1 when they differ, 2 when one cannot be read.
int RunDiff(const Context& c);
int RunToJson(const Context& c);
// A refused JSON file writes nothing.
int RunFromJson(const Context& c);

} // namespace tarnwick::cli
