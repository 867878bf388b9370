#include "cli/picturecommands.h"

#include "cli/commands.h"
#include "cli/stdstreams.h"

#include "codec/png.h"
#include "core/data/fileio.h"
#include "core/graphics/indexedimage.h"
#include "core/graphics/lbm.h"
#include "core/graphics/shp.h"

#include <cstdint>
#include <filesystem>
#include <new>
#include <ostream>
#include <stdexcept>
#include <string_view>
#include <system_error>

namespace tarnwick::cli {

namespace fs = std::filesystem;

namespace {

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

int Run(bool icon, const Arguments& a, Output& io)
{
    const std::string& output = *a.output;
    const bool toStream = IsStandardOutput(output);
    if (a.format.empty() && !toStream && !HasExtension(output, ".bmp") && !HasExtension(output, ".png"))
        throw UsageError("-o must name a .bmp or .png file, or give --format, not '" + output + "'");
    const bool png = a.format.empty() ? toStream || HasExtension(output, ".png")
                                      : FormatOf(a, { "png", "bmp" }) == "png";
    const bool fromStream = IsStandardInput(a.input);
    std::error_code ec;
    const fs::path in = core::PathFromUtf8(a.input);
    const fs::file_status st = fs::status(in, ec);
    if (!fromStream && fs::exists(st) && !fs::is_regular_file(st))
        return Fail(io, "Cannot read " + core::PathText(in) + ": Not a regular file");
    RefuseOutputThatIsAnInput(output, { { "the input", a.input } });
    core::IndexedImage image;
    try {
        const auto transparent = static_cast<std::uint8_t>(a.transparent);
        if (fromStream) {
            std::vector<std::uint8_t> in;
            if (const core::IoResult r = ReadInput(a.input, in, core::kMaxArtFileBytes, "a picture file");
                !r.ok())
                return Fail(io, r.message());
            image = icon ? core::DecodeShpFrame(in, *a.frame, transparent) : core::DecodeLbm(in);
        } else {
            image = icon ? core::LoadShpFrame(in, *a.frame, transparent) : core::LoadLbmFile(in);
        }
    } catch (const core::ArtFileError& e) {
        return Fail(io, e.what());
    } catch (const std::runtime_error& e) {
        return Fail(io, InputName(a.input) + ": " + e.what());
    }
    std::vector<std::uint8_t> bytes;
    try {
        bytes = png ? codec::EncodePng(image) : core::EncodeBmp(image);
    } catch (const std::bad_alloc&) {
        throw;
    } catch (const std::exception& e) {
        return Fail(io, e.what());
    }
    const core::IoResult r = WriteOutput(output, bytes.data(), bytes.size(), true);
    if (!r.ok())
        return Fail(io, r.message());
    return kExitOk;
}

} // namespace

int RunPicture(const Context& c)
{
    return Run(false, c.args, c.io);
}

int RunIcon(const Context& c)
{
    return Run(true, c.args, c.io);
}

} // namespace tarnwick::cli
