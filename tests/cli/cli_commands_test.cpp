// The commands on files the tests write byte by byte.

#include "../core/oobfixture.h"
#include "clirunner.h"

#include "core/data/records.h"
#include "core/data/tarnio.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

namespace {

using clitest::OobImage;
using clitest::ReadFile;
using clitest::RunCli;
using clitest::TempDir;
using clitest::WriteFile;
using tarnwick::testing::CrLfLines;
namespace fs = std::filesystem;

const std::string kIni = "[NationNames]\r\ntarn3=Testland\r\ntarn4=Otherland\r\ntarn12=Twelveland\r\n"
                         "[UnitClassNames]\r\nUnitClass7=Gunboat\r\n";

TEST(CliInfo, CountsUsedSlotsAndShowsTheCommentThroughWindows1252)
{
    TempDir dir;
    OobImage img;
    img.comment("Caf\xe9 test file, 80 chars max");
    img.weaponName(1, "Rifle");
    img.weaponName(249, "Last Gun");
    img.unitName(1, "Alpha");
    img.unitName(2, "  Bravo");
    img.unitName(599, "Zulu");
    img.unitName(3, "   "); // blanks only: an empty slot
    img.formationName(400 - 1, "Last Coy");
    WriteFile(dir / "OBAT012.OBF", img.bytes);
    WriteFile(dir / "TWFTK.ini", kIni);

    auto r = RunCli({ "--ini", (dir / "TWFTK.ini").string(), "info", (dir / "OBAT012.OBF").string() });
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out,
        "File:       " + clitest::Shown(dir / "OBAT012.OBF")
            + "\n"
              "Size:       106680 bytes\n"
              "Nation:     12 (Twelveland)\n"
              "Comment:    Caf\xC3\xA9 test file, 80 chars max\n"
              "Weapons:    2 of 249 slots used\n"
              "Units:      3 of 599 slots used\n"
              "Formations: 1 of 399 slots used\n");
}

TEST(CliInfo, NotesShortAndLongFiles)
{
    TempDir dir;
    WriteFile(dir / "short.obf", std::string(1000, '\0'));
    WriteFile(dir / "long.obf", std::string(106680 + 20, '\0'));

    auto shortRun = RunCli({ "info", (dir / "short.obf").string(), "--nation", "5" });
    ASSERT_EQ(shortRun.status, 0) << shortRun.err;
    EXPECT_NE(
        shortRun.out.find("Size:       1000 bytes (short: a full file has 106680 bytes"), std::string::npos)
        << shortRun.out;
    auto longRun = RunCli({ "info", (dir / "long.obf").string() });
    ASSERT_EQ(longRun.status, 0) << longRun.err;
    EXPECT_NE(
        longRun.out.find("Size:       106700 bytes (long: the 20 bytes beyond 106680"), std::string::npos)
        << longRun.out;
    EXPECT_NE(longRun.out.find("Nation:     0\n"), std::string::npos);
}

// A file whose every byte a save reproduces: valid dates, clean names, and
// patterned bytes in slot 0 and in the columns the editor does not use.
OobImage FaithfulImage()
{
    OobImage img;
    img.validDates();
    img.comment("Round trip");
    img.weaponName(1, "Rifle");
    img.unitName(1, "Alpha");
    img.u8(48480, 1, 1, 0, 12); // nation
    img.u16(47280, 1, 2, 0, 300); // cost
    img.formationName(1, "HQ");
    img.u16(90680, 1, 20, 2, 1002); // member 2
    img.u8(99480, 1, 1, 0, 251); // expMod -5
    auto pattern = [&img](std::size_t from, std::size_t to) {
        for (std::size_t i = from; i < to; ++i)
            img.bytes[i] = static_cast<std::uint8_t>(i * 7 + 3);
    };
    pattern(4080, 4330); // weapon column the editor does not use
    pattern(7080, 10080);
    pattern(41880, 45480);
    pattern(64680, 82680);
    pattern(100280, 106680);
    pattern(10080, 10095); // slot 0 of the unit names
    pattern(82680, 82695); // slot 0 of the formation names
    img.u8(19680, 7, 1, 0, 0xAB); // reserved byte of a unit
    return img;
}

TEST(CliResave, WritesBackEveryByteOfAFaithfulFile)
{
    TempDir dir;
    const OobImage img = FaithfulImage();
    WriteFile(dir / "in.obf", img.bytes);

    auto r = RunCli(
        { "resave", (dir / "in.obf").string(), "--nation", "12", "-o", (dir / "obat012.obf").string() });
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(ReadFile(dir / "obat012.obf"), std::string(img.bytes.begin(), img.bytes.end()));
}

TEST(CliResave, ChangesOnlyWhatTheSaveTidiesAndKeepsTheTailOfALongFile)
{
    TempDir dir;
    OobImage img = FaithfulImage();
    img.u8(59880, 4, 1, 0, 0); // unit month 0 is written as 1
    img.u8(99080, 2, 1, 0, 0); // formation last month 0 is written as 12
    img.u8(46080, 5, 1, 0, 150); // a year above 120 is written as 120
    img.unitName(4, "Scout");
    img.unitName(5, "Warden");
    img.formationName(2, "HQ");
    std::string in(img.bytes.begin(), img.bytes.end());
    in += "TAIL-BYTES";
    WriteFile(dir / "in.obf", in);

    auto r
        = RunCli({ "resave", (dir / "in.obf").string(), "--nation", "12", "-o", (dir / "out.obf").string() });
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.err.find("warning"), std::string::npos);
    // Each value the save brings into range gets its line.
    for (const char* note :
        { "note: unit 4 Scout: 1st Month Avail 0 -> 1\n", "note: unit 5 Warden: 1st Year Avail 150 -> 120\n",
            "note: formation 2 HQ: Avail To Mo 0 -> 12\n" })
        EXPECT_NE(r.err.find(note), std::string::npos) << r.err;

    std::string expected = in;
    expected[59880 + 4] = 1;
    expected[99080 + 2] = 12;
    expected[46080 + 5] = 120;
    EXPECT_EQ(ReadFile(dir / "out.obf"), expected);
}

TEST(CliCsv, WritesTheThreeDumpFilesUnderTheEditorsNames)
{
    TempDir dir;
    OobImage img;
    img.weaponName(1, "Rifle");
    const std::size_t bases[] = { 3830, 4330, 4580, 4830, 5330, 4831, 5331, 5830, 6080, 6330, 6580, 6830 };
    // class, size, warhead, HE pen, HE kill, AP pen, AP kill, accuracy, range, sabot range/pen, HEAT pen
    for (std::size_t i = 0; i < 12; ++i) {
        const bool paired = bases[i] >= 4830 && bases[i] < 5830;
        img.bytes[bases[i] + (paired ? 2 : 1) * 1] = static_cast<std::uint8_t>(i + 1);
    }
    WriteFile(dir / "in.obf", img.bytes);
    WriteFile(dir / "TWFTK.ini", kIni);
    fs::create_directory(dir / "out");

    auto r = RunCli({ "--ini", (dir / "TWFTK.ini").string(), "csv", (dir / "in.obf").string(), "--nation",
        "3", "-o", (dir / "out").string() });
    ASSERT_EQ(r.status, 0) << r.err;
    std::vector<std::string> written;
    for (const auto& e : fs::directory_iterator(dir / "out"))
        written.push_back(e.path().filename().string());
    std::sort(written.begin(), written.end());
    EXPECT_EQ(written,
        (std::vector<std::string> { "obatDUMP03fmns.csv", "obatDUMP03unit.csv", "obatDUMP03wpns.csv" }));

    const auto lines = CrLfLines(ReadFile(dir / "out" / "obatDUMP03wpns.csv"));
    ASSERT_EQ(lines.size(), 250u);
    EXPECT_EQ(lines[1], "3,Testland,1,Rifle,1,2,3,4,5,6,7,8,9,10,11,12,");
    EXPECT_EQ(lines[2], "3,Testland,2,XUNUSEDX,-,-,-,-,-,-,-,-,-,-,-,-,-,-,-,-,");
}

// Names, member descriptions and nation names holding commas and quotes are
// quoted: a spreadsheet (python's csv module) finds the header's columns in every row.
TEST(CliCsv, TextCellsWithCommasKeepTheColumnsInLine)
{
    if (std::system("command -v python3 >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "python3 is not installed";
    TempDir dir;
    OobImage img;
    img.validDates();
    img.weaponName(1, "7,62 \"MG\"");
    img.unitName(1, "Rifle, Section");
    img.u8(21480, 1, 4, 0, 1); // weapon 1
    img.formationName(2, "HQ, Forward");
    img.formationName(3, "Company");
    img.u16(90680, 3, 20, 0, 1); // member 1: unit 1
    img.u16(90680, 3, 20, 2, 1002); // member 2: formation 2
    WriteFile(dir / "in.obf", img.bytes);
    WriteFile(dir / "TWFTK.ini", "[NationNames]\r\ntarn3=North, \"Free\" Land\r\n");
    fs::create_directory(dir / "out");
    ASSERT_EQ(RunCli({ "--ini", (dir / "TWFTK.ini").string(), "csv", (dir / "in.obf").string(), "--nation",
                         "3", "-o", (dir / "out").string() })
                  .status,
        0);
    // Rows end in a comma: one empty field more than the values they hold.
    WriteFile(dir / "count.py",
        std::string("import csv, sys\n"
                    "for name in sys.argv[1:]:\n"
                    "    rows = list(csv.reader(open(name, newline='', encoding='cp1252')))\n"
                    "    width = len(rows[0]) - (rows[0][-1] == '')\n"
                    "    used = [r for r in rows[1:] if r[3] != 'XUNUSEDX']\n"
                    "    print(width, len(used), sum(len(r) - 1 != width for r in used))\n"));
    const fs::path out = dir / "counts.txt";
    std::string command = "python3 '" + (dir / "count.py").string() + "'";
    for (const char* file : { "obatDUMP03unit.csv", "obatDUMP03wpns.csv", "obatDUMP03fmns.csv" })
        command += " '" + (dir / "out" / file).string() + "'";
    ASSERT_EQ(std::system((command + " > '" + out.string() + "'").c_str()), 0);
    EXPECT_EQ(ReadFile(out), "75 1 0\n16 1 0\n35 2 0\n");
    EXPECT_NE(
        ReadFile(dir / "out" / "obatDUMP03fmns.csv").find(",1,\"[Rifle, Section]\",1002,\"HQ, Forward\","),
        std::string::npos);
}

TEST(CliBuffer, ExportThenImportCarriesUnitsIntoAnotherFile)
{
    TempDir dir;
    OobImage a;
    a.unitName(1, "Alpha");
    a.u8(19080, 1, 1, 0, 7); // class
    a.u16(47280, 1, 2, 0, 300); // cost
    a.u8(48480, 1, 1, 0, 3); // nation
    a.u16(56880, 1, 2, 0, 4321); // icon
    a.unitName(2, "Bravo");
    WriteFile(dir / "obat003.obf", a.bytes);
    OobImage b;
    b.unitName(1, "Old");
    b.unitName(5, "Zulu");
    b.weaponName(1, "Kept Weapon");
    WriteFile(dir / "base.obf", b.bytes);
    WriteFile(dir / "TWFTK.ini", kIni);
    WriteFile(dir / "other.ini", "[NationNames]\ntarn3=Renamed Land\n");

    auto ex = RunCli({ "--ini", (dir / "TWFTK.ini").string(), "buffer-export", (dir / "obat003.obf").string(),
        "--nation", "3", "--kind", "unit", "-o", (dir / "units.csv").string() });
    ASSERT_EQ(ex.status, 0) << ex.err;
    const auto lines = CrLfLines(ReadFile(dir / "units.csv"));
    ASSERT_EQ(lines.size(), 601u);
    const std::string folder = clitest::ShownAbsolute(dir / "Tarn03");
    EXPECT_EQ(lines[0], "UNIT PASTE BUFFER FROM " + folder + " - Testland,");
    EXPECT_EQ(lines[1].rfind("Slot No,Name,Nationality,Class,Cost,", 0), 0u) << lines[1];
    EXPECT_EQ(lines[2].rfind("1,Alpha,3,7,300,", 0), 0u) << lines[2];

    // Another settings file names the nation differently in the title line.
    auto ex2
        = RunCli({ "--ini", (dir / "other.ini").string(), "buffer-export", (dir / "obat003.obf").string(),
            "--nation", "3", "--kind", "unit", "-o", (dir / "units2.csv").string() });
    ASSERT_EQ(ex2.status, 0) << ex2.err;
    EXPECT_EQ(
        CrLfLines(ReadFile(dir / "units2.csv"))[0], "UNIT PASTE BUFFER FROM " + folder + " - Renamed Land,");

    auto im = RunCli({ "buffer-import", (dir / "units.csv").string(), "--kind", "unit", "--into",
        (dir / "base.obf").string(), "--nation", "4", "-o", (dir / "obat004.obf").string() });
    ASSERT_EQ(im.status, 0) << im.err;

    tarnwick::core::TOobData data;
    ASSERT_TRUE(tarnwick::core::LoadOobPath(data, 4, dir / "obat004.obf").ok());
    EXPECT_EQ(data.units[1].name, "Alpha");
    EXPECT_EQ(data.units[1].unitClass, 7);
    EXPECT_EQ(data.units[1].cost, 300);
    EXPECT_EQ(data.units[1].nation, 3);
    EXPECT_EQ(data.units[1].icon, 4321);
    EXPECT_EQ(data.units[2].name, "Bravo");
    EXPECT_EQ(data.units[5].name, ""); // the whole buffer is pasted, free entries included
    EXPECT_EQ(data.weapons[1].name, "Kept Weapon");
}

// A buffer file re-saved by a spreadsheet (python's csv module: every field
// quoted or only where needed, Windows-1252, UTF-8 with or without a byte
// order mark or UTF-16, separated by commas, semicolons or tabs) reads back to
// the same records.
TEST(CliBuffer, SpreadsheetResavedFilesReadBackTheSame)
{
    if (std::system("command -v python3 >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "python3 is not installed";
    TempDir dir;
    OobImage a;
    a.validDates();
    a.unitName(1, "Rifle, Section");
    a.unitName(2, "Big \"Q\" Gun");
    a.unitName(3, "J\xE4ger Zug");
    a.unitName(4, "Plain");
    WriteFile(dir / "obat003.obf", a.bytes);
    WriteFile(dir / "base.obf", OobImage().bytes);
    WriteFile(dir / "TWFTK.ini", kIni);
    const std::string ini = (dir / "TWFTK.ini").string();
    auto exportFrom = [&](const fs::path& oob, const fs::path& csv) {
        return RunCli({ "--ini", ini, "buffer-export", oob.string(), "--nation", "3", "--kind", "unit", "-o",
            csv.string() });
    };
    ASSERT_EQ(exportFrom(dir / "obat003.obf", dir / "units.csv").status, 0);
    const std::string exported = ReadFile(dir / "units.csv");
    EXPECT_NE(exported.find("\r\n1,\"Rifle, Section\",0,"), std::string::npos);
    EXPECT_NE(exported.find("\r\n2,\"Big \"\"Q\"\" Gun\",0,"), std::string::npos);

    // Separated by commas, semicolons or tabs; UTF-16 big-endian with its byte order mark.
    const char* resave = "import csv, sys\n"
                         "rows = list(csv.reader(open(sys.argv[1], newline='', encoding='cp1252')))\n"
                         "out = open(sys.argv[2], 'w', newline='', encoding=sys.argv[4])\n"
                         "out.write('\\ufeff' if sys.argv[4] == 'utf-16-be' else '')\n"
                         "separator = {'comma': ',', 'semicolon': ';', 'tab': '\\t'}[sys.argv[5]]\n"
                         "csv.writer(out, quoting=getattr(csv, sys.argv[3]), delimiter=separator,\n"
                         "    lineterminator='\\r\\n').writerows(rows)\n";
    WriteFile(dir / "resave.py", std::string(resave));
    struct Case {
        const char* quoting;
        const char* encoding;
        const char* separator = "comma";
    };
    for (const Case& c : { Case { "QUOTE_ALL", "cp1252" }, Case { "QUOTE_MINIMAL", "utf-16", "tab" },
             Case { "QUOTE_ALL", "utf-8-sig", "semicolon" },
             Case { "QUOTE_MINIMAL", "utf-16-be", "semicolon" }, Case { "QUOTE_MINIMAL", "cp1252", "tab" },
             Case { "QUOTE_MINIMAL", "utf-8" } }) {
        SCOPED_TRACE(std::string(c.quoting) + " " + c.encoding + " " + c.separator);
        const fs::path sheet = dir / "sheet.csv";
        ASSERT_EQ(
            std::system(("python3 '" + (dir / "resave.py").string() + "' '" + (dir / "units.csv").string()
                + "' '" + sheet.string() + "' " + c.quoting + " " + c.encoding + " " + c.separator)
                            .c_str()),
            0);
        const auto im = RunCli({ "buffer-import", sheet.string(), "--kind", "unit", "--into",
            (dir / "base.obf").string(), "--nation", "3", "-o", (dir / "back.obf").string() });
        ASSERT_EQ(im.status, 0) << im.err;
        ASSERT_EQ(exportFrom(dir / "back.obf", dir / "again.csv").status, 0);
        const std::string again = ReadFile(dir / "again.csv");
        const auto [differs, _] = std::mismatch(again.begin(), again.end(), exported.begin(), exported.end());
        EXPECT_EQ(again.size(), exported.size());
        EXPECT_TRUE(differs == again.end())
            << again.substr(static_cast<std::size_t>(differs - again.begin()), 80);
    }

    // A character Windows-1252 lacks is refused with its line and column.
    std::string sheet = ReadFile(dir / "sheet.csv"); // UTF-8 without a byte order mark
    sheet.replace(sheet.find("Plain"), 5, "Gro\xE1\xBA\x9E");
    WriteFile(dir / "bad.csv", sheet);
    fs::remove(dir / "back.obf");
    const auto bad = RunCli({ "buffer-import", (dir / "bad.csv").string(), "--kind", "unit", "--into",
        (dir / "base.obf").string(), "--nation", "3", "-o", (dir / "back.obf").string() });
    EXPECT_EQ(bad.status, 1);
    EXPECT_NE(bad.err.find("Line 6, column 2: the name holds '\xE1\xBA\x9E' (U+1E9E)"), std::string::npos)
        << bad.err;
    EXPECT_FALSE(fs::exists(dir / "back.obf"));
}

} // namespace
