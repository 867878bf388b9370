#pragma once

// A sortable read-only table whose rows stand for records: a double click or
// Return on a row asks for that record to be opened.

#include "core/data/pastebuffer.h"

#include <QStringList>
#include <QTableWidget>
#include <QVariant>

#include <vector>

namespace tarnwick::gui {

class RecordTable : public QTableWidget {
    Q_OBJECT
public:
    struct Row {
        core::PasteKind kind;
        int slot;
        QList<QVariant> cells; // an int sorts as a number
    };

    RecordTable(const QStringList& headers, QWidget* parent = nullptr);

    // Replaces every row; the sort order the user chose stays.
    void setRows(const std::vector<Row>& rows);

signals:
    void openRecord(core::PasteKind kind, int slot);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void openRow(int row);
};

} // namespace tarnwick::gui
