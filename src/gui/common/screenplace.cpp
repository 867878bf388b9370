#include "gui/common/screenplace.h"

#include "core/rules/windowfit.h"

#include <QGuiApplication>
#include <QLayout>
#include <QMainWindow>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>

namespace tarnwick::gui {

namespace {

// What a window's border and title bar take, before the window is shown and
// the desktop says so.
constexpr QSize kFrameAllowance(8, 32);

const QScreen* ScreenOf(const QWidget* window)
{
    if (const QScreen* screen = window->screen())
        return screen;
    return QGuiApplication::primaryScreen();
}

} // namespace

void CentreOnScreen(QWidget* window)
{
    const QScreen* screen = ScreenOf(window);
    if (screen == nullptr)
        return;
    QRect frame(QPoint(0, 0), window->size());
    frame.moveCenter(screen->availableGeometry().center());
    window->move(frame.topLeft());
}

QSize FitToScreen(QMainWindow* window, QWidget* pages, const QSize& design)
{
    const QScreen* screen = ScreenOf(window);
    if (screen == nullptr)
        return design;
    QSize frame = window->frameGeometry().size() - window->geometry().size();
    if (frame.isEmpty())
        frame = kFrameAllowance;
    const QSize available = screen->availableGeometry().size();
    const int scrollBar = window->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, window);
    const core::WindowFit fit = core::FitWindow(design.width(), design.height(), available.width(),
        available.height(), frame.width(), frame.height(), scrollBar);
    if (!fit.scroll)
        return design;

    QWidget* holder = pages->parentWidget();
    if (holder != nullptr && holder->layout() != nullptr) {
        // The pages keep the room they have at the design size; the window shows what fits.
        if (window->layout() != nullptr)
            window->layout()->activate();
        holder->layout()->activate();
        pages->setMinimumSize(pages->minimumSizeHint().expandedTo(pages->size()));
        auto* scroller = new QScrollArea(holder);
        scroller->setObjectName("PageScroller");
        scroller->setFrameShape(QFrame::NoFrame);
        scroller->setWidgetResizable(true);
        // Only the dimension the screen is short of scrolls.
        if (fit.width >= design.width() + scrollBar)
            scroller->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        if (fit.height >= design.height() + scrollBar)
            scroller->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        delete holder->layout()->replaceWidget(pages, scroller);
        scroller->setWidget(pages);
    }
    const QSize size(fit.width, fit.height);
    window->setMinimumSize(size);
    window->resize(size);
    CentreOnScreen(window);
    return size;
}

} // namespace tarnwick::gui
