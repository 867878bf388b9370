#pragma once

// What the Units page decides: the unit-class categories, the texts and colours
// of its live labels, reading the page's texts back into a record, and the
// commit check of a unit's weapons. Texts come in as the edits hold them
// (digits are plain ASCII, names are Windows-1252 bytes).

#include "core/data/records.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarnwick::core {

// The colours of the Units page's labels and edit texts. Normal is the system's
// window-text colour (edits); Navy is the normal label colour.
enum class UnitTint { Normal, Navy, Maroon, Blue, Red };

// The category 1..7 of a unit class; a class outside 0..255 counts as 1.
int UnitClassCategory(int unitClass);

// A text with blanks and control characters trimmed, read as an integer; nothing
// when it is not one.
std::optional<int> TrimmedInt(std::string_view text);

// "Unit 007".
std::string UnitNumberText(int slot);
// The slot number turns red for an empty slot (blank name) of the loaded nation.
UnitTint UnitNumberTint(std::string_view nameText, int recordNation, int currentNation);

// The nation edit and its label: normal for the loaded nation and for an empty
// unit (blank name, nation "0", class "0"); maroon for any other nation.
struct NationLook {
    UnitTint edit;
    UnitTint label;
};
NationLook NationLookFor(
    std::string_view nameText, std::string_view nationText, std::string_view classText, int currentNation);

// An edit, its caption and (for EW) the description beside it.
struct FieldLook {
    UnitTint edit = UnitTint::Normal;
    UnitTint caption = UnitTint::Navy;
    std::string captionText; // empty: the caption keeps its text
    bool noteShown = false;
    std::string noteText;

    bool operator==(const FieldLook&) const = default;
};

// Electronic warfare: ARENA and VIRSS shots for vehicles that can carry them.
FieldLook EwLook(std::string_view classText, std::string_view ewText);
// Vision 40 and over is thermal imaging or ground radar.
FieldLook VisionLook(std::string_view visionText);
// Fire control 100 and over is an anti-aircraft radar.
FieldLook FireControlLook(std::string_view fireControlText);
// Survivability above 6 is maroon.
UnitTint SurvivabilityTint(std::string_view text);
// Reactive armour above 10 is advanced: blue.
UnitTint ReactiveArmourTint(std::string_view text);

// The name label of a weapon slot: empty for 0, the stored name for 1..249,
// "Invalid weapon number" in maroon for a number that names no weapon.
struct WeaponNameLook {
    std::string text; // bytes
    UnitTint tint;
};
WeaponNameLook WeaponNameFor(int weaponNumber, const std::array<TOobWeapon, kWeaponSlots + 1>& weapons);

struct OobField;

// One number edit of the page: its object name, what a message calls it, its
// longest text, and the range a commit clamps it into; the caption, the range
// and the record member are the field table's. Listed in the order the page
// fills them (weapon rows: number, HE, AP).
struct UnitNumberField {
    const char* control;
    const char* caption;
    int maxLength;
    int min;
    int max;
    const OobField* field;
    const char* blank; // the text an erased page holds

    int get(const TOobUnit& unit) const;
    // A value beyond what the field holds stores its largest value.
    void set(TOobUnit& unit, int value) const;
};
inline constexpr std::size_t kUnitNumberFieldCount = 65;
const std::array<UnitNumberField, kUnitNumberFieldCount>& UnitNumberFields();

// The texts of every number edit, in the order of UnitNumberFields().
using UnitFieldTexts = std::array<std::string, kUnitNumberFieldCount>;

// The page read back into a record. Every field is converted before anything is
// stored: on a text that is no number, unit stays empty and the message names
// the field and its text.
struct UnitReadResult {
    std::optional<TOobUnit> unit;
    std::string message; // for a commit: names the field and says nothing was stored
    std::string fieldMessage; // names the field and its text only
};
// base supplies what the page does not show (the reserved bytes).
UnitReadResult ReadUnit(const TOobUnit& base, std::string_view nameBytes, const UnitFieldTexts& texts);

// The texts the page shows for a record.
UnitFieldTexts UnitTexts(const TOobUnit& unit);
// The texts of an erased page: nation 0, class 216, movement class 0, years 48
// to 120, months 1 to 12, everything else 0.
UnitFieldTexts BlankUnitTexts();

// The commit check of the four weapon slots.
struct WeaponFinding {
    bool error; // false: an advisory warning; the unit may still be stored
    std::string text;

    bool operator==(const WeaponFinding&) const = default;
};
struct WeaponCheck {
    bool passed = true;
    std::vector<WeaponFinding> findings; // in slot order, one box each
};
WeaponCheck CheckUnitWeapons(std::string_view classText, const std::array<std::string, 4>& weaponTexts,
    const std::array<TOobWeapon, kWeaponSlots + 1>& weapons);

} // namespace tarnwick::core
