#pragma once

// F4 on a number edit opens its pick list: the "..." button beside the edit.

class QAbstractButton;
class QWidget;

namespace tarnwick::gui {

// The enabled "..." button on the edit's row, nearest to its right; null when
// the widget is no line edit or has no such button.
QAbstractButton* PickButtonBeside(QWidget* edit);

} // namespace tarnwick::gui
