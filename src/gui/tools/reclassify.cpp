#include "gui/tools/reclassify.h"

#include "core/rules/reclassify.h"
#include "gui/common/screenplace.h"

#include <QLabel>
#include <QShowEvent>

namespace tarnwick::gui {

namespace {

constexpr RenumberDlgConfig kReclassify { core::RenumberKind::UnitClass, "FormReclassify",
    core::kReclassifyCaption, core::kReclassifyFromCaption, core::kReclassifyToCaption,
    core::kReclassifyButtonCaption, core::kReclassifyCloseCaption, core::kReclassifyCloseHint, 0, "Label2",
    "EditFrom", "EditFromdesc", "EditTo", "EditToDesc", "StatusBar1Text", "StatusBar1" };

} // namespace

TFormReclassify::TFormReclassify(PageContext& context, QWidget* parent)
    : TRenumberDlg(kReclassify, context, parent)
    , Label2(heading)
    , EditFrom(fromEdit)
    , EditFromdesc(fromName)
    , EditTo(toEdit)
    , EditToDesc(toName)
    , StatusBar1(statusBar)
{
    Label2->setText(QLatin1String(core::kReclassifyHeading));
    QFont bold = Label2->font();
    bold.setBold(true);
    Label2->setFont(bold);
    FitWhenShown(this, {}, OpenOver::Screen);
    FormShow();
}

bool TFormReclassify::execFor()
{
    // Centred on the desktop rather than on the main window.
    adjustSize();
    CentreOnScreen(this);
    return run();
}

QString TFormReclassify::statusText() const
{
    return progress->text();
}

void TFormReclassify::showEvent(QShowEvent* event)
{
    if (!event->spontaneous())
        FormShow();
    TRenumberDlg::showEvent(event);
}

void TFormReclassify::FormShow()
{
    reset(QLatin1String(core::kReclassifyInitialClass));
}

} // namespace tarnwick::gui
