#pragma once

// What the record pages share with the main window: the records, the current
// slots, the settings, the dialogs seam, the pick list and the status bar.

#include "core/data/records.h"
#include "core/data/settings.h"
#include "core/rules/picker.h"

#include <QString>

#include <filesystem>
#include <functional>
#include <string>

namespace tarnwick::core {
class IconFrameTable;
}

namespace tarnwick::gui {

class Dialogs;
class TLBMBrowseForm;

// Chooses a coded value or a slot. TPickForm is the real one; tests may answer
// from a script.
class PickList {
public:
    virtual ~PickList() = default;
    // The chosen number; 0 for an invalid formation choice; kPickCancelled on cancel.
    virtual int ShowPickList(core::PickMode mode) = 0;
};

// Runs a change to the records as one undo step named stepText (UTF-8, "Units
// grid save"); the change gets the only writable records there are and answers
// whether it stored anything. False when it did not (or was not run).
using ChangeRecords = std::function<bool(
    const std::string& stepText, const std::function<bool(core::TOobData& records)>& change)>;

// Owned by the main window (or by a test); the pages keep a reference.
struct PageContext {
    // The records, to read: every write goes through change.
    const core::TOobData* oob = nullptr;
    core::CurrentState* state = nullptr;
    const core::Settings* settings = nullptr;
    Dialogs* dialogs = nullptr;
    PickList* picker = nullptr;
    // The working folder, where the open file came from (pictures and icons are
    // found beside it).
    const QString* currentDir = nullptr;
    // Writes the main window's status bar.
    std::function<void(const QString&)> setStatus;
    // The working folder as the file system's bytes, for opening files in it.
    const std::filesystem::path* currentPath = nullptr;
    // The palette index the icons leave out (0..255); null: the usual 240.
    const int* transparentColour = nullptr;
    // Which icon frames show each icon number in the working folder; null: the
    // table the program carries.
    const core::IconFrameTable* iconFrames = nullptr;
    // The picture browser the unit page's picture button opens; null: none.
    TLBMBrowseForm* lbmBrowser = nullptr;
    // The one way to change the records. Null: nothing can be changed.
    ChangeRecords change = nullptr;

    bool changeRecords(
        const std::string& stepText, const std::function<bool(core::TOobData& records)>& fn) const
    {
        return change ? change(stepText, fn) : false;
    }
};

} // namespace tarnwick::gui
