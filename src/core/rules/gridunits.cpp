#include "core/rules/gridunits.h"

#include "core/data/ooblayout.h"
#include "core/rules/gridsave.h"

#include <cstdint>
#include <vector>

namespace tarnwick::core {

const std::array<GridColumn, kUnitGridColumnCount> kUnitGridColumns { {
    { "Unit Nr", 80, false, true },
    { "Name", 126, true, false },
    { "Nation", 80, false, false },
    { "Class", 120, true, true },
    { "Class Desc", 80, false, false },
    { "Avail - MM", 80, true, true },
    { "YY", 80, true, true },
    { "Until - MM", 80, true, true },
    { "YY", 80, true, true },
    { "Points", 80, true, true },
} };

namespace {

// The field behind a numeric column: the table's grid column, not the name or
// the nation (shown by its name).
const OobField* NumberField(int column)
{
    const OobField* field = GridField(OobTable::Units, column);
    if (field == nullptr || field->kind == FieldKind::Name || field->code == FieldCode::Nation)
        return nullptr;
    return field;
}

} // namespace

GridCellColour UnitRowColour(const TOobUnit& unit)
{
    if (unit.unitClass != 0 || !TrimName(unit.name).empty())
        return GridCellColour::White;
    return unit.nation == 0 ? GridCellColour::Aqua : GridCellColour::Red;
}

GridRow UnitGridRow(const TOobUnit& unit, int slot, const NameTables& names)
{
    GridRow row;
    row.slot = slot;
    row.cells.resize(kUnitGridColumnCount);
    row.colours.assign(kUnitGridColumnCount, UnitRowColour(unit));
    row.cells[0] = std::to_string(slot);
    row.cells[kUnitGridNameColumn] = unit.name;
    row.cells[kUnitGridNationColumn] = NationName(names, unit.nation);
    row.cells[kUnitGridClassDescColumn] = UnitClassName(names, unit.unitClass);
    for (int c = 0; c < kUnitGridColumnCount; ++c)
        if (const OobField* field = NumberField(c))
            row.cells[static_cast<std::size_t>(c)] = std::to_string(RecordValue(*field, unit));
    row.colours[0] = GridCellColour::Grey;
    row.colours[kUnitGridClassDescColumn] = GridCellColour::Grey;
    return row;
}

GridRows UnitGridRows(const TOobData& data, const NameTables& names)
{
    GridRows rows;
    rows.reserve(kUnitSlots);
    for (int s = 1; s <= kUnitSlots; ++s)
        rows.push_back(UnitGridRow(data.units[static_cast<std::size_t>(s)], s, names));
    return rows;
}

std::string UnitGridClassDescription(std::string_view classCell, const NameTables& names)
{
    std::size_t first = 0;
    std::size_t last = classCell.size();
    while (first < last && classCell[first] == ' ')
        ++first;
    while (last > first && classCell[last - 1] == ' ')
        --last;
    try {
        const std::int32_t n = StrToInt(classCell.substr(first, last - first));
        return n >= 0 && n <= 255 ? UnitClassName(names, static_cast<std::uint8_t>(n)) : std::string();
    } catch (const EConvertError&) {
        return {};
    }
}

std::optional<GridCellError> SaveUnitGrid(TOobData& data, const GridRows& rows, const NameTables& names)
{
    return SaveGridRows(
        data.units, rows, kUnitGridColumns,
        [&names](const TOobUnit& unit, int slot) { return UnitGridRow(unit, slot, names); },
        [](TOobUnit& unit, int column, const std::string& text) {
            if (column == kUnitGridNameColumn) {
                std::string name = TrimName(text);
                if (name.size() > kNameLength)
                    name.resize(kNameLength);
                unit.name = std::move(name);
                return true;
            }
            const OobField& field = *NumberField(column);
            const std::optional<int> value = ReadGridNumber(text, field);
            if (value)
                SetRecordValue(field, unit, *value);
            return value.has_value();
        });
}

} // namespace tarnwick::core
