#pragma once

// The fields of the field table reached on the records: each field of
// OobLayoutOf(table).fields, by its index there, read and written on a record
// as a number, so that the CSV files can walk the table instead of listing
// record members of their own.

#include "core/data/ooblayout.h"
#include "core/data/records.h"

#include <cstddef>
#include <string_view>

namespace tarnwick::core {

template <class Record> constexpr OobTable TableOf();
template <> constexpr OobTable TableOf<TOobWeapon>()
{
    return OobTable::Weapons;
}
template <> constexpr OobTable TableOf<TOobUnit>()
{
    return OobTable::Units;
}
template <> constexpr OobTable TableOf<TOobFormation>()
{
    return OobTable::Formations;
}

// The index of the field of table named name; npos when there is none.
inline constexpr std::size_t kNoField = static_cast<std::size_t>(-1);
std::size_t FieldIndex(OobTable table, std::string_view name);

// The value of a numeric field as the record holds it (-128..127 for a signed
// field); 0 for the name.
int FieldValue(const TOobWeapon& record, std::size_t field);
int FieldValue(const TOobUnit& record, std::size_t field);
int FieldValue(const TOobFormation& record, std::size_t field);

// Stores value as the field holds it: the low 8 bits of a byte, 0..65535 for a
// word (a wider value clamped). The name is not set here.
void SetFieldValue(TOobWeapon& record, std::size_t field, int value);
void SetFieldValue(TOobUnit& record, std::size_t field, int value);
void SetFieldValue(TOobFormation& record, std::size_t field, int value);

// Copies one field, the name included, from one record to another.
template <class Record> void CopyField(const Record& from, Record& to, std::size_t field)
{
    if (OobLayoutOf(TableOf<Record>()).fields[field].kind == FieldKind::Name)
        to.name = from.name;
    else
        SetFieldValue(to, field, FieldValue(from, field));
}

} // namespace tarnwick::core
