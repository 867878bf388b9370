#pragma once

// Small byte-level writers for LBM and shape files, independent of the program's
// own writers, and a patterned test picture.

#include "core/graphics/indexedimage.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tarnwick::testing {

using Bytes = std::vector<std::uint8_t>;

inline void PutId(Bytes& b, const char* id)
{
    for (int i = 0; i < 4; ++i)
        b.push_back(static_cast<std::uint8_t>(id[i]));
}

inline void PutBe(Bytes& b, std::uint32_t v, int n)
{
    for (int i = n - 1; i >= 0; --i)
        b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

inline void PutLe(Bytes& b, std::uint32_t v, int n)
{
    for (int i = 0; i < n; ++i)
        b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

// An IFF chunk with its pad byte.
inline Bytes Chunk(const char* id, const Bytes& data)
{
    Bytes b;
    PutId(b, id);
    PutBe(b, static_cast<std::uint32_t>(data.size()), 4);
    b.insert(b.end(), data.begin(), data.end());
    if (data.size() % 2 != 0)
        b.push_back(0);
    return b;
}

struct LbmParts {
    const char* formType = "ILBM";
    int width = 16;
    int height = 2;
    int planes = 8;
    int compression = 0;
    Bytes cmap = Bytes(48, 0x10);
    Bytes between; // chunks between CMAP and BODY
    bool hasBody = true;
    Bytes body;
};

inline Bytes BuildLbm(const LbmParts& s)
{
    Bytes bmhd;
    PutBe(bmhd, static_cast<std::uint32_t>(s.width), 2);
    PutBe(bmhd, static_cast<std::uint32_t>(s.height), 2);
    PutBe(bmhd, 0, 4);
    bmhd.push_back(static_cast<std::uint8_t>(s.planes));
    bmhd.push_back(0);
    bmhd.push_back(static_cast<std::uint8_t>(s.compression));
    bmhd.push_back(0);
    PutBe(bmhd, 0, 2);
    bmhd.push_back(1);
    bmhd.push_back(1);
    PutBe(bmhd, static_cast<std::uint32_t>(s.width), 2);
    PutBe(bmhd, static_cast<std::uint32_t>(s.height), 2);
    Bytes inner;
    PutId(inner, s.formType);
    for (const Bytes& part : { Chunk("BMHD", bmhd), Chunk("CMAP", s.cmap), s.between })
        inner.insert(inner.end(), part.begin(), part.end());
    if (s.hasBody) {
        const Bytes body = Chunk("BODY", s.body);
        inner.insert(inner.end(), body.begin(), body.end());
    }
    Bytes out;
    PutId(out, "FORM");
    PutBe(out, static_cast<std::uint32_t>(inner.size()), 4);
    out.insert(out.end(), inner.begin(), inner.end());
    return out;
}

// A frame of a shape file: header fields and raw shape data.
struct ShpFrameSpec {
    int width = 4;
    int height = 3;
    std::int32_t xStart = 0, yStart = 0, xEnd = 3, yEnd = 2;
    Bytes data;
};

// A shape file with the given frames; a count of 0 or more overrides the directory count.
inline Bytes BuildShp(const std::vector<ShpFrameSpec>& frames, int count = -1)
{
    Bytes out { '1', '.', '1', '0' };
    PutLe(out, static_cast<std::uint32_t>(count >= 0 ? count : static_cast<int>(frames.size())), 4);
    std::size_t at = 8 + 8 * frames.size();
    for (const ShpFrameSpec& f : frames) {
        PutLe(out, static_cast<std::uint32_t>(at), 4);
        PutLe(out, 0, 4);
        at += 24 + f.data.size();
    }
    for (const ShpFrameSpec& f : frames) {
        PutLe(out, static_cast<std::uint32_t>(f.height), 2);
        PutLe(out, static_cast<std::uint32_t>(f.width), 2);
        PutLe(out, 0, 4);
        for (std::int32_t v : { f.xStart, f.yStart, f.xEnd, f.yEnd })
            PutLe(out, static_cast<std::uint32_t>(v), 4);
        out.insert(out.end(), f.data.begin(), f.data.end());
    }
    return out;
}

// Every colour index in use, with runs and noise, and a palette of distinct colours.
inline core::IndexedImage PatternImage(int width, int height)
{
    core::IndexedImage image(width, height);
    std::uint32_t state = 12345;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            state = state * 1103515245 + 12345;
            const bool noisy = (y + x / 5) % 3 == 0;
            image.row(y)[x] = static_cast<std::uint8_t>(noisy ? state >> 16 : (x / 4 + 7 * y) % 256);
        }
    for (int i = 0; i < 256; ++i)
        image.palette[static_cast<std::size_t>(i)] = { static_cast<std::uint8_t>(i),
            static_cast<std::uint8_t>(255 - i), static_cast<std::uint8_t>(i * 7) };
    return image;
}

inline std::string Str(const Bytes& b)
{
    return std::string(b.begin(), b.end());
}

} // namespace tarnwick::testing
