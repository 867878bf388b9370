#pragma once

// The modes of the shared pick list: which values it offers and how it names them.

namespace tarnwick::core {

enum PickMode : int {
    pickUnit = 0,
    pickFormation = 1,
    pickMoveClass = 2,
    pickFormationType = 3,
    pickNation = 4,
    pickUnitClass = 5,
    pickWeapon = 6,
    pickWeaponClass = 7,
    pickBuyPage = 8,
};

// The result of a cancelled pick list.
inline constexpr int kPickCancelled = -2;

} // namespace tarnwick::core
