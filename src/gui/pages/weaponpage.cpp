#include "gui/pages/weaponpage.h"

#include <QHBoxLayout>
#include <QListWidget>

namespace tarnwick::gui {

WeaponPage::WeaponPage(PageContext& context, QWidget* parent)
    : RecordPage(context, parent)
{
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(makeItemList("wpnlistbox"));
    layout->addStretch(1);
}

int WeaponPage::slotCount() const
{
    return core::kWeaponSlots;
}
int WeaponPage::currentSlot() const
{
    return context_.state->currentWeapon;
}
void WeaponPage::setCurrentSlot(int slot)
{
    context_.state->currentWeapon = static_cast<std::uint16_t>(slot);
}
std::string WeaponPage::slotName(int slot) const
{
    return context_.oob->weapons[slot].name;
}

} // namespace tarnwick::gui
