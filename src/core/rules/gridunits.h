#pragma once

// The units grid: one row per unit slot with its nation, class, dates and
// points, the row colours, and the save of name, class, dates and points
// with the unit page's limits.

#include "core/data/globals.h"
#include "core/data/records.h"
#include "core/rules/gridform.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace tarnwick::core {

inline constexpr const char* kUnitGridCaption = "Units Points & Availability check grid - NO error checking!";

inline constexpr int kUnitGridColumnCount = 10;
inline constexpr int kUnitGridNameColumn = 1;
inline constexpr int kUnitGridNationColumn = 2;
inline constexpr int kUnitGridClassColumn = 3;
inline constexpr int kUnitGridClassDescColumn = 4;
extern const std::array<GridColumn, kUnitGridColumnCount> kUnitGridColumns;

// White for a unit in use (a class or a name), else aqua without a nation and
// red when an empty slot still carries one.
GridCellColour UnitRowColour(const TOobUnit& unit);

GridRow UnitGridRow(const TOobUnit& unit, int slot, const NameTables& names);
// Rows of slots 1..599, slot s in row s - 1.
GridRows UnitGridRows(const TOobData& data, const NameTables& names);

// The class description for what the class cell holds: a whole integer 0..255
// (blanks around it allowed) gives its name, anything else an empty text.
std::string UnitGridClassDescription(std::string_view classCell, const NameTables& names);

// Saves every row into the unit of its slot, as the unit page commits them:
// the name trimmed and cut to 15 characters, class 0..255, months 1..12, years
// 0..120, points 0..999, each with the numeric rule. Nation and the grey columns
// are never written; a cell still as the fill wrote it leaves its field alone.
// All or nothing, as the weapons grid's save.
std::optional<GridCellError> SaveUnitGrid(TOobData& data, const GridRows& rows, const NameTables& names);

} // namespace tarnwick::core
