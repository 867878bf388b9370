#include "gui/pages/unitpage.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>

namespace tarnwick::gui {

UnitPage::UnitPage(PageContext& context, QWidget* parent)
    : RecordPage(context, parent)
{
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(makeItemList("UnitListBox"));
    UnitnameEdit = new QLineEdit(this);
    UnitnameEdit->setObjectName("UnitnameEdit");
    UnitnameEdit->setMaxLength(15);
    layout->addWidget(UnitnameEdit, 0, Qt::AlignTop);
    layout->addStretch(1);
}

int UnitPage::slotCount() const
{
    return core::kUnitSlots;
}
int UnitPage::currentSlot() const
{
    return context_.state->currentUnit;
}
void UnitPage::setCurrentSlot(int slot)
{
    context_.state->currentUnit = static_cast<std::uint16_t>(slot);
}
std::string UnitPage::slotName(int slot) const
{
    return context_.oob->units[slot].name;
}

} // namespace tarnwick::gui
