#include "core/rules/reclassify.h"

#include "core/data/globals.h"

namespace tarnwick::core {

int ReadReclassifyClass(std::string_view text)
{
    return ClampValue(0, kReclassifyMaxClass, text);
}

std::string ReclassifiedText(int units)
{
    return "Reclassified : " + std::to_string(units) + " Units";
}

int ReclassifyUnits(TOobData& data, std::uint8_t from, std::uint8_t to, const BulkProgress& progress)
{
    int count = 0;
    if (progress)
        progress(kReclassifyStartText);
    for (std::size_t s = 1; s <= static_cast<std::size_t>(kUnitSlots); ++s) {
        TOobUnit& unit = data.units[s];
        if (unit.unitClass != from)
            continue;
        unit.unitClass = to;
        ++count;
        if (progress)
            progress(ReclassifiedText(count));
    }
    return count;
}

ReclassifyOutcome RunReclassify(
    TOobData& data, std::string_view fromText, std::string_view toText, const BulkProgress& progress)
{
    ReclassifyOutcome outcome;
    int from = 0;
    int to = 0;
    try {
        from = ReadReclassifyClass(fromText);
        to = ReadReclassifyClass(toText);
    } catch (const EConvertError& e) {
        if (progress)
            progress(kReclassifyStartText);
        outcome.error = e.what();
        return outcome;
    }
    outcome.units
        = ReclassifyUnits(data, static_cast<std::uint8_t>(from), static_cast<std::uint8_t>(to), progress);
    outcome.statusText = outcome.units > 0 ? ReclassifiedText(outcome.units) : kReclassifyStartText;
    return outcome;
}

} // namespace tarnwick::core
