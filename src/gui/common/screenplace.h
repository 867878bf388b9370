#pragma once

// Where windows go on the screen.

#include <QSize>

class QMainWindow;
class QWidget;

namespace tarnwick::gui {

// Moves window so that it stands in the middle of its screen's free area, at
// its present size.
void CentreOnScreen(QWidget* window);

// Gives window its design size where its screen has room for it. On a smaller
// screen the window takes the room there is and pages, a widget in the
// window's layout, scroll inside it. Returns the size the window is to keep as
// its minimum.
QSize FitToScreen(QMainWindow* window, QWidget* pages, const QSize& design);

} // namespace tarnwick::gui
