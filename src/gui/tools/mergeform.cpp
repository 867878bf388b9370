#include "gui/tools/mergeform.h"

#include "core/data/fileio.h"
#include "core/data/tarnio.h"
#include "core/rules/compareview.h"
#include "core/rules/mergeview.h"
#include "gui/common/columnfit.h"
#include "gui/common/dialogs.h"
#include "gui/common/screenplace.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QHeaderView>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <array>
#include <filesystem>

namespace tarnwick::gui {

namespace {

constexpr int kIndexRole = Qt::UserRole;
constexpr int kFirstValueColumn = 3; // Base, Ours, Theirs
constexpr int kResultColumn = 6;
const QString kTitle = QStringLiteral("Merge With");

QString Text(const std::string& utf8)
{
    return QString::fromStdString(utf8);
}

} // namespace

TMergeForm::TMergeForm(PageContext& context, QWidget* parent)
    : QDialog(parent)
    , context_(context)
{
    setObjectName("TMergeForm");
    setWindowTitle(kTitle);
    FitWhenShown(this, QSize(900, 520));

    LeftLabel = new QLabel(this);
    LeftLabel->setObjectName("LeftLabel");
    auto* keys = new QLabel(
        tr("O or T picks Ours or Theirs for the selected conflict; Ctrl+O or Ctrl+T for all."), this);
    MergeGrid = new QTableWidget(this);
    MergeGrid->setObjectName("MergeGrid");
    QStringList titles;
    for (const std::string& title : core::MergeColumnTitles())
        titles << Text(title);
    MergeGrid->setColumnCount(static_cast<int>(titles.size()));
    MergeGrid->setHorizontalHeaderLabels(titles);
    MergeGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    MergeGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
    MergeGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    MergeGrid->verticalHeader()->setVisible(false);
    MergeGrid->setSortingEnabled(true);
    MergeGrid->setWordWrap(false); // one line a row: a long value is cut short
    MergeGrid->verticalHeader()->setDefaultSectionSize(MergeGrid->fontMetrics().lineSpacing() + 8);
    // The three sides' values stay on screen; the record's name takes what they leave.
    using enum core::ColumnFit;
    columns_ = new ColumnFitter(MergeGrid, { Content, Rest, Content, Value, Value, Value, Content });

    auto* buttons = new QDialogButtonBox(this);
    ApplyButton = buttons->addButton(tr("Apply"), QDialogButtonBox::AcceptRole);
    ApplyButton->setObjectName("ApplyButton");
    buttons->addButton(QDialogButtonBox::Cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(LeftLabel);
    layout->addWidget(MergeGrid);
    layout->addWidget(keys);
    layout->addWidget(buttons);

    connect(ApplyButton, &QPushButton::clicked, this, &TMergeForm::apply);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(MergeGrid, &QTableWidget::itemDoubleClicked, this, &TMergeForm::activate);
    // The table takes letters for its own search, so the pick keys are read before it sees them; in the
    // rest of the window they arrive as keys nothing else wanted. Either way they act without the window
    // being the active one, which a shortcut would need.
    MergeGrid->installEventFilter(this);
}

namespace {

struct PickKey {
    QKeySequence key;
    core::MergeSide side;
    bool all; // every conflict, not just the selected one
};

const std::array<PickKey, 4>& PickKeys()
{
    static const std::array<PickKey, 4> keys { {
        { QKeySequence(Qt::Key_O), core::MergeSide::Ours, false },
        { QKeySequence(Qt::Key_T), core::MergeSide::Theirs, false },
        { QKeySequence(Qt::CTRL | Qt::Key_O), core::MergeSide::Ours, true },
        { QKeySequence(Qt::CTRL | Qt::Key_T), core::MergeSide::Theirs, true },
    } };
    return keys;
}

} // namespace

QList<QKeySequence> TMergeForm::pickKeys()
{
    QList<QKeySequence> keys;
    for (const PickKey& k : PickKeys())
        keys << k.key;
    return keys;
}

bool TMergeForm::pickByKey(const QKeyEvent& key)
{
    const QKeySequence pressed(QKeyCombination(key.modifiers() & ~Qt::KeypadModifier, Qt::Key(key.key())));
    for (const PickKey& k : PickKeys()) {
        if (k.key != pressed)
            continue;
        if (k.all)
            pickAll(k.side);
        else
            pick(MergeGrid->currentRow(), k.side);
        return true;
    }
    return false;
}

bool TMergeForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == MergeGrid && event->type() == QEvent::KeyPress
        && pickByKey(*static_cast<QKeyEvent*>(event)))
        return true;
    return QDialog::eventFilter(watched, event);
}

void TMergeForm::keyPressEvent(QKeyEvent* event)
{
    if (!pickByKey(*event))
        QDialog::keyPressEvent(event);
}

std::optional<QString> TMergeForm::chooseFile(const QString& title, QString& lastDir)
{
    const std::optional<QString> chosen
        = context_.dialogs->openFileName(this, title, "Order of battle files (*.obf *.OBF);;All files (*)",
            lastDir.isEmpty() && context_.currentDir != nullptr ? *context_.currentDir : lastDir);
    if (chosen)
        lastDir = QFileInfo(*chosen).absolutePath();
    return chosen;
}

bool TMergeForm::execFor(std::vector<std::uint8_t> ours, std::uint16_t nation)
{
    const std::optional<QString> theirsPath = chooseFile(tr("Merge With: their file"), lastTheirsDir_);
    if (!theirsPath)
        return false;
    const std::optional<QString> basePath
        = chooseFile(tr("Merge With: the base both started from"), lastBaseDir_);
    if (!basePath)
        return false;
    std::vector<std::uint8_t> files[2];
    const QString* paths[2] = { &*theirsPath, &*basePath };
    for (int i = 0; i < 2; ++i) {
        const core::IoResult read = core::ReadWholeFile(std::filesystem::path(paths[i]->toStdString()),
            files[i], core::kMaxOobFileBytes, "an order-of-battle file");
        if (!read.ok()) {
            context_.dialogs->message(parentWidget(), Dialogs::Kind::Error, kTitle, Text(read.message()));
            return false;
        }
    }
    mergeFiles(*theirsPath, std::move(files[1]), std::move(ours), std::move(files[0]), nation);
    return exec() == QDialog::Accepted;
}

void TMergeForm::mergeFiles(const QString& theirsPath, std::vector<std::uint8_t> base,
    std::vector<std::uint8_t> ours, std::vector<std::uint8_t> theirs, std::uint16_t nation)
{
    base_ = std::move(base);
    ours_ = std::move(ours);
    theirs_ = std::move(theirs);
    nation_ = nation;
    stepName_ = Text(core::MergeStepName(theirsPath.toStdString()));
    setWindowTitle(kTitle + " " + QFileInfo(theirsPath).fileName());
    result_ = core::MergeOobFiles(base_, ours_, theirs_, context_.settings->names);
    picks_.assign(result_.conflicts.size(), std::nullopt);
    fill();
}

void TMergeForm::fill()
{
    MergeGrid->setSortingEnabled(false);
    const std::vector<core::MergeRow> rows = core::MergeRows(result_, picks_);
    MergeGrid->setRowCount(static_cast<int>(rows.size()));
    for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
        const core::MergeRow& row = rows[static_cast<std::size_t>(r)];
        for (int c = 0; c < static_cast<int>(row.cells.size()); ++c) {
            auto* item = new QTableWidgetItem(Text(row.cells[static_cast<std::size_t>(c)]));
            if (c >= kFirstValueColumn && c < kResultColumn)
                item->setToolTip(item->text()); // a long value (the comment) is cut in its column
            item->setData(
                kIndexRole, row.conflict ? static_cast<int>(row.index) : -1 - static_cast<int>(row.index));
            MergeGrid->setItem(r, c, item);
        }
    }
    MergeGrid->setSortingEnabled(true);
    columns_->refit();
    if (!rows.empty())
        MergeGrid->selectRow(0);
    updateLeft();
}

void TMergeForm::updateLeft()
{
    const auto unpicked = static_cast<std::size_t>(std::count(picks_.begin(), picks_.end(), std::nullopt));
    LeftLabel->setText(Text(core::MergeLeftText(picks_.size(), unpicked, result_.merged.size())));
}

int TMergeForm::conflictOf(int row) const
{
    const QTableWidgetItem* item = row >= 0 ? MergeGrid->item(row, 0) : nullptr;
    const int index = item != nullptr ? item->data(kIndexRole).toInt() : -1;
    return index >= 0 ? index : -1;
}

void TMergeForm::pick(int row, core::MergeSide side)
{
    const int conflict = conflictOf(row);
    if (conflict < 0)
        return;
    picks_[static_cast<std::size_t>(conflict)] = side;
    MergeGrid->item(row, kResultColumn)->setText(Text(core::MergePickText(side)));
    updateLeft();
}

void TMergeForm::pickAll(core::MergeSide side)
{
    const bool sorting = MergeGrid->isSortingEnabled();
    MergeGrid->setSortingEnabled(false);
    for (int row = 0; row < MergeGrid->rowCount(); ++row)
        pick(row, side);
    MergeGrid->setSortingEnabled(sorting);
}

void TMergeForm::apply()
{
    const auto unpicked = static_cast<std::size_t>(std::count(picks_.begin(), picks_.end(), std::nullopt));
    const std::string question = core::MergeUnpickedQuestion(unpicked);
    if (!question.empty()
        && context_.dialogs->message(
               this, Dialogs::Kind::Question, kTitle, Text(question), Dialogs::Buttons::YesNo)
            != Dialogs::Answer::Yes)
        return;
    accept();
}

std::unique_ptr<core::TOobData> TMergeForm::mergedRecords() const
{
    return core::MergedRecords(base_, ours_, theirs_, context_.settings->names, picks_, nation_);
}

void TMergeForm::activate(QTableWidgetItem* item)
{
    const int index = item->data(kIndexRole).toInt();
    const core::MergeItem& it = index >= 0 ? result_.conflicts[static_cast<std::size_t>(index)]
                                           : result_.merged[static_cast<std::size_t>(-1 - index)];
    if (const std::optional<core::PasteKind> kind = core::CompareRecordKind(it.table))
        emit recordActivated(*kind, it.slot);
}

} // namespace tarnwick::gui
