#pragma once

// What the weapons and units grids share: the window with its search box,
// Save and Exit, and the grid itself, a table view over the rows of the core's
// grid rules. Sorting moves whole rows, and each row keeps the slot it was
// filled from, so a sorted grid saves every row to its own slot.

#include "core/rules/gridform.h"
#include "gui/common/pagecontext.h"

#include <QAbstractTableModel>
#include <QDialog>
#include <QPersistentModelIndex>
#include <QPointer>
#include <QStyledItemDelegate>
#include <QTableView>

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

class QLabel;
class QLineEdit;
class QPushButton;

namespace tarnwick::gui {

// The colour a cell's background takes; an invalid colour for the normal one.
QColor GridCellQColor(core::GridCellColour colour);

// The rows of a grid as a table model: display text, colours, editing of the
// editable columns, sorting and pasting.
class GridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // describe gives the class description for a class cell's text; it is
    // written into descColumn whenever classColumn changes.
    GridModel(std::span<const core::GridColumn> columns, int classColumn, int descColumn,
        std::function<std::string(std::string_view)> describe, QObject* parent = nullptr);

    void setRows(core::GridRows rows);
    const core::GridRows& rows() const { return rows_; }
    std::span<const core::GridColumn> columns() const { return columns_; }
    int classColumn() const { return classColumn_; }

    // The cell's text as bytes.
    const std::string& cell(int row, int column) const;
    // Rewrites a row's description from the given class text.
    void refreshDescription(int row, std::string_view classText);

    // Moves whole rows; persistent indexes (the current cell) follow their row.
    void sortRows(int column, Qt::SortOrder order);

    // Writes cells with their top-left at (row, column); a refusal comes back
    // as a message and changes nothing.
    std::optional<std::string> paste(int row, int column, const std::vector<std::vector<std::string>>& cells);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

private:
    std::span<const core::GridColumn> columns_;
    int classColumn_;
    int descColumn_;
    std::function<std::string(std::string_view)> describe_;
    core::GridRows rows_;
};

// The grid control: reports key releases (also from its in-place editor),
// copies and pastes with the standard keys and can commit an open editor.
class GridView : public QTableView {
    Q_OBJECT
public:
    explicit GridView(QWidget* parent = nullptr);

    // The in-place editor and the cell it edits, while one is open.
    QLineEdit* openEditor() const;
    QModelIndex editingIndex() const { return editingIndex_; }
    // Stores the open editor's text into its cell and closes it.
    void commitOpenEditor();

    // Called by the delegate for each editor it makes.
    void editorCreated(QLineEdit* editor, const QModelIndex& index);

signals:
    void keyReleased();
    void copyRequested();
    void pasteRequested();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QObject> editor_; // the open editor, a QLineEdit until it is destroyed
    QPersistentModelIndex editingIndex_;
};

// In-place editors that refuse characters Windows-1252 cannot hold.
class GridDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit GridDelegate(GridView* view);
    QWidget* createEditor(
        QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    GridView* view_;
};

class TFormGrid : public QDialog {
    Q_OBJECT
public:
    // describe names the class a class cell holds, for the description column.
    TFormGrid(PageContext& context, const char* caption, std::span<const core::GridColumn> columns,
        int classColumn, int descColumn, std::function<std::string(std::string_view)> describe,
        QWidget* parent = nullptr);

    // Shows the window modally and maximised (each opening refills it); true
    // when a save changed records while it was open.
    bool execFor();

    // The column the rows are sorted on (0, slot order, until a title is clicked).
    int sortedColumn() const { return sortedColumn_; }
    Qt::SortOrder sortOrder() const { return sortOrder_; }
    // As a click on a column's title: sorts ascending, or the other way round
    // when that column is already the sorted one.
    void SAGrid1TitleClick(int column);
    // Sorts on a column in the given order.
    void sortByColumn(int column, Qt::SortOrder order);

    GridModel* model() const { return model_; }

    QLineEdit* Edit1 = nullptr;
    QPushButton* BitBtnSave = nullptr;
    QPushButton* BitBtnExit = nullptr;
    GridView* SAGrid1 = nullptr;

public slots:
    void FormShow();
    void BitBtnSaveClick();
    void BitBtnExitClick();
    void Edit1Change();
    void SAGrid1KeyUp();
    // Ctrl+C: the selected cells as tab-separated text.
    void copySelection();
    // Ctrl+V: tab-separated text from the clipboard into the grid from the current cell.
    void pasteClipboard();

protected:
    // The rows as the records hold them, slot s in row s - 1.
    virtual core::GridRows fillRows() const = 0;
    // Stores the rows into records; all or nothing.
    virtual std::optional<core::GridCellError> storeRows(core::TOobData& records, const core::GridRows& rows)
        = 0;
    // The name of a save as an undo step ("Units grid save").
    virtual std::string saveStepText() const = 0;

    void showEvent(QShowEvent* event) override;
    // Escape and the close button: asks first when cells hold unsaved edits.
    void reject() override;
    // Fills from the records, keeping the sort order.
    void fill();

    PageContext& context_;

private:
    GridModel* model_ = nullptr;
    int sortedColumn_ = 0;
    Qt::SortOrder sortOrder_ = Qt::AscendingOrder;
    bool changed_ = false;
    // The cells differ from the records.
    bool hasUnsavedEdits() const;
    // Asks whether to save unsaved cell edits; false to stay open.
    bool mayClose();
};

} // namespace tarnwick::gui
