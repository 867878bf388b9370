#pragma once

// Stores for tests that own their records: a record page's commit stored into records the test owns, as the
// record commands store it in the window's document.

#include "gui/pages/recordpage.h"

#include <functional>
#include <string>

namespace tarnwick::testing {

// A change route straight into records, for pages and tools tested without a document.
inline gui::ChangeRecords ChangeIn(core::TOobData& records)
{
    return [&records](
               const std::string&, const std::function<bool(core::TOobData&)>& fn) { return fn(records); };
}

inline bool CommitPage(gui::RecordPage& page, core::TOobData& records)
{
    const std::optional<core::PageRecord> record = page.commitPage();
    if (!record || !core::StoreRecord(records, page.currentSlot(), *record))
        return false;
    page.committed();
    return true;
}

} // namespace tarnwick::testing
