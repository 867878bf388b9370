// check and where-used from the command line: a folder of a good, a bad and an
// unreadable file, the exit statuses and the CSV rows.

#include "clirunner.h"

#include "core/data/records.h"
#include "core/data/tarnio.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

using clitest::RunCli;
using clitest::TempDir;
namespace fs = std::filesystem;
using tarnwick::core::TOobData;

// Weapon 1, units 1 and 2 carrying it, formation 1 holding both units.
std::unique_ptr<TOobData> Good()
{
    auto d = std::make_unique<TOobData>();
    d->weapons[1].name = "Rifle";
    for (int u : { 1, 2 }) {
        auto& unit = d->units[static_cast<std::size_t>(u)];
        unit.name = u == 1 ? "Rifle squad" : "Scouts, mounted";
        unit.unitClass = 1;
        unit.weapon = { 1, 0, 0, 0 };
        unit.yearAvail = 40;
        unit.yearUnavail = 100;
        unit.monthAvail = 1;
        unit.monthUnavail = 12;
    }
    auto& f = d->formations[1];
    f.name = "Platoon";
    f.formType = 1;
    f.slot = { 1, 2, 0, 0, 0, 0, 0, 0, 0, 0 };
    f.yearAvail = 40;
    f.yearUnavail = 100;
    f.monthAvail = 1;
    f.monthUnavail = 12;
    return d;
}

void Write(const fs::path& path, TOobData& data, int nation)
{
    clitest::WriteFile(path, tarnwick::core::EncodeOobFile(data, static_cast<std::uint16_t>(nation)));
}

} // namespace

TEST(CliCheck, ReportsEveryFileOfAFolderAndItsWorstOutcome)
{
    TempDir dir;
    Write(dir / "obat001.obf", *Good(), 1);
    auto bad = Good();
    bad->units[2].weapon = { 1, 3, 0, 0 }; // weapon 3 is empty
    bad->formations[1].slot[2] = 650;
    Write(dir / "OBAT002.OBF", *bad, 2); // found in any letter case
    fs::create_directory(dir / "obat003.obf"); // cannot be read as a file
    clitest::WriteFile(dir / "notes.txt", "not an order-of-battle file");

    const std::string folder = dir.path().string();
    auto csv = RunCli({ "check", folder, "--format", "csv" });
    EXPECT_EQ(csv.status, 2) << csv.err;
    EXPECT_EQ(csv.out,
        "file,severity,rule,table,slot,name,message\n"
        "OBAT002.OBF,error,weapon-empty,units,2,\"Scouts, mounted\",\"weapon 2 is weapon 3, which is "
        "empty\"\n"
        "OBAT002.OBF,error,member-invalid,formations,1,Platoon,\"member 3 is 650, which names no unit "
        "(1..599)\"\n");
    EXPECT_NE(csv.err.find("obat003.obf"), std::string::npos) << csv.err;

    struct Case {
        std::vector<std::string> args;
        int status;
        std::string out; // the whole of standard output, or its last line
    } cases[] = {
        { { "check", (dir / "obat001.obf").string() }, 0, "0 errors, 0 warnings in 1 file\n" },
        { { "check", (dir / "OBAT002.OBF").string(), "--nation", "7" }, 1,
            "2 errors, 0 warnings in 1 file\n" },
        { { "check", (dir / "obat009.obf").string() }, 2,
            "" }, // a file that cannot be read is not "0 errors"
        { { "where-used", (dir / "obat001.obf").string(), "--weapon", "1", "--format", "csv" }, 0,
            "table,slot,name,field\nunits,1,Rifle squad,weapon 1\nunits,2,\"Scouts, mounted\",weapon 1\n" },
        { { "where-used", (dir / "obat001.obf").string(), "--unit=2" }, 0,
            "formations 1 \"Platoon\" member 2\n" },
        { { "where-used", (dir / "obat001.obf").string(), "--formation", "1" }, 0,
            "Nothing names formation 1\n" },
        { { "where-used", (dir / "obat001.obf").string(), "--weapon", "250" }, 2, "" },
        { { "where-used", (dir / "obat001.obf").string(), "--weapon", "1", "--unit", "1" }, 2, "" },
        { { "where-used", (dir / "obat001.obf").string() }, 2, "" },
        { { "check", folder, "--nation", "1" }, 2, "" },
        { { "check", folder, "--format", "xml" }, 2, "" },
    };
    for (const Case& c : cases) {
        const auto r = RunCli(c.args);
        const std::string where = c.args[0] + " " + c.args.back();
        EXPECT_EQ(r.status, c.status) << where << "\n" << r.err;
        const std::size_t lastLine = r.out.rfind('\n', r.out.size() >= 2 ? r.out.size() - 2 : 0);
        const bool whole = c.args[0] == "where-used" || c.out.empty();
        EXPECT_EQ(whole || lastLine == std::string::npos ? r.out : r.out.substr(lastLine + 1), c.out)
            << where;
    }
}
