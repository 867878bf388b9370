#include "core/rules/weaponpage.h"

#include "core/data/globals.h"

namespace tarnwick::core {

const std::array<WeaponNumberField, kWeaponNumberFields>& WeaponNumberFields()
{
    static const std::array<WeaponNumberField, kWeaponNumberFields> fields = { {
        { "WeaponClassEdit", "Weapon Class", &TOobWeapon::weaponClass },
        { "WeaponSizeEdit", "Weapon Size", &TOobWeapon::weaponSize },
        { "WarheadSizeEdit", "Warhead Size", &TOobWeapon::warheadSize },
        { "WeaponHEPenEdit", "HE Penetration", &TOobWeapon::hePen },
        { "WeaponHEKillEdit", "HE Kill", &TOobWeapon::heKill },
        { "WeaponAPPenEdit", "AP Penetration", &TOobWeapon::apPen },
        { "WeaponAPKillEdit", "AP Kill", &TOobWeapon::apKill },
        { "WeaponSabotPenEdit", "Sabot Penetration", &TOobWeapon::sabotPen },
        { "WeaponsabotrangeEdit", "Sabot Range", &TOobWeapon::sabotRange },
        { "WeaponHEATPenEdit", "HEAT Penetration", &TOobWeapon::heatPen },
        { "WeaponRangeEdit", "Weapon Range", &TOobWeapon::range },
        { "WeaponAccuracyEdit", "Accuracy", &TOobWeapon::accuracy },
    } };
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
            weapon.*fields[i].member
                = static_cast<std::uint8_t>(ClampValue(0, kWeaponFieldMax, numberTexts[i]));
        } catch (const EConvertError&) {
            return FieldError { fields[i].caption, numberTexts[i] };
        }
    }
    return weapon;
}

} // namespace tarnwick::core
