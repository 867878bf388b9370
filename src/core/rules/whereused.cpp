#include "core/rules/whereused.h"

#include "core/data/records.h"

#include <cstddef>

namespace tarnwick::core {

std::vector<RecordUse> WhereUsed(const TOobData& data, PasteKind kind, int slot)
{
    std::vector<RecordUse> uses;
    if (kind == PasteKind::Weapon) {
        if (!IsWeaponSlot(slot))
            return uses;
        for (int u = 1; u <= kUnitSlots; ++u) {
            const TOobUnit& unit = data.units[static_cast<std::size_t>(u)];
            for (std::size_t k = 0; k < unit.weapon.size(); ++k)
                if (unit.weapon[k] == slot && !IsBlankName(unit.name))
                    uses.push_back({ PasteKind::Unit, u, static_cast<int>(k) + 1 });
        }
        return uses;
    }
    if (kind == PasteKind::Unit ? !IsUnitSlot(slot) : !IsSubFormationMember(1000 + slot))
        return uses;
    const int member = kind == PasteKind::Unit ? slot : 1000 + slot;
    for (int f = 1; f <= kFormationSlots; ++f) {
        const TOobFormation& formation = data.formations[static_cast<std::size_t>(f)];
        for (std::size_t k = 0; k < formation.slot.size(); ++k)
            if (formation.slot[k] == member && !IsBlankName(formation.name))
                uses.push_back({ PasteKind::Formation, f, static_cast<int>(k) + 1 });
    }
    return uses;
}

int RecordsIn(const std::vector<RecordUse>& uses)
{
    int count = 0;
    for (std::size_t i = 0; i < uses.size(); ++i)
        if (i == 0 || uses[i].slot != uses[i - 1].slot || uses[i].table != uses[i - 1].table)
            ++count;
    return count;
}

const char* TableName(PasteKind kind)
{
    return kind == PasteKind::Weapon ? "weapons" : kind == PasteKind::Unit ? "units" : "formations";
}

std::string UseFieldText(const RecordUse& use)
{
    return (use.table == PasteKind::Unit ? "weapon " : "member ") + std::to_string(use.field);
}

std::string NothingNamesText(PasteKind kind, int slot)
{
    return std::string("Nothing names ")
        + (kind == PasteKind::Weapon      ? "weapon "
                : kind == PasteKind::Unit ? "unit "
                                          : "formation ")
        + std::to_string(slot);
}

std::string WhereUsedHeading(
    const TOobData& data, PasteKind kind, int slot, const std::vector<RecordUse>& uses)
{
    const std::string quoted = " \"" + RecordName(data, kind, slot) + "\"";
    if (uses.empty())
        return NothingNamesText(kind, slot) + quoted;
    std::string item = NothingNamesText(kind, slot).substr(14);
    item[0] = static_cast<char>(item[0] - 'a' + 'A');
    const int records = RecordsIn(uses);
    const bool oneUse = uses.size() == 1;
    const char* table = kind == PasteKind::Weapon ? (records == 1 ? " unit" : " units")
                                                  : (records == 1 ? " formation" : " formations");
    return item + quoted + ": " + std::to_string(uses.size()) + (oneUse ? " use in " : " uses in ")
        + std::to_string(records) + table;
}

const std::string& RecordName(const TOobData& data, PasteKind kind, int slot)
{
    static const std::string none;
    switch (kind) {
    case PasteKind::Weapon:
        return IsWeaponSlot(slot) ? data.weapons[static_cast<std::size_t>(slot)].name : none;
    case PasteKind::Unit:
        return IsUnitSlot(slot) ? data.units[static_cast<std::size_t>(slot)].name : none;
    case PasteKind::Formation:
        return slot >= 1 && slot <= kFormationSlots ? data.formations[static_cast<std::size_t>(slot)].name
                                                    : none;
    }
    return none;
}

} // namespace tarnwick::core
