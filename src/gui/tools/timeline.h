#pragma once

// The availability timeline: a window with the units and the formations of the
// open file as bars on a year axis, grouped and coloured by category. A cursor
// follows the mouse and the status line counts what is available in its month;
// a click or Return on a bar opens that record on its page.

#include "core/data/globals.h"
#include "core/data/pastebuffer.h"
#include "core/data/records.h"
#include "core/rules/timeline.h"

#include <QAbstractScrollArea>
#include <QMainWindow>

#include <optional>
#include <vector>

class QAction;
class QComboBox;
class QPainter;
class QStatusBar;
class QTabWidget;

namespace tarnwick::gui {

class Dialogs;

// One table's chart. The header (legend and year axis) stays in place while
// the bars scroll under it.
class TimelineView : public QAbstractScrollArea {
    Q_OBJECT
public:
    TimelineView(core::TimelineTable table, const core::NameTables* names, QWidget* parent = nullptr);

    void setRows(std::vector<core::TimelineRow> rows);
    // Only this category; nothing: all.
    void setFilter(std::optional<int> category);
    std::optional<int> filter() const { return filter_; }

    core::TimelineTable table() const { return table_; }
    const std::vector<core::TimelineRow>& rows() const { return rows_; }
    const core::TimelineLayout& layout() const { return layout_; }
    const core::TimelineGeometry& geometry() const { return geometry_; }
    int headerHeight() const { return headerHeight_; }
    // The bar with the keyboard (an index into layout().bars), or -1.
    int currentBar() const { return current_; }
    void setCurrentBar(int index);
    // Where a bar is drawn in the viewport now.
    QRect barRect(int index) const;

    // The whole chart, every bar, as a picture would hold it.
    QSize wholeSize() const;
    void paintWhole(QPainter& painter) const;

signals:
    void activated(int slot);
    // The status line: the counts of the month under the cursor, or the bar
    // the keyboard moved to.
    void statusChanged(const QString& text);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool viewportEvent(QEvent* event) override;

private:
    void relayout();
    // Draws header and body; scroll is how far the body is scrolled, whole
    // leaves out what only the screen shows (cursor, focus, hover).
    void paintChart(QPainter& p, int width, int height, int scroll, bool whole) const;
    std::optional<int> barAt(QPoint viewportPos) const;
    void setCursorMonth(std::optional<int> month);
    void ensureVisible(int index);

    core::TimelineTable table_;
    const core::NameTables* names_;
    std::vector<core::TimelineRow> rows_;
    std::optional<int> filter_;
    core::TimelineGeometry geometry_;
    core::TimelineLayout layout_;
    std::vector<core::CategoryCount> legend_;
    int legendHeight_ = 0;
    int headerHeight_ = 0;
    int current_ = -1;
    int hover_ = -1;
    std::optional<int> cursorMonth_;
};

class TTimelineForm : public QMainWindow {
    Q_OBJECT
public:
    // records and names are not owned and outlive the window.
    TTimelineForm(const core::TOobData* records, const core::NameTables* names, Dialogs* dialogs,
        QWidget* parent = nullptr);

    TimelineView* unitsView() const { return units_; }
    TimelineView* formationsView() const { return formations_; }
    TimelineView* currentView() const;

public slots:
    // Reads the records again and draws them (connected to the records' change signal).
    void refresh();
    void savePng();
    void saveSvg();

signals:
    void recordActivated(core::PasteKind kind, int slot);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void fillFilter();
    bool saveTo(bool svg);

    const core::TOobData* records_;
    const core::NameTables* names_;
    Dialogs* dialogs_;
    QTabWidget* tabs_ = nullptr;
    TimelineView* units_ = nullptr;
    TimelineView* formations_ = nullptr;
    QComboBox* filterBox_ = nullptr;
    QStatusBar* status_ = nullptr;
    QAction* savePng_ = nullptr;
    QAction* saveSvg_ = nullptr;
};

} // namespace tarnwick::gui
