#pragma once

// The units grid: every unit slot's nation, class, dates and points, for
// checking, with name, class, dates and points saved back.

#include "gui/tools/gridform.h"

namespace tarnwick::gui {

class TFormGridUnits : public TFormGrid {
    Q_OBJECT
public:
    TFormGridUnits(PageContext& context, QWidget* parent = nullptr);

protected:
    core::GridRows fillRows() const override;
    std::optional<core::GridCellError> storeRows(
        core::TOobData& records, const core::GridRows& rows) override;
    std::string saveStepText() const override;
};

} // namespace tarnwick::gui
