#include "core/rules/iconplacement.h"
#include "core/rules/windowfit.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

using namespace tarnwick::core;

namespace {

const IconBox kArea { 472, 0, 112, 104 };

bool Inside(const IconBox& box)
{
    return box.x >= kArea.x && box.y >= kArea.y && box.x + box.width <= kArea.x + kArea.width
        && box.y + box.height <= kArea.y + kArea.height;
}

} // namespace

TEST(IconPlacement, ThePairLiesInTheIconArea)
{
    struct Case {
        IconBox hull;
        std::optional<IconBox> turret;
        IconPairPlacement expected; // width 0: only the area and the proportions are checked
    };
    const Case cases[] = {
        // Room enough: the hull at its place, the turret 8 right of and 28 above it.
        { { 0, 0, 32, 24 }, IconBox { 0, 0, 20, 20 }, { { 500, 48, 32, 24 }, { 508, 20, 20, 20 } } },
        // A large hull alone fits but not at its place: it moves in, unshrunk.
        { { 0, 0, 105, 93 }, std::nullopt, { { 479, 11, 105, 93 }, {} } },
        // Wider than the area: shrunk to its width.
        { { 0, 0, 200, 50 }, std::nullopt, { { 472, 48, 112, 28 }, {} } },
        // A large frame with its turret: shrunk and moved in.
        { { 0, 0, 105, 93 }, IconBox { 0, 0, 105, 93 }, {} },
        { { 0, 0, 105, 93 }, IconBox { 0, 0, 20, 16 }, {} },
        { { 0, 0, 8, 8 }, IconBox { 0, 0, 300, 10 }, {} },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.hull.width) + "x" + std::to_string(c.hull.height));
        const IconPairPlacement placed = PlaceIconPair(kArea, 500, 48, c.hull, c.turret);
        EXPECT_TRUE(Inside(placed.hull));
        if (c.turret) {
            EXPECT_TRUE(Inside(placed.turret));
            // Shrunk as one: the turret keeps its place against the hull, to the pixel.
            const double scale = static_cast<double>(placed.turret.width) / c.turret->width;
            EXPECT_NEAR(placed.turret.x - placed.hull.x, kTurretOffsetX * scale, 1.0);
            EXPECT_NEAR(placed.turret.y - placed.hull.y, kTurretOffsetY * scale, 1.0);
            EXPECT_NEAR(placed.hull.width, c.hull.width * scale, 1.0);
        }
        if (c.expected.hull.width > 0) {
            EXPECT_EQ(placed, c.expected);
        }
    }
}

TEST(WindowFit, TheDesignSizeStaysWhereTheScreenHoldsIt)
{
    struct Case {
        int availableWidth;
        int availableHeight;
        WindowFit expected;
    };
    const Case cases[] = {
        { 1920, 1040, { 781, 602, false } }, { 789, 634, { 781, 602, false } }, // exactly room for the frame
        { 819, 584, { 797, 552, true } }, // 1024 x 768 at 1.25 x, less a panel; room for a scroll bar
        { 810, 584, { 797, 552, true } }, { 700, 900, { 692, 618, true } },
        { 200, 150, { 320, 240, true } }, // no smaller than usable
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.availableWidth) + "x" + std::to_string(c.availableHeight));
        EXPECT_EQ(FitWindow(781, 602, c.availableWidth, c.availableHeight, 8, 32, 16), c.expected);
    }
}

TEST(WindowFit, AToolWindowOpensInsideItsScreen)
{
    const FrameMargins frame { 4, 28, 4, 4 };
    const ScreenArea small { 0, 0, 800, 600 };
    const ScreenArea right { 1920, 24, 1280, 1000 }; // a second screen, below a panel
    struct Case {
        const char* what;
        WindowRequest window;
        ScreenArea available;
        ScreenArea expected;
    };
    const Case cases[] = {
        { "main window at the screen's edge: moved inside",
            { 760, 360, 200, 100, frame, { 2900, 600, 781, 602 }, {} }, right, { 2432, 632, 760, 360 } },
        { "fits: centred over the main window on its screen",
            { 420, 300, 200, 100, frame, { 2000, 100, 800, 600 }, {} }, right, { 2186, 234, 420, 300 } },
        { "units grid on 800 x 600: the room there is", { 900, 600, 500, 200, frame, small, {} }, small,
            { 0, 0, 792, 568 } },
        { "timeline", { 980, 680, 300, 200, frame, small, {} }, small, { 0, 0, 792, 568 } },
        { "compare, wider than the screen only", { 820, 480, 300, 200, frame, small, {} }, small,
            { 0, 44, 792, 480 } },
        { "never under its minimum; the title bar stays on screen", { 900, 700, 850, 650, frame, small, {} },
            small, { 0, 0, 850, 650 } },
        { "shown before, still inside: stays", { 400, 300, 100, 100, frame, small, ScreenPoint { 380, 250 } },
            small, { 380, 250, 400, 300 } },
        { "shown before, now partly outside: moved in",
            { 400, 300, 100, 100, frame, small, ScreenPoint { 500, 300 } }, small, { 392, 268, 400, 300 } },
        { "shown before on the other screen: centred on this one",
            { 400, 300, 100, 100, frame, { 1920, 24, 1280, 1000 }, ScreenPoint { 100, 100 } }, right,
            { 2356, 358, 400, 300 } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(PlaceWindow(c.window, c.available), c.expected);
    }
}

TEST(WindowFit, ValueColumnsStayOnScreenAndTheRestTakesWhatRemains)
{
    using enum ColumnFit;
    // Compare: table, slot, name, field, loaded, other.
    const ColumnFit compare[] = { Content, Content, Rest, Content, Value, Value };
    struct Case {
        const char* what;
        std::vector<int> wanted;
        int room;
        std::vector<int> expected;
    };
    const Case cases[] = {
        { "room for all: the name column fills the view", { 60, 40, 100, 50, 80, 90 }, 700,
            { 60, 40, 380, 50, 80, 90 } },
        { "a long comment on both sides: the values share", { 60, 40, 100, 70, 2000, 1800 }, 760,
            { 60, 40, 100, 70, 245, 245 } },
        { "a narrow value keeps its width, the wide one takes the rest of the share",
            { 60, 40, 100, 70, 80, 1800 }, 760, { 60, 40, 100, 70, 80, 410 } },
        { "a view too small for anything: nothing under the narrowest", { 60, 40, 100, 70, 500, 500 }, 200,
            { 60, 40, 60, 70, 60, 60 } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(FitColumns(c.wanted, compare, c.room), c.expected);
    }
}
