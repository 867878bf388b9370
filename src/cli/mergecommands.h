#pragma once

// The commands that combine changed files: merge, patch-make, patch-apply, and
// git-setup, which ties merge and to-json into git as drivers.

#include "cli/commands.h"

namespace tarnwick::cli {

extern const char* const kMergeUsage;
extern const char* const kPatchMakeUsage;
extern const char* const kPatchApplyUsage;
extern const char* const kGitSetupUsage;

// 0 clean (or every conflict resolved by --prefer), 1 conflicts, 2 a file that
// cannot be read or written.
int RunMerge(const Context& c);
int RunPatchMake(const Context& c);
// 0 applied, 1 conflicts refused the patch (nothing written), 2 a file that
// cannot be read or written.
int RunPatchApply(const Context& c);
int RunGitSetup(const Context& c);

} // namespace tarnwick::cli
