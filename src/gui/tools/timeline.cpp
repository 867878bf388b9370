#include "gui/tools/timeline.h"

#include "gui/common/bytetext.h"
#include "gui/common/closekeys.h"
#include "gui/common/dialogs.h"
#include "gui/common/screenplace.h"

#include <QComboBox>
#include <QFileInfo>
#include <QHelpEvent>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QSaveFile>
#include <QScrollBar>
#include <QStatusBar>
#include <QSvgGenerator>
#include <QTabWidget>
#include <QToolBar>
#include <QToolTip>

#include <algorithm>

namespace tarnwick::gui {

namespace {

constexpr int kMargin = 8;
constexpr int kSwatch = 11;
constexpr int kLegendGap = 18;
const char* const kHint = "Point at the chart to count what is available in a month; click a bar or press "
                          "Return to open its record";

QColor ToColor(core::Rgb c, int alpha = 255)
{
    return QColor(c.r, c.g, c.b, alpha);
}

QString CategoryText(core::TimelineTable table, int category)
{
    return FromBytes(core::TimelineCategoryName(table, category));
}

QString LegendText(core::TimelineTable table, const core::CategoryCount& c)
{
    return CategoryText(table, c.category) + QStringLiteral(" (%1)").arg(c.count);
}

QString SlotText(int slot)
{
    return QStringLiteral("%1").arg(slot, 3, 10, QLatin1Char('0'));
}

} // namespace

// ---- TimelineView ----

TimelineView::TimelineView(core::TimelineTable table, const core::NameTables* names, QWidget* parent)
    : QAbstractScrollArea(parent)
    , table_(table)
    , names_(names)
{
    setFocusPolicy(Qt::StrongFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    viewport()->setMouseTracking(true);
    viewport()->setAutoFillBackground(false);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, viewport(), qOverload<>(&QWidget::update));
    relayout();
}

void TimelineView::setRows(std::vector<core::TimelineRow> rows)
{
    // The keyboard stays on the same record when it is still there.
    const int slot = current_ >= 0 ? rows_[static_cast<std::size_t>(layout_.bars[current_].row)].slot : -1;
    rows_ = std::move(rows);
    relayout();
    current_ = -1;
    for (std::size_t i = 0; i < layout_.bars.size(); ++i)
        if (rows_[static_cast<std::size_t>(layout_.bars[i].row)].slot == slot)
            current_ = static_cast<int>(i);
}

void TimelineView::setFilter(std::optional<int> category)
{
    if (filter_ == category)
        return;
    filter_ = category;
    current_ = -1;
    relayout();
    verticalScrollBar()->setValue(0);
}

void TimelineView::relayout()
{
    const QFontMetrics fm(font());
    geometry_.rowHeight = std::max(16, fm.height() + 3);
    geometry_.barHeight = geometry_.rowHeight - 6;
    geometry_.groupHeight = geometry_.rowHeight + 8;
    // Room for the slot and a name of the longest length a record holds, taken
    // from the font rather than measured name by name on every change.
    const int longest = fm.horizontalAdvance(QStringLiteral("000 "))
        + fm.averageCharWidth() * static_cast<int>(core::kNameLength) * 23 / 20;
    geometry_.nameColumn = kMargin + 6 + longest + 8;
    geometry_.width = std::max(viewport()->width(), geometry_.nameColumn + 200);
    geometry_.rightMargin = 16;
    layout_ = core::LayoutTimeline(table_, rows_, geometry_, filter_);
    hover_ = -1;

    legend_ = core::RowsPerCategory(table_, rows_);
    int x = kMargin;
    int lines = 1;
    for (const core::CategoryCount& c : legend_) {
        const int w = kSwatch + 4 + fm.horizontalAdvance(LegendText(table_, c)) + kLegendGap;
        if (x + w > geometry_.width - kMargin && x > kMargin) {
            x = kMargin;
            ++lines;
        }
        x += w;
    }
    legendHeight_ = kMargin + lines * (fm.height() + 4);
    headerHeight_ = legendHeight_ + fm.height() + 12;

    const int visible = std::max(0, viewport()->height() - headerHeight_);
    verticalScrollBar()->setRange(0, std::max(0, layout_.bodyHeight + kMargin - visible));
    verticalScrollBar()->setSingleStep(geometry_.rowHeight);
    verticalScrollBar()->setPageStep(std::max(visible, geometry_.rowHeight));
    viewport()->update();
}

QSize TimelineView::wholeSize() const
{
    return { geometry_.width, headerHeight_ + layout_.bodyHeight + kMargin };
}

void TimelineView::paintWhole(QPainter& painter) const
{
    const QSize size = wholeSize();
    paintChart(painter, size.width(), size.height(), 0, true);
}

void TimelineView::paintEvent(QPaintEvent*)
{
    QPainter p(viewport());
    paintChart(p, viewport()->width(), viewport()->height(), verticalScrollBar()->value(), false);
}

void TimelineView::paintChart(QPainter& p, int width, int height, int scroll, bool whole) const
{
    const QFontMetrics fm(font());
    const core::TimelineLayout& l = layout_;
    const core::TimelineGeometry& g = geometry_;
    p.fillRect(QRect(0, 0, width, height), Qt::white);
    p.setFont(font());

    // ---- Body, under the header ----
    const int bodyTop = headerHeight_ - scroll;
    p.save();
    p.setClipRect(QRect(0, headerHeight_, width, height - headerHeight_));
    const int step = core::TimelineTickStep(l.pixelsPerMonth * 12, 44);
    for (int year = l.axis.firstYear; year <= l.axis.endYear; ++year) {
        const int x = core::TimelineX(l, year * 12);
        p.setPen(year % step == 0 ? QColor(205, 205, 205) : QColor(238, 238, 238));
        p.drawLine(x, headerHeight_, x, height);
    }
    for (const core::TimelineGroupBand& band : l.groups) {
        const int y = bodyTop + band.y;
        if (y > height || y + g.groupHeight < headerHeight_)
            continue;
        const QRect heading(kMargin, y + 3, width - 2 * kMargin, g.groupHeight - 5);
        p.fillRect(heading, ToColor(core::TimelineCategoryColour(table_, band.category), 40));
        p.fillRect(QRect(heading.left(), heading.top(), 4, heading.height()),
            ToColor(core::TimelineCategoryColour(table_, band.category)));
        QFont bold = font();
        bold.setBold(true);
        p.setFont(bold);
        p.setPen(QColor(30, 30, 30));
        p.drawText(heading.adjusted(10, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft,
            CategoryText(table_, band.category) + QStringLiteral("  (%1)").arg(band.count));
        p.setFont(font());
    }
    // Only the lines in sight are drawn.
    const int firstY = headerHeight_ - bodyTop - g.rowHeight;
    auto it = std::lower_bound(
        l.bars.begin(), l.bars.end(), firstY, [](const core::TimelineBar& b, int y) { return b.y < y; });
    p.setRenderHint(QPainter::Antialiasing, true);
    for (; it != l.bars.end(); ++it) {
        const int y = bodyTop + it->y;
        if (y > height)
            break;
        const int index = static_cast<int>(it - l.bars.begin());
        const core::TimelineRow& row = rows_[static_cast<std::size_t>(it->row)];
        const QRect line(0, y, width, g.rowHeight);
        if (!whole && index == current_)
            p.fillRect(line,
                palette()
                    .color(hasFocus() ? QPalette::Active : QPalette::Inactive, QPalette::Highlight)
                    .lighter(hasFocus() ? 160 : 185));
        else if (!whole && index == hover_)
            p.fillRect(line, QColor(0, 0, 0, 14));
        p.setPen(QColor(40, 40, 40));
        const QString name = SlotText(row.slot) + ' ' + FromBytes(row.name);
        p.drawText(kMargin + 6, y + (g.rowHeight + fm.ascent() - fm.descent()) / 2, name);
        const QRectF bar(
            it->x0, y + (g.rowHeight - g.barHeight) / 2.0, std::max(it->x1 - it->x0, 2), g.barHeight);
        const QColor colour = ToColor(core::TimelineCategoryColour(table_, row.category));
        if (row.flag == core::SpanFlag::None) {
            p.setPen(Qt::NoPen);
            p.setBrush(colour);
        } else {
            // A span that makes no sense: hatched, with a red dashed outline.
            p.setBrush(QBrush(colour, Qt::BDiagPattern));
            p.setPen(QPen(ToColor(core::kTimelineFaultColour), 1.5, Qt::DashLine));
        }
        p.drawRoundedRect(bar, 2.5, 2.5);
        if (!whole && index == current_) {
            p.setBrush(Qt::NoBrush);
            p.setPen(QPen(QColor(20, 20, 20), 1.5));
            p.drawRoundedRect(bar.adjusted(-1.5, -1.5, 1.5, 1.5), 3, 3);
        }
    }
    p.setRenderHint(QPainter::Antialiasing, false);
    if (l.bars.empty()) {
        p.setPen(QColor(110, 110, 110));
        p.drawText(QRect(0, headerHeight_, width, 3 * g.rowHeight), Qt::AlignCenter,
            rows_.empty() ? QStringLiteral("No records") : QStringLiteral("No records of this category"));
    }
    p.restore();

    // ---- Header: legend and year axis ----
    p.fillRect(QRect(0, 0, width, headerHeight_), QColor(250, 250, 250));
    int x = kMargin;
    int y = kMargin;
    for (const core::CategoryCount& c : legend_) {
        const QString text = LegendText(table_, c);
        const int w = kSwatch + 4 + fm.horizontalAdvance(text) + kLegendGap;
        if (x + w > width - kMargin && x > kMargin) {
            x = kMargin;
            y += fm.height() + 4;
        }
        const bool shown = !filter_ || *filter_ == c.category;
        const int top = y + (fm.height() - kSwatch) / 2;
        p.fillRect(QRect(x, top, kSwatch, kSwatch),
            ToColor(core::TimelineCategoryColour(table_, c.category), shown ? 255 : 60));
        p.setPen(shown ? QColor(30, 30, 30) : QColor(160, 160, 160));
        p.drawText(QRect(x + kSwatch + 4, y, w, fm.height()), Qt::AlignVCenter | Qt::AlignLeft, text);
        x += w;
    }
    const int axisY = headerHeight_ - 4;
    p.setPen(QColor(120, 120, 120));
    p.drawLine(l.plotLeft, axisY, l.plotRight, axisY);
    for (int year = l.axis.firstYear; year <= l.axis.endYear; ++year) {
        const int tx = core::TimelineX(l, year * 12);
        if (year % step == 0) {
            p.drawLine(tx, axisY - 4, tx, axisY);
            p.drawText(QRect(tx - 30, legendHeight_, 60, axisY - 4 - legendHeight_), Qt::AlignCenter,
                QString::number(1900 + year));
        } else {
            p.drawLine(tx, axisY - 2, tx, axisY);
        }
    }
    p.setPen(QColor(215, 215, 215));
    p.drawLine(0, headerHeight_ - 1, width, headerHeight_ - 1);

    // ---- Cursor ----
    if (!whole && cursorMonth_) {
        const int cx = (core::TimelineX(l, *cursorMonth_) + core::TimelineX(l, *cursorMonth_ + 1)) / 2;
        p.setPen(QPen(QColor(190, 30, 45), 1));
        p.drawLine(cx, legendHeight_, cx, height);
        const core::YearMonth ym = core::MonthOf(*cursorMonth_);
        const QString label = QString::fromStdString(core::MonthYearText(ym));
        const int lw = fm.horizontalAdvance(label) + 10;
        QRect box(cx + 4, axisY - fm.height() - 6, lw, fm.height() + 2);
        if (box.right() > width - 2)
            box.moveRight(cx - 4);
        p.fillRect(box, QColor(190, 30, 45));
        p.setPen(Qt::white);
        p.drawText(box, Qt::AlignCenter, label);
    }
}

void TimelineView::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    relayout();
}

std::optional<int> TimelineView::barAt(QPoint pos) const
{
    if (pos.y() < headerHeight_)
        return std::nullopt;
    const int y = pos.y() - headerHeight_ + verticalScrollBar()->value();
    return core::TimelineBarAt(layout_, y, geometry_);
}

QRect TimelineView::barRect(int index) const
{
    if (index < 0 || index >= static_cast<int>(layout_.bars.size()))
        return {};
    const core::TimelineBar& bar = layout_.bars[static_cast<std::size_t>(index)];
    const int y = headerHeight_ - verticalScrollBar()->value() + bar.y;
    return QRect(bar.x0, y + (geometry_.rowHeight - geometry_.barHeight) / 2, std::max(bar.x1 - bar.x0, 2),
        geometry_.barHeight);
}

void TimelineView::setCursorMonth(std::optional<int> month)
{
    cursorMonth_ = month;
    if (month)
        emit statusChanged(
            FromBytes(core::TimelineCountsText(table_, *month, core::CountsInMonth(table_, rows_, *month))));
    else
        emit statusChanged(QString::fromLatin1(kHint));
    viewport()->update();
}

void TimelineView::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    const std::optional<int> bar = barAt(pos);
    const int hover = bar ? *bar : -1;
    if (hover != hover_) {
        hover_ = hover;
        viewport()->setCursor(hover >= 0 ? Qt::PointingHandCursor : Qt::ArrowCursor);
    }
    setCursorMonth(core::TimelineMonthAt(layout_, pos.x()));
}

void TimelineView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return QAbstractScrollArea::mousePressEvent(event);
    if (const std::optional<int> bar = barAt(event->position().toPoint())) {
        setCurrentBar(*bar);
        emit activated(
            rows_[static_cast<std::size_t>(layout_.bars[static_cast<std::size_t>(*bar)].row)].slot);
    }
}

bool TimelineView::viewportEvent(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        if (const std::optional<int> bar = barAt(help->pos())) {
            const core::TimelineRow& row = rows_[static_cast<std::size_t>(layout_.bars[*bar].row)];
            static const core::NameTables kNoNames;
            QToolTip::showText(help->globalPos(),
                FromBytes(core::TimelineTooltip(row, names_ != nullptr ? *names_ : kNoNames)), viewport(),
                barRect(*bar));
        } else {
            QToolTip::hideText();
            event->ignore();
        }
        return true;
    }
    if (event->type() == QEvent::Leave) {
        hover_ = -1;
        setCursorMonth(std::nullopt);
    }
    return QAbstractScrollArea::viewportEvent(event);
}

void TimelineView::setCurrentBar(int index)
{
    if (layout_.bars.empty())
        return;
    current_ = std::clamp(index, 0, static_cast<int>(layout_.bars.size()) - 1);
    ensureVisible(current_);
    const core::TimelineRow& row = rows_[static_cast<std::size_t>(layout_.bars[current_].row)];
    static const core::NameTables kNoNames;
    QString text = FromBytes(core::TimelineTooltip(row, names_ != nullptr ? *names_ : kNoNames));
    text.replace('\n', QStringLiteral(" \u2014 "));
    emit statusChanged(text);
    viewport()->update();
}

void TimelineView::ensureVisible(int index)
{
    const core::TimelineBar& bar = layout_.bars[static_cast<std::size_t>(index)];
    const int visible = viewport()->height() - headerHeight_;
    QScrollBar* sb = verticalScrollBar();
    // Keep the group's heading in sight above its first bar.
    const int top = bar.y
        - (index == 0 || layout_.bars[index - 1].y + geometry_.rowHeight != bar.y ? geometry_.groupHeight
                                                                                  : 0);
    if (top < sb->value())
        sb->setValue(top);
    else if (bar.y + geometry_.rowHeight > sb->value() + visible)
        sb->setValue(bar.y + geometry_.rowHeight - visible);
}

void TimelineView::keyPressEvent(QKeyEvent* event)
{
    const int count = static_cast<int>(layout_.bars.size());
    const int page = std::max(1, (viewport()->height() - headerHeight_) / geometry_.rowHeight - 1);
    switch (event->key()) {
    case Qt::Key_Down:
        setCurrentBar(current_ < 0 ? 0 : current_ + 1);
        return;
    case Qt::Key_Up:
        setCurrentBar(current_ < 0 ? 0 : current_ - 1);
        return;
    case Qt::Key_PageDown:
        setCurrentBar(current_ + page);
        return;
    case Qt::Key_PageUp:
        setCurrentBar(current_ - page);
        return;
    case Qt::Key_Home:
        setCurrentBar(0);
        return;
    case Qt::Key_End:
        setCurrentBar(count - 1);
        return;
    case Qt::Key_Left:
    case Qt::Key_Right: {
        // The cursor steps by a month, a year with Shift.
        const int step = (event->modifiers() & Qt::ShiftModifier) ? 12 : 1;
        const int first = layout_.axis.firstYear * 12;
        const int last = layout_.axis.endYear * 12 - 1;
        int month = cursorMonth_ ? *cursorMonth_ : (first + last) / 2;
        if (cursorMonth_)
            month += event->key() == Qt::Key_Left ? -step : step;
        setCursorMonth(std::clamp(month, first, last));
        return;
    }
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (current_ >= 0)
            emit activated(rows_[static_cast<std::size_t>(layout_.bars[current_].row)].slot);
        return;
    default:
        QAbstractScrollArea::keyPressEvent(event);
    }
}

// ---- TTimelineForm ----

TTimelineForm::TTimelineForm(
    const core::TOobData* records, const core::NameTables* names, Dialogs* dialogs, QWidget* parent)
    : QMainWindow(parent, Qt::Window)
    , records_(records)
    , names_(names)
    , dialogs_(dialogs)
{
    setObjectName("TimelineForm");
    setWindowTitle("Availability Timeline");
    FitWhenShown(this, QSize(980, 680));
    CloseByKeys(this);

    auto* bar = new QToolBar(this);
    bar->setObjectName("TimelineToolBar");
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    auto* show = new QLabel(" Show: ", bar);
    bar->addWidget(show);
    filterBox_ = new QComboBox(bar);
    filterBox_->setObjectName("TimelineFilter");
    filterBox_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    filterBox_->setMinimumWidth(160);
    show->setBuddy(filterBox_);
    bar->addWidget(filterBox_);
    auto* spacer = new QWidget(bar);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    bar->addWidget(spacer);
    savePng_ = bar->addAction(QStringLiteral("Save as PNG\u2026"));
    savePng_->setObjectName("TimelineSavePng");
    saveSvg_ = bar->addAction(QStringLiteral("Save as SVG\u2026"));
    saveSvg_->setObjectName("TimelineSaveSvg");
    addToolBar(bar);

    tabs_ = new QTabWidget(this);
    tabs_->setObjectName("TimelineTabs");
    units_ = new TimelineView(core::TimelineTable::Units, names_, tabs_);
    units_->setObjectName("TimelineUnits");
    formations_ = new TimelineView(core::TimelineTable::Formations, names_, tabs_);
    formations_->setObjectName("TimelineFormations");
    tabs_->addTab(units_, "Units");
    tabs_->addTab(formations_, "Formations");
    setCentralWidget(tabs_);

    status_ = new QStatusBar(this);
    status_->setObjectName("TimelineStatus");
    setStatusBar(status_);
    status_->showMessage(QString::fromLatin1(kHint));

    for (TimelineView* view : { units_, formations_ }) {
        connect(view, &TimelineView::statusChanged, status_,
            [this](const QString& text) { status_->showMessage(text); });
        const core::PasteKind kind = view == units_ ? core::PasteKind::Unit : core::PasteKind::Formation;
        connect(view, &TimelineView::activated, this,
            [this, kind](int slot) { emit recordActivated(kind, slot); });
    }
    connect(tabs_, &QTabWidget::currentChanged, this, [this] {
        fillFilter();
        status_->showMessage(QString::fromLatin1(kHint));
    });
    connect(filterBox_, &QComboBox::activated, this, [this](int index) {
        const QVariant v = filterBox_->itemData(index);
        currentView()->setFilter(v.isValid() ? std::optional<int>(v.toInt()) : std::nullopt);
    });
    connect(savePng_, &QAction::triggered, this, &TTimelineForm::savePng);
    connect(saveSvg_, &QAction::triggered, this, &TTimelineForm::saveSvg);
}

TimelineView* TTimelineForm::currentView() const
{
    return tabs_->currentWidget() == formations_ ? formations_ : units_;
}

void TTimelineForm::refresh()
{
    // A hidden window reads the records when it is shown.
    if (records_ == nullptr || !isVisible())
        return;
    units_->setRows(core::TimelineRows(*records_, core::TimelineTable::Units));
    formations_->setRows(core::TimelineRows(*records_, core::TimelineTable::Formations));
    fillFilter();
}

void TTimelineForm::fillFilter()
{
    TimelineView* view = currentView();
    const QSignalBlocker block(filterBox_);
    const QString all = view->table() == core::TimelineTable::Units ? "All categories" : "All types";
    const std::vector<int> categories = core::TimelineCategories(view->table(), view->rows());
    bool same
        = filterBox_->count() == static_cast<int>(categories.size()) + 1 && filterBox_->itemText(0) == all;
    for (std::size_t i = 0; same && i < categories.size(); ++i)
        same = filterBox_->itemData(static_cast<int>(i) + 1).toInt() == categories[i];
    if (!same) {
        filterBox_->clear();
        filterBox_->addItem(all);
        for (int category : categories)
            filterBox_->addItem(CategoryText(view->table(), category), category);
    }
    const int at = view->filter() ? filterBox_->findData(*view->filter()) : 0;
    if (at < 0) // the type is gone from the file
        view->setFilter(std::nullopt);
    filterBox_->setCurrentIndex(std::max(at, 0));
}

void TTimelineForm::showEvent(QShowEvent* event)
{
    refresh();
    QMainWindow::showEvent(event);
}

void TTimelineForm::savePng()
{
    saveTo(false);
}

void TTimelineForm::saveSvg()
{
    saveTo(true);
}

bool TTimelineForm::saveTo(bool svg)
{
    TimelineView* view = currentView();
    const QString kind = svg ? "SVG" : "PNG";
    const QString start
        = view->table() == core::TimelineTable::Units ? "timeline-units" : "timeline-formations";
    const std::optional<QString> chosen = dialogs_->saveAsFileName(this, "Save Timeline as " + kind,
        svg ? "SVG Files (*.svg);;All Files (*)" : "PNG Files (*.png);;All Files (*)",
        start + (svg ? ".svg" : ".png"));
    if (!chosen || chosen->isEmpty())
        return false;
    QString path = *chosen;
    if (QFileInfo(path).suffix().isEmpty())
        path += svg ? ".svg" : ".png";

    // Written beside the target first and renamed over it only when complete.
    QSaveFile file(path);
    bool ok = file.open(QIODevice::WriteOnly);
    if (ok) {
        const QSize size = view->wholeSize();
        if (svg) {
            QSvgGenerator generator;
            generator.setOutputDevice(&file);
            generator.setSize(size);
            generator.setViewBox(QRect(QPoint(0, 0), size));
            generator.setTitle(windowTitle());
            QPainter painter(&generator);
            view->paintWhole(painter);
            ok = painter.end();
        } else {
            QImage image(size, QImage::Format_RGB32);
            image.fill(Qt::white);
            QPainter painter(&image);
            view->paintWhole(painter);
            painter.end();
            ok = image.save(&file, "PNG");
        }
        ok = ok && file.commit();
    }
    if (!ok) {
        dialogs_->message(this, Dialogs::Kind::Error, windowTitle(),
            QStringLiteral("Cannot save %1: %2").arg(path, file.errorString()));
        return false;
    }
    status_->showMessage(QStringLiteral("Saved %1").arg(path));
    return true;
}

} // namespace tarnwick::gui
