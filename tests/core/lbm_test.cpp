#include "core/graphics/lbm.h"

#include "artfixture.h"

#include <gtest/gtest.h>

#include <functional>

using namespace tarnwick::core;
using namespace tarnwick::testing;

namespace {

IndexedImage Decode(const LbmParts& parts)
{
    return DecodeLbm(BuildLbm(parts));
}

std::vector<std::uint8_t> Pixels(std::initializer_list<int> values)
{
    std::vector<std::uint8_t> out;
    for (int v : values)
        out.push_back(static_cast<std::uint8_t>(v));
    return out;
}

TEST(LbmReader, BrokenFilesGiveTheirError)
{
    struct Case {
        const char* name;
        std::function<Bytes()> make;
        const char* error;
    };
    const std::vector<Case> cases {
        { "not an IFF form",
            [] {
                Bytes b = BuildLbm({});
                b[0] = 'X';
                return b;
            },
            "Invalid file" },
        { "annotation before the header",
            [] {
                Bytes b = BuildLbm({});
                const Bytes anno = Chunk("ANNO", { 'h', 'i' });
                b.insert(b.begin() + 12, anno.begin(), anno.end());
                return b;
            },
            "Invalid file" },
        { "five planes",
            [] {
                LbmParts s;
                s.planes = 5;
                return BuildLbm(s);
            },
            "Only supports 8 bit planes" },
        { "no colour map",
            [] {
                Bytes b = BuildLbm({});
                std::copy_n("BODY", 4, b.begin() + 40);
                return b;
            },
            "Invalid file" },
        { "compression 2",
            [] {
                LbmParts s;
                s.compression = 2;
                return BuildLbm(s);
            },
            "unsupported compression algorithm" },
        { "too large",
            [] {
                LbmParts s;
                s.width = s.height = 9000;
                s.hasBody = false;
                return BuildLbm(s);
            },
            "Picture too large" },
        { "ends in the form header",
            [] {
                return Bytes { 'F', 'O', 'R', 'M', 0, 0 };
            },
            "Unexpected end of file in the form header" },
        { "ends in the bitmap header",
            [] {
                Bytes b = BuildLbm({});
                b.resize(30);
                return b;
            },
            "Unexpected end of file in the bitmap header" },
        { "ends in the colour map",
            [] {
                Bytes b = BuildLbm({});
                b.resize(60);
                return b;
            },
            "Unexpected end of file in the colour map" },
        { "ends in a chunk header",
            [] {
                LbmParts s;
                s.hasBody = false;
                Bytes b = BuildLbm(s);
                b.resize(b.size() + 3, 'A');
                return b;
            },
            "Unexpected end of file in a chunk header" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        try {
            DecodeLbm(c.make());
            ADD_FAILURE() << "no error";
        } catch (const ELBMexception& e) {
            EXPECT_STREQ(e.what(), c.error);
        }
    }
}

TEST(LbmReader, DecodesBodiesAsTheFileLaysThemOut)
{
    struct Case {
        const char* name;
        LbmParts parts;
        std::vector<std::uint8_t> pixels;
    };
    auto picture = [](const char* form, int w, int h, int compression, Bytes body) {
        LbmParts s;
        s.formType = form;
        s.width = w;
        s.height = h;
        s.compression = compression;
        s.body = std::move(body);
        return s;
    };
    Bytes planes16(16, 0); // plane p is bytes 2p, 2p + 1
    planes16[0] = 0x80; // plane 0, pixel 0
    planes16[14 + 1] = 0x01; // plane 7, pixel 15
    planes16[6] = planes16[7] = 0xFF; // plane 3, every pixel
    Bytes planes20(64, 0); // 20 pixels: each plane row is two 16-bit words
    planes20[4 + 2] = 0x10; // row 0, plane 1, pixel 19
    planes20[32] = 0x80; // row 1, plane 0, pixel 0
    LbmParts noBody = picture("ILBM", 4, 2, 1, {});
    noBody.hasBody = false;
    LbmParts oddChunk = picture("PBM ", 2, 1, 0, { 5, 6 });
    oddChunk.between = Chunk("ANNO", { 'x', 'y', 'z' });
    const std::vector<Case> cases {
        { "plane 0 is the lowest bit", picture("ILBM", 16, 1, 0, planes16),
            Pixels({ 9, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8, 136 }) },
        { "planar rows padded to words", picture("ILBM", 20, 2, 0, planes20),
            [] {
                std::vector<std::uint8_t> p(40, 0);
                p[19] = 2;
                p[20] = 1;
                return p;
            }() },
        { "chunky rows padded to even", picture("PBM ", 3, 2, 0, { 1, 2, 3, 0, 4, 5, 6, 0 }),
            Pixels({ 1, 2, 3, 4, 5, 6 }) },
        { "ByteRun1 repeat, no-op and literal", picture("PBM ", 4, 2, 1, { 0xFD, 7, 0x80, 0x03, 1, 2, 3, 4 }),
            Pixels({ 7, 7, 7, 7, 1, 2, 3, 4 }) },
        { "a last lone control byte ends the data", picture("PBM ", 4, 2, 1, { 0xFD, 7, 0x05 }),
            Pixels({ 7, 7, 7, 7, 0, 0, 0, 0 }) },
        { "literal past the body is colour 255", picture("PBM ", 2, 2, 1, { 0x05, 1, 2 }),
            Pixels({ 255, 255, 255, 255 }) },
        { "repeat past the picture is colour 255", picture("ILBM", 8, 1, 1, { 0x81, 9 }),
            Pixels({ 255, 255, 255, 255, 255, 255, 255, 255 }) },
        { "uncompressed body longer than the picture is cut", picture("PBM ", 2, 1, 0, { 1, 2, 3, 4, 5, 6 }),
            Pixels({ 1, 2 }) },
        { "no body is colour 0", noBody, Pixels({ 0, 0, 0, 0, 0, 0, 0, 0 }) },
        { "odd chunk before the body is skipped with its pad byte", oddChunk, Pixels({ 5, 6 }) },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const IndexedImage image = Decode(c.parts);
        EXPECT_EQ(image.width, c.parts.width);
        EXPECT_EQ(image.height, c.parts.height);
        EXPECT_EQ(image.pixels, c.pixels);
    }
}

TEST(LbmReader, ColourMapGivesTheFirstColoursAndBlackAfter)
{
    struct Case {
        std::size_t mapBytes;
        std::size_t fromFile;
    };
    for (const Case c : { Case { 48, 16 }, Case { 7, 2 }, Case { 800, 256 }, Case { 0, 0 } }) {
        SCOPED_TRACE(c.mapBytes);
        LbmParts s;
        s.cmap.resize(c.mapBytes);
        for (std::size_t i = 0; i < c.mapBytes; ++i)
            s.cmap[i] = static_cast<std::uint8_t>(i % 251 + 1);
        s.body = Bytes(32, 0);
        const IndexedImage image = Decode(s);
        for (std::size_t i = 0; i < 256; ++i) {
            const Rgb expected
                = i < c.fromFile ? Rgb { s.cmap[3 * i], s.cmap[3 * i + 1], s.cmap[3 * i + 2] } : Rgb {};
            ASSERT_EQ(image.palette[i], expected) << "entry " << i;
        }
    }
}

TEST(LbmWriter, RoundTripsAtAnyWidth)
{
    for (int width : { 1, 7, 8, 15, 16, 17, 33, 160 })
        for (bool planar : { true, false })
            for (bool compress : { true, false }) {
                SCOPED_TRACE(testing::Message()
                    << width << (planar ? " planar" : " chunky") << (compress ? " ByteRun1" : " plain"));
                const IndexedImage original = PatternImage(width, width == 160 ? 80 : 5);
                const IndexedImage back = DecodeLbm(EncodeIlbm(original, { planar, compress }));
                EXPECT_EQ(back.width, original.width);
                EXPECT_EQ(back.height, original.height);
                EXPECT_EQ(back.pixels, original.pixels);
                EXPECT_EQ(back.palette, original.palette);
            }
}

TEST(BmpStream, HeadersPaletteAndBottomUpPaddedRows)
{
    IndexedImage image(3, 2);
    image.pixels = Pixels({ 1, 2, 3, 4, 5, 6 });
    image.palette[1] = { 10, 20, 30 };
    const Bytes bmp = EncodeBmp(image);

    Bytes expected { 'B', 'M' };
    PutLe(expected, 1086, 4);
    PutLe(expected, 0, 4);
    PutLe(expected, 1078, 4);
    for (std::uint32_t v : { 40u, 3u, 2u })
        PutLe(expected, v, 4);
    PutLe(expected, 1, 2);
    PutLe(expected, 8, 2);
    for (std::uint32_t v : { 0u, 8u, 0u, 0u, 0u, 0u })
        PutLe(expected, v, 4);
    Bytes palette(1024, 0);
    palette[4] = 30;
    palette[5] = 20;
    palette[6] = 10;
    expected.insert(expected.end(), palette.begin(), palette.end());
    for (int v : { 4, 5, 6, 0, 1, 2, 3, 0 })
        expected.push_back(static_cast<std::uint8_t>(v));
    EXPECT_EQ(bmp, expected);
}

TEST(BmpStream, APictureWithoutPixelsIsRefused)
{
    for (const auto& [w, h] : { std::pair { 0, 5 }, std::pair { 4, 0 }, std::pair { 0, 0 } })
        EXPECT_THROW(EncodeBmp(IndexedImage(w, h)), std::invalid_argument) << w << " x " << h;
}

} // namespace
