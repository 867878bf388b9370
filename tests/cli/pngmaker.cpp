#include "pngmaker.h"

#include <png.h>

#include <cstring>
#include <stdexcept>

namespace clitest {

void WritePng(const std::filesystem::path& path, PngKind kind, int width, int height,
    const std::vector<std::uint8_t>& pixels, const std::vector<std::uint8_t>& palette)
{
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    switch (kind) {
    case PngKind::Grey:
        image.format = PNG_FORMAT_GRAY;
        break;
    case PngKind::Rgb:
        image.format = PNG_FORMAT_RGB;
        break;
    case PngKind::Rgba:
        image.format = PNG_FORMAT_RGBA;
        break;
    case PngKind::Palette:
        image.format = PNG_FORMAT_RGB_COLORMAP;
        image.colormap_entries = static_cast<png_uint_32>(palette.size() / 3);
        break;
    }
    if (png_image_write_to_file(
            &image, path.c_str(), 0, pixels.data(), 0, kind == PngKind::Palette ? palette.data() : nullptr)
        == 0)
        throw std::runtime_error(std::string("test PNG: ") + image.message);
}

namespace {

void Chunk(std::vector<std::uint8_t>& out, const char* type, const std::vector<std::uint8_t>& data)
{
    auto be32 = [&](std::uint32_t v) {
        for (int shift = 24; shift >= 0; shift -= 8)
            out.push_back(static_cast<std::uint8_t>(v >> shift));
    };
    be32(static_cast<std::uint32_t>(data.size()));
    const std::size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    std::uint32_t crc = 0xffffffffu;
    for (std::size_t i = start; i < out.size(); ++i) {
        crc ^= out[i];
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
    }
    be32(crc ^ 0xffffffffu);
}

} // namespace

std::vector<std::uint8_t> PngHeaderOnly(std::uint32_t width, std::uint32_t height, int bitDepth)
{
    std::vector<std::uint8_t> out { 0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n' };
    std::vector<std::uint8_t> ihdr;
    for (std::uint32_t v : { width, height })
        for (int shift = 24; shift >= 0; shift -= 8)
            ihdr.push_back(static_cast<std::uint8_t>(v >> shift));
    ihdr.insert(ihdr.end(), { static_cast<std::uint8_t>(bitDepth), 6, 0, 0, 0 });
    Chunk(out, "IHDR", ihdr);
    Chunk(out, "IDAT", {});
    Chunk(out, "IEND", {});
    return out;
}

} // namespace clitest
