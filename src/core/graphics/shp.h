#pragma once

// The SHP icon reader: numbered frames of run-length shape data drawn over a
// transparent colour, with the game's fixed icon palette.

#include "core/graphics/indexedimage.h"

#include <cstdint>
#include <filesystem>
#include <span>
#include <stdexcept>
#include <vector>

namespace tarnwick::core {

class EShpexception : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

inline constexpr const char* kShpInvalidFile = "Invalid file";
inline constexpr const char* kShpNoIcon = "required icon not available";
inline constexpr const char* kShpTooLarge = "Icon too large";

// The palette index of uncovered pixels unless the settings say otherwise.
inline constexpr int kDefaultTransparentColour = 240;

// A file's directory holds at most this many entries; more are ignored.
inline constexpr int kMaxShpFrames = 255;

// The fixed palette every icon is drawn with.
const Palette& ShpPalette();

// Decodes directory entry `frame` (0..254; an icon entry's frame f is directory
// entry f + 1). Pixels the shape does not cover get `transparent`. No pixel is
// written past the right edge. Throws EShpexception.
IndexedImage DecodeShpFrame(std::span<const std::uint8_t> bytes, int frame, std::uint8_t transparent);

// Reads the file at path and decodes one frame. Throws ArtFileError or EShpexception.
IndexedImage LoadShpFrame(const std::filesystem::path& path, int frame, std::uint8_t transparent);

// Writes a shape file whose directory entry i is frames[i]; pixels of colour
// `transparent` are left uncovered. At most kMaxShpFrames frames.
std::vector<std::uint8_t> EncodeShp(const std::vector<IndexedImage>& frames, std::uint8_t transparent);

} // namespace tarnwick::core
