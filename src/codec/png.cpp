#include "codec/png.h"

#include <png.h>

#include <csetjmp>
#include <cstring>
#include <string>

namespace tarnwick::codec {

namespace {

// libpng reports errors by a long jump back to the setjmp of the function that
// called it. Every function below that sets one keeps only plain data in its
// frame, so the jump skips no destructor; C++ objects live in the callers.

struct PngState {
    const std::uint8_t* data = nullptr;
    std::size_t size = 0;
    std::size_t at = 0;
    std::vector<std::uint8_t>* sink = nullptr;
    char error[200] = {};
};

void OnError(png_structp png, png_const_charp message)
{
    auto* state = static_cast<PngState*>(png_get_error_ptr(png));
    std::strncpy(state->error, message != nullptr ? message : "unknown error", sizeof state->error - 1);
    png_longjmp(png, 1);
}

void OnWarning(png_structp, png_const_charp) { }

void OnRead(png_structp png, png_bytep out, png_size_t length)
{
    auto* state = static_cast<PngState*>(png_get_io_ptr(png));
    if (state->size - state->at < length)
        png_error(png, "the file ends early");
    std::memcpy(out, state->data + state->at, length);
    state->at += length;
}

void OnWrite(png_structp png, png_bytep data, png_size_t length)
{
    auto* state = static_cast<PngState*>(png_get_io_ptr(png));
    state->sink->insert(state->sink->end(), data, data + length);
}

void OnFlush(png_structp) { }

// The largest chunk libpng may hold in memory: a palette, a text or a profile
// of a real picture is far smaller. Pixel data is read in pieces.
constexpr png_alloc_size_t kMaxChunkBytes = 8u << 20;

std::uint32_t Be32(const std::uint8_t* p)
{
    return (std::uint32_t { p[0] } << 24) | (std::uint32_t { p[1] } << 16) | (std::uint32_t { p[2] } << 8)
        | p[3];
}

struct Reader {
    PngState state;
    png_structp png = nullptr;
    png_infop info = nullptr;
    ~Reader() { png_destroy_read_struct(&png, &info, nullptr); }
};

// Reads the header and sets the conversions to 8-bit RGBA.
bool ReadHeader(Reader& r, png_uint_32& width, png_uint_32& height)
{
    r.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &r.state, OnError, OnWarning);
    if (r.png == nullptr)
        return false;
    r.info = png_create_info_struct(r.png);
    if (r.info == nullptr)
        return false;
    if (setjmp(png_jmpbuf(r.png)))
        return false;
    png_set_read_fn(r.png, &r.state, OnRead);
    // DecodePng has refused larger sizes by now; these keep libpng to the same.
    png_set_user_limits(r.png, core::kMaxImportSide, core::kMaxImportSide);
    png_set_chunk_malloc_max(r.png, kMaxChunkBytes);
#ifdef FUZZING_BUILD_MODE_UNSAFE_FOR_PRODUCTION
    // Let the fuzzer past the checksums, to the decoding behind them.
    png_set_crc_action(r.png, PNG_CRC_QUIET_USE, PNG_CRC_QUIET_USE);
    png_set_option(r.png, PNG_IGNORE_ADLER32, PNG_OPTION_ON);
#endif
    png_read_info(r.png, r.info);
    width = png_get_image_width(r.png, r.info);
    height = png_get_image_height(r.png, r.info);
    const int type = png_get_color_type(r.png, r.info);
    png_set_expand(r.png);
    png_set_strip_16(r.png);
    if (type == PNG_COLOR_TYPE_GRAY || type == PNG_COLOR_TYPE_GRAY_ALPHA)
        png_set_gray_to_rgb(r.png);
    if (!(type & PNG_COLOR_MASK_ALPHA) && !png_get_valid(r.png, r.info, PNG_INFO_tRNS))
        png_set_add_alpha(r.png, 0xff, PNG_FILLER_AFTER);
    png_set_interlace_handling(r.png);
    png_read_update_info(r.png, r.info);
    if (png_get_rowbytes(r.png, r.info) != 4 * static_cast<png_size_t>(width))
        png_error(r.png, "unexpected pixel layout");
    return true;
}

bool ReadRows(Reader& r, png_bytep* rows)
{
    if (setjmp(png_jmpbuf(r.png)))
        return false;
    png_read_image(r.png, rows);
    png_read_end(r.png, nullptr);
    return true;
}

bool WriteRows(PngState& state, png_uint_32 width, png_uint_32 height, png_bytep* rows, png_color* palette,
    png_bytep alpha, int alphaCount, bool fast)
{
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &state, OnError, OnWarning);
    if (png == nullptr)
        return false;
    png_infop info = png_create_info_struct(png);
    if (info == nullptr || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, &state, OnWrite, OnFlush);
    if (fast)
        png_set_compression_level(png, 1);
    png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_PALETTE, PNG_INTERLACE_NONE,
        PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_PLTE(png, info, palette, 256);
    if (alphaCount > 0)
        png_set_tRNS(png, info, alpha, alphaCount, nullptr);
    png_write_info(png, info);
    png_write_image(png, rows);
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}

void RefuseSize(std::uint32_t width, std::uint32_t height)
{
    const auto most = static_cast<std::uint32_t>(core::kMaxImportSide);
    if (width > most || height > most)
        throw PngError("the picture is " + std::to_string(width) + " x " + std::to_string(height)
            + " pixels, larger than " + std::to_string(most) + " x " + std::to_string(most));
}

} // namespace

core::RgbaImage DecodePng(std::span<const std::uint8_t> bytes)
{
    if (bytes.size() < 8 || png_sig_cmp(bytes.data(), 0, 8) != 0)
        throw PngError("not a PNG file");
    // The size is refused from the header chunk itself, before libpng sets up
    // rows for it (gigabytes for a header that claims two billion columns).
    if (bytes.size() >= 24 && std::memcmp(bytes.data() + 12, "IHDR", 4) == 0)
        RefuseSize(Be32(bytes.data() + 16), Be32(bytes.data() + 20));
    Reader r;
    r.state.data = bytes.data();
    r.state.size = bytes.size();
    png_uint_32 width = 0, height = 0;
    if (!ReadHeader(r, width, height))
        throw PngError(
            std::string("damaged PNG file: ") + (r.state.error[0] ? r.state.error : "out of memory"));
    RefuseSize(width, height);
    core::RgbaImage image(static_cast<int>(width), static_cast<int>(height));
    std::vector<png_bytep> rows(height);
    for (png_uint_32 y = 0; y < height; ++y)
        rows[y] = image.at(0, static_cast<int>(y));
    if (!ReadRows(r, rows.data()))
        throw PngError(std::string("damaged PNG file: ") + r.state.error);
    return image;
}

std::vector<std::uint8_t> EncodePng(
    const core::IndexedImage& image, std::optional<std::uint8_t> transparent, bool fast)
{
    if (image.width <= 0 || image.height <= 0)
        throw PngError("a PNG file cannot hold a picture of " + std::to_string(image.width) + " x "
            + std::to_string(image.height) + " pixels");
    std::vector<png_bytep> rows(static_cast<std::size_t>(image.height));
    for (int y = 0; y < image.height; ++y)
        rows[static_cast<std::size_t>(y)] = const_cast<png_bytep>(image.row(y));
    png_color palette[256];
    for (std::size_t i = 0; i < 256; ++i)
        palette[i] = { image.palette[i].r, image.palette[i].g, image.palette[i].b };
    png_byte alpha[256];
    int alphaCount = 0;
    if (transparent) {
        std::memset(alpha, 0xff, sizeof alpha);
        alpha[*transparent] = 0;
        alphaCount = *transparent + 1;
    }
    std::vector<std::uint8_t> bytes;
    PngState state;
    state.sink = &bytes;
    if (!WriteRows(state, static_cast<png_uint_32>(image.width), static_cast<png_uint_32>(image.height),
            rows.data(), palette, alpha, alphaCount, fast))
        throw PngError(std::string("cannot encode PNG: ") + (state.error[0] ? state.error : "out of memory"));
    return bytes;
}

} // namespace tarnwick::codec
