#include "core/rules/move.h"
#include "core/rules/paster.h"

#include <gtest/gtest.h>

using namespace tarnwick::core;

TEST(PasterTexts, EntryRowsArePaddedIntoColumns)
{
    NameTables names;
    names.nationNames[5] = "Freedonia";
    struct Case {
        int entry;
        bool used;
        std::string name;
        int nation;
        std::string row;
    } cases[] = {
        { 1, false, "", kNeverFilled, "001: *Unused*         [..]  ..." },
        { 42, true, "T-55", 5, "042: T-55             [05]  Freedonia" },
        { 599, true, "ABCDEFGHIJKLMNO", 5, "599: ABCDEFGHIJKLMNO [05]  Freedonia" },
        { 7, true, "ABCDEFGHIJKLMN", 100, "007: ABCDEFGHIJKLMN   [100]  Unknown" },
    };
    for (const Case& c : cases)
        EXPECT_EQ(PasteEntryRow(c.entry, c.used, c.name, c.nation, names), c.row) << c.entry;
}

TEST(PasterTexts, StatusNamesAndFilters)
{
    EXPECT_EQ(PasteStatusText(PasteKind::Weapon, PasteMode::Copy), "Select weapon buffer  to COPY to");
    EXPECT_EQ(PasteStatusText(PasteKind::Unit, PasteMode::Paste), "Select unit buffer to PASTE from");
    EXPECT_EQ(
        PasteStatusText(PasteKind::Formation, PasteMode::Paste), "Select formation buffer  to PASTE from");
    EXPECT_EQ(ExportProposedName(PasteKind::Unit, 7), "TarnPASTE07unit.csv");
    EXPECT_EQ(ExportProposedName(PasteKind::Weapon, 12), "TarnPASTE12wpns.csv");
    EXPECT_EQ(ExportProposedName(PasteKind::Formation, 99), "TarnPASTE99fmns.csv");
    EXPECT_EQ(ImportTitle(PasteKind::Formation), "Select FORMATION csv File");
    EXPECT_EQ(
        ImportFilter(PasteKind::Weapon), "Weapon Files (*.t7w *.csv);;CSV Files (*.csv);;All Files (*)");
}

TEST(MoveStatus, NamesTheRecordsStillNamingTheOldSlot)
{
    EXPECT_EQ(
        MovedStatus(PasteKind::Weapon, 12, 30, 3), "Moved weapon 12 to 30; 3 units still use weapon 12");
    EXPECT_EQ(MovedStatus(PasteKind::Unit, 4, 9, 1), "Moved unit 4 to 9; 1 formation still uses unit 4");
    EXPECT_EQ(MovedStatus(PasteKind::Formation, 5, 6, 0), "Moved formation 5 to 6");
    EXPECT_EQ(MovedStatus(PasteKind::Unit, 12, 30, 2, "Garron Mk2"),
        "Moved unit 12 to 30, replacing Garron Mk2; 2 formations still use unit 12");
    EXPECT_EQ(NothingToMoveText(PasteKind::Unit, 13), "Nothing to move: unit 13 is empty");
}
