#pragma once

// The Units page of the main window (sheet "Units"). Placeholder: lists the slots.

#include "gui/pages/recordpage.h"

class QLineEdit;

namespace tarnwick::gui {

class UnitPage : public RecordPage {
    Q_OBJECT
public:
    explicit UnitPage(PageContext& context, QWidget* parent = nullptr);

    int slotCount() const override;
    int currentSlot() const override;
    void setCurrentSlot(int slot) override;
    std::string slotName(int slot) const override;
    void showCurrent() override { }
    bool commitPage() override { return false; }
    void clearPage() override { }

    QLineEdit* UnitnameEdit = nullptr;
};

} // namespace tarnwick::gui
