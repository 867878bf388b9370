#include "gui/pages/recordpage.h"

#include "core/data/globals.h"
#include "gui/common/bytetext.h"

#include <QLineEdit>
#include <QListWidget>
#include <QTimer>

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
    auto go = [this](QListWidgetItem* item) { chooseSlot(itemList_->row(item) + 1, false); };
    connect(itemList_, &QListWidget::itemClicked, this, go);
    connect(itemList_, &QListWidget::itemDoubleClicked, this, go);
    // The arrow, page and home keys in the list show the slot they land on; the
    // keyboard stays in the list so the user can walk on.
    connect(itemList_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (rebuilding_ || row < 0 || row + 1 == currentSlot() || !itemList_->hasFocus())
            return;
        chooseSlot(row + 1, true);
    });
    return itemList_;
}

void RecordPage::chooseSlot(int slot, bool keepListFocus)
{
    if (pendingSlot_ != 0 || (leaveGuard_ && hasUncommittedChanges())) {
        // The row stays at the current slot while the question is asked, after
        // the list has finished with its click or key.
        rebuilding_ = true;
        selectSlot(currentSlot());
        rebuilding_ = false;
        if (pendingSlot_ == 0)
            QTimer::singleShot(0, this, [this, keepListFocus] {
                const int chosen = pendingSlot_;
                const bool go = leaveGuard_();
                pendingSlot_ = 0;
                if (go)
                    goToSlot(chosen);
                if (keepListFocus)
                    itemList_->setFocus();
            });
        pendingSlot_ = slot;
        return;
    }
    goToSlot(slot);
    if (keepListFocus)
        itemList_->setFocus();
}

void RecordPage::listInit(int slot)
{
    if (!itemList_)
        return;
    itemList_->setUpdatesEnabled(false);
    rebuilding_ = true;
    itemList_->clear();
    QStringList rows;
    rows.reserve(slotCount());
    for (int s = 1; s <= slotCount(); ++s)
        rows << FromBytes(core::ThreeDigits(s) + "  " + slotName(s));
    itemList_->addItems(rows);
    rebuilding_ = false;
    selectSlot(slot);
    itemList_->setUpdatesEnabled(true);
}

void RecordPage::selectSlot(int slot)
{
    if (itemList_ && slot >= 1 && slot <= itemList_->count())
        itemList_->setCurrentRow(slot - 1);
}

void RecordPage::committed()
{
    showCurrent();
    listInit(currentSlot());
}

void RecordPage::goToSlot(int slot)
{
    if (slot < 1 || slot > slotCount())
        return;
    setCurrentSlot(slot);
    selectSlot(slot);
    showCurrent();
}

QStringList RecordPage::fieldTexts() const
{
    QStringList texts;
    for (const QLineEdit* edit : findChildren<QLineEdit*>())
        texts << edit->text();
    return texts;
}

void RecordPage::markShown()
{
    if (!watchingFields_) {
        watchingFields_ = true;
        for (QLineEdit* edit : findChildren<QLineEdit*>())
            connect(edit, &QLineEdit::textChanged, this, &RecordPage::fieldsChanged);
    }
    shownTexts_ = fieldTexts();
    emit fieldsChanged();
}

bool RecordPage::hasUncommittedChanges() const
{
    return watchingFields_ && fieldTexts() != shownTexts_;
}

} // namespace tarnwick::gui
