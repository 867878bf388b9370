// Usage errors, unreadable inputs and unwritable outputs: the exit status, the
// message, and that nothing is left behind.

#include "clirunner.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

using clitest::OobImage;
using clitest::ReadFile;
using clitest::RunCli;
using clitest::Shown;
using clitest::TempDir;
using clitest::WriteFile;
namespace fs = std::filesystem;

std::vector<std::string> Entries(const fs::path& dir)
{
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(CliUsage, HelpGoesToStdoutWithStatusZero)
{
    const std::vector<std::vector<std::string>> cases { { "--help" }, { "-h" },
        { "--ini", "x.ini", "--help" }, { "info", "--help" }, { "resave", "-h" }, { "csv", "x", "--help" },
        { "buffer-export", "--help" }, { "buffer-import", "-h" }, { "make-demo", "--help" },
        { "--ini", "x.ini", "renationalise", "--help" }, { "reclassify", "in.obf", "-h" } };
    for (const auto& args : cases) {
        auto r = RunCli(args);
        EXPECT_EQ(r.status, 0) << args[0];
        EXPECT_EQ(r.out.rfind("Usage: tarnwick-cli", 0), 0u) << r.out;
        EXPECT_EQ(r.err, "");
    }
    EXPECT_NE(RunCli({ "buffer-import", "--help" }).out.find("--into BASE.obf"), std::string::npos);
    // The bulk commands, like resave, may save IN over itself.
    EXPECT_NE(RunCli({ "--help" }).out.find("resave, renationalise and reclassify"), std::string::npos);
}

TEST(CliUsage, LeadingZerosReadAsTheNumber)
{
    TempDir dir;
    WriteFile(dir / "in.obf", OobImage().bytes);
    const auto r = RunCli({ "info", (dir / "in.obf").string(), "--nation", "0000012" });
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("Nation:     12"), std::string::npos) << r.out;
}

TEST(CliUsage, BadCommandLinesExitWithStatusTwoAndWriteNothing)
{
    TempDir dir;
    WriteFile(dir / "in.obf", OobImage().bytes);
    const std::string in = (dir / "in.obf").string();
    const std::string out = (dir / "out.obf").string();
    struct Case {
        std::vector<std::string> args;
        std::string says;
    };
    const std::vector<Case> cases {
        { {}, "no command" },
        { { "bogus" }, "unknown command 'bogus'" },
        { { "--verbose", "info", in }, "unknown option '--verbose'" },
        { { "--ini" }, "--ini needs a file name" },
        { { "--ini", in, "--ini=" + in, "info", in }, "--ini given twice" },
        { { "info" }, "info needs IN.obf" },
        { { "info", in, in }, "unexpected argument" },
        { { "info", in, "--nation", "0" }, "from 1 to 999, not '0'" },
        { { "info", in, "--nation", "1000" }, "not '1000'" },
        { { "info", in, "--nation", "12a" }, "not '12a'" },
        { { "info", in, "--nation", "-3" }, "not '-3'" },
        { { "info", in, "--nation", "00001000" }, "not '00001000'" },
        { { "info", in, "--nation", "" }, "not ''" },
        { { "info", in, "--nation" }, "--nation needs a value" },
        { { "info", in, "-o", out }, "unknown option '-o' for info" },
        { { "resave", in, "--nation", "1" }, "resave needs -o" },
        { { "resave", in, "-o", out }, "give --nation" },
        { { "resave", in, "--nation", "1", "--nation", "2", "-o", out }, "--nation given twice" },
        { { "resave", in, "--nation", "1", "-o", dir.path().string() + "/" }, "must name a file" },
        { { "buffer-export", in, "--nation", "1", "--kind", "tank", "-o", out },
            "unit, weapon or formation" },
        { { "buffer-import", in, "--kind", "unit", "--nation", "1", "-o", out }, "needs --into" },
        { { "make-demo" }, "make-demo needs DIR" },
        { { "make-demo", out, "--force=yes" }, "--force takes no value" },
    };
    for (const Case& c : cases) {
        auto r = RunCli(c.args);
        const std::string shown = c.args.empty() ? "(none)" : c.args[0];
        EXPECT_EQ(r.status, 2) << shown << ": " << r.err;
        EXPECT_EQ(r.out, "") << shown;
        EXPECT_NE(r.err.find(c.says), std::string::npos) << shown << ": " << r.err;
    }
    EXPECT_EQ(Entries(dir.path()), std::vector<std::string> { "in.obf" });
}

TEST(CliFiles, MissingOrUnreadableInputsExitWithStatusOneNamingThePath)
{
    TempDir dir;
    WriteFile(dir / "base.obf", OobImage().bytes);
    fs::create_directory(dir / "folder.obf");
    const std::string base = (dir / "base.obf").string();
    const std::string missing = (dir / "missing.obf").string();
    const std::string folder = (dir / "folder.obf").string();
    const std::string out = (dir / "out.obf").string();
    struct Case {
        std::vector<std::string> args;
        std::string path;
        std::string reason;
    };
    const std::vector<Case> cases {
        { { "info", missing }, missing, "No such file or directory" },
        { { "info", folder }, folder, "Is a directory" },
        { { "resave", missing, "--nation", "1", "-o", out }, missing, "No such file or directory" },
        { { "csv", missing, "--nation", "1", "-o", dir.path().string() }, missing, "No such file" },
        { { "buffer-export", folder, "--nation", "1", "--kind", "weapon", "-o", (dir / "w.csv").string() },
            folder, "Is a directory" },
        { { "buffer-import", missing, "--kind", "unit", "--into", base, "--nation", "1", "-o", out }, missing,
            "No such file" },
        { { "buffer-import", base, "--kind", "unit", "--into", missing, "--nation", "1", "-o", out }, missing,
            "No such file" },
        { { "--ini", missing, "info", base }, missing, "No such file" },
        { { "info", "/dev/zero" }, "/dev/zero", "Not a regular file" },
    };
    for (const Case& c : cases) {
        if (c.path == "/dev/zero" && clitest::UnderWine())
            continue; // Windows has no devices among its files
        auto r = RunCli(c.args);
        EXPECT_EQ(r.status, 1) << c.args[0] << ": " << r.err;
        EXPECT_NE(r.err.find(Shown(c.path)), std::string::npos) << r.err;
        EXPECT_NE(r.err.find(c.reason), std::string::npos) << r.err;
    }
    EXPECT_EQ(Entries(dir.path()), (std::vector<std::string> { "base.obf", "folder.obf" }));
}

TEST(CliFiles, OutputsThatCannotBeWrittenExitWithStatusOneAndLeaveNothing)
{
    TempDir dir;
    OobImage img;
    img.unitName(1, "Alpha");
    WriteFile(dir / "in.obf", img.bytes);
    fs::create_directory(dir / "taken.obf");
    const std::string in = (dir / "in.obf").string();
    const fs::path nowhere = dir / "no-such-folder";
    const std::string taken = (dir / "taken.obf").string();
    struct Case {
        std::vector<std::string> args;
        std::string says; // a missing folder is named itself, not the file that was to go in it
    };
    const std::vector<Case> cases {
        { { "resave", in, "--nation", "1", "-o", (nowhere / "out.obf").string() },
            "Cannot create a file in the folder " + Shown(nowhere / "") + ": No such file or directory" },
        { { "resave", in, "--nation", "1", "-o", taken },
            "Cannot write " + Shown(taken) + ": Is a directory" },
        { { "csv", in, "--nation", "1", "-o", nowhere.string() }, Shown(nowhere) },
        { { "buffer-export", in, "--nation", "1", "--kind", "unit", "-o", (nowhere / "u.csv").string() },
            "Cannot create a file in the folder " + Shown(nowhere / "") },
        { { "buffer-export", in, "--nation", "1", "--kind", "unit", "-o", taken },
            "Cannot write " + Shown(taken) + ": Is a directory" },
    };
    for (const Case& c : cases) {
        auto r = RunCli(c.args);
        EXPECT_EQ(r.status, 1) << c.args[0] << " " << c.args.back() << ": " << r.err;
        EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
    }
    EXPECT_FALSE(fs::exists(nowhere));
    EXPECT_EQ(Entries(dir.path()), (std::vector<std::string> { "in.obf", "taken.obf" }));
    EXPECT_TRUE(fs::is_empty(dir / "taken.obf"));
}

TEST(CliFiles, ABadBufferFileExitsWithStatusOneAndWritesNoOutput)
{
    TempDir dir;
    OobImage base;
    base.unitName(1, "Alpha");
    WriteFile(dir / "base.obf", base.bytes);
    const std::string header = "Slot No,Name,Weapon Class,\r\n";
    std::string badNumber = "WEAPON PASTE BUFFER FROM /x/tarn01 - A,\r\n" + header + "1,Gun,7,1x,\r\n";
    struct Case {
        std::string file;
        std::string kind;
        std::string says;
    };
    const std::vector<Case> cases {
        { "hello,world,\r\n", "unit", "appears NOT to be a valid tarnwick FTK .csv file!" },
        { "UNIT PASTE BUFFER FROM /x/Tarn01 - A,\r\n" + header, "weapon", "appears NOT to be a valid" },
        { badNumber, "weapon", "'1x' is not a valid integer value" },
    };
    for (const Case& c : cases) {
        WriteFile(dir / "buffer.csv", c.file);
        auto r = RunCli({ "buffer-import", (dir / "buffer.csv").string(), "--kind", c.kind, "--into",
            (dir / "base.obf").string(), "--nation", "1", "-o", (dir / "out.obf").string() });
        EXPECT_EQ(r.status, 1) << c.says;
        EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
        EXPECT_NE(r.err.find(Shown(dir / "buffer.csv")), std::string::npos) << r.err;
        EXPECT_FALSE(fs::exists(dir / "out.obf"));
    }
}

// Names outside any one ANSI code page (Greek, Japanese) reach the files whole,
// in and out, and the messages name them as they are.
TEST(CliFiles, NamesInAnyScriptAreReadWrittenAndShown)
{
    TempDir dir;
    const fs::path folder = dir / fs::path(u8"Ελληνικά");
    fs::create_directory(folder);
    const fs::path in = folder / fs::path(u8"東京.obf");
    OobImage image;
    image.unitName(1, "Alpha");
    image.validDates();
    WriteFile(in, image.bytes);
    const fs::path out = folder / fs::path(u8"Ωμέγα.obf");
    auto r = RunCli({ "resave", in.string(), "--nation", "5", "-o", out.string() });
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "Saved " + Shown(out) + "\n");
    EXPECT_EQ(ReadFile(out).size(), image.bytes.size());

    r = RunCli({ "info", (folder / "missing.obf").string() });
    EXPECT_NE(r.err.find("Cannot find " + Shown(folder / "missing.obf")), std::string::npos) << r.err;
}

} // namespace
