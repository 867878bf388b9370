#pragma once

// What the Weapons, Units and Formations pages have in common: a table of
// slots, the current slot, the item list on the left and the page commands the
// main window routes to the page in charge.

#include "core/data/pastebuffer.h"
#include "core/rules/pagerecord.h"
#include "gui/common/pagecontext.h"

#include <QStringList>
#include <QWidget>

#include <functional>
#include <optional>
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
    // The page's commit: checks the page and reads it into the record to store
    // in the current slot; nothing (after the page's own boxes) when it may not
    // be stored. Stores nothing itself: the caller does, then calls committed().
    virtual std::optional<core::PageRecord> commitPage() = 0;
    // After the record was stored: shows it and rebuilds the list at its slot.
    void committed();
    // Blanks the page without touching the record (ClearWeaponPage, ...).
    virtual void clearPage() = 0;

    // Copy, paste and move. The kind of record the page edits.
    virtual core::PasteKind pasteKind() const = 0;
    // The page's text, uncommitted edits included, into its transfer record with
    // the loaded nation as source; false (after an error box naming the field)
    // when a field holds no number, and then the transfer record is untouched.
    virtual bool fillTransfer(core::PasteBuffers& buffers) = 0;
    // The transfer record into the page's fields; nothing is stored.
    virtual void pasteTransfer(const core::PasteBuffers& buffers) = 0;
    // The page's commit check, showing its own findings; true when it may be stored.
    virtual bool checkPage() { return true; }

    QListWidget* itemList() const { return itemList_; }
    // Rebuilds the item list from the table and selects the slot's row.
    void listInit(int slot);
    // Selects the slot's row without showing it.
    void selectSlot(int slot);
    // Current slot := slot; selects its row and shows it.
    void goToSlot(int slot);

    // The fields differ from what the page last showed of the stored record:
    // typing, a paste or an erase that is not committed.
    bool hasUncommittedChanges() const;
    // Asked before a click or key in the item list shows another record over
    // uncommitted typing; false keeps the typing and the slot.
    void setLeaveGuard(std::function<bool()> guard) { leaveGuard_ = std::move(guard); }

signals:
    // A field's text changed, by typing or by the program.
    void fieldsChanged();

protected:
    // Makes the item list (the subclass places it); a click or double click on a
    // row goes to its slot.
    QListWidget* makeItemList(const char* objectName);
    // Remembers the fields as they show the stored record; the pages call it
    // when they have shown the current slot's record.
    void markShown();

    PageContext& context_;

private:
    QListWidget* itemList_ = nullptr;
    bool rebuilding_ = false;
    QStringList fieldTexts() const;
    QStringList shownTexts_;
    bool watchingFields_ = false;
    std::function<bool()> leaveGuard_;
    int pendingSlot_ = 0; // the slot the list asked for while the guard asks
    // The list's way to a slot: through the guard when there is typing.
    void chooseSlot(int slot, bool keepListFocus);
};

} // namespace tarnwick::gui
