#pragma once

// The LBM picture reader: IFF ILBM files of 8 planes, planar ("ILBM") or chunky
// (any other form type), uncompressed or ByteRun1. Rows follow the ILBM row
// padding: a planar plane row is a whole number of 16-bit words, a chunky row an
// even number of bytes.

#include "core/graphics/indexedimage.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <stdexcept>

namespace tarnwick::core {

// A file the reader rejects; what() is one of the texts below, or says which
// part of the file ends early.
class ELBMexception : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

inline constexpr const char* kLbmInvalidFile = "Invalid file";
inline constexpr const char* kLbmNot8Planes = "Only supports 8 bit planes";
inline constexpr const char* kLbmBadCompression = "unsupported compression algorithm";
inline constexpr const char* kLbmTooLarge = "Picture too large";

// Decodes a whole LBM file. Damaged ByteRun1 data gives a picture entirely in
// colour 255, a file without a BODY chunk one entirely in colour 0. colours, when
// given, receives how many colours the colour map holds (at most 256; the rest
// of the palette is black). Throws ELBMexception.
IndexedImage DecodeLbm(std::span<const std::uint8_t> bytes, int* colours = nullptr);

// Reads and decodes the file at path. Throws ArtFileError or ELBMexception.
IndexedImage LoadLbmFile(const std::filesystem::path& path, int* colours = nullptr);

// How EncodeIlbm lays out the body.
struct IlbmOptions {
    bool planar = true; // "ILBM" with eight bit planes, else "PBM " with one byte per pixel
    bool compress = true; // ByteRun1, row by row
};

// Writes image as an 8-plane IFF file with its 256-colour map.
std::vector<std::uint8_t> EncodeIlbm(const IndexedImage& image, IlbmOptions options = {});

} // namespace tarnwick::core
