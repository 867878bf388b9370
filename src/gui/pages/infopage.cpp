#include "gui/pages/infopage.h"

#include <QFormLayout>
#include <QLineEdit>

namespace tarnwick::gui {

InfoPage::InfoPage(QWidget* parent)
    : QWidget(parent)
{
    auto* layout = new QFormLayout(this);
    TarnCommentEdit = new QLineEdit(this);
    TarnCommentEdit->setObjectName("TarnCommentEdit");
    TarnCommentEdit->setMaxLength(80);
    layout->addRow(tr("Comment"), TarnCommentEdit);
}

} // namespace tarnwick::gui
