#include "gui/common/pagetabs.h"

#include <QKeyEvent>
#include <QTabBar>

namespace tarnwick::gui {

PageTabs::PageTabs(QWidget* parent)
    : QTabWidget(parent)
{
}

void PageTabs::keyPressEvent(QKeyEvent* event)
{
    const bool ctrl = event->modifiers().testFlag(Qt::ControlModifier);
    const bool shift = event->modifiers().testFlag(Qt::ShiftModifier);
    int step = 0;
    if (ctrl && event->key() == Qt::Key_Tab)
        step = shift ? -1 : 1;
    else if (ctrl && event->key() == Qt::Key_Backtab)
        step = -1;
    else if (ctrl && event->key() == Qt::Key_PageDown)
        step = 1;
    else if (ctrl && event->key() == Qt::Key_PageUp)
        step = -1;
    if (step == 0) {
        QTabWidget::keyPressEvent(event);
        return;
    }
    if (const int page = nextShownPage(step); page >= 0)
        setCurrentIndex(page);
    event->accept();
}

int PageTabs::nextShownPage(int step) const
{
    const int pages = count();
    const int from = currentIndex();
    for (int i = 1; i < pages; ++i) {
        const int page = ((from + step * i) % pages + pages) % pages;
        if (isTabVisible(page) && isTabEnabled(page))
            return page;
    }
    return -1;
}

} // namespace tarnwick::gui
