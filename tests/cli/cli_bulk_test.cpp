// renationalise and reclassify from the command line: what changes in the
// saved file, how A and B are read, and --in-place over several files.

#include "clirunner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using clitest::OobImage;
using clitest::ReadFile;
using clitest::RunCli;
using clitest::RunResult;
using clitest::TempDir;
using clitest::WriteFile;
namespace fs = std::filesystem;

constexpr std::size_t kUnitClass = 19080;
constexpr std::size_t kUnitNation = 48480;
constexpr std::size_t kFormationNation = 88680;

// Units 1 and 2 and formation 1 of nation 12, unit 3 an empty slot of nation 12,
// units 1..4 of class 7 and the rest class 0; the file itself is nation 5.
OobImage Sample()
{
    OobImage img;
    img.validDates();
    img.unitName(1, "Tank");
    img.unitName(2, "Truck");
    img.unitName(4, "Gun");
    img.formationName(1, "Company");
    for (int s : { 1, 2, 3 })
        img.u8(kUnitNation, s, 1, 0, 12);
    img.u8(kUnitNation, 4, 1, 0, 5);
    img.u8(kFormationNation, 1, 1, 0, 12);
    for (int s : { 1, 2, 3, 4 })
        img.u8(kUnitClass, s, 1, 0, 7);
    return img;
}

// Positions where two files differ.
std::vector<std::size_t> Differences(const std::string& a, const std::string& b)
{
    std::vector<std::size_t> at;
    for (std::size_t i = 0; i < std::min(a.size(), b.size()); ++i)
        if (a[i] != b[i])
            at.push_back(i);
    return at;
}

TEST(CliBulk, OutputDiffersFromAPlainResaveOnlyInTheChangedField)
{
    TempDir dir;
    WriteFile(dir / "in.obf", Sample().bytes);
    const std::string in = (dir / "in.obf").string();
    ASSERT_EQ(RunCli({ "resave", in, "--nation", "5", "-o", (dir / "ref.obf").string() }).status, 0);
    const std::string ref = ReadFile(dir / "ref.obf");

    RunResult r = RunCli({ "renationalise", in, "--nation", "5", "--from", "12", "--to", "34", "-o",
        (dir / "renat.obf").string() });
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "Processed : 3 Units, 1 Formations\nSaved " + clitest::Shown(dir / "renat.obf") + "\n");
    const std::string renat = ReadFile(dir / "renat.obf");
    EXPECT_EQ(Differences(ref, renat),
        (std::vector<std::size_t> {
            kUnitNation + 1, kUnitNation + 2, kUnitNation + 3, kFormationNation + 1 }));
    EXPECT_EQ(renat[kUnitNation + 1], 34);

    r = RunCli({ "reclassify", in, "--nation", "5", "--from", "7", "--to", "24", "-o",
        (dir / "recl.obf").string() });
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.substr(0, r.out.find('\n')), "Reclassified : 4 Units");
    EXPECT_EQ(Differences(ref, ReadFile(dir / "recl.obf")),
        (std::vector<std::size_t> { kUnitClass + 1, kUnitClass + 2, kUnitClass + 3, kUnitClass + 4 }));
}

TEST(CliBulk, FromAndToAreStrictNumbers)
{
    TempDir dir;
    WriteFile(dir / "obat005.obf", Sample().bytes);
    const std::string in = (dir / "obat005.obf").string();
    const std::string out = (dir / "out.obf").string();
    struct Case {
        const char* command;
        std::string from;
        std::string to;
        std::string line; // empty: a usage error
    };
    const std::vector<Case> cases {
        { "reclassify", "007", "9", "Reclassified : 4 Units" },
        { "reclassify", "0", "255", "Reclassified : 595 Units" },
        { "reclassify", "8", "9", "Reclassified : 0 Units" },
        { "renationalise", "12", "099", "Processed : 3 Units, 1 Formations" },
        { "reclassify", "7x", "9", "" },
        { "reclassify", "-5", "0", "" },
        { "reclassify", "", "0", "" },
        { "reclassify", "7", "256", "" },
        { "renationalise", "1 2", "3", "" },
        { "renationalise", "12", "100", "" },
        { "renationalise", "+1", "3", "" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command + (" " + c.from) + " " + c.to);
        fs::remove(out);
        RunResult r = RunCli({ c.command, in, "--from", c.from, "--to=" + c.to, "-o", out });
        if (c.line.empty()) {
            EXPECT_EQ(r.status, 2);
            EXPECT_NE(r.err.find("must be a number from 0 to "), std::string::npos) << r.err;
            EXPECT_FALSE(fs::exists(out));
            continue;
        }
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out.substr(0, r.out.find('\n')), c.line);
        if (c.to == "099") {
            EXPECT_EQ(ReadFile(out)[kUnitNation + 1], 99);
        }
    }
}

TEST(CliBulk, BadCommandLinesExitWithStatusTwoAndWriteNothing)
{
    TempDir dir;
    WriteFile(dir / "obat005.obf", Sample().bytes);
    const std::string in = (dir / "obat005.obf").string();
    const std::string out = (dir / "out.obf").string();
    struct Case {
        std::vector<std::string> args;
        std::string says;
    };
    const std::vector<Case> cases {
        { { "renationalise", in, "--to", "3", "-o", out }, "needs --from" },
        { { "reclassify", in, "--from", "3", "-o", out }, "needs --to" },
        { { "reclassify", in, "--from", "-", "--to", "3", "-o", out },
            "--from must be a number from 0 to 255" },
        { { "reclassify", in, in, "--from", "1", "--to", "2", "-o", out }, "use --in-place" },
        { { "reclassify", in, "--from", "1", "--to", "2" }, "needs -o" },
        { { "reclassify", "--in-place", in, "--from", "1", "--to", "2", "-o", out }, "cannot be used with" },
        { { "reclassify", "--in-place", "--from", "1", "--to", "2" }, "at least one FILE" },
        { { "reclassify", (dir / "x.obf").string(), "--from", "1", "--to", "2", "-o", out },
            "give --nation" },
        { { "renationalise", in, "--from", "1", "--to", "2", "--nation", "0", "-o", out }, "1 to 999" },
        { { "renationalise", in, "--from", "1", "--to", "2", "--kind", "unit", "-o", out },
            "unknown option" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.says);
        RunResult r = RunCli(c.args);
        EXPECT_EQ(r.status, 2);
        EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
        EXPECT_NE(r.err.find("Try 'tarnwick-cli " + c.args[0] + " --help'"), std::string::npos);
        EXPECT_FALSE(fs::exists(dir / "out.obf"));
    }
    const std::vector<std::uint8_t> original = Sample().bytes;
    EXPECT_EQ(ReadFile(dir / "obat005.obf"), std::string(original.begin(), original.end()));
}

TEST(CliBulk, AnOutputThatCannotBeWrittenIsReported)
{
    if (!fs::exists("/dev/full"))
        GTEST_SKIP() << "needs /dev/full";
    TempDir dir;
    WriteFile(dir / "obat005.obf", Sample().bytes);
    const std::string in = (dir / "obat005.obf").string();
    const std::vector<std::vector<std::string>> commands {
        { "reclassify", "--help" },
        { "reclassify", in, "--from", "7", "--to", "9", "-o", (dir / "out.obf").string() },
        { "renationalise", "--in-place", in, "--from", "12", "--to", "9" },
    };
    for (const auto& args : commands) {
        SCOPED_TRACE(args[1]);
        const RunResult r = clitest::RunCliVia({ "/bin/sh", "-c", "exec \"$0\" \"$@\" >/dev/full" }, args);
        EXPECT_EQ(r.status, 1);
        EXPECT_NE(r.err.find("cannot write to standard output"), std::string::npos) << r.err;
    }
}

TEST(CliBulk, AFileInAFolderThatMayNotBeSearchedIsNotCalledMissing)
{
    SKIP_UNDER_WINE("folder modes and setpriv");
    const auto unprivileged = clitest::Unprivileged();
    if (!unprivileged)
        GTEST_SKIP() << "setpriv is needed to drop root's right to search any folder";
    TempDir dir;
    fs::permissions(dir.path(), fs::perms::all);
    fs::create_directory(dir / "locked");
    WriteFile(dir / "locked" / "obat001.obf", Sample().bytes);
    fs::permissions(dir / "locked", fs::perms::none);
    const std::string in = (dir / "locked" / "obat001.obf").string();
    const std::vector<std::vector<std::string>> commands {
        { "reclassify", "--in-place", in, "--from", "7", "--to", "9" },
        { "reclassify", in, "--from", "7", "--to", "9", "-o", (dir / "out.obf").string() },
    };
    for (const auto& args : commands) {
        const RunResult r = clitest::RunCliVia(*unprivileged, args);
        EXPECT_EQ(r.status, 1);
        EXPECT_NE(r.err.find(in + ": Permission denied"), std::string::npos) << r.err;
    }
    fs::permissions(dir / "locked", fs::perms::owner_all);
}

// Runs the program as an unprivileged user, so that a file without read
// permission really cannot be read even when the tests run as root.
RunResult RunAsNobody(const std::vector<std::string>& args, const fs::path& scratch)
{
    std::string command = "setpriv --reuid=65534 --regid=65534 --clear-groups '" + clitest::CliPath() + "'";
    for (const std::string& a : args)
        command += " '" + a + "'";
    command += " >'" + (scratch / "out").string() + "' 2>'" + (scratch / "err").string() + "'";
    const int status = std::system(command.c_str());
    return { WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadFile(scratch / "out"),
        ReadFile(scratch / "err") };
}

TEST(CliBulk, InPlaceSavesEveryReadableFileAndReportsTheOneThatFails)
{
    SKIP_UNDER_WINE("file modes and setpriv");
    const bool root = ::geteuid() == 0;
    if (root && std::system("command -v setpriv >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "setpriv is needed to drop root's right to read any file";

    TempDir dir;
    TempDir scratch;
    fs::permissions(dir.path(), fs::perms::all);
    fs::permissions(scratch.path(), fs::perms::all);
    const std::vector<std::string> names { "obat001.obf", "OBAT002.OBF", "obat003.obf", "obat004.obf" };
    const OobImage img = Sample();
    for (const std::string& name : names) {
        WriteFile(dir / name, img.bytes);
        fs::permissions(dir / name,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read | fs::perms::group_write
                | fs::perms::others_read | fs::perms::others_write);
    }
    fs::permissions(dir / "obat003.obf", fs::perms::none);

    std::vector<std::string> args { "reclassify", "--in-place" };
    for (const std::string& name : names)
        args.push_back((dir / name).string());
    args.insert(args.end(), { "--from", "7", "--to", "24" });
    const RunResult r = root ? RunAsNobody(args, scratch.path()) : RunCli(args);

    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find((dir / "obat003.obf").string()), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("Permission denied"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("1 of 4 files failed"), std::string::npos) << r.err;
    for (const std::string& name : { names[0], names[1], names[3] }) {
        EXPECT_NE(r.out.find((dir / name).string() + ": Reclassified : 4 Units\n"), std::string::npos)
            << r.out;
        EXPECT_EQ(ReadFile(dir / name)[kUnitClass + 2], 24) << name;
    }
    fs::permissions(dir / "obat003.obf", fs::perms::owner_read, fs::perm_options::add);
    EXPECT_EQ(ReadFile(dir / "obat003.obf"), std::string(img.bytes.begin(), img.bytes.end()));

    // Each file was replaced whole: no temporary file is left and the names keep their case.
    std::vector<std::string> left;
    for (const auto& e : fs::directory_iterator(dir.path()))
        left.push_back(e.path().filename().string());
    std::sort(left.begin(), left.end());
    std::vector<std::string> expected = names;
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(left, expected);
}

TEST(CliBulk, InPlaceRefusesSettingsAndFilesNotNamedAsOobFiles)
{
    TempDir dir;
    const OobImage img = Sample();
    const std::string bytes(img.bytes.begin(), img.bytes.end());
    const fs::path oob = dir / "OBAT005.obf";
    const fs::path ini = dir / "game.ini";
    const fs::path readme = dir / "README.txt";
    const fs::path other = dir / "twftk.INI";
    WriteFile(oob, bytes);
    WriteFile(ini, "[Nations]\r\n");
    WriteFile(readme, "hello\n");
    WriteFile(other, "");
    struct Case {
        std::vector<std::string> files;
        bool anyName;
        std::vector<fs::path> named; // the files the message names
    };
    const std::vector<Case> cases {
        { { oob.string(), readme.string(), other.string() }, false, { readme, other } },
        { { ini.string(), oob.string() }, true, { ini } },
        { { oob.string(), other.string() }, true, { other } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.files.back());
        std::vector<std::string> args { "--ini", ini.string(), "reclassify", "--in-place" };
        if (c.anyName)
            args.push_back("--any-name");
        args.insert(args.end(), c.files.begin(), c.files.end());
        args.insert(args.end(), { "--nation", "5", "--from", "7", "--to", "24" });
        const RunResult r = RunCli(args);
        EXPECT_EQ(r.status, 2);
        EXPECT_NE(r.err.find("nothing was changed"), std::string::npos) << r.err;
        for (const fs::path& p : c.named)
            EXPECT_NE(r.err.find(clitest::Shown(p) + " is "), std::string::npos) << r.err;
        EXPECT_EQ(r.err.find(clitest::Shown(oob) + " is "), std::string::npos) << r.err;
        EXPECT_EQ(ReadFile(oob), bytes);
        EXPECT_EQ(ReadFile(readme), "hello\n");
        EXPECT_EQ(fs::file_size(other), 0u);
    }
    // --any-name lets a file of another name through.
    fs::copy_file(oob, dir / "backup.dat");
    const RunResult r = RunCli({ "reclassify", "--in-place", "--any-name", (dir / "backup.dat").string(),
        "--nation", "5", "--from", "7", "--to", "24" });
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(ReadFile(dir / "backup.dat")[kUnitClass + 2], 24);
}

// Killed at any moment, an --in-place run leaves each file whole and no
// temporary file beside them.
TEST(CliBulk, AnInterruptedInPlaceRunLeavesNoTemporaryFile)
{
    SKIP_UNDER_WINE("signals");
    TempDir dir;
    const OobImage img = Sample();
    std::vector<std::string> args { clitest::CliPath(), "reclassify", "--in-place" };
    for (int n = 1; n <= 200; ++n) {
        char name[16];
        std::snprintf(name, sizeof name, "obat%03d.obf", n);
        WriteFile(dir / name, img.bytes);
        args.push_back((dir / name).string());
    }
    args.insert(args.end(), { "--from", "7", "--to", "7" });
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);

    for (int delay : { 0, 200, 1000, 3000, 10000, 30000 }) {
        SCOPED_TRACE(delay);
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
        ::kill(pid, SIGTERM);
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        for (const auto& e : fs::directory_iterator(dir.path())) {
            const std::string name = e.path().filename().string();
            EXPECT_TRUE(name.size() == 11 && name.rfind("obat", 0) == 0) << name;
            EXPECT_EQ(fs::file_size(e.path()), img.bytes.size()) << name;
        }
    }
}

} // namespace
