#pragma once

// The commands of tarnwick-cli: each loads, calls the core, reports and returns an exit status.

#include "cli/args.h"
#include "core/data/settings.h"

#include <filesystem>
#include <iosfwd>

namespace tarnwick::cli {

// Where the commands report: results to out, warnings and errors to err.
struct Output {
    std::ostream& out;
    std::ostream& err;
};

// Runs a parsed command. Throws UsageError for a command line found unusable late
// (an output name the save cannot keep).
int RunCommand(const Arguments& args, const core::Settings& settings, Output& io);

// The settings the command uses: --ini FILE when given (a missing file is an error),
// else the file the editor would read beside programDir. Returns false with a
// message on err when an explicit file cannot be read.
bool LoadSettings(
    const Arguments& args, const std::filesystem::path& programDir, core::Settings& settings, Output& io);

} // namespace tarnwick::cli
