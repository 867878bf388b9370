#pragma once

// Which records name a given weapon, unit or formation: units by their weapon
// numbers, formations by their members (a unit as its slot, a formation as
// 1000 + its slot). Empty records (blank names) name nothing.

#include "core/data/pastebuffer.h"
#include "core/data/records.h"

#include <string>
#include <vector>

namespace tarnwick::core {

// One field of one record that names the item.
struct RecordUse {
    PasteKind table; // Unit (a weapon's users) or Formation
    int slot;
    int field; // the unit's weapon 1..4 or the formation's member 1..10

    bool operator==(const RecordUse&) const = default;
};

// Every use, by slot and then by field.
std::vector<RecordUse> WhereUsed(const TOobData& data, PasteKind kind, int slot);

// How many different records the uses come from.
int RecordsIn(const std::vector<RecordUse>& uses);

// "weapons", "units", "formations": the table names of the command line and its CSV.
const char* TableName(PasteKind kind);
// "weapon 2", "member 7".
std::string UseFieldText(const RecordUse& use);
// The Where Used window's heading (bytes): 'Weapon 12 "MG": 3 uses in 2 units',
// or 'Nothing names weapon 12 "MG"'.
std::string WhereUsedHeading(
    const TOobData& data, PasteKind kind, int slot, const std::vector<RecordUse>& uses);
// "Nothing names weapon 12".
std::string NothingNamesText(PasteKind kind, int slot);
// The record's stored name (bytes).
const std::string& RecordName(const TOobData& data, PasteKind kind, int slot);

} // namespace tarnwick::core
