// timeline: the rows as CSV, and the picture as an SVG file that XML tools read.

#include "clirunner.h"

#include <gtest/gtest.h>

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

void Unit(OobImage& f, int slot, const std::string& name, int unitClass, int ya, int ma, int yu, int mu)
{
    f.unitName(slot, name);
    f.u8(19080, slot, 1, 0, static_cast<std::uint8_t>(unitClass));
    f.u8(46080, slot, 1, 0, static_cast<std::uint8_t>(ya));
    f.u8(59880, slot, 1, 0, static_cast<std::uint8_t>(ma));
    f.u8(46680, slot, 1, 0, static_cast<std::uint8_t>(yu));
    f.u8(60480, slot, 1, 0, static_cast<std::uint8_t>(mu));
}

// Three units (one with month 13, one named with markup and a non-ASCII byte),
// an empty slot between them, and one formation.
fs::path Sample(const TempDir& tmp)
{
    OobImage f;
    Unit(f, 1, "Wolf", 0, 40, 11, 41, 2);
    Unit(f, 3, "A<b> & \"c\" \xE9", 23, 50, 1, 60, 12);
    Unit(f, 4, "Odd", 1, 40, 13, 45, 12);
    f.formationName(2, "Rifle Coy");
    f.u8(90280, 2, 1, 0, 2);
    f.u8(89080, 2, 1, 0, 60);
    f.u8(98680, 2, 1, 0, 3);
    f.u8(89480, 2, 1, 0, 55);
    f.u8(99080, 2, 1, 0, 1);
    const fs::path in = tmp / "obat003.obf";
    WriteFile(in, f.bytes);
    return in;
}

TEST(CliTimeline, CsvRowsFollowTheRecords)
{
    TempDir tmp;
    const fs::path in = Sample(tmp);
    auto r = RunCli({ "timeline", in.string(), "--format", "csv", "-o", (tmp / "t.csv").string() });
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(ReadFile(tmp / "t.csv"),
        "table,slot,name,category,from,to,flag\n"
        "units,1,Wolf,1,1940-11,1941-02,\n"
        "units,3,\"A<b> & \"\"c\"\" \xE9\",2,1950-01,1960-12,\n"
        "units,4,Odd,4,1940-13,1945-12,month\n"
        "formations,2,Rifle Coy,2,1960-03,1955-01,backwards\n");
}

TEST(CliTimeline, SvgIsWellFormedWithOneBarPerRecord)
{
    TempDir tmp;
    // A file name that is not UTF-8 goes into the heading all the same (Windows
    // has no such names: its names are UTF-16).
    const fs::path in = tmp / (clitest::UnderWine() ? "t.obf" : "t\xff.obf");
    fs::rename(Sample(tmp), in);
    const fs::path svg = tmp / "t.svg";
    auto r = RunCli({ "timeline", in.string(), "--nation", "3", "-o", svg.string() });
    ASSERT_EQ(r.status, 0) << r.err;
    // An XML parser nobody here wrote reads the file and lists each group's bars.
    const fs::path script = tmp / "bars.py";
    WriteFile(script,
        "import sys, xml.etree.ElementTree as ET\n"
        "ns = {'s': 'http://www.w3.org/2000/svg'}\n"
        "root = ET.parse(sys.argv[1]).getroot()\n"
        "for g in ('units', 'formations'):\n"
        "    bars = root.findall(\".//s:g[@class='%s']/s:rect[@class='bar']\" % g, ns)\n"
        "    print(g, ' '.join(sorted(b.get('data-slot') for b in bars)))\n"
        "    for b in bars:\n"
        "        print(b.find('s:title', ns).text.split('\\n')[0])\n");
    const std::string command
        = "python3 " + script.string() + " " + svg.string() + " > " + (tmp / "out").string();
    ASSERT_EQ(std::system(command.c_str()), 0) << ReadFile(svg);
    EXPECT_EQ(ReadFile(tmp / "out"),
        "units 1 3 4\n"
        "Wolf\n"
        "A<b> & \"c\" \xC3\xA9\n"
        "Odd\n"
        "formations 2\n"
        "Rifle Coy\n");
}

TEST(CliTimeline, RefusesBadCommandLinesAndWritesNothing)
{
    TempDir tmp;
    const fs::path in = Sample(tmp);
    const std::string out = (tmp / "t.svg").string();
    const std::vector<std::vector<std::string>> lines = {
        { "timeline", in.string() },
        { "timeline", "-o", out },
        { "timeline", in.string(), "-o", out, "--format", "png" },
        { "timeline", in.string(), "-o", out, "--nation", "x" },
        { "timeline", in.string(), "-o", in.string() },
    };
    for (const auto& line : lines) {
        auto r = RunCli(line);
        EXPECT_EQ(r.status, 2) << line.back();
        EXPECT_NE(r.err.find("Try 'tarnwick-cli timeline --help'"), std::string::npos) << r.err;
    }
    auto missing = RunCli({ "timeline", (tmp / "none.obf").string(), "-o", out });
    EXPECT_EQ(missing.status, 1);
    EXPECT_FALSE(fs::exists(out));
}

} // namespace
