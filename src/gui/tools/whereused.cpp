#include "gui/tools/whereused.h"

#include "core/rules/whereused.h"
#include "gui/common/bytetext.h"
#include "gui/common/closekeys.h"
#include "gui/common/screenplace.h"
#include "gui/tools/recordtable.h"

#include <QLabel>
#include <QVBoxLayout>

namespace tarnwick::gui {

TWhereUsedForm::TWhereUsedForm(QWidget* parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName("WhereUsedForm");
    setWindowTitle("Where Used");
    WhereUsedItem = new QLabel(this);
    WhereUsedItem->setObjectName("WhereUsedItem");
    WhereUsedTable = new RecordTable({ "Table", "Slot", "Name", "Field" }, this);
    WhereUsedTable->setObjectName("WhereUsedTable");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(WhereUsedItem);
    layout->addWidget(WhereUsedTable, 1);
    connect(WhereUsedTable, &RecordTable::openRecord, this, &TWhereUsedForm::openRecord);
    FitWhenShown(this, QSize(420, 300));
    CloseByKeys(this);
}

void TWhereUsedForm::setItem(const core::TOobData* data, core::PasteKind kind, int slot)
{
    data_ = data;
    kind_ = kind;
    slot_ = slot;
}

void TWhereUsedForm::refresh()
{
    if (!isVisible())
        return; // shown again, it looks again
    if (data_ == nullptr) {
        WhereUsedTable->setRows({});
        WhereUsedItem->clear();
        return;
    }
    const std::vector<core::RecordUse> uses = core::WhereUsed(*data_, kind_, slot_);
    std::vector<RecordTable::Row> rows;
    rows.reserve(uses.size());
    for (const core::RecordUse& use : uses)
        rows.push_back({ use.table, use.slot,
            { QString::fromLatin1(core::TableName(use.table)), use.slot,
                FromBytes(core::RecordName(*data_, use.table, use.slot)),
                QString::fromStdString(core::UseFieldText(use)) } });
    WhereUsedTable->setRows(rows);
    WhereUsedItem->setText(FromBytes(core::WhereUsedHeading(*data_, kind_, slot_, uses)));
}

} // namespace tarnwick::gui
