#pragma once

// A record page's commit stored into records the test owns, as the record
// commands store it in the window's document.

#include "gui/pages/recordpage.h"

namespace tarnwick::testing {

inline bool CommitPage(gui::RecordPage& page, core::TOobData& records)
{
    const std::optional<core::PageRecord> record = page.commitPage();
    if (!record || !core::StoreRecord(records, page.currentSlot(), *record))
        return false;
    page.committed();
    return true;
}

} // namespace tarnwick::testing
