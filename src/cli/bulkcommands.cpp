#include "cli/bulkcommands.h"

#include "core/data/fileio.h"
#include "core/data/globals.h"
#include "core/data/records.h"
#include "core/data/settings.h"
#include "core/data/tarnio.h"
#include "core/rules/reclassify.h"
#include "core/rules/renationalise.h"

#include <cctype>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace tarnwick::cli {

namespace fs = std::filesystem;
using core::IoResult;

namespace {

enum class BulkKind { Renationalise, Reclassify };

void Report(Output& io, const std::string& message)
{
    io.err << "tarnwick-cli: " << message << '\n';
}

// Loads path as the file of nation, with the warnings of an odd-sized file.
bool Load(const fs::path& path, int nation, core::TOobData& data, Output& io)
{
    std::error_code ec;
    const fs::file_status st = fs::status(path, ec);
    if (ec && ec != std::errc::no_such_file_or_directory) {
        // Not "missing": a folder on the way may not be searched, for instance.
        Report(io, IoResult::failure(IoResult::Kind::ReadError, path, ec.message()).message());
        return false;
    }
    if (!fs::exists(st)) {
        Report(io,
            IoResult::failure(IoResult::Kind::NotFound, path,
                std::make_error_code(std::errc::no_such_file_or_directory).message())
                .message());
        return false;
    }
    if (!fs::is_regular_file(st)) {
        Report(io, IoResult::failure(IoResult::Kind::ReadError, path, "Not a regular file").message());
        return false;
    }
    const core::LoadResult r = core::LoadOobPath(data, static_cast<std::uint16_t>(nation), path);
    if (!r.ok()) {
        Report(io, r.io.message());
        return false;
    }
    if (r.size == core::LoadResult::Size::Short)
        io.err << "tarnwick-cli: warning: " << core::PathText(path) << " is short (" << r.bytesInFile
               << " of " << core::kOobFileSize
               << " bytes); the rest reads as zeros and the save writes a full file\n";
    else if (r.size == core::LoadResult::Size::Long)
        io.err << "tarnwick-cli: warning: " << core::PathText(path) << " is long (" << r.bytesInFile
               << " bytes); the bytes beyond a full file are kept as they are\n";
    return true;
}

// Applies the change and returns the line the command prints.
std::string Apply(BulkKind kind, const Arguments& a, core::TOobData& data)
{
    const auto from = static_cast<std::uint8_t>(*a.from);
    const auto to = static_cast<std::uint8_t>(*a.to);
    if (kind == BulkKind::Renationalise) {
        const core::RenumberCounts counts = core::RenumberNation(data, from, to);
        return core::RenatProcessedText(counts.units, counts.formations);
    }
    return core::ReclassifiedText(core::ReclassifyUnits(data, from, to));
}

int NationOf(const Arguments& a, const fs::path& file)
{
    return a.nation ? *a.nation : NationFromFileName(core::PathText(file.filename()));
}

int RunOne(BulkKind kind, const Arguments& a, const fs::path& settingsPath, Output& io)
{
    const fs::path in = core::PathFromUtf8(a.input);
    const int nation = NationOf(a, in);
    if (nation == 0)
        throw UsageError("cannot tell the nation of '" + core::PathText(in.filename())
            + "' from its name (obatNNN.obf); give --nation");
    const fs::path out = core::PathFromUtf8(*a.output);
    const std::string name = core::PathText(out.filename());
    if (name.empty() || name == "." || name == "..")
        throw UsageError("-o must name a file, not a folder: '" + *a.output + "'");
    // Writing over the input is a save of it, as --in-place does; the settings file is not.
    RefuseOutputThatIsAnInput(out, { { "the settings file", settingsPath } });
    const fs::path dir = out.parent_path().empty() ? fs::path(".") : out.parent_path();

    auto data = std::make_unique<core::TOobData>();
    if (!Load(in, nation, *data, io))
        return kExitFailure;
    const std::string line = Apply(kind, a, *data);
    std::error_code ec;
    if (fs::is_directory(out, ec)) {
        Report(io,
            IoResult::failure(
                IoResult::Kind::WriteError, out, std::make_error_code(std::errc::is_a_directory).message())
                .message());
        return kExitFailure;
    }
    TidyAndNote(*data, nation, io);
    const IoResult saved = core::SaveOobFileAs(*data, static_cast<std::uint16_t>(nation), name, dir);
    if (!saved.ok()) {
        Report(io, saved.message());
        return kExitFailure;
    }
    io.out << line << '\n';
    if (!a.quiet)
        io.out << "Saved " << core::PathText(dir / core::PathFromUtf8(name)) << '\n';
    return kExitOk;
}

bool IsNamedLikeTheSettings(const fs::path& path)
{
    const std::string name = core::PathText(path.filename());
    const std::string_view settings = core::kSettingsFileName;
    if (name.size() != settings.size())
        return false;
    for (std::size_t i = 0; i < name.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(name[i]))
            != std::tolower(static_cast<unsigned char>(settings[i])))
            return false;
    return true;
}

// --in-place saves over every file it is given, so a shell pattern that also
// matches other files must not turn them into order-of-battle files: the whole
// run is refused before anything is written.
void RefuseFilesNotToSaveOver(const Arguments& a, const fs::path& settingsPath)
{
    std::string refused;
    for (const std::string& file : a.inputs) {
        const fs::path path = core::PathFromUtf8(file);
        std::string why;
        if (IsSameFile(path, settingsPath) || IsNamedLikeTheSettings(path))
            why = "is a settings file";
        else if (!a.anyName && !IsOobFileName(core::PathText(path.filename())))
            why = "is not named as an order-of-battle file (obatNNN.obf)";
        if (!why.empty())
            refused += "\n  " + core::PathText(path) + " " + why;
    }
    if (!refused.empty())
        throw UsageError(
            "--in-place would save over files that are not order-of-battle files; nothing was changed:"
            + refused + "\n(--any-name takes files of any other name)");
}

int RunInPlace(BulkKind kind, const Arguments& a, const fs::path& settingsPath, Output& io)
{
    RefuseFilesNotToSaveOver(a, settingsPath);
    auto data = std::make_unique<core::TOobData>();
    std::size_t failed = 0;
    for (const std::string& file : a.inputs) {
        const fs::path path = core::PathFromUtf8(file);
        const int nation = NationOf(a, path);
        if (nation == 0) {
            Report(io,
                "cannot tell the nation of " + core::PathText(path)
                    + " from its name (obatNNN.obf); give --nation");
            ++failed;
            continue;
        }
        if (!Load(path, nation, *data, io)) {
            ++failed;
            continue;
        }
        const std::string line = Apply(kind, a, *data);
        TidyAndNote(*data, nation, io);
        const std::vector<std::uint8_t> bytes
            = core::EncodeOobFile(*data, static_cast<std::uint16_t>(nation));
        const IoResult saved = core::WriteFileAtomic(path, bytes.data(), bytes.size());
        if (!saved.ok()) {
            Report(io, saved.message());
            ++failed;
            continue;
        }
        io.out << core::PathText(path) << ": " << line << '\n';
    }
    if (failed > 0) {
        Report(io,
            std::to_string(failed) + " of " + std::to_string(a.inputs.size())
                + " files failed and were left as they were");
        return kExitFailure;
    }
    return kExitOk;
}

int RunBulk(BulkKind kind, const Context& c)
{
    return c.args.inPlace ? RunInPlace(kind, c.args, c.settingsPath, c.io)
                          : RunOne(kind, c.args, c.settingsPath, c.io);
}

} // namespace

int RunRenationalise(const Context& c)
{
    return RunBulk(BulkKind::Renationalise, c);
}

int RunReclassify(const Context& c)
{
    return RunBulk(BulkKind::Reclassify, c);
}

} // namespace tarnwick::cli
