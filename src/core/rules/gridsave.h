#pragma once

// The save both grids share: all or nothing, and only the cells the user changed.

#include "core/rules/gridform.h"

#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace tarnwick::core {

// Every editable cell whose text differs from what shownRow(record, slot) gives
// for its record is handed to storeCell(record, column, text), which returns
// false for a text that is no number. Nothing is stored until every row has
// been read; on the first refused cell (top to bottom, left to right) nothing
// is stored and that cell comes back. Rows naming no slot of the table are skipped.
template <class Record, std::size_t N, class ShownRow, class StoreCell>
std::optional<GridCellError> SaveGridRows(std::array<Record, N>& table, const GridRows& rows,
    std::span<const GridColumn> columns, const ShownRow& shownRow, const StoreCell& storeCell)
{
    struct Pending {
        std::size_t slot;
        Record record;
    };
    std::vector<Pending> pending;
    pending.reserve(rows.size());
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const GridRow& row = rows[r];
        if (row.slot < 1 || static_cast<std::size_t>(row.slot) >= N)
            continue;
        const auto slot = static_cast<std::size_t>(row.slot);
        const GridRow shown = shownRow(table[slot], row.slot);
        Pending next { slot, table[slot] };
        for (std::size_t c = 0; c < columns.size() && c < row.cells.size(); ++c) {
            const std::string& text = row.cells[c];
            if (!columns[c].editable || (c < shown.cells.size() && text == shown.cells[c]))
                continue;
            if (!storeCell(next.record, static_cast<int>(c), text))
                return GridCellError { static_cast<int>(r), static_cast<int>(c), text,
                    GridCellErrorText(row.slot, columns[c].title, text) };
        }
        pending.push_back(std::move(next));
    }
    for (Pending& p : pending)
        table[p.slot] = std::move(p.record);
    return std::nullopt;
}

} // namespace tarnwick::core
