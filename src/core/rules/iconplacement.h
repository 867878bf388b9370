#pragma once

// Where the Units page puts a unit's icon: the hull with its turret 8 right of
// and 28 above it, or a hull alone. The pair keeps that arrangement and lies
// wholly inside the icon area; a pair larger than the area is shrunk to fit,
// keeping its proportions, as pictures are.

#include <optional>

namespace tarnwick::core {

struct IconBox {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const IconBox&, const IconBox&) = default;
};

struct IconPairPlacement {
    IconBox hull;
    IconBox turret; // empty when there is no turret
    friend bool operator==(const IconPairPlacement&, const IconPairPlacement&) = default;
};

inline constexpr int kTurretOffsetX = 8;
inline constexpr int kTurretOffsetY = -28;

// area: the icon area; hullX, hullY: where the hull goes when the pair fits
// there; hull and turret give only their sizes.
IconPairPlacement PlaceIconPair(
    const IconBox& area, int hullX, int hullY, const IconBox& hull, const std::optional<IconBox>& turret);

} // namespace tarnwick::core
