#pragma once

// The main window's size on a screen: the design size where the screen has
// room for it, else the room there is, with the pages scrolling inside.

namespace tarnwick::core {

struct WindowFit {
    int width = 0; // the window's starting size and its minimum
    int height = 0;
    bool scroll = false; // the pages scroll because the screen is smaller than the design
    friend bool operator==(const WindowFit&, const WindowFit&) = default;
};

// available: the screen's free area; frame: what the window's border and title
// bar take around the client area; scrollBar: the thickness of a scroll bar,
// which a scrolling window takes room for where the screen has it.
WindowFit FitWindow(int designWidth, int designHeight, int availableWidth, int availableHeight,
    int frameWidth, int frameHeight, int scrollBar);

} // namespace tarnwick::core
