// From true colour to 256 colours: exact when it fits, else mapped or reduced.

#include "core/graphics/pictureimport.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace tarnwick::core;

namespace {

RgbaImage Filled(int w, int h, std::uint8_t r, std::uint8_t g, std::uint8_t b)
{
    RgbaImage image(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            std::uint8_t* p = image.at(x, y);
            p[0] = r, p[1] = g, p[2] = b, p[3] = 255;
        }
    return image;
}

// A quantiser that must not be called.
IndexedImage NoQuantiser(const RgbaImage&, bool)
{
    ADD_FAILURE() << "quantiser called";
    return {};
}

Palette GreyRamp()
{
    Palette p {};
    for (std::size_t i = 0; i < 256; ++i)
        p[i] = { static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(i) };
    return p;
}

TEST(PictureImport, KeepsUpTo256ColoursExactlyWithColourZeroForTransparency)
{
    for (bool transparent : { false, true }) {
        SCOPED_TRACE(transparent);
        // 256 opaque colours fit alone; with a transparent pixel only 255 do.
        const int colours = transparent ? 255 : 256;
        RgbaImage image = Filled(colours + 1, 2, 0, 0, 0);
        for (int x = 0; x < colours; ++x) {
            image.at(x, 0)[0] = static_cast<std::uint8_t>(x);
            image.at(x, 1)[0] = static_cast<std::uint8_t>(colours - 1 - x);
        }
        image.at(colours, 0)[3] = transparent ? 127 : 255;
        const Palette ref = GreyRamp();
        const PictureImportResult r = ImportPicture(image, { &ref, true }, NoQuantiser);
        ASSERT_TRUE(r.exact);
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < image.width; ++x) {
                const std::uint8_t* p = image.at(x, y);
                const std::uint8_t k = r.image.at(x, y);
                if (p[3] < kOpaqueAlpha) {
                    EXPECT_EQ(k, 0);
                    continue;
                }
                EXPECT_TRUE(!transparent || k != 0);
                EXPECT_EQ(r.image.palette[k], (Rgb { p[0], p[1], p[2] })) << x << ',' << y;
            }
        // The reference palette is named as unused; transparency gets its note.
        EXPECT_EQ(r.notes.size(), transparent ? 2u : 1u);
    }
}

TEST(PictureImport, MoreColoursGoToTheQuantiserWithBinaryAlphaOrOntoTheReference)
{
    RgbaImage image(300, 2);
    for (int x = 0; x < 300; ++x)
        for (int y = 0; y < 2; ++y) {
            std::uint8_t* p = image.at(x, y);
            p[0] = static_cast<std::uint8_t>(x), p[1] = static_cast<std::uint8_t>(x / 2), p[2] = 9;
            p[3] = y == 1 && x % 2 ? 40 : 200;
        }
    bool called = false;
    const PictureImportResult q = ImportPicture(image, {}, [&](const RgbaImage& in, bool dither) {
        called = true;
        EXPECT_FALSE(dither);
        for (std::size_t i = 3; i < in.pixels.size(); i += 4)
            EXPECT_TRUE(in.pixels[i] == 0 || in.pixels[i] == 255);
        return IndexedImage(in.width, in.height, 7);
    });
    EXPECT_TRUE(called);
    EXPECT_FALSE(q.exact);

    const Palette ref = GreyRamp();
    const PictureImportResult m = ImportPicture(image, { &ref, false }, NoQuantiser);
    EXPECT_EQ(m.image.palette, ref);
    EXPECT_EQ(m.image.at(1, 1), 0); // transparent
    EXPECT_NE(m.image.at(0, 1), 0); // opaque pixels never take colour 0 then

    // A reference with a short colour map lends only its own colours, and says so.
    const PictureImportResult few = ImportPicture(image, { &ref, false, 3 }, NoQuantiser);
    for (std::uint8_t k : few.image.pixels)
        EXPECT_LT(k, 3);
    EXPECT_NE(few.notes[1].find("only 3 colours"), std::string::npos) << few.notes[1];
}

TEST(PictureImport, MapsByEyeAndDithersToTheRightAverage)
{
    // A palette of black and white only (every other entry black).
    Palette two {};
    two[1] = { 255, 255, 255 };
    Palette withRed = two;
    withRed[2] = { 255, 0, 0 };
    const RgbaImage red = Filled(4, 4, 255, 0, 0);
    EXPECT_EQ(MapToPalette(red, withRed, false).pixels, std::vector<std::uint8_t>(16, 2));

    // In sRGB numbers 110 is nearer black (0) than white (255); by eye it is nearer white.
    const RgbaImage grey = Filled(64, 64, 110, 110, 110);
    const IndexedImage plain = MapToPalette(grey, two, false);
    EXPECT_EQ(plain.pixels, std::vector<std::uint8_t>(64 * 64, 1));

    // Dithered, the share of white pixels matches the lightness in between.
    const RgbaImage mid = Filled(64, 64, 119, 119, 119); // Oklab lightness about 0.57
    const IndexedImage dithered = MapToPalette(mid, two, true);
    int white = 0;
    for (std::uint8_t k : dithered.pixels) {
        ASSERT_LE(k, 1);
        white += k == 1;
    }
    EXPECT_NEAR(white / 4096.0, 0.57, 0.03);
}

TEST(PictureImport, RefusesEmptyAndOversizedPictures)
{
    for (const auto& [w, h] :
        { std::pair { 0, 5 }, { 5, 0 }, { kMaxImportSide + 1, 1 }, { 1, kMaxImportSide + 1 } }) {
        RgbaImage image;
        image.width = w, image.height = h;
        EXPECT_THROW(ImportPicture(image, {}, NoQuantiser), ImportError) << w << 'x' << h;
    }
}

} // namespace
