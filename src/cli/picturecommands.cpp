#include "cli/picturecommands.h"

#include "cli/commands.h"

#include "core/data/fileio.h"
#include "core/graphics/indexedimage.h"
#include "core/graphics/lbm.h"
#include "core/graphics/shp.h"

#include <png.h>

#include <csetjmp>
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

// ---- PNG through libpng ----

struct PngSink {
    std::vector<std::uint8_t>* bytes;
    std::string error;
};

void PngWrite(png_structp png, png_bytep data, png_size_t length)
{
    auto* sink = static_cast<PngSink*>(png_get_io_ptr(png));
    sink->bytes->insert(sink->bytes->end(), data, data + length);
}

void PngFlush(png_structp) { }

void PngError(png_structp png, png_const_charp message)
{
    auto* sink = static_cast<PngSink*>(png_get_error_ptr(png));
    sink->error = message;
    png_longjmp(png, 1);
}

void PngWarning(png_structp, png_const_charp) { }

// Only plain data lives in this frame, so the jump back on a libpng error skips
// no destructor.
bool WritePngRows(PngSink& sink, const core::IndexedImage& image, png_bytep* rows, png_color* palette)
{
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &sink, PngError, PngWarning);
    if (png == nullptr)
        return false;
    png_infop info = png_create_info_struct(png);
    if (info == nullptr || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, &sink, PngWrite, PngFlush);
    png_set_IHDR(png, info, static_cast<png_uint_32>(image.width), static_cast<png_uint_32>(image.height), 8,
        PNG_COLOR_TYPE_PALETTE, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_PLTE(png, info, palette, 256);
    png_write_info(png, info);
    png_write_image(png, rows);
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}

std::vector<std::uint8_t> EncodePng(const core::IndexedImage& image)
{
    if (image.width <= 0 || image.height <= 0)
        throw std::runtime_error("a PNG file cannot hold a picture of " + std::to_string(image.width) + " x "
            + std::to_string(image.height) + " pixels");
    std::vector<png_bytep> rows(static_cast<std::size_t>(image.height));
    for (int y = 0; y < image.height; ++y)
        rows[static_cast<std::size_t>(y)] = const_cast<png_bytep>(image.row(y));
    png_color palette[256];
    for (std::size_t i = 0; i < 256; ++i)
        palette[i] = { image.palette[i].r, image.palette[i].g, image.palette[i].b };
    std::vector<std::uint8_t> bytes;
    PngSink sink { &bytes, {} };
    if (!WritePngRows(sink, image, rows.data(), palette))
        throw std::runtime_error("cannot encode PNG: " + (sink.error.empty() ? "out of memory" : sink.error));
    return bytes;
}

int Run(bool icon, const Arguments& a, Output& io)
{
    const std::string& output = *a.output;
    if (!HasExtension(output, ".bmp") && !HasExtension(output, ".png"))
        throw UsageError("-o must name a .bmp or .png file, not '" + output + "'");
    std::error_code ec;
    const fs::file_status st = fs::status(a.input, ec);
    if (fs::exists(st) && !fs::is_regular_file(st))
        return Fail(io, "Cannot read " + a.input + ": Not a regular file");
    RefuseOutputThatIsAnInput(output, { { "the input", a.input } });
    core::IndexedImage image;
    try {
        image = icon ? core::LoadShpFrame(a.input, *a.frame, static_cast<std::uint8_t>(a.transparent))
                     : core::LoadLbmFile(a.input);
    } catch (const core::ArtFileError& e) {
        return Fail(io, e.what());
    } catch (const std::runtime_error& e) {
        return Fail(io, a.input + ": " + e.what());
    }
    std::vector<std::uint8_t> bytes;
    try {
        bytes = HasExtension(output, ".png") ? EncodePng(image) : core::EncodeBmp(image);
    } catch (const std::bad_alloc&) {
        throw;
    } catch (const std::exception& e) {
        return Fail(io, e.what());
    }
    const core::IoResult r = core::WriteFileAtomic(output, bytes.data(), bytes.size());
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
