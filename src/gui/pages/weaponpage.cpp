#include "gui/pages/weaponpage.h"

namespace tarnwick::gui {

WeaponPage::WeaponPage(QWidget* parent)
    : QWidget(parent)
{
}

} // namespace tarnwick::gui
