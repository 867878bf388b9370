#include "cli/mergecommands.h"

#include "cli/stdstreams.h"

#include "core/data/fileio.h"
#include "core/data/oobmerge.h"
#include "core/data/oobpatch.h"
#include "core/data/tarnio.h"
#include "core/rules/mergereport.h"

#ifdef _WIN32
#include <process.h>
#else
#include <spawn.h>
#include <sys/wait.h>
#endif

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <optional>
#include <ostream>
#include <string_view>
#include <system_error>

#ifndef _WIN32
extern char** environ;
#endif

namespace tarnwick::cli {

namespace fs = std::filesystem;
using core::IoResult;

const char* const kMergeUsage
    = "Usage: tarnwick-cli [--ini FILE] merge BASE.obf OURS.obf THEIRS.obf -o OUT.obf\n"
      "                    [--prefer ours|theirs] [--granularity field|record]\n"
      "                    [--report FILE.csv] [--format text|csv] [--nation N]\n"
      "\n"
      "Merges the changes OURS and THEIRS made to BASE, field by field: a field\n"
      "changed on one side takes that change, one changed on both sides to\n"
      "different values is a conflict. A slot that holds two different records\n"
      "(renamed differently on each side, an empty slot filled on both, or a record\n"
      "erased on one side and changed on the other) is one conflict for the whole\n"
      "record. Bytes that belong to no field merge by their offset.\n"
      "\n"
      "With conflicts OUT keeps OURS's values there, the conflicts are listed and\n"
      "the exit status is 1; --prefer takes that side at every conflict, lists\n"
      "them and exits 0. --granularity record makes every record changed on both\n"
      "sides a conflict. The merged file is checked: findings that neither OURS\n"
      "nor THEIRS has are listed as warnings. --report writes every change taken,\n"
      "conflict and warning as CSV. OUT may be OURS (as git's merge driver wants),\n"
      "never BASE or THEIRS.\n"
      "\n"
      "Exit status: 0 merged, 1 conflicts, 2 a usage error or a file that cannot\n"
      "be read or written.\n";

const char* const kPatchMakeUsage
    = "Usage: tarnwick-cli [--ini FILE] patch-make BASE.obf MODDED.obf -o PATCH.json\n"
      "\n"
      "Writes the fields MODDED changed against BASE as a JSON patch, one change\n"
      "per line: its table, slot, record name, field, the base value and the new\n"
      "value; bytes that belong to no field by their offset. -o - writes the patch\n"
      "to standard output.\n";

const char* const kPatchApplyUsage
    = "Usage: tarnwick-cli patch-apply FILE.obf PATCH.json -o OUT.obf [--reverse]\n"
      "                    [--prefer patch|file] [--dry-run]\n"
      "\n"
      "Applies a patch field by field: a field that still holds the patch's base\n"
      "value takes the new one, one that already holds the new value counts as\n"
      "applied, any other value is a conflict. FILE need not be the file the patch\n"
      "was made on: the patch applies wherever the fields it touches are unchanged.\n"
      "Without --prefer any conflict refuses the whole patch and nothing is\n"
      "written; --prefer patch takes the patch's value there, --prefer file keeps\n"
      "FILE's. --reverse undoes the patch. --dry-run only reports (-o not needed).\n"
      "OUT may be FILE.\n"
      "\n"
      "Exit status: 0 applied, 1 conflicts, 2 a usage error or a file that cannot\n"
      "be read or written.\n";

const char* const kGitSetupUsage
    = "Usage: tarnwick-cli git-setup [DIR] [--write]\n"
      "\n"
      "Prints the .gitattributes lines and the git config commands that let git\n"
      "show order-of-battle files field by field (through to-json) and merge them\n"
      "with merge. With --write the lines are added to DIR/.gitattributes (DIR is\n"
      "the current folder when not given) and the settings to the repository's\n"
      "configuration.\n";

namespace {

constexpr int kExitTrouble = 2;
constexpr std::string_view kDriver = "tarnwick";

int Trouble(Output& io, const std::string& message)
{
    io.err << "tarnwick-cli: " << message << '\n';
    return kExitTrouble;
}

bool Read(const std::string& path, std::uintmax_t limit, std::string_view what,
    std::vector<std::uint8_t>& bytes, Output& io)
{
    const IoResult read = core::ReadWholeFile(core::PathFromUtf8(path), bytes, limit, what);
    if (read.ok())
        return true;
    io.err << "tarnwick-cli: " << read.message() << '\n';
    return false;
}

bool Write(const std::string& path, const std::uint8_t* data, std::size_t size, Output& io)
{
    const IoResult written = core::WriteFileAtomic(core::PathFromUtf8(path), data, size);
    if (written.ok())
        return true;
    io.err << "tarnwick-cli: " << written.message() << '\n';
    return false;
}

bool Write(const std::string& path, std::string_view text, Output& io)
{
    return Write(path, reinterpret_cast<const std::uint8_t*>(text.data()), text.size(), io);
}

std::optional<core::MergeSide> MergePreference(const Arguments& args)
{
    if (args.prefer.empty())
        return std::nullopt;
    if (args.prefer == "ours")
        return core::MergeSide::Ours;
    if (args.prefer == "theirs")
        return core::MergeSide::Theirs;
    throw UsageError("--prefer must be ours or theirs, not '" + args.prefer + "'");
}

core::MergeGranularity Granularity(const Arguments& args)
{
    if (args.granularity.empty() || args.granularity == "field")
        return core::MergeGranularity::Field;
    if (args.granularity == "record")
        return core::MergeGranularity::Record;
    throw UsageError("--granularity must be field or record, not '" + args.granularity + "'");
}

core::PatchPrefer PatchPreference(const Arguments& args)
{
    if (args.prefer.empty())
        return core::PatchPrefer::None;
    if (args.prefer == "patch")
        return core::PatchPrefer::Patch;
    if (args.prefer == "file")
        return core::PatchPrefer::File;
    throw UsageError("--prefer must be patch or file, not '" + args.prefer + "'");
}

// The nation for the check of a merged file: --nation, else an obatNNN.obf name among paths.
std::uint16_t NationOf(const Arguments& args, std::initializer_list<std::string> paths)
{
    if (args.nation)
        return static_cast<std::uint16_t>(*args.nation);
    for (const std::string& path : paths)
        if (const int nation = NationFromFileName(core::PathText(core::PathFromUtf8(path).filename()));
            nation > 0)
            return static_cast<std::uint16_t>(nation);
    return 0;
}

// A word for a shell command line: as it is when it needs no quoting, else in single quotes.
std::string ShellWord(const std::string& word)
{
    const bool plain = !word.empty() && std::all_of(word.begin(), word.end(), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) != 0 || std::strchr("%+,-./:=@_", c) != nullptr;
    });
    if (plain)
        return word;
    std::string out = "'";
    for (char c : word)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

// This program, as git should run it.
std::string SelfCommand()
{
    std::error_code ec;
    const fs::path self = fs::read_symlink("/proc/self/exe", ec);
    return ShellWord(ec || self.empty() ? std::string("tarnwick-cli") : self.string());
}

constexpr std::string_view kAttributes = "*.[oO][bB][fF] diff=tarnwick merge=tarnwick";

struct GitSetting {
    std::string key;
    std::string value;
};

std::vector<GitSetting> GitSettings()
{
    const std::string self = SelfCommand();
    const std::string driver(kDriver);
    return {
        { "diff." + driver + ".textconv", self + " to-json -o -" },
        { "merge." + driver + ".name", "order-of-battle files, field by field" },
        { "merge." + driver + ".driver", self + " merge %O %A %B -o %A" },
    };
}

// Runs git with args; the failure's text, or nothing.
std::optional<std::string> RunGit(const std::vector<std::string>& args)
{
    std::vector<char*> argv;
    std::vector<std::string> words = args;
    words.insert(words.begin(), "git");
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
#ifdef _WIN32
    const intptr_t code = ::_spawnvp(_P_WAIT, "git", argv.data());
    if (code < 0)
        return "cannot run git: " + std::string(std::strerror(errno));
    if (code != 0)
        return "git " + args[2] + " " + args[3] + " failed";
    return std::nullopt;
#else
    pid_t pid = 0;
    const int spawned = ::posix_spawnp(&pid, "git", nullptr, nullptr, argv.data(), environ);
    if (spawned != 0)
        return "cannot run git: " + std::string(std::strerror(spawned));
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0)
        if (errno != EINTR)
            return "cannot wait for git: " + std::string(std::strerror(errno));
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return "git " + args[2] + " " + args[3] + " failed";
    return std::nullopt;
#endif
}

} // namespace

int RunMerge(const Context& c)
{
    const Arguments& args = c.args;
    Output& io = c.io;
    const std::optional<core::MergeSide> prefer = MergePreference(args);
    core::MergeOptions options;
    options.granularity = Granularity(args);
    const bool csv = FormatOf(args, { "text", "csv" }) == "csv";
    const std::string& basePath = args.inputs[0];
    const std::string& oursPath = args.inputs[1];
    const std::string& theirsPath = args.inputs[2];
    RefuseOutputThatIsAnInput(*args.output,
        { { "the base", basePath }, { "theirs", theirsPath }, { "the settings file", c.settingsPath } });
    if (args.report) {
        RefuseOutputThatIsAnInput(*args.report,
            { { "the base", basePath }, { "ours", oursPath }, { "theirs", theirsPath },
                { "the output", *args.output }, { "the settings file", c.settingsPath } });
        if (*args.report == *args.output)
            throw UsageError("the report and the output are the same file; choose another report");
    }

    std::vector<std::uint8_t> files[3];
    const std::string* paths[3] = { &basePath, &oursPath, &theirsPath };
    for (int i = 0; i < 3; ++i)
        if (!Read(*paths[i], core::kMaxOobFileBytes, "an order-of-battle file", files[i], io))
            return kExitTrouble;

    core::MergeResult result = core::MergeOobFiles(files[0], files[1], files[2], c.settings.names, options);
    if (prefer == core::MergeSide::Theirs && !result.conflicts.empty()) {
        const std::vector<core::MergeSide> picks(result.conflicts.size(), core::MergeSide::Theirs);
        result = core::MergeOobFiles(files[0], files[1], files[2], c.settings.names, options, picks);
    }
    const std::vector<core::CheckFinding> warnings
        = core::MergeWarnings(files[1], files[2], result.bytes, NationOf(args, { oursPath, *args.output }));

    if (!Write(*args.output, result.bytes.data(), result.bytes.size(), io))
        return kExitTrouble;
    if (args.report && !Write(*args.report, core::MergeReportCsv(result, warnings, prefer), io))
        return kExitTrouble;
    io.out << (csv ? core::MergeReportCsv(result, warnings, prefer)
                   : core::MergeReportText(result, warnings, prefer));
    return result.conflicts.empty() || prefer ? kExitOk : kExitFailure;
}

int RunPatchMake(const Context& c)
{
    const Arguments& args = c.args;
    Output& io = c.io;
    const bool toStdout = IsStandardOutput(*args.output);
    if (!toStdout)
        RefuseOutputThatIsAnInput(*args.output,
            { { "the base", args.inputs[0] }, { "the modded file", args.inputs[1] },
                { "the settings file", c.settingsPath } });
    std::vector<std::uint8_t> base;
    std::vector<std::uint8_t> modded;
    if (!Read(args.inputs[0], core::kMaxOobFileBytes, "an order-of-battle file", base, io)
        || !Read(args.inputs[1], core::kMaxOobFileBytes, "an order-of-battle file", modded, io))
        return kExitTrouble;
    const core::OobPatch patch = core::MakePatch(base, modded, c.settings.names);
    const std::string json = core::PatchToJson(patch);
    if (toStdout) {
        io.out << json;
        return kExitOk;
    }
    if (!Write(*args.output, json, io))
        return kExitTrouble;
    io.out << "Wrote " << patch.changes.size() << (patch.changes.size() == 1 ? " change" : " changes")
           << " to " << core::PathText(core::PathFromUtf8(*args.output)) << '\n';
    return kExitOk;
}

int RunPatchApply(const Context& c)
{
    const Arguments& args = c.args;
    Output& io = c.io;
    const core::PatchPrefer prefer = PatchPreference(args);
    if (!args.output && !args.dryRun)
        throw UsageError("patch-apply needs -o (or --dry-run)");
    if (args.output)
        RefuseOutputThatIsAnInput(*args.output, { { "the patch", args.inputs[1] } });

    std::vector<std::uint8_t> file;
    std::vector<std::uint8_t> text;
    if (!Read(args.inputs[0], core::kMaxOobFileBytes, "an order-of-battle file", file, io)
        || !Read(args.inputs[1], core::kMaxPatchBytes, "a patch", text, io))
        return kExitTrouble;
    const core::PatchReadResult read
        = core::PatchFromJson(std::string_view(reinterpret_cast<const char*>(text.data()), text.size()));
    if (!read.ok)
        return Trouble(io, args.inputs[1] + ": " + read.error + "; nothing written");

    const core::PatchApplyResult result = core::ApplyPatch(file, read.patch, args.reverse, prefer);
    io.out << core::PatchConflictsText(read.patch, result, args.reverse);
    io.out << "Applied " << result.applied << ", already applied " << result.already << ", conflicts "
           << result.conflicts;
    const bool refused = result.conflicts > 0 && prefer == core::PatchPrefer::None;
    if (refused)
        io.out << "; the patch is refused and nothing is written";
    else if (result.conflicts > 0)
        io.out << (prefer == core::PatchPrefer::Patch ? "; took the patch's values"
                                                      : "; kept the file's values");
    io.out << '\n';
    if (refused)
        return kExitFailure;
    if (args.dryRun)
        return kExitOk;
    return Write(*args.output, result.bytes.data(), result.bytes.size(), io) ? kExitOk : kExitTrouble;
}

int RunGitSetup(const Context& c)
{
    const Arguments& args = c.args;
    Output& io = c.io;
    const fs::path dir = args.inputs.empty() ? fs::path(".") : core::PathFromUtf8(args.inputs[0]);
    const std::vector<GitSetting> settings = GitSettings();
    if (!args.write) {
        io.out << "# " << core::PathText(dir / ".gitattributes") << "\n"
               << kAttributes << "\n\n# in the repository\n";
        for (const GitSetting& s : settings)
            io.out << "git config " << s.key << ' ' << ShellWord(s.value) << '\n';
        return kExitOk;
    }

    std::error_code ec;
    if (!fs::is_directory(dir, ec))
        return Trouble(io, core::PathText(dir) + " is not a folder");
    const fs::path attributes = dir / ".gitattributes";
    std::vector<std::uint8_t> old;
    if (fs::exists(attributes, ec)) {
        if (!Read(core::PathText(attributes), 1024 * 1024, "a .gitattributes file", old, io))
            return kExitTrouble;
    }
    std::string text(old.begin(), old.end());
    if (text.find(kAttributes) == std::string::npos) {
        if (!text.empty() && text.back() != '\n')
            text += '\n';
        text += std::string(kAttributes) + "\n";
        if (!Write(core::PathText(attributes), text, io))
            return kExitTrouble;
        io.out << "Wrote " << core::PathText(attributes) << '\n';
    }
    for (const GitSetting& s : settings) {
        if (auto failed = RunGit({ "-C", core::PathText(dir), "config", s.key, s.value }))
            return Trouble(io, *failed);
        io.out << "Set " << s.key << '\n';
    }
    return kExitOk;
}

} // namespace tarnwick::cli
