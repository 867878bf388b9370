#include "gui/common/textcolour.h"

#include <QApplication>
#include <QLineEdit>
#include <QPalette>
#include <QWidget>

namespace tarnwick::gui {

namespace {

QPalette::ColorRole TextRole(const QWidget* widget)
{
    return qobject_cast<const QLineEdit*>(widget) ? QPalette::Text : QPalette::WindowText;
}

} // namespace

QColor TintColour(core::UnitTint tint, const QWidget* widget)
{
    switch (tint) {
    case core::UnitTint::Navy:
        return QColor(0, 0, 128);
    case core::UnitTint::Maroon:
        return QColor(128, 0, 0);
    case core::UnitTint::Blue:
        return QColor(0, 0, 255);
    case core::UnitTint::Red:
        return QColor(255, 0, 0);
    case core::UnitTint::Normal:
        break;
    }
    return QApplication::palette().color(TextRole(widget));
}

void SetTextColour(QWidget* widget, const QColor& colour)
{
    const QPalette::ColorRole role = TextRole(widget);
    if (widget->palette().color(role) == colour)
        return;
    QPalette palette = widget->palette();
    palette.setColor(role, colour);
    widget->setPalette(palette);
}

void SetTextTint(QWidget* widget, core::UnitTint tint)
{
    SetTextColour(widget, TintColour(tint, widget));
}

QColor TextColour(const QWidget* widget)
{
    return widget->palette().color(TextRole(widget));
}

} // namespace tarnwick::gui
