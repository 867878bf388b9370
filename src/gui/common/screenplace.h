#pragma once

// Where windows go on the screen.

#include <QSize>

class QMainWindow;
class QWidget;

namespace tarnwick::gui {

// Moves window so that it stands in the middle of its screen's free area (its
// title bar inside it when the window is larger), at its present size.
void CentreOnScreen(QWidget* window);

// Where a tool window is centred the first time it opens.
enum class OpenOver { MainWindow, Screen };

// Fits a tool window to the screen its main window is on, each time it is
// shown: the first time at wanted (empty: the size its layout gives it),
// centred over its main window or the screen; later where and as large as the
// user left it. Either way no larger than the screen's free area holds, moved
// inside it; the window's layout and scrolling views take the difference.
void FitWhenShown(QWidget* window, const QSize& wanted = {}, OpenOver over = OpenOver::MainWindow);

// Gives window its design size where its screen has room for it. On a smaller
// screen the window takes the room there is and pages, a widget in the
// window's layout, scroll inside it. Returns the size the window is to keep as
// its minimum.
QSize FitToScreen(QMainWindow* window, QWidget* pages, const QSize& design);

} // namespace tarnwick::gui
