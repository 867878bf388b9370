#include "core/rules/unitrules.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

using namespace tarnwick::core;

namespace {

std::size_t FieldIndex(const char* control)
{
    const auto& fields = UnitNumberFields();
    for (std::size_t i = 0; i < fields.size(); ++i)
        if (std::strcmp(fields[i].control, control) == 0)
            return i;
    ADD_FAILURE() << "no field " << control;
    return 0;
}

} // namespace

TEST(UnitRules, EveryClassHasOneOfSevenCategories)
{
    for (int c = 0; c <= 255; ++c) {
        EXPECT_GE(UnitClassCategory(c), 1) << c;
        EXPECT_LE(UnitClassCategory(c), 7) << c;
    }
    // The first and last class of each category's runs.
    const std::vector<std::pair<int, int>> cases = { { 0, 1 }, { 11, 1 }, { 22, 1 }, { 221, 1 }, { 255, 1 },
        { 23, 2 }, { 25, 2 }, { 127, 2 }, { 220, 2 }, { 5, 3 }, { 16, 3 }, { 202, 3 }, { 1, 4 }, { 63, 4 },
        { 101, 4 }, { 218, 4 }, { 2, 5 }, { 29, 5 }, { 213, 5 }, { 26, 6 }, { 109, 6 }, { 183, 6 }, { 10, 7 },
        { 156, 7 }, { 211, 7 }, { 256, 1 }, { -1, 1 }, { 1000, 1 } };
    for (const auto& [unitClass, category] : cases)
        EXPECT_EQ(UnitClassCategory(unitClass), category) << unitClass;
}

TEST(UnitRules, ElectronicWarfareLabel)
{
    struct Case {
        const char* unitClass;
        const char* ew;
        const char* note; // nullptr: the label stays hidden and the colours normal
    };
    const std::vector<Case> cases = {
        { "0", "3", "VIRSS - 1 Shots" },
        { "0", "4", "VIRSS - 2 Shots" },
        { "0", "2", "ARENA - 2 Shots" },
        { " 0 ", " 1", "ARENA - 1 Shots" },
        { "133", "4", "VIRSS - 2 Shots" }, // category 2
        { "26", "1", "ARENA - 1 Shots" }, // category 6
        { "0", "5", nullptr },
        { "0", "0", nullptr },
        { "1", "3", nullptr }, // category 4
        { "22", "3", nullptr }, // category 1 but left out
        { "216", "3", nullptr },
        { "abc", "3", nullptr },
        { "0", "x", nullptr },
        { "0", "", nullptr },
    };
    for (const Case& c : cases) {
        const FieldLook look = EwLook(c.unitClass, c.ew);
        SCOPED_TRACE(std::string(c.unitClass) + "/" + c.ew);
        EXPECT_EQ(look.noteShown, c.note != nullptr);
        EXPECT_EQ(look.noteText, c.note ? c.note : "");
        EXPECT_EQ(look.edit, c.note ? UnitTint::Blue : UnitTint::Normal);
        EXPECT_EQ(look.caption, c.note ? UnitTint::Blue : UnitTint::Navy);
    }
}

TEST(UnitRules, ThresholdLabels)
{
    const FieldLook normalVision { UnitTint::Normal, UnitTint::Navy, "Vision", false, "" };
    EXPECT_EQ(VisionLook("39"), normalVision);
    EXPECT_EQ(VisionLook("-"), normalVision);
    EXPECT_EQ(VisionLook("40"), (FieldLook { UnitTint::Blue, UnitTint::Blue, "TI/GSR", false, "" }));

    EXPECT_EQ(FireControlLook("99").captionText, "Fire control");
    EXPECT_EQ(FireControlLook("99").edit, UnitTint::Normal);
    EXPECT_EQ(
        FireControlLook("100"), (FieldLook { UnitTint::Blue, UnitTint::Blue, "AA Radar 1", false, "" }));
    EXPECT_EQ(FireControlLook(" 130").captionText, "AA Radar 31");
    EXPECT_EQ(FireControlLook("1x0").captionText, "Fire control");

    EXPECT_EQ(SurvivabilityTint("6"), UnitTint::Normal);
    EXPECT_EQ(SurvivabilityTint("7"), UnitTint::Maroon);
    EXPECT_EQ(SurvivabilityTint(""), UnitTint::Normal);
    EXPECT_EQ(ReactiveArmourTint("10"), UnitTint::Normal);
    EXPECT_EQ(ReactiveArmourTint("11"), UnitTint::Blue);
    EXPECT_EQ(ReactiveArmourTint("1-1"), UnitTint::Normal);
}

TEST(UnitRules, NationAndSlotNumberColours)
{
    EXPECT_EQ(NationLookFor("Tiger", "12", "5", 12).label, UnitTint::Navy);
    EXPECT_EQ(NationLookFor("", "0", "0", 12).edit, UnitTint::Normal); // an empty unit
    EXPECT_EQ(NationLookFor("", "0", "216", 12).edit, UnitTint::Maroon);
    EXPECT_EQ(NationLookFor("Tiger", "0", "0", 12).label, UnitTint::Maroon);
    EXPECT_EQ(NationLookFor("Tiger", "7", "5", 12).edit, UnitTint::Maroon);

    EXPECT_EQ(UnitNumberText(5), "Unit 005");
    EXPECT_EQ(UnitNumberText(120), "Unit 120");
    EXPECT_EQ(UnitNumberTint(" \t", 12, 12), UnitTint::Red);
    EXPECT_EQ(UnitNumberTint("", 3, 12), UnitTint::Navy);
    EXPECT_EQ(UnitNumberTint("Tiger", 12, 12), UnitTint::Navy);
}

TEST(UnitRules, WeaponNameLabel)
{
    std::array<TOobWeapon, kWeaponSlots + 1> weapons {};
    weapons[249].name = " 88mm ";
    EXPECT_EQ(WeaponNameFor(0, weapons).text, "");
    EXPECT_EQ(WeaponNameFor(249, weapons).text, " 88mm ");
    EXPECT_EQ(WeaponNameFor(250, weapons).text, "Invalid weapon number");
    EXPECT_EQ(WeaponNameFor(255, weapons).tint, UnitTint::Maroon);
}

TEST(UnitRules, EveryFieldSurvivesShowAndRead)
{
    TOobUnit unit;
    unit.name = "Panzer IV";
    unit.reserved1 = 7;
    unit.reserved2 = 9;
    // Give every field its own value so a field read into the wrong place shows.
    const auto& fields = UnitNumberFields();
    for (std::size_t i = 0; i < fields.size(); ++i)
        fields[i].set(unit, std::min(fields[i].max, fields[i].min + static_cast<int>(i) + 1));
    const UnitReadResult read = ReadUnit(unit, unit.name, UnitTexts(unit));
    ASSERT_TRUE(read.unit);
    EXPECT_EQ(*read.unit, unit);
}

TEST(UnitRules, ReadingClampsEveryField)
{
    struct Case {
        const char* control;
        const char* text;
        int stored;
    };
    const std::vector<Case> cases = {
        { "UnitCostEdit", "1a2", 12 },
        { "UnitCostEdit", "1000", 999 },
        { "UnitCrewEdit", "-7", 0 },
        { "UnitMonthAvailEdit", "0", 1 },
        { "UnitMonthAvailEdit", "", 1 },
        { "UnitMonthUnAvailEdit", "13", 12 },
        { "UnitYrAvailEdit", "150", 120 },
        { "UnitSpeedEdit", "", 0 },
        { "UnitWpn3Edit", "255", 249 },
        { "UNITHEATTSEdit", "300", 255 },
        { "UnitLBMEdit", "99999", 65535 },
        { "UnitIconEdit", "70000", 65535 },
        { "UnitLBMEdit", "123456789", 65535 },
        { "UnitNationEdit", "99", 99 },
    };
    for (const Case& c : cases) {
        UnitFieldTexts texts = BlankUnitTexts();
        const std::size_t i = FieldIndex(c.control);
        texts[i] = c.text;
        const UnitReadResult read = ReadUnit(TOobUnit {}, "", texts);
        ASSERT_TRUE(read.unit) << c.control;
        EXPECT_EQ(UnitNumberFields()[i].get(*read.unit), c.stored) << c.control << " '" << c.text << "'";
    }
}

TEST(UnitRules, ReadingTrimsAndCutsTheName)
{
    EXPECT_EQ(ReadUnit({}, "  Tiger I \t", BlankUnitTexts()).unit->name, "Tiger I");
    EXPECT_EQ(ReadUnit({}, "ABCDEFGHIJKLMNO", BlankUnitTexts()).unit->name, "ABCDEFGHIJKLMNO");
    EXPECT_EQ(ReadUnit({}, " ABCDEFGHIJKLMNOP", BlankUnitTexts()).unit->name, "ABCDEFGHIJKLMNO");
}

TEST(UnitRules, ATextThatIsNoNumberStoresNothingAndNamesTheField)
{
    UnitFieldTexts texts = BlankUnitTexts();
    texts[FieldIndex("UnitCrewEdit")] = "5-";
    texts[FieldIndex("UnitERATopEdit")] = "--";
    const UnitReadResult read = ReadUnit({}, "Tiger", texts);
    EXPECT_FALSE(read.unit);
    EXPECT_EQ(read.message, "Crew: '5-' is not a valid integer value\r\n\r\n Unit data not saved!");
}

TEST(UnitRules, AnErasedPageReadsAsTheBlankUnit)
{
    TOobUnit expected;
    expected.unitClass = 216;
    expected.yearAvail = 48;
    expected.yearUnavail = 120;
    expected.monthAvail = 1;
    expected.monthUnavail = 12;
    EXPECT_EQ(*ReadUnit({}, "", BlankUnitTexts()).unit, expected);
}

TEST(UnitRules, WeaponCheck)
{
    std::array<TOobWeapon, kWeaponSlots + 1> weapons {};
    weapons[1].weaponClass = 16; // anti-radiation missile
    weapons[2].weaponClass = 15; // cluster minelets
    weapons[3].weaponClass = 11; // air weapon, a bomb
    weapons[3].range = 1;
    weapons[4].weaponClass = 11; // air weapon with range
    weapons[4].range = 2;
    weapons[5].weaponClass = 6;

    const std::string arm
        = "The weapon in slot 1 is ANTI RADIATION MISSILE type\r\nhowever the unit is NOT a Wild "
          "Weasel aircraft\r\n\r\n Unit data not saved!";
    const std::string mine
        = "The weapon in slot 2 is CLUSTER MINE type\r\nhowever the unit is NOT a rocket or tube "
          "minelet battery type\r\n\r\n Unit data not saved!";
    const std::string advisory
        = "The weapon in slot 1 is air weapon class 11\r\nhowever the unit is NOT a Level Bomber, Gunship, "
          "helicopter or Wild Weasel aircraft\r\n\r\n ADVISORY - non air units do not use class 11 weapons!";
    const std::string bomber
        = "The weapon in slot 1 is air weapon class 11\r\nhowever the weapon is not a bomb ( "
          "range of 1)\r\n\r\nLevel Bomber will only drop CBU, bombs or napalm!\r\n\r\n Unit "
          "data not saved!";

    struct Case {
        const char* unitClass;
        std::array<std::string, 4> slots;
        bool passed;
        std::vector<WeaponFinding> findings;
    };
    const std::vector<Case> cases = {
        { "214", { "1", "", "", "" }, true, {} }, { "5", { "1", "", "", "" }, false, { { true, arm } } },
        { "x", { " 1 ", "", "", "" }, false, { { true, arm } } }, { "210", { "", "2", "", "" }, true, {} },
        { "211", { "", "2", "", "" }, true, {} },
        { "5", { "1", "2", "", "" }, false, { { true, arm }, { true, mine } } },
        { "62", { "3", "", "", "" }, true, {} }, { "62", { "4", "", "", "" }, false, { { true, bomber } } },
        { "5", { "3", "", "", "" }, true, { { false, advisory } } },
        { "5", { "4", "", "", "" }, true, { { false, advisory } } }, { "44", { "4", "", "", "" }, true, {} },
        { "5", { "5", "0", "250", "abc" }, true, {} }, // no rule, no weapon, no record, no number
    };
    for (const Case& c : cases) {
        const WeaponCheck check = CheckUnitWeapons(c.unitClass, c.slots, weapons);
        SCOPED_TRACE(std::string(c.unitClass) + " " + c.slots[0] + "," + c.slots[1]);
        EXPECT_EQ(check.passed, c.passed);
        EXPECT_EQ(check.findings, c.findings);
    }
}
