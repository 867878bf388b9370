#pragma once

// Portable patches: the fields one file changed against its base, kept as a small
// JSON text, and applied field by field to another file (a newer base, say)
// wherever the touched fields still hold the base's values.

#include "core/data/globals.h"
#include "core/data/oobcompare.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tarnwick::core {

// Declared only: the field table's header names a member "slots", which Qt code
// including this header cannot see past.
struct OobField;

// A patch text larger than this is refused before it is parsed.
inline constexpr std::size_t kMaxPatchBytes = 16 * 1024 * 1024;

// One side of a change. A number (a field, the length, a byte), or the bytes of a
// text field (a name, the comment); absent for a byte past a file's end.
struct PatchValue {
    bool absent = false;
    int number = 0;
    std::string bytes; // texts: every byte of the field, Windows-1252
    bool operator==(const PatchValue&) const = default;
};

struct PatchChange {
    DiffTable table = DiffTable::Info; // a field of a record, Info (Comment, Length) or Raw
    int slot = 0; // the record's slot; for Raw the byte offset
    std::string name; // the record's name (UTF-8); says what the change was made on
    std::string field; // the CSV dump's column name, "Comment", "Length"; for Raw what the byte belonged to
    PatchValue base, now;
    const OobField* layoutField = nullptr; // for a field of a record
};

struct OobPatch {
    std::vector<PatchChange> changes; // in file order
};

// The changes that turn base into modded, every file as read (any length).
OobPatch MakePatch(
    std::span<const std::uint8_t> base, std::span<const std::uint8_t> modded, const NameTables& names);

// The patch as JSON: "format" and "version" first, then one change per line.
std::string PatchToJson(const OobPatch& patch);

struct PatchReadResult {
    bool ok = false;
    OobPatch patch;
    std::string error; // "change 3: field \"Cots\" is not a field of units"
};

// Reads what PatchToJson writes. Refuses an unknown or missing key, a field the
// table does not have, a slot or value out of range, and a unit changed twice.
PatchReadResult PatchFromJson(std::string_view text);

enum class PatchPrefer {
    None, // a conflict refuses the patch
    Patch, // a conflict takes the patch's new value
    File, // a conflict keeps the file's value
};

enum class PatchOutcome { Applied, AlreadyApplied, Conflict };

struct PatchItem {
    std::size_t change = 0; // index into the patch's changes
    PatchOutcome outcome = PatchOutcome::Applied;
    PatchValue found; // the file's value before
};

struct PatchApplyResult {
    std::vector<std::uint8_t> bytes; // the file with the patch applied (conflicts as preferred)
    std::vector<PatchItem> items; // one per change, in the patch's order
    std::size_t applied = 0, already = 0, conflicts = 0;
};

// Applies patch to file field by field: a unit still at the base value takes the
// new one, one already at the new value is counted as applied, any other value is
// a conflict. reverse swaps base and new, undoing the patch.
PatchApplyResult ApplyPatch(
    std::span<const std::uint8_t> file, const OobPatch& patch, bool reverse, PatchPrefer prefer);

// "unit 12 Scamp Mk2: Cost is 170; the patch changes 160 -> 180", one line per conflict.
std::string PatchConflictsText(const OobPatch& patch, const PatchApplyResult& result, bool reverse);

} // namespace tarnwick::core
