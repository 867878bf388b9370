#include "core/rules/windowfit.h"

#include <algorithm>

namespace tarnwick::core {

namespace {

// Below this the window is of no use; a smaller screen gets a window that is too big.
constexpr int kSmallestWidth = 320;
constexpr int kSmallestHeight = 240;

} // namespace

WindowFit FitWindow(int designWidth, int designHeight, int availableWidth, int availableHeight,
    int frameWidth, int frameHeight)
{
    const int roomWidth = availableWidth - frameWidth;
    const int roomHeight = availableHeight - frameHeight;
    if (roomWidth >= designWidth && roomHeight >= designHeight)
        return { designWidth, designHeight, false };
    return { std::clamp(roomWidth, std::min(kSmallestWidth, designWidth), designWidth),
        std::clamp(roomHeight, std::min(kSmallestHeight, designHeight), designHeight), true };
}

} // namespace tarnwick::core
