#include "gui/pages/recordpage.h"

#include "core/data/globals.h"
#include "gui/pages/bytetext.h"

#include <QListWidget>

namespace tarnwick::gui {

RecordPage::RecordPage(PageContext& context, QWidget* parent)
    : QWidget(parent)
    , context_(context)
{
}

QListWidget* RecordPage::makeItemList(const char* objectName)
{
    itemList_ = new QListWidget(this);
    itemList_->setObjectName(QString::fromLatin1(objectName));
    itemList_->setUniformItemSizes(true);
    itemList_->setSelectionMode(QAbstractItemView::SingleSelection);
    auto go = [this](QListWidgetItem* item) { goToSlot(itemList_->row(item) + 1); };
    connect(itemList_, &QListWidget::itemClicked, this, go);
    connect(itemList_, &QListWidget::itemDoubleClicked, this, go);
    return itemList_;
}

void RecordPage::listInit(int slot)
{
    if (!itemList_)
        return;
    itemList_->setUpdatesEnabled(false);
    itemList_->clear();
    QStringList rows;
    rows.reserve(slotCount());
    for (int s = 1; s <= slotCount(); ++s)
        rows << FromBytes(core::ThreeDigits(s) + "  " + slotName(s));
    itemList_->addItems(rows);
    selectSlot(slot);
    itemList_->setUpdatesEnabled(true);
}

void RecordPage::selectSlot(int slot)
{
    if (itemList_ && slot >= 1 && slot <= itemList_->count())
        itemList_->setCurrentRow(slot - 1);
}

void RecordPage::goToSlot(int slot)
{
    if (slot < 1 || slot > slotCount())
        return;
    setCurrentSlot(slot);
    selectSlot(slot);
    showCurrent();
}

} // namespace tarnwick::gui
