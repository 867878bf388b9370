#pragma once

// Command-line parsing for tarnwick-cli: global options, the command and its
// options, and the one table of commands behind both.

#include "core/data/pastebuffer.h"
#include "core/graphics/shp.h"

#include <initializer_list>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace tarnwick::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1; // a file or data error
inline constexpr int kExitUsage = 2; // a command line we cannot run

// Every command. Adding one: a value here, a row in kCommands (args.cpp) with its
// usage text, and its handler in a file of its own.
enum class Command {
    None,
    Info,
    Resave,
    Csv,
    BufferExport,
    BufferImport,
    MakeDemo,
    Renationalise,
    Reclassify,
    Picture,
    Icon,
    Diff,
    ToJson,
    FromJson,
    PictureImport,
    ArtExport,
    Timeline,
    Check,
    WhereUsed,
    Merge,
    PatchMake,
    PatchApply,
    GitSetup,
};

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
    bool version = false; // --version anywhere: print the version, run nothing
    std::string generate; // "man-page" or "bash-completion": print it, run nothing
    bool quiet = false; // -q: no notes on standard output
    std::optional<std::string> ini; // --ini FILE
    Command command = Command::None;
    std::string input; // the first positional argument
    std::vector<std::string> inputs; // all of them (several only with --in-place)
    std::optional<int> nation; // --nation N, 1..999
    std::optional<std::string> output; // -o PATH
    std::optional<core::PasteKind> kind; // --kind unit|weapon|formation
    std::optional<std::string> into; // --into BASE.obf
    bool force = false; // --force: make-demo may overwrite
    bool inPlace = false; // --in-place: save every input over itself
    bool anyName = false; // --any-name: --in-place takes files of any name
    std::optional<int> from; // --from A
    std::optional<int> to; // --to B
    std::optional<int> frame; // --frame F, 1..255
    int transparent = core::kDefaultTransparentColour; // --transparent T, 0..255
    std::string format; // --format NAME; each command says which names it takes
    std::optional<std::string> palette; // --palette REF.lbm
    bool dither = false; // --dither
    int jobs = 0; // --jobs N, 1..1024; 0: one per processor
    // where-used: --weapon N, --unit N or --formation N; the kind goes into kind.
    std::optional<int> item;
    std::string prefer; // --prefer SIDE; merge and patch-apply say which names they take
    std::string granularity; // --granularity field|record
    std::optional<std::string> report; // --report FILE.csv
    bool reverse = false; // --reverse: patch-apply undoes the patch
    bool dryRun = false; // --dry-run: report only, write nothing
    bool newFile = false; // --new-file: diff reads a missing file as an empty one
    bool write = false; // --write: git-setup writes what it would print
};

// Parses argv[1..]; throws UsageError. With help set the other checks are skipped.
Arguments ParseArguments(const std::vector<std::string>& args);

// A whole number low..high written in decimal digits only (leading zeros allowed);
// anything else throws UsageError naming option.
int ParseNumber(const std::string& option, const std::string& text, int low, int high);

// The --format value of a command that takes one of names, the first being the
// default when none is given; throws UsageError for any other value.
std::string FormatOf(const Arguments& args, std::initializer_list<const char*> names);

// The nation an obatNNN.obf file name stands for (any case), else 0.
int NationFromFileName(const std::string& fileName);

// Whether fileName is obatNNN.obf, three digits, in any letter case.
bool IsOobFileName(const std::string& fileName);

// Usage of the whole program, or of one command.
std::string UsageText(Command command);

// "tarnwick-cli 1.2.3", the man page and the bash completion script, all made
// from the one table of commands.
std::string VersionText();
std::string ManPage();
std::string BashCompletion();

const char* CommandName(Command command);
const char* KindName(core::PasteKind kind);

struct Context;
using Handler = int (*)(const Context&);

// What runs a command, and whether it reads the settings file first.
Handler HandlerOf(Command command);
bool UsesSettings(Command command);

// The exit status of a command that could not finish: kExitFailure, or for diff
// and check (whose 1 means differences or findings) kExitUsage.
int TroubleStatus(Command command);

} // namespace tarnwick::cli
