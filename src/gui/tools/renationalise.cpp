#include "gui/tools/renationalise.h"

#include "core/rules/renationalise.h"
#include "gui/common/bytetext.h"
#include "gui/common/screenplace.h"

#include <QLabel>
#include <QLineEdit>

namespace tarnwick::gui {

namespace {

constexpr RenumberDlgConfig kRenat { core::RenumberKind::Nation, "RenatDlg", core::kRenatCaption,
    "Change any", "To", core::kRenatRenumberCaption, core::kRenatCloseCaption, core::kRenatCloseHint,
    core::kRenatEditLength, "Label1", "RenatFromEdit", "Label4", "RenatToEdit", "Label5", "Label6", nullptr };

} // namespace

TRenatDlg::TRenatDlg(PageContext& context, QWidget* parent)
    : TRenumberDlg(kRenat, context, parent)
    , Label1(heading)
    , RenatFromEdit(fromEdit)
    , Label4(fromName)
    , RenatToEdit(toEdit)
    , Label5(toName)
    , Label6(progress)
{
    FitWhenShown(this);
}

void TRenatDlg::init(std::uint8_t nation)
{
    Label1->setText(FromBytes(core::RenatCurrentTarnText(nation, context_.settings->names)));
    reset(QString::fromStdString(core::RenatInitialEditText(nation)));
}

bool TRenatDlg::execFor(std::uint8_t nation)
{
    init(nation);
    return run();
}

} // namespace tarnwick::gui
