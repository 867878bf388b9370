#include "core/data/recordsdelta.h"

namespace tarnwick::core {

namespace {

template <class Record, std::size_t N>
void DiffTable(const std::array<Record, N>& before, const std::array<Record, N>& after,
    std::vector<SlotChange<Record>>& out)
{
    for (std::size_t slot = 1; slot < N; ++slot) {
        if (!(before[slot] == after[slot]))
            out.push_back(SlotChange<Record> { static_cast<int>(slot), before[slot], after[slot] });
    }
}

template <class Record, std::size_t N>
void Apply(const std::vector<SlotChange<Record>>& changes, std::array<Record, N>& table, bool undo)
{
    for (const SlotChange<Record>& change : changes)
        table[static_cast<std::size_t>(change.slot)] = undo ? change.before : change.after;
}

template <class Record> std::size_t TableBytes(const std::vector<SlotChange<Record>>& changes)
{
    std::size_t bytes = changes.capacity() * sizeof(SlotChange<Record>);
    for (const SlotChange<Record>& change : changes) {
        // Names longer than the small-string buffer live on the heap.
        if (change.before.name.capacity() > 15)
            bytes += change.before.name.capacity() + 1;
        if (change.after.name.capacity() > 15)
            bytes += change.after.name.capacity() + 1;
    }
    return bytes;
}

} // namespace

bool RecordsDelta::empty() const
{
    return units.empty() && weapons.empty() && formations.empty() && !comment;
}

std::size_t RecordsDelta::recordCount() const
{
    return units.size() + weapons.size() + formations.size() + (comment ? 1 : 0);
}

std::size_t RecordsDelta::memoryBytes() const
{
    std::size_t bytes
        = sizeof(RecordsDelta) + TableBytes(units) + TableBytes(weapons) + TableBytes(formations);
    if (comment)
        bytes += comment->before.capacity() + comment->after.capacity();
    return bytes;
}

RecordsDelta DiffRecords(const TOobData& before, const TOobData& after)
{
    RecordsDelta delta;
    DiffTable(before.units, after.units, delta.units);
    DiffTable(before.weapons, after.weapons, delta.weapons);
    DiffTable(before.formations, after.formations, delta.formations);
    if (before.comment != after.comment)
        delta.comment = RecordsDelta::Comment { before.comment, after.comment };
    return delta;
}

void ApplyBefore(const RecordsDelta& delta, TOobData& data)
{
    Apply(delta.units, data.units, true);
    Apply(delta.weapons, data.weapons, true);
    Apply(delta.formations, data.formations, true);
    if (delta.comment)
        data.comment = delta.comment->before;
}

void ApplyAfter(const RecordsDelta& delta, TOobData& data)
{
    Apply(delta.units, data.units, false);
    Apply(delta.weapons, data.weapons, false);
    Apply(delta.formations, data.formations, false);
    if (delta.comment)
        data.comment = delta.comment->after;
}

} // namespace tarnwick::core
