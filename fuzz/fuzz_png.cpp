// Feeds arbitrary bytes to the PNG reader, whatever size they declare; a picture
// it accepts is within the size limit and (when small enough to be quick) must
// go through the import (exact or reduced) and come back unchanged from the LBM
// writer and reader.

#include "codec/png.h"
#include "codec/quantise.h"
#include "core/graphics/lbm.h"
#include "core/graphics/pictureimport.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

using namespace tarnwick;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    core::RgbaImage image;
    try {
        image = codec::DecodePng(std::span<const std::uint8_t>(data, size));
    } catch (const codec::PngError&) {
        return 0;
    }
    if (image.width <= 0 || image.height <= 0 || image.width > core::kMaxImportSide
        || image.height > core::kMaxImportSide
        || image.pixels.size() != 4 * static_cast<std::size_t>(image.width) * image.height)
        std::abort();
    // The import of a large picture only makes runs slow; its limits are tested elsewhere.
    if (image.pixels.size() > std::size_t { 4 } << 16)
        return 0;
    const core::PictureImportResult r = core::ImportPicture(image, {}, codec::QuantiseImage);
    const core::IndexedImage back = core::DecodeLbm(core::EncodeIlbm(r.image));
    if (back.pixels != r.image.pixels || back.palette != r.image.palette)
        std::abort();
    bool anyClear = false;
    for (std::size_t i = 3; i < image.pixels.size(); i += 4)
        anyClear = anyClear || image.pixels[i] < core::kOpaqueAlpha;
    // See-through pixels, and only they when there are any, are colour 0.
    for (std::size_t i = 0; i < r.image.pixels.size(); ++i) {
        const std::uint8_t* p = image.pixels.data() + 4 * i;
        const bool clear = p[3] < core::kOpaqueAlpha;
        if (anyClear && clear != (r.image.pixels[i] == 0))
            std::abort();
        if (r.exact && !clear && !(r.image.palette[r.image.pixels[i]] == core::Rgb { p[0], p[1], p[2] }))
            std::abort();
    }
    return 0;
}
