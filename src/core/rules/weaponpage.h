#pragma once

// What the Weapons page stores: its number fields in the order it fills and
// stores them, their limits and captions, and the commit that takes every
// field or none.

#include "core/data/globals.h"
#include "core/data/records.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

namespace tarnwick::core {

struct OobField;

// An edit of the page and its field of the field table, whose label is the caption.
struct WeaponNumberField {
    const char* control; // objectName of its edit
    const char* caption;
    const OobField* field;

    int value(const TOobWeapon& weapon) const;
};

inline constexpr int kWeaponNumberFields = 12;
// Class, weapon size, warhead size, HE penetration and kill, AP penetration and
// kill, sabot penetration and range, HEAT penetration, range, accuracy.
const std::array<WeaponNumberField, kWeaponNumberFields>& WeaponNumberFields();

// "Weapon 012".
std::string WeaponNumberText(int slot);

// A field whose text is no number; nothing of the page was stored.
// "HE Kill: '4-5' is not a valid integer value. Nothing was stored."
std::string FieldErrorText(const FieldError& error);

// A name holding a character the code page cannot hold (the edit normally refuses it).
inline constexpr const char* kWeaponNameNotStoredText
    = "Weapon Name: the name holds a character that cannot be stored. Nothing was stored.";
inline constexpr const char* kWeaponNameNotHeldText
    = "Weapon Name: the name holds a character that cannot be stored";

// The weapon a page holds: the name trimmed of blanks and control characters at
// both ends and cut to 15 bytes, every number clamped to 0..255. The first
// field that is no number after filtering (a lone minus, a minus after a digit)
// gives its error instead.
std::variant<TOobWeapon, FieldError> WeaponFromPage(
    std::string_view nameBytes, const std::array<std::string, kWeaponNumberFields>& numberTexts);

} // namespace tarnwick::core
