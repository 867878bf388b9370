#include "gui/pages/formationpage.h"

namespace tarnwick::gui {

FormationPage::FormationPage(QWidget* parent)
    : QWidget(parent)
{
}

} // namespace tarnwick::gui
