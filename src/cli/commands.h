#pragma once

// The commands of tarnwick-cli: each loads, calls the core, reports and returns an exit status.

#include "cli/args.h"
#include "core/data/fileio.h"
#include "core/data/settings.h"

#include <filesystem>
#include <initializer_list>
#include <iosfwd>
#include <optional>
#include <string>
#include <utility>

namespace tarnwick::cli {

// Where the commands report: results to out, warnings and errors to err.
struct Output {
    std::ostream& out;
    std::ostream& err;
};

// What a command runs with.
struct Context {
    const Arguments& args;
    const core::Settings& settings;
    std::filesystem::path settingsPath; // the settings file read; an input like any other
    Output& io;
};

// Runs a parsed command through its handler. Throws UsageError for a command line
// found unusable late (an output that is one of the inputs).
int RunCommand(const Context& context);

// The handlers of the commands on order-of-battle and paste-buffer files.
int RunInfo(const Context& c);
int RunResave(const Context& c);
int RunCsv(const Context& c);
int RunBufferExport(const Context& c);
int RunBufferImport(const Context& c);

// The checks and reports the handlers share.
int Fail(Output& io, const std::string& message);

// Brings data to what a save of it writes and notes each value that changed,
// one line each, before the save.
void TidyAndNote(core::TOobData& data, int nation, Output& io);
// Where a command's notes on what it did ("Saved ...") go: standard output, or
// nowhere with -q.
std::ostream& Notes(const Context& c);

// The nation of file: --nation, else the number of an obatNNN.obf name. Throws
// UsageError when neither gives one.
int RequireNation(const Arguments& args, const std::string& file);

// A path a command reads must be an existing regular file; the failure otherwise.
std::optional<core::IoResult> CheckReadable(const std::filesystem::path& path);

// An input a command reads, named by its role ("the input", "the settings file").
struct NamedInput {
    NamedInput(const char* role, std::filesystem::path path)
        : role(role)
        , path(std::move(path))
    {
    }
    NamedInput(const char* role, const std::string& utf8); // a path as the command line gives it
    const char* role;
    std::filesystem::path path;
};

// Whether both paths lead to one existing file (device and inode, through any link).
bool IsSameFile(const std::filesystem::path& a, const std::filesystem::path& b);

// Throws UsageError when output is the same file (device and inode, through any
// link) as one of the inputs: writing it would replace what the command reads.
void RefuseOutputThatIsAnInput(const std::filesystem::path& output, std::initializer_list<NamedInput> inputs);
void RefuseOutputThatIsAnInput(const std::string& output, std::initializer_list<NamedInput> inputs);

// The settings the command uses: --ini FILE when given (a missing, unreadable or
// oversized file is an error), else the file the editor would read beside
// programDir. Sets settingsPath to the file read. A warning about the file goes to
// err. Returns false with a message on err when an explicit file cannot be read.
bool LoadSettings(const Arguments& args, const std::filesystem::path& programDir, core::Settings& settings,
    std::filesystem::path& settingsPath, Output& io);

} // namespace tarnwick::cli
