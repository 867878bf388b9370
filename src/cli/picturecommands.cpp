#include "cli/picturecommands.h"

#include "cli/commands.h"

#include "codec/png.h"
#include "core/data/fileio.h"
#include "core/graphics/indexedimage.h"
#include "core/graphics/lbm.h"
#include "core/graphics/shp.h"

#include <cstdint>
#include <filesystem>
#include <ostream>
#include <stdexcept>
#include <string_view>
#include <system_error>

namespace tarnwick::cli {

namespace fs = std::filesystem;

namespace {

constexpr const char* kPictureUsage
    = "Usage: tarnwick-cli picture IN.lbm -o OUT.bmp|OUT.png\n"
      "\n"
      "Decodes a unit picture (an 8-plane LBM file) and writes it as an 8-bit\n"
      "BMP file or a palette PNG file, chosen by OUT's extension.\n";

constexpr const char* kIconUsage
    = "Usage: tarnwick-cli icon IN.shp --frame F [--transparent T] -o OUT.bmp|OUT.png\n"
      "\n"
      "Decodes directory entry F (1..255) of an icon shape file and writes it as an\n"
      "8-bit BMP file or a palette PNG file, chosen by OUT's extension. Pixels the\n"
      "shape does not cover get palette index T (0..255, default 240).\n";

struct PictureArgs {
    bool icon = false;
    bool help = false;
    std::string input;
    std::string output;
    int frame = 0;
    int transparent = core::kDefaultTransparentColour;
};

class PictureUsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

int ParseNumber(const std::string& option, const std::string& text, int low, int high)
{
    const std::string problem = option + " must be a number from " + std::to_string(low) + " to "
        + std::to_string(high) + ", not '" + text + "'";
    if (text.empty() || text.size() > 3)
        throw PictureUsageError(problem);
    int n = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            throw PictureUsageError(problem);
        n = n * 10 + (c - '0');
    }
    if (n < low || n > high)
        throw PictureUsageError(problem);
    return n;
}

bool HasExtension(const std::string& path, std::string_view ext)
{
    if (path.size() < ext.size())
        return false;
    for (std::size_t i = 0; i < ext.size(); ++i) {
        char c = path[path.size() - ext.size() + i];
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        if (c != ext[i])
            return false;
    }
    return true;
}

void ParsePictureArgs(const std::vector<std::string>& args, std::size_t i, PictureArgs& out)
{
    bool haveOutput = false;
    bool haveFrame = false;
    bool haveTransparent = false;
    bool optionsEnded = false;
    std::vector<std::string> positional;
    for (; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (!optionsEnded && (a == "-h" || a == "--help")) {
            out.help = true;
            return;
        }
        if (optionsEnded || a.empty() || a[0] != '-' || a == "-") {
            positional.push_back(a);
            continue;
        }
        if (a == "--") {
            optionsEnded = true;
            continue;
        }
        std::string name = a;
        std::optional<std::string> value;
        if (a.rfind("--", 0) == 0 && a.find('=') != std::string::npos) {
            name = a.substr(0, a.find('='));
            value = a.substr(a.find('=') + 1);
        }
        bool* seen = nullptr;
        if (name == "-o" || name == "--output")
            seen = &haveOutput;
        else if (out.icon && name == "--frame")
            seen = &haveFrame;
        else if (out.icon && name == "--transparent")
            seen = &haveTransparent;
        else
            throw PictureUsageError("unknown option '" + a + "' for " + (out.icon ? "icon" : "picture"));
        if (*seen)
            throw PictureUsageError(name + " given twice");
        *seen = true;
        if (!value) {
            if (i + 1 >= args.size())
                throw PictureUsageError(name + " needs a value");
            value = args[++i];
        }
        if (seen == &haveOutput) {
            if (value->empty())
                throw PictureUsageError("-o needs a path");
            out.output = *value;
        } else if (seen == &haveFrame) {
            out.frame = ParseNumber("--frame", *value, 1, core::kMaxShpFrames);
        } else {
            out.transparent = ParseNumber("--transparent", *value, 0, 255);
        }
    }
    const char* what = out.icon ? "IN.shp" : "IN.lbm";
    if (positional.empty() || positional[0].empty())
        throw PictureUsageError(std::string(out.icon ? "icon" : "picture") + " needs " + what);
    if (positional.size() > 1)
        throw PictureUsageError("unexpected argument '" + positional[1] + "'");
    out.input = positional[0];
    if (out.icon && !haveFrame)
        throw PictureUsageError("icon needs --frame");
    if (!haveOutput)
        throw PictureUsageError(std::string(out.icon ? "icon" : "picture") + " needs -o");
    if (!HasExtension(out.output, ".bmp") && !HasExtension(out.output, ".png"))
        throw PictureUsageError("-o must name a .bmp or .png file, not '" + out.output + "'");
}

int Fail(Output& io, const std::string& message)
{
    io.err << "tarnwick-cli: " << message << '\n';
    return kExitFailure;
}

int Run(const PictureArgs& a, Output& io)
{
    std::error_code ec;
    const fs::file_status st = fs::status(a.input, ec);
    if (fs::exists(st) && !fs::is_regular_file(st))
        return Fail(io, "Cannot read " + a.input + ": Not a regular file");
    try {
        RefuseOutputThatIsAnInput(a.output, { { "the input", a.input } });
    } catch (const UsageError& e) {
        io.err << "tarnwick-cli: " << e.what() << '\n';
        return kExitUsage;
    }
    core::IndexedImage image;
    try {
        image = a.icon ? core::LoadShpFrame(a.input, a.frame, static_cast<std::uint8_t>(a.transparent))
                       : core::LoadLbmFile(a.input);
    } catch (const core::ArtFileError& e) {
        return Fail(io, e.what());
    } catch (const std::runtime_error& e) {
        return Fail(io, a.input + ": " + e.what());
    }
    std::vector<std::uint8_t> bytes;
    try {
        bytes = HasExtension(a.output, ".png") ? codec::EncodePng(image) : core::EncodeBmp(image);
    } catch (const std::runtime_error& e) {
        return Fail(io, e.what());
    }
    const core::IoResult r = core::WriteFileAtomic(a.output, bytes.data(), bytes.size());
    if (!r.ok())
        return Fail(io, r.message());
    return kExitOk;
}

} // namespace

std::optional<int> RunPictureCommand(const std::vector<std::string>& args, Output& io)
{
    // Global options before the command; the artwork commands use no settings.
    std::size_t i = 0;
    while (i < args.size() && (args[i] == "--ini" || args[i].rfind("--ini=", 0) == 0))
        i += args[i] == "--ini" ? 2 : 1;
    if (i >= args.size() || (args[i] != "picture" && args[i] != "icon"))
        return std::nullopt;
    PictureArgs parsed;
    parsed.icon = args[i] == "icon";
    const char* name = parsed.icon ? "icon" : "picture";
    try {
        ParsePictureArgs(args, i + 1, parsed);
    } catch (const PictureUsageError& e) {
        io.err << "tarnwick-cli: " << e.what() << "\nTry 'tarnwick-cli " << name << " --help'.\n";
        return kExitUsage;
    }
    if (parsed.help) {
        io.out << (parsed.icon ? kIconUsage : kPictureUsage);
        return kExitOk;
    }
    return Run(parsed, io);
}

} // namespace tarnwick::cli
