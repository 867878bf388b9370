// LBM decode of planar ByteRun1 pictures, beside a plain copy of as many pixel bytes.

#include "core/graphics/lbm.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

using namespace tarnwick::core;

namespace {

// A picture like a drawn one: shaded sky and ground, a shape in flat colours and
// a band of fine detail, so that ByteRun1 meets both runs and literals.
IndexedImage DrawnPicture(int width, int height)
{
    IndexedImage image(width, height);
    std::uint32_t state = 7;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            std::uint8_t c
                = static_cast<std::uint8_t>(y < height / 2 ? 16 + 32 * y / height : 64 + 32 * y / height);
            if (x > width / 4 && x < 3 * width / 4 && y > height / 3 && y < 3 * height / 4)
                c = static_cast<std::uint8_t>(128 + (x / 8) % 4);
            if (y > 3 * height / 4 && y < 3 * height / 4 + height / 8) {
                state = state * 1103515245 + 12345;
                c = static_cast<std::uint8_t>(200 + (state >> 24) % 16);
            }
            image.row(y)[x] = c;
        }
    for (int i = 0; i < 256; ++i)
        image.palette[static_cast<std::size_t>(i)]
            = { static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(i) };
    return image;
}

void BM_LbmDecode(benchmark::State& state)
{
    const auto file
        = EncodeIlbm(DrawnPicture(static_cast<int>(state.range(0)), static_cast<int>(state.range(1))));
    for (auto _ : state) {
        IndexedImage image = DecodeLbm(file);
        benchmark::DoNotOptimize(image.pixels.data());
    }
}
BENCHMARK(BM_LbmDecode)->Args({ 160, 80 })->Args({ 640, 480 })->Unit(benchmark::kMicrosecond);

// The floor: copying the decoded picture's bytes into a new buffer.
void BM_PixelCopy(benchmark::State& state)
{
    const std::vector<std::uint8_t> source(static_cast<std::size_t>(state.range(0) * state.range(1)), 3);
    for (auto _ : state) {
        std::vector<std::uint8_t> copy(source.size());
        std::memcpy(copy.data(), source.data(), source.size());
        benchmark::DoNotOptimize(copy.data());
    }
}
BENCHMARK(BM_PixelCopy)->Args({ 160, 80 })->Args({ 640, 480 })->Unit(benchmark::kMicrosecond);

} // namespace
