#include "core/graphics/lbm.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <string>
#include <vector>

namespace tarnwick::core {

namespace {

std::uint32_t Be16(const std::uint8_t* p)
{
    return (std::uint32_t { p[0] } << 8) | p[1];
}

std::uint32_t Be32(const std::uint8_t* p)
{
    return (Be16(p) << 16) | Be16(p + 2);
}

bool IdIs(const std::uint8_t* p, const char* id)
{
    return std::memcmp(p, id, 4) == 0;
}

// Bytes of one stored row, with the ILBM row padding.
std::size_t RowBytes(int width, bool planar)
{
    const auto w = static_cast<std::size_t>(width);
    return planar ? 8 * (((w + 15) / 16) * 2) : (w + 1) & ~std::size_t { 1 };
}

// Reads fixed-size parts; a part that the file cuts short is an error naming it.
class Reader {
public:
    explicit Reader(std::span<const std::uint8_t> bytes)
        : bytes_(bytes)
    {
    }
    const std::uint8_t* need(std::size_t n, const char* what)
    {
        if (pos_ > bytes_.size() || bytes_.size() - pos_ < n)
            throw ELBMexception(std::string("Unexpected end of file in ") + what);
        const std::uint8_t* p = bytes_.data() + pos_;
        pos_ += n;
        return p;
    }
    std::size_t pos() const { return pos_; }
    std::size_t remaining() const { return pos_ < bytes_.size() ? bytes_.size() - pos_ : 0; }
    bool atEnd() const { return pos_ >= bytes_.size(); }
    void skip(std::uint64_t n)
    {
        pos_ = static_cast<std::size_t>(std::min<std::uint64_t>(pos_ + n, bytes_.size() + 1));
    }

private:
    std::span<const std::uint8_t> bytes_;
    std::size_t pos_ = 0;
};

// ByteRun1 into dst (capacity c, already zeroed). Damaged data (a run past the
// end of the source or of dst) fills all of dst with 255.
void UnpackByteRun1(const std::uint8_t* src, std::size_t n, std::uint8_t* dst, std::size_t c)
{
    std::size_t s = 0;
    std::size_t d = 0;
    bool damaged = false;
    while (s < n && !damaged) {
        const auto control = static_cast<std::int8_t>(src[s++]);
        if (s == n || d == c)
            return;
        if (control >= 0) {
            const std::size_t k = static_cast<std::size_t>(control) + 1;
            damaged = k > n - s || k > c - d;
            if (!damaged) {
                std::memcpy(dst + d, src + s, k);
                s += k;
                d += k;
            }
        } else if (control != -128) {
            const std::size_t k = 1 - static_cast<std::ptrdiff_t>(control);
            damaged = k > c - d;
            if (!damaged) {
                std::memset(dst + d, src[s], k);
                ++s;
                d += k;
            }
        }
    }
    if (damaged)
        std::memset(dst, 255, c);
}

// kSpread[b] puts bit 7 - i of b into the lowest bit of the i-th byte in memory,
// so that eight plane bytes become eight pixels with eight lookups.
constexpr std::array<std::uint64_t, 256> MakeSpread()
{
    std::array<std::uint64_t, 256> t {};
    for (unsigned b = 0; b < 256; ++b)
        for (unsigned i = 0; i < 8; ++i)
            if ((b >> (7 - i)) & 1U) {
                const unsigned byte = std::endian::native == std::endian::little ? i : 7 - i;
                t[b] |= std::uint64_t { 1 } << (8 * byte);
            }
    return t;
}
constexpr std::array<std::uint64_t, 256> kSpread = MakeSpread();

void PlanarRowToChunky(const std::uint8_t* src, std::size_t planeBytes, std::uint8_t* dst, int width)
{
    const std::size_t full = static_cast<std::size_t>(width) / 8;
    const std::uint8_t* p0 = src;
    for (std::size_t g = 0; g < full; ++g) {
        std::uint64_t v = 0;
        const std::uint8_t* p = p0 + g;
        for (int plane = 0; plane < 8; ++plane, p += planeBytes)
            v |= kSpread[*p] << plane;
        std::memcpy(dst + 8 * g, &v, 8);
    }
    const std::size_t rest = static_cast<std::size_t>(width) % 8;
    if (rest != 0) {
        std::uint64_t v = 0;
        const std::uint8_t* p = p0 + full;
        for (int plane = 0; plane < 8; ++plane, p += planeBytes)
            v |= kSpread[*p] << plane;
        std::memcpy(dst + 8 * full, &v, rest);
    }
}

} // namespace

IndexedImage DecodeLbm(std::span<const std::uint8_t> bytes, int* colourCount)
{
    Reader in(bytes);
    const std::uint8_t* form = in.need(12, "the form header");
    if (!IdIs(form, "FORM"))
        throw ELBMexception(kLbmInvalidFile);
    const bool planar = IdIs(form + 8, "ILBM");

    const std::uint8_t* bmhd = in.need(28, "the bitmap header");
    if (!IdIs(bmhd, "BMHD"))
        throw ELBMexception(kLbmInvalidFile);
    const std::uint8_t* header = bmhd + 8;
    if (header[8] != 8)
        throw ELBMexception(kLbmNot8Planes);
    const int width = static_cast<int>(Be16(header));
    const int height = static_cast<int>(Be16(header + 2));
    const std::uint8_t compression = header[10];

    const std::uint8_t* cmap = in.need(8, "the colour map header");
    if (!IdIs(cmap, "CMAP"))
        throw ELBMexception(kLbmInvalidFile);
    const std::uint32_t mapLength = Be32(cmap + 4);
    const std::uint8_t* map = in.need(mapLength, "the colour map");
    IndexedImage image;
    const std::size_t colours = std::min<std::size_t>(mapLength / 3, 256);
    for (std::size_t i = 0; i < colours; ++i)
        image.palette[i] = { map[3 * i], map[3 * i + 1], map[3 * i + 2] };
    if (colourCount != nullptr)
        *colourCount = static_cast<int>(colours);
    if (mapLength % 2 != 0)
        in.skip(1);

    // Chunks up to BODY; a file without one decodes as colour 0 everywhere.
    std::span<const std::uint8_t> body;
    while (!in.atEnd()) {
        const std::uint8_t* chunk = in.need(8, "a chunk header");
        const std::uint32_t length = Be32(chunk + 4);
        if (IdIs(chunk, "BODY")) {
            const std::size_t n = std::min<std::size_t>(length, in.remaining());
            body = bytes.subspan(in.pos(), n);
            break;
        }
        in.skip(length);
        if (in.pos() % 2 != 0)
            in.skip(1);
    }

    if (compression > 1)
        throw ELBMexception(kLbmBadCompression);
    if (static_cast<std::size_t>(width) * static_cast<std::size_t>(height) > kMaxArtPixels)
        throw ELBMexception(kLbmTooLarge);

    image.width = width;
    image.height = height;
    image.pixels.resize(static_cast<std::size_t>(width) * height);
    const std::size_t rowBytes = RowBytes(width, planar);
    const std::size_t capacity = rowBytes * static_cast<std::size_t>(height);

    std::vector<std::uint8_t> decoded(capacity, 0);
    if (capacity == 0 || body.empty()) {
        // nothing to fill
    } else if (compression == 0) {
        // A body longer than the picture is cut.
        std::memcpy(decoded.data(), body.data(), std::min(body.size(), capacity));
    } else {
        UnpackByteRun1(body.data(), body.size(), decoded.data(), capacity);
    }

    for (int y = 0; y < height; ++y) {
        const std::uint8_t* src = decoded.data() + rowBytes * static_cast<std::size_t>(y);
        if (planar)
            PlanarRowToChunky(src, rowBytes / 8, image.row(y), width);
        else if (width > 0)
            std::memcpy(image.row(y), src, static_cast<std::size_t>(width));
    }
    return image;
}

IndexedImage LoadLbmFile(const std::filesystem::path& path, int* colours)
{
    const std::vector<std::uint8_t> bytes = ReadArtFile(path);
    return DecodeLbm(bytes, colours);
}

// ---- writer ----

namespace {

void Append(std::vector<std::uint8_t>& out, const char* id)
{
    out.insert(out.end(), id, id + 4);
}

void AppendBe16(std::vector<std::uint8_t>& out, std::uint32_t v)
{
    out.push_back(static_cast<std::uint8_t>(v >> 8));
    out.push_back(static_cast<std::uint8_t>(v));
}

void AppendBe32(std::vector<std::uint8_t>& out, std::uint32_t v)
{
    AppendBe16(out, v >> 16);
    AppendBe16(out, v);
}

void SetBe32(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t v)
{
    out[at] = static_cast<std::uint8_t>(v >> 24);
    out[at + 1] = static_cast<std::uint8_t>(v >> 16);
    out[at + 2] = static_cast<std::uint8_t>(v >> 8);
    out[at + 3] = static_cast<std::uint8_t>(v);
}

// ByteRun1: runs of two or more equal bytes repeat, the rest goes as literals.
void PackByteRun1(const std::uint8_t* src, std::size_t n, std::vector<std::uint8_t>& out)
{
    std::size_t i = 0;
    while (i < n) {
        std::size_t j = i + 1;
        while (j < n && j - i < 128 && src[j] == src[i])
            ++j;
        if (j - i >= 2) {
            out.push_back(static_cast<std::uint8_t>(257 - (j - i)));
            out.push_back(src[i]);
            i = j;
            continue;
        }
        const std::size_t start = i;
        while (i < n && i - start < 128) {
            if (i + 2 < n && src[i] == src[i + 1] && src[i] == src[i + 2])
                break;
            ++i;
        }
        out.push_back(static_cast<std::uint8_t>(i - start - 1));
        out.insert(out.end(), src + start, src + i);
    }
}

} // namespace

std::vector<std::uint8_t> EncodeIlbm(const IndexedImage& image, IlbmOptions options)
{
    std::vector<std::uint8_t> out { 'F', 'O', 'R', 'M' };
    AppendBe32(out, 0);
    Append(out, options.planar ? "ILBM" : "PBM ");
    Append(out, "BMHD");
    AppendBe32(out, 20);
    AppendBe16(out, static_cast<std::uint32_t>(image.width));
    AppendBe16(out, static_cast<std::uint32_t>(image.height));
    AppendBe32(out, 0); // position
    out.push_back(8); // planes
    out.push_back(0); // no mask
    out.push_back(options.compress ? 1 : 0);
    out.push_back(0);
    AppendBe16(out, 0); // transparent colour
    out.push_back(1); // aspect
    out.push_back(1);
    AppendBe16(out, static_cast<std::uint32_t>(image.width));
    AppendBe16(out, static_cast<std::uint32_t>(image.height));
    Append(out, "CMAP");
    AppendBe32(out, 768);
    for (const Rgb& c : image.palette) {
        out.push_back(c.r);
        out.push_back(c.g);
        out.push_back(c.b);
    }
    Append(out, "BODY");
    const std::size_t bodyLengthAt = out.size();
    AppendBe32(out, 0);
    const std::size_t bodyStart = out.size();

    const std::size_t rowBytes = RowBytes(image.width, options.planar);
    const std::size_t planeBytes = rowBytes / 8;
    std::vector<std::uint8_t> row(rowBytes);
    for (int y = 0; y < image.height; ++y) {
        std::fill(row.begin(), row.end(), 0);
        const std::uint8_t* px = image.row(y);
        if (options.planar) {
            for (int x = 0; x < image.width; ++x)
                for (int p = 0; p < 8; ++p)
                    if ((px[x] >> p) & 1)
                        row[p * planeBytes + x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
        } else if (image.width > 0) {
            std::memcpy(row.data(), px, static_cast<std::size_t>(image.width));
        }
        if (!options.compress)
            out.insert(out.end(), row.begin(), row.end());
        else if (options.planar)
            for (int p = 0; p < 8; ++p)
                PackByteRun1(row.data() + p * planeBytes, planeBytes, out);
        else
            PackByteRun1(row.data(), rowBytes, out);
    }
    SetBe32(out, bodyLengthAt, static_cast<std::uint32_t>(out.size() - bodyStart));
    if (out.size() % 2 != 0)
        out.push_back(0);
    SetBe32(out, 4, static_cast<std::uint32_t>(out.size() - 8));
    return out;
}

} // namespace tarnwick::core
