#include "core/rules/renumbernames.h"

#include "core/data/records.h"
#include "core/rules/reclassify.h"
#include "core/rules/renationalise.h"

namespace tarnwick::core {

std::string TypedNumberName(RenumberKind kind, std::string_view text, const NameTables& names)
{
    const bool nation = kind == RenumberKind::Nation;
    int number = 0;
    try {
        number = nation ? ReadRenatNation(text) : ReadReclassifyClass(text);
    } catch (const EConvertError&) {
        return "'" + std::string(text) + "' is not a number";
    }
    const std::string name
        = nation ? NationName(names, number) : UnitClassName(names, static_cast<std::uint8_t>(number));
    if ((nation && number == 0) || TrimName(name).empty() || name == kNoIniFile)
        return std::string(nation ? "No nation" : "No unit class") + " has the number "
            + std::to_string(number);
    return name;
}

} // namespace tarnwick::core
