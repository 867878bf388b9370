#include "core/data/recordfields.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace tarnwick::core {

namespace {

template <class T> void Assign(T& target, int value)
{
    if constexpr (std::is_same_v<T, std::uint16_t>)
        target = static_cast<T>(std::clamp(value, 0, 65535)); // wider values stop at the top, never wrap
    else
        target = static_cast<T>(static_cast<std::uint8_t>(static_cast<unsigned>(value) & 0xFFu));
}

template <class Record> struct Access {
    std::string_view name; // as the field table names the field
    int (*get)(const Record&);
    void (*set)(Record&, int);
};

// The record member behind each numeric field of the table, by the field's name.
#define TW_MEMBER(label, expr)                                                                               \
    Access<Rec>                                                                                              \
    {                                                                                                        \
        label, [](const Rec& r) -> int { return expr; }, [](Rec& r, int v) { Assign(expr, v); }              \
    }

namespace weapon {
using Rec = TOobWeapon;
const Access<Rec> kMembers[] = {
    TW_MEMBER("Weapon Class", r.weaponClass),
    TW_MEMBER("Weapon Size", r.weaponSize),
    TW_MEMBER("Warhead Size", r.warheadSize),
    TW_MEMBER("HE Pen", r.hePen),
    TW_MEMBER("AP Pen", r.apPen),
    TW_MEMBER("HE Kill", r.heKill),
    TW_MEMBER("AP Kill", r.apKill),
    TW_MEMBER("Accuracy", r.accuracy),
    TW_MEMBER("Range", r.range),
    TW_MEMBER("Sabot Range", r.sabotRange),
    TW_MEMBER("Sabot Pen", r.sabotPen),
    TW_MEMBER("HEAT Pen", r.heatPen),
};
} // namespace weapon

namespace unit {
using Rec = TOobUnit;
const Access<Rec> kMembers[] = {
    TW_MEMBER("Class ID", r.unitClass),
    TW_MEMBER("Size", r.size),
    TW_MEMBER("Crew", r.crew),
    TW_MEMBER("Weapon 1", r.weapon[0]),
    TW_MEMBER("Weapon 2", r.weapon[1]),
    TW_MEMBER("Weapon 3", r.weapon[2]),
    TW_MEMBER("Weapon 4", r.weapon[3]),
    TW_MEMBER("Wpn1 HE Rds", r.heAmmo[0]),
    TW_MEMBER("Wpn1 AP Rds", r.apAmmo[0]),
    TW_MEMBER("Wpn2 HE Rds", r.heAmmo[1]),
    TW_MEMBER("Wpn2 AP Rds", r.apAmmo[1]),
    TW_MEMBER("Wpn3 HE Rds", r.heAmmo[2]),
    TW_MEMBER("Wpn3 AP Rds", r.apAmmo[2]),
    TW_MEMBER("Wpn4 HE Rds", r.heAmmo[3]),
    TW_MEMBER("Wpn4 AP Rds", r.apAmmo[3]),
    TW_MEMBER("Speed", r.speed),
    TW_MEMBER("Steel HF", r.steelArmour[0]),
    TW_MEMBER("Steel HS", r.steelArmour[1]),
    TW_MEMBER("Steel HR", r.steelArmour[2]),
    TW_MEMBER("Steel TF", r.steelArmour[3]),
    TW_MEMBER("Steel TS", r.steelArmour[4]),
    TW_MEMBER("Steel TR", r.steelArmour[5]),
    TW_MEMBER("Steel Top", r.steelArmour[6]),
    TW_MEMBER("HEAT HF", r.heatArmour[0]),
    TW_MEMBER("HEAT HS", r.heatArmour[1]),
    TW_MEMBER("HEAT HR", r.heatArmour[2]),
    TW_MEMBER("HEAT TF", r.heatArmour[3]),
    TW_MEMBER("HEAT TS", r.heatArmour[4]),
    TW_MEMBER("HEAT TR", r.heatArmour[5]),
    TW_MEMBER("HEAT Top", r.heatArmour[6]),
    TW_MEMBER("ERA HF", r.eraArmour[0]),
    TW_MEMBER("ERA HS", r.eraArmour[1]),
    TW_MEMBER("ERA HR", r.eraArmour[2]),
    TW_MEMBER("ERA TF", r.eraArmour[3]),
    TW_MEMBER("ERA TS", r.eraArmour[4]),
    TW_MEMBER("ERA TR", r.eraArmour[5]),
    TW_MEMBER("ERA Top", r.eraArmour[6]),
    TW_MEMBER("Radio%", r.radio),
    TW_MEMBER("1st Year Avail", r.yearAvail),
    TW_MEMBER("Last Year Avail", r.yearUnavail),
    TW_MEMBER("Cost", r.cost),
    TW_MEMBER("Nation", r.nation),
    TW_MEMBER("Picture (LBM) ID", r.lbm),
    TW_MEMBER("Vision", r.vision),
    TW_MEMBER("Fire Control", r.fireControl),
    TW_MEMBER("Wpn1 SABOT Rds", r.sabotAmmo),
    TW_MEMBER("Wpn1 HEAT Rds", r.heatAmmo),
    TW_MEMBER("Rate of Fire", r.rof),
    TW_MEMBER("Stabiliser", r.stabiliser),
    TW_MEMBER("Range Finder", r.rangeFinder),
    TW_MEMBER("EW", r.ew),
    TW_MEMBER("Lift Cap", r.carry),
    TW_MEMBER("Survivability", r.survivability),
    TW_MEMBER("Load Cost", r.weight),
    TW_MEMBER("Graphic (Icon) ID", r.icon),
    TW_MEMBER("Swim Spd", r.swim),
    TW_MEMBER("Move Class ID", r.moveClass),
    TW_MEMBER("Nr S/D", r.smokeDischargers),
    TW_MEMBER("1st Month Avail", r.monthAvail),
    TW_MEMBER("Last Month Avail", r.monthUnavail),
    TW_MEMBER("Unit Sound", r.unitSound),
    TW_MEMBER("Wpn1 Sound", r.weaponSound[0]),
    TW_MEMBER("Wpn2 Sound", r.weaponSound[1]),
    TW_MEMBER("Wpn3 Sound", r.weaponSound[2]),
    TW_MEMBER("Wpn4 Sound", r.weaponSound[3]),
};
} // namespace unit

namespace formation {
using Rec = TOobFormation;
const Access<Rec> kMembers[] = {
    TW_MEMBER("Country", r.nation),
    TW_MEMBER("Avail From Yr", r.yearAvail),
    TW_MEMBER("Avail To Yr", r.yearUnavail),
    TW_MEMBER("Buy Page", r.buyPage),
    TW_MEMBER("Form Type", r.formType),
    TW_MEMBER("Subunit 01", r.slot[0]),
    TW_MEMBER("Subunit 02", r.slot[1]),
    TW_MEMBER("Subunit 03", r.slot[2]),
    TW_MEMBER("Subunit 04", r.slot[3]),
    TW_MEMBER("Subunit 05", r.slot[4]),
    TW_MEMBER("Subunit 06", r.slot[5]),
    TW_MEMBER("Subunit 07", r.slot[6]),
    TW_MEMBER("Subunit 08", r.slot[7]),
    TW_MEMBER("Subunit 09", r.slot[8]),
    TW_MEMBER("Subunit 10", r.slot[9]),
    TW_MEMBER("Avail From Mo", r.monthAvail),
    TW_MEMBER("Avail To Mo", r.monthUnavail),
    TW_MEMBER("Exp Mod", r.expMod),
    TW_MEMBER("Mor Mod", r.moraleMod),
};
} // namespace formation

#undef TW_MEMBER

// The members in the order of the table's fields (the name and any field
// without a member get none), found once.
template <class Record, std::size_t N>
const std::vector<const Access<Record>*>& ByIndex(const Access<Record> (&members)[N])
{
    static const std::vector<const Access<Record>*> byIndex = [&] {
        const std::span<const OobField> fields = OobLayoutOf(TableOf<Record>()).fields;
        std::vector<const Access<Record>*> found(fields.size(), nullptr);
        for (std::size_t i = 0; i < fields.size(); ++i)
            for (const Access<Record>& member : members)
                if (member.name == fields[i].name)
                    found[i] = &member;
        return found;
    }();
    return byIndex;
}

template <class Record, std::size_t N>
int Get(const Access<Record> (&members)[N], const Record& record, std::size_t field)
{
    const Access<Record>* member = ByIndex(members)[field];
    return member ? member->get(record) : 0;
}

template <class Record, std::size_t N>
void Set(const Access<Record> (&members)[N], Record& record, std::size_t field, int value)
{
    if (const Access<Record>* member = ByIndex(members)[field])
        member->set(record, value);
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
    return Get(weapon::kMembers, record, field);
}
int FieldValue(const TOobUnit& record, std::size_t field)
{
    return Get(unit::kMembers, record, field);
}
int FieldValue(const TOobFormation& record, std::size_t field)
{
    return Get(formation::kMembers, record, field);
}

void SetFieldValue(TOobWeapon& record, std::size_t field, int value)
{
    Set(weapon::kMembers, record, field, value);
}
void SetFieldValue(TOobUnit& record, std::size_t field, int value)
{
    Set(unit::kMembers, record, field, value);
}
void SetFieldValue(TOobFormation& record, std::size_t field, int value)
{
    Set(formation::kMembers, record, field, value);
}

} // namespace tarnwick::core
