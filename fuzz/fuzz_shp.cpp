// Feeds arbitrary bytes to the SHP reader; every frame it decodes must survive a
// round trip through the shape writer.

#include "core/graphics/shp.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

using namespace tarnwick::core;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::span<const std::uint8_t> bytes(data, size);
    for (int frame = 0; frame < 4; ++frame) {
        const std::uint8_t transparent = frame == 2 ? 0 : 240;
        IndexedImage image;
        try {
            image = DecodeShpFrame(bytes, frame, transparent);
        } catch (const EShpexception&) {
            continue;
        }
        const std::size_t pixels
            = static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height);
        if (image.pixels.size() != pixels)
            std::abort();
        if (pixels > 65536)
            continue;
        const IndexedImage back = DecodeShpFrame(EncodeShp({ image }, transparent), 0, transparent);
        if (back.pixels != image.pixels)
            std::abort();
    }
    return 0;
}
