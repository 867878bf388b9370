#pragma once

// Every field of an order-of-battle file, by the names of the CSV dump: where
// it sits in the file, which record member holds it, the range a page or grid
// accepts, what the encoder does to it, the page's caption and the grid column.
// The codec, the compare, the JSON form and the grids all walk this one table.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <string_view>

namespace tarnwick::core {

enum class OobTable { Weapons, Units, Formations };

enum class FieldKind {
    Name, // kNameLength bytes of text, NUL-padded; a std::string in the record
    Byte, // 0..255; std::uint8_t
    Signed, // -128..127; std::int8_t
    Word, // 0..65535, low byte first; std::uint16_t
};

// The code table that names a field's value, if any.
enum class FieldCode { None, Nation, UnitClass, MoveClass, Weapon, WeaponClass, FormType, BuyPage, Member };

// What the encoder writes for a date; the record keeps its own value.
enum class SaveClamp {
    None,
    Year, // 0 becomes 1, above 120 becomes 120
    Month, // 0 becomes 1, above 12 becomes 12
    MonthOrDecember, // 0 becomes 12, above 12 becomes 12 (a formation's last month)
};

// Both ends included.
struct FieldRange {
    int low;
    int high;
    bool operator==(const FieldRange&) const = default;
};

inline constexpr std::size_t kNoMember = static_cast<std::size_t>(-1);

// A field of one slot: column base, bytes per slot in the column, offset within the slot.
struct OobField {
    std::string_view name;
    std::size_t base;
    std::size_t width;
    std::size_t offset;
    FieldKind kind;
    FieldCode code = FieldCode::None;
    // Bytes from the start of the table's record (TOobWeapon, TOobUnit or
    // TOobFormation) to the member that holds the value.
    std::size_t member = kNoMember;
    // What a page commit or a grid save accepts; {0, -1} for the kind's whole
    // range. A page limit beyond the width stores the largest value the field holds.
    FieldRange limits = { 0, -1 };
    SaveClamp clamp = SaveClamp::None;
    // The page's caption, as its messages name the field; a string literal, so
    // label.data() serves where a C string is wanted.
    std::string_view label = {};
    int gridColumn = -1; // the column the table's grid shows it in, -1 for none

    std::size_t size() const;
    std::size_t at(int slot) const { return base + static_cast<std::size_t>(slot) * width + offset; }
    // The values the file can hold.
    FieldRange stored() const;
    // limits, or stored() when the field sets none.
    FieldRange range() const;
};

// A column of a table: slot s holds bytes base + s*width .. base + s*width + width - 1.
struct OobColumn {
    std::size_t base;
    std::size_t width;
};

struct OobTableLayout {
    OobTable table;
    std::string_view key; // "weapons"
    std::string_view noun; // "weapon"
    int slots; // slot 0 included
    std::span<const OobField> fields; // in file order
    std::span<const OobColumn> columns; // every column of the table, in file order
    std::span<const OobColumn> unused; // the columns no field uses, in file order
    // Bytes the records carry through a load and a save without showing them
    // anywhere; the dump, the compare and the JSON form count them as unused.
    std::span<const OobField> carried;
};

// Weapons, units, formations: the order they sit in the file.
std::span<const OobTableLayout> OobLayouts();
const OobTableLayout& OobLayoutOf(OobTable table);

// The field value at slot of image (kOobFileSize bytes).
int ReadField(const OobField& field, int slot, std::span<const std::uint8_t> image);
// Writes value (in the field's range) into image.
void WriteField(const OobField& field, int slot, int value, std::span<std::uint8_t> image);

// Where an offset of the image sits: a field of a slot, or no field (field null).
struct OobPlace {
    const OobTableLayout* layout = nullptr; // null for the comment
    int slot = 0;
    const OobField* field = nullptr;
};
OobPlace PlaceOf(std::size_t offset);

// The field shown in a column of the table's grid, or null.
const OobField* GridField(OobTable table, int column);

// A number field's value in a record of the field's table.
template <class Record> int RecordValue(const OobField& field, const Record& record)
{
    const auto* p = reinterpret_cast<const unsigned char*>(&record) + field.member;
    switch (field.kind) {
    case FieldKind::Word: {
        std::uint16_t value;
        std::memcpy(&value, p, sizeof value);
        return value;
    }
    case FieldKind::Signed:
        return static_cast<std::int8_t>(*p);
    case FieldKind::Byte:
    case FieldKind::Name:
        break;
    }
    return *p;
}

// Stores value into a number field of a record; a value beyond the field's
// stored() range keeps its low bits, as a cast would.
template <class Record> void SetRecordValue(const OobField& field, Record& record, int value)
{
    auto* p = reinterpret_cast<unsigned char*>(&record) + field.member;
    if (field.kind == FieldKind::Word) {
        const auto word = static_cast<std::uint16_t>(value);
        std::memcpy(p, &word, sizeof word);
    } else {
        *p = static_cast<unsigned char>(value);
    }
}

// The value clamped into a number field's stored() range, the way a page
// stores a limit beyond the field's width.
int StoredValue(const OobField& field, int value);

} // namespace tarnwick::core
