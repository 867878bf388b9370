#pragma once

// The weapons grid: every weapon slot's main values, typed over and saved back.

#include "gui/tools/gridform.h"

namespace tarnwick::gui {

class TFormGridWpns : public TFormGrid {
    Q_OBJECT
public:
    TFormGridWpns(PageContext& context, QWidget* parent = nullptr);

protected:
    core::GridRows fillRows() const override;
    std::optional<core::GridCellError> storeRows(
        core::TOobData& records, const core::GridRows& rows) override;
    std::string saveStepText() const override;
};

} // namespace tarnwick::gui
