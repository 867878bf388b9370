#pragma once

// Where every field of an order-of-battle file sits, by the names of the CSV
// dump: the one table that the compare and the JSON form walk over the bytes.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace tarnwick::core {

enum class OobTable { Weapons, Units, Formations };

enum class FieldKind {
    Name, // kNameLength bytes of text, NUL-padded
    Byte, // 0..255
    Signed, // -128..127
    Word, // 0..65535, low byte first
};

// The code table that names a field's value, if any.
enum class FieldCode { None, Nation, UnitClass, MoveClass, Weapon, WeaponClass, FormType, BuyPage, Member };

// A field of one slot: column base, bytes per slot in the column, offset within the slot.
struct OobField {
    std::string_view name;
    std::size_t base;
    std::size_t width;
    std::size_t offset;
    FieldKind kind;
    FieldCode code = FieldCode::None;

    std::size_t size() const;
    std::size_t at(int slot) const { return base + static_cast<std::size_t>(slot) * width + offset; }
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

} // namespace tarnwick::core
