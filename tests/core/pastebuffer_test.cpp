#include "core/data/pastebuffer.h"

#include <gtest/gtest.h>

#include <memory>

using namespace tarnwick::core;

namespace {

template <class Record> void ExpectAllFresh(const PasteBuffer<Record>& buffer)
{
    for (int k = 1; k <= kPasteEntries; ++k) {
        EXPECT_EQ(buffer[k], TPasteEntry<Record> {}) << "entry " << k;
        EXPECT_EQ(buffer[k].sourceNation, 100);
        EXPECT_FALSE(buffer[k].used);
    }
}

} // namespace

TEST(PasteBuffer, InitFreesEveryEntryOfAllThreeBuffersAndZeroesTheTransferRecords)
{
    auto buffers = std::make_unique<PasteBuffers>();
    buffers->unitBuffer[1] = { TOobUnit { .name = "Tiger" }, 5, true };
    buffers->weaponBuffer[599] = { TOobWeapon { .name = "88mm", .range = 9 }, 7, true };
    buffers->formationBuffer[300].record.slot[9] = 1001;
    buffers->unitXfer = { TOobUnit { .name = "X", .cost = 3 }, 12 };
    buffers->weaponXfer.sourceNation = 4;
    buffers->formationXfer.record.expMod = -3;

    InitPasteBuffers(*buffers);

    ExpectAllFresh(buffers->unitBuffer);
    ExpectAllFresh(buffers->weaponBuffer);
    ExpectAllFresh(buffers->formationBuffer);
    EXPECT_EQ(buffers->unitXfer.record, TOobUnit {});
    EXPECT_EQ(buffers->unitXfer.sourceNation, 0);
    EXPECT_EQ(buffers->weaponXfer.sourceNation, 0);
    EXPECT_EQ(buffers->formationXfer.record, TOobFormation {});
}

TEST(PasteBuffer, CopyAllWeaponsFillsEntries1To249AndLeavesTheRestAlone)
{
    auto buffers = std::make_unique<PasteBuffers>();
    InitPasteBuffers(*buffers);
    // Entry 2 held a record; its slot is empty now (but has numbers), so it becomes free.
    buffers->weaponBuffer[2] = { TOobWeapon { .name = "Old", .apPen = 4 }, 3, true };
    buffers->weaponBuffer[250] = { TOobWeapon { .name = "Kept", .heatPen = 77 }, 8, true };
    buffers->weaponBuffer[599] = { TOobWeapon { .name = "Last" }, 9, false };
    const TPasteEntry<TOobWeapon> above250 = buffers->weaponBuffer[250];
    const TPasteEntry<TOobWeapon> at599 = buffers->weaponBuffer[599];

    auto data = std::make_unique<TOobData>();
    data->weapons[1] = TOobWeapon { .name = "MG 34", .weaponClass = 2, .range = 12 };
    data->weapons[2] = TOobWeapon { .name = "", .hePen = 6 };
    data->weapons[249] = TOobWeapon { .name = "Last gun", .sabotPen = 200 };

    CopyAllToBuffer(*buffers, PasteKind::Weapon, *data, 12);

    for (int k = 1; k <= 249; ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(buffers->weaponBuffer[k].record, data->weapons[k]);
        EXPECT_EQ(buffers->weaponBuffer[k].used, !data->weapons[k].name.empty());
        EXPECT_EQ(buffers->weaponBuffer[k].sourceNation, 12);
    }
    EXPECT_TRUE(buffers->weaponBuffer[1].used);
    EXPECT_FALSE(buffers->weaponBuffer[2].used);
    EXPECT_EQ(buffers->weaponBuffer[2].record.hePen, 6);
    EXPECT_EQ(buffers->weaponBuffer[250], above250);
    EXPECT_EQ(buffers->weaponBuffer[599], at599);
    for (int k = 251; k < 599; ++k)
        EXPECT_EQ(buffers->weaponBuffer[k], TPasteEntry<TOobWeapon> {}) << k;
}

TEST(PasteBuffer, PasteAllFromFreshBuffersEmptiesEveryFormation)
{
    auto buffers = std::make_unique<PasteBuffers>();
    InitPasteBuffers(*buffers);
    auto data = std::make_unique<TOobData>();
    for (int k = 1; k <= kFormationSlots; ++k)
        data->formations[k] = TOobFormation { .name = "Coy " + std::to_string(k), .nation = 5, .expMod = -2 };

    PasteAllFromBuffer(*buffers, PasteKind::Formation, *data);

    for (int k = 1; k <= kFormationSlots; ++k)
        EXPECT_EQ(data->formations[k], TOobFormation {}) << k;

    // A free entry's record is pasted all the same over a named slot; an empty
    // slot keeps what it holds.
    buffers->unitBuffer[7] = { TOobUnit { .name = "Free but named", .cost = 40 }, 3, false };
    data->units[1].name = "Gone";
    data->units[7].name = "Replaced";
    data->units[8].unitClass = 4;
    data->units[8].nation = 3;
    const TOobUnit leftover = data->units[8];
    PasteAllFromBuffer(*buffers, PasteKind::Unit, *data);
    EXPECT_EQ(data->units[1], TOobUnit {});
    EXPECT_EQ(data->units[7], buffers->unitBuffer[7].record);
    EXPECT_EQ(data->units[8], leftover);
}
