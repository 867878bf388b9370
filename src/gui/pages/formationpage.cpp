#include "gui/pages/formationpage.h"

#include <QHBoxLayout>
#include <QListWidget>

namespace tarnwick::gui {

FormationPage::FormationPage(PageContext& context, QWidget* parent)
    : RecordPage(context, parent)
{
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(makeItemList("FormationListBox"));
    layout->addStretch(1);
}

int FormationPage::slotCount() const
{
    return core::kFormationSlots;
}
int FormationPage::currentSlot() const
{
    return context_.state->currentFormation;
}
void FormationPage::setCurrentSlot(int slot)
{
    context_.state->currentFormation = static_cast<std::uint16_t>(slot);
}
std::string FormationPage::slotName(int slot) const
{
    return context_.oob->formations[slot].name;
}

} // namespace tarnwick::gui
