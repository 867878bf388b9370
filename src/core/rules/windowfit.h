#pragma once

// Window sizes on a screen: the main window's design size where the screen has
// room for it, else the room there is, with the pages scrolling inside; a tool
// window's wanted size and place inside its screen's free area; the widths of a
// table's columns in the room its view has.

#include <optional>
#include <span>
#include <vector>

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

struct ScreenArea {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const ScreenArea&, const ScreenArea&) = default;
};

// What the border and the title bar add around a window's client area.
struct FrameMargins {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

struct ScreenPoint {
    int x = 0;
    int y = 0;
};

struct WindowRequest {
    int wantedWidth = 0; // the client area the window asks for
    int wantedHeight = 0;
    int minimumWidth = 0; // below this its layout cannot go
    int minimumHeight = 0;
    FrameMargins frame;
    ScreenArea over; // centred over this: its main window, or the free area itself
    std::optional<ScreenPoint> at; // the frame's top left where it was shown before
};

// Where a tool window opens in its screen's free area (available): at its wanted
// size where the area holds that and the frame, else as large as the area
// holds (never under its minimum), centred over `over` and moved inside the
// area, the title bar first. A window shown before on this screen stays at
// `at`, moved only as far as it must to be inside. Returns the frame's top
// left (x, y) and the client size.
ScreenArea PlaceWindow(const WindowRequest& window, const ScreenArea& available);

// How a table column takes its width.
enum class ColumnFit {
    Content, // as wide as its contents
    Value, // as wide as its contents while there is room; else a fair share of it
    Rest, // what the others leave, at least a little
};

// The widths of a table's columns in a view room pixels wide: wanted holds what
// each column's contents (and title) want. Content columns get what they want;
// Value columns, which must stay on screen, get what they want where room
// allows and else share it (a narrow one keeps its width, the wide ones get
// the same); the Rest column takes what remains, and keeps up to a fair share
// for its own contents.
std::vector<int> FitColumns(std::span<const int> wanted, std::span<const ColumnFit> fits, int room);

} // namespace tarnwick::core
