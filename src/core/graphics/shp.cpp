#include "core/graphics/shp.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string>

namespace tarnwick::core {

namespace {

// The icon palette as 0xRRGGBB, index order.
constexpr std::array<std::uint32_t, 256> kIconColours { {
    0x000000,
    0x171717,
    0x2B2B2B,
    0x434343,
    0x5B5B5B,
    0x737373,
    0x8B8B8B,
    0x9F9F9F,
    0xB7B7B7,
    0xCFCFCF,
    0xE7E7E7,
    0xFFFFFF,
    0x4B4B97,
    0x2BCF33,
    0xFFFF57,
    0xE30000,
    0xE3CB93,
    0xE7BF93,
    0xDBC387,
    0xD3B77F,
    0xDBAF83,
    0xCFAB77,
    0xD3A373,
    0xD39F6F,
    0xC39B6B,
    0xB39F67,
    0xBBAB73,
    0xC3B783,
    0xB78B5F,
    0xBF8757,
    0xC38B5B,
    0xAB9357,
    0x9F874B,
    0x977B3F,
    0x9F6747,
    0xAB6F43,
    0xA7633B,
    0x8F5737,
    0x875733,
    0x836733,
    0xEFEBBB,
    0x734F27,
    0x6F5327,
    0x5B4323,
    0x5B4323,
    0x5B431F,
    0x4B371B,
    0x473317,
    0x3F2717,
    0x2F1F0F,
    0x231B0F,
    0x27231B,
    0x170F07,
    0x001F00,
    0x073F00,
    0x0B5700,
    0x076F00,
    0x078700,
    0x07A300,
    0x576B17,
    0x63670F,
    0x6B6700,
    0x7B7700,
    0x8B8B00,
    0x8F8F00,
    0x9F9F00,
    0xB7AF00,
    0xCFC700,
    0xB7774F,
    0xAF7B53,
    0x737F17,
    0x637723,
    0x4B5B1B,
    0x475300,
    0x434300,
    0x5B5700,
    0x370B00,
    0xE7E3DB,
    0xC7C3BF,
    0xA7A39F,
    0x87837F,
    0x63635F,
    0x43433F,
    0x23231F,
    0xFFFFFF,
    0xE3DFE7,
    0xC7BFCF,
    0xAB9BB3,
    0x8F7B9B,
    0x735783,
    0x0F3B0B,
    0x1B470B,
    0x234F0B,
    0x2B5B07,
    0x336707,
    0x3B7307,
    0x477F07,
    0x4F8707,
    0x579307,
    0x5F9F07,
    0x97A3C7,
    0x8B9BBB,
    0x838FAB,
    0x77839F,
    0x6B778F,
    0x636B83,
    0x576373,
    0x4B5763,
    0x434B57,
    0x373F47,
    0x2B333B,
    0x232B2B,
    0x637723,
    0x6F7383,
    0x8383A7,
    0x636B83,
    0x6F7383,
    0x3357AF,
    0x077BD3,
    0x2B4F97,
    0x2F579F,
    0x2F579F,
    0x2F579F,
    0x2F5BA7,
    0x2F5FAF,
    0x3367BB,
    0x2F5FAF,
    0x2F5BA7,
    0x978763,
    0x977F63,
    0x8F7F5B,
    0x8B7753,
    0x8F7357,
    0x876F4F,
    0x8B6B4B,
    0x8B674B,
    0x7F6747,
    0x776743,
    0x7B6F4B,
    0x7F7757,
    0x775B3F,
    0x7F5B3B,
    0x7F5B3B,
    0x6F633B,
    0x675B33,
    0x63532B,
    0x67432F,
    0x6F4B2F,
    0x6F4327,
    0x5F3B27,
    0x5B3B23,
    0x574323,
    0x6B5743,
    0x4B331B,
    0x4B371B,
    0x3B2F17,
    0x3B2F17,
    0x3B2F17,
    0x332713,
    0x2F230F,
    0x2B1B0F,
    0x1F170B,
    0x17130B,
    0x1B1713,
    0x0F0B07,
    0x001700,
    0x072B00,
    0x073B00,
    0x074B00,
    0x075B00,
    0x076B00,
    0x3B470F,
    0x43430B,
    0x474300,
    0x534F00,
    0x5B5B00,
    0x5F5F00,
    0x676700,
    0x777300,
    0x878300,
    0x774F33,
    0x735337,
    0x4B530F,
    0x434F17,
    0x333B13,
    0x2F3700,
    0x2F2F00,
    0x3B3B00,
    0x270700,
    0x837F7B,
    0x6F6F6B,
    0x5F5F5B,
    0x4B4B47,
    0x3B3B37,
    0x272727,
    0x171717,
    0x979397,
    0x877F8B,
    0x776F7B,
    0x6B5F6F,
    0x5B4B63,
    0x4B3B53,
    0x0B2707,
    0x132F07,
    0x173307,
    0x1B3B07,
    0x234307,
    0x274B07,
    0x2F5307,
    0x335B07,
    0x3B6300,
    0x3F6700,
    0x636B83,
    0x5B637B,
    0x535F6F,
    0x4F5767,
    0x474F5F,
    0x3F4753,
    0x373F4B,
    0x333743,
    0x2B3337,
    0x232B2F,
    0x1F2327,
    0x171B1F,
    0x434F17,
    0x4B4B57,
    0x57576F,
    0x434757,
    0x4B4B57,
    0x172F83,
    0x23479B,
    0x000B5F,
    0x071767,
    0x07176F,
    0x0F2377,
    0x172F83,
    0x1B3B8F,
    0x23479B,
    0x1B3B8F,
    0x172F83,
    0xEFAB23,
    0xFFDB27,
    0xE79B23,
    0xDF8323,
    0x4F473F,
    0x000000,
    0x232323,
    0x5B5753,
    0x373333,
    0x5B5753,
    0xAFA79F,
    0x67635F,
    0x5B574B,
    0x6B675B,
    0x7F7F7F,
    0xAFA79F,
} };

std::int32_t Le32(const std::uint8_t* p)
{
    const std::uint32_t v = std::uint32_t { p[0] } | (std::uint32_t { p[1] } << 8)
        | (std::uint32_t { p[2] } << 16) | (std::uint32_t { p[3] } << 24);
    return static_cast<std::int32_t>(v);
}

std::uint16_t Le16(const std::uint8_t* p)
{
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

[[noreturn]] void EndsIn(const char* what)
{
    throw EShpexception(std::string("Unexpected end of file in ") + what);
}

} // namespace

const Palette& ShpPalette()
{
    static const Palette palette = [] {
        Palette p;
        for (std::size_t i = 0; i < p.size(); ++i)
            p[i] = { static_cast<std::uint8_t>(kIconColours[i] >> 16),
                static_cast<std::uint8_t>(kIconColours[i] >> 8), static_cast<std::uint8_t>(kIconColours[i]) };
        return p;
    }();
    return palette;
}

IndexedImage DecodeShpFrame(std::span<const std::uint8_t> bytes, int frame, std::uint8_t transparent)
{
    const std::size_t size = bytes.size();
    if (size < 8)
        EndsIn("the file header");
    if (std::memcmp(bytes.data(), "1.10", 4) != 0)
        throw EShpexception(kShpInvalidFile);
    const std::int32_t count = std::clamp<std::int32_t>(Le32(bytes.data() + 4), 0, kMaxShpFrames);
    const std::size_t directoryEnd = 8 + 8 * static_cast<std::size_t>(count);
    if (size < directoryEnd)
        EndsIn("the frame directory");
    if (frame < 0 || frame >= count)
        throw EShpexception(kShpNoIcon);

    const std::int32_t at = Le32(bytes.data() + 8 + 8 * static_cast<std::size_t>(frame));
    if (at < 0 || static_cast<std::size_t>(at) > size || size - static_cast<std::size_t>(at) < 24)
        EndsIn("the frame header");
    const std::uint8_t* header = bytes.data() + at;
    const int height = Le16(header);
    const int width = Le16(header + 2);
    const std::int64_t xStart = Le32(header + 8);
    const std::int64_t yStart = Le32(header + 12);
    const std::int64_t yEnd = Le32(header + 20);
    if (static_cast<std::size_t>(width) * static_cast<std::size_t>(height) > kMaxArtPixels)
        throw EShpexception(kShpTooLarge);

    IndexedImage image(width, height, transparent);
    image.palette = ShpPalette();

    const std::uint8_t* data = header + 24;
    const std::size_t n = size - static_cast<std::size_t>(at) - 24;
    if (n == 0)
        return image;

    std::int64_t row = yStart;
    std::int64_t last = yEnd;
    if (yStart < 0 || yStart > height) {
        row = 0;
        last = yEnd - yStart;
    }
    if (last < 0 || last >= height)
        last = height - 1;
    const std::int64_t lineStart = (xStart < 0 || xStart > width) ? 0 : xStart;
    std::int64_t col = lineStart;

    // Writes run from col to the right edge at most; rows outside the picture take nothing.
    auto span = [&](std::int64_t k) -> std::size_t {
        if (row < 0 || row >= height || col >= width)
            return 0;
        return static_cast<std::size_t>(std::min<std::int64_t>(k, width - col));
    };
    auto at_ = [&]() { return image.row(static_cast<int>(row)) + col; };

    std::size_t s = 0;
    do {
        const std::uint8_t c = data[s++];
        if (s >= n)
            break;
        if (c == 0) {
            ++row;
            col = lineStart;
        } else if (c == 1) {
            col += data[s++];
        } else if (c % 2 != 0) {
            const std::size_t k = std::min<std::size_t>(c / 2, n - s);
            const std::size_t w = span(static_cast<std::int64_t>(k));
            if (w > 0)
                std::memcpy(at_(), data + s, w);
            s += k; // the rest of a run past the edge is still consumed
            col += static_cast<std::int64_t>(k);
        } else {
            const std::size_t k = c / 2;
            const std::size_t w = span(static_cast<std::int64_t>(k));
            if (w > 0)
                std::memset(at_(), data[s], w);
            ++s;
            col += static_cast<std::int64_t>(k);
        }
    } while (s < n && row <= last);
    return image;
}

IndexedImage LoadShpFrame(const std::filesystem::path& path, int frame, std::uint8_t transparent)
{
    const std::vector<std::uint8_t> bytes = ReadArtFile(path);
    return DecodeShpFrame(bytes, frame, transparent);
}

// ---- writer ----

namespace {

void AppendLe(std::vector<std::uint8_t>& out, std::uint32_t v, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

void EncodeShape(const IndexedImage& image, std::uint8_t transparent, std::vector<std::uint8_t>& out)
{
    for (int y = 0; y < image.height; ++y) {
        const std::uint8_t* px = image.row(y);
        // Trailing uncovered pixels need no bytes: the end of line skips them.
        int end = image.width;
        while (end > 0 && px[end - 1] == transparent)
            --end;
        int x = 0;
        while (x < end) {
            int j = x + 1;
            if (px[x] == transparent) {
                while (j < end && px[j] == transparent && j - x < 255)
                    ++j;
                out.push_back(1);
                out.push_back(static_cast<std::uint8_t>(j - x));
            } else {
                while (j < end && px[j] == px[x] && j - x < 127)
                    ++j;
                if (j - x >= 2) {
                    out.push_back(static_cast<std::uint8_t>(2 * (j - x)));
                    out.push_back(px[x]);
                } else {
                    // Literal bytes up to the next uncovered pixel or pair of equal ones.
                    j = x;
                    while (j < end && j - x < 127 && px[j] != transparent
                        && !(j + 1 < end && px[j + 1] == px[j]))
                        ++j;
                    if (j == x)
                        ++j;
                    out.push_back(static_cast<std::uint8_t>(2 * (j - x) + 1));
                    out.insert(out.end(), px + x, px + j);
                }
            }
            x = j;
        }
        out.push_back(0);
    }
}

} // namespace

std::vector<std::uint8_t> EncodeShp(const std::vector<IndexedImage>& frames, std::uint8_t transparent)
{
    const std::size_t count = std::min<std::size_t>(frames.size(), kMaxShpFrames);
    std::vector<std::uint8_t> out { '1', '.', '1', '0' };
    AppendLe(out, static_cast<std::uint32_t>(count), 4);
    const std::size_t directory = out.size();
    out.resize(out.size() + 8 * count, 0);
    for (std::size_t i = 0; i < count; ++i) {
        const IndexedImage& f = frames[i];
        const auto at = static_cast<std::uint32_t>(out.size());
        for (int b = 0; b < 4; ++b)
            out[directory + 8 * i + b] = static_cast<std::uint8_t>(at >> (8 * b));
        AppendLe(out, static_cast<std::uint32_t>(f.height), 2);
        AppendLe(out, static_cast<std::uint32_t>(f.width), 2);
        AppendLe(out, 0, 4);
        AppendLe(out, 0, 4); // xStart
        AppendLe(out, 0, 4); // yStart
        AppendLe(out, static_cast<std::uint32_t>(f.width - 1), 4);
        AppendLe(out, static_cast<std::uint32_t>(f.height - 1), 4);
        EncodeShape(f, transparent, out);
    }
    return out;
}

} // namespace tarnwick::core
