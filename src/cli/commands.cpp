#include "cli/commands.h"

#include "core/data/csvdump.h"
#include "core/data/demo.h"
#include "core/data/fileio.h"
#include "core/data/pastebuffer.h"
#include "core/data/pastefiles.h"
#include "core/data/records.h"
#include "core/data/tarnio.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace tarnwick::cli {

namespace fs = std::filesystem;
using core::IoResult;

namespace {

// The save keeps at most this many characters of a file name.
constexpr std::size_t kMaxSaveName = 12;

int Fail(Output& io, const std::string& message)
{
    io.err << "tarnwick-cli: " << message << '\n';
    return kExitFailure;
}

// A path the commands read must be an existing regular file.
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

// Why a file cannot be opened for reading, in the system's words.
std::string OpenFailureReason(const fs::path& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return std::strerror(errno);
    ::close(fd);
    return "cannot be read";
}

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
        io.err << "tarnwick-cli: warning: " << path.string() << " is short (" << r.bytesInFile << " of "
               << core::kOobFileSize << " bytes); the rest reads as zeros and a save writes a full file\n";
    else if (r.size == core::LoadResult::Size::Long)
        io.err << "tarnwick-cli: warning: " << path.string() << " is long (" << r.bytesInFile
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
    const fs::path p(output);
    std::string name = p.filename().string();
    if (name.empty() || name == "." || name == "..")
        throw UsageError("-o must name a file, not a folder: '" + output + "'");
    if (name.size() > kMaxSaveName)
        throw UsageError("the output file name '" + name + "' has " + std::to_string(name.size())
            + " characters; a save keeps only the first " + std::to_string(kMaxSaveName)
            + ", so choose a name of at most " + std::to_string(kMaxSaveName));
    fs::path dir = p.parent_path();
    if (dir.empty())
        dir = ".";
    return { dir, name };
}

int SaveOutput(core::TOobData& data, int nation, const SaveTarget& target, Output& io)
{
    const fs::path full = target.dir / target.name;
    std::error_code ec;
    if (fs::is_directory(full, ec))
        return Fail(io,
            IoResult::failure(
                IoResult::Kind::WriteError, full, std::make_error_code(std::errc::is_a_directory).message())
                .message());
    IoResult r = core::SaveOobFileAs(data, static_cast<std::uint16_t>(nation), target.name, target.dir);
    if (!r.ok())
        return Fail(io, r.message());
    io.out << "Saved " << full.string() << '\n';
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

int RunInfo(const Arguments& args, const core::Settings& settings, Output& io)
{
    const fs::path in(args.input);
    const int nation = args.nation ? *args.nation : NationFromFileName(in.filename().string());
    auto data = std::make_unique<core::TOobData>();
    if (auto bad = CheckReadable(in))
        return Fail(io, bad->message());
    core::LoadResult r = core::LoadOobPath(*data, static_cast<std::uint16_t>(nation), in);
    if (!r.ok())
        return Fail(io, r.io.message());

    io.out << "File:       " << in.string() << '\n';
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
        io.out << " (" << core::NationName(settings.names, nation) << ')';
    io.out << '\n';
    io.out << "Comment:    " << data->comment << '\n';
    io.out << "Weapons:    " << UsedSlots(data->weapons, core::kWeaponSlots) << " of " << core::kWeaponSlots
           << " slots used\n";
    io.out << "Units:      " << UsedSlots(data->units, core::kUnitSlots) << " of " << core::kUnitSlots
           << " slots used\n";
    io.out << "Formations: " << UsedSlots(data->formations, core::kFormationSlots) << " of "
           << core::kFormationSlots << " slots used\n";
    return kExitOk;
}

int RunResave(const Arguments& args, Output& io)
{
    const SaveTarget target = SplitSaveTarget(*args.output);
    auto data = std::make_unique<core::TOobData>();
    if (!LoadInput(args.input, *args.nation, *data, io))
        return kExitFailure;
    return SaveOutput(*data, *args.nation, target, io);
}

int RunCsv(const Arguments& args, const core::Settings& settings, Output& io)
{
    const fs::path dir(*args.output);
    std::error_code ec;
    if (!fs::is_directory(dir, ec)) {
        const auto why
            = fs::exists(dir, ec) ? std::errc::not_a_directory : std::errc::no_such_file_or_directory;
        return Fail(io,
            IoResult::failure(IoResult::Kind::WriteError, dir, std::make_error_code(why).message())
                .message());
    }
    auto data = std::make_unique<core::TOobData>();
    if (!LoadInput(args.input, *args.nation, *data, io))
        return kExitFailure;

    const auto results = core::DumpCsv(*data, *args.nation, settings.names, dir);
    const auto names = core::CsvDumpFileNames(*args.nation);
    int status = kExitOk;
    for (std::size_t i = 0; i < results.size(); ++i) {
        if (results[i].ok()) {
            io.out << "Wrote " << (dir / names[i]).string() << '\n';
        } else {
            Fail(io, results[i].message());
            status = kExitFailure;
        }
    }
    return status;
}

int RunBufferExport(const Arguments& args, const core::Settings& settings, Output& io)
{
    const fs::path in(args.input);
    const fs::path out(*args.output);
    auto data = std::make_unique<core::TOobData>();
    if (!LoadInput(in, *args.nation, *data, io))
        return kExitFailure;

    std::error_code ec;
    fs::path folder = fs::absolute(in, ec).lexically_normal().parent_path();
    if (ec)
        folder = in.parent_path();

    auto buffers = std::make_unique<core::PasteBuffers>();
    core::InitPasteBuffers(*buffers);
    core::CopyAllToBuffer(*buffers, *args.kind, *data, *args.nation);
    if (fs::is_directory(out, ec))
        return Fail(io,
            IoResult::failure(
                IoResult::Kind::WriteError, out, std::make_error_code(std::errc::is_a_directory).message())
                .message());
    IoResult r = core::ExportBuffer(*buffers, *args.kind, out, folder.string(), *args.nation, settings.names);
    if (!r.ok())
        return Fail(io, r.message());
    io.out << "Wrote the " << KindName(*args.kind) << " buffer to " << out.string() << '\n';
    return kExitOk;
}

int RunBufferImport(const Arguments& args, Output& io)
{
    const SaveTarget target = SplitSaveTarget(*args.output);
    const fs::path in(args.input);

    if (auto bad = CheckReadable(in))
        return Fail(io, bad->message());

    auto data = std::make_unique<core::TOobData>();
    if (!LoadInput(*args.into, *args.nation, *data, io))
        return kExitFailure;

    auto buffers = std::make_unique<core::PasteBuffers>();
    core::InitPasteBuffers(*buffers);
    core::ImportResult imported = core::ImportBuffer(*buffers, *args.kind, in);
    if (!imported.ok()) {
        std::string message = imported.message.empty() ? "cannot import " + in.string() : imported.message;
        if (imported.kind == core::ImportResult::Kind::CannotOpen)
            message += ": " + OpenFailureReason(in);
        else if (message.find(in.string()) == std::string::npos)
            message = in.string() + ": " + message;
        return Fail(io, message);
    }

    core::PasteAllFromBuffer(*buffers, *args.kind, *data);
    io.out << "Read " << imported.entriesRead << ' ' << KindName(*args.kind) << " entries from "
           << in.string() << '\n';
    return SaveOutput(*data, *args.nation, target, io);
}

int RunParsed(const Arguments& args, const core::Settings& settings, Output& io);

int RunMakeDemo(const Arguments& args, Output& io)
{
    IoResult r = core::MakeDemoFolder(args.input);
    if (!r.ok())
        return Fail(io, r.message());
    const fs::path dir = r.path.empty() ? fs::path(args.input) : r.path;
    for (int nation : core::DemoNations())
        io.out << "Wrote " << (dir / core::OobFileName(nation)).string() << '\n';
    io.out << "Wrote " << (dir / core::kSettingsFileName).string() << '\n';
    io.out << "Wrote " << (dir / "README.txt").string() << '\n';
    return kExitOk;
}

} // namespace

bool LoadSettings(const Arguments& args, const fs::path& programDir, core::Settings& settings, Output& io)
{
    if (args.ini) {
        const fs::path ini(*args.ini);
        if (auto bad = CheckReadable(ini)) {
            Fail(io, bad->message());
            return false;
        }
        std::vector<std::uint8_t> probe;
        IoResult r = core::ReadWholeFile(ini, probe);
        if (!r.ok()) {
            Fail(io, r.message());
            return false;
        }
        settings = core::readinifile(ini);
        return true;
    }
    settings = core::readinifile(core::FindSettingsFile(programDir));
    return true;
}

int RunCommand(const Arguments& args, const core::Settings& settings, Output& io)
{
    try {
        return RunParsed(args, settings, io);
    } catch (const UsageError& e) {
        throw UsageError(e.what(), args.command);
    }
}

namespace {

int RunParsed(const Arguments& args, const core::Settings& settings, Output& io)
{
    switch (args.command) {
    case Command::Info:
        return RunInfo(args, settings, io);
    case Command::Resave:
        return RunResave(args, io);
    case Command::Csv:
        return RunCsv(args, settings, io);
    case Command::BufferExport:
        return RunBufferExport(args, settings, io);
    case Command::BufferImport:
        return RunBufferImport(args, io);
    case Command::MakeDemo:
        return RunMakeDemo(args, io);
    case Command::None:
        break;
    }
    throw UsageError("no command given");
}

} // namespace

} // namespace tarnwick::cli
