#include "core/rules/weaponpage.h"

#include "core/data/globals.h"
#include "core/data/ooblayout.h"

#include <stdexcept>
#include <utility>

namespace tarnwick::core {

namespace {

const OobField& WeaponField(std::string_view name)
{
    for (const OobField& field : OobLayoutOf(OobTable::Weapons).fields)
        if (field.name == name)
            return field;
    throw std::logic_error("no weapon field " + std::string(name));
}

} // namespace

int WeaponNumberField::value(const TOobWeapon& weapon) const
{
    return RecordValue(*field, weapon);
}

const std::array<WeaponNumberField, kWeaponNumberFields>& WeaponNumberFields()
{
    // The page's order; the dump's names of the fields.
    static const std::array<WeaponNumberField, kWeaponNumberFields> fields = [] {
        constexpr std::pair<const char*, std::string_view> kEdits[] = {
            { "WeaponClassEdit", "Weapon Class" },
            { "WeaponSizeEdit", "Weapon Size" },
            { "WarheadSizeEdit", "Warhead Size" },
            { "WeaponHEPenEdit", "HE Pen" },
            { "WeaponHEKillEdit", "HE Kill" },
            { "WeaponAPPenEdit", "AP Pen" },
            { "WeaponAPKillEdit", "AP Kill" },
            { "WeaponSabotPenEdit", "Sabot Pen" },
            { "WeaponsabotrangeEdit", "Sabot Range" },
            { "WeaponHEATPenEdit", "HEAT Pen" },
            { "WeaponRangeEdit", "Range" },
            { "WeaponAccuracyEdit", "Accuracy" },
        };
        std::array<WeaponNumberField, kWeaponNumberFields> found {};
        for (std::size_t i = 0; i < found.size(); ++i) {
            const OobField& field = WeaponField(kEdits[i].second);
            found[i] = { kEdits[i].first, field.label.data(), &field };
        }
        return found;
    }();
    return fields;
}

std::string WeaponNumberText(int slot)
{
    return "Weapon " + ThreeDigits(slot);
}

std::string FieldErrorText(const FieldError& error)
{
    return error.message() + ". Nothing was stored.";
}

std::variant<TOobWeapon, FieldError> WeaponFromPage(
    std::string_view nameBytes, const std::array<std::string, kWeaponNumberFields>& numberTexts)
{
    TOobWeapon weapon;
    weapon.name = TrimName(nameBytes).substr(0, kNameLength);
    const auto& fields = WeaponNumberFields();
    for (std::size_t i = 0; i < fields.size(); ++i) {
        try {
            const FieldRange range = fields[i].field->range();
            SetRecordValue(*fields[i].field, weapon, ClampValue(range.low, range.high, numberTexts[i]));
        } catch (const EConvertError&) {
            return FieldError { fields[i].caption, numberTexts[i] };
        }
    }
    return weapon;
}

} // namespace tarnwick::core
