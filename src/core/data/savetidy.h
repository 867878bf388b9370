#pragma once

// What a save writes differently from the records: nameless records of the
// file's nation cleared, names trimmed and cut, dates brought into range. The
// save applies it to the records first, so that after a save the records are
// what the file holds, and says what it changed.

#include "core/data/pastebuffer.h"
#include "core/data/records.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tarnwick::core {

struct TidyChange {
    PasteKind table = PasteKind::Unit;
    int slot = 0; // 0: the comment
    std::string name; // the record's name after the tidy (bytes)
    std::string field; // as the CSV dump names it; "Comment" for the comment
    std::string before;
    std::string after;
    // A nameless record of the file's nation whose nation and dates were emptied.
    bool cleared = false;

    bool operator==(const TidyChange&) const = default;
};

// Makes data exactly what a save of it writes and a load reads back, so that a
// save changes nothing in the records. Returns one entry per value of a named
// record (a cleared record is one entry); the dates of nameless records are
// brought into range without a word, as nothing shows or checks them.
std::vector<TidyChange> TidyForSave(TOobData& data, std::uint16_t nation);

// "unit 5 Warden: 1st Month Avail 13 -> 12", "unit 7: no name, nation 3 and its dates cleared".
std::string TidyChangeText(const TidyChange& change);

} // namespace tarnwick::core
