#pragma once

// What the compare window shows around the differences.

#include "core/data/oobcompare.h"
#include "core/data/pastebuffer.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string>

namespace tarnwick::core {

// "Compare With", "Compare With obat012.obf".
std::string CompareWindowTitle(const std::string& fileName);

// "Table", "Slot", "Name", "Field", "Loaded", "Other file".
std::array<std::string, 6> CompareColumnTitles();

// "No file chosen", "No differences", "1 difference", "12 differences".
std::string CompareSummary(std::size_t differences, bool haveFile);

// The page a row of the table opens; nothing for the file and raw bytes.
std::optional<PasteKind> CompareRecordKind(DiffTable table);

} // namespace tarnwick::core
