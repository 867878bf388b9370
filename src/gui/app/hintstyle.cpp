#include "gui/app/hintstyle.h"

#include <QApplication>
#include <QStyleFactory>

namespace tarnwick::gui {

HintStyle::HintStyle(QStyle* base)
    : QProxyStyle(base)
{
}

int HintStyle::styleHint(
    StyleHint hint, const QStyleOption* option, const QWidget* widget, QStyleHintReturn* returnData) const
{
    if (hint == SH_ToolTip_WakeUpDelay)
        return hintDelayMs_;
    return QProxyStyle::styleHint(hint, option, widget, returnData);
}

HintStyle* HintStyle::install()
{
    if (auto* existing = qobject_cast<HintStyle*>(QApplication::style()))
        return existing;
    // Wrap a fresh copy of the platform's style; the application takes ownership.
    auto* style = new HintStyle(QStyleFactory::create(QApplication::style()->name()));
    QApplication::setStyle(style);
    return style;
}

} // namespace tarnwick::gui
