#include "core/data/ooblayout.h"

#include "core/data/records.h"

#include <algorithm>
#include <array>
#include <cstddef>

namespace tarnwick::core {

namespace {

using K = FieldKind;
using C = FieldCode;
using S = SaveClamp;

constexpr FieldRange kWhole = { 0, -1 };
constexpr FieldRange kYears = { 0, 120 };
constexpr FieldRange kMonths = { 1, 12 };

#define TW_W(m) offsetof(TOobWeapon, m)
#define TW_U(m) offsetof(TOobUnit, m)
#define TW_F(m) offsetof(TOobFormation, m)

constexpr OobField kWeaponFields[] = {
    { "Name", 80, kNameLength, 0, K::Name, C::None, TW_W(name), kWhole, S::None, "Name", 1 },
    { "Weapon Class", 3830, 1, 0, K::Byte, C::WeaponClass, TW_W(weaponClass), kWhole, S::None, "Weapon Class",
        2 },
    { "Weapon Size", 4330, 1, 0, K::Byte, C::None, TW_W(weaponSize), kWhole, S::None, "Weapon Size" },
    { "Warhead Size", 4580, 1, 0, K::Byte, C::None, TW_W(warheadSize), kWhole, S::None, "Warhead Size", 4 },
    { "HE Pen", 4830, 2, 0, K::Byte, C::None, TW_W(hePen), kWhole, S::None, "HE Penetration", 7 },
    { "AP Pen", 4830, 2, 1, K::Byte, C::None, TW_W(apPen), kWhole, S::None, "AP Penetration", 8 },
    { "HE Kill", 5330, 2, 0, K::Byte, C::None, TW_W(heKill), kWhole, S::None, "HE Kill", 5 },
    { "AP Kill", 5330, 2, 1, K::Byte, C::None, TW_W(apKill), kWhole, S::None, "AP Kill" },
    { "Accuracy", 5830, 1, 0, K::Byte, C::None, TW_W(accuracy), kWhole, S::None, "Accuracy", 6 },
    { "Range", 6080, 1, 0, K::Byte, C::None, TW_W(range), kWhole, S::None, "Weapon Range", 12 },
    { "Sabot Range", 6330, 1, 0, K::Byte, C::None, TW_W(sabotRange), kWhole, S::None, "Sabot Range", 11 },
    { "Sabot Pen", 6580, 1, 0, K::Byte, C::None, TW_W(sabotPen), kWhole, S::None, "Sabot Penetration", 9 },
    { "HEAT Pen", 6830, 1, 0, K::Byte, C::None, TW_W(heatPen), kWhole, S::None, "HEAT Penetration", 10 },
};
constexpr OobColumn kWeaponUnused[] = { { 4080, 1 }, { 7080, 12 } };
constexpr OobColumn kWeaponColumns[]
    = { { 80, kNameLength }, { 3830, 1 }, { 4080, 1 }, { 4330, 1 }, { 4580, 1 }, { 4830, 2 }, { 5330, 2 },
          { 5830, 1 }, { 6080, 1 }, { 6330, 1 }, { 6580, 1 }, { 6830, 1 }, { 7080, 12 } };

// A plain byte of a unit: no code, the whole range.
#define TW_UNIT_BYTE(name, base, width, offset, member, label)                                               \
    {                                                                                                        \
        name, base, width, offset, K::Byte, C::None, member, kWhole, S::None, label                          \
    }

constexpr OobField kUnitFields[] = {
    { "Name", 10080, kNameLength, 0, K::Name, C::None, TW_U(name), kWhole, S::None, "Name", 1 },
    { "Class ID", 19080, 1, 0, K::Byte, C::UnitClass, TW_U(unitClass), { 0, 255 }, S::None, "Unit Class", 3 },
    TW_UNIT_BYTE("Size", 20280, 1, 0, TW_U(size), "Size"),
    TW_UNIT_BYTE("Crew", 20880, 1, 0, TW_U(crew), "Crew"),
    { "Weapon 1", 21480, 4, 0, K::Byte, C::Weapon, TW_U(weapon) + 0, { 0, 249 }, S::None, "Weapon 1" },
    { "Weapon 2", 21480, 4, 1, K::Byte, C::Weapon, TW_U(weapon) + 1, { 0, 249 }, S::None, "Weapon 2" },
    { "Weapon 3", 21480, 4, 2, K::Byte, C::Weapon, TW_U(weapon) + 2, { 0, 249 }, S::None, "Weapon 3" },
    { "Weapon 4", 21480, 4, 3, K::Byte, C::Weapon, TW_U(weapon) + 3, { 0, 249 }, S::None, "Weapon 4" },
    TW_UNIT_BYTE("Wpn1 HE Rds", 23880, 8, 0, TW_U(heAmmo) + 0, "Weapon 1 HE"),
    TW_UNIT_BYTE("Wpn1 AP Rds", 23880, 8, 1, TW_U(apAmmo) + 0, "Weapon 1 AP"),
    TW_UNIT_BYTE("Wpn2 HE Rds", 23880, 8, 2, TW_U(heAmmo) + 1, "Weapon 2 HE"),
    TW_UNIT_BYTE("Wpn2 AP Rds", 23880, 8, 3, TW_U(apAmmo) + 1, "Weapon 2 AP"),
    TW_UNIT_BYTE("Wpn3 HE Rds", 23880, 8, 4, TW_U(heAmmo) + 2, "Weapon 3 HE"),
    TW_UNIT_BYTE("Wpn3 AP Rds", 23880, 8, 5, TW_U(apAmmo) + 2, "Weapon 3 AP"),
    TW_UNIT_BYTE("Wpn4 HE Rds", 23880, 8, 6, TW_U(heAmmo) + 3, "Weapon 4 HE"),
    TW_UNIT_BYTE("Wpn4 AP Rds", 23880, 8, 7, TW_U(apAmmo) + 3, "Weapon 4 AP"),
    TW_UNIT_BYTE("Speed", 28680, 1, 0, TW_U(speed), "Speed"),
    TW_UNIT_BYTE("Steel HF", 29280, 14, 0, TW_U(steelArmour) + 0, "Steel HF"),
    TW_UNIT_BYTE("Steel HS", 29280, 14, 1, TW_U(steelArmour) + 1, "Steel HS"),
    TW_UNIT_BYTE("Steel HR", 29280, 14, 2, TW_U(steelArmour) + 2, "Steel HR"),
    TW_UNIT_BYTE("Steel TF", 29280, 14, 3, TW_U(steelArmour) + 3, "Steel TF"),
    TW_UNIT_BYTE("Steel TS", 29280, 14, 4, TW_U(steelArmour) + 4, "Steel TS"),
    TW_UNIT_BYTE("Steel TR", 29280, 14, 5, TW_U(steelArmour) + 5, "Steel TR"),
    TW_UNIT_BYTE("Steel Top", 29280, 14, 6, TW_U(steelArmour) + 6, "Steel Top"),
    TW_UNIT_BYTE("HEAT HF", 29280, 14, 7, TW_U(heatArmour) + 0, "HEAT HF"),
    TW_UNIT_BYTE("HEAT HS", 29280, 14, 8, TW_U(heatArmour) + 1, "HEAT HS"),
    TW_UNIT_BYTE("HEAT HR", 29280, 14, 9, TW_U(heatArmour) + 2, "HEAT HR"),
    TW_UNIT_BYTE("HEAT TF", 29280, 14, 10, TW_U(heatArmour) + 3, "HEAT TF"),
    TW_UNIT_BYTE("HEAT TS", 29280, 14, 11, TW_U(heatArmour) + 4, "HEAT TS"),
    TW_UNIT_BYTE("HEAT TR", 29280, 14, 12, TW_U(heatArmour) + 5, "HEAT TR"),
    TW_UNIT_BYTE("HEAT Top", 29280, 14, 13, TW_U(heatArmour) + 6, "HEAT Top"),
    TW_UNIT_BYTE("ERA HF", 37680, 7, 0, TW_U(eraArmour) + 0, "Reactive HF"),
    TW_UNIT_BYTE("ERA HS", 37680, 7, 1, TW_U(eraArmour) + 1, "Reactive HS"),
    TW_UNIT_BYTE("ERA HR", 37680, 7, 2, TW_U(eraArmour) + 2, "Reactive HR"),
    TW_UNIT_BYTE("ERA TF", 37680, 7, 3, TW_U(eraArmour) + 3, "Reactive TF"),
    TW_UNIT_BYTE("ERA TS", 37680, 7, 4, TW_U(eraArmour) + 4, "Reactive TS"),
    TW_UNIT_BYTE("ERA TR", 37680, 7, 5, TW_U(eraArmour) + 5, "Reactive TR"),
    TW_UNIT_BYTE("ERA Top", 37680, 7, 6, TW_U(eraArmour) + 6, "Reactive Top"),
    TW_UNIT_BYTE("Radio%", 45480, 1, 0, TW_U(radio), "Radio"),
    { "1st Year Avail", 46080, 1, 0, K::Byte, C::None, TW_U(yearAvail), kYears, S::Year, "Year Available",
        6 },
    { "Last Year Avail", 46680, 1, 0, K::Byte, C::None, TW_U(yearUnavail), kYears, S::Year, "Year Until", 8 },
    { "Cost", 47280, 2, 0, K::Word, C::None, TW_U(cost), { 0, 999 }, S::None, "Cost", 9 },
    { "Nation", 48480, 1, 0, K::Byte, C::Nation, TW_U(nation), { 0, 599 }, S::None, "Nation", 2 },
    { "Picture (LBM) ID", 49080, 2, 0, K::Word, C::None, TW_U(lbm), { 0, 99999 }, S::None, "LBM" },
    TW_UNIT_BYTE("Vision", 50280, 1, 0, TW_U(vision), "Vision"),
    TW_UNIT_BYTE("Fire Control", 50880, 1, 0, TW_U(fireControl), "Fire control"),
    TW_UNIT_BYTE("Wpn1 SABOT Rds", 51480, 1, 0, TW_U(sabotAmmo), "Sabot"),
    TW_UNIT_BYTE("Wpn1 HEAT Rds", 52080, 1, 0, TW_U(heatAmmo), "HEAT"),
    TW_UNIT_BYTE("Rate of Fire", 52680, 1, 0, TW_U(rof), "ROF"),
    TW_UNIT_BYTE("Stabiliser", 53280, 1, 0, TW_U(stabiliser), "Stabiliser"),
    TW_UNIT_BYTE("Range Finder", 53880, 1, 0, TW_U(rangeFinder), "Range Finder"),
    TW_UNIT_BYTE("EW", 54480, 1, 0, TW_U(ew), "EW"),
    TW_UNIT_BYTE("Lift Cap", 55080, 1, 0, TW_U(carry), "Carry"),
    TW_UNIT_BYTE("Survivability", 55680, 1, 0, TW_U(survivability), "Survivability"),
    TW_UNIT_BYTE("Load Cost", 56280, 1, 0, TW_U(weight), "Weight"),
    { "Graphic (Icon) ID", 56880, 2, 0, K::Word, C::None, TW_U(icon), { 0, 99999 }, S::None, "Icon" },
    TW_UNIT_BYTE("Swim Spd", 58080, 1, 0, TW_U(swim), "Swim"),
    { "Move Class ID", 58680, 1, 0, K::Byte, C::MoveClass, TW_U(moveClass), kWhole, S::None, "Move Class" },
    TW_UNIT_BYTE("Nr S/D", 59280, 1, 0, TW_U(smokeDischargers), "Smoke Dischargers"),
    { "1st Month Avail", 59880, 1, 0, K::Byte, C::None, TW_U(monthAvail), kMonths, S::Month,
        "Month Available", 5 },
    { "Last Month Avail", 60480, 1, 0, K::Byte, C::None, TW_U(monthUnavail), kMonths, S::Month, "Month Until",
        7 },
    TW_UNIT_BYTE("Unit Sound", 61080, 1, 0, TW_U(unitSound), "Sound"),
    TW_UNIT_BYTE("Wpn1 Sound", 61680, 4, 0, TW_U(weaponSound) + 0, "Weapon 1 Sound"),
    TW_UNIT_BYTE("Wpn2 Sound", 61680, 4, 1, TW_U(weaponSound) + 1, "Weapon 2 Sound"),
    TW_UNIT_BYTE("Wpn3 Sound", 61680, 4, 2, TW_U(weaponSound) + 2, "Weapon 3 Sound"),
    TW_UNIT_BYTE("Wpn4 Sound", 61680, 4, 3, TW_U(weaponSound) + 3, "Weapon 4 Sound"),
};
constexpr OobField kUnitCarried[] = {
    TW_UNIT_BYTE("Reserved 1", 19680, 1, 0, TW_U(reserved1), ""),
    TW_UNIT_BYTE("Reserved 2", 64080, 1, 0, TW_U(reserved2), ""),
};
constexpr OobColumn kUnitUnused[] = { { 19680, 1 }, { 41880, 6 }, { 64080, 1 }, { 64680, 30 } };
constexpr OobColumn kUnitColumns[] = { { 10080, kNameLength }, { 19080, 1 }, { 19680, 1 }, { 20280, 1 },
    { 20880, 1 }, { 21480, 4 }, { 23880, 8 }, { 28680, 1 }, { 29280, 14 }, { 37680, 7 }, { 41880, 6 },
    { 45480, 1 }, { 46080, 1 }, { 46680, 1 }, { 47280, 2 }, { 48480, 1 }, { 49080, 2 }, { 50280, 1 },
    { 50880, 1 }, { 51480, 1 }, { 52080, 1 }, { 52680, 1 }, { 53280, 1 }, { 53880, 1 }, { 54480, 1 },
    { 55080, 1 }, { 55680, 1 }, { 56280, 1 }, { 56880, 2 }, { 58080, 1 }, { 58680, 1 }, { 59280, 1 },
    { 59880, 1 }, { 60480, 1 }, { 61080, 1 }, { 61680, 4 }, { 64080, 1 }, { 64680, 30 } };

#undef TW_UNIT_BYTE

// A member of a formation: a unit slot, or 1000 + a formation slot.
#define TW_MEMBER(name, n, label)                                                                            \
    {                                                                                                        \
        name, 90680, 20, 2 * (n - 1), K::Word, C::Member, TW_F(slot) + 2 * (n - 1),                          \
            { 0, 1000 + kFormationSlots }, S::None, label                                                    \
    }

constexpr OobField kFormationFields[] = {
    { "Name", 82680, kNameLength, 0, K::Name, C::None, TW_F(name), kWhole, S::None, "Name" },
    { "Country", 88680, 1, 0, K::Byte, C::Nation, TW_F(nation), kWhole, S::None, "Nation" },
    { "Avail From Yr", 89080, 1, 0, K::Byte, C::None, TW_F(yearAvail), kYears, S::Year,
        "Available from (year)" },
    { "Avail To Yr", 89480, 1, 0, K::Byte, C::None, TW_F(yearUnavail), kYears, S::Year, "Until (year)" },
    { "Buy Page", 89880, 1, 0, K::Byte, C::BuyPage, TW_F(buyPage), kWhole, S::None, "Purchase screen" },
    { "Form Type", 90280, 1, 0, K::Byte, C::FormType, TW_F(formType), kWhole, S::None, "Formation Type" },
    TW_MEMBER("Subunit 01", 1, "Unit 1"),
    TW_MEMBER("Subunit 02", 2, "Unit/Formation 2"),
    TW_MEMBER("Subunit 03", 3, "Unit/Formation 3"),
    TW_MEMBER("Subunit 04", 4, "Unit/Formation 4"),
    TW_MEMBER("Subunit 05", 5, "Unit/Formation 5"),
    TW_MEMBER("Subunit 06", 6, "Unit/Formation 6"),
    TW_MEMBER("Subunit 07", 7, "Unit/Formation 7"),
    TW_MEMBER("Subunit 08", 8, "Unit/Formation 8"),
    TW_MEMBER("Subunit 09", 9, "Unit/Formation 9"),
    TW_MEMBER("Subunit 10", 10, "Unit/Formation 10"),
    { "Avail From Mo", 98680, 1, 0, K::Byte, C::None, TW_F(monthAvail), kMonths, S::Month,
        "Available from (month)" },
    { "Avail To Mo", 99080, 1, 0, K::Byte, C::None, TW_F(monthUnavail), kMonths, S::MonthOrDecember,
        "Until (month)" },
    { "Exp Mod", 99480, 1, 0, K::Signed, C::None, TW_F(expMod), { -25, 25 }, S::None, "Experience Modifier" },
    { "Mor Mod", 99880, 1, 0, K::Signed, C::None, TW_F(moraleMod), { -25, 25 }, S::None, "Morale Modifier" },
};
constexpr OobColumn kFormationUnused[] = { { 100280, 16 } };
constexpr OobColumn kFormationColumns[]
    = { { 82680, kNameLength }, { 88680, 1 }, { 89080, 1 }, { 89480, 1 }, { 89880, 1 }, { 90280, 1 },
          { 90680, 20 }, { 98680, 1 }, { 99080, 1 }, { 99480, 1 }, { 99880, 1 }, { 100280, 16 } };

#undef TW_MEMBER
#undef TW_W
#undef TW_U
#undef TW_F

const std::array<OobTableLayout, 3> kLayouts = { {
    { OobTable::Weapons, "weapons", "weapon", kWeaponSlots + 1, kWeaponFields, kWeaponColumns, kWeaponUnused,
        {} },
    { OobTable::Units, "units", "unit", kUnitSlots + 1, kUnitFields, kUnitColumns, kUnitUnused,
        kUnitCarried },
    { OobTable::Formations, "formations", "formation", kFormationSlots + 1, kFormationFields,
        kFormationColumns, kFormationUnused, {} },
} };

} // namespace

std::size_t OobField::size() const
{
    switch (kind) {
    case FieldKind::Name:
        return kNameLength;
    case FieldKind::Word:
        return 2;
    case FieldKind::Byte:
    case FieldKind::Signed:
        break;
    }
    return 1;
}

FieldRange OobField::stored() const
{
    switch (kind) {
    case FieldKind::Word:
        return { 0, 65535 };
    case FieldKind::Signed:
        return { -128, 127 };
    case FieldKind::Byte:
    case FieldKind::Name:
        break;
    }
    return { 0, 255 };
}

FieldRange OobField::range() const
{
    return limits.low <= limits.high ? limits : stored();
}

int StoredValue(const OobField& field, int value)
{
    const FieldRange whole = field.stored();
    return std::clamp(value, whole.low, whole.high);
}

std::span<const OobTableLayout> OobLayouts()
{
    return kLayouts;
}

const OobTableLayout& OobLayoutOf(OobTable table)
{
    return kLayouts[static_cast<std::size_t>(table)];
}

const OobField* GridField(OobTable table, int column)
{
    // Grids ask for every cell of every row: the columns are looked up once.
    constexpr std::size_t kMaxColumns = 16;
    using Columns = std::array<std::array<const OobField*, kMaxColumns>, 3>;
    static const Columns columns = [] {
        Columns found {};
        for (const OobTableLayout& layout : kLayouts)
            for (const OobField& field : layout.fields)
                if (field.gridColumn >= 0 && static_cast<std::size_t>(field.gridColumn) < kMaxColumns)
                    found[static_cast<std::size_t>(layout.table)][static_cast<std::size_t>(field.gridColumn)]
                        = &field;
        return found;
    }();
    if (column < 0 || static_cast<std::size_t>(column) >= kMaxColumns)
        return nullptr;
    return columns[static_cast<std::size_t>(table)][static_cast<std::size_t>(column)];
}

int ReadField(const OobField& field, int slot, std::span<const std::uint8_t> image)
{
    const std::size_t at = field.at(slot);
    switch (field.kind) {
    case FieldKind::Word:
        return image[at] | (image[at + 1] << 8);
    case FieldKind::Signed:
        return static_cast<std::int8_t>(image[at]);
    case FieldKind::Byte:
    case FieldKind::Name:
        break;
    }
    return image[at];
}

void WriteField(const OobField& field, int slot, int value, std::span<std::uint8_t> image)
{
    const std::size_t at = field.at(slot);
    image[at] = static_cast<std::uint8_t>(value & 0xFF);
    if (field.kind == FieldKind::Word)
        image[at + 1] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
}

OobPlace PlaceOf(std::size_t offset)
{
    OobPlace place;
    for (const OobTableLayout& layout : kLayouts) {
        for (const OobColumn& column : layout.columns) {
            const std::size_t end = column.base + column.width * static_cast<std::size_t>(layout.slots);
            if (offset < column.base || offset >= end)
                continue;
            place.layout = &layout;
            place.slot = static_cast<int>((offset - column.base) / column.width);
            const std::size_t within = (offset - column.base) % column.width;
            if (place.slot == 0)
                return place;
            for (const OobField& field : layout.fields) {
                if (field.base == column.base && within >= field.offset
                    && within < field.offset + field.size())
                    place.field = &field;
            }
            return place;
        }
    }
    return place;
}

} // namespace tarnwick::core
