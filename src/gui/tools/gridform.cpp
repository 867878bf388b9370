#include "gui/tools/gridform.h"

#include "core/rules/document.h"

#include "gui/common/bytetext.h"
#include "gui/common/dialogs.h"
#include "gui/common/screenplace.h"

#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QScrollBar>
#include <QShowEvent>
#include <QVBoxLayout>

#include <algorithm>
#include <unordered_map>

namespace tarnwick::gui {

namespace {

// The search box shows its text in upper case and takes only Windows-1252 text.
class UpperCaseValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override
    {
        const std::optional<std::string> bytes = ToBytes(input);
        if (!bytes)
            return Invalid;
        input = FromBytes(core::GridUpper(*bytes));
        return Acceptable;
    }
};

const std::string kNoText;

} // namespace

QColor GridCellQColor(core::GridCellColour colour)
{
    if (colour == core::GridCellColour::Grey)
        return QApplication::palette().color(QPalette::Disabled, QPalette::Text);
    if (const std::optional<unsigned> rgb = core::GridColourRgb(colour))
        return QColor::fromRgb(static_cast<QRgb>(*rgb));
    return {};
}

// ---------------------------------------------------------------- GridModel

GridModel::GridModel(std::span<const core::GridColumn> columns, int classColumn, int descColumn,
    std::function<std::string(std::string_view)> describe, QObject* parent)
    : QAbstractTableModel(parent)
    , columns_(columns)
    , classColumn_(classColumn)
    , descColumn_(descColumn)
    , describe_(std::move(describe))
{
}

void GridModel::setRows(core::GridRows rows)
{
    beginResetModel();
    rows_ = std::move(rows);
    endResetModel();
}

const std::string& GridModel::cell(int row, int column) const
{
    if (row < 0 || row >= rowCount() || column < 0)
        return kNoText;
    const auto& cells = rows_[static_cast<std::size_t>(row)].cells;
    return static_cast<std::size_t>(column) < cells.size() ? cells[static_cast<std::size_t>(column)]
                                                           : kNoText;
}

void GridModel::refreshDescription(int row, std::string_view classText)
{
    if (row < 0 || row >= rowCount() || descColumn_ < 0 || !describe_)
        return;
    auto& cells = rows_[static_cast<std::size_t>(row)].cells;
    const auto desc = static_cast<std::size_t>(descColumn_);
    if (desc >= cells.size())
        cells.resize(columns_.size());
    std::string text = describe_(classText);
    if (cells[desc] == text)
        return;
    cells[desc] = std::move(text);
    const QModelIndex changed = index(row, descColumn_);
    emit dataChanged(changed, changed, { Qt::DisplayRole });
}

void GridModel::sortRows(int column, Qt::SortOrder order)
{
    if (column < 0 || column >= columnCount())
        return;
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    std::vector<int> rowSlots;
    rowSlots.reserve(static_cast<std::size_t>(before.size()));
    for (const QModelIndex& i : before)
        rowSlots.push_back(rows_[static_cast<std::size_t>(i.row())].slot);

    core::SortGridRows(
        rows_, column, columns_[static_cast<std::size_t>(column)].numeric, order == Qt::DescendingOrder);

    std::unordered_map<int, int> rowOfSlot;
    rowOfSlot.reserve(rows_.size());
    for (std::size_t r = 0; r < rows_.size(); ++r)
        rowOfSlot.emplace(rows_[r].slot, static_cast<int>(r));
    QModelIndexList after;
    after.reserve(before.size());
    for (qsizetype i = 0; i < before.size(); ++i)
        after.append(index(rowOfSlot.at(rowSlots[static_cast<std::size_t>(i)]), before[i].column()));
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

std::optional<std::string> GridModel::paste(
    int row, int column, const std::vector<std::vector<std::string>>& cells)
{
    if (std::optional<std::string> refused = core::PasteIntoGrid(rows_, columns_, row, column, cells))
        return refused;
    std::size_t width = 0;
    for (const auto& line : cells)
        width = std::max(width, line.size());
    const int lastRow = row + static_cast<int>(cells.size()) - 1;
    const int lastColumn = column + static_cast<int>(width) - 1;
    if (classColumn_ >= column && classColumn_ <= lastColumn)
        for (int r = row; r <= lastRow; ++r)
            refreshDescription(r, cell(r, classColumn_));
    emit dataChanged(index(row, column), index(lastRow, lastColumn), { Qt::DisplayRole, Qt::EditRole });
    return std::nullopt;
}

int GridModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int GridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QVariant GridModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return FromBytes(cell(index.row(), index.column()));
    case Qt::BackgroundRole: {
        const auto& colours = rows_[static_cast<std::size_t>(index.row())].colours;
        const auto c = static_cast<std::size_t>(index.column());
        const QColor colour = c < colours.size() ? GridCellQColor(colours[c]) : QColor();
        return colour.isValid() ? QVariant(colour) : QVariant();
    }
    case Qt::ForegroundRole: {
        // Fixed light backgrounds keep dark text under any theme.
        const auto& colours = rows_[static_cast<std::size_t>(index.row())].colours;
        const auto c = static_cast<std::size_t>(index.column());
        if (c < colours.size() && core::GridColourRgb(colours[c]))
            return QColor(Qt::black);
        return {};
    }
    default:
        return {};
    }
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    if (section < 0 || section >= columnCount())
        return {};
    return QString::fromLatin1(columns_[static_cast<std::size_t>(section)].title);
}

Qt::ItemFlags GridModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (index.isValid() && columns_[static_cast<std::size_t>(index.column())].editable)
        f |= Qt::ItemIsEditable;
    return f;
}

bool GridModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable))
        return false;
    std::optional<std::string> bytes = ToBytes(value.toString());
    if (!bytes)
        return false;
    auto& cells = rows_[static_cast<std::size_t>(index.row())].cells;
    if (cells.size() < columns_.size())
        cells.resize(columns_.size());
    cells[static_cast<std::size_t>(index.column())] = std::move(*bytes);
    emit dataChanged(index, index, { Qt::DisplayRole, Qt::EditRole });
    if (index.column() == classColumn_)
        refreshDescription(index.row(), cell(index.row(), classColumn_));
    return true;
}

// ---------------------------------------------------------------- GridView

GridView::GridView(QWidget* parent)
    : QTableView(parent)
{
    setItemDelegate(new GridDelegate(this));
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
        | QAbstractItemView::AnyKeyPressed);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setWordWrap(false);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    horizontalHeader()->setSectionsClickable(true);
    horizontalHeader()->setSortIndicatorShown(true);
    horizontalHeader()->setHighlightSections(false);
    // A title wider than its column ("Weapon Range" in 70 pixels, or any title
    // beside the sort arrow) goes onto a second line rather than being cut.
    horizontalHeader()->setDefaultAlignment(Qt::Alignment(Qt::AlignCenter | Qt::TextWordWrap));
    horizontalHeader()->setMinimumHeight(2 * fontMetrics().lineSpacing() + 8);
    // A click on a title sorts (TFormGrid); it does not also select the column
    // and move the current cell to it.
    disconnect(horizontalHeader(), SIGNAL(sectionPressed(int)), this, nullptr);
    disconnect(horizontalHeader(), SIGNAL(sectionEntered(int)), this, nullptr);
    // Tab and Shift+Tab leave the grid for the search box and the buttons; the
    // arrow keys move between cells.
    setTabKeyNavigation(false);
}

QLineEdit* GridView::openEditor() const
{
    return state() == QAbstractItemView::EditingState ? qobject_cast<QLineEdit*>(editor_.data()) : nullptr;
}

void GridView::commitOpenEditor()
{
    if (QLineEdit* editor = openEditor()) {
        commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}

void GridView::editorCreated(QLineEdit* editor, const QModelIndex& index)
{
    editor_ = editor;
    editingIndex_ = index;
    editor->installEventFilter(this);
}

void GridView::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Copy)) {
        emit copyRequested();
        return;
    }
    if (event->matches(QKeySequence::Paste)) {
        emit pasteRequested();
        return;
    }
    QTableView::keyPressEvent(event);
}

void GridView::keyReleaseEvent(QKeyEvent* event)
{
    QTableView::keyReleaseEvent(event);
    emit keyReleased();
}

bool GridView::eventFilter(QObject* watched, QEvent* event)
{
    // Only addresses are compared: the filter also sees the editor's last events
    // while it is destroyed, when it is no longer a QLineEdit.
    if (watched == editor_.data() && event->type() == QEvent::KeyRelease)
        emit keyReleased();
    return QTableView::eventFilter(watched, event);
}

GridDelegate::GridDelegate(GridView* view)
    : QStyledItemDelegate(view)
    , view_(view)
{
}

QWidget* GridDelegate::createEditor(
    QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const
{
    auto* editor = new QLineEdit(parent);
    editor->setFrame(false);
    AcceptOnlyCp1252(editor);
    view_->editorCreated(editor, index);
    return editor;
}

// ---------------------------------------------------------------- TFormGrid

TFormGrid::TFormGrid(PageContext& context, const char* caption, std::span<const core::GridColumn> columns,
    int classColumn, int descColumn, std::function<std::string(std::string_view)> describe, QWidget* parent)
    : QDialog(
        parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint)
    , context_(context)
{
    setWindowTitle(QString::fromLatin1(caption));
    setModal(true);
    FitWhenShown(this, QSize(900, 600));

    auto* panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    Edit1 = new QLineEdit(panel);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setValidator(new UpperCaseValidator(Edit1));
    Edit1->setFixedWidth(160);
    BitBtnSave = new QPushButton(QString::fromLatin1(core::kGridSaveCaption), panel);
    BitBtnSave->setObjectName(QStringLiteral("BitBtnSave"));
    BitBtnSave->setAutoDefault(false);
    BitBtnExit = new QPushButton(QString::fromLatin1(core::kGridExitCaption), panel);
    BitBtnExit->setObjectName(QStringLiteral("BitBtnExit"));
    BitBtnExit->setAutoDefault(false);

    auto* top = new QHBoxLayout(panel);
    top->addWidget(new QLabel(QString::fromLatin1(core::kGridSearchCaption), panel));
    top->addWidget(Edit1);
    top->addWidget(new QLabel(QString::fromLatin1(core::kGridSortedColumnCaption), panel));
    top->addStretch();
    top->addWidget(BitBtnSave);
    top->addWidget(BitBtnExit);

    SAGrid1 = new GridView(this);
    SAGrid1->setObjectName(QStringLiteral("SAGrid1"));
    model_ = new GridModel(columns, classColumn, descColumn, std::move(describe), this);
    SAGrid1->setModel(model_);
    for (std::size_t c = 0; c < columns.size(); ++c)
        SAGrid1->setColumnWidth(static_cast<int>(c), columns[c].width);
    SAGrid1->horizontalHeader()->setSortIndicator(sortedColumn_, sortOrder_);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(panel);
    layout->addWidget(SAGrid1, 1);

    connect(BitBtnSave, &QPushButton::clicked, this, &TFormGrid::BitBtnSaveClick);
    connect(BitBtnExit, &QPushButton::clicked, this, &TFormGrid::BitBtnExitClick);
    connect(Edit1, &QLineEdit::textChanged, this, &TFormGrid::Edit1Change);
    connect(SAGrid1, &GridView::keyReleased, this, &TFormGrid::SAGrid1KeyUp);
    connect(SAGrid1, &GridView::copyRequested, this, &TFormGrid::copySelection);
    connect(SAGrid1, &GridView::pasteRequested, this, &TFormGrid::pasteClipboard);
    connect(SAGrid1->horizontalHeader(), &QHeaderView::sectionClicked, this, &TFormGrid::SAGrid1TitleClick);
}

bool TFormGrid::execFor()
{
    changed_ = false;
    setWindowState(windowState() | Qt::WindowMaximized);
    exec();
    return changed_;
}

void TFormGrid::showEvent(QShowEvent* event)
{
    if (!event->spontaneous())
        FormShow();
    QDialog::showEvent(event);
}

void TFormGrid::FormShow()
{
    Edit1->clear();
    fill();
}

void TFormGrid::fill()
{
    // The current cell stays on its slot and column, and the view where it was.
    const QModelIndex current = SAGrid1->currentIndex();
    const int slot = current.isValid() ? model_->rows()[static_cast<std::size_t>(current.row())].slot : -1;
    const int scroll = SAGrid1->verticalScrollBar()->value();
    model_->setRows(fillRows());
    if (sortedColumn_ != 0 || sortOrder_ != Qt::AscendingOrder)
        model_->sortRows(sortedColumn_, sortOrder_);
    const auto& rows = model_->rows();
    const auto found
        = std::find_if(rows.begin(), rows.end(), [slot](const core::GridRow& r) { return r.slot == slot; });
    if (found == rows.end())
        return;
    SAGrid1->setCurrentIndex(model_->index(static_cast<int>(found - rows.begin()), current.column()));
    SAGrid1->verticalScrollBar()->setValue(scroll);
}

void TFormGrid::SAGrid1TitleClick(int column)
{
    const Qt::SortOrder order = column == sortedColumn_ && sortOrder_ == Qt::AscendingOrder
        ? Qt::DescendingOrder
        : Qt::AscendingOrder;
    sortByColumn(column, order);
}

void TFormGrid::sortByColumn(int column, Qt::SortOrder order)
{
    if (column < 0 || column >= model_->columnCount())
        return;
    SAGrid1->commitOpenEditor();
    sortedColumn_ = column;
    sortOrder_ = order;
    model_->sortRows(column, order);
    SAGrid1->horizontalHeader()->setSortIndicator(column, order);
    const QModelIndex current = SAGrid1->currentIndex();
    if (current.isValid())
        SAGrid1->scrollTo(current);
}

void TFormGrid::BitBtnSaveClick()
{
    SAGrid1->commitOpenEditor();
    std::optional<core::GridCellError> error;
    const core::GridRows& rows = model_->rows();
    context_.changeRecords(saveStepText(), [&](core::TOobData& records) {
        error = storeRows(records, rows);
        return !error;
    });
    if (error) {
        // Nothing was stored: the grid keeps the typing and shows the cell.
        const QModelIndex bad = model_->index(error->row, error->column);
        SAGrid1->setCurrentIndex(bad);
        SAGrid1->scrollTo(bad);
        context_.dialogs->message(this, Dialogs::Kind::Error, windowTitle(), FromBytes(error->message));
        return;
    }
    changed_ = true;
    fill();
}

void TFormGrid::BitBtnExitClick()
{
    if (mayClose())
        accept();
}

void TFormGrid::reject()
{
    if (mayClose())
        QDialog::reject();
}

bool TFormGrid::hasUnsavedEdits() const
{
    // The rows may be sorted: each is compared with its slot's row as filled.
    const core::GridRows stored = fillRows();
    for (const core::GridRow& row : model_->rows()) {
        const auto at = static_cast<std::size_t>(row.slot - 1);
        if (at >= stored.size() || stored[at].slot != row.slot || stored[at].cells != row.cells)
            return true;
    }
    return false;
}

bool TFormGrid::mayClose()
{
    if (!hasUnsavedEdits())
        return true;
    const auto answer = context_.dialogs->message(this, Dialogs::Kind::Question, windowTitle(),
        QString::fromLatin1(core::kGridSaveChangesQuestion), Dialogs::Buttons::SaveDiscardCancel);
    if (answer == Dialogs::Answer::Save) {
        BitBtnSaveClick();
        return !hasUnsavedEdits(); // a refused save keeps the window open
    }
    return answer == Dialogs::Answer::Discard;
}

void TFormGrid::Edit1Change()
{
    const std::optional<std::string> search = ToBytes(Edit1->text());
    if (!search)
        return;
    const int row = core::FindGridRow(model_->rows(), sortedColumn_, *search);
    if (row < 0)
        return;
    const QModelIndex current = SAGrid1->currentIndex();
    const QModelIndex target = model_->index(row, current.isValid() ? current.column() : 0);
    SAGrid1->setCurrentIndex(target);
    SAGrid1->scrollTo(target);
}

void TFormGrid::SAGrid1KeyUp()
{
    const QModelIndex current = SAGrid1->currentIndex();
    if (!current.isValid())
        return;
    const int row = current.row();
    // What is being typed counts before the editor is closed.
    QLineEdit* editor = SAGrid1->openEditor();
    const QModelIndex editing = SAGrid1->editingIndex();
    if (editor && editing.row() == row && editing.column() == model_->classColumn()) {
        if (const std::optional<std::string> typed = ToBytes(editor->text()))
            model_->refreshDescription(row, *typed);
        return;
    }
    model_->refreshDescription(row, model_->cell(row, model_->classColumn()));
}

void TFormGrid::copySelection()
{
    const QModelIndexList selected = SAGrid1->selectionModel()->selectedIndexes();
    QModelIndexList cells = selected;
    if (cells.isEmpty() && SAGrid1->currentIndex().isValid())
        cells.append(SAGrid1->currentIndex());
    if (cells.isEmpty())
        return;
    int top = cells.front().row(), bottom = top, left = cells.front().column(), right = left;
    for (const QModelIndex& i : cells) {
        top = std::min(top, i.row());
        bottom = std::max(bottom, i.row());
        left = std::min(left, i.column());
        right = std::max(right, i.column());
    }
    std::vector<std::vector<std::string>> block(static_cast<std::size_t>(bottom - top + 1),
        std::vector<std::string>(static_cast<std::size_t>(right - left + 1)));
    for (const QModelIndex& i : cells)
        block[static_cast<std::size_t>(i.row() - top)][static_cast<std::size_t>(i.column() - left)]
            = model_->cell(i.row(), i.column());
    QApplication::clipboard()->setText(FromBytes(core::ToTabText(block)));
}

void TFormGrid::pasteClipboard()
{
    SAGrid1->commitOpenEditor();
    const std::optional<std::string> text = ToBytes(QApplication::clipboard()->text());
    if (!text) {
        context_.dialogs->message(
            this, Dialogs::Kind::Warning, windowTitle(), QString::fromLatin1(core::kGridPasteCharsetText));
        return;
    }
    const QModelIndex current = SAGrid1->currentIndex();
    const auto cells = core::ParseTabText(*text);
    if (const std::optional<std::string> refused = model_->paste(
            current.isValid() ? current.row() : -1, current.isValid() ? current.column() : -1, cells)) {
        context_.dialogs->message(this, Dialogs::Kind::Warning, windowTitle(), FromBytes(*refused));
        return;
    }
    // The pasted block becomes the selection.
    std::size_t width = 0;
    for (const auto& line : cells)
        width = std::max(width, line.size());
    const QItemSelection pasted(current,
        model_->index(current.row() + static_cast<int>(cells.size()) - 1,
            current.column() + static_cast<int>(width) - 1));
    SAGrid1->selectionModel()->select(pasted, QItemSelectionModel::ClearAndSelect);
}

} // namespace tarnwick::gui
