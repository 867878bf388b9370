#include "gui/pages/infopage.h"

#include "core/data/records.h"
#include "core/rules/sdimain.h"
#include "gui/common/bytetext.h"
#include "gui/common/dialogs.h"
#include "gui/common/textcolour.h"

#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace tarnwick::gui {

InfoPage::InfoPage(PageContext& context, QWidget* parent)
    : QWidget(parent)
    , context_(context)
{
    Label69 = new QLabel("OB file Comments - use for copyright and version info etc.", this);
    Label69->setObjectName("Label69");
    QFont bold = Label69->font();
    bold.setBold(true);
    Label69->setFont(bold);
    SetTextTint(Label69, core::UnitTint::Navy);

    TarnCommentEdit = new QLineEdit(this);
    TarnCommentEdit->setObjectName("TarnCommentEdit");
    TarnCommentEdit->setMaxLength(static_cast<int>(core::kCommentLength));
    AcceptOnlyCp1252(TarnCommentEdit);

    Label70 = new QLabel("(This string appears at the foot of the Encyclopaedia page for the ob)", this);
    Label70->setObjectName("Label70");

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 16);
    layout->addWidget(Label69);
    layout->addWidget(TarnCommentEdit);
    layout->addWidget(Label70);
    layout->addStretch(1);
}

void InfoPage::ShowInfo()
{
    TarnCommentEdit->setText(FromBytes(context_.oob->comment));
    TarnCommentEdit->setFocus();
}

std::optional<std::string> InfoPage::SaveInfo()
{
    // The edit refuses what the code page cannot hold; text that still cannot be
    // held stores nothing and stays for correction.
    const std::optional<std::string> bytes = ToBytes(TarnCommentEdit->text());
    if (!bytes) {
        context_.dialogs->message(this, Dialogs::Kind::Error, QString::fromLatin1(core::kApplicationTitle),
            tr("Comment: the text holds a character that cannot be stored. Nothing was stored."));
        return std::nullopt;
    }
    return bytes->substr(0, core::kCommentLength);
}

} // namespace tarnwick::gui
