#pragma once

// What the merge window decides: its rows, the count of conflicts left, the
// question before unpicked conflicts keep OURS, the undo step's name, and the
// merged records the picks give.

#include "core/data/globals.h"
#include "core/data/oobmerge.h"
#include "core/data/records.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace tarnwick::core {

// "", "Record", "Field", "Base", "Ours", "Theirs", "Result".
std::array<std::string, 7> MergeColumnTitles();

struct MergeRow {
    bool conflict = false;
    std::size_t index = 0; // into the result's conflicts (or merged changes)
    std::array<std::string, 7> cells; // by MergeColumnTitles
};

// Conflicts first, then the changes taken. picks: one per conflict, nothing for unpicked.
std::vector<MergeRow> MergeRows(const MergeResult& result, std::span<const std::optional<MergeSide>> picks);
// The Result cell of a conflict: "Ours", "Theirs", or "Ours (not picked)".
std::string MergePickText(std::optional<MergeSide> pick);

// "No conflicts: 12 changes merge", "3 of 5 conflicts left to pick", "All 5 conflicts picked".
std::string MergeLeftText(std::size_t conflicts, std::size_t unpicked, std::size_t merged);
// Asked before applying with unpicked conflicts; empty when there are none.
std::string MergeUnpickedQuestion(std::size_t unpicked);
// "Merge with obat005 from mod-b": the file's name without extension and its folder's name.
std::string MergeStepName(const std::string& theirsPath);

// The records of the merged file with the picks (unpicked: OURS), read as a load reads them.
std::unique_ptr<TOobData> MergedRecords(std::span<const std::uint8_t> base,
    std::span<const std::uint8_t> ours, std::span<const std::uint8_t> theirs, const NameTables& names,
    std::span<const std::optional<MergeSide>> picks, std::uint16_t nation);
// Puts merged's comment and tables into records; the file image stays.
void TakeMergedRecords(TOobData& records, const TOobData& merged);

} // namespace tarnwick::core
