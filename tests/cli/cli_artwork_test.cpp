// picture-import (PNG in) and art-export (a game folder's art out), read back by
// our readers and by netpbm's.

#include "clirunner.h"
#include "pngmaker.h"

#include "codec/png.h"
#include "core/demo/demo.h"
#include "core/graphics/lbm.h"
#include "core/graphics/shp.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <sstream>

namespace {

using clitest::PngKind;
using clitest::ReadFile;
using clitest::RunCli;
using clitest::TempDir;
using clitest::WriteFile;
using clitest::WritePng;
namespace fs = std::filesystem;
using namespace tarnwick;
using core::Rgb;

bool HaveNetpbm()
{
    return std::system("command -v ilbmtoppm >/dev/null 2>&1") == 0;
}

// The colours netpbm reads from an LBM file, row by row.
std::vector<Rgb> NetpbmColours(const fs::path& lbm, int width, int height)
{
    const fs::path ppm = lbm.string() + ".ppm";
    EXPECT_EQ(
        std::system(("ilbmtoppm '" + lbm.string() + "' > '" + ppm.string() + "' 2>/dev/null").c_str()), 0);
    std::istringstream in(ReadFile(ppm));
    std::string magic;
    int w = 0, h = 0, max = 0;
    in >> magic >> w >> h >> max;
    in.get();
    EXPECT_EQ(magic, "P6");
    EXPECT_EQ(w, width);
    EXPECT_EQ(h, height);
    std::vector<Rgb> out;
    char c[3];
    while (in.read(c, 3))
        out.push_back({ static_cast<std::uint8_t>(c[0]), static_cast<std::uint8_t>(c[1]),
            static_cast<std::uint8_t>(c[2]) });
    EXPECT_EQ(out.size(), static_cast<std::size_t>(width) * height);
    return out;
}

// A source picture: its PNG kind and the colour (with alpha) of each pixel.
struct Source {
    const char* name;
    PngKind kind;
    std::function<std::array<std::uint8_t, 4>(int x, int y)> colour;
};

const std::vector<std::array<std::uint8_t, 3>> kSixteen = [] {
    std::vector<std::array<std::uint8_t, 3>> p;
    for (int i = 0; i < 16; ++i)
        p.push_back({ static_cast<std::uint8_t>(i * 17), static_cast<std::uint8_t>(255 - i * 13),
            static_cast<std::uint8_t>((i * 101) % 256) });
    return p;
}();

const Source kFewColours[] = {
    { "palette", PngKind::Palette,
        [](int x, int y) {
            const auto& c = kSixteen[static_cast<std::size_t>((3 * x + y) % 16)];
            return std::array<std::uint8_t, 4> { c[0], c[1], c[2], 255 };
        } },
    { "grey", PngKind::Grey,
        [](int x, int y) {
            const auto v = static_cast<std::uint8_t>(x * 37 + y * 11);
            return std::array<std::uint8_t, 4> { v, v, v, 255 };
        } },
    { "rgb", PngKind::Rgb,
        [](int x, int y) {
            const auto& c = kSixteen[static_cast<std::size_t>((x + y) % 5)];
            return std::array<std::uint8_t, 4> { c[0], c[1], c[2], 255 };
        } },
    // Alpha 0 and 100 are below half, 200 above.
    { "rgba", PngKind::Rgba,
        [](int x, int y) {
            const auto& c = kSixteen[static_cast<std::size_t>((x * y) % 7)];
            const std::uint8_t a[] = { 0, 100, 200 };
            return std::array<std::uint8_t, 4> { c[0], c[1], c[2], a[(x + y) % 3] };
        } },
};

void WriteSource(const fs::path& path, const Source& s, int width, int height)
{
    std::vector<std::uint8_t> bytes, palette;
    if (s.kind == PngKind::Palette)
        for (const auto& c : kSixteen)
            palette.insert(palette.end(), c.begin(), c.end());
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const auto c = s.colour(x, y);
            switch (s.kind) {
            case PngKind::Grey:
                bytes.push_back(c[0]);
                break;
            case PngKind::Rgb:
                bytes.insert(bytes.end(), c.begin(), c.begin() + 3);
                break;
            case PngKind::Rgba:
                bytes.insert(bytes.end(), c.begin(), c.end());
                break;
            case PngKind::Palette:
                bytes.push_back(static_cast<std::uint8_t>((3 * x + y) % 16));
                break;
            }
        }
    WritePng(path, s.kind, width, height, bytes, palette);
}

TEST(CliArtwork, PicturesOfFewColoursImportExactlyAtEveryOddWidth)
{
    TempDir tmp;
    const bool netpbm = HaveNetpbm();
    const int height = 3;
    for (const Source& s : kFewColours)
        for (int width = 1; width <= 17; ++width) {
            SCOPED_TRACE(testing::Message() << s.name << ' ' << width);
            WriteSource(tmp / "in.png", s, width, height);
            const fs::path out = tmp / (std::string(s.name) + std::to_string(width) + ".lbm");
            const auto r = RunCli({ "picture-import", (tmp / "in.png").string(), "-o", out.string() });
            ASSERT_EQ(r.status, 0) << r.err;
            EXPECT_EQ(r.err.find("pixels with less than 50%") != std::string::npos, s.kind == PngKind::Rgba)
                << r.err;
            const core::IndexedImage back = core::LoadLbmFile(out);
            ASSERT_EQ(back.width, width);
            ASSERT_EQ(back.height, height);
            const std::vector<Rgb> peer = netpbm ? NetpbmColours(out, width, height) : std::vector<Rgb> {};
            for (int y = 0; y < height; ++y)
                for (int x = 0; x < width; ++x) {
                    const auto c = s.colour(x, y);
                    const std::uint8_t k = back.at(x, y);
                    if (c[3] < 128) {
                        EXPECT_EQ(k, 0) << x << ',' << y;
                    } else {
                        EXPECT_EQ(back.palette[k], (Rgb { c[0], c[1], c[2] })) << x << ',' << y;
                    }
                    if (netpbm) {
                        EXPECT_EQ(peer[static_cast<std::size_t>(y * width + x)], back.palette[k])
                            << x << ',' << y;
                    }
                }
        }
}

// Mean absolute difference per channel, over all pixels.
double MeanError(
    const std::vector<Rgb>& got, const std::function<std::array<std::uint8_t, 4>(int, int)>& want, int width)
{
    double sum = 0;
    for (std::size_t i = 0; i < got.size(); ++i) {
        const auto c = want(static_cast<int>(i) % width, static_cast<int>(i) / width);
        sum += std::abs(got[i].r - c[0]) + std::abs(got[i].g - c[1]) + std::abs(got[i].b - c[2]);
    }
    return sum / (3.0 * static_cast<double>(got.size()));
}

TEST(CliArtwork, PicturesOfManyColoursComeCloseWithOwnOrGivenPalette)
{
    TempDir tmp;
    const int width = 61, height = 40;
    const Source many { "many", PngKind::Rgb, [](int x, int y) {
                           return std::array<std::uint8_t, 4> { static_cast<std::uint8_t>(x * 4),
                               static_cast<std::uint8_t>(y * 6), static_cast<std::uint8_t>((x * y) % 256),
                               255 };
                       } };
    std::vector<std::uint8_t> bytes;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const auto c = many.colour(x, y);
            bytes.insert(bytes.end(), c.begin(), c.begin() + 3);
        }
    WritePng(tmp / "many.png", PngKind::Rgb, width, height, bytes);
    // The reference: a 6 x 6 x 6 colour cube.
    core::IndexedImage ref(2, 2);
    for (int i = 0; i < 216; ++i)
        ref.palette[static_cast<std::size_t>(i)] = { static_cast<std::uint8_t>(i / 36 * 51),
            static_cast<std::uint8_t>(i / 6 % 6 * 51), static_cast<std::uint8_t>(i % 6 * 51) };
    WriteFile(tmp / "ref.lbm", core::EncodeIlbm(ref));

    // Mean error per channel, in levels of 255: own palette within 10 (the
    // blue channel is noise); onto the cube (steps of 51) within 15, dithered
    // within 20 (dithering trades pixel error for the right average).
    const struct {
        std::vector<std::string> options;
        double maxMeanError;
        bool onCube;
    } cases[] = {
        { {}, 10.0, false },
        { { "--palette", (tmp / "ref.lbm").string() }, 15.0, true },
        { { "--palette", (tmp / "ref.lbm").string(), "--dither" }, 20.0, true },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.options.size());
        std::vector<std::string> args { "picture-import", (tmp / "many.png").string(), "-o",
            (tmp / "out.lbm").string(), "--force" };
        args.insert(args.end(), c.options.begin(), c.options.end());
        const auto r = RunCli(args);
        ASSERT_EQ(r.status, 0) << r.err;
        const core::IndexedImage back = core::LoadLbmFile(tmp / "out.lbm");
        if (c.onCube) {
            EXPECT_EQ(back.palette, ref.palette);
        }
        std::vector<Rgb> ours;
        for (std::uint8_t k : back.pixels)
            ours.push_back(back.palette[k]);
        EXPECT_LE(MeanError(ours, many.colour, width), c.maxMeanError);
        if (HaveNetpbm()) {
            EXPECT_EQ(NetpbmColours(tmp / "out.lbm", width, height), ours);
        }
    }
}

TEST(CliArtwork, SeeThroughPixelsOfManyColoursAndOnlyTheyTakeColourZero)
{
    TempDir tmp;
    const int width = 33, height = 20;
    std::vector<std::uint8_t> bytes;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            for (int v : { x * 7, y * 12, (x * y) % 256, (x + y) % 4 == 0 ? 20 : 255 })
                bytes.push_back(static_cast<std::uint8_t>(v));
    WritePng(tmp / "in.png", PngKind::Rgba, width, height, bytes);
    core::IndexedImage ref(1, 1);
    for (std::size_t i = 0; i < 256; ++i)
        ref.palette[i] = { static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(255 - i), 128 };
    WriteFile(tmp / "ref.lbm", core::EncodeIlbm(ref));
    for (const bool withRef : { false, true }) {
        SCOPED_TRACE(withRef);
        std::vector<std::string> args { "picture-import", (tmp / "in.png").string(), "-o",
            (tmp / "out.lbm").string(), "--force", "--dither" };
        if (withRef)
            args.insert(args.end(), { "--palette", (tmp / "ref.lbm").string() });
        const auto r = RunCli(args);
        ASSERT_EQ(r.status, 0) << r.err;
        const core::IndexedImage back = core::LoadLbmFile(tmp / "out.lbm");
        for (std::size_t i = 0; i < back.pixels.size(); ++i)
            ASSERT_EQ(back.pixels[i] == 0, bytes[4 * i + 3] < 128) << i;
    }
}

// Every run below gets at most 1 GB of memory: a picture refused for its size
// must be refused before anything like its size is allocated.
std::vector<std::string> MemoryLimit()
{
#ifdef TARNWICK_SANITIZED
    // The sanitizer reserves far more address space than that; limit its allocator instead.
    const char* options = std::getenv("ASAN_OPTIONS");
    return { "/usr/bin/env",
        std::string("ASAN_OPTIONS=") + (options != nullptr ? options : "")
            + ":max_allocation_size_mb=1024:allocator_may_return_null=1" };
#else
    if (clitest::UnderWine())
        return {}; // wine itself cannot start in so little address space
    return { "/usr/bin/prlimit", "--as=1073741824" };
#endif
}

TEST(CliArtwork, BadInputIsRefusedAndNothingIsWritten)
{
    TempDir tmp;
    WriteFile(tmp / "huge8.png", clitest::PngHeaderOnly(2147483647, 1, 8));
    WriteFile(tmp / "huge16.png", clitest::PngHeaderOnly(2147483647, 2, 16));
    // 4200 x 4200 pixels of one row repeated: a small PNG, but an LBM file
    // beyond what a picture may have (its bit planes do not compress).
    std::vector<std::uint8_t> noise(4200 * 4200);
    for (std::size_t i = 0; i < noise.size(); ++i) {
        std::uint32_t x = static_cast<std::uint32_t>(i % 4200) * 0x9e3779b1u + 0x7f4a7c15u;
        x = (x ^ (x >> 15)) * 0x85ebca77u;
        noise[i] = static_cast<std::uint8_t>(x ^ (x >> 13));
    }
    WritePng(tmp / "big.png", PngKind::Grey, 4200, 4200, noise);
    WritePng(tmp / "good.png", PngKind::Grey, 3, 2, { 1, 2, 3, 4, 5, 6 });
    const std::string good = ReadFile(tmp / "good.png");
    WriteFile(tmp / "text.png", std::string("just some text, not a picture"));
    WriteFile(tmp / "empty.png", std::string());
    WriteFile(tmp / "short.png", good.substr(0, good.size() - 20));
    std::string crc = good;
    crc[29] = static_cast<char>(crc[29] ^ 0x55); // inside the header chunk's checksum
    WriteFile(tmp / "crc.png", crc);
    WritePng(tmp / "wide.png", PngKind::Grey, 8193, 1, std::vector<std::uint8_t>(8193, 9));
    WriteFile(tmp / "ref.txt", std::string("not a picture"));
    WriteFile(tmp / "taken.lbm", std::string("keep me"));

    const auto out = (tmp / "out.lbm").string();
    const struct {
        std::vector<std::string> args;
        int status;
        const char* says;
    } cases[] = {
        { { (tmp / "text.png").string(), "-o", out }, 1, "not a PNG file" },
        { { (tmp / "empty.png").string(), "-o", out }, 1, "not a PNG file" },
        { { (tmp / "short.png").string(), "-o", out }, 1, "damaged PNG file" },
        { { (tmp / "crc.png").string(), "-o", out }, 1, "damaged PNG file" },
        { { (tmp / "wide.png").string(), "-o", out }, 1, "larger than 8192 x 8192" },
        { { (tmp / "huge8.png").string(), "-o", out }, 1, "2147483647 x 1 pixels, larger than" },
        { { (tmp / "huge16.png").string(), "-o", out }, 1, "2147483647 x 2 pixels, larger than" },
        { { (tmp / "big.png").string(), "-o", out }, 1, "more than the 16 MiB a picture may have" },
        { { (tmp / "missing.png").string(), "-o", out }, 1, "missing.png" },
        { { (tmp / "good.png").string(), "-o", out, "--palette", (tmp / "ref.txt").string() }, 1,
            "reference palette" },
        { { (tmp / "good.png").string(), "-o", out, "--palette", (tmp / "nope.lbm").string() }, 1,
            "reference palette" },
        { { (tmp / "good.png").string(), "-o", (tmp / "taken.lbm").string() }, 1, "--force" },
        { { (tmp / "good.png").string(), "-o", (tmp / "x.png").string() }, 2, ".lbm" },
        { { (tmp / "good.png").string(), "-o", (tmp / "good.png").string() }, 2, "" },
    };
    for (const auto& c : cases) {
        std::vector<std::string> args { "picture-import" };
        args.insert(args.end(), c.args.begin(), c.args.end());
        SCOPED_TRACE(c.args[0]);
        const auto r = clitest::RunCliVia(MemoryLimit(), args);
        EXPECT_EQ(r.status, c.status) << r.err;
        EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
        EXPECT_FALSE(fs::exists(out));
    }
    EXPECT_EQ(ReadFile(tmp / "taken.lbm"), "keep me");
    EXPECT_EQ(ReadFile(tmp / "good.png"), good);
    const auto r = RunCli(
        { "picture-import", (tmp / "good.png").string(), "-o", (tmp / "taken.lbm").string(), "--force" });
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(core::LoadLbmFile(tmp / "taken.lbm").width, 3);
}

// What a written file shows: a PNG's pixels, any other file's bytes.
std::string Content(const std::string& bytes)
{
    if (bytes.rfind("\x89PNG", 0) != 0)
        return bytes;
    const core::RgbaImage image
        = codec::DecodePng(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
    return std::to_string(image.width) + "x" + std::to_string(image.height)
        + std::string(image.pixels.begin(), image.pixels.end());
}

TEST(CliArtwork, ArtExportWritesWhatPictureAndIconWriteAndNamesBrokenFiles)
{
    TempDir tmp;
    const fs::path game = tmp / "game";
    ASSERT_EQ(RunCli({ "make-demo", game.string() }).status, 0);
    WriteFile(game / "pic" / "Pm09998.lbm", std::string("FORM\0\0\0\4ILBM", 12));
    for (const char* format : { "png", "bmp" }) {
        SCOPED_TRACE(format);
        const fs::path out = tmp / format;
        const auto r
            = RunCli({ "art-export", game.string(), "-o", out.string(), "--format", format, "--jobs", "3" });
        EXPECT_EQ(r.status, 1);
        EXPECT_NE(r.err.find("Pm09998.lbm"), std::string::npos) << r.err;
        EXPECT_NE(r.out.find("1 problem"), std::string::npos) << r.out;
        const std::string ext = std::string(".") + format;

        int pictures = 0;
        for (const auto& e : fs::directory_iterator(game / "pic")) {
            if (e.path().filename() == "Pm09998.lbm")
                continue;
            const core::IndexedImage image = core::LoadLbmFile(e.path());
            // BMP files are the same bytes; PNG files (deflated faster) the same pixels.
            const auto want = ext == ".png" ? codec::EncodePng(image) : core::EncodeBmp(image);
            const std::string got = ReadFile(out / "pic" / (e.path().stem().string() + ext));
            EXPECT_EQ(Content(got), Content(std::string(want.begin(), want.end()))) << e.path();
            // The picture command, run on a few, writes the same.
            if (++pictures <= 3) {
                ASSERT_EQ(
                    RunCli({ "picture", e.path().string(), "-o", (tmp / ("p" + ext)).string() }).status, 0);
                EXPECT_EQ(Content(ReadFile(tmp / ("p" + ext))), Content(got));
            }
        }
        EXPECT_FALSE(fs::exists(out / "pic" / ("Pm09998" + ext)));

        int frames = 0;
        for (const auto& e : fs::directory_iterator(game / "shp")) {
            for (int entry = 1; entry < core::kMaxShpFrames; ++entry) {
                core::IndexedImage image;
                try {
                    image = core::LoadShpFrame(e.path(), entry, 240);
                } catch (const core::EShpexception&) {
                    break;
                }
                ++frames;
                char ff[8];
                std::snprintf(ff, sizeof ff, "_%02d", entry - 1);
                const fs::path file = out / "shp" / (e.path().stem().string() + ff + ext);
                if (ext == ".bmp") {
                    const auto want = core::EncodeBmp(image);
                    EXPECT_EQ(ReadFile(file), std::string(want.begin(), want.end())) << file;
                    if (frames <= 3) {
                        ASSERT_EQ(RunCli({ "icon", e.path().string(), "--frame", std::to_string(entry), "-o",
                                             (tmp / "i.bmp").string() })
                                      .status,
                            0);
                        EXPECT_EQ(ReadFile(tmp / "i.bmp"), ReadFile(file));
                    }
                    continue;
                }
                // PNG: the same colours, the uncovered colour see-through.
                const std::string bytes = ReadFile(file);
                const core::RgbaImage rgba = codec::DecodePng(
                    std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
                ASSERT_EQ(rgba.width, image.width);
                ASSERT_EQ(rgba.height, image.height);
                for (std::size_t i = 0; i < image.pixels.size(); ++i) {
                    const Rgb c = image.palette[image.pixels[i]];
                    const std::uint8_t* p = rgba.pixels.data() + 4 * i;
                    ASSERT_EQ(p[3], image.pixels[i] == 240 ? 0 : 255) << file << ' ' << i;
                    ASSERT_EQ((Rgb { p[0], p[1], p[2] }), c) << file << ' ' << i;
                }
            }
        }
        EXPECT_GT(frames, 0);
        EXPECT_EQ(std::distance(fs::directory_iterator(out / "shp"), fs::directory_iterator {}), frames);
    }
    const auto r = RunCli({ "art-export", (tmp / "nothing").string(), "-o", (tmp / "o").string() });
    EXPECT_EQ(r.status, 1);
    EXPECT_FALSE(fs::exists(tmp / "o"));
}

// Entries named like pictures that are not files are named once each, a
// broken icon file in one line, control bytes in names escaped; an output
// inside the game folder needs --force.
TEST(CliArtwork, ArtExportNamesEverySkippedEntryOnce)
{
    SKIP_UNDER_WINE("FIFOs, dangling and looping symbolic links, control bytes in names");
    TempDir tmp;
    const fs::path game = tmp / "game";
    ASSERT_EQ(RunCli({ "make-demo", game.string() }).status, 0);
    const fs::path pic = game / "pic";
    fs::create_symlink(tmp / "nowhere", pic / "Pm09001.lbm");
    fs::create_symlink(pic / "Pm09002.lbm", pic / "Pm09002.lbm");
    ASSERT_EQ(::mkfifo((pic / "Pm09003.lbm").c_str(), 0644), 0);
    fs::create_directory(pic / "Pm09004.lbm");
    WriteFile(pic / "Pm\x1b]0;x\x07.lbm", std::string("FORM"));
    // 30 frames, each beyond the end of the file.
    std::string shp("1.10\x1f\0\0\0", 8);
    for (int i = 0; i < 31; ++i)
        shp += std::string("\xff\xff\xff\x7f\0\0\0\0", 8);
    WriteFile(game / "shp" / "Icon0999.shp", shp);

    const auto inside = RunCli({ "art-export", game.string(), "-o", (game / "export").string() });
    EXPECT_EQ(inside.status, 1);
    EXPECT_NE(inside.err.find("inside the game folder"), std::string::npos) << inside.err;
    EXPECT_FALSE(fs::exists(game / "export"));

    const auto r = RunCli({ "art-export", game.string(), "-o", (game / "export").string(), "--force" });
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("6 problems"), std::string::npos) << r.out;
    EXPECT_EQ(r.err.find('\x1b'), std::string::npos) << r.err;
    for (const char* name :
        { "Pm09001.lbm: a symbolic link to nothing", "Pm09002.lbm: a symbolic link that loops",
            "Pm09003.lbm: not a regular file", "Pm09004.lbm: a folder",
            "Pm\\x1b]0;x\\x07.lbm: ", "Icon0999.shp: 30 of 30 frames failed, the first frame 0: " }) {
        const std::size_t at = r.err.find(name);
        EXPECT_NE(at, std::string::npos) << name << '\n' << r.err;
        EXPECT_EQ(r.err.find(name, at + 1), std::string::npos) << name << '\n' << r.err;
    }
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 6) << r.err;
    EXPECT_TRUE(fs::exists(game / "export" / "pic"));
}

// Killed by any of the usual signals at any moment, an export run by an
// ordinary user leaves only whole files under their final names.
TEST(CliArtwork, AnInterruptedArtExportLeavesNoTemporaryFile)
{
    const std::optional<std::vector<std::string>> prefix = clitest::Unprivileged();
    if (!prefix)
        GTEST_SKIP() << "setpriv is not installed";
    TempDir tmp;
    fs::permissions(tmp.path(),
        fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec | fs::perms::others_read
            | fs::perms::others_exec);
    const fs::path game = tmp / "game";
    ASSERT_EQ(RunCli({ "make-demo", game.string() }).status, 0);
    // Enough pictures to take a while.
    const std::vector<fs::path> pictures(fs::directory_iterator(game / "pic"), fs::directory_iterator {});
    for (int copy = 0; copy < 400; ++copy) {
        char name[16];
        std::snprintf(name, sizeof name, "Pm%05d.lbm", 50000 + copy);
        fs::copy_file(pictures[static_cast<std::size_t>(copy) % pictures.size()], game / "pic" / name);
    }
    std::vector<std::string> args = *prefix;
    args.insert(args.end(), { TARNWICK_CLI_PATH, "art-export", game.string(), "-o", "", "--jobs", "2" });

    for (int signal : { SIGTERM, SIGINT, SIGHUP })
        for (int delay : { 5000, 40000, 150000 }) {
            SCOPED_TRACE(std::to_string(signal) + " after " + std::to_string(delay) + " us");
            const fs::path out = tmp / ("out" + std::to_string(signal) + "-" + std::to_string(delay));
            fs::create_directory(out);
            if (::geteuid() == 0) {
                ASSERT_EQ(::chown(out.c_str(), clitest::kNobody, clitest::kNobody), 0);
            }
            args[prefix->size() + 4] = out.string();
            std::vector<char*> argv;
            for (std::string& a : args)
                argv.push_back(a.data());
            argv.push_back(nullptr);
            const pid_t pid = ::fork();
            ASSERT_GE(pid, 0);
            if (pid == 0) {
                const int null = ::open("/dev/null", O_WRONLY);
                ::dup2(null, 1);
                ::dup2(null, 2);
                ::execv(argv[0], argv.data());
                ::_exit(127);
            }
            ::usleep(static_cast<useconds_t>(delay));
            ::kill(pid, signal);
            int status = 0;
            ASSERT_EQ(::waitpid(pid, &status, 0), pid);
            for (const auto& e : fs::recursive_directory_iterator(out)) {
                const std::string name = e.path().filename().string();
                EXPECT_NE(name[0], '.') << e.path();
                if (e.is_regular_file()) {
                    const std::string bytes = ReadFile(e.path());
                    EXPECT_NO_THROW(codec::DecodePng(
                        std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size())))
                        << e.path();
                }
            }
        }
}

} // namespace
