#pragma once

// Turning a true-colour picture (a PNG the user drew) into an 8-bit picture for
// the LBM writer: exactly when it has at most 256 colours, else mapped onto a
// given palette or reduced by a quantiser the caller supplies.

#include "core/graphics/indexedimage.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace tarnwick::core {

// width x height pixels of red, green, blue, alpha bytes, top row first.
struct RgbaImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels; // 4 * width * height bytes

    RgbaImage() = default;
    RgbaImage(int w, int h)
        : width(w)
        , height(h)
        , pixels(4 * static_cast<std::size_t>(w) * static_cast<std::size_t>(h), 0)
    {
    }
    std::uint8_t* at(int x, int y) { return pixels.data() + 4 * (static_cast<std::size_t>(y) * width + x); }
    const std::uint8_t* at(int x, int y) const
    {
        return pixels.data() + 4 * (static_cast<std::size_t>(y) * width + x);
    }
};

// Pictures wider or taller than this are refused.
inline constexpr int kMaxImportSide = 8192;

// Below this alpha a pixel counts as transparent and takes colour 0.
inline constexpr std::uint8_t kOpaqueAlpha = 128;

// Reduces a picture whose alpha is only 0 or 255 to at most 256 colours. The
// result has the same size; where there are alpha-0 pixels they, and only they,
// are colour 0. dither asks for error diffusion.
using Quantiser = std::function<IndexedImage(const RgbaImage&, bool dither)>;

struct PictureImportOptions {
    const Palette* palette = nullptr; // map onto this palette when reducing
    bool dither = false; // Floyd-Steinberg when reducing
    int paletteColours = 256; // of palette only the first this many (a short colour map)
};

struct PictureImportResult {
    IndexedImage image;
    int colours = 0; // distinct opaque colours of the input, counted up to 257
    bool exact = false; // every opaque pixel kept its colour
    std::vector<std::string> notes; // what the user should know, one sentence each
};

// A picture the importer refuses; what() says why.
class ImportError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Throws ImportError for an empty picture or one larger than kMaxImportSide.
// The quantiser is called only for more than 256 colours without a palette.
PictureImportResult ImportPicture(
    const RgbaImage& image, const PictureImportOptions& options, const Quantiser& quantise);

// The LBM file of an imported picture (planar, compressed). Throws ImportError
// when that file would be larger than the picture readers accept
// (kMaxArtFileBytes): a picture of many colours and many pixels may not fit.
std::vector<std::uint8_t> EncodeImportedPicture(const IndexedImage& image);

// Maps every pixel to the nearest of the first `colours` colours of palette in a
// perceptual colour space (Oklab); pixels below kOpaqueAlpha take colour 0 and
// pass no error on.
IndexedImage MapToPalette(const RgbaImage& image, const Palette& palette, bool dither, int colours = 256);

} // namespace tarnwick::core
