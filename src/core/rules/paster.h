#pragma once

// What the copy/paste dialog shows: its entry rows, its status line, and the
// names and filters of its export and import file dialogs.

#include "core/data/globals.h"
#include "core/data/pastebuffer.h"

#include <string>
#include <string_view>

namespace tarnwick::core {

enum class PasteMode { Copy, Paste };

// "003: M1A1 Abrams    [05]  Name" for a used entry, "003: *Unused*         [..]  ..." for a free one.
std::string PasteEntryRow(
    int entry, bool used, std::string_view name, int sourceNation, const NameTables& names);

// Every row of a buffer, entry 1 first.
template <class Record>
std::string PasteEntryRow(int entry, const TPasteEntry<Record>& e, const NameTables& names)
{
    return PasteEntryRow(entry, e.used, e.record.name, e.sourceNation, names);
}

// "Select weapon buffer  to COPY to" and the like.
std::string PasteStatusText(PasteKind kind, PasteMode mode);

// "TarnPASTE07unit.csv": the name the export proposes for nation's buffer.
std::string ExportProposedName(PasteKind kind, int nation);
inline constexpr const char* kExportTitle = "Select a csv File";
// As the file dialog takes it.
inline constexpr const char* kExportFilter = "CSV Files (*.csv)";

// "Select UNIT csv File" and the filter of the kind's own files and CSV files,
// then CSV and all files.
std::string ImportTitle(PasteKind kind);
std::string ImportFilter(PasteKind kind);

// "Read 32 entries from PATH", then what the file lacks when the import says so
// ("The file has no columns for ...").
std::string ImportStatusText(int entriesRead, std::string_view path, std::string_view note);

} // namespace tarnwick::core
