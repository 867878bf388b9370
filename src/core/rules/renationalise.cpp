#include "core/rules/renationalise.h"

namespace tarnwick::core {

std::string RenatCurrentTarnText(int nation, const NameTables& names)
{
    const std::string prefix = nation >= 0 && nation < 10 ? "Current Tarn : 0" : "Current Tarn : ";
    return prefix + std::to_string(nation) + " - " + NationName(names, nation);
}

std::string RenatInitialEditText(int nation)
{
    return std::to_string(nation);
}

int ReadRenatNation(std::string_view text)
{
    return ClampValue(0, kRenatMaxNation, text);
}

std::string RenatUnitsText(int units)
{
    return "Processed : " + std::to_string(units) + " Units";
}

std::string RenatProcessedText(int units, int formations)
{
    return RenatUnitsText(units) + ", " + std::to_string(formations) + " Formations";
}

RenumberCounts RenumberNation(
    TOobData& data, std::uint8_t from, std::uint8_t to, const BulkProgress& progress)
{
    RenumberCounts counts;
    if (progress)
        progress(kRenatStartText);
    for (std::size_t s = 1; s <= static_cast<std::size_t>(kUnitSlots); ++s) {
        TOobUnit& unit = data.units[s];
        if (unit.nation != from)
            continue;
        unit.nation = to;
        ++counts.units;
        if (progress)
            progress(RenatUnitsText(counts.units));
    }
    if (progress)
        progress(RenatProcessedText(counts.units, 0));
    for (std::size_t s = 1; s <= static_cast<std::size_t>(kFormationSlots); ++s) {
        TOobFormation& formation = data.formations[s];
        if (formation.nation != from)
            continue;
        formation.nation = to;
        ++counts.formations;
        if (progress)
            progress(RenatProcessedText(counts.units, counts.formations));
    }
    return counts;
}

RenumberOutcome RunRenumber(
    TOobData& data, std::string_view fromText, std::string_view toText, const BulkProgress& progress)
{
    RenumberOutcome outcome;
    if (progress)
        progress(kRenatStartText); // shown before the edits are read, so also after a refusal
    int from = 0;
    int to = 0;
    try {
        from = ReadRenatNation(fromText);
        to = ReadRenatNation(toText);
    } catch (const EConvertError& e) {
        outcome.error = e.what();
        return outcome;
    }
    outcome.counts
        = RenumberNation(data, static_cast<std::uint8_t>(from), static_cast<std::uint8_t>(to), progress);
    outcome.finalText = RenatProcessedText(outcome.counts.units, outcome.counts.formations);
    return outcome;
}

} // namespace tarnwick::core
