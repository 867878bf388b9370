#pragma once

// The records of one order-of-battle file and the editor's current-state values.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tarnwick::core {

// Usable slots of each table; the file has one more (slot 0) at the front of each.
inline constexpr int kUnitSlots = 599;
inline constexpr int kWeaponSlots = 249;
inline constexpr int kFormationSlots = 399;

inline constexpr std::size_t kOobFileSize = 106680;
inline constexpr std::size_t kNameLength = 15;
inline constexpr std::size_t kCommentLength = 80;

// Armour facings, in the order of the armour arrays.
inline constexpr int kFacings = 7; // HF, HS, HR, TF, TS, TR, Top

// Names and the comment are byte strings (Windows-1252 on screen), never NUL.
struct TOobUnit {
    // The members sit in the order of the file's columns, so that the codec can
    // move neighbouring one-byte columns to and from a record together.
    std::string name;
    std::uint8_t unitClass = 0;
    std::uint8_t reserved1 = 0; // carried through load and save, never shown
    std::uint8_t size = 0;
    std::uint8_t crew = 0;
    std::array<std::uint8_t, 4> weapon {}; // [0] is weapon 1; 0 = none
    std::array<std::uint8_t, 4> heAmmo {};
    std::array<std::uint8_t, 4> apAmmo {};
    std::uint8_t speed = 0;
    std::array<std::uint8_t, kFacings> steelArmour {};
    std::array<std::uint8_t, kFacings> heatArmour {};
    std::array<std::uint8_t, kFacings> eraArmour {};
    std::uint8_t radio = 0;
    std::uint8_t yearAvail = 0; // index from 1900
    std::uint8_t yearUnavail = 0;
    std::uint16_t cost = 0;
    std::uint8_t nation = 0;
    std::uint16_t lbm = 0;
    std::uint8_t vision = 0;
    std::uint8_t fireControl = 0;
    std::uint8_t sabotAmmo = 0;
    std::uint8_t heatAmmo = 0;
    std::uint8_t rof = 0;
    std::uint8_t stabiliser = 0;
    std::uint8_t rangeFinder = 0;
    std::uint8_t ew = 0;
    std::uint8_t carry = 0;
    std::uint8_t survivability = 0;
    std::uint8_t weight = 0;
    std::uint16_t icon = 0;
    std::uint8_t swim = 0;
    std::uint8_t moveClass = 0;
    std::uint8_t smokeDischargers = 0;
    std::uint8_t monthAvail = 0;
    std::uint8_t monthUnavail = 0;
    std::uint8_t unitSound = 0;
    std::array<std::uint8_t, 4> weaponSound {};
    std::uint8_t reserved2 = 0;

    bool operator==(const TOobUnit&) const = default;
};

struct TOobWeapon {
    std::string name;
    std::uint8_t weaponClass = 0;
    std::uint8_t weaponSize = 0;
    std::uint8_t warheadSize = 0;
    std::uint8_t hePen = 0;
    std::uint8_t heKill = 0;
    std::uint8_t apPen = 0;
    std::uint8_t apKill = 0;
    std::uint8_t accuracy = 0;
    std::uint8_t range = 0;
    std::uint8_t sabotRange = 0;
    std::uint8_t sabotPen = 0;
    std::uint8_t heatPen = 0;

    bool operator==(const TOobWeapon&) const = default;
};

struct TOobFormation {
    // In the order of the file's columns, like a unit's.
    std::string name;
    std::uint8_t nation = 0;
    std::uint8_t yearAvail = 0;
    std::uint8_t yearUnavail = 0;
    std::uint8_t buyPage = 0;
    std::uint8_t formType = 0;
    std::array<std::uint16_t, 10> slot {}; // [0] is member 1: 0 empty, 1..599 unit, 1000+n formation n
    std::uint8_t monthAvail = 0;
    std::uint8_t monthUnavail = 0;
    std::int8_t expMod = 0;
    std::int8_t moraleMod = 0;

    bool operator==(const TOobFormation&) const = default;
};

// One loaded file. Tables are indexed by slot number; index 0 is never used
// (slot 0 of the file stays in fileImage and goes back unchanged).
struct TOobData {
    TOobData();

    std::string comment;
    std::array<TOobUnit, kUnitSlots + 1> units {};
    std::array<TOobWeapon, kWeaponSlots + 1> weapons {};
    std::array<TOobFormation, kFormationSlots + 1> formations {};

    // The file as last read, always kOobFileSize bytes; a short file is zero-filled
    // beyond its end. Bytes after kOobFileSize of a long file are kept in extraBytes
    // and written back after the encoded image.
    std::vector<std::uint8_t> fileImage;
    std::vector<std::uint8_t> extraBytes;
    std::int32_t imageLength = 0; // bytes the last load found in the file
};

// Which file and which records the editor has in hand.
struct CurrentState {
    std::uint16_t currentNation = 0;
    std::uint16_t currentUnit = 1;
    std::uint16_t currentWeapon = 1;
    std::uint16_t currentFormation = 1;
    bool fileLoaded = false;
    // The type of the formation on the Formations page, as its edit reads; the
    // formation pick list marks its invalid choices by it.
    std::uint8_t currentFormType = 0;
};

// A slot number taken from data names a record only inside these ranges.
inline bool IsWeaponSlot(int n)
{
    return n >= 1 && n <= kWeaponSlots;
}
inline bool IsUnitSlot(int n)
{
    return n >= 1 && n <= kUnitSlots;
}
inline bool IsSubFormationMember(int v)
{
    return v >= 1001 && v <= 1000 + kFormationSlots;
}

// Blanks and control characters (every byte at or below the blank) removed from both ends.
std::string TrimName(std::string_view text);
// True when nothing is left of a name once trimmed: the slot is empty.
bool IsBlankName(std::string_view name);

} // namespace tarnwick::core
