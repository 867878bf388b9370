#include "core/rules/unitrules.h"

#include "core/data/globals.h"
#include "core/data/ooblayout.h"

#include <algorithm>
#include <initializer_list>
#include <iterator>
#include <stdexcept>
#include <utility>

namespace tarnwick::core {

namespace {

using Range = std::pair<int, int>;

struct Category {
    int number;
    std::initializer_list<Range> classes;
};

// Every unit class belongs to exactly one category.
const std::array<std::uint8_t, 256>& CategoryTable()
{
    static const std::array<std::uint8_t, 256> table = [] {
        const Category categories[] = {
            { 1,
                { { 0, 0 }, { 11, 15 }, { 17, 19 }, { 21, 22 }, { 30, 30 }, { 35, 39 }, { 44, 44 },
                    { 50, 50 }, { 52, 53 }, { 57, 57 }, { 59, 59 }, { 62, 62 }, { 102, 108 }, { 128, 132 },
                    { 134, 135 }, { 137, 139 }, { 159, 159 }, { 175, 175 }, { 203, 205 }, { 214, 216 },
                    { 221, 255 } } },
            { 2,
                { { 23, 25 }, { 32, 34 }, { 41, 41 }, { 47, 47 }, { 120, 127 }, { 133, 133 }, { 136, 136 },
                    { 217, 217 }, { 219, 220 } } },
            { 3,
                { { 5, 6 }, { 8, 9 }, { 16, 16 }, { 151, 154 }, { 157, 158 }, { 184, 184 }, { 196, 196 },
                    { 200, 202 } } },
            { 4,
                { { 1, 1 }, { 3, 3 }, { 20, 20 }, { 40, 40 }, { 45, 45 }, { 49, 49 }, { 51, 51 }, { 54, 55 },
                    { 58, 58 }, { 63, 101 }, { 110, 119 }, { 140, 150 }, { 160, 164 }, { 166, 166 },
                    { 168, 174 }, { 178, 179 }, { 185, 192 }, { 195, 195 }, { 218, 218 } } },
            { 5,
                { { 2, 2 }, { 4, 4 }, { 7, 7 }, { 29, 29 }, { 165, 165 }, { 176, 177 }, { 193, 194 },
                    { 206, 209 }, { 212, 213 } } },
            { 6,
                { { 26, 28 }, { 42, 42 }, { 48, 48 }, { 56, 56 }, { 60, 61 }, { 109, 109 }, { 167, 167 },
                    { 180, 183 } } },
            { 7,
                { { 10, 10 }, { 31, 31 }, { 43, 43 }, { 46, 46 }, { 155, 156 }, { 197, 199 },
                    { 210, 211 } } },
        };
        std::array<std::uint8_t, 256> result {};
        for (const Category& category : categories)
            for (const auto& [first, last] : category.classes)
                for (int c = first; c <= last; ++c)
                    result[static_cast<std::size_t>(c)] = static_cast<std::uint8_t>(category.number);
        return result;
    }();
    return table;
}

bool OneOf(int value, std::initializer_list<int> values)
{
    return std::find(values.begin(), values.end(), value) != values.end();
}

// The page's edits by the dump's names of their fields, in the order the page
// fills them (weapon rows: number, HE, AP). Caption, limits and record member
// come from the field table.
struct UnitEdit {
    const char* control;
    std::string_view field;
    int maxLength;
    const char* blank; // the text an erased page holds
};

#define TW_WEAPON_ROW(n)                                                                                     \
    UnitEdit { "UnitWpn" #n "Edit", "Weapon " #n, 3, "0" },                                                  \
        UnitEdit { "UnitWpn" #n "HEAmmoEdit", "Wpn" #n " HE Rds", 3, "0" }, UnitEdit                         \
    {                                                                                                        \
        "UnitWpn" #n "APAmmoEdit", "Wpn" #n " AP Rds", 3, "0"                                                \
    }

#define TW_ARMOUR_ROW(hf, hs, hr, tf, ts, tr, top, prefix)                                                   \
    UnitEdit { hf, prefix " HF", 3, "0" }, UnitEdit { hs, prefix " HS", 3, "0" },                            \
        UnitEdit { hr, prefix " HR", 3, "0" }, UnitEdit { tf, prefix " TF", 3, "0" },                        \
        UnitEdit { ts, prefix " TS", 3, "0" }, UnitEdit { tr, prefix " TR", 3, "0" }, UnitEdit               \
    {                                                                                                        \
        top, prefix " Top", 3, "0"                                                                           \
    }

constexpr UnitEdit kEdits[] = {
    { "UnitNationEdit", "Nation", 2, "0" },
    { "UnitClassEdit", "Class ID", 3, "216" },
    { "UnitMCEdit", "Move Class ID", 2, "0" },
    { "UnitYrAvailEdit", "1st Year Avail", 3, "48" },
    { "UnitYrUnavailEdit", "Last Year Avail", 3, "120" },
    { "UnitCostEdit", "Cost", 3, "0" },
    { "UnitCrewEdit", "Crew", 3, "0" },
    { "UnitSizeEdit", "Size", 2, "0" },
    { "UnitCarryEdit", "Lift Cap", 3, "0" },
    { "UnitWeightEdit", "Load Cost", 3, "0" },
    { "UnitLBMEdit", "Picture (LBM) ID", 9, "0" },
    { "UnitSpeedEdit", "Speed", 3, "0" },
    { "UnitSwimEdit", "Swim Spd", 3, "0" },
    { "UnitEWEdit", "EW", 2, "0" },
    { "UnitRadioEdit", "Radio%", 2, "0" },
    { "UnitVisionEdit", "Vision", 3, "0" },
    { "UnitIconEdit", "Graphic (Icon) ID", 5, "0" },
    { "UnitFCEdit", "Fire Control", 3, "0" },
    { "UnitROFEdit", "Rate of Fire", 2, "0" },
    { "UnitRFEdit", "Range Finder", 3, "0" },
    { "UnitSDEdit", "Nr S/D", 2, "0" },
    { "UnitStabiliserEdit", "Stabiliser", 3, "0" },
    { "UnitSabotAmmoEdit", "Wpn1 SABOT Rds", 3, "0" },
    { "UnitHEATAmmoEdit", "Wpn1 HEAT Rds", 3, "0" },
    { "UnitSurviveEdit", "Survivability", 3, "0" },
    TW_WEAPON_ROW(1),
    TW_WEAPON_ROW(2),
    TW_WEAPON_ROW(3),
    TW_WEAPON_ROW(4),
    TW_ARMOUR_ROW("UnitSteelHFEdit", "UnitSteelHSEdit", "UnitSteelHREdit", "UnitSteelTFEdit",
        "UnitSteelTSEdit", "UnitSteelTREdit", "UnitSteelTopEdit", "Steel"),
    TW_ARMOUR_ROW("UnitHEATHFEdit", "UnitHEATHSEdit", "UNITHEATHREdit", "UnitHEATTFEdit", "UNITHEATTSEdit",
        "UnitHEATTREdit", "UnitHEATTopEdit", "HEAT"),
    TW_ARMOUR_ROW("UnitERAHFEdit", "UnitERAHSEdit", "UnitERAHREdit", "UnitERATFEdit", "UnitERATSEdit",
        "UnitERATREdit", "UnitERATopEdit", "ERA"),
    { "UnitMonthAvailEdit", "1st Month Avail", 3, "1" },
    { "UnitMonthUnAvailEdit", "Last Month Avail", 3, "12" },
    { "UnitSoundByteEdit", "Unit Sound", 3, "0" },
    { "UnitWPNSound1Edit", "Wpn1 Sound", 3, "0" },
    { "UnitWPNSound2Edit", "Wpn2 Sound", 3, "0" },
    { "UnitWPNSound3Edit", "Wpn3 Sound", 3, "0" },
    { "UnitWPNSound4Edit", "Wpn4 Sound", 3, "0" },
};
static_assert(std::size(kEdits) == kUnitNumberFieldCount);

#undef TW_ARMOUR_ROW
#undef TW_WEAPON_ROW

const OobField& UnitField(std::string_view name)
{
    for (const OobField& field : OobLayoutOf(OobTable::Units).fields)
        if (field.name == name)
            return field;
    throw std::logic_error("no unit field " + std::string(name));
}

const std::array<UnitNumberField, kUnitNumberFieldCount> kFields = [] {
    std::array<UnitNumberField, kUnitNumberFieldCount> fields {};
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const UnitEdit& edit = kEdits[i];
        const OobField& field = UnitField(edit.field);
        const FieldRange range = field.range();
        fields[i]
            = { edit.control, field.label.data(), edit.maxLength, range.low, range.high, &field, edit.blank };
    }
    return fields;
}();

const char* const kCrLf = "\r\n";

std::string SlotIntro(int slot)
{
    return "The weapon in slot " + std::to_string(slot);
}

} // namespace

int UnitClassCategory(int unitClass)
{
    if (unitClass < 0 || unitClass > 255)
        return 1;
    return CategoryTable()[static_cast<std::size_t>(unitClass)];
}

std::optional<int> TrimmedInt(std::string_view text)
{
    try {
        return StrToInt(TrimName(text));
    } catch (const EConvertError&) {
        return std::nullopt;
    }
}

std::string UnitNumberText(int slot)
{
    return "Unit " + ThreeDigits(slot);
}

UnitTint UnitNumberTint(std::string_view nameText, int recordNation, int currentNation)
{
    return TrimName(nameText).empty() && recordNation == currentNation ? UnitTint::Red : UnitTint::Navy;
}

NationLook NationLookFor(
    std::string_view nameText, std::string_view nationText, std::string_view classText, int currentNation)
{
    const NationLook normal { UnitTint::Normal, UnitTint::Navy };
    if (TrimmedInt(nationText) == currentNation)
        return normal;
    if (TrimName(nameText).empty() && TrimName(nationText) == "0" && TrimName(classText) == "0")
        return normal;
    return { UnitTint::Maroon, UnitTint::Maroon };
}

FieldLook EwLook(std::string_view classText, std::string_view ewText)
{
    FieldLook look;
    const std::optional<int> unitClass = TrimmedInt(classText);
    if (!unitClass)
        return look;
    const int category = UnitClassCategory(*unitClass);
    if (category != 1 && category != 2 && category != 6)
        return look;
    if (OneOf(*unitClass, { 22, 30, 44, 47, 50, 53, 60, 61, 62, 128, 181, 203, 204, 205, 214, 215, 216 }))
        return look;
    const std::optional<int> ew = TrimmedInt(ewText);
    if (!ew)
        return look;
    if (*ew == 3 || *ew == 4) {
        look.noteText = "VIRSS - " + std::to_string(*ew - 2) + " Shots";
    } else if (*ew == 1 || *ew == 2) {
        look.noteText = "ARENA - " + std::to_string(*ew) + " Shots";
    } else {
        return look;
    }
    look.edit = UnitTint::Blue;
    look.caption = UnitTint::Blue;
    look.noteShown = true;
    return look;
}

FieldLook VisionLook(std::string_view visionText)
{
    FieldLook look;
    look.captionText = "Vision";
    const std::optional<int> vision = TrimmedInt(visionText);
    if (vision && *vision >= 40) {
        look.edit = UnitTint::Blue;
        look.caption = UnitTint::Blue;
        look.captionText = "TI/GSR";
    }
    return look;
}

FieldLook FireControlLook(std::string_view fireControlText)
{
    FieldLook look;
    look.captionText = "Fire control";
    const std::optional<int> value = TrimmedInt(fireControlText);
    if (value && *value >= 100) {
        look.edit = UnitTint::Blue;
        look.caption = UnitTint::Blue;
        look.captionText = "AA Radar " + std::to_string(static_cast<long long>(*value) - 99);
    }
    return look;
}

UnitTint SurvivabilityTint(std::string_view text)
{
    const std::optional<int> value = TrimmedInt(text);
    return value && *value > 6 ? UnitTint::Maroon : UnitTint::Normal;
}

UnitTint ReactiveArmourTint(std::string_view text)
{
    const std::optional<int> value = TrimmedInt(text);
    return value && *value > 10 ? UnitTint::Blue : UnitTint::Normal;
}

WeaponNameLook WeaponNameFor(int weaponNumber, const std::array<TOobWeapon, kWeaponSlots + 1>& weapons)
{
    if (weaponNumber == 0)
        return { std::string(), UnitTint::Normal };
    if (!IsWeaponSlot(weaponNumber))
        return { "Invalid weapon number", UnitTint::Maroon };
    return { weapons[static_cast<std::size_t>(weaponNumber)].name, UnitTint::Normal };
}

int UnitNumberField::get(const TOobUnit& unit) const
{
    return RecordValue(*field, unit);
}

void UnitNumberField::set(TOobUnit& unit, int value) const
{
    // Wider numbers stop at the field's largest value, never wrap.
    SetRecordValue(*field, unit, StoredValue(*field, value));
}

const std::array<UnitNumberField, kUnitNumberFieldCount>& UnitNumberFields()
{
    return kFields;
}

UnitReadResult ReadUnit(const TOobUnit& base, std::string_view nameBytes, const UnitFieldTexts& texts)
{
    std::array<int, kUnitNumberFieldCount> values {};
    for (std::size_t i = 0; i < kFields.size(); ++i) {
        const UnitNumberField& field = kFields[i];
        try {
            values[i] = ClampValue(field.min, field.max, texts[i]);
        } catch (const EConvertError&) {
            const std::string fieldMessage
                = std::string(field.caption) + ": '" + texts[i] + "' is not a valid integer value";
            return { std::nullopt, fieldMessage + kCrLf + kCrLf + " Unit data not saved!", fieldMessage };
        }
    }
    TOobUnit unit = base;
    unit.name = TrimName(nameBytes).substr(0, kNameLength);
    for (std::size_t i = 0; i < kFields.size(); ++i)
        kFields[i].set(unit, values[i]);
    return { unit, std::string(), std::string() };
}

UnitFieldTexts UnitTexts(const TOobUnit& unit)
{
    UnitFieldTexts texts;
    for (std::size_t i = 0; i < kFields.size(); ++i)
        texts[i] = std::to_string(kFields[i].get(unit));
    return texts;
}

UnitFieldTexts BlankUnitTexts()
{
    UnitFieldTexts texts;
    for (std::size_t i = 0; i < kFields.size(); ++i)
        texts[i] = kFields[i].blank;
    return texts;
}

WeaponCheck CheckUnitWeapons(std::string_view classText, const std::array<std::string, 4>& weaponTexts,
    const std::array<TOobWeapon, kWeaponSlots + 1>& weapons)
{
    WeaponCheck check;
    const int unitClass = TrimmedInt(classText).value_or(0);
    for (int slot = 1; slot <= 4; ++slot) {
        const std::string& text = weaponTexts[static_cast<std::size_t>(slot - 1)];
        if (TrimName(text).empty())
            continue;
        const int number = TrimmedInt(text).value_or(0);
        if (!IsWeaponSlot(number))
            continue;
        const TOobWeapon& weapon = weapons[static_cast<std::size_t>(number)];
        const std::string intro = SlotIntro(slot);
        auto fail = [&check](std::string message) {
            check.passed = false;
            check.findings.push_back({ true, std::move(message) });
        };
        if (weapon.weaponClass == 16) {
            if (unitClass != 214)
                fail(intro + " is ANTI RADIATION MISSILE type" + kCrLf
                    + "however the unit is NOT a Wild Weasel aircraft" + kCrLf + kCrLf
                    + " Unit data not saved!");
        } else if (weapon.weaponClass == 15) {
            if (unitClass != 210 && unitClass != 211)
                fail(intro + " is CLUSTER MINE type" + kCrLf
                    + "however the unit is NOT a rocket or tube minelet battery type" + kCrLf + kCrLf
                    + " Unit data not saved!");
        } else if (weapon.weaponClass == 11) {
            if (!OneOf(unitClass, { 44, 53, 62, 203, 204, 205, 214, 215 }))
                check.findings.push_back({ false,
                    intro + " is air weapon class 11" + kCrLf
                        + "however the unit is NOT a Level Bomber, Gunship, helicopter or Wild Weasel "
                          "aircraft"
                        + kCrLf + kCrLf + " ADVISORY - non air units do not use class 11 weapons!" });
            if (unitClass == 62 && weapon.range > 1)
                fail(intro + " is air weapon class 11" + kCrLf
                    + "however the weapon is not a bomb ( range of 1)" + kCrLf + kCrLf
                    + "Level Bomber will only drop CBU, bombs or napalm!" + kCrLf + kCrLf
                    + " Unit data not saved!");
        }
    }
    return check;
}

} // namespace tarnwick::core
