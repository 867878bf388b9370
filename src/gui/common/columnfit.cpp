#include "gui/common/columnfit.h"

#include <QEvent>
#include <QHeaderView>
#include <QTableView>

#include <algorithm>

namespace tarnwick::gui {

ColumnFitter::ColumnFitter(QTableView* view, std::vector<core::ColumnFit> fits)
    : QObject(view)
    , view_(view)
    , fits_(std::move(fits))
{
    view->horizontalHeader()->setStretchLastSection(false);
    view->viewport()->installEventFilter(this);
}

void ColumnFitter::refit()
{
    QHeaderView* header = view_->horizontalHeader();
    const int count = std::min(header->count(), static_cast<int>(fits_.size()));
    std::vector<int> wanted(static_cast<std::size_t>(count));
    const QAbstractItemView* contents = view_; // where measuring the contents is public
    for (int c = 0; c < count; ++c)
        wanted[static_cast<std::size_t>(c)]
            = std::max(contents->sizeHintForColumn(c), header->sectionSizeHint(c));
    width_ = view_->viewport()->width();
    const std::vector<int> widths
        = core::FitColumns(wanted, std::span(fits_).first(static_cast<std::size_t>(count)), width_);
    for (int c = 0; c < count; ++c)
        header->resizeSection(c, widths[static_cast<std::size_t>(c)]);
}

bool ColumnFitter::eventFilter(QObject* watched, QEvent* event)
{
    // Only the viewport is watched. While the view is being destroyed its
    // viewport still gets events, and the view is no longer a scroll area to
    // ask: the type of event is looked at first, and the viewport is taken as
    // it comes.
    if (event->type() == QEvent::Resize && static_cast<QWidget*>(watched)->width() != width_)
        refit();
    return false;
}

} // namespace tarnwick::gui
