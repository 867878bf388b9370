#include "core/graphics/artfiles.h"
#include "core/graphics/icontables.h"
#include "core/graphics/lbm.h"
#include "core/graphics/shp.h"

#include "../support/bigfile.h"
#include "artfixture.h"
#include "oobfixture.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>

namespace tarnwick::core {
extern const std::string_view kBuiltInIconFrameText;
}

using namespace tarnwick::core;
using namespace tarnwick::testing;
namespace fs = std::filesystem;

namespace {

constexpr std::uint8_t T = 240;

// Decodes frame 1 of a file whose frame 0 is empty.
IndexedImage DecodeOne(const ShpFrameSpec& frame, std::uint8_t transparent = T)
{
    return DecodeShpFrame(BuildShp({ ShpFrameSpec { 1, 1, 0, 0, 0, 0, {} }, frame }), 1, transparent);
}

std::vector<std::uint8_t> Rows(std::initializer_list<int> values)
{
    std::vector<std::uint8_t> out;
    for (int v : values)
        out.push_back(static_cast<std::uint8_t>(v));
    return out;
}

TEST(ShpReader, ShapeDataDrawsRunsWithinThePicture)
{
    struct Case {
        const char* name;
        ShpFrameSpec frame; // 4 x 3 unless changed
        std::vector<std::uint8_t> pixels;
        std::uint8_t transparent = T;
    };
    auto frame = [](Bytes data, std::int32_t xStart = 0, std::int32_t yStart = 0, std::int32_t yEnd = 2) {
        return ShpFrameSpec { 4, 3, xStart, yStart, 3, yEnd, std::move(data) };
    };
    const std::vector<Case> cases {
        { "repeat takes two bytes, literal 1 + k", frame({ 0x06, 9, 0, 0x05, 5, 6, 0 }),
            Rows({ 9, 9, 9, T, 5, 6, T, T, T, T, T, T }) },
        { "skip leaves pixels uncovered", frame({ 1, 2, 0x02, 7, 0 }),
            Rows({ T, T, 7, T, T, T, T, T, T, T, T, T }) },
        { "only ends of line", frame({ 0, 0, 0, 0 }), Rows({ T, T, T, T, T, T, T, T, T, T, T, T }) },
        { "uncovered pixels take the transparent index", frame({ 0x03, 1, 0 }),
            Rows({ 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0 }), 0 },
        { "a literal past the edge is cut but consumed", frame({ 0x0B, 1, 2, 3, 4, 5, 0, 0x04, 8, 0 }),
            Rows({ 1, 2, 3, 4, 8, 8, T, T, T, T, T, T }) },
        { "a repeat past the edge is cut", frame({ 0x0C, 3, 0, 0x02, 4, 0 }),
            Rows({ 3, 3, 3, 3, 4, T, T, T, T, T, T, T }) },
        { "negative yStart draws rows 0 to yEnd - yStart", frame({ 2, 1, 0, 2, 1, 0, 2, 1, 0 }, 0, -5, -4),
            Rows({ 1, T, T, T, 1, T, T, T, T, T, T, T }) },
        { "yStart and yEnd pick the rows", frame({ 2, 1, 0, 2, 1, 0 }, 0, 1, 1),
            Rows({ T, T, T, T, 1, T, T, T, T, T, T, T }) },
        { "yStart at the height draws nothing", frame({ 2, 1, 0, 2, 1, 0 }, 0, 3, 9),
            Rows({ T, T, T, T, T, T, T, T, T, T, T, T }) },
        { "lines start at xStart", frame({ 2, 1, 0, 2, 2, 0 }, 2),
            Rows({ T, T, 1, T, T, T, 2, T, T, T, T, T }) },
        { "xStart beyond the width starts at 0", frame({ 2, 1, 0 }, 9),
            Rows({ 1, T, T, T, T, T, T, T, T, T, T, T }) },
        { "data ending early leaves the rest uncovered", frame({ 2, 1, 0, 0x05 }),
            Rows({ 1, T, T, T, T, T, T, T, T, T, T, T }) },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const IndexedImage image = DecodeOne(c.frame, c.transparent);
        EXPECT_EQ(image.width, 4);
        EXPECT_EQ(image.height, 3);
        EXPECT_EQ(image.pixels, c.pixels);
        EXPECT_EQ(image.palette, ShpPalette());
    }
}

TEST(ShpReader, BrokenFilesAndMissingFramesGiveTheirError)
{
    const ShpFrameSpec small { 2, 1, 0, 0, 1, 0, { 0x03, 1, 0 } };
    std::vector<ShpFrameSpec> many(256, small);
    struct Case {
        const char* name;
        std::function<Bytes()> make;
        int frame;
        const char* error; // nullptr: decodes
    };
    const std::vector<Case> cases {
        { "wrong version",
            [&] {
                Bytes b = BuildShp({ small });
                b[3] = '1';
                return b;
            },
            0, "Invalid file" },
        { "last frame decodes",
            [&] {
                return BuildShp({ small, small, small });
            },
            2, nullptr },
        { "frame past the directory",
            [&] {
                return BuildShp({ small, small, small });
            },
            3, "required icon not available" },
        { "a count over 255 reads 255 entries", [&] { return BuildShp(many, 300); }, 254, nullptr },
        { "entry 255 is never read", [&] { return BuildShp(many, 300); }, 255,
            "required icon not available" },
        { "negative count",
            [&] {
                Bytes b = BuildShp({ small });
                std::fill_n(b.begin() + 4, 4, 0xFF);
                return b;
            },
            0, "required icon not available" },
        { "ends in the file header",
            [] {
                return Bytes { '1', '.', '1', '0', 1 };
            },
            0, "Unexpected end of file in the file header" },
        { "ends in the directory",
            [&] {
                Bytes b = BuildShp({ small }, 3);
                b.resize(20);
                return b;
            },
            0, "Unexpected end of file in the frame directory" },
        { "frame header past the end",
            [&] {
                Bytes b = BuildShp({ small });
                b[8] = 0xF0;
                return b;
            },
            0, "Unexpected end of file in the frame header" },
        { "negative frame position",
            [&] {
                Bytes b = BuildShp({ small });
                b[11] = 0x80;
                return b;
            },
            0, "Unexpected end of file in the frame header" },
        { "too large",
            [] {
                return BuildShp({ ShpFrameSpec { 65535, 65535, 0, 0, 0, 0, {} } });
            },
            0, "Icon too large" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        try {
            const IndexedImage image = DecodeShpFrame(c.make(), c.frame, T);
            EXPECT_EQ(c.error, nullptr);
            EXPECT_EQ(image.pixels, Rows({ 1, T }));
        } catch (const EShpexception& e) {
            EXPECT_STREQ(e.what(), c.error ? c.error : "(no error)");
        }
    }
}

TEST(ShpWriter, FramesRoundTrip)
{
    std::vector<IndexedImage> frames;
    for (int width : { 1, 5, 40, 300 }) {
        IndexedImage f = PatternImage(width, 7);
        for (int y = 0; y < f.height; ++y)
            for (int x = 0; x < f.width; ++x)
                if ((x / 3 + y) % 4 == 0 || x > 260)
                    f.row(y)[x] = T; // uncovered, also in long stretches
        frames.push_back(f);
    }
    const Bytes file = EncodeShp(frames, T);
    for (std::size_t i = 0; i < frames.size(); ++i) {
        SCOPED_TRACE(i);
        const IndexedImage back = DecodeShpFrame(file, static_cast<int>(i), T);
        EXPECT_EQ(back.width, frames[i].width);
        EXPECT_EQ(back.pixels, frames[i].pixels);
    }
}

TEST(ShpPalette, FixedColours)
{
    EXPECT_EQ(ShpPalette()[240], (Rgb { 0xEF, 0xAB, 0x23 }));
    EXPECT_EQ(ShpPalette()[0], (Rgb { 0, 0, 0 }));
    EXPECT_EQ(ShpPalette()[13], (Rgb { 0x2B, 0xCF, 0x33 }));
    EXPECT_EQ(ShpPalette()[255], (Rgb { 0xAF, 0xA7, 0x9F }));
}

TEST(IconTables, BuiltInTableHoldsTheGameRowsAndValidEntries)
{
    std::string error;
    IconFrameTable parsed;
    ASSERT_TRUE(ParseIconFrameTable(kBuiltInIconFrameText, parsed, error)) << error;
    const IconFrameTable& t = BuiltInIconFrameTable();
    const std::vector<std::pair<int, IconFrameRow>> known { { 0, { 0, 1 } }, { 4, { 8, -1 } },
        { 23, { 700, -1 } }, { 24, { 701, 702 } }, { 54, { 1700, -1 } }, { 69, { 100, 101 } },
        { 2997, { 5397, -1 } } };
    for (const auto& [icon, row] : known)
        EXPECT_EQ(t.row(icon), row) << icon;
    for (int icon = 0; icon < kIconNumbers; ++icon) {
        const IconFrameRow& r = t.row(icon);
        ASSERT_TRUE(r.hull >= 0 && IconFileOf(r.hull) <= 93) << icon;
        ASSERT_TRUE(r.turret == -1 || IconFileOf(r.turret) <= 93) << icon;
    }
    EXPECT_EQ(t.row(40000), t.row(2997));
}

TEST(IconTables, MalformedTableTextNamesTheLine)
{
    const std::string good = std::string(kBuiltInIconFrameText);
    struct Case {
        std::string text;
        std::string error;
    };
    const std::vector<Case> cases {
        { "# header\n0 0\n", "line 2: expected three numbers: icon, hull entry and turret entry" },
        { "3000 1 1\n", "line 1: the icon number must be 0..2997, not '3000'" },
        { "0 0 1\n\n0 2 3\n", "line 3: icon 0 has a row already on line 1" },
        { "0 x 1\n", "line 1: the hull entry must be 0..32767, not 'x'" },
        { "0 0 -2\n", "line 1: the turret entry must be -1 or 0..32767, not '-2'" },
        { "0 0 1\r\n1 2 3\r\n", "no row for icon 2" },
        { "\xEF\xBB\xBF# made in an editor that marks UTF-8\n0 0 1\n", "no row for icon 1" },
        { "0 0 1\r1 2 3\r", "line 1: a line ends in CR alone; lines must end in LF or CR LF" },
        { "0 \x1b[2J 1\n", "line 1: the hull entry must be 0..32767, not '\\x1b[2J'" },
        // UTF-8 is kept but for its C1 controls; bytes that are not UTF-8 (a stray
        // byte, a cut, overlong or surrogate sequence) are escaped one by one.
        { "0 caf\xC3\xA9\xE2\x82\xAC\xC2\x9B[2J 1\n",
            "line 1: the hull entry must be 0..32767, not 'caf\xC3\xA9\xE2\x82\xAC\\x9b[2J'" },
        { "0 \xE9\x9B\xE2\x82 1\n", "line 1: the hull entry must be 0..32767, not '\\xe9\\x9b\\xe2\\x82'" },
        { "0 \xC0\xAF\xED\xA0\x80 1\n",
            "line 1: the hull entry must be 0..32767, not '\\xc0\\xaf\\xed\\xa0\\x80'" },
        { "0 0 1\n#" + std::string(1000, 'x') + "\n", "line 2: longer than 1000 characters" },
    };
    for (const Case& c : cases) {
        IconFrameTable t;
        std::string error;
        EXPECT_FALSE(ParseIconFrameTable(c.text, t, error));
        EXPECT_EQ(error, c.error);
    }
}

TEST(IconTables, GameFolderFileReplacesTheBuiltInTable)
{
    TempDir dir;
    auto write
        = [&](const std::string& text) { std::ofstream(dir / "IconFrames.TXT", std::ios::binary) << text; };

    IconFrameTableLoad none = LoadIconFrameTable(dir.path());
    EXPECT_TRUE(none.warning.empty());
    EXPECT_TRUE(none.source.empty());

    std::string text(kBuiltInIconFrameText);
    text.replace(text.find("\n5 10 11\n"), 9, "\n5 4321 -1\n");
    write(text);
    IconFrameTableLoad own = LoadIconFrameTable(dir.path());
    EXPECT_TRUE(own.warning.empty()) << own.warning;
    EXPECT_EQ(own.table.row(5), (IconFrameRow { 4321, -1 }));
    EXPECT_EQ(own.source, dir / "IconFrames.TXT");

    write("0 0 1\n1 2\n");
    IconFrameTableLoad bad = LoadIconFrameTable(dir.path());
    EXPECT_EQ(bad.warning,
        (dir / "IconFrames.TXT").string()
            + ": line 2: expected three numbers: icon, hull entry and turret entry; using the built-in icon "
              "frame table");
    EXPECT_EQ(bad.table.row(5), (IconFrameRow { 10, 11 }));
}

// Files of outside data larger than their reader takes are refused unread, each
// with its own limit; a file of exactly the limit is read (and found wanting).
TEST(ReadLimits, PicturesIconsAndIconTablesRefuseOversizedFilesUnread)
{
    TempDir dir;
    // The reader's message for the file at path, or "" when it read the file.
    using Reader = std::function<std::string(const fs::path&)>;
    const Reader lbm = [](const fs::path& p) {
        try {
            LoadLbmFile(p);
        } catch (const std::exception& e) {
            return std::string(e.what());
        }
        return std::string();
    };
    const Reader shp = [](const fs::path& p) {
        try {
            LoadShpFrame(p, 0, T);
        } catch (const std::exception& e) {
            return std::string(e.what());
        }
        return std::string();
    };
    const Reader table = [](const fs::path& p) { return LoadIconFrameTable(p.parent_path()).warning; };
    struct Case {
        const char* name;
        const Reader* read;
        std::uintmax_t size;
        bool refused;
    };
    const std::uintmax_t huge = 40ull << 30; // sparse: takes no space
    const std::vector<Case> cases {
        { "Pm00001.lbm", &lbm, kMaxArtFileBytes, false },
        { "Pm00002.lbm", &lbm, kMaxArtFileBytes + 1, true },
        { "Pm00003.lbm", &lbm, huge, true },
        { "Icon0001.shp", &shp, kMaxArtFileBytes, false },
        { "Icon0002.shp", &shp, huge, true },
        { "iconframes.txt", &table, kMaxIconFrameTableBytes + 1, true },
        { "iconframes.txt", &table, huge, true },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " " + std::to_string(c.size));
        const fs::path file = dir / c.name;
        {
            std::ofstream(file, std::ios::binary | std::ios::trunc);
        }
        if (!tarnwick::testsupport::MakeSparseFile(file, c.size))
            continue;
        const std::string message = (*c.read)(file);
        EXPECT_EQ(message.find("too many for") != std::string::npos, c.refused) << message;
        if (c.refused) {
            EXPECT_NE(message.find(file.string()), std::string::npos) << message;
        }
        fs::remove(file);
    }
    // An unusable table leaves the built-in one in place.
    {
        std::ofstream(dir / "iconframes.txt", std::ios::binary);
    }
    if (tarnwick::testsupport::MakeSparseFile(dir / "iconframes.txt", huge)) {
        EXPECT_EQ(LoadIconFrameTable(dir.path()).table.row(5), BuiltInIconFrameTable().row(5));
    }
}

TEST(IconTables, CrewIconsAndDisplayByClass)
{
    struct Case {
        int unitClass, category, crew, nation, entry;
    };
    for (const Case& c : std::vector<Case> {
             { 1, 4, 5, 2, 1124 }, // group 1: file 11, frame 39 - 15
             { 1, 4, 0, 2, -1 },
             { 1, 4, 20, 2, 1100 }, // crew counts as 13
             { 3, 4, 9, 0, 1051 },
             { 3, 4, 2, 5, 1357 },
             { 2, 5, 1, 1, 1242 },
             { 4, 5, 1, 1, 1260 },
             { 49, 4, 5, 2, -1 },
             { 0, 1, 5, 2, -1 },
         })
        EXPECT_EQ(CrewIconEntry(c.unitClass, c.category, c.crew, c.nation), c.entry)
            << c.unitClass << "/" << c.crew;
    EXPECT_EQ(IconDisplayFor(10), IconDisplay::None);
    EXPECT_EQ(IconDisplayFor(44), IconDisplay::Big);
    EXPECT_EQ(IconDisplayFor(1), IconDisplay::HullAndTurret);
    EXPECT_EQ(NationIconGroup(40), 3);
    EXPECT_EQ(NationIconGroup(150), NationIconGroup(99));
}

TEST(ArtFiles, NamesAndLookupInAnyLetterCase)
{
    EXPECT_EQ(PictureFileName(123), "Pm00123.lbm");
    EXPECT_EQ(PictureFileName(99999), "Pm99999.lbm");
    EXPECT_EQ(IconFileName(12), "Icon0012.shp");

    TempDir dir;
    fs::create_directory(dir / "PIC");
    fs::create_directory(dir / "shp");
    fs::create_directory(dir / "PIC" / "x.lbm");
    for (const char* name : { "pm00007.LBM", "Pm00008.lbm", "notes.txt" })
        std::ofstream(dir / "PIC" / name) << "x";
    for (const char* name : { "ICON0012.SHP", "icon0012.shp", "Icon0013.shp" })
        std::ofstream(dir / "shp" / name) << "x";

    EXPECT_EQ(FindPictureFile(dir.path(), 7), dir / "PIC" / "pm00007.LBM");
    EXPECT_EQ(FindPictureFile(dir.path(), 9), fs::path());
#ifndef _WIN32 // where names differ only in case, one folder cannot hold both
    EXPECT_EQ(FindIconFile(dir.path(), 12), fs::path()) << "two spellings and no exact name";
#endif
    EXPECT_EQ(FindIconFile(dir.path(), 13), dir / "shp" / "Icon0013.shp");
    // A folder listed once finds the same, and no folder for a name that is one.
    const ArtFolderIndex pics(dir / "PIC"), icons(dir / "shp");
    for (const char* name : { "Pm00007.lbm", "Pm00008.lbm", "Pm00009.lbm", "x.lbm" })
        EXPECT_EQ(pics.find(name), FindArtFileIn(dir / "PIC", name)) << name;
    for (const char* name : { "Icon0012.shp", "icon0012.shp", "Icon0013.shp", "ICON0013.SHP" })
        EXPECT_EQ(icons.find(name), FindArtFileIn(dir / "shp", name)) << name;
    EXPECT_EQ(ListPictureFiles(dir / "PIC"),
        (std::vector<fs::path> { dir / "PIC" / "Pm00008.lbm", dir / "PIC" / "pm00007.LBM" }));
}

} // namespace
