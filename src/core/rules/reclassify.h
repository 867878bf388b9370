#pragma once

// Changing every unit of one class to another class, with the reclassify
// dialog's texts and its reading of the two class edits.

#include "core/data/records.h"
#include "core/rules/renationalise.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tarnwick::core {

inline constexpr const char* kReclassifyMenuCaption = "Reclassify";
inline constexpr const char* kReclassifyCaption = "Reclassify All";
inline constexpr const char* kReclassifyHeading = "Reclassify all instances of target class to a new class";
inline constexpr const char* kReclassifyFromCaption = "From Class Number";
inline constexpr const char* kReclassifyToCaption = "To New Class Number";
inline constexpr const char* kReclassifyButtonCaption = "Reclassify";
inline constexpr const char* kReclassifyCloseCaption = "&Close";
inline constexpr const char* kReclassifyCloseHint = "Finished Reclassifying";
// Each opening resets both edits to this class and both name fields to its name.
inline constexpr const char* kReclassifyInitialClass = "0";
inline constexpr const char* kReclassifyInitialClassName = "Fort";
inline constexpr int kReclassifyMaxClass = 255;

// A class edit as Reclassify reads it: digits and minus signs kept, empty read
// as 0, clamped to 0..255. Throws EConvertError when no number is left.
int ReadReclassifyClass(std::string_view text);

// The status bar's running texts: "Reclassified : 0" first, then "Reclassified : n Units".
inline constexpr const char* kReclassifyStartText = "Reclassified : 0";
std::string ReclassifiedText(int units);

// Sets class `to` in every unit (slots 1..599, empty ones included) whose class
// is `from`, and returns how many; From equal to To still counts them.
int ReclassifyUnits(TOobData& data, std::uint8_t from, std::uint8_t to, const BulkProgress& progress = {});

struct ReclassifyOutcome {
    std::optional<std::string> error; // nothing changed
    int units = 0;
    // What the dialog's status bar ends on: "Reclassified : 0" when no unit matched.
    std::string statusText;
    bool ok() const { return !error; }
};

// Reads both edits first; a text that is no number changes nothing.
ReclassifyOutcome RunReclassify(
    TOobData& data, std::string_view fromText, std::string_view toText, const BulkProgress& progress = {});

} // namespace tarnwick::core
