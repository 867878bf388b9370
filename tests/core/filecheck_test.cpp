#include "artfixture.h"
#include "oobfixture.h"

#include "core/rules/filecheck.h"
#include "core/rules/move.h"
#include "core/rules/whereused.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

using namespace tarnwick::core;
using namespace tarnwick::testing;

namespace {

constexpr int kAirClass = 44; // shows one big icon: its hull frame

// Weapons 1 (a gun) and 2 (an anti-radiation missile); units 1..12 and
// formations 1..10 as the tests below plant them. Every unit carries gun 1,
// picture 1 and icon 1 unless a test says otherwise.
std::unique_ptr<TOobData> CleanData()
{
    auto d = std::make_unique<TOobData>();
    d->weapons[1].name = "Gun";
    d->weapons[1].weaponClass = 1;
    d->weapons[2].name = "ARM";
    d->weapons[2].weaponClass = 16;
    for (int u = 1; u <= 12; ++u) {
        TOobUnit& unit = d->units[static_cast<std::size_t>(u)];
        unit.name = "Unit " + std::to_string(u);
        unit.unitClass = kAirClass;
        unit.weapon = { 1, 0, 0, 0 };
        unit.lbm = 1;
        unit.icon = 1;
        unit.yearAvail = 50;
        unit.monthAvail = 1;
        unit.yearUnavail = 100;
        unit.monthUnavail = 12;
    }
    for (int f = 1; f <= 10; ++f) {
        TOobFormation& formation = d->formations[static_cast<std::size_t>(f)];
        formation.name = "Formation " + std::to_string(f);
        formation.formType = 1;
        formation.slot = { 1, 2, 0, 0, 0, 0, 0, 0, 0, 0 };
        formation.yearAvail = 50;
        formation.monthAvail = 1;
        formation.yearUnavail = 100;
        formation.monthUnavail = 12;
    }
    d->formations[1].formType = 2; // a company holding the platoon in slot 2
    d->formations[1].slot[2] = 1002;
    return d;
}

// A game folder with picture 1, broken picture 2, icon file 1 (frames 0 and 1)
// and broken icon file 2; icon numbers 1, 8, 9 and 10 show entries 100, 800
// (turret 801), 105 and 200.
struct ArtFolder {
    TempDir dir;
    IconFrameTable frames;
    ArtFolder()
    {
        std::filesystem::create_directory(dir / "pic");
        std::filesystem::create_directory(dir / "shp");
        LbmParts picture;
        picture.body = Bytes(32, 3);
        WriteBytes(dir / "pic" / "Pm00001.lbm", BuildLbm(picture));
        picture.planes = 4;
        WriteBytes(dir / "pic" / "Pm00002.lbm", BuildLbm(picture));
        WriteBytes(dir / "shp" / "Icon0001.shp", BuildShp({ {}, {} }));
        WriteBytes(dir / "shp" / "Icon0002.shp", Bytes { 'j', 'u', 'n', 'k', 0, 0, 0, 0 });
        frames.set(1, { 100, -1 });
        frames.set(8, { 800, 801 });
        frames.set(9, { 105, -1 });
        frames.set(10, { 200, -1 });
    }
};

void Unit(TOobData& d, int slot, const char* name, std::array<std::uint8_t, 4> weapons)
{
    d.units[static_cast<std::size_t>(slot)].name = name;
    d.units[static_cast<std::size_t>(slot)].weapon = weapons;
}

void Formation(TOobData& d, int slot, const char* name, std::array<std::uint16_t, 10> members)
{
    d.formations[static_cast<std::size_t>(slot)].name = name;
    d.formations[static_cast<std::size_t>(slot)].slot = members;
}

struct Planted {
    Severity severity;
    const char* rule;
    PasteKind table;
    int slot;
    const char* message;
};

} // namespace

TEST(FileCheck, FindsEachPlantedProblemOnceAndNothingInACleanFile)
{
    ArtFolder art;
    {
        auto clean = CleanData();
        ArtCheck check(art.dir.path(), art.frames);
        EXPECT_EQ(CheckFile(*clean, &check), std::vector<CheckFinding> {});
    }

    auto d = CleanData();
    auto unit = [&](int s) -> TOobUnit& { return d->units[static_cast<std::size_t>(s)]; };
    auto form = [&](int s) -> TOobFormation& { return d->formations[static_cast<std::size_t>(s)]; };
    unit(2).weapon = { 3, 0, 0, 0 }; // weapon 3 is empty
    unit(3).weapon = { 1, 251, 0, 0 };
    unit(4).weapon = { 2, 0, 0, 0 }; // a missile only a Wild Weasel may carry
    unit(5).yearAvail = 90;
    unit(5).monthAvail = 5;
    unit(5).yearUnavail = 80;
    unit(6).monthAvail = 13;
    unit(7).lbm = 7;
    unit(8).icon = 8;
    unit(8).unitClass = 0; // a turret and a hull, both in the missing file
    unit(9).icon = 9;
    unit(10).lbm = 2;
    unit(11).icon = 10;
    unit(12).name = "  "; // empty: never checked, yet named below
    unit(12).weapon = { 3, 250, 0, 0 };
    form(3).slot = { 1, 12, 1050, 0, 0, 0, 0, 0, 0, 0 };
    form(5).slot = { 1, 650, 1450, 1000, 0, 0, 0, 0, 0, 0 };
    form(6).slot = { 1, 1002, 0, 0, 0, 0, 0, 0, 0, 0 }; // a platoon holding a platoon
    form(7).formType = 2;
    form(7).slot = { 1, 1008, 0, 0, 0, 0, 0, 0, 0, 0 };
    form(8).formType = 0;
    form(8).slot = { 1, 1007, 0, 0, 0, 0, 0, 0, 0, 0 };
    form(9).formType = 2;
    form(9).slot = { 1, 1009, 0, 0, 0, 0, 0, 0, 0, 0 };
    form(10).monthUnavail = 0;
    form(10).yearAvail = 0;
    form(10).yearUnavail = 130;

    using enum Severity;
    constexpr auto U = PasteKind::Unit;
    constexpr auto F = PasteKind::Formation;
    const Planted planted[] = {
        { Error, "weapon-empty", U, 2, "weapon 1 is weapon 3, which is empty" },
        { Error, "weapon-invalid", U, 3, "weapon 2 is 251, which names no weapon (1..249)" },
        { Error, "unit-weapon-rule", U, 4,
            "weapon 1 is weapon 2 (class 16), unit class 44: The weapon in slot 1 is ANTI RADIATION MISSILE "
            "type, however the unit is NOT a Wild Weasel aircraft" },
        { Warning, "dates", U, 5, "available 5/90 is after unavailable 12/80" },
        { Warning, "month", U, 6, "month available 13 is outside 1..12" },
        { Warning, "picture-missing", U, 7, "picture 7: Pm00007.lbm is not in pic" },
        { Warning, "icon-missing", U, 8, "icon 8 (entry 801): Icon0008.shp is not in shp" },
        { Warning, "icon-missing", U, 9, "icon 9 (entry 105): Icon0001.shp has no frame 5" },
        { Error, "art-broken", U, 10, "picture 2: Pm00002.lbm: Only supports 8 bit planes" },
        { Error, "art-broken", U, 11, "icon 10 (entry 200): Icon0002.shp: Invalid file" },
        { Error, "member-empty", F, 3, "member 2 is unit 12, which is empty" },
        { Error, "member-empty", F, 3, "member 3 is formation 50 (1050), which is empty" },
        { Error, "member-invalid", F, 5, "member 2 is 650, which names no unit (1..599)" },
        { Error, "member-invalid", F, 5, "member 3 is 1450, which names no formation (1001..1399)" },
        { Error, "member-invalid", F, 5, "member 4 is 1000, which names no formation (1001..1399)" },
        { Error, "formation-rule", F, 6,
            "member 2 is formation 2 (type 1) in a formation of type 1: The item in slot 2 is not a UNIT" },
        { Error, "formation-cycle", F, 7, "formation 7 holds itself: 7 -> 8 -> 7" },
        { Error, "formation-rule", F, 8,
            "member 2 is formation 7 (type 2) in a formation of type 0: The item in slot 2 is not a UNIT" },
        { Error, "formation-rule", F, 9,
            "member 2 is formation 9 (type 2) in a formation of type 2: The Formation In slot 2 cannot be a "
            "COMPANY" },
        { Error, "formation-cycle", F, 9, "formation 9 holds itself: 9 -> 9" },
        { Warning, "month", F, 10, "month unavailable 0 is outside 1..12" },
        { Warning, "dates", F, 10, "year available 0 is outside 1..120" },
        { Warning, "dates", F, 10, "year unavailable 130 is outside 1..120" },
    };
    std::vector<CheckFinding> expected;
    for (const Planted& p : planted)
        expected.push_back({ p.severity, p.rule, p.table, p.slot,
            p.table == U ? unit(p.slot).name : form(p.slot).name, p.message });

    ArtCheck check(art.dir.path(), art.frames);
    const std::vector<CheckFinding> found = CheckFile(*d, &check);
    ASSERT_EQ(found.size(), expected.size());
    for (std::size_t i = 0; i < found.size(); ++i)
        EXPECT_EQ(found[i], expected[i]) << i << ": " << found[i].rule << " " << found[i].message;

    // Without a pic or shp folder (or without an art check) nothing is said about artwork.
    TempDir bare;
    ArtCheck noArt(bare.path(), art.frames);
    std::erase_if(expected, [](const CheckFinding& f) {
        return f.rule == "picture-missing" || f.rule == "icon-missing" || f.rule == "art-broken";
    });
    EXPECT_EQ(CheckFile(*d, &noArt), expected);
    EXPECT_EQ(CheckFile(*d), expected);
}

TEST(FileCheck, CountsAndTexts)
{
    const std::vector<CheckFinding> findings = { { Severity::Error, "a", PasteKind::Unit, 1, "", "" },
        { Severity::Warning, "b", PasteKind::Unit, 1, "", "" },
        { Severity::Error, "c", PasteKind::Unit, 1, "", "" } };
    const CheckCounts counts = CountFindings(findings);
    EXPECT_EQ(CheckStatusText(counts), "Check: 2 errors, 1 warning");
    EXPECT_EQ(CheckSummaryText({ 1, 0 }, 1), "1 error, 0 warnings in 1 file");
    EXPECT_EQ(CheckSummaryText(counts, 99), "2 errors, 1 warning in 99 files");
    EXPECT_EQ(CsvField("T-55"), "T-55");
    EXPECT_EQ(CsvField("a, \"b\""), "\"a, \"\"b\"\"\"");
}

TEST(WhereUsed, ListsTheFieldsOfNamedRecordsThatNameTheItem)
{
    auto d = std::make_unique<TOobData>();
    Unit(*d, 1, "Tank", { 12, 12, 0, 0 });
    Unit(*d, 2, "Truck", { 0, 0, 0, 12 });
    Unit(*d, 3, "", { 12, 0, 0, 0 }); // empty: names nothing
    Formation(*d, 1, "Company", { 12, 1005, 0, 0, 0, 0, 0, 0, 0, 1005 });
    Formation(*d, 2, "Platoon", { 1012, 0, 0, 0, 0, 0, 0, 0, 0, 0 });
    Formation(*d, 3, " ", { 12, 1005, 0, 0, 0, 0, 0, 0, 0, 0 });
    using K = PasteKind;
    struct Case {
        K kind;
        int slot;
        std::vector<RecordUse> uses;
        int records;
    } cases[] = {
        { K::Weapon, 12, { { K::Unit, 1, 1 }, { K::Unit, 1, 2 }, { K::Unit, 2, 4 } }, 2 },
        { K::Unit, 12, { { K::Formation, 1, 1 } }, 1 },
        { K::Formation, 5, { { K::Formation, 1, 2 }, { K::Formation, 1, 10 } }, 1 },
        { K::Formation, 12, { { K::Formation, 2, 1 } }, 1 },
        { K::Unit, 5, {}, 0 },
        { K::Weapon, 0, {}, 0 }, // "no weapon" is not an item
        { K::Formation, 0, {}, 0 },
    };
    for (const Case& c : cases) {
        EXPECT_EQ(WhereUsed(*d, c.kind, c.slot), c.uses) << TableName(c.kind) << " " << c.slot;
        EXPECT_EQ(RecordsNaming(*d, c.kind, c.slot), c.records) << TableName(c.kind) << " " << c.slot;
    }
    EXPECT_EQ(UseFieldText({ K::Unit, 1, 2 }), "weapon 2");
    EXPECT_EQ(UseFieldText({ K::Formation, 1, 10 }), "member 10");
}

TEST(WhereUsed, HeadingCountsUsesAndRecords)
{
    auto d = std::make_unique<TOobData>();
    d->weapons[12].name = "MG";
    d->units[7].name = "Tank";
    Unit(*d, 1, "Jeep", { 12, 12, 0, 0 });
    Unit(*d, 2, "Truck", { 0, 0, 0, 12 });
    Formation(*d, 3, "Platoon", { 7, 0, 0, 0, 0, 0, 0, 0, 0, 0 });
    using K = PasteKind;
    const struct {
        K kind;
        int slot;
        const char* heading;
    } cases[] = {
        { K::Weapon, 12, "Weapon 12 \"MG\": 3 uses in 2 units" },
        { K::Unit, 7, "Unit 7 \"Tank\": 1 use in 1 formation" },
        { K::Formation, 3, "Nothing names formation 3 \"Platoon\"" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(WhereUsedHeading(*d, c.kind, c.slot, WhereUsed(*d, c.kind, c.slot)), c.heading);
    EXPECT_EQ(CheckWindowText({}), "No problems found");
    EXPECT_EQ(CheckWindowText({ 0, 2 }), "0 errors, 2 warnings");
}
