#pragma once

// A three-way merge of order-of-battle files, field by field over the field
// table, with record identity: two different records in one slot are one
// conflict, never a mix of their fields.

#include "core/data/globals.h"
#include "core/data/oobcompare.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace tarnwick::core {

// Declared only: the field table's header names a member "slots", which Qt code
// including this header cannot see past.
struct OobField;

enum class MergeSide { Ours, Theirs, Both };

// "ours", "theirs", "both".
const char* MergeSideName(MergeSide side);

enum class MergeGranularity {
    Field, // each field of a record merges on its own
    Record, // a record changed on both sides (differently) is one conflict
};

// A value as diff shows it: the text, and what a code table calls it.
struct MergeValue {
    std::string value; // number or text (UTF-8); empty for a byte past a file's end
    std::string code; // the code table's name for it, when there is one
};

// One unit of the merge that either side changed: a field of a record, a whole
// record (a record conflict), the comment, the length, or a byte of no field.
struct MergeItem {
    DiffTable table = DiffTable::Info;
    int slot = 0; // the record's slot; for Raw the byte offset
    std::string field; // the CSV dump's column name; "Comment", "Length"; for Raw what the byte belongs to;
                       // empty for a whole record
    std::string baseName, oursName, theirsName; // the record's name in each file (UTF-8)
    MergeValue base, ours, theirs;
    bool text = false; // values are texts (names, the comment)
    MergeSide taken = MergeSide::Both; // automatic merges: whose change the result has

    // Where the unit sits in the image (offset, size); size 0 for the length.
    std::size_t offset = 0;
    std::size_t size = 0;
    const OobField* layoutField = nullptr; // the field, when it is one

    bool record() const { return field.empty(); }
};

struct MergeOptions {
    MergeGranularity granularity = MergeGranularity::Field;
};

struct MergeResult {
    std::vector<std::uint8_t> bytes; // the merged file; each conflict as picked (OURS unless told)
    std::vector<MergeItem> merged; // changes taken without a conflict, in file order
    std::vector<MergeItem> conflicts; // in file order
};

// Merges three files as read (any length). picks[i] says which side conflict i
// takes (Ours or Theirs); conflicts beyond picks keep OURS. The conflicts and
// their order do not depend on the picks.
MergeResult MergeOobFiles(std::span<const std::uint8_t> base, std::span<const std::uint8_t> ours,
    std::span<const std::uint8_t> theirs, const NameTables& names, const MergeOptions& options = {},
    std::span<const MergeSide> picks = {});

// "unit 12 Scamp Mk2", "file", "byte 19692", and for a record whose name
// differs between the files "unit 12 Scamp Mk2 / Scamp Mk3".
std::string MergeItemPlace(const MergeItem& item);

// "Cost 160 -> ours 180, theirs 170", values named as diff names them.
std::string MergeItemText(const MergeItem& item);

} // namespace tarnwick::core
