#pragma once

// Paste buffers saved to and read from comma-separated text files.

#include "core/data/fileio.h"
#include "core/data/globals.h"
#include "core/data/pastebuffer.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace tarnwick::core {

// The whole buffer of kind as file text. titleDir is the folder named in the title line.
std::string ExportBufferText(const PasteBuffers& buffers, PasteKind kind, const std::string& titleDir,
    int nation, const NameTables& names);

IoResult ExportBuffer(const PasteBuffers& buffers, PasteKind kind, const std::filesystem::path& path,
    const std::string& titleDir, int nation, const NameTables& names, const WriterFactory& factory = {});

// A file of more than this many bytes is refused before it is read.
inline constexpr std::uintmax_t kMaxImportBytes = 16u * 1024u * 1024u;

struct ImportResult {
    // BadLayout: line ends, separators or an encoding the reader does not take (CR only,
    // a header without commas, semicolons or tabs, a byte order mark over other bytes).
    enum class Kind { Ok, CannotOpen, NotPasteFile, BadLayout, BadField, TooLarge } kind = Kind::Ok;
    std::string message; // ready to show; empty on success
    // On success, when the file lacks columns for some fields: which, and that
    // pasted records keep their own ("The file has no columns for ...").
    std::string note;
    std::string reason; // for CannotOpen: the system's reason
    int entriesRead = 0; // rows that filled an entry
    int line = 0; // for BadField: 1-based line and column of the field
    int column = 0;
    bool ok() const { return kind == Kind::Ok; }
};

// What to show for a refused import of path: the message, with the system's
// reason for a file that cannot be opened, and naming the file.
std::string ImportFailureText(const ImportResult& result, const std::string& path);

// Reads file text into the buffer of kind. All or nothing: on any error no entry changes.
// Lines end in CR LF or LF; a row may or may not end in a separator. The header
// line tells the separator (comma, semicolon or tab) and which of the later
// columns the file has; every entry read carries the fields it was given.
// Windows-1252, or UTF-8 or UTF-16 with a byte order mark, or UTF-8 without one.
ImportResult ImportBufferText(
    PasteBuffers& buffers, PasteKind kind, std::string_view text, const std::string& pathForMessages);
ImportResult ImportBuffer(PasteBuffers& buffers, PasteKind kind, const std::filesystem::path& path);

} // namespace tarnwick::core
