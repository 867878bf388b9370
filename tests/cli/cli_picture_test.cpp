// picture and icon: LBM and shape files to BMP and PNG.

#include "clirunner.h"

#include "core/data/tarnio.h"
#include "core/demo/demo.h"
#include "core/graphics/artfiles.h"
#include "core/graphics/icontables.h"
#include "core/graphics/lbm.h"
#include "core/graphics/shp.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>

namespace {

using clitest::ReadFile;
using clitest::RunCli;
using clitest::TempDir;
using clitest::WriteFile;
namespace fs = std::filesystem;
using namespace tarnwick::core;

std::string Str(const std::vector<std::uint8_t>& b)
{
    return std::string(b.begin(), b.end());
}

IndexedImage Sample(int width, int height)
{
    IndexedImage image(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.row(y)[x] = static_cast<std::uint8_t>((x / 3) * 16 + y % 16);
    for (int i = 0; i < 256; ++i)
        image.palette[static_cast<std::size_t>(i)] = { static_cast<std::uint8_t>(i),
            static_cast<std::uint8_t>(i / 2), static_cast<std::uint8_t>(255 - i) };
    return image;
}

TEST(CliPicture, WritesTheBmpStreamOfPicturesAndIconFrames)
{
    TempDir tmp;
    const IndexedImage picture = Sample(37, 11);
    const auto lbm = EncodeIlbm(picture);
    WriteFile(tmp / "Pm00007.lbm", lbm);
    auto r = RunCli({ "picture", (tmp / "Pm00007.lbm").string(), "-o", (tmp / "p.bmp").string() });
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(ReadFile(tmp / "p.bmp"), Str(EncodeBmp(picture)));

    IndexedImage frame = Sample(9, 5);
    frame.row(0)[0] = 240;
    const auto shp = EncodeShp({ frame, Sample(3, 3), frame }, 240);
    WriteFile(tmp / "Icon0012.shp", shp);
    for (const char* transparent : { "", "7" }) {
        SCOPED_TRACE(transparent);
        std::vector<std::string> args { "icon", (tmp / "Icon0012.shp").string(), "--frame", "2", "-o",
            (tmp / "i.BMP").string() };
        if (*transparent != '\0')
            args.insert(args.end(), { "--transparent", transparent });
        r = RunCli(args);
        ASSERT_EQ(r.status, 0) << r.err;
        const int t = *transparent != '\0' ? 7 : 240;
        EXPECT_EQ(
            ReadFile(tmp / "i.BMP"), Str(EncodeBmp(DecodeShpFrame(shp, 2, static_cast<std::uint8_t>(t)))));
    }
}

TEST(CliPicture, PngHoldsTheSameColours)
{
    if (std::system("command -v pngtopnm >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "netpbm is not installed";
    TempDir tmp;
    const IndexedImage picture = Sample(37, 11);
    WriteFile(tmp / "a.lbm", EncodeIlbm(picture));
    auto r = RunCli({ "picture", (tmp / "a.lbm").string(), "-o", (tmp / "a.png").string() });
    ASSERT_EQ(r.status, 0) << r.err;
    ASSERT_EQ(
        std::system(
            ("pngtopnm '" + (tmp / "a.png").string() + "' > '" + (tmp / "a.ppm").string() + "'").c_str()),
        0);
    std::string expected = "P6\n37 11\n255\n";
    for (std::uint8_t i : picture.pixels)
        expected += { static_cast<char>(picture.palette[i].r), static_cast<char>(picture.palette[i].g),
            static_cast<char>(picture.palette[i].b) };
    EXPECT_EQ(ReadFile(tmp / "a.ppm"), expected);
}

TEST(CliPicture, ReaderAndUsageErrorsWriteNothing)
{
    TempDir tmp;
    auto lbm = EncodeIlbm(Sample(16, 2));
    WriteFile(tmp / "good.lbm", lbm);
    lbm[0] = 'X';
    WriteFile(tmp / "bad.lbm", lbm);
    lbm = EncodeIlbm(Sample(16, 2));
    lbm[28] = 5; // planes
    WriteFile(tmp / "planes.lbm", lbm);
    lbm[28] = 8;
    lbm[30] = 2; // compression
    WriteFile(tmp / "packed.lbm", lbm);
    WriteFile(tmp / "i.shp", EncodeShp({ Sample(2, 2) }, 240));
    WriteFile(tmp / "empty.lbm", EncodeIlbm(IndexedImage(0, 3)));
    const std::string out = (tmp / "out.bmp").string();
    const std::string in = (tmp / "good.lbm").string();
    const std::string shp = (tmp / "i.shp").string();

    struct Case {
        std::vector<std::string> args;
        int status;
        std::string err;
    };
    const std::vector<Case> cases {
        { { "picture", (tmp / "bad.lbm").string(), "-o", out }, 1, ": Invalid file\n" },
        { { "picture", (tmp / "planes.lbm").string(), "-o", out }, 1, ": Only supports 8 bit planes\n" },
        { { "picture", (tmp / "packed.lbm").string(), "-o", out }, 1,
            ": unsupported compression algorithm\n" },
        { { "icon", shp, "--frame", "1", "-o", out }, 1, ": required icon not available\n" },
        { { "picture", (tmp / "none.lbm").string(), "-o", out }, 1, "Cannot find" },
        { { "picture", (tmp / "empty.lbm").string(), "-o", out }, 1,
            "cannot hold a picture of 0 x 3 pixels" },
        { { "picture", tmp.path().string(), "-o", out }, 1, "Not a regular file" },
        { { "picture", in, "-o", (tmp / "no" / "x.bmp").string() }, 1, "Cannot create a file in the folder" },
        { { "picture", in }, 2, "picture needs -o" },
        { { "picture", in, "-o", (tmp / "x.gif").string() }, 2, "-o must name a .bmp or .png file" },
        { { "picture", in, "--frame", "1", "-o", out }, 2, "unknown option '--frame' for picture" },
        { { "icon", shp, "-o", out }, 2, "icon needs --frame" },
        { { "icon", shp, "--frame", "255", "-o", out }, 2,
            "--frame must be a number from 0 to 254, not '255'" },
        { { "icon", shp, "--frame", "1", "--transparent=256", "-o", out }, 2,
            "--transparent must be a number from 0 to 255, not '256'" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args[0] + " " + c.args[1]);
        auto r = RunCli(c.args);
        EXPECT_EQ(r.status, c.status);
        EXPECT_NE(r.err.find(c.err), std::string::npos) << r.err;
        EXPECT_FALSE(fs::exists(out));
    }

    auto help = RunCli({ "icon", "--help" });
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("Usage: tarnwick-cli icon IN.shp --frame F", 0), 0u) << help.out;
}

TEST(CliPicture, DemoFolderHasAPictureAndIconsForEveryUnit)
{
    TempDir tmp;
    auto r = RunCli({ "make-demo", (tmp / "demo").string() });
    ASSERT_EQ(r.status, 0) << r.err;
    const fs::path dir = tmp / "demo";
    int units = 0;
    for (int nation : DemoNations()) {
        TOobData data;
        ASSERT_TRUE(LoadOobPath(
            data, static_cast<std::uint16_t>(nation), dir / OobFileName(static_cast<std::uint16_t>(nation)))
                        .ok());
        for (const TOobUnit& u : data.units) {
            if (u.name.empty())
                continue;
            ++units;
            SCOPED_TRACE(u.name);
            const IndexedImage picture = LoadLbmFile(FindPictureFile(dir, u.lbm));
            EXPECT_EQ(picture.width, 160);
            EXPECT_EQ(picture.height, 80);
            // Drawn, not flat: many colours in use.
            EXPECT_GT(std::set<std::uint8_t>(picture.pixels.begin(), picture.pixels.end()).size(), 40u);
            const IconFrameRow& row = BuiltInIconFrameTable().row(u.icon);
            for (int entry : { row.hull, row.turret }) {
                if (entry >= 0) {
                    EXPECT_NO_THROW(
                        LoadShpFrame(FindIconFile(dir, IconFileOf(entry)), IconDirectoryIndex(entry), 240));
                }
            }
            const IndexedImage hull
                = LoadShpFrame(FindIconFile(dir, IconFileOf(row.hull)), IconDirectoryIndex(row.hull), 240);
            EXPECT_EQ(hull.pixels.front(), 240) << "the top-left corner is uncovered";
            EXPECT_EQ(hull.pixels[hull.pixels.size() - static_cast<std::size_t>(hull.width)], 240)
                << "bottom-left";
        }
    }
    EXPECT_GT(units, 30);
    // Crew icons: frames 0 to 60 of files 10 to 13.
    for (int file = 10; file <= 13; ++file)
        for (int frame : { 0, 24, 36, 42, 51, 54, 57, 60 }) {
            const IndexedImage crew = LoadShpFrame(FindIconFile(dir, file), frame + 1, 240);
            EXPECT_GT(std::count_if(
                          crew.pixels.begin(), crew.pixels.end(), [](std::uint8_t p) { return p != 240; }),
                20)
                << file << "/" << frame;
        }
}

} // namespace
