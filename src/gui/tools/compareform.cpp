#include "gui/tools/compareform.h"

#include "core/data/fileio.h"
#include "core/data/tarnio.h"
#include "core/rules/compareview.h"
#include "gui/common/closekeys.h"
#include "gui/common/columnfit.h"
#include "gui/common/dialogs.h"
#include "gui/common/screenplace.h"

#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

#include <filesystem>

namespace tarnwick::gui {

namespace {

QString Text(const std::string& utf8)
{
    return QString::fromStdString(utf8);
}

// An item that sorts by number when it holds one.
QTableWidgetItem* NumberItem(int value)
{
    auto* item = new QTableWidgetItem;
    item->setData(Qt::DisplayRole, value);
    return item;
}

} // namespace

TCompareForm::TCompareForm(PageContext& context, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , context_(context)
{
    setObjectName("TCompareForm");
    setWindowTitle(Text(core::CompareWindowTitle({})));
    FitWhenShown(this, QSize(820, 480));
    CloseByKeys(this);

    SummaryLabel = new QLabel(this);
    SummaryLabel->setObjectName("SummaryLabel");
    CompareGrid = new QTableWidget(this);
    CompareGrid->setObjectName("CompareGrid");
    CompareGrid->setColumnCount(static_cast<int>(core::CompareColumnTitles().size()));
    setTitles();
    CompareGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    CompareGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
    CompareGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    CompareGrid->verticalHeader()->setVisible(false);
    CompareGrid->setSortingEnabled(true);
    CompareGrid->setWordWrap(false); // one line a row: a long value is cut short
    CompareGrid->verticalHeader()->setDefaultSectionSize(CompareGrid->fontMetrics().lineSpacing() + 8);
    // Both files' values stay on screen; the record's name takes what they leave.
    using enum core::ColumnFit;
    columns_ = new ColumnFitter(CompareGrid, { Content, Content, Rest, Content, Value, Value });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(SummaryLabel);
    layout->addWidget(CompareGrid);

    connect(CompareGrid, &QTableWidget::itemDoubleClicked, this, &TCompareForm::activate);
}

bool TCompareForm::askForFile(const QString& startDir)
{
    const std::optional<QString> chosen = context_.dialogs->openFileName(
        this, "Compare With", "Order of battle files (*.obf *.OBF);;All files (*)", startDir);
    if (!chosen)
        return false;
    std::vector<std::uint8_t> bytes;
    const core::IoResult read = core::ReadWholeFile(std::filesystem::path(chosen->toStdString()), bytes,
        core::kMaxOobFileBytes, "an order-of-battle file");
    if (!read.ok()) {
        context_.dialogs->message(parentWidget(), Dialogs::Kind::Error, "Compare With", Text(read.message()));
        return false;
    }
    compareWith(*chosen, std::move(bytes));
    return true;
}

void TCompareForm::compareWith(const QString& path, std::vector<std::uint8_t> bytes)
{
    path_ = path;
    other_ = std::move(bytes);
    haveFile_ = true;
    setWindowTitle(Text(core::CompareWindowTitle(QFileInfo(path).fileName().toStdString())));
    if (isVisible())
        refresh();
    else
        show(); // the show refreshes
    raise();
    activateWindow();
}

void TCompareForm::setTitles()
{
    std::filesystem::path loaded;
    if (haveFile_ && context_.currentPath != nullptr && context_.state != nullptr)
        loaded = *context_.currentPath / core::OobFileName(context_.state->currentNation);
    const std::filesystem::path other = haveFile_ ? std::filesystem::path(path_.toStdString()) : loaded;
    int column = 0;
    for (const std::string& title : core::CompareColumnTitles(loaded, other))
        CompareGrid->setHorizontalHeaderItem(column++, new QTableWidgetItem(Text(title)));
}

void TCompareForm::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    refresh();
}

void TCompareForm::refresh()
{
    differences_.clear();
    if (haveFile_ && context_.oob != nullptr && context_.state != nullptr && context_.state->fileLoaded) {
        const std::vector<std::uint8_t> mine
            = core::OobFileBytes(*context_.oob, context_.state->currentNation);
        differences_ = core::CompareOobFiles(mine, other_, context_.settings->names);
    }
    SummaryLabel->setText(Text(core::CompareSummary(differences_.size(), haveFile_)));
    setTitles(); // another file may have been opened since

    CompareGrid->setSortingEnabled(false);
    CompareGrid->clearContents();
    CompareGrid->setRowCount(static_cast<int>(differences_.size()));
    int row = 0;
    for (const core::OobDifference& d : differences_) {
        auto* table = new QTableWidgetItem(Text(std::string(core::DiffTableName(d.table))));
        table->setData(Qt::UserRole, static_cast<int>(d.table));
        CompareGrid->setItem(row, 0, table);
        CompareGrid->setItem(row, 1, NumberItem(d.slot));
        CompareGrid->setItem(row, 2, new QTableWidgetItem(Text(d.name)));
        CompareGrid->setItem(row, 3, new QTableWidgetItem(Text(d.field)));
        for (const auto& [column, shown] : { std::pair(4, d.aShown()), std::pair(5, d.bShown()) }) {
            // A long value (the comment) is cut in its column: the tip shows all of it.
            auto* value = new QTableWidgetItem(Text(shown));
            value->setToolTip(value->text());
            CompareGrid->setItem(row, column, value);
        }
        ++row;
    }
    CompareGrid->setSortingEnabled(true);
    columns_->refit();
}

void TCompareForm::activate(QTableWidgetItem* item)
{
    if (item == nullptr)
        return;
    const int row = item->row();
    const QTableWidgetItem* table = CompareGrid->item(row, 0);
    const QTableWidgetItem* slot = CompareGrid->item(row, 1);
    if (table == nullptr || slot == nullptr)
        return;
    const std::optional<core::PasteKind> kind
        = core::CompareRecordKind(static_cast<core::DiffTable>(table->data(Qt::UserRole).toInt()));
    if (kind)
        emit recordActivated(*kind, slot->data(Qt::DisplayRole).toInt());
}

} // namespace tarnwick::gui
