#include "cli/commands.h"

#include "cli/stdstreams.h"

#include "core/data/csvdump.h"
#include "core/data/escape.h"
#include "core/data/fileio.h"
#include "core/data/pastebuffer.h"
#include "core/data/pastefiles.h"
#include "core/data/records.h"
#include "core/data/savetidy.h"
#include "core/data/tarnio.h"
#include "core/demo/demo.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

namespace tarnwick::cli {

namespace fs = std::filesystem;
using core::IoResult;

int Fail(Output& io, const std::string& message)
{
    io.err << "tarnwick-cli: " << message << '\n';
    return kExitFailure;
}

void TidyAndNote(core::TOobData& data, int nation, Output& io)
{
    for (const core::TidyChange& change : core::TidyForSave(data, static_cast<std::uint16_t>(nation)))
        io.err << "tarnwick-cli: note: " << core::EscapeCp1252(core::TidyChangeText(change)) << '\n';
}

std::ostream& Notes(const Context& c)
{
    static std::ostream nowhere(nullptr); // no buffer: every write is dropped
    return c.args.quiet ? nowhere : c.io.out;
}

int RequireNation(const Arguments& args, const std::string& file)
{
    if (args.nation)
        return *args.nation;
    const std::string name = core::PathText(core::PathFromUtf8(file).filename());
    const int nation = NationFromFileName(name);
    if (nation == 0)
        throw UsageError(
            "cannot tell the nation of '" + name + "' from its name (obatNNN.obf); give --nation");
    return nation;
}

std::optional<IoResult> CheckReadable(const fs::path& path)
{
    std::error_code ec;
    const fs::file_status st = fs::status(path, ec);
    if (ec && ec != std::errc::no_such_file_or_directory)
        return IoResult::failure(IoResult::Kind::ReadError, path, ec.message());
    if (!fs::exists(st))
        return IoResult::failure(IoResult::Kind::NotFound, path,
            std::make_error_code(std::errc::no_such_file_or_directory).message());
    if (fs::is_directory(st))
        return IoResult::failure(
            IoResult::Kind::ReadError, path, std::make_error_code(std::errc::is_a_directory).message());
    // Devices and pipes could block or never end.
    if (!fs::is_regular_file(st))
        return IoResult::failure(IoResult::Kind::ReadError, path, "Not a regular file");
    return std::nullopt;
}

namespace {

// Loads path as the file of nation; reports a failure or an odd size.
bool LoadInput(const fs::path& path, int nation, core::TOobData& data, Output& io)
{
    if (auto bad = CheckReadable(path)) {
        Fail(io, bad->message());
        return false;
    }
    core::LoadResult r = core::LoadOobPath(data, static_cast<std::uint16_t>(nation), path);
    if (!r.ok()) {
        Fail(io, r.io.message());
        return false;
    }
    if (r.size == core::LoadResult::Size::Short)
        io.err << "tarnwick-cli: warning: " << core::PathText(path) << " is short (" << r.bytesInFile
               << " of " << core::kOobFileSize
               << " bytes); the rest reads as zeros and a save writes a full file\n";
    else if (r.size == core::LoadResult::Size::Long)
        io.err << "tarnwick-cli: warning: " << core::PathText(path) << " is long (" << r.bytesInFile
               << " bytes); the " << (r.bytesInFile - core::kOobFileSize)
               << " bytes beyond a full file are kept as they are\n";
    return true;
}

// The folder and file name an OOB save goes to; the name must survive the save unchanged.
struct SaveTarget {
    fs::path dir;
    std::string name;
};

SaveTarget SplitSaveTarget(const std::string& output)
{
    const fs::path p = core::PathFromUtf8(output);
    std::string name = core::PathText(p.filename());
    // The name is written exactly as given: the twelve-character cut belongs to the
    // editor's Save As dialog, not to the command line.
    if (name.empty() || name == "." || name == "..")
        throw UsageError("-o must name a file, not a folder: '" + output + "'");
    fs::path dir = p.parent_path();
    if (dir.empty())
        dir = ".";
    return { dir, name };
}

int SaveOutput(const Context& c, core::TOobData& data, int nation, const SaveTarget& target)
{
    const fs::path full = target.dir / core::PathFromUtf8(target.name);
    TidyAndNote(data, nation, c.io);
    IoResult r = core::SaveOobFileAs(data, static_cast<std::uint16_t>(nation), target.name, target.dir);
    if (!r.ok())
        return Fail(c.io, r.message());
    Notes(c) << "Saved " << core::PathText(full) << '\n';
    return kExitOk;
}

int UsedSlots(const auto& table, int slots)
{
    int used = 0;
    for (int s = 1; s <= slots; ++s)
        if (!core::TrimName(table[s].name).empty())
            ++used;
    return used;
}

} // namespace

int RunInfo(const Context& c)
{
    const Arguments& args = c.args;
    Output& io = c.io;
    const fs::path in = core::PathFromUtf8(args.input);
    const int nation = args.nation ? *args.nation : NationFromFileName(core::PathText(in.filename()));
    auto data = std::make_unique<core::TOobData>();
    core::LoadResult r;
    if (IsStandardInput(args.input)) {
        std::vector<std::uint8_t> bytes;
        r.io = ReadInput(args.input, bytes, core::kMaxOobFileBytes, "an order-of-battle file");
        if (r.io.ok())
            r = core::LoadOobBytes(*data, static_cast<std::uint16_t>(nation), std::move(bytes));
    } else {
        if (auto bad = CheckReadable(in))
            return Fail(io, bad->message());
        r = core::LoadOobPath(*data, static_cast<std::uint16_t>(nation), in);
    }
    if (!r.ok())
        return Fail(io, r.io.message());

    io.out << "File:       " << core::EscapeControls(core::PathText(in)) << '\n';
    io.out << "Size:       " << r.bytesInFile << " bytes";
    if (r.size == core::LoadResult::Size::Short)
        io.out << " (short: a full file has " << core::kOobFileSize
               << " bytes; the rest reads as zeros and a save writes a full file)";
    else if (r.size == core::LoadResult::Size::Long)
        io.out << " (long: the " << (r.bytesInFile - core::kOobFileSize) << " bytes beyond "
               << core::kOobFileSize << " are kept as they are)";
    io.out << '\n';
    io.out << "Nation:     " << nation;
    if (nation != 0)
        io.out << " (" << core::EscapeCp1252(core::NationName(c.settings.names, nation)) << ')';
    io.out << '\n';
    io.out << "Comment:    " << core::EscapeCp1252(data->comment) << '\n';
    io.out << "Weapons:    " << UsedSlots(data->weapons, core::kWeaponSlots) << " of " << core::kWeaponSlots
           << " slots used\n";
    io.out << "Units:      " << UsedSlots(data->units, core::kUnitSlots) << " of " << core::kUnitSlots
           << " slots used\n";
    io.out << "Formations: " << UsedSlots(data->formations, core::kFormationSlots) << " of "
           << core::kFormationSlots << " slots used\n";
    return kExitOk;
}

int RunResave(const Context& c)
{
    const Arguments& args = c.args;
    const SaveTarget target = SplitSaveTarget(*args.output);
    // resave IN -o IN is a save of IN, as the editor's Save is.
    RefuseOutputThatIsAnInput(*args.output, { { "the settings file", c.settingsPath } });
    const int nation = RequireNation(args, args.input);
    auto data = std::make_unique<core::TOobData>();
    if (!LoadInput(core::PathFromUtf8(args.input), nation, *data, c.io))
        return kExitFailure;
    return SaveOutput(c, *data, nation, target);
}

int RunCsv(const Context& c)
{
    const Arguments& args = c.args;
    Output& io = c.io;
    const fs::path dir = core::PathFromUtf8(*args.output);
    std::error_code ec;
    if (!fs::is_directory(dir, ec)) {
        const auto why
            = fs::exists(dir, ec) ? std::errc::not_a_directory : std::errc::no_such_file_or_directory;
        return Fail(io,
            IoResult::failure(IoResult::Kind::WriteError, dir, std::make_error_code(why).message())
                .message());
    }
    const int nation = RequireNation(args, args.input);
    const auto names = core::CsvDumpFileNames(nation);
    for (const std::string& name : names)
        RefuseOutputThatIsAnInput(dir / core::PathFromUtf8(name),
            { { "the input", args.input }, { "the settings file", c.settingsPath } });

    auto data = std::make_unique<core::TOobData>();
    if (!LoadInput(core::PathFromUtf8(args.input), nation, *data, io))
        return kExitFailure;

    const auto results = core::DumpCsv(*data, nation, c.settings.names, dir);
    int status = kExitOk;
    for (std::size_t i = 0; i < results.size(); ++i) {
        if (results[i].ok()) {
            Notes(c) << "Wrote " << core::PathText(dir / core::PathFromUtf8(names[i])) << '\n';
        } else {
            Fail(io, results[i].message());
            status = kExitFailure;
        }
    }
    return status;
}

int RunBufferExport(const Context& c)
{
    const Arguments& args = c.args;
    Output& io = c.io;
    const fs::path in = core::PathFromUtf8(args.input);
    const fs::path out = core::PathFromUtf8(*args.output);
    RefuseOutputThatIsAnInput(out, { { "the input", in }, { "the settings file", c.settingsPath } });
    const int nation = RequireNation(args, args.input);
    auto data = std::make_unique<core::TOobData>();
    if (!LoadInput(in, nation, *data, io))
        return kExitFailure;

    std::error_code ec;
    fs::path folder = fs::absolute(in, ec).lexically_normal().parent_path();
    if (ec)
        folder = in.parent_path();

    auto buffers = std::make_unique<core::PasteBuffers>();
    core::InitPasteBuffers(*buffers);
    core::CopyAllToBuffer(*buffers, *args.kind, *data, nation);
    IoResult r
        = core::ExportBuffer(*buffers, *args.kind, out, core::PathText(folder), nation, c.settings.names);
    if (!r.ok())
        return Fail(io, r.message());
    Notes(c) << "Wrote the " << KindName(*args.kind) << " buffer to " << core::PathText(out) << '\n';
    return kExitOk;
}

int RunBufferImport(const Context& c)
{
    const Arguments& args = c.args;
    Output& io = c.io;
    const SaveTarget target = SplitSaveTarget(*args.output);
    const fs::path in = core::PathFromUtf8(args.input);
    RefuseOutputThatIsAnInput(*args.output,
        { { "the input", in }, { "the file to paste into", *args.into },
            { "the settings file", c.settingsPath } });

    if (auto bad = CheckReadable(in))
        return Fail(io, bad->message());

    const int nation = RequireNation(args, *args.into);
    auto data = std::make_unique<core::TOobData>();
    if (!LoadInput(core::PathFromUtf8(*args.into), nation, *data, io))
        return kExitFailure;

    auto buffers = std::make_unique<core::PasteBuffers>();
    core::InitPasteBuffers(*buffers);
    core::ImportResult imported = core::ImportBuffer(*buffers, *args.kind, in);
    if (!imported.ok())
        return Fail(io, core::ImportFailureText(imported, core::PathText(in)));

    core::PasteAllFromBuffer(*buffers, *args.kind, *data);
    Notes(c) << "Read " << imported.entriesRead << ' ' << KindName(*args.kind) << " entries from "
             << core::PathText(in) << '\n';
    if (!imported.note.empty())
        Notes(c) << imported.note << '\n';
    return SaveOutput(c, *data, nation, target);
}

namespace {

#ifndef _WIN32
// A file as the system knows it: the same device and inode is the same file,
// whatever the path and however many links lead to it.
struct FileId {
    dev_t device;
    ino_t inode;
    bool operator==(const FileId&) const = default;
};

std::optional<FileId> IdOf(const fs::path& path)
{
    struct stat info { };
    if (path.empty() || ::stat(path.c_str(), &info) != 0)
        return std::nullopt;
    return FileId { info.st_dev, info.st_ino };
}
#endif

} // namespace

bool IsSameFile(const fs::path& a, const fs::path& b)
{
#ifdef _WIN32
    // Windows gives no inode numbers through stat; the file's own index it does.
    std::error_code ec;
    return !a.empty() && !b.empty() && fs::equivalent(a, b, ec) && !ec;
#else
    const std::optional<FileId> id = IdOf(a);
    return id && IdOf(b) == id;
#endif
}

NamedInput::NamedInput(const char* role, const std::string& utf8)
    : NamedInput(role, core::PathFromUtf8(utf8))
{
}

void RefuseOutputThatIsAnInput(const std::string& output, std::initializer_list<NamedInput> inputs)
{
    RefuseOutputThatIsAnInput(core::PathFromUtf8(output), inputs);
}

void RefuseOutputThatIsAnInput(const fs::path& output, std::initializer_list<NamedInput> inputs)
{
    // Standard output is written as a stream, never replaced; standard input is read as one.
    if (IsStandardOutput(output.string()))
        return;
    for (const NamedInput& input : inputs) {
        if (!IsStandardInput(input.path.string()) && IsSameFile(output, input.path))
            throw UsageError("the output " + core::PathText(output) + " is " + input.role + " "
                + core::PathText(input.path) + "; choose another output");
    }
}

bool LoadSettings(const Arguments& args, const fs::path& programDir, core::Settings& settings,
    fs::path& settingsPath, Output& io)
{
    if (args.ini) {
        const fs::path ini = core::PathFromUtf8(*args.ini);
        if (auto bad = CheckReadable(ini)) {
            Fail(io, bad->message());
            return false;
        }
        std::vector<std::uint8_t> probe;
        IoResult r = core::ReadWholeFile(ini, probe, core::kMaxSettingsBytes, "a settings file");
        if (!r.ok()) {
            Fail(io, r.message());
            return false;
        }
        settingsPath = ini;
    } else {
        settingsPath = core::FindSettingsFile(programDir);
    }
    settings = core::readinifile(settingsPath);
    if (!settings.warning.empty())
        io.err << "tarnwick-cli: warning: " << settings.warning << '\n';
    return true;
}

int RunCommand(const Context& context)
{
    try {
        if (const Handler run = HandlerOf(context.args.command))
            return run(context);
    } catch (const UsageError& e) {
        throw UsageError(e.what(), context.args.command);
    }
    throw UsageError("no command given");
}

} // namespace tarnwick::cli
