#include "core/rules/picker.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace tarnwick::core;

namespace {

struct Lists {
    TOobData oob;
    NameTables names;

    Lists()
    {
        oob.units[1].name = "T-34/85";
        oob.units[599].name = " Last  ";
        oob.weapons[42].name = "85mm \xC4";
        oob.formations[7].name = "Tank Coy";
        names.nationNames[44] = "Karsovia";
        names.unitClassNames[0] = "Class Zero";
        names.unitClassNames[120] = "Class 120";
        names.unitClassNames[255] = "Class 255";
    }
};

} // namespace

TEST(PickList, EveryModeNumbersItsEntriesFromZeroWithoutGaps)
{
    struct Case {
        PickMode mode;
        const char* title;
        std::size_t count;
        std::vector<std::pair<int, std::string>> entries; // number, whole entry text
    };
    const std::vector<Case> cases = {
        { pickUnit, "Pick List : Unit", 600,
            { { 0, "000 - NO UNIT" }, { 1, "001 - T-34/85" }, { 2, "002 - " }, { 42, "042 - " },
                { 599, "599 -  Last  " } } },
        { pickFormation, "Pick List : Formation", 400,
            { { 0, "000 - NO UNIT" }, { 7, "007 - Tank Coy" }, { 399, "399 - " } } },
        { pickMoveClass, "Pick List : Movement Class", 10,
            { { 0, "00 - Default" }, { 1, "01 - UNKNOWN" }, { 4, "04 - Track" }, { 9, "09 - UNKNOWN" } } },
        { pickFormationType, "Pick List : Formation Type", 5,
            { { 0, "00 - Section" }, { 3, "03 - 2nd Rate Co" }, { 4, "04 - Naval" } } },
        { pickNation, "Pick List : Nationality", 100,
            { { 0, "00 - Unknown" }, { 1, "01 - *NO INI FILE!*" }, { 44, "44 - Karsovia" } } },
        { pickUnitClass, "Pick List : Unit Class", 256,
            { { 0, "00 - Class Zero" }, { 9, "09 - *NO INI FILE!*" }, { 10, "10 - *NO INI FILE!*" },
                { 120, "120 - Class 120" }, { 255, "255 - Class 255" } } },
        { pickWeapon, "Pick List : Unit Weapon", 250,
            { { 0, "000 - NO WEAPON IN SLOT" }, { 42, "042 - 85mm \xC4" }, { 249, "249 - " } } },
        { pickWeaponClass, "Pick List : Weapon Class", 22,
            { { 0, "00 - Unknown Class" }, { 13, "13 - Anti Tank Guided Missile" },
                { 21, "21 - Multi-Charge ATGM" } } },
        { pickBuyPage, "Pick List : Purchase Page", 11,
            { { 0, "00 - Default" }, { 6, "06 - Unknown" }, { 10, "10 - Battalion HQ." } } },
    };
    const Lists lists;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        const PickListContent content = FillPickList(c.mode, lists.oob, lists.names, 0);
        EXPECT_EQ(content.title, c.title);
        ASSERT_EQ(content.entries.size(), c.count);
        for (const auto& [number, text] : c.entries)
            EXPECT_EQ(content.entries[static_cast<std::size_t>(number)], text);
        // Every entry starts with its own number, so the index is the number.
        for (std::size_t k = 0; k < content.entries.size(); ++k)
            EXPECT_EQ(content.entries[k].rfind(PickNumberText(c.mode, static_cast<int>(k)) + " - ", 0), 0u);
        EXPECT_EQ(PickResult(content, 0, false), 0);
        EXPECT_EQ(PickResult(content, static_cast<int>(c.count) - 1, false), static_cast<int>(c.count) - 1);
    }
}

TEST(PickList, UnknownModeOffersNothing)
{
    const Lists lists;
    const PickListContent content = FillPickList(static_cast<PickMode>(9), lists.oob, lists.names, 0);
    EXPECT_EQ(content.title, "Pick List");
    EXPECT_TRUE(content.entries.empty());
    EXPECT_EQ(PickResult(content, 0, false), kPickCancelled);
    // Nothing selected, or an index past the list, chooses nothing either.
    const PickListContent nations = FillPickList(pickNation, lists.oob, lists.names, 0);
    EXPECT_EQ(PickResult(nations, -1, false), kPickCancelled);
    EXPECT_EQ(PickResult(nations, 100, false), kPickCancelled);
}

TEST(PickList, FormationsThatMayNotBeMembersAreMarkedAndChooseNothing)
{
    Lists lists;
    for (int type = 0; type <= 5; ++type) {
        lists.oob.formations[static_cast<std::size_t>(10 + type)].formType = static_cast<std::uint8_t>(type);
        lists.oob.formations[static_cast<std::size_t>(10 + type)].name = "Fmn";
    }
    struct Case {
        std::uint8_t currentFormType;
        std::vector<bool> markedByType; // types 0..5
    };
    const std::vector<Case> cases = {
        { 0, { false, false, true, true, true, true } },
        { 2, { false, false, true, true, true, true } },
        { 3, { false, true, true, true, true, true } },
        { 4, { false, false, true, true, true, true } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.currentFormType));
        const PickListContent content
            = FillPickList(pickFormation, lists.oob, lists.names, c.currentFormType);
        EXPECT_EQ(content.entries[0], "000 - NO UNIT");
        for (int type = 0; type <= 5; ++type) {
            const int k = 10 + type;
            const bool marked = c.markedByType[static_cast<std::size_t>(type)];
            EXPECT_EQ(content.entries[static_cast<std::size_t>(k)],
                "0" + std::to_string(k) + (marked ? " - XX INVALID CHOICE XX" : " - Fmn"));
            EXPECT_EQ(PickResult(content, k, false), marked ? 0 : k);
            EXPECT_EQ(PickResult(content, k, true), kPickCancelled);
        }
    }
    // Only the mark decides: a formation that merely bears the marker's name can be chosen.
    lists.oob.formations[20].name = kPickInvalidChoice;
    EXPECT_EQ(PickResult(FillPickList(pickFormation, lists.oob, lists.names, 0), 20, false), 20);
    // Other lists never mark, whatever the formation types.
    EXPECT_EQ(PickResult(FillPickList(pickUnit, lists.oob, lists.names, 3), 12, false), 12);
}
