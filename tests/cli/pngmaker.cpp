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

} // namespace clitest
