#include "cli/artcommands.h"

#include "codec/artexport.h"
#include "codec/png.h"
#include "codec/quantise.h"
#include "core/data/fileio.h"
#include "core/graphics/lbm.h"
#include "core/graphics/pictureimport.h"

#include <unistd.h>

#include <filesystem>
#include <iostream>
#include <map>
#include <ostream>
#include <set>
#include <stdexcept>
#include <system_error>
#include <thread>

namespace tarnwick::cli {

namespace fs = std::filesystem;

namespace {

constexpr const char* kImportUsage
    = "Usage: tarnwick-cli picture-import IN.png -o OUT.lbm [--palette REF.lbm] [--dither] [--force]\n"
      "\n"
      "Writes a PNG picture as a unit picture (an 8-plane LBM file). A picture of at\n"
      "most 256 colours is kept exactly, with its own palette. A picture of more\n"
      "colours is mapped onto the palette of REF.lbm when --palette is given (the\n"
      "nearest colour by eye; --dither spreads the difference), else reduced to its\n"
      "own best 256 colours. Pixels less than half opaque take colour 0. An existing\n"
      "OUT is replaced only with --force.\n";

constexpr const char* kExportUsage
    = "Usage: tarnwick-cli art-export GAMEDIR -o OUTDIR [--format png|bmp] [--jobs N]\n"
      "                               [--transparent T]\n"
      "\n"
      "Writes every picture of GAMEDIR/pic as OUTDIR/pic/PmNNNNN.png and every frame\n"
      "of every icon file of GAMEDIR/shp as OUTDIR/shp/IconNNNN_FF.png, the icons'\n"
      "uncovered colour T (default 240) as see-through. N worker threads (default:\n"
      "one per processor). Broken files are named and skipped; the exit status is\n"
      "then 1.\n";

// 256 MiB: far more than any picture of kMaxImportSide squared needs compressed.
constexpr std::uintmax_t kMaxPngBytes = std::uintmax_t { 256 } << 20;

class ArtUsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Options with a value, flags, and positional arguments, in the style of the
// other commands: --name value, --name=value, "--" ends options.
struct Parsed {
    std::map<std::string, std::string> values;
    std::set<std::string> flags;
    std::vector<std::string> positional;
    bool help = false;
};

Parsed Parse(const std::vector<std::string>& args, std::size_t i, const std::string& command,
    const std::set<std::string>& valueOptions, const std::set<std::string>& flagOptions)
{
    Parsed p;
    bool ended = false;
    for (; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (!ended && (a == "-h" || a == "--help")) {
            p.help = true;
            return p;
        }
        if (ended || a.empty() || a[0] != '-' || a == "-") {
            p.positional.push_back(a);
            continue;
        }
        if (a == "--") {
            ended = true;
            continue;
        }
        std::string name = a;
        std::optional<std::string> value;
        if (a.rfind("--", 0) == 0 && a.find('=') != std::string::npos) {
            name = a.substr(0, a.find('='));
            value = a.substr(a.find('=') + 1);
        }
        if (name == "--output")
            name = "-o";
        if (flagOptions.count(name) != 0 && !value) {
            if (!p.flags.insert(name).second)
                throw ArtUsageError(name + " given twice");
            continue;
        }
        if (valueOptions.count(name) == 0)
            throw ArtUsageError("unknown option '" + a + "' for " + command);
        if (p.values.count(name) != 0)
            throw ArtUsageError(name + " given twice");
        if (!value) {
            if (i + 1 >= args.size())
                throw ArtUsageError(name + " needs a value");
            value = args[++i];
        }
        if (value->empty())
            throw ArtUsageError(name + " needs a value");
        p.values[name] = *value;
    }
    return p;
}

int ParseCount(const std::string& option, const std::string& text, int low, int high)
{
    const std::string problem = option + " must be a number from " + std::to_string(low) + " to "
        + std::to_string(high) + ", not '" + text + "'";
    if (text.empty() || text.size() > 4)
        throw ArtUsageError(problem);
    int n = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            throw ArtUsageError(problem);
        n = n * 10 + (c - '0');
    }
    if (n < low || n > high)
        throw ArtUsageError(problem);
    return n;
}

bool HasLbmExtension(const std::string& path)
{
    if (path.size() < 4)
        return false;
    std::string ext = path.substr(path.size() - 4);
    for (char& c : ext)
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return ext == ".lbm";
}

int Fail(Output& io, const std::string& message)
{
    io.err << "tarnwick-cli: " << message << '\n';
    return kExitFailure;
}

int RunImport(const Parsed& p, Output& io)
{
    if (p.positional.empty() || p.positional[0].empty())
        throw ArtUsageError("picture-import needs IN.png");
    if (p.positional.size() > 1)
        throw ArtUsageError("unexpected argument '" + p.positional[1] + "'");
    if (p.values.count("-o") == 0)
        throw ArtUsageError("picture-import needs -o");
    const std::string input = p.positional[0];
    const std::string output = p.values.at("-o");
    if (!HasLbmExtension(output))
        throw ArtUsageError("-o must name a .lbm file, not '" + output + "'");
    const std::string ref = p.values.count("--palette") != 0 ? p.values.at("--palette") : std::string();
    if (ref.empty())
        RefuseOutputThatIsAnInput(output, { { "the input", input } });
    else
        RefuseOutputThatIsAnInput(output, { { "the input", input }, { "the reference palette", ref } });

    std::error_code ec;
    if (fs::exists(fs::symlink_status(output, ec)) && p.flags.count("--force") == 0)
        return Fail(io, output + " exists; give --force to replace it");

    core::Palette palette {};
    if (!ref.empty()) {
        try {
            palette = core::LoadLbmFile(ref).palette;
        } catch (const core::ArtFileError& e) {
            return Fail(io, std::string("reference palette: ") + e.what());
        } catch (const std::runtime_error& e) {
            return Fail(io, "reference palette " + ref + ": " + e.what());
        }
    }
    std::vector<std::uint8_t> bytes;
    if (const core::IoResult r = core::ReadWholeFile(input, bytes, kMaxPngBytes, "a PNG file"); !r.ok())
        return Fail(io, r.message());
    core::ImportResult result;
    try {
        const core::RgbaImage rgba = codec::DecodePng(bytes);
        core::ImportOptions options;
        options.palette = ref.empty() ? nullptr : &palette;
        options.dither = p.flags.count("--dither") != 0;
        result = core::ImportPicture(rgba, options, codec::QuantiseImage);
    } catch (const std::runtime_error& e) {
        return Fail(io, input + ": " + e.what() + "; nothing written");
    }
    const std::vector<std::uint8_t> lbm = core::EncodeIlbm(result.image);
    if (const core::IoResult r = core::WriteFileAtomic(output, lbm.data(), lbm.size()); !r.ok())
        return Fail(io, r.message());
    for (const std::string& note : result.notes)
        io.err << "tarnwick-cli: note: " << note << '\n';
    return kExitOk;
}

int RunExport(const Parsed& p, Output& io)
{
    if (p.positional.empty() || p.positional[0].empty())
        throw ArtUsageError("art-export needs GAMEDIR");
    if (p.positional.size() > 1)
        throw ArtUsageError("unexpected argument '" + p.positional[1] + "'");
    if (p.values.count("-o") == 0)
        throw ArtUsageError("art-export needs -o");
    codec::ArtExportOptions options;
    if (p.values.count("--format") != 0) {
        const std::string& f = p.values.at("--format");
        if (f == "png")
            options.format = codec::ArtFormat::Png;
        else if (f == "bmp")
            options.format = codec::ArtFormat::Bmp;
        else
            throw ArtUsageError("--format must be png or bmp, not '" + f + "'");
    }
    if (p.values.count("--jobs") != 0)
        options.jobs = ParseCount("--jobs", p.values.at("--jobs"), 1, 1024);
    if (p.values.count("--transparent") != 0)
        options.transparent
            = static_cast<std::uint8_t>(ParseCount("--transparent", p.values.at("--transparent"), 0, 255));
    const fs::path gameDir = p.positional[0];
    const fs::path outDir = p.values.at("-o");
    std::error_code ec;
    if (!fs::is_directory(gameDir, ec))
        return Fail(io, gameDir.string() + " is not a folder");

    const bool terminal = &io.err == &std::cerr && ::isatty(STDERR_FILENO) == 1;
    auto show = [&](const codec::ArtExportCounts& c) {
        io.err << '\r' << c.picturesDone << '/' << c.pictures << " pictures, " << c.iconFilesDone << '/'
               << c.iconFiles << " icon files" << std::flush;
    };
    codec::ArtExportProgress progress;
    if (terminal)
        progress = show;
    const codec::ArtExportReport report = codec::ExportArt(gameDir, outDir, options, progress);
    if (terminal)
        io.err << '\n';
    if (!report.error.empty())
        return Fail(io, report.error);
    for (const codec::ArtExportProblem& problem : report.problems)
        io.err << "tarnwick-cli: " << problem.file.string() << ": " << problem.reason << " (skipped)\n";
    io.out << "Wrote " << report.picturesWritten << " of " << report.counts.pictures << " pictures and "
           << report.framesWritten << " icon frames of " << report.counts.iconFiles << " icon files to "
           << outDir.string() << '\n';
    if (!report.problems.empty())
        io.out << report.problems.size() << (report.problems.size() == 1 ? " problem" : " problems")
               << " (see above)\n";
    return report.problems.empty() ? kExitOk : kExitFailure;
}

} // namespace

std::optional<int> RunArtCommand(const std::vector<std::string>& args, Output& io)
{
    std::size_t i = 0;
    while (i < args.size() && (args[i] == "--ini" || args[i].rfind("--ini=", 0) == 0))
        i += args[i] == "--ini" ? 2 : 1;
    if (i >= args.size() || (args[i] != "picture-import" && args[i] != "art-export"))
        return std::nullopt;
    const std::string command = args[i];
    const bool import = command == "picture-import";
    try {
        const Parsed p = import
            ? Parse(args, i + 1, command, { "-o", "--palette" }, { "--dither", "--force" })
            : Parse(args, i + 1, command, { "-o", "--format", "--jobs", "--transparent" }, {});
        if (p.help) {
            io.out << (import ? kImportUsage : kExportUsage);
            return kExitOk;
        }
        return import ? RunImport(p, io) : RunExport(p, io);
    } catch (const ArtUsageError& e) {
        io.err << "tarnwick-cli: " << e.what() << "\nTry 'tarnwick-cli " << command << " --help'.\n";
        return kExitUsage;
    } catch (const UsageError& e) {
        io.err << "tarnwick-cli: " << e.what() << '\n';
        return kExitUsage;
    }
}

} // namespace tarnwick::cli
