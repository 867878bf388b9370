#include "core/rules/formationrules.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace tarnwick::core;

namespace {

// Units 5 and 12; sub-formations 2 (section), 3 (platoon, four members),
// 4 (company), 6 (second-rate company), 7 (naval), 9 (Bn HQ).
std::unique_ptr<TOobData> Sample()
{
    auto oob = std::make_unique<TOobData>();
    oob->units[5].name = "Rifle Sect";
    oob->units[12].name = "Tank";
    auto formation = [&](int slot, const char* name, int type, std::array<std::uint16_t, 10> members) {
        TOobFormation& f = oob->formations[slot];
        f.name = name;
        f.formType = static_cast<std::uint8_t>(type);
        f.slot = members;
        f.monthAvail = 1;
        f.yearAvail = 45;
        f.monthUnavail = 12;
        f.yearUnavail = 120;
    };
    formation(2, "Sect", 0, { 5, 5 });
    formation(3, "Plt", 1, { 5, 5, 5, 12 });
    formation(4, "Coy", 2, { 5, 1003 });
    formation(6, "2nd Coy", 3, { 5 });
    formation(7, "Boats", 4, { 12, 12, 12 });
    formation(9, "HQ", 5, { 5 });
    return oob;
}

} // namespace

TEST(FormationRules, KindFollowsTheType)
{
    struct Case {
        int type, formation;
        bool takes, sections;
        const char* text;
    };
    const std::vector<Case> cases = {
        { 0, 4, false, false, "Platoon type formation (may only contain units)" },
        { 4, 4, false, false, "Platoon type formation (may only contain units)" },
        { 2, 4, true, false, "Company type formation (is allowed sub-formations of platoons or sections)" },
        { 5, 1, true, false,
            "First Formation (Battle Group HQ) - allowed sub-formations BUT NOT RECOMMENDED!" },
        { 2, 1, true, false,
            "First Formation (Battle Group HQ) - allowed sub-formations BUT NOT RECOMMENDED!" },
        { 3, 1, true, true, "Second Rate Company (is allowed sub-formations of sections only)" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.type) + " in formation " + std::to_string(c.formation));
        const FormationKind kind = UpdateFormationKind(c.type, c.formation);
        EXPECT_EQ(kind.takesSubFormations, c.takes);
        EXPECT_EQ(kind.sectionsOnly, c.sections);
        EXPECT_EQ(kind.labelCo, c.text);
    }
}

TEST(FormationRules, MemberRowLabels)
{
    const auto oob = Sample();
    const FormationKind platoon = UpdateFormationKind(1, 8);
    const FormationKind company = UpdateFormationKind(2, 8);
    const FormationKind secondRate = UpdateFormationKind(3, 8);
    struct Case {
        int slot, value;
        const FormationKind* kind;
        RowLabel name, date, type;
    };
    const RowLabel none;
    const RowLabel unit { "unit", false };
    const RowLabel badUnit { "Invalid unit number", true };
    const RowLabel badFormation { "Invalid formation number", true };
    const RowLabel inPlatoon { "ERROR - form in plt!", true };
    const RowLabel coInCo { "ERROR - Co in a Co!", true };
    const RowLabel notSection { "ERROR - Not a section!", true };
    const RowLabel dates { "1/45 to 12/120", false };
    const std::vector<Case> cases = {
        { 1, 0, &company, none, none, unit },
        { 1, 5, &company, { "Rifle Sect", false }, none, unit },
        { 1, 700, &company, badUnit, none, unit },
        { 1, 1002, &company, none, { "ERROR - form in slot 1!", true }, none },
        { 1, 1000, &platoon, none, { "ERROR - form in slot 1!", true }, none },
        { 2, 12, &platoon, { "Tank", false }, none, unit },
        { 2, 600, &platoon, badUnit, none, unit },
        { 2, -4, &platoon, badUnit, none, unit },
        { 3, 1004, &platoon, { "Coy", false }, none, inPlatoon },
        { 3, 1000, &platoon, badFormation, none, inPlatoon },
        { 3, 1003, &company, { "Plt", false }, dates, { "Platoon", false } },
        { 3, 1002, &company, { "Sect", false }, dates, { "Section", false } },
        { 3, 1007, &company, { "Boats", false }, dates, { "Naval", false } },
        { 4, 1004, &company, { "Coy", false }, none, coInCo },
        { 4, 1006, &company, { "2nd Coy", false }, none, coInCo },
        { 4, 1009, &company, { "HQ", false }, none, coInCo },
        { 5, 1003, &secondRate, { "Plt", false }, none, notSection },
        { 5, 1002, &secondRate, { "Sect", false }, dates, { "Section", false } },
        { 6, 1000, &company, badFormation, none, none },
        { 10, 1400, &company, badFormation, none, none },
        { 10, 9999, &secondRate, badFormation, none, none },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("slot " + std::to_string(c.slot) + " = " + std::to_string(c.value));
        const SlotLabels labels = UpdateSlotLabels(*oob, c.slot, c.value, *c.kind);
        EXPECT_EQ(labels.name, c.name) << labels.name.text;
        EXPECT_EQ(labels.date, c.date) << labels.date.text;
        EXPECT_EQ(labels.type, c.type) << labels.type.text;
    }
}

TEST(FormationRules, TotalsCountUnitsAndOneLevelOfSubFormations)
{
    const auto oob = Sample();
    struct Case {
        int member, total;
    };
    for (const Case& c : std::vector<Case> { { 0, 0 }, { -1, 0 }, { 5, 1 }, { 599, 1 }, { 700, 1 },
             { 999, 1 }, { 1000, 0 }, { 1003, 4 }, { 1004, 2 }, { 1399, 0 }, { 1400, 0 }, { 65535, 0 } })
        EXPECT_EQ(Totalise(*oob, c.member), c.total) << c.member;

    TOobFormation f;
    f.slot = { 12, 1003, 40 };
    EXPECT_EQ(FormationTotal(*oob, f), 6);
    f.slot = { 1005, 1004, 0, 1400, 1000, 650 };
    EXPECT_EQ(FormationTotal(*oob, f), 3); // a formation in slot 1 counts nothing
}

TEST(FormationRules, CheckFindingsAndMessages)
{
    const auto oob = Sample();
    using Members = std::array<std::string, 10>;
    struct Case {
        const char* what;
        int type;
        Members members;
        bool passed;
        std::string message;
    };
    const std::vector<Case> cases = {
        { "units only", 1, { "5", "12", "", "0" }, true, "" },
        { "formation in slot 1", 2, { "1005", "1004", "1004" }, false,
            "The item in slot 1 must be a UNIT and not a FORMATION" },
        { "platoon", 1, { "5", "1002", "1004" }, false,
            "Error(s) in formation data\n\nThe item in slot 2 is not a UNIT\nThe item in slot 3 is not a "
            "UNIT\n" },
        { "second-rate company", 3, { "5", "1002", "1003", "1007", "1004" }, false,
            "Error(s) in formation data\n\nThe formation in slot 3 is not a SECTION\n"
            "The formation in slot 4 is not a SECTION\nThe formation in slot 5 is not a SECTION\n" },
        { "company", 2, { "5", "1003", "1002", "1007", "1004", "1006", "1009" }, false,
            "Error(s) in formation data\n\nThe Formation In slot 5 cannot be a COMPANY\n"
            "The Formation In slot 6 cannot be a COMPANY\nThe Formation In slot 7 cannot be a COMPANY\n" },
        { "company of platoons", 2, { "5", "1003", "1002", "1007" }, true, "" },
        { "Bn HQ", 5, { "5", "1003", "1004" }, false,
            "Error(s) in formation data\n\nThe Formation In slot 3 cannot be a COMPANY\n" },
        { "no such formation", 2, { "5", "1000", "1400" }, false,
            "Error(s) in formation data\n\nThe item in slot 2 is not a valid formation number\n"
            "The item in slot 3 is not a valid formation number\n" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const FormationCheck check = CheckFormation(*oob, UpdateFormationKind(c.type, 8), c.members);
        EXPECT_EQ(check.passed, c.passed);
        EXPECT_EQ(check.message, c.message);
    }
}

TEST(FormationRules, CheckNormalisesMemberTexts)
{
    const auto oob = Sample();
    const FormationCheck check = CheckFormation(
        *oob, UpdateFormationKind(1, 8), { "700", "", " 12 ", "x", "0", "0", "0", "0", "0", "0" });
    EXPECT_TRUE(check.passed);
    EXPECT_EQ(check.replaceText[0], "599");
    EXPECT_EQ(check.replaceText[1], "0");
    EXPECT_EQ(check.replaceText[2], std::nullopt);
    EXPECT_EQ(check.replaceText[3], "0");

    for (auto [typed, kept] : std::vector<std::pair<const char*, const char*>> {
             { "1234", "599" }, { "", "0" }, { "05", "5" }, { "599", "599" }, { "-3", "0" }, { "5-3", "0" } })
        EXPECT_EQ(ClampSlot1Text(typed), kept) << typed;
}

TEST(FormationRules, ConversionClampsOrStoresNothing)
{
    FormationTexts texts;
    texts.name = "  Recce Troop with a long name\t";
    texts.nation = "300";
    texts.yearAvail = "150";
    texts.monthAvail = "";
    texts.yearUnavail = "-4";
    texts.monthUnavail = "13";
    texts.buyPage = "10";
    texts.formType = "5";
    texts.expMod = "-40";
    texts.moraleMod = "30";
    texts.slot = { "12", "1003", "9999", "", "0", "0", "0", "0", "0", "70000" };
    TOobFormation f;
    ASSERT_FALSE(FormationFromTexts(texts, f));
    EXPECT_EQ(f.name, "Recce Troop wit");
    EXPECT_EQ(f.nation, 255);
    EXPECT_EQ(f.yearAvail, 120);
    EXPECT_EQ(f.monthAvail, 1);
    EXPECT_EQ(f.yearUnavail, 0);
    EXPECT_EQ(f.monthUnavail, 12);
    EXPECT_EQ(f.buyPage, 10);
    EXPECT_EQ(f.formType, 5);
    EXPECT_EQ(f.expMod, -25);
    EXPECT_EQ(f.moraleMod, 25);
    EXPECT_EQ(f.slot, (std::array<std::uint16_t, 10> { 12, 1003, 1399, 0, 0, 0, 0, 0, 0, 1399 }));

    // One bad field anywhere stores nothing, and the error names it.
    const TOobFormation before = f;
    texts.name = "Changed";
    texts.slot[8] = "1-2";
    const auto error = FormationFromTexts(texts, f);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->message(), "Unit/Formation 9: '1-2' is not a valid integer value");
    EXPECT_EQ(f, before);
}
