#include "core/data/recordfields.h"

#include <algorithm>

namespace tarnwick::core {

namespace {

template <class Record> int Get(const Record& record, std::size_t index)
{
    const OobField& field = OobLayoutOf(TableOf<Record>()).fields[index];
    if (field.kind == FieldKind::Name || field.member == kNoMember)
        return 0;
    return RecordValue(field, record);
}

template <class Record> void Set(Record& record, std::size_t index, int value)
{
    const OobField& field = OobLayoutOf(TableOf<Record>()).fields[index];
    if (field.kind == FieldKind::Name || field.member == kNoMember)
        return;
    // A word stops at its largest value rather than wrap; a byte keeps its low 8 bits.
    if (field.kind == FieldKind::Word)
        value = std::clamp(value, 0, 65535);
    SetRecordValue(field, record, value);
}

} // namespace

std::size_t FieldIndex(OobTable table, std::string_view name)
{
    const std::span<const OobField> fields = OobLayoutOf(table).fields;
    for (std::size_t i = 0; i < fields.size(); ++i)
        if (fields[i].name == name)
            return i;
    return kNoField;
}

int FieldValue(const TOobWeapon& record, std::size_t field)
{
    return Get(record, field);
}
int FieldValue(const TOobUnit& record, std::size_t field)
{
    return Get(record, field);
}
int FieldValue(const TOobFormation& record, std::size_t field)
{
    return Get(record, field);
}

void SetFieldValue(TOobWeapon& record, std::size_t field, int value)
{
    Set(record, field, value);
}
void SetFieldValue(TOobUnit& record, std::size_t field, int value)
{
    Set(record, field, value);
}
void SetFieldValue(TOobFormation& record, std::size_t field, int value)
{
    Set(record, field, value);
}

} // namespace tarnwick::core
