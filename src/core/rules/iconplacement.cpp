#include "core/rules/iconplacement.h"

#include <algorithm>

namespace tarnwick::core {

namespace {

int Scaled(int length, double scale)
{
    return static_cast<int>(length * scale); // rounded down, so the scaled pair never outgrows the area
}

} // namespace

IconPairPlacement PlaceIconPair(
    const IconBox& area, int hullX, int hullY, const IconBox& hull, const std::optional<IconBox>& turret)
{
    // The pair in its own frame, the hull at the origin.
    int left = 0;
    int top = 0;
    int right = hull.width;
    int bottom = hull.height;
    if (turret) {
        left = std::min(left, kTurretOffsetX);
        top = std::min(top, kTurretOffsetY);
        right = std::max(right, kTurretOffsetX + turret->width);
        bottom = std::max(bottom, kTurretOffsetY + turret->height);
    }
    const int width = right - left;
    const int height = bottom - top;

    double scale = 1.0;
    if (width > area.width && width > 0)
        scale = std::min(scale, static_cast<double>(area.width) / width);
    if (height > area.height && height > 0)
        scale = std::min(scale, static_cast<double>(area.height) / height);

    // Offsets from the pair's top left corner, all of them zero or more.
    IconPairPlacement placed;
    placed.hull = { Scaled(-left, scale), Scaled(-top, scale), Scaled(hull.width, scale),
        Scaled(hull.height, scale) };
    int shownWidth = placed.hull.x + placed.hull.width;
    int shownHeight = placed.hull.y + placed.hull.height;
    if (turret) {
        placed.turret = { Scaled(kTurretOffsetX - left, scale), Scaled(kTurretOffsetY - top, scale),
            Scaled(turret->width, scale), Scaled(turret->height, scale) };
        shownWidth = std::max(shownWidth, placed.turret.x + placed.turret.width);
        shownHeight = std::max(shownHeight, placed.turret.y + placed.turret.height);
    }

    // Where the pair starts when the hull sits at its usual place, moved just
    // enough to lie inside the area.
    const int pairX = std::clamp(hullX + Scaled(left, scale), area.x, area.x + area.width - shownWidth);
    const int pairY = std::clamp(hullY + Scaled(top, scale), area.y, area.y + area.height - shownHeight);
    placed.hull.x += pairX;
    placed.hull.y += pairY;
    if (turret) {
        placed.turret.x += pairX;
        placed.turret.y += pairY;
    }
    return placed;
}

} // namespace tarnwick::core
