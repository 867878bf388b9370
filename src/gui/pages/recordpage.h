#pragma once

// What the Weapons, Units and Formations pages have in common: a table of
// slots, the current slot, the item list on the left and the page commands the
// main window routes to the page in charge.

#include "gui/pages/pagecontext.h"

#include <QWidget>

#include <string>

class QListWidget;

namespace tarnwick::gui {

class RecordPage : public QWidget {
    Q_OBJECT
public:
    RecordPage(PageContext& context, QWidget* parent = nullptr);

    // The table: slots 1..slotCount().
    virtual int slotCount() const = 0;
    virtual int currentSlot() const = 0;
    virtual void setCurrentSlot(int slot) = 0;
    // The stored name of a slot, as its list row shows it (bytes).
    virtual std::string slotName(int slot) const = 0;

    // Shows the current slot's record (ShowWeapon, ShowUnit, ShowFormation).
    virtual void showCurrent() = 0;
    // The page's commit; true when the record was stored.
    virtual bool commitPage() = 0;
    // Blanks the page without touching the record (ClearWeaponPage, ...).
    virtual void clearPage() = 0;

    QListWidget* itemList() const { return itemList_; }
    // Rebuilds the item list from the table and selects the slot's row.
    void listInit(int slot);
    // Selects the slot's row without showing it.
    void selectSlot(int slot);
    // Current slot := slot; selects its row and shows it.
    void goToSlot(int slot);

protected:
    // Makes the item list (the subclass places it); a click or double click on a
    // row goes to its slot.
    QListWidget* makeItemList(const char* objectName);

    PageContext& context_;

private:
    QListWidget* itemList_ = nullptr;
};

} // namespace tarnwick::gui
