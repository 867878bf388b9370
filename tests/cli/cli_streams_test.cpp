// Standard input and output, the version, the nation taken from a file name,
// exit statuses, -q, and the help, man page and completion made from one table.

#include "clirunner.h"
#include "pngmaker.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

namespace {

using clitest::OobImage;
using clitest::ReadFile;
using clitest::RunCli;
using clitest::RunCliWith;
using clitest::RunOptions;
using clitest::TempDir;
using clitest::WriteFile;
namespace fs = std::filesystem;

// A folder with obat012.obf, the same file under a name without a nation, one
// that differs from it, a picture and a PNG.
class CliStreams : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        dir = new TempDir;
        OobImage image;
        image.unitName(1, "Rifles");
        image.validDates();
        WriteFile(*dir / "obat012.obf", image.bytes);
        WriteFile(*dir / "plain.obf", image.bytes);
        image.unitName(1, "Guards");
        WriteFile(*dir / "other.obf", image.bytes);
        clitest::WritePng(*dir / "in.png", clitest::PngKind::Grey, 2, 2, { 0, 80, 160, 240 });
        ASSERT_EQ(RunCli({ "picture-import", (*dir / "in.png").string(), "-o", (*dir / "pic.lbm").string() })
                      .status,
            0);
    }
    static void TearDownTestSuite() { delete dir; }

    // args with "@" replaced by the folder's path.
    static std::vector<std::string> In(std::vector<std::string> args)
    {
        for (std::string& a : args)
            if (const auto at = a.find('@'); at != std::string::npos)
                a.replace(at, 1, dir->path().string());
        return args;
    }
    static std::string File(const std::string& name) { return ReadFile(*dir / name); }

    static TempDir* dir;
};

TempDir* CliStreams::dir = nullptr;

TEST_F(CliStreams, EachCommandLineGivesItsStatusAndOutput)
{
    const std::string oob = File("obat012.obf");
    const std::string json = RunCli(In({ "to-json", "@/obat012.obf", "-o", "-" })).out;
    ASSERT_EQ(json.rfind("{", 0), 0u);
    struct Case {
        std::vector<std::string> args;
        RunOptions options;
        int status;
        std::string out; // what standard output starts with
        std::string err; // what standard error holds
    };
    const RunOptions none;
    const RunOptions fromOob { oob, "", false };
    const RunOptions full { std::nullopt, "/dev/full", false };
    const RunOptions terminal { std::nullopt, "", true };
    const std::vector<Case> cases {
        { { "--version" }, none, 0, "tarnwick-cli ", "" },
        { { "diff", "a", "b", "--version" }, none, 0, "tarnwick-cli ", "" },
        { { "to-json", "-", "-o", "-" }, fromOob, 0, json, "" },
        { { "from-json", "-", "-o", "-" }, { json, "", false }, 0, oob, "" },
        { { "info", "-" }, fromOob, 0, "File:       -\nSize:       106680 bytes", "" },
        { { "diff", "@/obat012.obf", "-" }, fromOob, 0, "", "" },
        { { "diff", "-", "/dev/stdin" }, fromOob, 2, "", "only one of A and B" },
        { { "check", "-", "--format", "csv", "-o", "-" }, fromOob, 0, "file,severity", "" },
        { { "timeline", "-", "--format", "csv", "-o", "/dev/stdout" }, fromOob, 0, "table,slot,name", "" },
        { { "picture", "-", "-o", "-", "--format", "bmp" }, { File("pic.lbm"), "", false }, 0, "BM", "" },
        { { "picture-import", "-", "-o", "@/stdin.lbm" }, { File("in.png"), "", false }, 0, "", "" },
        // A missing input is trouble, never a clean report.
        { { "check", "@/missing.obf" }, none, 2, "", "Cannot find" },
        { { "diff", "@/missing.obf", "@/obat012.obf" }, none, 2, "", "Cannot find" },
        { { "to-json", "@/missing.obf", "-o", "-" }, none, 1, "", "Cannot find" },
        // Output that cannot be written: 1, and 2 where 1 means "different".
        { { "diff", "@/obat012.obf", "@/other.obf" }, full, 2, "", "No space left" },
        { { "check", "@/obat012.obf" }, full, 2, "", "No space left" },
        { { "info", "@/obat012.obf" }, full, 1, "", "No space left" },
        { { "to-json", "@/obat012.obf", "-o", "-" }, full, 1, "", "No space left" },
        { { "diff", "@/obat012.obf", "@/other.obf", "-o", "/dev/full" }, none, 2, "", "Cannot write" },
        { { "from-json", "@/missing.json", "-o", "-" }, terminal, 1, "", "Cannot find" },
        { { "from-json", "-", "-o", "-" }, { json, "", true }, 1, "", "is a terminal" },
        { { "picture", "@/pic.lbm", "-o", "-" }, terminal, 1, "", "is a terminal" },
        // The nation comes from an obatNNN name; without one it must be given.
        { { "resave", "@/obat012.obf", "-o", "@/out.obf" }, none, 0, "Saved ", "" },
        { { "-q", "resave", "@/obat012.obf", "-o", "@/out.obf" }, none, 0, "", "" },
        { { "csv", "@/obat012.obf", "-o", "@", "--quiet" }, none, 0, "", "" },
        { { "buffer-export", "@/obat012.obf", "--kind", "unit", "-o", "@/u.csv" }, none, 0, "Wrote ", "" },
        { { "resave", "@/plain.obf", "-o", "@/out.obf" }, none, 2, "", "give --nation" },
        { { "resave", "@/plain.obf", "-o", "@/out.obf", "--nation", "12" }, none, 0, "Saved ", "" },
        { { "where-used", "@/obat012.obf", "--unit", "1", "--nation", "12" }, none, 0, "Nothing names", "" },
    };
    for (const Case& c : cases) {
        const auto r = RunCliWith(c.options, In(c.args));
        std::string line;
        for (const std::string& a : c.args)
            line += a + " ";
        EXPECT_EQ(r.status, c.status) << line << r.err;
        EXPECT_EQ(r.out.substr(0, c.out.size()), c.out) << line;
        if (c.out.empty() && c.status != 0) {
            EXPECT_EQ(r.out, "") << line;
        }
        EXPECT_NE(r.err.find(c.err), std::string::npos) << line << r.err;
    }
    EXPECT_EQ(File("stdin.lbm"), File("pic.lbm"));
}

TEST_F(CliStreams, StandardOutputByItsDeviceNameIsAppendedToNotReplaced)
{
    for (const char* name : { "/dev/stdout", "/dev/fd/1" }) {
        const fs::path log = *dir / "log";
        WriteFile(log, "old\n");
        const auto r = RunCliWith({ std::nullopt, log.string(), false },
            In({ "timeline", "@/obat012.obf", "--format", "csv", "-o", name }));
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(ReadFile(log).rfind("old\ntable,slot", 0), 0u) << name;
    }
}

// The help lists every command of the completion script with every option the
// command takes, and each command's own usage begins with the same synopsis.
TEST(CliHelp, HelpManPageAndCompletionComeFromOneTable)
{
    const std::string help = RunCli({ "--help" }).out;
    const std::string man = RunCli({ "--man-page" }).out;
    const auto completion = RunCli({ "--bash-completion" });
    ASSERT_EQ(completion.status, 0);
    std::istringstream lines(completion.out);
    int commands = 0;
    for (std::string line; std::getline(lines, line);) {
        const auto close = line.find(") opts=\"");
        if (close == std::string::npos || line.find("formats=") == std::string::npos)
            continue;
        ++commands;
        const std::string name
            = line.substr(line.find_first_not_of(' '), close - line.find_first_not_of(' '));
        const auto at = help.find("\n  " + name + " ");
        ASSERT_NE(at, std::string::npos) << name;
        const std::string synopsis = help.substr(at, help.find("\n          ", at) - at);
        std::istringstream opts(line.substr(close + 8, line.find('"', close + 8) - close - 8));
        for (std::string opt; opts >> opt;)
            if (opt != "-q" && opt != "--quiet" && opt != "--help" && opt != "--version"
                && opt != "--output") {
                EXPECT_NE(synopsis.find(opt), std::string::npos) << name << " lacks " << opt;
            }
        const std::string usage = RunCli({ name, "--help" }).out;
        EXPECT_NE(
            usage.substr(0, usage.find('\n')).find(help.substr(at + 3, help.find('\n', at + 1) - at - 3)),
            std::string::npos)
            << name;
        std::string roffName;
        for (char ch : name)
            roffName += ch == '-' ? std::string("\\-") : std::string(1, ch);
        EXPECT_NE(man.find(".SS " + roffName), std::string::npos) << name;
    }
    EXPECT_GT(commands, 15);
}

} // namespace
