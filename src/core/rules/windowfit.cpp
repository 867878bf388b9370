#include "core/rules/windowfit.h"

#include <algorithm>

namespace tarnwick::core {

namespace {

// Below this the window is of no use; a smaller screen gets a window that is too big.
constexpr int kSmallestWidth = 320;
constexpr int kSmallestHeight = 240;

// A Rest or Value column is never narrower than this, however small the view.
constexpr int kNarrowestColumn = 60;

// Moves a span [start, start + length) inside [low, high): the start first.
int Inside(int start, int length, int low, int high)
{
    return std::max(low, std::min(start, high - length));
}

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

ScreenArea PlaceWindow(const WindowRequest& window, const ScreenArea& available)
{
    const FrameMargins& f = window.frame;
    const int roomWidth = available.width - f.left - f.right;
    const int roomHeight = available.height - f.top - f.bottom;
    const int width = std::max(std::min(window.wantedWidth, roomWidth), window.minimumWidth);
    const int height = std::max(std::min(window.wantedHeight, roomHeight), window.minimumHeight);
    const int frameWidth = width + f.left + f.right;
    const int frameHeight = height + f.top + f.bottom;
    const int right = available.x + available.width;
    const int bottom = available.y + available.height;
    if (window.at && window.at->x >= available.x && window.at->x < right && window.at->y >= available.y
        && window.at->y < bottom)
        return { Inside(window.at->x, frameWidth, available.x, right),
            Inside(window.at->y, frameHeight, available.y, bottom), width, height };
    const int x = window.over.x + (window.over.width - frameWidth) / 2;
    const int y = window.over.y + (window.over.height - frameHeight) / 2;
    return { Inside(x, frameWidth, available.x, right), Inside(y, frameHeight, available.y, bottom), width,
        height };
}

std::vector<int> FitColumns(std::span<const int> wanted, std::span<const ColumnFit> fits, int room)
{
    std::vector<int> widths(wanted.begin(), wanted.end());
    const std::size_t count = std::min(wanted.size(), fits.size());
    int left = room;
    std::vector<std::size_t> values;
    std::optional<std::size_t> rest;
    for (std::size_t c = 0; c < count; ++c) {
        if (fits[c] == ColumnFit::Content)
            left -= wanted[c];
        else if (fits[c] == ColumnFit::Value)
            values.push_back(c);
        else
            rest = c;
    }
    // The Rest column keeps what it wants up to a fair share of what the Content columns leave.
    const int fairShare = std::max(kNarrowestColumn, left / static_cast<int>(values.size() + 1));
    const int restLeast = rest ? std::min(wanted[*rest], fairShare) : 0;
    // The narrowest values first: what one does not take, the wider ones share.
    std::stable_sort(values.begin(), values.end(),
        [&wanted](std::size_t a, std::size_t b) { return wanted[a] < wanted[b]; });
    int share = std::max(0, left - restLeast);
    for (std::size_t i = 0; i < values.size(); ++i) {
        const std::size_t c = values[i];
        const int fair = share / static_cast<int>(values.size() - i);
        widths[c] = std::min(wanted[c], std::max(fair, kNarrowestColumn));
        share -= widths[c];
        left -= widths[c];
    }
    if (rest)
        widths[*rest] = std::max(left, restLeast);
    return widths;
}

} // namespace tarnwick::core
