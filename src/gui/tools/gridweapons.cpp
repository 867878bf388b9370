#include "gui/tools/gridweapons.h"

#include "core/rules/document.h"
#include "core/rules/gridweapons.h"

namespace tarnwick::gui {

TFormGridWpns::TFormGridWpns(PageContext& context, QWidget* parent)
    : TFormGrid(
        context, core::kWeaponGridCaption, core::kWeaponGridColumns, core::kWeaponGridClassColumn,
        core::kWeaponGridClassDescColumn,
        [](std::string_view classCell) { return core::WeaponGridClassDescription(classCell); }, parent)
{
    setObjectName(QStringLiteral("FormGridWpns"));
}

core::GridRows TFormGridWpns::fillRows() const
{
    return core::WeaponGridRows(*context_.oob);
}

std::optional<core::GridCellError> TFormGridWpns::storeRows(
    core::TOobData& records, const core::GridRows& rows)
{
    return core::SaveWeaponGrid(records, rows);
}

std::string TFormGridWpns::saveStepText() const
{
    return core::GridSaveStepText(core::PasteKind::Weapon);
}

} // namespace tarnwick::gui
