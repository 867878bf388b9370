#pragma once

// The weapons grid: one row per weapon slot, what each column shows, the
// colours, the class description, and the save back into the weapon records.

#include "core/data/records.h"
#include "core/rules/gridform.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace tarnwick::core {

inline constexpr const char* kWeaponGridCaption = "Weapon Grid Utility - NO error checking!";

inline constexpr int kWeaponGridColumnCount = 13;
inline constexpr int kWeaponGridNameColumn = 1;
inline constexpr int kWeaponGridClassColumn = 2;
inline constexpr int kWeaponGridClassDescColumn = 3;
extern const std::array<GridColumn, kWeaponGridColumnCount> kWeaponGridColumns;

// Row of weapon slot s as the fill writes it: texts and colours by column.
GridRow WeaponGridRow(const TOobWeapon& weapon, int slot);
// Rows of slots 1..249, slot s in row s - 1.
GridRows WeaponGridRows(const TOobData& data);

// Aqua for a slot not in use (class 0), else the normal colour.
GridCellColour WeaponRowColour(const TOobWeapon& weapon);

// The class description for what the class cell holds: read as a whole integer
// (blanks around it allowed), else empty; a number above 255 names no class.
std::string WeaponGridClassDescription(std::string_view classCell);

// Saves every row into the weapon of its slot: the name with trailing blanks
// removed and cut to 15 characters; each numeric cell with the numeric rule,
// limited to 0..255. A cell still as the fill wrote it leaves its field alone.
// All or nothing: when any cell is no number, nothing is stored and the first
// such cell (top to bottom, left to right) comes back.
std::optional<GridCellError> SaveWeaponGrid(TOobData& data, const GridRows& rows);

} // namespace tarnwick::core
