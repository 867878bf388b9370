// The compare of two files: one row per changed field, named as the CSV dump
// names it, with the names of coded values; bytes of no field by offset.

#include "core/data/oobcompare.h"
#include "core/data/tarnio.h"
#include "core/rules/compareview.h"
#include "oobfixture.h"

#include <gtest/gtest.h>

#include <functional>

namespace tarnwick::testing {
namespace {

using core::DiffTable;

struct Expected {
    DiffTable table;
    int slot;
    std::string name;
    std::string field;
    std::string a;
    std::string b;
};

// Weapons 7 and 9, unit 12 that carries weapon 7 second, formation 4 with unit 12 first.
Image BaseImage()
{
    Image img(core::kOobFileSize, 0);
    PutText(img, 0, 0, "Base game", core::kCommentLength);
    PutText(img, 80, 7, "VL-9 LMG");
    PutText(img, 80, 9, "M60");
    PutText(img, 10080, 12, "Scamp Mk2");
    PutByte(img, 21480, 4, 12, 1, 7);
    PutWord(img, 47280, 2, 12, 0, 160);
    PutByte(img, 48480, 1, 12, 0, 3);
    PutText(img, 82680, 4, "Recce Troop");
    PutWord(img, 90680, 20, 4, 0, 12);
    return img;
}

core::NameTables Names()
{
    core::NameTables names;
    names.nationNames[3] = "Freedonia";
    names.nationNames[5] = "Sylvania";
    names.unitClassNames[0] = "Infantry";
    names.unitClassNames[2] = "Tank";
    return names;
}

TEST(OobCompare, EachSingleChangeGivesOneNamedRow)
{
    struct Case {
        const char* what;
        std::function<void(Image&)> change;
        std::vector<Expected> expected;
    };
    const Case cases[] = {
        { "weapon byte of a paired column", [](Image& b) { PutByte(b, 4830, 2, 9, 1, 40); },
            { { DiffTable::Weapons, 9, "M60", "AP Pen", "0", "40" } } },
        { "weapon name", [](Image& b) { PutText(b, 80, 7, "VL-9 HMG"); },
            { { DiffTable::Weapons, 7, "VL-9 LMG", "Name", "\"VL-9 LMG\"", "\"VL-9 HMG\"" } } },
        { "unit word", [](Image& b) { PutWord(b, 47280, 2, 12, 0, 180); },
            { { DiffTable::Units, 12, "Scamp Mk2", "Cost", "160", "180" } } },
        { "unit weapon names both weapons", [](Image& b) { PutByte(b, 21480, 4, 12, 1, 9); },
            { { DiffTable::Units, 12, "Scamp Mk2", "Weapon 2", "7 (VL-9 LMG)", "9 (M60)" } } },
        { "unit nation", [](Image& b) { PutByte(b, 48480, 1, 12, 0, 5); },
            { { DiffTable::Units, 12, "Scamp Mk2", "Nation", "3 (Freedonia)", "5 (Sylvania)" } } },
        { "unit class", [](Image& b) { PutByte(b, 19080, 1, 12, 0, 2); },
            { { DiffTable::Units, 12, "Scamp Mk2", "Class ID", "0 (Infantry)", "2 (Tank)" } } },
        { "move class", [](Image& b) { PutByte(b, 58680, 1, 12, 0, 1); },
            { { DiffTable::Units, 12, "Scamp Mk2", "Move Class ID", "0 (" + core::MoveClassName(0) + ")",
                "1 (" + core::MoveClassName(1) + ")" } } },
        { "armour facing in the shared column", [](Image& b) { PutByte(b, 29280, 14, 12, 8, 30); },
            { { DiffTable::Units, 12, "Scamp Mk2", "HEAT HS", "0", "30" } } },
        { "an empty unit slot is named by B", [](Image& b) { PutText(b, 10080, 20, "New Unit"); },
            { { DiffTable::Units, 20, "New Unit", "Name", "\"\"", "\"New Unit\"" } } },
        { "formation member", [](Image& b) { PutWord(b, 90680, 20, 4, 2, 1004); },
            { { DiffTable::Formations, 4, "Recce Troop", "Subunit 03", "0", "1004 (Recce Troop)" } } },
        { "formation signed byte", [](Image& b) { PutByte(b, 99480, 1, 4, 0, 0xFD); },
            { { DiffTable::Formations, 4, "Recce Troop", "Exp Mod", "0", "-3" } } },
        { "comment", [](Image& b) { PutText(b, 0, 0, "My mod", core::kCommentLength); },
            { { DiffTable::Info, 0, "", "Comment", "\"Base game\"", "\"My mod\"" } } },
        { "slot 0 of a column", [](Image& b) { b[19080] = 1; },
            { { DiffTable::Raw, 19080, "", "units slot 0", "0", "1" } } },
        { "unused column", [](Image& b) { b[41880 + 6 * 5 + 2] = 9; },
            { { DiffTable::Raw, 41912, "", "unit 5 unused", "0", "9" } } },
        { "a name's bytes after its end", [](Image& b) { b[10080 + 15 * 12 + 14] = 'x'; },
            { { DiffTable::Raw, 10274, "", "unit 12 name tail", "0", "120" } } },
        { "longer file", [](Image& b) { b.push_back(7); },
            { { DiffTable::Info, 0, "", "Length", "106680", "106681" },
                { DiffTable::Raw, 106680, "", "past the end", "(none)", "7" } } },
        { "shorter file reads as zeros", [](Image& b) { b.resize(100000); },
            { { DiffTable::Info, 0, "", "Length", "106680", "100000" } } },
    };
    const Image a = BaseImage();
    const core::NameTables names = Names();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Image b = a;
        c.change(b);
        std::vector<Expected> got;
        for (const core::OobDifference& d : core::CompareOobFiles(a, b, names))
            got.push_back({ d.table, d.slot, d.name, d.field, d.aShown(), d.bShown() });
        ASSERT_EQ(got.size(), c.expected.size());
        for (std::size_t i = 0; i < got.size(); ++i) {
            EXPECT_EQ(got[i].table, c.expected[i].table);
            EXPECT_EQ(got[i].slot, c.expected[i].slot);
            EXPECT_EQ(got[i].name, c.expected[i].name);
            EXPECT_EQ(got[i].field, c.expected[i].field);
            EXPECT_EQ(got[i].a, c.expected[i].a);
            EXPECT_EQ(got[i].b, c.expected[i].b);
        }
        EXPECT_TRUE(core::CompareOobFiles(b, b, names).empty());
    }
}

TEST(OobCompare, TextGroupsByRecordAndCsvQuotes)
{
    Image a = BaseImage();
    Image b = a;
    PutWord(b, 47280, 2, 12, 0, 180);
    PutByte(b, 21480, 4, 12, 1, 9);
    PutText(b, 80, 9, "M60, \"GPMG\"");
    const auto differences = core::CompareOobFiles(a, b, Names());
    EXPECT_EQ(core::DifferencesText(differences),
        "weapon 9 M60: Name \"M60\" -> \"M60, \"GPMG\"\"\n"
        "unit 12 Scamp Mk2: Weapon 2 7 (VL-9 LMG) -> 9 (M60, \"GPMG\"); Cost 160 -> 180\n");
    EXPECT_EQ(core::DifferencesCsv(differences),
        "table,slot,name,field,a,b\r\n"
        "weapons,9,M60,Name,M60,\"M60, \"\"GPMG\"\"\"\r\n"
        "units,12,Scamp Mk2,Weapon 2,7 (VL-9 LMG),\"9 (M60, \"\"GPMG\"\")\"\r\n"
        "units,12,Scamp Mk2,Cost,160,180\r\n");
}

} // namespace
} // namespace tarnwick::testing

TEST(OobCompare, TheValueColumnsNameBothFiles)
{
    struct Case {
        const char* loaded;
        const char* other;
        const char* loadedTitle;
        const char* otherTitle;
    };
    const Case cases[] = {
        { "", "", "Loaded", "Other file" },
        { "/games/campaign/obat004.obf", "/games/campaign/obat012.obf", "obat004.obf", "obat012.obf" },
        { "/games/campaign/obat004.obf", "/backup/OBAT004.OBF", "campaign/obat004.obf",
            "backup/OBAT004.OBF" },
        { "/games/campaign/obat004.obf", "/games/campaign/./obat004.obf", "obat004.obf (loaded)",
            "obat004.obf (on disk)" },
        { "/a/data/obat004.obf", "/b/data/obat004.obf", "/a/data/obat004.obf", "/b/data/obat004.obf" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.other);
        const auto titles = tarnwick::core::CompareColumnTitles(c.loaded, c.other);
        EXPECT_EQ(titles[4], c.loadedTitle);
        EXPECT_EQ(titles[5], c.otherTitle);
    }
    EXPECT_EQ(tarnwick::core::CompareColumnTitles()[3], "Field");
}
