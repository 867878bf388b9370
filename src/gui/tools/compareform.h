#pragma once

// The compare window: what the loaded records (changes included) differ in from
// another file, one row per field. Non-modal; double click opens the record.

#include "core/data/oobcompare.h"
#include "core/data/pastebuffer.h"
#include "gui/common/pagecontext.h"

#include <QWidget>

#include <cstdint>
#include <vector>

class QLabel;
class QTableWidget;
class QTableWidgetItem;

namespace tarnwick::gui {

class ColumnFitter;

class TCompareForm : public QWidget {
    Q_OBJECT
public:
    explicit TCompareForm(PageContext& context, QWidget* parent = nullptr);

    // Asks for a file through the dialogs seam and, when it can be read, shows the
    // window comparing with it. An unreadable file gets a message and changes nothing.
    bool askForFile(const QString& startDir);
    // Compares with these bytes, read from path (any length), and shows the window.
    void compareWith(const QString& path, std::vector<std::uint8_t> bytes);

    const std::vector<core::OobDifference>& differences() const { return differences_; }

    QLabel* SummaryLabel = nullptr;
    QTableWidget* CompareGrid = nullptr;

signals:
    // A row of a record was double-clicked.
    void recordActivated(tarnwick::core::PasteKind kind, int slot);

public slots:
    // Compares the records again: call after every change to them.
    void refresh();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void activate(QTableWidgetItem* item);
    // The value columns' titles name the two files.
    void setTitles();

    PageContext& context_;
    QString path_;
    std::vector<std::uint8_t> other_;
    bool haveFile_ = false;
    std::vector<core::OobDifference> differences_;
    ColumnFitter* columns_ = nullptr;
};

} // namespace tarnwick::gui
