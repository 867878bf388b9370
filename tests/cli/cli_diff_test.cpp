// diff, to-json and from-json: exit codes, and nothing written for a refused input.

#include "clirunner.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

using clitest::OobImage;
using clitest::ReadFile;
using clitest::RunCli;
using clitest::TempDir;
using clitest::WriteFile;
namespace fs = std::filesystem;

TEST(CliDiff, ExitStatusSaysEqualDifferentOrUnreadable)
{
    TempDir dir;
    OobImage a;
    a.weaponName(7, "VL-9 LMG");
    a.weaponName(9, "M60");
    a.unitName(12, "Scamp Mk2");
    a.u8(21480, 12, 4, 1, 7);
    OobImage b = a;
    b.u8(21480, 12, 4, 1, 9);
    b.u16(47280, 12, 2, 0, 180);
    WriteFile(dir / "a.obf", a.bytes);
    WriteFile(dir / "b.obf", b.bytes);
    const std::string pa = (dir / "a.obf").string();
    const std::string pb = (dir / "b.obf").string();

    auto same = RunCli({ "diff", pa, pa });
    EXPECT_EQ(same.status, 0);
    EXPECT_EQ(same.out, "");

    auto text = RunCli({ "diff", pa, pb });
    EXPECT_EQ(text.status, 1);
    EXPECT_EQ(text.out, "unit 12 Scamp Mk2: Weapon 2 7 (VL-9 LMG) -> 9 (M60); Cost 0 -> 180\n");

    auto csv = RunCli({ "diff", pa, pb, "--format", "csv" });
    EXPECT_EQ(csv.status, 1);
    EXPECT_EQ(csv.out,
        "table,slot,name,field,a,b\r\nunits,12,Scamp Mk2,Weapon 2,7 (VL-9 LMG),9 (M60)\r\n"
        "units,12,Scamp Mk2,Cost,0,180\r\n");

    auto missing = RunCli({ "diff", pa, (dir / "none.obf").string() });
    EXPECT_EQ(missing.status, 2);
    EXPECT_NE(missing.err.find("none.obf"), std::string::npos);
    EXPECT_EQ(RunCli({ "diff", pa }).status, 2);
    EXPECT_EQ(RunCli({ "diff", pa, pb, "--format", "xml" }).status, 2);
}

TEST(CliJson, RoundTripsAndRefusesAnEditedFileWithoutWriting)
{
    TempDir dir;
    OobImage img;
    img.unitName(12, "Scamp Mk2");
    img.bytes.push_back(0x42); // a long file keeps its extra byte
    WriteFile(dir / "in.obf", img.bytes);

    auto to = RunCli({ "to-json", (dir / "in.obf").string(), "-o", (dir / "in.json").string() });
    ASSERT_EQ(to.status, 0) << to.err;
    auto from = RunCli({ "from-json", (dir / "in.json").string(), "-o", (dir / "out.obf").string() });
    ASSERT_EQ(from.status, 0) << from.err;
    EXPECT_EQ(ReadFile(dir / "out.obf"), ReadFile(dir / "in.obf"));

    std::string json = ReadFile(dir / "in.json");
    json.replace(json.find("\"Crew\": 0"), 9, "\"Crew\": 300");
    WriteFile(dir / "bad.json", json);
    auto bad = RunCli({ "from-json", (dir / "bad.json").string(), "-o", (dir / "bad.obf").string() });
    EXPECT_EQ(bad.status, 1);
    EXPECT_NE(bad.err.find("Crew must be a whole number from 0 to 255, not 300; nothing written"),
        std::string::npos)
        << bad.err;
    EXPECT_NE(bad.err.find(": line "), std::string::npos);
    EXPECT_FALSE(fs::exists(dir / "bad.obf"));

    auto same = RunCli({ "to-json", (dir / "in.obf").string(), "-o", (dir / "in.obf").string() });
    EXPECT_EQ(same.status, 2);
    EXPECT_EQ(ReadFile(dir / "in.obf"), ReadFile(dir / "out.obf"));
}

} // namespace
