#include "core/rules/picker.h"

#include <cstddef>

namespace tarnwick::core {

namespace {

struct ModeInfo {
    const char* title;
    int last;
    bool threeDigits;
};

constexpr ModeInfo kModes[kPickModeCount] = {
    { "Pick List : Unit", kUnitSlots, true },
    { "Pick List : Formation", kFormationSlots, true },
    { "Pick List : Movement Class", 9, false },
    { "Pick List : Formation Type", 4, false },
    { "Pick List : Nationality", 99, false },
    { "Pick List : Unit Class", 255, false },
    { "Pick List : Unit Weapon", kWeaponSlots, true },
    { "Pick List : Weapon Class", 21, false },
    { "Pick List : Purchase Page", 10, false },
};

std::string EntryName(PickMode mode, int k, const TOobData& oob, const NameTables& names)
{
    const auto code = static_cast<std::uint8_t>(k);
    switch (mode) {
    case pickUnit:
        return k == 0 ? kPickNoUnit : oob.units[static_cast<std::size_t>(k)].name;
    case pickFormation:
        return k == 0 ? kPickNoUnit : oob.formations[static_cast<std::size_t>(k)].name;
    case pickMoveClass:
        return MoveClassName(code);
    case pickFormationType:
        return FormTypeName(code);
    case pickNation:
        return NationName(names, k);
    case pickUnitClass:
        return UnitClassName(names, code);
    case pickWeapon:
        return k == 0 ? kPickNoWeapon : oob.weapons[static_cast<std::size_t>(k)].name;
    case pickWeaponClass:
        return WeaponClassName(code);
    case pickBuyPage:
        return BuyPageName(code);
    }
    return {};
}

} // namespace

bool IsPickMode(int mode)
{
    return mode >= 0 && mode < kPickModeCount;
}

std::string PickTitle(PickMode mode)
{
    return IsPickMode(mode) ? kModes[mode].title : kPickListCaption;
}

int PickLastNumber(PickMode mode)
{
    return IsPickMode(mode) ? kModes[mode].last : -1;
}

std::string PickNumberText(PickMode mode, int number)
{
    if (IsPickMode(mode) && kModes[mode].threeDigits)
        return ThreeDigits(number);
    return TwoDigits(number);
}

bool IsInvalidFormationChoice(std::uint8_t formType, std::uint8_t currentFormType)
{
    if (formType > 1)
        return true;
    return currentFormType == 3 && formType > 0;
}

PickListContent FillPickList(
    PickMode mode, const TOobData& oob, const NameTables& names, std::uint8_t currentFormType)
{
    PickListContent content;
    content.mode = mode;
    content.title = PickTitle(mode);
    const int last = PickLastNumber(mode);
    if (last < 0)
        return content;
    content.entries.reserve(static_cast<std::size_t>(last) + 1);
    content.invalid.assign(static_cast<std::size_t>(last) + 1, false);
    for (int k = 0; k <= last; ++k) {
        std::string name;
        if (mode == pickFormation && k > 0
            && IsInvalidFormationChoice(
                oob.formations[static_cast<std::size_t>(k)].formType, currentFormType)) {
            content.invalid[static_cast<std::size_t>(k)] = true;
            name = kPickInvalidChoice;
        } else {
            name = EntryName(mode, k, oob, names);
        }
        content.entries.push_back(PickNumberText(mode, k) + " - " + name);
    }
    return content;
}

int PickResult(const PickListContent& content, int selectedIndex, bool cancelled)
{
    if (cancelled || selectedIndex < 0 || static_cast<std::size_t>(selectedIndex) >= content.entries.size())
        return kPickCancelled;
    if (content.invalid[static_cast<std::size_t>(selectedIndex)])
        return 0;
    return selectedIndex;
}

} // namespace tarnwick::core
