#pragma once

// The three paste buffers that carry records between slots and between files.

#include "core/data/globals.h"
#include "core/data/records.h"

#include <array>
#include <bitset>
#include <cstdint>
#include <optional>
#include <string>

namespace tarnwick::core {

inline constexpr int kPasteEntries = 599; // entries 1..599 in every buffer
inline constexpr int kNeverFilled = 100; // sourceNation of an entry never filled

// One bit per field of a record's table, by the field's index there (OobLayoutOf).
inline constexpr std::size_t kMaxTableFields = 128;
using FieldSet = std::bitset<kMaxTableFields>;

template <class Record> struct TPasteEntry {
    Record record {};
    std::int32_t sourceNation = kNeverFilled;
    bool used = false;
    // The fields of record an entry read from a file carries (the file's
    // columns); nothing for an entry filled from the records, which carries
    // every byte of its record.
    std::optional<FieldSet> fields = std::nullopt;

    bool operator==(const TPasteEntry&) const = default;
};

// What a paste of entry over replaced stores: the entry's record; for an entry
// read from a file, replaced (an empty record when the slot is empty) with the
// fields the file carried, so that what the file lacks stays as it was.
TOobWeapon PastedRecord(const TPasteEntry<TOobWeapon>& entry, const TOobWeapon& replaced);
TOobUnit PastedRecord(const TPasteEntry<TOobUnit>& entry, const TOobUnit& replaced);
TOobFormation PastedRecord(const TPasteEntry<TOobFormation>& entry, const TOobFormation& replaced);

// Indexed by entry number; index 0 is not used.
template <class Record> using PasteBuffer = std::array<TPasteEntry<Record>, kPasteEntries + 1>;

// A record on its way between a page and a buffer.
template <class Record> struct TransferRecord {
    Record record {};
    std::int32_t sourceNation = 0;
};

enum class PasteKind { Weapon, Unit, Formation };

struct PasteBuffers {
    PasteBuffer<TOobWeapon> weaponBuffer;
    PasteBuffer<TOobUnit> unitBuffer;
    PasteBuffer<TOobFormation> formationBuffer;
    TransferRecord<TOobWeapon> weaponXfer;
    TransferRecord<TOobUnit> unitXfer;
    TransferRecord<TOobFormation> formationXfer;
};

// Every entry free, never filled, all-zero record.
void InitPasteBuffers(PasteBuffers& buffers);

// Slots a kind's table has: 249, 599, 399.
int TableSlots(PasteKind kind);

// "All" in copy mode: entries 1..N take table slots 1..N (used when named),
// sourceNation := nation for each; entries above N are left alone.
void CopyAllToBuffer(PasteBuffers& buffers, PasteKind kind, const TOobData& data, int nation);
// "All" in paste mode: table slots 1..N take entries 1..N (PastedRecord), used or not.
void PasteAllFromBuffer(const PasteBuffers& buffers, PasteKind kind, TOobData& data);

} // namespace tarnwick::core
