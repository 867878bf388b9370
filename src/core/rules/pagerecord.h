#pragma once

// What a record page's commit hands over to be stored: the record of its kind.

#include "core/data/records.h"

#include <type_traits>
#include <variant>

namespace tarnwick::core {

using PageRecord = std::variant<TOobWeapon, TOobUnit, TOobFormation>;

// Stores record into its table at slot; a slot outside the table stores nothing.
inline bool StoreRecord(TOobData& data, int slot, const PageRecord& record)
{
    return std::visit(
        [&data, slot](const auto& r) {
            using R = std::decay_t<decltype(r)>;
            auto store = [slot, &r](auto& table) {
                if (slot < 1 || static_cast<std::size_t>(slot) >= table.size())
                    return false;
                table[static_cast<std::size_t>(slot)] = r;
                return true;
            };
            if constexpr (std::is_same_v<R, TOobWeapon>)
                return store(data.weapons);
            else if constexpr (std::is_same_v<R, TOobUnit>)
                return store(data.units);
            else
                return store(data.formations);
        },
        record);
}

} // namespace tarnwick::core
