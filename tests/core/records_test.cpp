#include "core/data/records.h"

#include <gtest/gtest.h>

using namespace tarnwick::core;

TEST(Records, TrimRemovesBlanksAndControlCharactersAtBothEnds)
{
    EXPECT_EQ(TrimName("  \t\x01Tiger I \x1f "), "Tiger I");
    EXPECT_EQ(TrimName("   "), "");
    EXPECT_EQ(TrimName("A B"), "A B");
    // Bytes above the blank, Windows-1252 letters included, are kept.
    EXPECT_EQ(TrimName("\xC4pfel\xA0"), "\xC4pfel\xA0");
    // A name is blank exactly when nothing is left of it.
    using namespace std::string_view_literals;
    for (std::string_view name : { ""sv, "   "sv, "\0\t\x1f "sv, "\xA0"sv, " x "sv })
        EXPECT_EQ(IsBlankName(name), TrimName(name).empty()) << name;
}

TEST(Records, NewDataSetHasAFullZeroImageAndEmptyTables)
{
    TOobData data;
    EXPECT_EQ(data.fileImage.size(), kOobFileSize);
    EXPECT_TRUE(data.units[kUnitSlots].name.empty());
    EXPECT_EQ(data.imageLength, 0);
}

TEST(Records, SlotRanges)
{
    EXPECT_FALSE(IsWeaponSlot(0));
    EXPECT_TRUE(IsWeaponSlot(249));
    EXPECT_FALSE(IsWeaponSlot(250));
    EXPECT_TRUE(IsUnitSlot(599));
    EXPECT_FALSE(IsUnitSlot(600));
    EXPECT_FALSE(IsSubFormationMember(1000));
    EXPECT_TRUE(IsSubFormationMember(1399));
    EXPECT_FALSE(IsSubFormationMember(1400));
}
