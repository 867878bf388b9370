#pragma once

// The Weapons page of the main window (sheet "Weapons"). Placeholder: lists the slots.

#include "gui/pages/recordpage.h"

namespace tarnwick::gui {

class WeaponPage : public RecordPage {
    Q_OBJECT
public:
    explicit WeaponPage(PageContext& context, QWidget* parent = nullptr);

    int slotCount() const override;
    int currentSlot() const override;
    void setCurrentSlot(int slot) override;
    std::string slotName(int slot) const override;
    void showCurrent() override { }
    bool commitPage() override { return false; }
    void clearPage() override { }
};

} // namespace tarnwick::gui
