#include "gui/tools/gridunits.h"

#include "core/rules/document.h"
#include "core/rules/gridunits.h"

namespace tarnwick::gui {

TFormGridUnits::TFormGridUnits(PageContext& context, QWidget* parent)
    : TFormGrid(
        context, core::kUnitGridCaption, core::kUnitGridColumns, core::kUnitGridClassColumn,
        core::kUnitGridClassDescColumn,
        [&context](std::string_view classCell) {
            return core::UnitGridClassDescription(classCell, context.settings->names);
        },
        parent)
{
    setObjectName(QStringLiteral("FormGridUnits"));
}

core::GridRows TFormGridUnits::fillRows() const
{
    return core::UnitGridRows(*context_.oob, context_.settings->names);
}

std::optional<core::GridCellError> TFormGridUnits::storeRows(
    core::TOobData& records, const core::GridRows& rows)
{
    return core::SaveUnitGrid(records, rows, context_.settings->names);
}

std::string TFormGridUnits::saveStepText() const
{
    return core::GridSaveStepText(core::PasteKind::Unit);
}

} // namespace tarnwick::gui
