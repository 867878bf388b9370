// merge, patch-make, patch-apply and git-setup: exit codes, what is written and
// what is not, and git merging and showing files through the drivers.

#include "clirunner.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

using clitest::OobImage;
using clitest::ReadFile;
using clitest::RunCli;
using clitest::TempDir;
using clitest::WriteFile;
namespace fs = std::filesystem;

constexpr std::size_t kCost = 47280;
constexpr std::size_t kSpeed = 28680;

OobImage Base()
{
    OobImage img;
    img.validDates();
    img.unitName(12, "Scamp Mk2");
    img.u16(kCost, 12, 2, 0, 160);
    img.unitName(30, "Rifle Sect");
    return img;
}

std::string Bytes(const OobImage& img)
{
    return std::string(img.bytes.begin(), img.bytes.end());
}

TEST(CliMerge, ExitStatusAndWhatIsWritten)
{
    TempDir dir;
    OobImage ours = Base();
    ours.u16(kCost, 12, 2, 0, 180);
    OobImage theirs = Base();
    theirs.u8(kSpeed, 12, 1, 0, 40);
    OobImage clash = Base();
    clash.u16(kCost, 12, 2, 0, 170);
    const OobImage base = Base();
    OobImage merged = ours;
    merged.u8(kSpeed, 12, 1, 0, 40);
    for (const auto& [name, img] : { std::pair { "base.obf", Base() }, { "ours.obf", ours },
             { "theirs.obf", theirs }, { "clash.obf", clash } })
        WriteFile(dir / name, img.bytes);
    auto p = [&](const char* name) { return (dir / name).string(); };
    ASSERT_EQ(RunCli({ "patch-make", p("base.obf"), p("ours.obf"), "-o", p("p.json") }).status, 0);
    const std::string patchText = ReadFile(dir / "p.json");
    EXPECT_NE(
        patchText.find(
            R"({"table": "units", "slot": 12, "name": "Scamp Mk2", "field": "Cost", "base": 160, "new": 180})"),
        std::string::npos);

    struct Case {
        std::vector<std::string> args;
        int status;
        std::string outHas; // in standard output
        const OobImage* written; // what out.obf then holds; null: no out.obf
    };
    const Case cases[] = {
        { { "merge", p("base.obf"), p("ours.obf"), p("theirs.obf"), "-o", p("out.obf") }, 0,
            "Merged 2 changes; 0 conflicts; 0 warnings", &merged },
        { { "merge", p("base.obf"), p("ours.obf"), p("clash.obf"), "-o", p("out.obf") }, 1,
            "conflict: unit 12 Scamp Mk2: Cost 160 -> ours 180, theirs 170", &ours },
        { { "merge", p("base.obf"), p("ours.obf"), p("clash.obf"), "-o", p("out.obf"), "--prefer", "theirs" },
            0, "1 conflict, took theirs", &clash },
        { { "merge", p("base.obf"), p("ours.obf"), p("theirs.obf"), "-o", p("out.obf"), "--granularity",
              "record" },
            1, "conflict: unit 12 Scamp Mk2: record", &ours },
        { { "merge", p("base.obf"), p("ours.obf"), p("theirs.obf"), "-o", p("theirs.obf") }, 2, "", nullptr },
        { { "merge", p("base.obf"), p("ours.obf"), p("none.obf"), "-o", p("out.obf") }, 2, "", nullptr },
        { { "merge", p("base.obf"), p("ours.obf"), p("theirs.obf"), "-o", p("out.obf"), "--prefer", "mine" },
            2, "", nullptr },
        { { "patch-apply", p("theirs.obf"), p("p.json"), "-o", p("out.obf") }, 0, "Applied 1", &merged },
        { { "patch-apply", p("clash.obf"), p("p.json"), "-o", p("out.obf") }, 1,
            "unit 12 Scamp Mk2: Cost is 170; the patch changes 160 -> 180", nullptr },
        { { "patch-apply", p("clash.obf"), p("p.json"), "--dry-run", "--prefer", "patch" }, 0,
            "conflicts 1; took the patch's values", nullptr },
        { { "patch-apply", p("ours.obf"), p("p.json"), "--reverse", "-o", p("out.obf") }, 0, "Applied 1",
            &base },
        { { "patch-apply", p("ours.obf"), p("ours.obf"), "-o", p("out.obf") }, 2, "", nullptr },
        { { "diff", "/dev/null", p("ours.obf") }, 1, "unit 12 Scamp Mk2: Name \"\" -> \"Scamp Mk2\"",
            nullptr },
        { { "diff", p("ours.obf"), p("gone.obf"), "--new-file" }, 1, "unit 30 Rifle Sect: Name", nullptr },
        { { "diff", p("ours.obf"), p("gone.obf") }, 2, "", nullptr },
        { { "to-json", p("ours.obf"), "-o", "-" }, 0, R"("Name": "Scamp Mk2")", nullptr },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args[0] + " " + c.args.back());
        fs::remove(dir / "out.obf");
        const auto run = RunCli(c.args);
        EXPECT_EQ(run.status, c.status) << run.err;
        EXPECT_NE(run.out.find(c.outHas), std::string::npos) << run.out;
        ASSERT_EQ(fs::exists(dir / "out.obf"), c.written != nullptr);
        if (c.written != nullptr) {
            EXPECT_TRUE(ReadFile(dir / "out.obf") == Bytes(*c.written));
        }
    }

    // OUT may be OURS, as git's merge driver has it.
    EXPECT_EQ(
        RunCli({ "merge", p("base.obf"), p("ours.obf"), p("theirs.obf"), "-o", p("ours.obf") }).status, 0);
    EXPECT_TRUE(ReadFile(dir / "ours.obf") == Bytes(merged));
}

// A repository in a temporary folder that no user or system git setting reaches.
class GitRepo {
public:
    GitRepo()
    {
        const std::string home = dir_.path().string();
        for (const auto& [key, value] : { std::pair { "HOME", home.c_str() },
                 { "XDG_CONFIG_HOME", home.c_str() }, { "GIT_CONFIG_NOSYSTEM", "1" },
                 { "GIT_AUTHOR_NAME", "Modder" }, { "GIT_AUTHOR_EMAIL", "modder@example.org" },
                 { "GIT_COMMITTER_NAME", "Modder" }, { "GIT_COMMITTER_EMAIL", "modder@example.org" } })
            ::setenv(key, value, 1);
        fs::create_directory(repo());
        git("init -q -b main");
    }

    fs::path repo() const { return dir_ / "repo"; }

    // Runs git in the repository; its status and output (both streams).
    std::pair<int, std::string> run(const std::string& args) const
    {
        const std::string command = "cd '" + repo().string() + "' && git " + args + " 2>&1";
        FILE* pipe = ::popen(command.c_str(), "r");
        std::string out;
        std::array<char, 4096> buffer {};
        for (std::size_t n; (n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0;)
            out.append(buffer.data(), n);
        const int status = ::pclose(pipe);
        return { WIFEXITED(status) ? WEXITSTATUS(status) : -1, out };
    }

    void git(const std::string& args) const
    {
        const auto [status, out] = run(args);
        ASSERT_EQ(status, 0) << "git " << args << "\n" << out;
    }

    void commit(const OobImage& img, const std::string& message) const
    {
        WriteFile(repo() / "obat001.obf", img.bytes);
        git("add obat001.obf");
        git("commit -q -m '" + message + "'");
    }

private:
    TempDir dir_;
};

TEST(CliMerge, GitMergesAndShowsFilesThroughTheDrivers)
{
    SKIP_UNDER_WINE("git calls the drivers by the program's POSIX path");
    GitRepo g;
    const auto setup = RunCli({ "git-setup", g.repo().string(), "--write" });
    ASSERT_EQ(setup.status, 0) << setup.err;
    EXPECT_NE(ReadFile(g.repo() / ".gitattributes").find("diff=tarnwick merge=tarnwick"), std::string::npos);
    g.git("add .gitattributes");
    g.commit(Base(), "base");

    // Two branches: different fields of one unit, and different units.
    g.git("checkout -q -b mod-b");
    OobImage theirs = Base();
    theirs.u16(kCost, 12, 2, 0, 180);
    theirs.u8(kSpeed, 30, 1, 0, 9);
    g.commit(theirs, "mod b");
    g.git("checkout -q main");
    OobImage ours = Base();
    ours.u8(kSpeed, 12, 1, 0, 40);
    g.commit(ours, "mod a");
    g.git("merge -q --no-edit mod-b");
    OobImage both = theirs;
    both.u8(kSpeed, 12, 1, 0, 40);
    EXPECT_TRUE(ReadFile(g.repo() / "obat001.obf") == Bytes(both));

    // git diff shows fields through the text form.
    const auto [diffStatus, diff] = g.run("diff HEAD~1 HEAD -- obat001.obf");
    EXPECT_EQ(diffStatus, 0);
    EXPECT_NE(diff.find("\"Cost\": 180"), std::string::npos) << diff;

    // The same field changed on both branches stops the merge with the conflict listed.
    g.git("checkout -q -b mod-c");
    OobImage c = both;
    c.u16(kCost, 12, 2, 0, 200);
    g.commit(c, "mod c");
    g.git("checkout -q main");
    OobImage a = both;
    a.u16(kCost, 12, 2, 0, 190);
    g.commit(a, "mod a again");
    const auto [mergeStatus, merge] = g.run("merge --no-edit mod-c");
    EXPECT_NE(mergeStatus, 0);
    EXPECT_NE(merge.find("conflict: unit 12 Scamp Mk2: Cost 180 -> ours 190, theirs 200"), std::string::npos)
        << merge;
    EXPECT_TRUE(ReadFile(g.repo() / "obat001.obf") == Bytes(a));
}

} // namespace
