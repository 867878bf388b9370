#include "core/graphics/pictureimport.h"

#include "core/graphics/lbm.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <unordered_map>

namespace tarnwick::core {

namespace {

struct Lab {
    float l = 0, a = 0, b = 0;
};

float Linear(std::uint8_t c)
{
    const float s = static_cast<float>(c) / 255.0f;
    return s <= 0.04045f ? s / 12.92f : std::pow((s + 0.055f) / 1.055f, 2.4f);
}

// sRGB to Oklab.
Lab ToLab(std::uint8_t r8, std::uint8_t g8, std::uint8_t b8)
{
    static const std::array<float, 256> linear = [] {
        std::array<float, 256> t {};
        for (std::size_t i = 0; i < t.size(); ++i)
            t[i] = Linear(static_cast<std::uint8_t>(i));
        return t;
    }();
    const float r = linear[r8], g = linear[g8], b = linear[b8];
    const float l = std::cbrt(0.4122214708f * r + 0.5363325363f * g + 0.0514459929f * b);
    const float m = std::cbrt(0.2119034982f * r + 0.6806995451f * g + 0.1073969566f * b);
    const float s = std::cbrt(0.0883024619f * r + 0.2817188376f * g + 0.6299787005f * b);
    return { 0.2104542553f * l + 0.7936177850f * m - 0.0040720468f * s,
        1.9779984951f * l - 2.4285922050f * m + 0.4505937099f * s,
        0.0259040371f * l + 0.7827717662f * m - 0.8086757660f * s };
}

class NearestColour {
public:
    NearestColour(const Palette& palette, int first, int end)
        : first_(first)
        , end_(std::clamp(end, first + 1, 256))
    {
        for (std::size_t i = 0; i < palette.size(); ++i)
            lab_[i] = ToLab(palette[i].r, palette[i].g, palette[i].b);
    }
    std::uint8_t operator()(const Lab& c) const
    {
        int best = first_;
        float bestD = 1e30f;
        for (int i = first_; i < end_; ++i) {
            const Lab& p = lab_[static_cast<std::size_t>(i)];
            const float dl = c.l - p.l, da = c.a - p.a, db = c.b - p.b;
            const float d = dl * dl + da * da + db * db;
            if (d < bestD) {
                bestD = d;
                best = i;
            }
        }
        return static_cast<std::uint8_t>(best);
    }
    const Lab& lab(std::uint8_t i) const { return lab_[i]; }

private:
    std::array<Lab, 256> lab_ {};
    int first_;
    int end_;
};

std::uint32_t Key(const std::uint8_t* p)
{
    return (std::uint32_t { p[0] } << 16) | (std::uint32_t { p[1] } << 8) | p[2];
}

bool AnyTransparent(const RgbaImage& image)
{
    for (std::size_t i = 3; i < image.pixels.size(); i += 4)
        if (image.pixels[i] < kOpaqueAlpha)
            return true;
    return false;
}

} // namespace

IndexedImage MapToPalette(const RgbaImage& image, const Palette& palette, bool dither, int colours)
{
    // With transparent pixels colour 0 stands for them alone.
    const bool transparent = AnyTransparent(image);
    const NearestColour nearest(palette, transparent ? 1 : 0, colours);
    IndexedImage out(image.width, image.height);
    out.palette = palette;
    const auto w = static_cast<std::size_t>(image.width);
    if (!dither) {
        std::unordered_map<std::uint32_t, std::uint8_t> seen;
        for (int y = 0; y < image.height; ++y) {
            std::uint8_t* row = out.row(y);
            for (int x = 0; x < image.width; ++x) {
                const std::uint8_t* p = image.at(x, y);
                if (p[3] < kOpaqueAlpha) {
                    row[x] = 0;
                    continue;
                }
                const auto [it, added] = seen.try_emplace(Key(p), 0);
                if (added)
                    it->second = nearest(ToLab(p[0], p[1], p[2]));
                row[x] = it->second;
            }
        }
        return out;
    }
    // Floyd-Steinberg in Oklab: the error of each pixel goes 7/16 right and
    // 3/16, 5/16, 1/16 to the row below.
    std::vector<Lab> errThis(w + 2), errNext(w + 2);
    for (int y = 0; y < image.height; ++y) {
        std::fill(errNext.begin(), errNext.end(), Lab {});
        std::uint8_t* row = out.row(y);
        for (int x = 0; x < image.width; ++x) {
            const std::uint8_t* p = image.at(x, y);
            const auto i = static_cast<std::size_t>(x) + 1;
            if (p[3] < kOpaqueAlpha) {
                row[x] = 0;
                continue;
            }
            Lab c = ToLab(p[0], p[1], p[2]);
            c.l += errThis[i].l;
            c.a += errThis[i].a;
            c.b += errThis[i].b;
            const std::uint8_t k = nearest(c);
            row[x] = k;
            const Lab& q = nearest.lab(k);
            const Lab e { c.l - q.l, c.a - q.a, c.b - q.b };
            auto spread = [&](Lab& to, float f) {
                to.l += e.l * f;
                to.a += e.a * f;
                to.b += e.b * f;
            };
            spread(errThis[i + 1], 7.0f / 16);
            spread(errNext[i - 1], 3.0f / 16);
            spread(errNext[i], 5.0f / 16);
            spread(errNext[i + 1], 1.0f / 16);
        }
        std::swap(errThis, errNext);
    }
    return out;
}

PictureImportResult ImportPicture(
    const RgbaImage& image, const PictureImportOptions& options, const Quantiser& quantise)
{
    if (image.width <= 0 || image.height <= 0)
        throw ImportError("the picture has no pixels");
    if (image.width > kMaxImportSide || image.height > kMaxImportSide)
        throw ImportError("the picture is " + std::to_string(image.width) + " x "
            + std::to_string(image.height) + " pixels; at most " + std::to_string(kMaxImportSide) + " x "
            + std::to_string(kMaxImportSide) + " can be imported");
    if (image.pixels.size()
        != 4 * static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height))
        throw ImportError("the picture's pixel data does not match its size");

    PictureImportResult result;
    std::size_t transparent = 0;
    for (std::size_t i = 3; i < image.pixels.size(); i += 4)
        transparent += image.pixels[i] < kOpaqueAlpha ? 1 : 0;

    // Colours in order of first appearance; colour 0 is kept for transparent pixels.
    const std::size_t firstIndex = transparent > 0 ? 1 : 0;
    std::unordered_map<std::uint32_t, std::uint8_t> index;
    std::vector<std::uint32_t> order;
    for (std::size_t i = 0; i < image.pixels.size() && order.size() <= 256; i += 4) {
        if (image.pixels[i + 3] < kOpaqueAlpha)
            continue;
        const std::uint32_t key = Key(&image.pixels[i]);
        if (index.try_emplace(key, static_cast<std::uint8_t>(firstIndex + order.size())).second)
            order.push_back(key);
    }
    result.colours = static_cast<int>(order.size());

    if (firstIndex + order.size() <= 256) {
        IndexedImage out(image.width, image.height);
        for (std::size_t k = 0; k < order.size(); ++k)
            out.palette[firstIndex + k] = { static_cast<std::uint8_t>(order[k] >> 16),
                static_cast<std::uint8_t>(order[k] >> 8), static_cast<std::uint8_t>(order[k]) };
        for (std::size_t i = 0, n = 0; i < image.pixels.size(); i += 4, ++n)
            out.pixels[n] = image.pixels[i + 3] < kOpaqueAlpha ? 0 : index[Key(&image.pixels[i])];
        result.image = std::move(out);
        result.exact = true;
        if (options.palette != nullptr)
            result.notes.push_back("The picture has " + std::to_string(order.size())
                + " colours, few enough to keep exactly; its own palette was used, not the reference's.");
    } else if (options.palette != nullptr) {
        result.image = MapToPalette(image, *options.palette, options.dither, options.paletteColours);
        result.notes.push_back(
            std::string("The picture has more than 256 colours; it was mapped onto the reference ")
            + "palette" + (options.dither ? " with dithering." : "."));
        if (options.paletteColours < 256)
            result.notes.push_back("The reference palette has only "
                + std::to_string(std::max(options.paletteColours, 0)) + " colours; only "
                + (options.paletteColours == 1 ? "that one was" : "those were") + " used.");
    } else {
        RgbaImage binary = image;
        for (std::size_t i = 3; i < binary.pixels.size(); i += 4)
            binary.pixels[i] = binary.pixels[i] < kOpaqueAlpha ? 0 : 255;
        result.image = quantise(binary, options.dither);
        if (result.image.width != image.width || result.image.height != image.height
            || result.image.pixels.size() != static_cast<std::size_t>(image.width) * image.height)
            throw ImportError("the colour reduction gave a picture of the wrong size");
        result.notes.push_back(
            "The picture has more than 256 colours; it was reduced to its own 256-colour palette.");
    }
    if (transparent > 0)
        result.notes.push_back(std::to_string(transparent) + " pixel" + (transparent == 1 ? "" : "s")
            + " with less than 50% opacity took colour 0.");
    return result;
}

std::vector<std::uint8_t> EncodeImportedPicture(const IndexedImage& image)
{
    std::vector<std::uint8_t> bytes = EncodeIlbm(image);
    if (bytes.size() > kMaxArtFileBytes)
        throw ImportError("as an LBM file the picture would take " + std::to_string(bytes.size())
            + " bytes, more than the " + std::to_string(kMaxArtFileBytes >> 20)
            + " MiB a picture may have; use fewer pixels or fewer colours");
    return bytes;
}

} // namespace tarnwick::core
