// Feeds arbitrary bytes to the LBM reader; a picture it accepts must survive the
// BMP stream and a round trip through the ILBM writer.

#include "core/graphics/lbm.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

using namespace tarnwick::core;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // Huge declared sizes only make runs slow (the pixel area is allocated and
    // cleared before the body is read); the limit itself is tested elsewhere.
    if (size >= 24) {
        const std::size_t width = static_cast<std::size_t>(data[20]) << 8 | data[21];
        const std::size_t height = static_cast<std::size_t>(data[22]) << 8 | data[23];
        if (width * height > std::size_t { 1 } << 20)
            return 0;
    }
    IndexedImage image;
    try {
        image = DecodeLbm(std::span<const std::uint8_t>(data, size));
    } catch (const ELBMexception&) {
        return 0;
    }
    const std::size_t pixels = static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height);
    if (image.pixels.size() != pixels)
        std::abort();
    if (pixels == 0 || pixels > 65536)
        return 0; // the writers refuse a picture without pixels; large ones only cost time
    if (EncodeBmp(image).size() != 1078 + BmpRowStride(image.width) * static_cast<std::size_t>(image.height))
        std::abort();
    for (bool planar : { true, false }) {
        const IndexedImage back = DecodeLbm(EncodeIlbm(image, { planar, true }));
        if (back.pixels != image.pixels || back.palette != image.palette)
            std::abort();
    }
    return 0;
}
