#pragma once

// The three-file CSV report of a loaded file (units, weapons, formations).

#include "core/data/fileio.h"
#include "core/data/globals.h"
#include "core/data/records.h"

#include <array>
#include <filesystem>
#include <string>
#include <string_view>

namespace tarnwick::core {

// Appends text as a cell: in double quotes, its quotes doubled, when it holds
// a comma, a quote or a line break (as spreadsheets read cells); as it is otherwise.
void AppendCsvCell(std::string& out, std::string_view text);

// obatDUMP07unit.csv, obatDUMP07wpns.csv, obatDUMP07fmns.csv for nation 7.
std::array<std::string, 3> CsvDumpFileNames(int nation);

// Each file built in memory: header line and one CR LF line per slot.
std::string BuildUnitCsv(const TOobData& data, int nation, const NameTables& names);
std::string BuildWeaponCsv(const TOobData& data, int nation, const NameTables& names);
std::string BuildFormationCsv(const TOobData& data, int nation, const NameTables& names);

// Writes the three files into dir (each atomically); a file that fails does not stop
// the others. Results are in the order units, weapons, formations.
std::array<IoResult, 3> DumpCsv(const TOobData& data, int nation, const NameTables& names,
    const std::filesystem::path& dir, const WriterFactory& factory = {});

} // namespace tarnwick::core
