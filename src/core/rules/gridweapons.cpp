#include "core/rules/gridweapons.h"

#include "core/data/globals.h"
#include "core/data/ooblayout.h"
#include "core/rules/gridsave.h"

#include <cstdint>
#include <vector>

namespace tarnwick::core {

const std::array<GridColumn, kWeaponGridColumnCount> kWeaponGridColumns { {
    { "Wpn Nr", 52, false, true },
    { "Name", 150, true, false },
    { "Class Nr", 56, true, true },
    { "Class Description", 184, false, false },
    { "WH Size", 84, true, true },
    { "HE Kill", 74, true, true },
    { "Accuracy", 70, true, true },
    { "HE Pen", 66, true, true },
    { "AP Pen", 64, true, true },
    { "Sabot Pen", 66, true, true },
    { "HEAT Pen", 72, true, true },
    { "Sabot Range", 68, true, true },
    { "Weapon Range", 70, true, true },
} };

namespace {

// The field behind a numeric column, or null for the others.
const OobField* NumberField(int column)
{
    const OobField* field = GridField(OobTable::Weapons, column);
    return field != nullptr && field->kind != FieldKind::Name ? field : nullptr;
}

std::string SavedWeaponName(std::string_view cell)
{
    std::size_t end = cell.size();
    while (end > 0 && static_cast<unsigned char>(cell[end - 1]) <= ' ')
        --end;
    return std::string(cell.substr(0, std::min(end, kNameLength)));
}

} // namespace

GridCellColour WeaponRowColour(const TOobWeapon& weapon)
{
    return weapon.weaponClass == 0 ? GridCellColour::Aqua : GridCellColour::Normal;
}

GridRow WeaponGridRow(const TOobWeapon& weapon, int slot)
{
    GridRow row;
    row.slot = slot;
    row.cells.resize(kWeaponGridColumnCount);
    row.colours.assign(kWeaponGridColumnCount, WeaponRowColour(weapon));
    row.cells[0] = std::to_string(slot);
    row.cells[kWeaponGridNameColumn] = weapon.name;
    row.cells[kWeaponGridClassDescColumn] = WeaponClassName(weapon.weaponClass);
    for (int c = 0; c < kWeaponGridColumnCount; ++c)
        if (const OobField* field = NumberField(c))
            row.cells[static_cast<std::size_t>(c)] = std::to_string(RecordValue(*field, weapon));
    row.colours[0] = GridCellColour::Grey;
    row.colours[kWeaponGridClassDescColumn] = GridCellColour::Grey;
    return row;
}

GridRows WeaponGridRows(const TOobData& data)
{
    GridRows rows;
    rows.reserve(kWeaponSlots);
    for (int s = 1; s <= kWeaponSlots; ++s)
        rows.push_back(WeaponGridRow(data.weapons[static_cast<std::size_t>(s)], s));
    return rows;
}

std::string WeaponGridClassDescription(std::string_view classCell)
{
    std::size_t first = 0;
    std::size_t last = classCell.size();
    while (first < last && classCell[first] == ' ')
        ++first;
    while (last > first && classCell[last - 1] == ' ')
        --last;
    try {
        const std::int32_t n = StrToInt(classCell.substr(first, last - first));
        return n >= 0 && n <= 255 ? WeaponClassName(static_cast<std::uint8_t>(n)) : WeaponClassName(0);
    } catch (const EConvertError&) {
        return {};
    }
}

std::optional<GridCellError> SaveWeaponGrid(TOobData& data, const GridRows& rows)
{
    return SaveGridRows(
        data.weapons, rows, kWeaponGridColumns,
        [](const TOobWeapon& weapon, int slot) { return WeaponGridRow(weapon, slot); },
        [](TOobWeapon& weapon, int column, const std::string& text) {
            if (column == kWeaponGridNameColumn) {
                weapon.name = SavedWeaponName(text);
                return true;
            }
            const OobField& field = *NumberField(column);
            const std::optional<int> value = ReadGridNumber(text, field);
            if (value)
                SetRecordValue(field, weapon, *value);
            return value.has_value();
        });
}

} // namespace tarnwick::core
