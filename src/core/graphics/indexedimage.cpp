#include "core/graphics/indexedimage.h"

#include "core/data/fileio.h"

#include <cstring>

namespace tarnwick::core {

namespace {

void Put16(std::uint8_t* p, std::uint32_t v)
{
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}

void Put32(std::uint8_t* p, std::uint32_t v)
{
    Put16(p, v);
    Put16(p + 2, v >> 16);
}

constexpr std::size_t kBmpHeaders = 14 + 40 + 1024;

} // namespace

std::size_t BmpRowStride(int width)
{
    return ((8 * static_cast<std::size_t>(width) + 31) / 32) * 4;
}

std::vector<std::uint8_t> EncodeBmp(const IndexedImage& image)
{
    // Readers refuse a BMP file of no pixels, so none is written.
    if (image.width <= 0 || image.height <= 0)
        throw std::invalid_argument("a BMP file cannot hold a picture of " + std::to_string(image.width)
            + " x " + std::to_string(image.height) + " pixels");
    const std::size_t stride = BmpRowStride(image.width);
    const std::size_t pixelBytes = stride * static_cast<std::size_t>(image.height);
    std::vector<std::uint8_t> out(kBmpHeaders + pixelBytes, 0);
    std::uint8_t* p = out.data();
    p[0] = 'B';
    p[1] = 'M';
    Put32(p + 2, static_cast<std::uint32_t>(out.size()));
    Put32(p + 10, kBmpHeaders);
    std::uint8_t* info = p + 14;
    Put32(info, 40);
    Put32(info + 4, static_cast<std::uint32_t>(image.width));
    Put32(info + 8, static_cast<std::uint32_t>(image.height));
    Put16(info + 12, 1);
    Put16(info + 14, 8);
    Put32(info + 20, static_cast<std::uint32_t>(pixelBytes));
    std::uint8_t* pal = info + 40;
    for (const Rgb& c : image.palette) {
        pal[0] = c.b;
        pal[1] = c.g;
        pal[2] = c.r;
        pal += 4;
    }
    std::uint8_t* rows = p + kBmpHeaders;
    for (int y = 0; y < image.height; ++y)
        if (image.width > 0)
            std::memcpy(rows + stride * static_cast<std::size_t>(image.height - 1 - y), image.row(y),
                static_cast<std::size_t>(image.width));
    return out;
}

std::vector<std::uint8_t> ReadArtFile(const std::filesystem::path& path)
{
    std::vector<std::uint8_t> bytes;
    IoResult r = ReadWholeFile(path, bytes, kMaxArtFileBytes, "a picture or icon file");
    if (!r.ok())
        throw ArtFileError(r.message());
    return bytes;
}

} // namespace tarnwick::core
