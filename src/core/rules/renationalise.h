#pragma once

// Renumbering one nation number to another over every unit and formation, with
// the renationalise dialog's texts and its reading of the two nation edits.

#include "core/data/globals.h"
#include "core/data/records.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace tarnwick::core {

inline constexpr const char* kRenatMenuCaption
    = "Renationalise (Renumber units, formations to another nation's ID)";
inline constexpr const char* kRenatCaption = "Renationalise Dialogue";
inline constexpr const char* kRenatRenumberCaption = "Renumber";
inline constexpr const char* kRenatCloseCaption = "&Close";
inline constexpr const char* kRenatCloseHint = "Finished Renaionalising";
inline constexpr int kRenatEditLength = 2;
inline constexpr int kRenatMaxNation = 99;

// "Current Tarn : 07 - Name": the dialog's heading for the loaded file's nation.
std::string RenatCurrentTarnText(int nation, const NameTables& names);
// What the From and To edits hold when the dialog opens: the nation in decimal.
std::string RenatInitialEditText(int nation);

// A nation edit as Renumber reads it: digits and minus signs kept, empty read
// as 0, clamped to 0..99. Throws EConvertError when no number is left ("-", "1-2").
int ReadRenatNation(std::string_view text);

// The running texts of the progress label, in the order Renumber shows them.
inline constexpr const char* kRenatStartText = "Processed : 0";
std::string RenatUnitsText(int units); // "Processed : 3 Units"
std::string RenatProcessedText(int units, int formations); // "Processed : 3 Units, 1 Formations"

struct RenumberCounts {
    int units = 0;
    int formations = 0;
};

// Called with each running text as the count changes; may be empty.
using BulkProgress = std::function<void(const std::string& text)>;

// Sets nation `to` in every unit (slots 1..599) and formation (1..399) whose
// nation is `from`, empty slots included; From equal to To still counts them.
RenumberCounts RenumberNation(
    TOobData& data, std::uint8_t from, std::uint8_t to, const BulkProgress& progress = {});

// What pressing Renumber did: either an error (nothing changed) or the counts
// and the final text, which also goes to the main window's status bar.
struct RenumberOutcome {
    std::optional<std::string> error; // "'-' is not a valid integer value"
    RenumberCounts counts;
    std::string finalText;
    bool ok() const { return !error; }
};

// Reads both edits first; a text that is no number changes nothing.
RenumberOutcome RunRenumber(
    TOobData& data, std::string_view fromText, std::string_view toText, const BulkProgress& progress = {});

} // namespace tarnwick::core
