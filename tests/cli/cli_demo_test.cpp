// The sample folder: files that load, consistent records, settings naming everything used.

#include "clirunner.h"

#include "core/data/records.h"
#include "core/data/settings.h"
#include "core/data/tarnio.h"
#include "core/demo/demo.h"
#include "core/rules/unitrules.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <set>
#include <string>

namespace {

using clitest::ReadFile;
using clitest::RunCli;
using clitest::TempDir;
namespace fs = std::filesystem;
using namespace tarnwick::core;

TEST(CliMakeDemo, WritesLoadableFilesAndSettingsThatNameEverythingUsed)
{
    TempDir tmp;
    const fs::path dir = tmp / "nested" / "demo";
    auto r = RunCli({ "make-demo", dir.string() });
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("Wrote " + clitest::ShownAbsolute(dir / "obat012.obf") + "\n"), std::string::npos)
        << r.out;

    const std::string iniText = ReadFile(dir / "TWFTK.ini");
    EXPECT_NE(iniText.find("\r\nDefaultDir=" + clitest::ShownAbsolute(dir) + "\r\n"), std::string::npos)
        << iniText;
    EXPECT_EQ(iniText.find('\n'), iniText.find("\r\n") + 1); // CR LF lines
    EXPECT_NE(ReadFile(dir / "README.txt").find("SAMPLE DATA"), std::string::npos);
    const Settings settings = readinifile(dir / "TWFTK.ini");
    EXPECT_EQ(settings.transparentColour, 240);
    EXPECT_EQ(settings.defaultDir, clitest::ShownAbsolute(dir));

    const std::vector<int> nations = DemoNations();
    ASSERT_GE(nations.size(), 3u);
    for (int nation : nations) {
        SCOPED_TRACE(nation);
        auto data = std::make_unique<TOobData>();
        LoadResult load = LoadOobPath(*data, static_cast<std::uint16_t>(nation), dir / OobFileName(nation));
        ASSERT_TRUE(load.ok());
        EXPECT_EQ(load.size, LoadResult::Size::Exact);
        EXPECT_NE(data->comment.find("SAMPLE DATA"), std::string::npos);
        EXPECT_NE(settings.names.nationNames[nation], kNoIniFile);

        int units = 0;
        for (int s = 1; s <= kUnitSlots; ++s) {
            const TOobUnit& u = data->units[s];
            if (u.name.empty())
                continue;
            ++units;
            EXPECT_NE(settings.names.unitClassNames[u.unitClass], kNoIniFile) << u.name;
            EXPECT_NE(settings.names.nationNames.at(u.nation), kNoIniFile) << u.name;
            for (int w : u.weapon)
                EXPECT_TRUE(w == 0 || (IsWeaponSlot(w) && !data->weapons[w].name.empty())) << u.name;
        }
        EXPECT_GE(units, 15);
        // A deleted unit of the nation, whose number the Units page shows red, as the README says.
        EXPECT_TRUE(data->units[13].name.empty());
        EXPECT_EQ(UnitNumberTint(data->units[13].name, data->units[13].nation, nation), UnitTint::Red);

        std::set<int> formationTypes;
        for (int s = 1; s <= kFormationSlots; ++s) {
            const TOobFormation& f = data->formations[s];
            if (f.name.empty())
                continue;
            formationTypes.insert(f.formType);
            EXPECT_NE(settings.names.nationNames.at(f.nation), kNoIniFile) << f.name;
            EXPECT_TRUE(IsUnitSlot(f.slot[0]) && !data->units[f.slot[0]].name.empty()) << f.name;
            for (std::uint16_t m : f.slot) {
                if (m == 0)
                    continue;
                if (m < 1000) {
                    EXPECT_TRUE(IsUnitSlot(m) && !data->units[m].name.empty()) << f.name;
                    continue;
                }
                // Only companies and the Bn HQ hold sub-formations, never companies;
                // a second-rate company holds sections only.
                ASSERT_TRUE(IsSubFormationMember(m)) << f.name;
                const TOobFormation& sub = data->formations[m - 1000];
                EXPECT_FALSE(sub.name.empty()) << f.name;
                EXPECT_TRUE(f.formType == 2 || f.formType == 3 || f.formType == 5) << f.name;
                EXPECT_TRUE(sub.formType != 2 && sub.formType != 3 && sub.formType != 5) << f.name;
                if (f.formType == 3) {
                    EXPECT_EQ(sub.formType, 0) << f.name;
                }
            }
        }
        EXPECT_EQ(data->formations[1].formType, 5);
        EXPECT_EQ(formationTypes, (std::set<int> { 0, 1, 2, 3, 4, 5 })); // every type has an example
    }

    // Deterministic: a second folder holds the same order-of-battle files.
    const fs::path again = tmp / "again";
    ASSERT_EQ(RunCli({ "make-demo", again.string() }).status, 0);
    for (int nation : nations)
        EXPECT_EQ(ReadFile(dir / OobFileName(nation)), ReadFile(again / OobFileName(nation)));

    // The sample settings name the nation in a file's info.
    auto info
        = RunCli({ "--ini", (dir / "TWFTK.ini").string(), "info", (dir / OobFileName(nations[0])).string() });
    ASSERT_EQ(info.status, 0) << info.err;
    EXPECT_NE(info.out.find("(" + settings.names.nationNames[nations[0]] + ")"), std::string::npos)
        << info.out;
}

TEST(CliMakeDemo, AFileInTheWayIsReported)
{
    TempDir tmp;
    clitest::WriteFile(tmp / "plain", std::string("x"));
    auto r = RunCli({ "make-demo", (tmp / "plain" / "demo").string() });
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find(clitest::Shown(tmp / "plain")), std::string::npos) << r.err;
}

} // namespace
