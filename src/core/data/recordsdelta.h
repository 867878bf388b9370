#pragma once

// What one change did to the records: the old and new record of every slot it
// touched, and the comment when it changed. An undo step keeps only this.

#include "core/data/records.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace tarnwick::core {

template <class Record> struct SlotChange {
    int slot = 0;
    Record before;
    Record after;
};

struct RecordsDelta {
    std::vector<SlotChange<TOobUnit>> units;
    std::vector<SlotChange<TOobWeapon>> weapons;
    std::vector<SlotChange<TOobFormation>> formations;
    struct Comment {
        std::string before;
        std::string after;
    };
    std::optional<Comment> comment;

    bool empty() const;
    // How many records (the comment counts as one) the change touched.
    std::size_t recordCount() const;
    // Bytes the delta holds, its names included: what an undo step costs.
    std::size_t memoryBytes() const;
};

// The slots where after differs from before. The file image is not compared:
// no change touches it.
RecordsDelta DiffRecords(const TOobData& before, const TOobData& after);

// Writes the delta's old records (undo) or new records (redo) into data.
void ApplyBefore(const RecordsDelta& delta, TOobData& data);
void ApplyAfter(const RecordsDelta& delta, TOobData& data);

} // namespace tarnwick::core
