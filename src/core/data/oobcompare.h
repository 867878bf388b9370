#pragma once

// The differences between two order-of-battle files, record by record and field
// by field, named as the CSV dump names them.

#include "core/data/globals.h"
#include "core/data/records.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tarnwick::core {

// Declared only: the field table's header names a member "slots", which Qt code
// including this header cannot see past.
enum class FieldCode;

enum class DiffTable { Weapons, Units, Formations, Info, Raw };

// A file as a load reads it: a short one padded with zeros to a whole image.
class PaddedOobFile {
public:
    explicit PaddedOobFile(std::span<const std::uint8_t> file);
    PaddedOobFile(const PaddedOobFile&) = delete;
    PaddedOobFile& operator=(const PaddedOobFile&) = delete;

    std::span<const std::uint8_t> file() const { return file_; }
    std::span<const std::uint8_t> image() const { return image_; }
    const std::uint8_t* at(std::size_t offset) const { return image_.data() + offset; }
    // The text at offset up to its first NUL, at most width bytes.
    std::string_view text(std::size_t offset, std::size_t width) const;

private:
    std::span<const std::uint8_t> file_;
    std::vector<std::uint8_t> padded_;
    std::span<const std::uint8_t> image_;
};

// "weapons", "units", "formations", "info", "raw".
std::string_view DiffTableName(DiffTable table);
// What one item of the table is called in a line of text: "weapon", "unit",
// "formation", "file" (the comment and the length), "byte".
std::string_view DiffTableNoun(DiffTable table);

// A value as the texts show it: a text in quotes, "(none)" for a byte a file
// lacks, a number with what its code table calls it ("7 (VL-9 LMG)").
std::string ShownValue(const std::string& value, const std::string& code, bool text);

struct OobDifference {
    DiffTable table = DiffTable::Info;
    int slot = 0; // the record's slot; for Raw the byte offset
    std::string name; // the record's name in A (in B when A's is empty), UTF-8
    std::string field; // the CSV dump's column name; for Raw what the byte belongs to
    std::string a, b; // the values as text (names UTF-8); empty for a byte one file lacks
    std::string aName, bName; // what a code table calls each value, when it names it
    bool text = false; // a and b are texts (names, the comment), not numbers

    // "7 (VL-9 LMG)", or just the value when nothing names it.
    std::string aShown() const;
    std::string bShown() const;
    bool operator==(const OobDifference&) const = default;
};

// Compares two files as read (any length): every field of slots 1.. of the three
// tables, the comment and the length ("info"), and every byte that belongs to no
// field ("raw": slot 0 of each column, the unused columns, a name's bytes after its
// end, and bytes past the image), in file order.
std::vector<OobDifference> CompareOobFiles(
    std::span<const std::uint8_t> a, std::span<const std::uint8_t> b, const NameTables& names);

// What a code table calls value in file (a weapon, unit or formation by its name there).
std::string CodeValueName(
    FieldCode code, int value, std::span<const std::uint8_t> file, const NameTables& names);

// The records as a save would write them: the loaded records, edits included.
std::vector<std::uint8_t> OobFileBytes(const TOobData& data, std::uint16_t nation);

// One line per record: "unit 12 Scamp Mk2: Cost 160 -> 180; Weapon 2 7 (VL-9 LMG) -> 9 (M60)".
std::string DifferencesText(const std::vector<OobDifference>& differences);
// Header "table,slot,name,field,a,b" and one CR LF row per difference.
std::string DifferencesCsv(const std::vector<OobDifference>& differences);

} // namespace tarnwick::core
