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

} // namespace clitest
