#include "core/data/recordsdelta.h"
#include "core/data/tarnio.h"
#include "core/rules/document.h"
#include "oobfixture.h"

#include <gtest/gtest.h>

#include <memory>

using namespace tarnwick::core;
using tarnwick::testing::SampleData;

// A delta keeps exactly the touched slots, and takes the records back and
// forth to the bytes each side encodes to.
TEST(RecordsDelta, UndoAndRedoGiveTheSameBytes)
{
    const auto original = std::make_unique<TOobData>(SampleData(5));
    auto changed = std::make_unique<TOobData>(*original);
    changed->units[12].cost = 999;
    changed->units[599].name = "A much longer name than fits inline";
    changed->weapons[1].range = 77;
    changed->formations[399].slot[9] = 1001;
    changed->comment = "another comment";

    const RecordsDelta delta = DiffRecords(*original, *changed);
    EXPECT_EQ(delta.units.size(), 2u);
    EXPECT_EQ(delta.weapons.size(), 1u);
    EXPECT_EQ(delta.formations.size(), 1u);
    EXPECT_EQ(delta.recordCount(), 5u);
    EXPECT_TRUE(DiffRecords(*changed, *changed).empty());

    auto working = std::make_unique<TOobData>(*changed);
    ApplyBefore(delta, *working);
    auto originalCopy = std::make_unique<TOobData>(*original);
    EXPECT_EQ(EncodeOobFile(*working, 5), EncodeOobFile(*originalCopy, 5));
    ApplyAfter(delta, *working);
    EXPECT_EQ(EncodeOobFile(*working, 5), EncodeOobFile(*changed, 5));
    // Five records, not the whole file.
    EXPECT_LT(delta.memoryBytes(), 4096u);
}

TEST(DocumentTexts, NameTheStepAndTheQuestion)
{
    const std::pair<std::string, std::string> cases[] = {
        { CommitStepText(PasteKind::Unit, 12), "Commit unit 12" },
        { CommitStepText(PasteKind::Formation, 40), "Commit formation 40" },
        { MoveStepText(PasteKind::Weapon, 22, 40), "Move weapon 22 to 40" },
        { PasteAllStepText(PasteKind::Unit), "Paste all units" },
        { ReclassifyStepText(" 7", "8 "), "Reclassify 7 to 8" },
        { RenationaliseStepText("5", " 7"), "Renationalise 5 to 7" },
        { GridSaveStepText(PasteKind::Unit), "Units grid save" },
        { GridSaveStepText(PasteKind::Weapon), "Weapons grid save" },
        { SaveChangesQuestion("obat05 - Republic of Valdoria"),
            "Save the changes to obat05 - Republic of Valdoria?" },
        { UncommittedStatus(PasteKind::Unit, 12),
            "Unit 12 has changes that are not committed (F12 commits)" },
        { CommitTypingQuestion(PasteKind::Unit, 12), "Commit the changes to unit 12?" },
        { CommitTypingQuestion(PasteKind::Weapon, 3), "Commit the changes to weapon 3?" },
        { SavedWithUncommittedStatus("Saved /x/obat05", "Units"),
            "Saved /x/obat05; the Units page has uncommitted changes" },
        { UnusedEntryText(12), "Entry 12 is unused" },
        { CopyRefusedText(PasteKind::Unit, "Cost: 'x' is not a valid integer value"),
            "Unit not copied: Cost: 'x' is not a valid integer value" },
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(text, expected);
}
