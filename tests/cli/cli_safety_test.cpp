// Hostile and unusual files: what the commands refuse, and that a refusal leaves
// every file as it was.

#include "clirunner.h"

#include "core/data/tarnio.h"
#include "core/demo/demo.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace {

using clitest::OobImage;
using clitest::ReadFile;
using clitest::RunCli;
using clitest::TempDir;
using clitest::WriteFile;
namespace fs = std::filesystem;

std::string Bytes(const OobImage& img)
{
    return std::string(img.bytes.begin(), img.bytes.end());
}

OobImage SmallFile()
{
    OobImage img;
    img.validDates();
    img.comment("Safety");
    img.unitName(1, "Alpha");
    img.unitName(2, "Bravo");
    img.u16(47280, 2, 2, 0, 777); // cost of unit 2
    return img;
}

// Another user may not replace a read-only file in a folder they may write, nor
// create one in a folder they may not write; the message says which.
TEST(CliSaves, AnotherUserCannotReplaceAReadOnlyFileNorWriteALockedFolder)
{
    SKIP_UNDER_WINE("file modes and setpriv");
    const std::optional<std::vector<std::string>> prefix = clitest::Unprivileged();
    if (!prefix)
        GTEST_SKIP() << "setpriv is not installed";
    // As root the command runs as 65534, who owns the open folder and the old file;
    // anyone else owns them already.
    const bool root = ::geteuid() == 0;
    auto giveAway = [&](const fs::path& p) {
        if (root) {
            ASSERT_EQ(::chown(p.c_str(), clitest::kNobody, clitest::kNobody), 0);
        }
    };
    TempDir dir;
    fs::permissions(dir.path(), fs::perms::all & ~fs::perms::others_write & ~fs::perms::group_write);
    const fs::path open = dir / "open";
    const fs::path locked = dir / "locked";
    fs::create_directory(open);
    fs::create_directory(locked);
    giveAway(open);
    if (!root)
        fs::permissions(locked, fs::perms::owner_read | fs::perms::owner_exec);
    WriteFile(dir / "in.obf", Bytes(SmallFile()));
    WriteFile(open / "obat012.obf", std::string("old"));
    giveAway(open / "obat012.obf");
    ::chmod((open / "obat012.obf").c_str(), 0444);

    const std::string in = (dir / "in.obf").string();
    struct Case {
        fs::path out;
        int status;
        std::string says;
    };
    const Case cases[] = {
        { open / "new.obf", 0, "Saved " + (open / "new.obf").string() }, // the set-up lets nobody write
        { open / "obat012.obf", 1,
            "Cannot write " + (open / "obat012.obf").string() + ": Permission denied" },
        { locked / "obat012.obf", 1,
            "Cannot create a file in the folder " + locked.string() + "/: Permission denied" },
    };
    for (const Case& c : cases) {
        auto r = clitest::RunCliVia(*prefix, { "resave", in, "--nation", "12", "-o", c.out.string() });
        EXPECT_EQ(r.status, c.status) << r.err;
        EXPECT_NE((r.out + r.err).find(c.says), std::string::npos) << r.out << r.err;
    }
    EXPECT_EQ(ReadFile(open / "obat012.obf"), "old");
    EXPECT_TRUE(fs::is_empty(locked));
}

TEST(CliSaves, OnlyRegularFilesAreReplacedAndLinksAreFollowed)
{
    SKIP_UNDER_WINE("FIFOs and symbolic links");
    TempDir dir;
    WriteFile(dir / "in.obf", Bytes(SmallFile()));
    WriteFile(dir / "real.obf", std::string("old"));
    ASSERT_EQ(::mkfifo((dir / "pipe").c_str(), 0644), 0);
    const bool device = ::mknod((dir / "null").c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0;
    fs::create_symlink("real.obf", dir / "link.obf");
    fs::create_symlink("gone.obf", dir / "dangling.obf");
    fs::create_symlink("loop.obf", dir / "loop.obf");

    const struct {
        const char* out;
        int status;
        std::string says;
    } cases[] = {
        { "pipe", 1, "Not a regular file (a FIFO)" },
        { "null", 1, "Not a regular file (a character device)" },
        { "dangling.obf", 1, "it is a symbolic link to a file that does not exist" },
        { "loop.obf", 1, "Too many levels of symbolic links" },
        { "link.obf", 0, "link.obf" },
    };
    for (const auto& c : cases) {
        if (std::string(c.out) == "null" && !device)
            continue; // mknod is not allowed here
        for (const char* command : { "resave", "buffer-export" }) {
            std::vector<std::string> args { command, (dir / "in.obf").string(), "--nation", "12", "-o",
                (dir / c.out).string() };
            if (std::string(command) == "buffer-export") {
                args.push_back("--kind");
                args.push_back("unit");
            }
            auto r = RunCli(args);
            EXPECT_EQ(r.status, c.status) << command << " " << c.out << ": " << r.err;
            EXPECT_NE((r.out + r.err).find(c.says), std::string::npos) << r.out << r.err;
        }
    }
    EXPECT_TRUE(fs::is_fifo(dir / "pipe"));
    EXPECT_TRUE(!device || fs::is_character_file(dir / "null"));
    EXPECT_TRUE(fs::is_symlink(dir / "link.obf"));
    EXPECT_TRUE(fs::is_symlink(dir / "dangling.obf"));
    EXPECT_FALSE(fs::exists(dir / "gone.obf"));
    EXPECT_EQ(ReadFile(dir / "real.obf").rfind("UNIT PASTE BUFFER", 0), 0u) << "written through the link";
}

// An output that is one of the inputs, by any path, is refused before anything is
// read or written; resave IN -o IN is a save and goes ahead.
TEST(CliOutputs, AnOutputThatIsAnInputIsRefused)
{
    TempDir dir;
    const std::string file = Bytes(SmallFile());
    WriteFile(dir / "in.obf", file);
    WriteFile(dir / "obatDUMP12unit.csv", file); // an input named like a dump file
    WriteFile(dir / "TWFTK.ini", std::string("[NationNames]\r\ntarn12=Twelve\r\n"));
    fs::create_symlink("in.obf", dir / "alias.obf");
    fs::create_hard_link(dir / "in.obf", dir / "hard.obf");
    const std::string in = (dir / "in.obf").string();
    WriteFile(dir / "art.png", std::string("FORM")); // a picture misnamed as its own output
    WriteFile(dir / "buf.csv",
        RunCli({ "buffer-export", in, "--nation", "12", "--kind", "unit", "-o", (dir / "seed.csv").string() })
                    .status
                == 0
            ? ReadFile(dir / "seed.csv")
            : std::string());
    const std::string buf = (dir / "buf.csv").string();
    const std::string ini = (dir / "TWFTK.ini").string();
    const std::string bufBefore = ReadFile(dir / "buf.csv");

    const struct {
        std::vector<std::string> args;
        std::string says;
    } cases[] = {
        { { "buffer-export", in, "--nation", "12", "--kind", "unit", "-o", in },
            "is the input " + clitest::Shown(in) },
        { { "buffer-export", in, "--nation", "12", "--kind", "unit", "-o", (dir / "alias.obf").string() },
            "is the input" },
        { { "buffer-export", in, "--nation", "12", "--kind", "unit", "-o", (dir / "hard.obf").string() },
            "is the input" },
        { { "buffer-import", buf, "--kind", "unit", "--into", in, "--nation", "12", "-o", in },
            "is the file to paste into" },
        { { "buffer-import", buf, "--kind", "unit", "--into", in, "--nation", "12", "-o", buf },
            "is the input" },
        { { "csv", (dir / "obatDUMP12unit.csv").string(), "--nation", "12", "-o", dir.path().string() },
            "is the input" },
        { { "--ini", ini, "resave", in, "--nation", "12", "-o", ini }, "is the settings file" },
        { { "--ini", ini, "renationalise", in, "--nation", "12", "--from", "12", "--to", "13", "-o", ini },
            "is the settings file" },
        { { "picture", (dir / "art.png").string(), "-o", (dir / "art.png").string() }, "is the input" },
    };
    for (const auto& c : cases) {
        auto r = RunCli(c.args);
        EXPECT_EQ(r.status, 2) << c.args[0] << ": " << r.err;
        EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
        EXPECT_EQ(r.out, "");
    }
    EXPECT_EQ(ReadFile(dir / "in.obf"), file);
    EXPECT_EQ(ReadFile(dir / "obatDUMP12unit.csv"), file);
    EXPECT_EQ(ReadFile(dir / "buf.csv"), bufBefore);
    EXPECT_FALSE(fs::exists(dir / "obatDUMP12wpns.csv"));
    EXPECT_EQ(ReadFile(dir / "art.png"), "FORM");

    for (const fs::path& out : { dir / "in.obf", dir / "alias.obf" }) {
        auto r = RunCli({ "resave", in, "--nation", "12", "-o", out.string() });
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(ReadFile(dir / "in.obf"), file);
    }
    // Windows replaces a link by the file saved through it.
    if (!clitest::UnderWine()) {
        EXPECT_TRUE(fs::is_symlink(dir / "alias.obf"));
    }
}

// Every regular file under dir, by its path relative to dir.
std::vector<std::string> FilesUnder(const fs::path& dir)
{
    std::vector<std::string> files;
    for (const auto& e : fs::recursive_directory_iterator(dir))
        if (e.is_regular_file())
            files.push_back(fs::relative(e.path(), dir).string());
    std::sort(files.begin(), files.end());
    return files;
}

TEST(CliMakeDemo, NeverOverwritesWithoutForceAndListsWhatItWrites)
{
    TempDir dir;
    // Something in the way, in any letter case: make-demo writes nothing at all.
    const std::vector<std::string> inTheWay { "pic/Pm01101.lbm", "shp/Icon0010.shp", "SHP/ICON0010.SHP",
        "twftk.INI", "README.txt", "obat012.obf", "pic" };
    for (std::size_t i = 0; i < inTheWay.size(); ++i) {
        SCOPED_TRACE(inTheWay[i]);
        const fs::path demo = dir / ("d" + std::to_string(i));
        fs::create_directories((demo / inTheWay[i]).parent_path());
        WriteFile(demo / inTheWay[i], std::string("mine"));
        fs::permissions(demo / inTheWay[i], fs::perms::owner_read); // read-only stops nothing by itself
        const auto r = RunCli({ "make-demo", demo.string() });
        EXPECT_EQ(r.status, 1);
        EXPECT_NE(r.err.find("\n  " + clitest::ShownAbsolute(demo / inTheWay[i])), std::string::npos)
            << r.err;
        EXPECT_NE(r.err.find("nothing was written (--force"), std::string::npos) << r.err;
        EXPECT_EQ(FilesUnder(demo), std::vector<std::string> { inTheWay[i] });
        EXPECT_EQ(r.out, "");
    }

    // A picture folder of another case is used, not doubled; every file written is listed.
    const fs::path demo = dir / "cased";
    fs::create_directories(demo / "PIC");
    const auto r = RunCli({ "make-demo", demo.string() });
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_FALSE(fs::exists(demo / "pic"));
    const std::vector<std::string> files = FilesUnder(demo);
    EXPECT_GT(files.size(), 100u);
    std::vector<std::string> listed;
    for (std::size_t at = 0; at < r.out.size(); at = r.out.find('\n', at) + 1)
        listed.push_back(r.out.substr(at, r.out.find('\n', at) - at));
    std::vector<std::string> expected;
    for (const std::string& file : files)
        expected.push_back("Wrote " + clitest::ShownAbsolute(demo / file));
    std::sort(listed.begin(), listed.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(listed, expected);

    // --force writes over the files, a file of another case under its own name.
    WriteFile(demo / "README.txt", std::string("mine"));
    fs::rename(demo / "PIC" / "Pm01101.lbm", demo / "PIC" / "pm01101.LBM");
    const auto forced = RunCli({ "make-demo", demo.string(), "--force" });
    EXPECT_EQ(forced.status, 0) << forced.err;
    EXPECT_NE(ReadFile(demo / "README.txt"), "mine");
    EXPECT_NE(forced.out.find("Wrote " + clitest::ShownAbsolute(demo / "PIC" / "pm01101.LBM") + "\n"),
        std::string::npos);
    EXPECT_EQ(FilesUnder(demo).size(), files.size());
}

// Inputs far larger than any real file are refused before they are read, with
// their size; nothing is written and no exception escapes.
TEST(CliLimits, OversizedInputsAreRefusedNamingTheirSize)
{
    TempDir dir;
    auto sparse = [&](const char* name, std::uintmax_t size) {
        WriteFile(dir / name, std::string("UNIT PASTE BUFFER FROM x,\r\n"));
        fs::resize_file(dir / name, size);
        return (dir / name).string();
    };
    const std::string huge = sparse("obat016.obf", 40ull << 30);
    const std::string ini = sparse("big.ini", 2u << 20);
    const std::string buf = sparse("big.csv", (16u << 20) + 1);
    WriteFile(dir / "in.obf", Bytes(SmallFile()));
    const std::string in = (dir / "in.obf").string();
    const std::string out = (dir / "out.obf").string();

    const struct {
        std::vector<std::string> args;
        std::string says;
    } cases[] = {
        { { "info", huge },
            clitest::Shown(huge)
                + ": the file holds 42949672960 bytes, too many for an order-of-battle file" },
        { { "resave", huge, "--nation", "16", "-o", out },
            clitest::Shown(huge) + ": the file holds 42949672960 bytes" },
        { { "--ini", ini, "info", in },
            clitest::Shown(ini) + ": the file holds 2097152 bytes, too many for a settings file" },
        { { "buffer-import", buf, "--kind", "unit", "--into", in, "--nation", "1", "-o", out },
            clitest::Shown(buf) + ": the file holds 16777217 bytes, too many for a paste-buffer file" },
    };
    for (const auto& c : cases) {
        auto r = RunCli(c.args);
        EXPECT_EQ(r.status, 1) << r.err;
        EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
        EXPECT_EQ(r.err.find("bad_alloc"), std::string::npos);
    }
    EXPECT_FALSE(fs::exists(out));
}

// A buffer file saved by a spreadsheet imports as the same records; CR-only line
// ends and semicolons are refused, saying what was expected, and write nothing.
TEST(CliBuffer, SpreadsheetFilesImportAndOtherLayoutsAreRefused)
{
    TempDir dir;
    WriteFile(dir / "in.obf", Bytes(SmallFile()));
    const std::string in = (dir / "in.obf").string();
    ASSERT_EQ(RunCli({ "buffer-export", in, "--nation", "12", "--kind", "unit", "-o",
                         (dir / "units.csv").string() })
                  .status,
        0);
    const std::string exported = ReadFile(dir / "units.csv");
    // Rows without their last comma and with LF line ends, title included.
    std::string sheet;
    for (std::size_t start = 0; start < exported.size();) {
        const std::size_t end = exported.find("\r\n", start);
        std::string line = exported.substr(start, end - start);
        if (!line.empty() && line.back() == ',')
            line.pop_back();
        sheet += line + "\n";
        start = end + 2;
    }
    std::string crOnly = exported;
    std::erase(crOnly, '\n');
    std::string semicolons = exported;
    std::replace(semicolons.begin(), semicolons.end(), ',', ';');
    // Rows separated by semicolons under a header separated by commas.
    const std::size_t rowsAt = exported.find("\r\n", exported.find("\r\n") + 2) + 2;
    const std::string mixed = exported.substr(0, rowsAt) + semicolons.substr(rowsAt);

    const struct {
        const char* name;
        std::string text;
        int status;
        std::string says;
    } cases[] = {
        { "units.csv", exported, 0, "Read 2 unit entries" },
        { "sheet.csv", sheet, 0, "Read 2 unit entries" },
        { "cr.csv", crOnly, 1, "the lines end in CR only; expected lines ending in CR LF or LF" },
        { "semi.csv", semicolons, 0, "Read 2 unit entries" },
        { "mixed.csv", mixed, 1,
            "Line 3, column 1: the fields are separated by semicolons; expected a comma" },
    };
    std::string reference;
    for (const auto& c : cases) {
        WriteFile(dir / c.name, c.text);
        // The whole given name is kept: no twelve-character cut on the command line.
        const fs::path out = dir / "imported_unit.obf";
        auto r = RunCli({ "buffer-import", (dir / c.name).string(), "--kind", "unit", "--into", in,
            "--nation", "12", "-o", out.string() });
        EXPECT_EQ(r.status, c.status) << c.name << ": " << r.err;
        EXPECT_NE((r.out + r.err).find(c.says), std::string::npos) << r.out << r.err;
        EXPECT_EQ(fs::exists(out), c.status == 0);
        if (c.status == 0) {
            if (reference.empty())
                reference = ReadFile(out);
            EXPECT_EQ(ReadFile(out), reference) << "the same records as the exported file";
            fs::remove(out);
        }
    }
}

TEST(CliInfo, ControlBytesInTheCommentAreEscaped)
{
    TempDir dir;
    OobImage img;
    img.comment("Red\x1b[31m bell\x07 csi\x9b tab\t caf\xe9 \\ end");
    WriteFile(dir / "obat012.obf", img.bytes);
    auto r = RunCli({ "info", (dir / "obat012.obf").string() });
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("Comment:    Red\\x1b[31m bell\\x07 csi\xE2\x80\xBA tab\\x09 caf\xC3\xA9 \\ end\n"),
        std::string::npos)
        << r.out;
}

// Settings in UTF-16 or with NUL bytes are read, with a warning on stderr.
TEST(CliSettings, Utf16OrNulBytesGiveAWarning)
{
    TempDir dir;
    WriteFile(dir / "obat012.obf", OobImage().bytes);
    std::string utf16 = "\xFF\xFE";
    for (const char c : std::string("[NationNames]\r\ntarn12=Twelve\r\n"))
        utf16 += std::string { c, '\0' };
    const std::string nuls = std::string("[NationNames]\r\ntarn12=Twe\0lve\r\n", 31);
    const struct {
        const char* name;
        std::string text;
        std::string warning;
    } cases[] = {
        { "u16.ini", utf16, "is saved as UTF-16" },
        { "nuls.ini", nuls, "holds 1 NUL byte, which was left out" },
    };
    for (const auto& c : cases) {
        WriteFile(dir / c.name, c.text);
        auto r = RunCli({ "--ini", (dir / c.name).string(), "info", (dir / "obat012.obf").string() });
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_NE(r.out.find("Nation:     12 (Twelve)"), std::string::npos) << r.out;
        EXPECT_NE(r.err.find("tarnwick-cli: warning: " + clitest::Shown(dir / c.name) + " "
                      + std::string(c.warning)),
            std::string::npos)
            << r.err;
    }
}

} // namespace
