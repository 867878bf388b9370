#include "gui/pages/infopage.h"

#include <QFormLayout>
#include <QLineEdit>

namespace tarnwick::gui {

InfoPage::InfoPage(PageContext& context, QWidget* parent)
    : QWidget(parent)
    , context_(context)
{
    auto* layout = new QFormLayout(this);
    TarnCommentEdit = new QLineEdit(this);
    TarnCommentEdit->setObjectName("TarnCommentEdit");
    TarnCommentEdit->setMaxLength(80);
    layout->addRow(tr("Comment"), TarnCommentEdit);
}

void InfoPage::ShowInfo() { }

void InfoPage::SaveInfo() { }

} // namespace tarnwick::gui
