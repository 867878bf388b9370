#pragma once

// The colours of the pages' texts: captions in navy, warnings in maroon, the
// unit number's marks in blue and red. Labels colour their window text, edits
// their text.

#include "core/rules/unitrules.h"

#include <QColor>

class QWidget;

namespace tarnwick::gui {

// The colour of a tint; Normal is the application's colour for widget's text.
QColor TintColour(core::UnitTint tint, const QWidget* widget);

void SetTextColour(QWidget* widget, const QColor& colour);
void SetTextTint(QWidget* widget, core::UnitTint tint);

// The colour widget's text is drawn in.
QColor TextColour(const QWidget* widget);

} // namespace tarnwick::gui
