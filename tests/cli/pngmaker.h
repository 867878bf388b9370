#pragma once

// PNG files for the tests, written by libpng's simple interface (not by the
// program's own writer).

#include <cstdint>
#include <filesystem>
#include <vector>

namespace clitest {

enum class PngKind { Grey, Rgb, Rgba, Palette };

// pixels: one byte per pixel for Grey, three for Rgb, four for Rgba, a palette
// index for Palette (palette: three bytes per entry).
void WritePng(const std::filesystem::path& path, PngKind kind, int width, int height,
    const std::vector<std::uint8_t>& pixels, const std::vector<std::uint8_t>& palette = {});

// A PNG of nothing but its header, an empty IDAT and IEND, declaring any size:
// true colour with alpha of the given bit depth. Checksums are correct.
std::vector<std::uint8_t> PngHeaderOnly(std::uint32_t width, std::uint32_t height, int bitDepth);

} // namespace clitest
