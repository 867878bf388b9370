#pragma once

// The merge window: the loaded records (OURS) merged with another file (THEIRS)
// against their common base, field by field. The user picks Ours or Theirs for
// each conflict; the caller applies mergedRecords() as one undo step.

#include "core/data/oobmerge.h"
#include "core/data/pastebuffer.h"
#include "core/data/records.h"
#include "gui/common/pagecontext.h"

#include <QDialog>
#include <QKeySequence>
#include <QList>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

class QLabel;
class QKeyEvent;
class QPushButton;
class QTableWidget;
class QTableWidgetItem;

namespace tarnwick::gui {

class ColumnFitter;

class TMergeForm : public QDialog {
    Q_OBJECT
public:
    explicit TMergeForm(PageContext& context, QWidget* parent = nullptr);

    // Asks for THEIRS and BASE through the dialogs seam (each from the folder last
    // used for it), merges them with ours and shows the window. True when the user
    // applied the merge: mergedRecords() and stepName() then say what to store.
    bool execFor(std::vector<std::uint8_t> ours, std::uint16_t nation);
    // Merges and fills the window without asking or showing (for execFor and tests).
    void mergeFiles(const QString& theirsPath, std::vector<std::uint8_t> base, std::vector<std::uint8_t> ours,
        std::vector<std::uint8_t> theirs, std::uint16_t nation);

    // Sets the pick of conflict row (a row of the table) or of every conflict.
    void pick(int row, core::MergeSide side);
    void pickAll(core::MergeSide side);
    // Asks about unpicked conflicts, then accepts.
    void apply();
    // The keys that pick a side: O and T for the selected conflict, with Ctrl for all.
    static QList<QKeySequence> pickKeys();

    std::unique_ptr<core::TOobData> mergedRecords() const;
    QString stepName() const { return stepName_; }
    const core::MergeResult& result() const { return result_; }

    QLabel* LeftLabel = nullptr;
    QTableWidget* MergeGrid = nullptr;
    QPushButton* ApplyButton = nullptr;

signals:
    void recordActivated(tarnwick::core::PasteKind kind, int slot);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool pickByKey(const QKeyEvent& key);
    void fill();
    void updateLeft();
    int conflictOf(int row) const; // -1 for a change taken without conflict
    void activate(QTableWidgetItem* item);
    std::optional<QString> chooseFile(const QString& title, QString& lastDir);

    PageContext& context_;
    QString lastTheirsDir_;
    QString lastBaseDir_;
    QString stepName_;
    std::vector<std::uint8_t> base_, ours_, theirs_;
    std::uint16_t nation_ = 0;
    core::MergeResult result_;
    std::vector<std::optional<core::MergeSide>> picks_;
    ColumnFitter* columns_ = nullptr;
};

} // namespace tarnwick::gui
