#include "core/data/ooblayout.h"

#include "core/data/records.h"

#include <array>

namespace tarnwick::core {

namespace {

using K = FieldKind;
using C = FieldCode;

constexpr OobField kWeaponFields[] = {
    { "Name", 80, kNameLength, 0, K::Name },
    { "Weapon Class", 3830, 1, 0, K::Byte, C::WeaponClass },
    { "Weapon Size", 4330, 1, 0, K::Byte },
    { "Warhead Size", 4580, 1, 0, K::Byte },
    { "HE Pen", 4830, 2, 0, K::Byte },
    { "AP Pen", 4830, 2, 1, K::Byte },
    { "HE Kill", 5330, 2, 0, K::Byte },
    { "AP Kill", 5330, 2, 1, K::Byte },
    { "Accuracy", 5830, 1, 0, K::Byte },
    { "Range", 6080, 1, 0, K::Byte },
    { "Sabot Range", 6330, 1, 0, K::Byte },
    { "Sabot Pen", 6580, 1, 0, K::Byte },
    { "HEAT Pen", 6830, 1, 0, K::Byte },
};
constexpr OobColumn kWeaponUnused[] = { { 4080, 1 }, { 7080, 12 } };
constexpr OobColumn kWeaponColumns[]
    = { { 80, kNameLength }, { 3830, 1 }, { 4080, 1 }, { 4330, 1 }, { 4580, 1 }, { 4830, 2 }, { 5330, 2 },
          { 5830, 1 }, { 6080, 1 }, { 6330, 1 }, { 6580, 1 }, { 6830, 1 }, { 7080, 12 } };

constexpr OobField kUnitFields[] = {
    { "Name", 10080, kNameLength, 0, K::Name },
    { "Class ID", 19080, 1, 0, K::Byte, C::UnitClass },
    { "Size", 20280, 1, 0, K::Byte },
    { "Crew", 20880, 1, 0, K::Byte },
    { "Weapon 1", 21480, 4, 0, K::Byte, C::Weapon },
    { "Weapon 2", 21480, 4, 1, K::Byte, C::Weapon },
    { "Weapon 3", 21480, 4, 2, K::Byte, C::Weapon },
    { "Weapon 4", 21480, 4, 3, K::Byte, C::Weapon },
    { "Wpn1 HE Rds", 23880, 8, 0, K::Byte },
    { "Wpn1 AP Rds", 23880, 8, 1, K::Byte },
    { "Wpn2 HE Rds", 23880, 8, 2, K::Byte },
    { "Wpn2 AP Rds", 23880, 8, 3, K::Byte },
    { "Wpn3 HE Rds", 23880, 8, 4, K::Byte },
    { "Wpn3 AP Rds", 23880, 8, 5, K::Byte },
    { "Wpn4 HE Rds", 23880, 8, 6, K::Byte },
    { "Wpn4 AP Rds", 23880, 8, 7, K::Byte },
    { "Speed", 28680, 1, 0, K::Byte },
    { "Steel HF", 29280, 14, 0, K::Byte },
    { "Steel HS", 29280, 14, 1, K::Byte },
    { "Steel HR", 29280, 14, 2, K::Byte },
    { "Steel TF", 29280, 14, 3, K::Byte },
    { "Steel TS", 29280, 14, 4, K::Byte },
    { "Steel TR", 29280, 14, 5, K::Byte },
    { "Steel Top", 29280, 14, 6, K::Byte },
    { "HEAT HF", 29280, 14, 7, K::Byte },
    { "HEAT HS", 29280, 14, 8, K::Byte },
    { "HEAT HR", 29280, 14, 9, K::Byte },
    { "HEAT TF", 29280, 14, 10, K::Byte },
    { "HEAT TS", 29280, 14, 11, K::Byte },
    { "HEAT TR", 29280, 14, 12, K::Byte },
    { "HEAT Top", 29280, 14, 13, K::Byte },
    { "ERA HF", 37680, 7, 0, K::Byte },
    { "ERA HS", 37680, 7, 1, K::Byte },
    { "ERA HR", 37680, 7, 2, K::Byte },
    { "ERA TF", 37680, 7, 3, K::Byte },
    { "ERA TS", 37680, 7, 4, K::Byte },
    { "ERA TR", 37680, 7, 5, K::Byte },
    { "ERA Top", 37680, 7, 6, K::Byte },
    { "Radio%", 45480, 1, 0, K::Byte },
    { "1st Year Avail", 46080, 1, 0, K::Byte },
    { "Last Year Avail", 46680, 1, 0, K::Byte },
    { "Cost", 47280, 2, 0, K::Word },
    { "Nation", 48480, 1, 0, K::Byte, C::Nation },
    { "Picture (LBM) ID", 49080, 2, 0, K::Word },
    { "Vision", 50280, 1, 0, K::Byte },
    { "Fire Control", 50880, 1, 0, K::Byte },
    { "Wpn1 SABOT Rds", 51480, 1, 0, K::Byte },
    { "Wpn1 HEAT Rds", 52080, 1, 0, K::Byte },
    { "Rate of Fire", 52680, 1, 0, K::Byte },
    { "Stabiliser", 53280, 1, 0, K::Byte },
    { "Range Finder", 53880, 1, 0, K::Byte },
    { "EW", 54480, 1, 0, K::Byte },
    { "Lift Cap", 55080, 1, 0, K::Byte },
    { "Survivability", 55680, 1, 0, K::Byte },
    { "Load Cost", 56280, 1, 0, K::Byte },
    { "Graphic (Icon) ID", 56880, 2, 0, K::Word },
    { "Swim Spd", 58080, 1, 0, K::Byte },
    { "Move Class ID", 58680, 1, 0, K::Byte, C::MoveClass },
    { "Nr S/D", 59280, 1, 0, K::Byte },
    { "1st Month Avail", 59880, 1, 0, K::Byte },
    { "Last Month Avail", 60480, 1, 0, K::Byte },
    { "Unit Sound", 61080, 1, 0, K::Byte },
    { "Wpn1 Sound", 61680, 4, 0, K::Byte },
    { "Wpn2 Sound", 61680, 4, 1, K::Byte },
    { "Wpn3 Sound", 61680, 4, 2, K::Byte },
    { "Wpn4 Sound", 61680, 4, 3, K::Byte },
};
constexpr OobColumn kUnitUnused[] = { { 19680, 1 }, { 41880, 6 }, { 64080, 1 }, { 64680, 30 } };
constexpr OobColumn kUnitColumns[] = { { 10080, kNameLength }, { 19080, 1 }, { 19680, 1 }, { 20280, 1 },
    { 20880, 1 }, { 21480, 4 }, { 23880, 8 }, { 28680, 1 }, { 29280, 14 }, { 37680, 7 }, { 41880, 6 },
    { 45480, 1 }, { 46080, 1 }, { 46680, 1 }, { 47280, 2 }, { 48480, 1 }, { 49080, 2 }, { 50280, 1 },
    { 50880, 1 }, { 51480, 1 }, { 52080, 1 }, { 52680, 1 }, { 53280, 1 }, { 53880, 1 }, { 54480, 1 },
    { 55080, 1 }, { 55680, 1 }, { 56280, 1 }, { 56880, 2 }, { 58080, 1 }, { 58680, 1 }, { 59280, 1 },
    { 59880, 1 }, { 60480, 1 }, { 61080, 1 }, { 61680, 4 }, { 64080, 1 }, { 64680, 30 } };

constexpr OobField kFormationFields[] = {
    { "Name", 82680, kNameLength, 0, K::Name },
    { "Country", 88680, 1, 0, K::Byte, C::Nation },
    { "Avail From Yr", 89080, 1, 0, K::Byte },
    { "Avail To Yr", 89480, 1, 0, K::Byte },
    { "Buy Page", 89880, 1, 0, K::Byte, C::BuyPage },
    { "Form Type", 90280, 1, 0, K::Byte, C::FormType },
    { "Subunit 01", 90680, 20, 0, K::Word, C::Member },
    { "Subunit 02", 90680, 20, 2, K::Word, C::Member },
    { "Subunit 03", 90680, 20, 4, K::Word, C::Member },
    { "Subunit 04", 90680, 20, 6, K::Word, C::Member },
    { "Subunit 05", 90680, 20, 8, K::Word, C::Member },
    { "Subunit 06", 90680, 20, 10, K::Word, C::Member },
    { "Subunit 07", 90680, 20, 12, K::Word, C::Member },
    { "Subunit 08", 90680, 20, 14, K::Word, C::Member },
    { "Subunit 09", 90680, 20, 16, K::Word, C::Member },
    { "Subunit 10", 90680, 20, 18, K::Word, C::Member },
    { "Avail From Mo", 98680, 1, 0, K::Byte },
    { "Avail To Mo", 99080, 1, 0, K::Byte },
    { "Exp Mod", 99480, 1, 0, K::Signed },
    { "Mor Mod", 99880, 1, 0, K::Signed },
};
constexpr OobColumn kFormationUnused[] = { { 100280, 16 } };
constexpr OobColumn kFormationColumns[]
    = { { 82680, kNameLength }, { 88680, 1 }, { 89080, 1 }, { 89480, 1 }, { 89880, 1 }, { 90280, 1 },
          { 90680, 20 }, { 98680, 1 }, { 99080, 1 }, { 99480, 1 }, { 99880, 1 }, { 100280, 16 } };

const std::array<OobTableLayout, 3> kLayouts = { {
    { OobTable::Weapons, "weapons", "weapon", kWeaponSlots + 1, kWeaponFields, kWeaponColumns,
        kWeaponUnused },
    { OobTable::Units, "units", "unit", kUnitSlots + 1, kUnitFields, kUnitColumns, kUnitUnused },
    { OobTable::Formations, "formations", "formation", kFormationSlots + 1, kFormationFields,
        kFormationColumns, kFormationUnused },
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

std::span<const OobTableLayout> OobLayouts()
{
    return kLayouts;
}

const OobTableLayout& OobLayoutOf(OobTable table)
{
    return kLayouts[static_cast<std::size_t>(table)];
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
