#pragma once

// What the compare window shows around the differences.

#include "core/data/oobcompare.h"
#include "core/data/pastebuffer.h"

#include <array>
#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>

namespace tarnwick::core {

// "Compare With", "Compare With obat012.obf".
std::string CompareWindowTitle(const std::string& fileName);

// "Table", "Slot", "Name", "Field", then the two value columns, named by the
// loaded file and the other file: "obat004.obf", "obat012.obf"; with their
// folders where the names alike ("campaign/obat004.obf", "backup/OBAT004.OBF");
// "obat004.obf (loaded)" and "obat004.obf (on disk)" for one file. Without
// paths "Loaded" and "Other file".
std::array<std::string, 6> CompareColumnTitles(
    const std::filesystem::path& loaded = {}, const std::filesystem::path& other = {});

// "No file chosen", "No differences", "1 difference", "12 differences".
std::string CompareSummary(std::size_t differences, bool haveFile);

// The page a row of the table opens; nothing for the file and raw bytes.
std::optional<PasteKind> CompareRecordKind(DiffTable table);

} // namespace tarnwick::core
