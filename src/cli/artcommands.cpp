#include "cli/artcommands.h"

#include "cli/stdstreams.h"
#include "codec/artexport.h"
#include "codec/png.h"
#include "codec/quantise.h"
#include "core/data/escape.h"
#include "core/data/fileio.h"
#include "core/graphics/lbm.h"
#include "core/graphics/pictureimport.h"

#include <filesystem>
#include <iostream>
#include <ostream>
#include <stdexcept>
#include <system_error>
#include <thread>

namespace tarnwick::cli {

namespace fs = std::filesystem;

const char* const kPictureImportUsage
    = "Usage: tarnwick-cli picture-import IN.png -o OUT.lbm [--palette REF.lbm] [--dither] [--force]\n"
      "\n"
      "Writes a PNG picture as a unit picture (an 8-plane LBM file). A picture of at\n"
      "most 256 colours is kept exactly, with its own palette. A picture of more\n"
      "colours is mapped onto the palette of REF.lbm when --palette is given (the\n"
      "nearest colour by eye; --dither spreads the difference), else reduced to its\n"
      "own best 256 colours. Pixels less than half opaque take colour 0. An existing\n"
      "OUT is replaced only with --force. IN may be - for standard input.\n"
      "\n"
      "Limits: at most 8192 x 8192 pixels, and an LBM file of at most 16 MiB (a\n"
      "large picture of many colours may not fit). A picture that large takes\n"
      "about 600 MB of memory and tens of seconds, about three times as long with\n"
      "--palette and --dither. A REF.lbm with fewer than 256 colours: only those\n"
      "are used.\n";

const char* const kArtExportUsage
    = "Usage: tarnwick-cli art-export GAMEDIR -o OUTDIR [--format png|bmp] [--jobs N]\n"
      "                               [--transparent T] [--force]\n"
      "\n"
      "Writes every picture of GAMEDIR/pic as OUTDIR/pic/PmNNNNN.png and every frame\n"
      "of every icon file of GAMEDIR/shp as OUTDIR/shp/IconNNNN_FF.png, the icons'\n"
      "uncovered colour T (default 240) as see-through. N worker threads (default:\n"
      "one per processor). Broken files are named and skipped; the exit status is\n"
      "then 1. OUTDIR may lie inside GAMEDIR only with --force.\n";

namespace {

// 256 MiB: far more than any picture of kMaxImportSide squared needs compressed.
constexpr std::uintmax_t kMaxPngBytes = std::uintmax_t { 256 } << 20;

bool HasLbmExtension(const std::string& path)
{
    if (path.size() < 4)
        return false;
    std::string ext = path.substr(path.size() - 4);
    for (char& c : ext)
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return ext == ".lbm";
}

} // namespace

int RunPictureImport(const Context& c)
{
    const Arguments& a = c.args;
    Output& io = c.io;
    const std::string input = a.input;
    const std::string output = *a.output;
    if (!HasLbmExtension(output))
        throw UsageError("-o must name a .lbm file, not '" + output + "'", Command::PictureImport);
    const std::string ref = a.palette.value_or(std::string());
    if (ref.empty())
        RefuseOutputThatIsAnInput(output, { { "the input", input } });
    else
        RefuseOutputThatIsAnInput(output, { { "the input", input }, { "the reference palette", ref } });

    std::error_code ec;
    if (!IsStandardOutput(output) && fs::exists(fs::symlink_status(core::PathFromUtf8(output), ec))
        && !a.force)
        return Fail(io, core::PathText(core::PathFromUtf8(output)) + " exists; give --force to replace it");

    core::Palette palette {};
    int paletteColours = 256;
    if (!ref.empty()) {
        try {
            palette = core::LoadLbmFile(core::PathFromUtf8(ref), &paletteColours).palette;
        } catch (const core::ArtFileError& e) {
            return Fail(io, std::string("reference palette: ") + e.what());
        } catch (const std::runtime_error& e) {
            return Fail(io, "reference palette " + InputName(ref) + ": " + e.what());
        }
    }
    std::vector<std::uint8_t> bytes;
    if (const core::IoResult r = ReadInput(input, bytes, kMaxPngBytes, "a PNG file"); !r.ok())
        return Fail(io, r.message());
    core::PictureImportResult result;
    std::vector<std::uint8_t> lbm;
    try {
        const core::RgbaImage rgba = codec::DecodePng(bytes);
        core::PictureImportOptions options;
        options.palette = ref.empty() ? nullptr : &palette;
        options.paletteColours = paletteColours;
        options.dither = a.dither;
        result = core::ImportPicture(rgba, options, codec::QuantiseImage);
        lbm = core::EncodeImportedPicture(result.image);
    } catch (const std::runtime_error& e) {
        return Fail(io, InputName(input) + ": " + e.what() + "; nothing written");
    }
    if (const core::IoResult r = WriteOutput(output, lbm.data(), lbm.size(), true); !r.ok())
        return Fail(io, r.message());
    for (const std::string& note : result.notes)
        io.err << "tarnwick-cli: note: " << note << '\n';
    return kExitOk;
}

int RunArtExport(const Context& c)
{
    const Arguments& a = c.args;
    Output& io = c.io;
    codec::ArtExportOptions options;
    options.format = FormatOf(a, { "png", "bmp" }) == "bmp" ? codec::ArtFormat::Bmp : codec::ArtFormat::Png;
    options.jobs = a.jobs;
    options.transparent = static_cast<std::uint8_t>(a.transparent);
    const fs::path gameDir = core::PathFromUtf8(a.input);
    const fs::path outDir = core::PathFromUtf8(*a.output);
    std::error_code ec;
    if (!fs::is_directory(gameDir, ec))
        return Fail(io, core::PathText(gameDir) + " is not a folder");
    if (!a.force && codec::IsInsideFolder(outDir, gameDir))
        return Fail(io,
            core::PathText(outDir) + " is inside the game folder " + core::PathText(gameDir)
                + "; give --force to write the pictures there");

    const bool terminal = &io.err == &std::cerr && IsTerminal(stderr);
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
        io.err << "tarnwick-cli: " << core::EscapeControls(core::PathText(problem.file)) << ": "
               << core::EscapeControls(problem.reason) << " (skipped)\n";
    Notes(c) << "Wrote " << report.picturesWritten << " of " << report.counts.pictures << " pictures and "
             << report.framesWritten << " icon frames of " << report.counts.iconFiles << " icon files to "
             << core::PathText(outDir) << '\n';
    if (!report.problems.empty())
        Notes(c) << report.problems.size() << (report.problems.size() == 1 ? " problem" : " problems")
                 << " (see above)\n";
    return report.problems.empty() ? kExitOk : kExitFailure;
}

} // namespace tarnwick::cli
