#pragma once

// An 8-bit palettised picture, the common result of the LBM and SHP readers, and
// the BMP stream the editor hands to its image loader.

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

namespace tarnwick::core {

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

using Palette = std::array<Rgb, 256>;

// width x height colour indices, top row first, exactly width bytes per row,
// and a palette of 256 colours (entries a file does not give are black).
struct IndexedImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;
    Palette palette {};

    IndexedImage() = default;
    IndexedImage(int w, int h, std::uint8_t fill = 0)
        : width(w)
        , height(h)
        , pixels(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), fill)
    {
    }
    std::uint8_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
    std::uint8_t* row(int y) { return pixels.data() + static_cast<std::size_t>(y) * width; }
    const std::uint8_t* row(int y) const { return pixels.data() + static_cast<std::size_t>(y) * width; }
};

// Pictures and icons of more pixels than this are refused by the readers.
inline constexpr std::size_t kMaxArtPixels = std::size_t { 8192 } * 8192;

// A picture or icon file that cannot be read at all (missing, unreadable);
// what() names the path and the system's reason.
class ArtFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Bytes per stored BMP row: the width rounded up to a multiple of 4.
std::size_t BmpRowStride(int width);

// The uncompressed 8-bit BMP file of image: 14-byte file header, 40-byte info
// header (positive height, rows bottom-up), 1024-byte palette of blue, green,
// red, 0 entries, then the rows padded with zeros to BmpRowStride. A picture
// without pixels (a width or height of 0) has no BMP form: std::invalid_argument.
std::vector<std::uint8_t> EncodeBmp(const IndexedImage& image);

// A picture or icon file of more bytes than this is refused unread.
inline constexpr std::uintmax_t kMaxArtFileBytes = 16u * 1024u * 1024u;

// Reads a whole file for a reader (at most kMaxArtFileBytes); throws ArtFileError.
std::vector<std::uint8_t> ReadArtFile(const std::filesystem::path& path);

} // namespace tarnwick::core
