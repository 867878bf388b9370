#include "gui/pages/unitpage.h"

#include <QFormLayout>
#include <QLineEdit>

namespace tarnwick::gui {

UnitPage::UnitPage(QWidget* parent)
    : QWidget(parent)
{
    auto* layout = new QFormLayout(this);
    UnitnameEdit = new QLineEdit(this);
    UnitnameEdit->setObjectName("UnitnameEdit");
    UnitnameEdit->setMaxLength(15);
    layout->addRow(tr("Name"), UnitnameEdit);
}

} // namespace tarnwick::gui
