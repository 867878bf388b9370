#include "core/rules/windowfit.h"

#include <algorithm>

namespace tarnwick::core {

namespace {

// Below this the window is of no use; a smaller screen gets a window that is too big.
constexpr int kSmallestWidth = 320;
constexpr int kSmallestHeight = 240;

} // namespace

WindowFit FitWindow(int designWidth, int designHeight, int availableWidth, int availableHeight,
    int frameWidth, int frameHeight, int scrollBar)
{
    const int roomWidth = availableWidth - frameWidth;
    const int roomHeight = availableHeight - frameHeight;
    if (roomWidth >= designWidth && roomHeight >= designHeight)
        return { designWidth, designHeight, false };
    const int width = designWidth + scrollBar;
    const int height = designHeight + scrollBar;
    return { std::clamp(roomWidth, std::min(kSmallestWidth, width), width),
        std::clamp(roomHeight, std::min(kSmallestHeight, height), height), true };
}

} // namespace tarnwick::core
