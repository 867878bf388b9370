// The three-way merge by field with record identity, the check of its result,
// and patches made on one base and applied to another.

#include "core/data/oobmerge.h"
#include "core/data/oobpatch.h"
#include "core/rules/mergereport.h"
#include "core/rules/mergeview.h"
#include "oobfixture.h"

#include <gtest/gtest.h>

#include <functional>

namespace tarnwick::testing {
namespace {

using Edit = std::function<void(Image&)>;

constexpr std::size_t kUnitName = 10080;
constexpr std::size_t kSpeed = 28680;
constexpr std::size_t kCost = 47280;
constexpr std::size_t kUnitUnused = 19680;
constexpr std::size_t kMembers = 90680;

// Unit 12 "Scamp Mk2" (cost 160, speed 30), unit 30 "Rifle Sect", formation 4 holding unit 12.
Image Base()
{
    Image img(core::kOobFileSize, 0);
    PutText(img, 0, 0, "Base game", core::kCommentLength);
    PutText(img, kUnitName, 12, "Scamp Mk2");
    PutWord(img, kCost, 2, 12, 0, 160);
    PutByte(img, kSpeed, 1, 12, 0, 30);
    PutText(img, kUnitName, 30, "Rifle Sect");
    PutText(img, 82680, 4, "Recce Troop");
    PutWord(img, kMembers, 20, 4, 0, 12);
    return img;
}

Edit Cost(int slot, std::uint16_t v)
{
    return [=](Image& img) { PutWord(img, kCost, 2, static_cast<std::size_t>(slot), 0, v); };
}
Edit Speed(int slot, std::uint8_t v)
{
    return [=](Image& img) { PutByte(img, kSpeed, 1, static_cast<std::size_t>(slot), 0, v); };
}
Edit Name(int slot, const std::string& name)
{
    return [=](Image& img) { PutText(img, kUnitName, static_cast<std::size_t>(slot), name); };
}
Edit Comment(const std::string& text)
{
    return [=](Image& img) { PutText(img, 0, 0, text, core::kCommentLength); };
}
Edit Raw(std::size_t offset, std::uint8_t v)
{
    return [=](Image& img) { img.at(offset) = v; };
}
Edit Append(const Image& bytes)
{
    return [=](Image& img) { img.insert(img.end(), bytes.begin(), bytes.end()); };
}
Edit Erase(int slot)
{
    return [=](Image& img) {
        Name(slot, "")(img);
        Cost(slot, 0)(img);
        Speed(slot, 0)(img);
    };
}
Edit Both(Edit a, Edit b)
{
    return [=](Image& img) {
        a(img);
        b(img);
    };
}
Edit None()
{
    return [](Image&) {};
}

int Cost12(const Image& img)
{
    return GetByte(img, kCost, 2, 12) | GetByte(img, kCost, 2, 12, 1) << 8;
}

Image Edited(const Edit& edit)
{
    Image img = Base();
    edit(img);
    return img;
}

std::string Describe(const core::MergeItem& item)
{
    return std::string(core::DiffTableName(item.table)) + " " + std::to_string(item.slot) + " "
        + (item.record() ? "record" : item.field);
}

TEST(OobMerge, MergesByFieldAndKeepsRecordsWhole)
{
    struct Case {
        const char* what;
        Edit ours, theirs;
        Edit expected; // the result, from the base
        std::vector<std::string> conflicts;
        core::MergeGranularity granularity = core::MergeGranularity::Field;
    };
    const Case cases[] = {
        { "disjoint fields of one record", Cost(12, 180), Speed(12, 40), Both(Cost(12, 180), Speed(12, 40)),
            {} },
        { "one field alike on both sides", Cost(12, 180), Cost(12, 180), Cost(12, 180), {} },
        { "one field differently", Cost(12, 180), Both(Cost(12, 170), Speed(12, 40)),
            Both(Cost(12, 180), Speed(12, 40)), { "units 12 Cost" } },
        { "names changed differently", Both(Name(12, "Scamp Mk3"), Cost(12, 200)),
            Both(Name(12, "Badger"), Speed(12, 40)), Both(Name(12, "Scamp Mk3"), Cost(12, 200)),
            { "units 12 record" } },
        { "a rename on one side merges with a field of the other", Name(12, "Scamp Mk3"), Speed(12, 40),
            Both(Name(12, "Scamp Mk3"), Speed(12, 40)), {} },
        { "an empty slot filled twice", Both(Name(20, "Alpha"), Cost(20, 10)),
            Both(Name(20, "Beta"), Speed(20, 5)), Both(Name(20, "Alpha"), Cost(20, 10)),
            { "units 20 record" } },
        { "an empty slot filled alike", Both(Name(20, "Alpha"), Cost(20, 10)),
            Both(Name(20, "Alpha"), Cost(20, 10)), Both(Name(20, "Alpha"), Cost(20, 10)), {} },
        { "erased on one side, changed on the other", Erase(12), Cost(12, 170), Erase(12),
            { "units 12 record" } },
        { "erased on one side, untouched on the other", None(), Erase(12), Erase(12), {} },
        { "comment on one side", Comment("Mod A"), Cost(12, 170), Both(Comment("Mod A"), Cost(12, 170)), {} },
        { "comment on both sides", Comment("Mod A"), Comment("Mod B"), Comment("Mod A"),
            { "info 0 Comment" } },
        { "raw bytes of an unused column", Raw(kUnitUnused + 12, 5), Raw(kUnitUnused + 13, 6),
            Both(Raw(kUnitUnused + 12, 5), Raw(kUnitUnused + 13, 6)), {} },
        { "one raw byte differently", Raw(kUnitUnused + 12, 5), Raw(kUnitUnused + 12, 6),
            Raw(kUnitUnused + 12, 5), { "raw 19692 unit 12 unused" } },
        { "slot 0 byte", Raw(kCost, 1), None(), Raw(kCost, 1), {} },
        { "a longer file on one side", Append({ 1, 2, 3 }), Cost(12, 170),
            Both(Append({ 1, 2, 3 }), Cost(12, 170)), {} },
        { "different tails", Append({ 1, 2 }), Append({ 1, 9, 9 }), Append({ 1, 2 }),
            { "info 0 Length", "raw 106681 past the end" } },
        { "record granularity: disjoint fields conflict", Cost(12, 180), Speed(12, 40), Cost(12, 180),
            { "units 12 record" }, core::MergeGranularity::Record },
        { "record granularity: different records merge", Cost(12, 180), Speed(30, 40),
            Both(Cost(12, 180), Speed(30, 40)), {}, core::MergeGranularity::Record },
    };
    const core::NameTables names;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Image base = Base();
        const Image ours = Edited(c.ours);
        const Image theirs = Edited(c.theirs);
        core::MergeOptions options;
        options.granularity = c.granularity;
        const core::MergeResult result = core::MergeOobFiles(base, ours, theirs, names, options);
        std::vector<std::string> conflicts;
        for (const core::MergeItem& item : result.conflicts)
            conflicts.push_back(Describe(item));
        EXPECT_EQ(conflicts, c.conflicts);
        EXPECT_EQ(result.bytes, Edited(c.expected));

        // Picking theirs at every conflict gives THEIRS wherever the two clashed.
        if (!result.conflicts.empty()) {
            const std::vector<core::MergeSide> picks(result.conflicts.size(), core::MergeSide::Theirs);
            const core::MergeResult flipped = core::MergeOobFiles(base, ours, theirs, names, options, picks);
            EXPECT_EQ(flipped.conflicts.size(), result.conflicts.size());
            const core::MergeResult swapped = core::MergeOobFiles(base, theirs, ours, names, options);
            EXPECT_EQ(flipped.bytes, swapped.bytes);
        }
    }
}

TEST(OobMerge, ConflictsNameBothValuesAndTheRecord)
{
    core::NameTables names;
    Image ours = Edited(Cost(12, 180));
    Image theirs = Edited(Both(Cost(12, 170), Name(20, "Ghost")));
    const core::MergeResult result = core::MergeOobFiles(Base(), ours, theirs, names);
    ASSERT_EQ(result.conflicts.size(), 1u);
    EXPECT_EQ(core::MergeItemPlace(result.conflicts[0]) + ": " + core::MergeItemText(result.conflicts[0]),
        "unit 12 Scamp Mk2: Cost 160 -> ours 180, theirs 170");
    EXPECT_EQ(core::MergeReportText(result, {}, std::nullopt),
        "conflict: unit 12 Scamp Mk2: Cost 160 -> ours 180, theirs 170\n"
        "Merged 1 change; 1 conflict, kept ours; 0 warnings\n");
}

TEST(OobMerge, WindowTextsCountWhatIsLeft)
{
    const std::pair<std::string, std::string> cases[] = {
        { core::MergeLeftText(0, 0, 1), "No conflicts: 1 change merges" },
        { core::MergeLeftText(5, 3, 9), "3 of 5 conflicts left to pick" },
        { core::MergeLeftText(2, 0, 9), "All 2 conflicts picked" },
        { core::MergeUnpickedQuestion(0), "" },
        { core::MergeUnpickedQuestion(2), "2 conflicts are not picked and will keep Ours. Apply the merge?" },
        { core::MergeStepName("/mods/mod-b/obat005.obf"), "Merge with obat005 from mod-b" },
        { core::MergeStepName("obat005.obf"), "Merge with obat005" },
    };
    for (const auto& [got, expected] : cases)
        EXPECT_EQ(got, expected);
}

TEST(OobMerge, WarnsOfFindingsNeitherSideHad)
{
    // Ours puts unit 30 into formation 4; theirs empties unit 30, which nothing of theirs names.
    const Image ours = Edited([](Image& img) { PutWord(img, kMembers, 20, 4, 1, 30); });
    const Image theirs = Edited(Erase(30));
    const core::MergeResult result = core::MergeOobFiles(Base(), ours, theirs, core::NameTables {});
    ASSERT_TRUE(result.conflicts.empty());
    const auto warnings = core::MergeWarnings(ours, theirs, result.bytes, 1);
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_EQ(warnings[0].table, core::PasteKind::Formation);
    EXPECT_EQ(warnings[0].slot, 4);
    EXPECT_TRUE(core::MergeWarnings(ours, theirs, ours, 1).empty());
}

TEST(OobPatch, AppliesToAnotherBaseWhereverItsFieldsAreUntouched)
{
    const core::NameTables names;
    const Image baseA = Base();
    const Image modded
        = Edited(Both(Both(Cost(12, 180), Name(30, "Rifle Sect B")), Raw(kUnitUnused + 12, 7)));
    const core::PatchReadResult read
        = core::PatchFromJson(core::PatchToJson(core::MakePatch(baseA, modded, names)));
    ASSERT_TRUE(read.ok) << read.error;
    ASSERT_EQ(read.patch.changes.size(), 3u);

    // Base B changed the neighbour of every touched field.
    const Image baseB = Edited(Both(Both(Speed(12, 44), Name(31, "Mortar")), Raw(kUnitUnused + 13, 9)));
    const core::PatchApplyResult onB = core::ApplyPatch(baseB, read.patch, false, core::PatchPrefer::None);
    EXPECT_EQ(onB.applied, 3u);
    EXPECT_EQ(onB.conflicts, 0u);
    Image expected = baseB;
    Cost(12, 180)(expected);
    Name(30, "Rifle Sect B")(expected);
    Raw(kUnitUnused + 12, 7)(expected);
    EXPECT_EQ(onB.bytes, expected);

    // Again: everything is already there.
    EXPECT_EQ(core::ApplyPatch(onB.bytes, read.patch, false, core::PatchPrefer::None).already, 3u);
    // Reversed it gives back base B byte for byte.
    EXPECT_EQ(core::ApplyPatch(onB.bytes, read.patch, true, core::PatchPrefer::None).bytes, baseB);

    // A field the other base changed too is a conflict; each preference settles it its way.
    const Image baseC = Edited(Cost(12, 175));
    const core::PatchApplyResult onC = core::ApplyPatch(baseC, read.patch, false, core::PatchPrefer::None);
    EXPECT_EQ(onC.conflicts, 1u);
    EXPECT_EQ(core::PatchConflictsText(read.patch, onC, false),
        "unit 12 Scamp Mk2: Cost is 175; the patch changes 160 -> 180\n");
    EXPECT_EQ(Cost12(core::ApplyPatch(baseC, read.patch, false, core::PatchPrefer::Patch).bytes), 180);
    EXPECT_EQ(Cost12(core::ApplyPatch(baseC, read.patch, false, core::PatchPrefer::File).bytes), 175);
}

TEST(OobPatch, ReversesLengthAndTailByteForByte)
{
    const core::NameTables names;
    Image shortBase = Base();
    shortBase.resize(20000);
    const Image longModded = Edited(Both(Append({ 4, 5, 6 }), Cost(12, 1)));
    const core::OobPatch patch = core::MakePatch(shortBase, longModded, names);
    const Image there = core::ApplyPatch(shortBase, patch, false, core::PatchPrefer::None).bytes;
    EXPECT_EQ(there, longModded);
    EXPECT_EQ(core::ApplyPatch(there, patch, true, core::PatchPrefer::None).bytes, shortBase);
}

TEST(OobPatch, RefusesWhatItCannotApplyExactly)
{
    const std::string head = R"({"format": "tarnwick-patch", "version": 1, "changes": [)";
    const struct {
        const char* change;
        const char* error;
    } cases[] = {
        { R"({"table": "units", "slot": 12, "field": "Cots", "base": 1, "new": 2})",
            "change 1: \"Cots\" is not a field of units" },
        { R"({"table": "units", "slot": 600, "field": "Cost", "base": 1, "new": 2})",
            "change 1: slot must be a whole number from 1 to 599, not 600" },
        { R"({"table": "units", "slot": 1, "field": "Cost", "base": 1, "new": 65536})",
            "change 1: new must be a whole number from 0 to 65535, not 65536" },
        { R"({"table": "units", "slot": 1, "field": "Name", "base": "", "new": "sixteen letters!"})",
            "change 1: new is 16 bytes long; the field holds 15" },
        { R"({"table": "raw", "offset": 47304, "base": 1, "new": 2})",
            "change 1: byte 47304 belongs to a field; change the field" },
        { R"({"table": "raw", "offset": 19692, "base": null, "new": 2})",
            "change 1: base must be a whole number from 0 to 255" },
        { R"({"table": "info", "field": "Length", "base": 1, "new": 2, "extra": 1})",
            "change 1: \"extra\" is not a known key" },
        { R"({"table": "units", "slot": 1, "field": "Cost", "base": 1, "new": 2},
             {"table": "units", "slot": 1, "field": "Cost", "base": 1, "new": 3})",
            "change 2: changes the same field as another change" },
        { R"({"table": "units", "table": "units"})", "\"table\" appears twice in one object" },
    };
    for (const auto& c : cases) {
        const core::PatchReadResult read = core::PatchFromJson(head + c.change + "]}");
        EXPECT_FALSE(read.ok) << c.change;
        EXPECT_EQ(read.error, c.error);
    }
    EXPECT_FALSE(core::PatchFromJson(R"({"format": "tarnwick-oob", "version": 1, "changes": []})").ok);
    EXPECT_TRUE(core::PatchFromJson(head + "]}").ok);
}

} // namespace
} // namespace tarnwick::testing
