// Pictures written and read by netpbm and ffmpeg, tools nobody here wrote.

#include "core/graphics/lbm.h"

#include "artfixture.h"
#include "oobfixture.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

using namespace tarnwick::core;
using namespace tarnwick::testing;
namespace fs = std::filesystem;

namespace {

bool HaveTool(const char* name)
{
    return std::system((std::string("command -v ") + name + " >/dev/null 2>&1").c_str()) == 0;
}

int Shell(const std::string& command)
{
    return std::system((command + " 2>/dev/null").c_str());
}

std::string Quote(const fs::path& p)
{
    return "'" + p.string() + "'";
}

Bytes ReadBytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

void WriteBytes(const fs::path& path, const Bytes& bytes)
{
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// A binary PPM of the picture's colours.
Bytes ToPpm(const IndexedImage& image)
{
    std::ostringstream head;
    head << "P6\n" << image.width << ' ' << image.height << "\n255\n";
    const std::string text = head.str();
    Bytes out(text.begin(), text.end());
    for (std::uint8_t i : image.pixels)
        for (std::uint8_t c : { image.palette[i].r, image.palette[i].g, image.palette[i].b })
            out.push_back(c);
    return out;
}

// The colour bytes of a binary PPM, after checking its size.
Bytes PpmColours(const Bytes& ppm, int width, int height)
{
    std::istringstream in(std::string(ppm.begin(), ppm.end()));
    std::string magic;
    int w = 0, h = 0, max = 0;
    in >> magic >> w >> h >> max;
    in.get();
    EXPECT_EQ(magic, "P6");
    EXPECT_EQ(w, width);
    EXPECT_EQ(h, height);
    EXPECT_EQ(max, 255);
    return Bytes(ppm.end() - 3 * static_cast<std::ptrdiff_t>(width) * height, ppm.end());
}

const std::vector<int> kWidths { 7, 17, 33, 100, 160 };

TEST(LbmPeers, NetpbmPicturesDecodeExactly)
{
    if (!HaveTool("ppmtoilbm"))
        GTEST_SKIP() << "netpbm is not installed";
    TempDir dir;
    for (int width : kWidths)
        for (const char* compression : { "", "-nocompress" }) {
            SCOPED_TRACE(testing::Message() << width << ' ' << compression);
            const IndexedImage original = PatternImage(width, 9);
            IndexedImage map(256, 1);
            for (int i = 0; i < 256; ++i)
                map.pixels[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);
            map.palette = original.palette;
            WriteBytes(dir / "in.ppm", ToPpm(original));
            WriteBytes(dir / "map.ppm", ToPpm(map));
            ASSERT_EQ(Shell("ppmtoilbm -mp 8 -map " + Quote(dir / "map.ppm") + " " + compression + " "
                          + Quote(dir / "in.ppm") + " > " + Quote(dir / "x.lbm")),
                0);
            const IndexedImage back = DecodeLbm(ReadBytes(dir / "x.lbm"));
            EXPECT_EQ(back.width, width);
            EXPECT_EQ(back.pixels, original.pixels);
            EXPECT_EQ(back.palette, original.palette);
        }
}

TEST(LbmPeers, OurPicturesDecodeAlikeInNetpbmAndFfmpeg)
{
    const bool netpbm = HaveTool("ilbmtoppm");
    const bool ffmpeg = HaveTool("ffmpeg");
    if (!netpbm && !ffmpeg)
        GTEST_SKIP() << "neither netpbm nor ffmpeg is installed";
    TempDir dir;
    for (int width : kWidths) {
        SCOPED_TRACE(width);
        const IndexedImage image = PatternImage(width, 9);
        WriteBytes(dir / "x.lbm", EncodeIlbm(image));
        if (netpbm) {
            ASSERT_EQ(Shell("ilbmtoppm " + Quote(dir / "x.lbm") + " > " + Quote(dir / "x.ppm")), 0);
            EXPECT_EQ(PpmColours(ReadBytes(dir / "x.ppm"), width, 9), PpmColours(ToPpm(image), width, 9));
        }
        if (ffmpeg) {
            // pal8 raw video: the index bytes, then 256 palette entries of blue, green, red, alpha.
            ASSERT_EQ(Shell("ffmpeg -nostdin -v error -y -f iff -i " + Quote(dir / "x.lbm")
                          + " -f rawvideo -pix_fmt pal8 " + Quote(dir / "x.raw")),
                0);
            const Bytes raw = ReadBytes(dir / "x.raw");
            ASSERT_EQ(raw.size(), image.pixels.size() + 1024);
            EXPECT_EQ(Bytes(raw.begin(), raw.end() - 1024), image.pixels);
            for (std::size_t i = 0; i < 256; ++i) {
                const std::uint8_t* e = raw.data() + image.pixels.size() + 4 * i;
                ASSERT_EQ((Rgb { e[2], e[1], e[0] }), image.palette[i]) << "palette entry " << i;
            }
        }
    }
}

} // namespace
