#include "gui/tools/recordtable.h"

#include <QHeaderView>
#include <QKeyEvent>

namespace tarnwick::gui {

namespace {

constexpr int kKindRole = Qt::UserRole;
constexpr int kSlotRole = Qt::UserRole + 1;

} // namespace

RecordTable::RecordTable(const QStringList& headers, QWidget* parent)
    : QTableWidget(0, static_cast<int>(headers.size()), parent)
{
    setHorizontalHeaderLabels(headers);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSortingEnabled(true);
    sortByColumn(-1, Qt::AscendingOrder); // the order the rows come in until a header is clicked
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    horizontalHeader()->setStretchLastSection(true);
    setWordWrap(false);
    connect(this, &QTableWidget::cellDoubleClicked, this, [this](int row, int) { openRow(row); });
}

void RecordTable::setRows(const std::vector<Row>& rows)
{
    setSortingEnabled(false);
    clearContents();
    setRowCount(static_cast<int>(rows.size()));
    for (int r = 0; r < rowCount(); ++r) {
        const Row& row = rows[static_cast<std::size_t>(r)];
        for (int c = 0; c < columnCount() && c < row.cells.size(); ++c) {
            auto* item = new QTableWidgetItem;
            item->setData(Qt::DisplayRole, row.cells[c]);
            item->setData(kKindRole, static_cast<int>(row.kind));
            item->setData(kSlotRole, row.slot);
            setItem(r, c, item);
        }
    }
    setSortingEnabled(true);
    resizeColumnsToContents();
    horizontalHeader()->setStretchLastSection(true);
}

void RecordTable::keyPressEvent(QKeyEvent* event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && currentRow() >= 0) {
        openRow(currentRow());
        return;
    }
    QTableWidget::keyPressEvent(event);
}

void RecordTable::openRow(int row)
{
    const QTableWidgetItem* first = item(row, 0);
    if (first == nullptr)
        return;
    emit openRecord(
        static_cast<core::PasteKind>(first->data(kKindRole).toInt()), first->data(kSlotRole).toInt());
}

} // namespace tarnwick::gui
