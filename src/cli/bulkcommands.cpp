#include "cli/bulkcommands.h"

#include "core/data/fileio.h"
#include "core/data/globals.h"
#include "core/data/records.h"
#include "core/data/tarnio.h"
#include "core/rules/reclassify.h"
#include "core/rules/renationalise.h"

#include <memory>
#include <ostream>
#include <string_view>
#include <system_error>

namespace tarnwick::cli {

namespace fs = std::filesystem;
using core::IoResult;

namespace {

enum class BulkKind { Renationalise, Reclassify };

constexpr const char* kRenationaliseUsage
    = "Usage: tarnwick-cli [--ini FILE] renationalise IN.obf [--nation N] --from A --to B -o OUT.obf\n"
      "       tarnwick-cli [--ini FILE] renationalise --in-place FILE... [--nation N] --from A --to B\n"
      "\n"
      "Changes nation A to nation B in every unit and formation, empty slots\n"
      "included, as the editor's Renationalise dialog does, and prints\n"
      "\"Processed : u Units, f Formations\". A and B are read as the dialog reads\n"
      "them: digits and minus signs are kept, an empty text is 0, and the number\n"
      "is limited to 0..99.\n"
      "\n"
      "N is the nation of the file (1..999); it is taken from an obatNNN.obf file\n"
      "name when --nation is not given. OUT is written as the editor's Save writes,\n"
      "at exactly the path given. With --in-place every FILE is saved over itself;\n"
      "a file that fails is reported and the others still run.\n";

constexpr const char* kReclassifyUsage
    = "Usage: tarnwick-cli [--ini FILE] reclassify IN.obf [--nation N] --from A --to B -o OUT.obf\n"
      "       tarnwick-cli [--ini FILE] reclassify --in-place FILE... [--nation N] --from A --to B\n"
      "\n"
      "Changes unit class A to class B in every unit, empty slots included, as the\n"
      "editor's Reclassify dialog does, and prints \"Reclassified : n Units\". A and\n"
      "B are read as the dialog reads them: digits and minus signs are kept, an\n"
      "empty text is 0, and the number is limited to 0..255.\n"
      "\n"
      "N is the nation of the file (1..999); it is taken from an obatNNN.obf file\n"
      "name when --nation is not given. OUT is written as the editor's Save writes,\n"
      "at exactly the path given. With --in-place every FILE is saved over itself;\n"
      "a file that fails is reported and the others still run.\n";

struct BulkArguments {
    BulkKind kind = BulkKind::Renationalise;
    bool help = false;
    bool inPlace = false;
    std::vector<std::string> files;
    std::optional<int> nation;
    std::optional<std::string> from;
    std::optional<std::string> to;
    std::optional<std::string> output;
    int fromValue = 0;
    int toValue = 0;
};

const char* KindName(BulkKind kind)
{
    return kind == BulkKind::Renationalise ? "renationalise" : "reclassify";
}

std::optional<BulkKind> FindBulkCommand(std::string_view name)
{
    if (name == "renationalise")
        return BulkKind::Renationalise;
    if (name == "reclassify")
        return BulkKind::Reclassify;
    return std::nullopt;
}

int ReadValue(BulkKind kind, const char* option, const std::string& text)
{
    try {
        return kind == BulkKind::Renationalise ? core::ReadRenatNation(text)
                                               : core::ReadReclassifyClass(text);
    } catch (const core::EConvertError& e) {
        throw UsageError(std::string(option) + ": " + e.what());
    }
}

// The options after the command.
BulkArguments ParseBulk(BulkKind kind, const std::vector<std::string>& args, std::size_t i)
{
    BulkArguments out;
    out.kind = kind;
    for (std::size_t j = i; j < args.size() && args[j] != "--"; ++j)
        if (args[j] == "-h" || args[j] == "--help") {
            out.help = true;
            return out;
        }
    bool optionsEnded = false;
    for (; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (optionsEnded || a.empty() || a[0] != '-' || a == "-") {
            out.files.push_back(a);
            continue;
        }
        if (a == "--") {
            optionsEnded = true;
            continue;
        }
        if (a == "--in-place") {
            if (out.inPlace)
                throw UsageError("--in-place given twice");
            out.inPlace = true;
            continue;
        }
        std::string name = a;
        std::optional<std::string> value;
        if (const auto eq = a.find('='); a.rfind("--", 0) == 0 && eq != std::string::npos) {
            name = a.substr(0, eq);
            value = a.substr(eq + 1);
        }
        std::optional<std::string>* slot = nullptr;
        if (name == "--from")
            slot = &out.from;
        else if (name == "--to")
            slot = &out.to;
        else if (name == "-o" || name == "--output")
            slot = &out.output;
        else if (name != "--nation")
            throw UsageError("unknown option '" + a + "' for " + KindName(kind));
        if (!value) {
            // The next argument is the value even when it starts with a minus ("--from -5").
            if (i + 1 >= args.size())
                throw UsageError(name + " needs a value");
            value = args[++i];
        }
        if (slot == nullptr) {
            if (out.nation)
                throw UsageError("--nation given twice");
            out.nation = ParseNation(*value);
            continue;
        }
        if (*slot)
            throw UsageError(name + " given twice");
        *slot = *value;
    }

    if (!out.from)
        throw UsageError(std::string(KindName(kind)) + " needs --from");
    if (!out.to)
        throw UsageError(std::string(KindName(kind)) + " needs --to");
    if (out.inPlace) {
        if (out.output)
            throw UsageError("-o cannot be used with --in-place");
        if (out.files.empty())
            throw UsageError("--in-place needs at least one FILE");
    } else {
        if (out.files.empty() || out.files[0].empty())
            throw UsageError(std::string(KindName(kind)) + " needs IN.obf");
        if (out.files.size() > 1)
            throw UsageError("unexpected argument '" + out.files[1] + "'; use --in-place for several files");
        if (!out.output)
            throw UsageError(std::string(KindName(kind)) + " needs -o");
        if (out.output->empty())
            throw UsageError("-o needs a path");
    }
    out.fromValue = ReadValue(kind, "--from", *out.from);
    out.toValue = ReadValue(kind, "--to", *out.to);
    return out;
}

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
        io.err << "tarnwick-cli: warning: " << path.string() << " is short (" << r.bytesInFile << " of "
               << core::kOobFileSize << " bytes); the rest reads as zeros and the save writes a full file\n";
    else if (r.size == core::LoadResult::Size::Long)
        io.err << "tarnwick-cli: warning: " << path.string() << " is long (" << r.bytesInFile
               << " bytes); the bytes beyond a full file are kept as they are\n";
    return true;
}

// Applies the change and returns the line the command prints.
std::string Apply(const BulkArguments& a, core::TOobData& data)
{
    const auto from = static_cast<std::uint8_t>(a.fromValue);
    const auto to = static_cast<std::uint8_t>(a.toValue);
    if (a.kind == BulkKind::Renationalise) {
        const core::RenumberCounts counts = core::RenumberNation(data, from, to);
        return core::RenatProcessedText(counts.units, counts.formations);
    }
    return core::ReclassifiedText(core::ReclassifyUnits(data, from, to));
}

int NationOf(const BulkArguments& a, const fs::path& file)
{
    return a.nation ? *a.nation : NationFromFileName(file.filename().string());
}

int RunOne(const BulkArguments& a, const fs::path& settingsPath, Output& io)
{
    const fs::path in(a.files[0]);
    const int nation = NationOf(a, in);
    if (nation == 0)
        throw UsageError("cannot tell the nation of '" + in.filename().string()
            + "' from its name (obatNNN.obf); give --nation");
    const fs::path out(*a.output);
    const std::string name = out.filename().string();
    if (name.empty() || name == "." || name == "..")
        throw UsageError("-o must name a file, not a folder: '" + *a.output + "'");
    // Writing over the input is a save of it, as --in-place does; the settings file is not.
    RefuseOutputThatIsAnInput(out, { { "the settings file", settingsPath } });
    const fs::path dir = out.parent_path().empty() ? fs::path(".") : out.parent_path();

    auto data = std::make_unique<core::TOobData>();
    if (!Load(in, nation, *data, io))
        return kExitFailure;
    const std::string line = Apply(a, *data);
    std::error_code ec;
    if (fs::is_directory(out, ec)) {
        Report(io,
            IoResult::failure(
                IoResult::Kind::WriteError, out, std::make_error_code(std::errc::is_a_directory).message())
                .message());
        return kExitFailure;
    }
    const IoResult saved = core::SaveOobFileAs(*data, static_cast<std::uint16_t>(nation), name, dir);
    if (!saved.ok()) {
        Report(io, saved.message());
        return kExitFailure;
    }
    io.out << line << '\n';
    io.out << "Saved " << (dir / name).string() << '\n';
    return kExitOk;
}

int RunInPlace(const BulkArguments& a, Output& io)
{
    auto data = std::make_unique<core::TOobData>();
    std::size_t failed = 0;
    for (const std::string& file : a.files) {
        const fs::path path(file);
        const int nation = NationOf(a, path);
        if (nation == 0) {
            Report(io, "cannot tell the nation of " + file + " from its name (obatNNN.obf); give --nation");
            ++failed;
            continue;
        }
        if (!Load(path, nation, *data, io)) {
            ++failed;
            continue;
        }
        const std::string line = Apply(a, *data);
        const std::vector<std::uint8_t> bytes
            = core::EncodeOobFile(*data, static_cast<std::uint16_t>(nation));
        const IoResult saved = core::WriteFileAtomic(path, bytes.data(), bytes.size());
        if (!saved.ok()) {
            Report(io, saved.message());
            ++failed;
            continue;
        }
        io.out << file << ": " << line << '\n';
    }
    if (failed > 0) {
        Report(io,
            std::to_string(failed) + " of " + std::to_string(a.files.size())
                + " files failed and were left as they were");
        return kExitFailure;
    }
    return kExitOk;
}

} // namespace

std::optional<int> RunBulkCommandLine(
    const std::vector<std::string>& args, const fs::path& programDir, Output& io)
{
    Arguments global;
    std::size_t i = 0;
    for (; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--ini" && i + 1 < args.size() && !args[i + 1].empty()) {
            global.ini = args[++i];
            continue;
        }
        if (a.rfind("--ini=", 0) == 0 && a.size() > 6) {
            global.ini = a.substr(6);
            continue;
        }
        break;
    }
    if (i >= args.size())
        return std::nullopt;
    const std::optional<BulkKind> kind = FindBulkCommand(args[i]);
    if (!kind)
        return std::nullopt; // another command, or a global option the main parser reports

    try {
        const BulkArguments parsed = ParseBulk(*kind, args, i + 1);
        if (parsed.help) {
            io.out << (*kind == BulkKind::Renationalise ? kRenationaliseUsage : kReclassifyUsage);
            return kExitOk;
        }
        core::Settings settings;
        fs::path settingsPath;
        if (!LoadSettings(global, programDir, settings, settingsPath, io))
            return kExitFailure;
        return parsed.inPlace ? RunInPlace(parsed, io) : RunOne(parsed, settingsPath, io);
    } catch (const UsageError& e) {
        io.err << "tarnwick-cli: " << e.what() << '\n';
        io.err << "Try 'tarnwick-cli " << KindName(*kind) << " --help'.\n";
        return kExitUsage;
    }
}

} // namespace tarnwick::cli
