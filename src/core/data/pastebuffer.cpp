#include "core/data/pastebuffer.h"

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
    }
}

template <class Record, std::size_t TableSize>
void PasteTable(const PasteBuffer<Record>& buffer, std::array<Record, TableSize>& table)
{
    constexpr int slots = static_cast<int>(TableSize) - 1;
    static_assert(slots <= kPasteEntries);
    for (int k = 1; k <= slots; ++k)
        table[k] = buffer[k].record;
}

} // namespace

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
