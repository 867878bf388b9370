#include "core/data/pastebuffer.h"

#include "core/data/recordfields.h"

namespace tarnwick::core {

namespace {

template <class Record> void ClearBuffer(PasteBuffer<Record>& buffer)
{
    for (auto& entry : buffer)
        entry = TPasteEntry<Record> {};
}

template <class Record, std::size_t TableSize>
void CopyTable(PasteBuffer<Record>& buffer, const std::array<Record, TableSize>& table, int nation)
{
    constexpr int slots = static_cast<int>(TableSize) - 1;
    static_assert(slots <= kPasteEntries);
    for (int k = 1; k <= slots; ++k)
        buffer[k].used = false;
    for (int k = 1; k <= slots; ++k) {
        buffer[k].record = table[k];
        buffer[k].used = !table[k].name.empty();
        buffer[k].sourceNation = nation;
        buffer[k].fields.reset();
    }
}

template <class Record, std::size_t TableSize>
void PasteTable(const PasteBuffer<Record>& buffer, std::array<Record, TableSize>& table)
{
    constexpr int slots = static_cast<int>(TableSize) - 1;
    static_assert(slots <= kPasteEntries);
    for (int k = 1; k <= slots; ++k) {
        // A free entry over an empty slot leaves it as it is, the bytes an empty
        // slot may still hold included: there is nothing to paste.
        if (!buffer[k].used && table[k].name.empty())
            continue;
        table[k] = PastedRecord(buffer[k], table[k]);
    }
}

template <class Record> Record Pasted(const TPasteEntry<Record>& entry, const Record& replaced)
{
    if (!entry.fields)
        return entry.record;
    Record pasted = replaced.name.empty() ? Record {} : replaced;
    const std::size_t count = OobLayoutOf(TableOf<Record>()).fields.size();
    for (std::size_t i = 0; i < count; ++i)
        if (entry.fields->test(i))
            CopyField(entry.record, pasted, i);
    return pasted;
}

} // namespace

TOobWeapon PastedRecord(const TPasteEntry<TOobWeapon>& entry, const TOobWeapon& replaced)
{
    return Pasted(entry, replaced);
}

TOobUnit PastedRecord(const TPasteEntry<TOobUnit>& entry, const TOobUnit& replaced)
{
    return Pasted(entry, replaced);
}

TOobFormation PastedRecord(const TPasteEntry<TOobFormation>& entry, const TOobFormation& replaced)
{
    return Pasted(entry, replaced);
}

void InitPasteBuffers(PasteBuffers& buffers)
{
    ClearBuffer(buffers.weaponBuffer);
    ClearBuffer(buffers.unitBuffer);
    ClearBuffer(buffers.formationBuffer);
    buffers.weaponXfer = {};
    buffers.unitXfer = {};
    buffers.formationXfer = {};
}

int TableSlots(PasteKind kind)
{
    switch (kind) {
    case PasteKind::Weapon:
        return kWeaponSlots;
    case PasteKind::Unit:
        return kUnitSlots;
    case PasteKind::Formation:
        return kFormationSlots;
    }
    return 0;
}

void CopyAllToBuffer(PasteBuffers& buffers, PasteKind kind, const TOobData& data, int nation)
{
    switch (kind) {
    case PasteKind::Weapon:
        CopyTable(buffers.weaponBuffer, data.weapons, nation);
        break;
    case PasteKind::Unit:
        CopyTable(buffers.unitBuffer, data.units, nation);
        break;
    case PasteKind::Formation:
        CopyTable(buffers.formationBuffer, data.formations, nation);
        break;
    }
}

void PasteAllFromBuffer(const PasteBuffers& buffers, PasteKind kind, TOobData& data)
{
    switch (kind) {
    case PasteKind::Weapon:
        PasteTable(buffers.weaponBuffer, data.weapons);
        break;
    case PasteKind::Unit:
        PasteTable(buffers.unitBuffer, data.units);
        break;
    case PasteKind::Formation:
        PasteTable(buffers.formationBuffer, data.formations);
        break;
    }
}

} // namespace tarnwick::core
