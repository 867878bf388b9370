#pragma once

// Command-line parsing for tarnwick-cli: global options, the command and its options.

#include "core/data/pastebuffer.h"

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace tarnwick::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1; // a file or data error
inline constexpr int kExitUsage = 2; // a command line we cannot run

enum class Command { None, Info, Resave, Csv, BufferExport, BufferImport, MakeDemo };

// A command line that cannot be run; what() says why, command names the command
// whose usage to point at (None for the program's).
class UsageError : public std::runtime_error {
public:
    explicit UsageError(const std::string& why, Command command = Command::None)
        : std::runtime_error(why)
        , command(command)
    {
    }
    Command command;
};

struct Arguments {
    bool help = false; // --help anywhere: print usage, run nothing
    std::optional<std::string> ini; // --ini FILE
    Command command = Command::None;
    std::string input; // the one positional argument
    std::optional<int> nation; // --nation N, 1..999
    std::optional<std::string> output; // -o PATH
    std::optional<core::PasteKind> kind; // --kind unit|weapon|formation
    std::optional<std::string> into; // --into BASE.obf
    bool force = false; // --force: make-demo may overwrite
};

// Parses argv[1..]; throws UsageError. With help set the other checks are skipped.
Arguments ParseArguments(const std::vector<std::string>& args);

// A nation number 1..999 written in decimal digits; throws UsageError.
int ParseNation(const std::string& text);

// The nation an obatNNN.obf file name stands for (any case), else 0.
int NationFromFileName(const std::string& fileName);

// Usage of the whole program, or of one command.
std::string UsageText(Command command);

const char* CommandName(Command command);
const char* KindName(core::PasteKind kind);

} // namespace tarnwick::cli
