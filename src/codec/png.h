#pragma once

// PNG files in and out, through libpng. Only standard types cross this header.

#include "core/graphics/indexedimage.h"
#include "core/graphics/pictureimport.h"

#include <cstdint>
#include <optional>
#include <span>
#include <stdexcept>
#include <vector>

namespace tarnwick::codec {

// A PNG the reader refuses; what() says why ("not a PNG file", "damaged PNG
// file: ...", "... larger than 8192 x 8192").
class PngError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Decodes any PNG (palette, grey, true colour, 1..16 bits, interlaced) to 8-bit
// RGBA. Pictures larger than core::kMaxImportSide either way are refused
// before their pixels are read. Throws PngError.
core::RgbaImage DecodePng(std::span<const std::uint8_t> bytes);

// A palette PNG of image with all 256 colours; with transparent given, that
// palette index is fully transparent and every other one opaque. fast: the
// quickest deflate level (files a little larger), for writing many at once.
// Throws PngError for an empty image.
std::vector<std::uint8_t> EncodePng(const core::IndexedImage& image,
    std::optional<std::uint8_t> transparent = std::nullopt, bool fast = false);

} // namespace tarnwick::codec
