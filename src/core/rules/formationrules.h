#pragma once

// The organisation rules of formations as the Formations page applies them:
// what kind a formation is, what each member row says, how many units a
// formation stands for, the commit check and the page-to-record conversion.
// Texts come back with "\n" line breaks; nothing here shows anything.

#include "core/data/globals.h"
#include "core/data/records.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tarnwick::core {

inline constexpr int kFormationMembers = 10;
inline constexpr int kBnHqType = 5;
inline constexpr int kCompanyType = 2;

// What the formation type allows.
struct FormationKind {
    bool takesSubFormations = false; // types 2, 3 and 5
    bool sectionsOnly = false; // type 3: its sub-formations must be sections
    std::string labelCo; // the kind text under the type
};
FormationKind UpdateFormationKind(int formType, int formation);

// The type name of any number a type edit can hold ("Unknown" outside the table).
std::string FormationTypeName(int formType);

// A member or number edit's value: its trimmed text as an integer; nothing when
// the text is no integer (empty included).
std::optional<int> MemberValue(std::string_view text);

// One label of a member row; navy unless maroon.
struct RowLabel {
    std::string text; // bytes (a name is Windows-1252)
    bool maroon = false;
    bool operator==(const RowLabel&) const = default;
};
struct SlotLabels {
    RowLabel name, date, type;
};
// The name, date and type labels of member row slot (1..10) holding value.
SlotLabels UpdateSlotLabels(const TOobData& oob, int slot, int value, const FormationKind& kind);

inline constexpr const char* kInvalidUnitNumber = "Invalid unit number";
inline constexpr const char* kInvalidFormationNumber = "Invalid formation number";

// How many units a member stands for: 0 none, a unit 1, a sub-formation its
// non-empty members (no recursion). A member naming no formation counts 0.
std::uint8_t Totalise(const TOobData& oob, int member);
// The formation's total: slot 1 counts 1 when it holds a unit number, then
// Totalise of members 2..10.
int FormationTotal(const TOobData& oob, const TOobFormation& formation);

// Only formation 1 may be the Bn HQ; another one showing type 5 is set to a company.
bool IsMisplacedBnHq(int formation, int formType);
std::string BnHqRepairMessage();
inline constexpr const char* kOnlyBnHqInfo
    = "Formation 1 is the one and only Bn HQ\nAnd the only class 5 formation allowed";
inline constexpr const char* kFormationNotSaved = "Formation data was NOT saved!";

// Slot 1 after a key: its value clamped to 0..599 (a text that is no number reads 0).
std::string ClampSlot1Text(std::string_view text);

// The commit check over the ten member texts.
struct FormationCheck {
    bool passed = true;
    std::string message; // the error box; empty when there is none
    // A member text the page must replace, per slot (normalised "0", "599").
    std::array<std::optional<std::string>, kFormationMembers> replaceText;
};
FormationCheck CheckFormation(const TOobData& oob, const FormationKind& kind,
    const std::array<std::string, kFormationMembers>& members);

// The page's texts, in the order the commit stores them.
struct FormationTexts {
    std::string name; // bytes
    std::string nation, yearAvail, monthAvail, yearUnavail, monthUnavail, buyPage, formType, expMod,
        moraleMod;
    std::array<std::string, kFormationMembers> slot;
};
// A field whose text is no number.
// Converts every field (numbers clamped to their limits) into out, leaving
// out untouched when any field cannot be converted.
std::optional<FieldError> FormationFromTexts(const FormationTexts& texts, TOobFormation& out);

} // namespace tarnwick::core
