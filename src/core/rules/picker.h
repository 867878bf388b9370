#pragma once

// The modes of the shared pick list: which values it offers, how it numbers
// and names them, and what a choice returns.

#include "core/data/globals.h"
#include "core/data/records.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tarnwick::core {

enum PickMode : int {
    pickUnit = 0,
    pickFormation = 1,
    pickMoveClass = 2,
    pickFormationType = 3,
    pickNation = 4,
    pickUnitClass = 5,
    pickWeapon = 6,
    pickWeaponClass = 7,
    pickBuyPage = 8,
};

inline constexpr int kPickModeCount = 9;

// The result of a cancelled pick list.
inline constexpr int kPickCancelled = -2;

// The caption of the dialog before its first use.
inline constexpr const char* kPickListCaption = "Pick List";
// Entry 0 of the unit and formation lists, and of the weapon list.
inline constexpr const char* kPickNoUnit = "NO UNIT";
inline constexpr const char* kPickNoWeapon = "NO WEAPON IN SLOT";
// The name a formation list entry shows when that formation may not be a member.
inline constexpr const char* kPickInvalidChoice = "XX INVALID CHOICE XX";

bool IsPickMode(int mode);

// "Pick List : Nationality" and so on; kPickListCaption for an unknown mode.
std::string PickTitle(PickMode mode);
// The highest number offered; every list runs from 0 to it without gaps.
// -1 for an unknown mode (no entries).
int PickLastNumber(PickMode mode);
// The number part of an entry: three digits for slot lists ("007", "042",
// "599"), at least two for code lists ("04", "10", "120").
std::string PickNumberText(PickMode mode, int number);

// Only sections and platoons may be members of another formation, and a
// second-rate company takes only sections.
bool IsInvalidFormationChoice(std::uint8_t formType, std::uint8_t currentFormType);

// What one call of the pick list shows.
struct PickListContent {
    PickMode mode = pickUnit;
    std::string title;
    // Entry k at index k: number, " - ", name. Names are bytes (Windows-1252),
    // stored record names exactly as stored.
    std::vector<std::string> entries;
    // Entries of the formation list that name a formation which may not be
    // chosen; confirming one of them chooses nothing (0).
    std::vector<bool> invalid;
};

// currentFormType: the type of the formation on the Formations page, which
// decides the invalid choices of the formation list.
PickListContent FillPickList(
    PickMode mode, const TOobData& oob, const NameTables& names, std::uint8_t currentFormType);

// The value handed back: the selected entry's number, 0 for an invalid
// formation choice, kPickCancelled when cancelled or when no entry is selected.
int PickResult(const PickListContent& content, int selectedIndex, bool cancelled);

} // namespace tarnwick::core
