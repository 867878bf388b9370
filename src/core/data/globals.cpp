#include "core/data/globals.h"

#include <charconv>
#include <cstddef>

namespace tarnwick::core {

namespace {

// A code-to-name pair of a fixed table.
struct CodeName {
    std::uint8_t code;
    const char* name;
};

template <std::size_t N>
std::string LookUp(const CodeName (&table)[N], std::uint8_t code, const char* fallback)
{
    for (const CodeName& entry : table) {
        if (entry.code == code)
            return entry.name;
    }
    return fallback;
}

constexpr CodeName kWeaponClasses[] = {
    { 1, "Primary Inf Weapon (Rifles, SMGs etc)" },
    { 2, "Secondary Inf Weapon (LMGs, LAWs etc)" },
    { 3, "Team Weapon (MMGs, Mortars, etc)" },
    { 4, "FLAK, AA capable MG/Autocannon" },
    { 5, "Light Gun, autocannon, CMG, BMG" },
    { 6, "Medium guns < c. 101mm" },
    { 7, "Guns,Howitzers > c. 101mm" },
    { 8, "Infantry Flame" },
    { 9, "Vehicle flame" },
    { 10, "Naval Artillery" },
    { 11, "off-map Aircraft Weapon - Mg, Cannon, Bombs, Rockets" },
    { 12, "Surface to Air Missile" },
    { 13, "Anti Tank Guided Missile" },
    { 14, "Aircraft Cluster Bomb, MLRS" },
    { 15, "Cluster minelets, FASCAM etc" },
    { 16, "Anti Radiation Missile" },
    { 17, "Air to Surface Missile, LGB" },
    { 18, "Napalm" },
    { 19, "Auto Cannon" },
    { 20, "Top Attack ATGM" },
    { 21, "Multi-Charge ATGM" },
};

// Codes 1, 5 and 6 are not movement classes of the game.
constexpr CodeName kMoveClasses[] = {
    { 0, "Default" },
    { 2, "Wheel" },
    { 3, "A/T Wheel" },
    { 4, "Track" },
    { 7, "Ship" },
};

constexpr CodeName kBuyPages[] = {
    { 0, "Default" },
    { 1, "Armour" },
    { 2, "Artillery" },
    { 3, "Infantry" },
    { 4, "Misc." },
    { 5, "Air Transport + Troops" },
    { 10, "Battalion HQ." },
};

constexpr CodeName kFormTypes[] = {
    { 0, "Section" },
    { 1, "Platoon" },
    { 2, "Company" },
    { 3, "2nd Rate Co" },
    { 4, "Naval" },
    { 5, "Bn HQ" },
};

} // namespace

NameTables::NameTables()
{
    nationNames.fill(kNoIniFile);
    unitClassNames.fill(kNoIniFile);
}

std::string WeaponClassName(std::uint8_t code)
{
    return LookUp(kWeaponClasses, code, "Unknown Class");
}

std::string MoveClassName(std::uint8_t code)
{
    return LookUp(kMoveClasses, code, "UNKNOWN");
}

std::string BuyPageName(std::uint8_t code)
{
    return LookUp(kBuyPages, code, "Unknown");
}

std::string FormTypeName(std::uint8_t code)
{
    return LookUp(kFormTypes, code, "Unknown");
}

std::string NationName(const NameTables& tables, int number)
{
    if (number < 1 || number > 99)
        return "Unknown";
    return tables.nationNames[static_cast<std::size_t>(number)];
}

std::string UnitClassName(const NameTables& tables, std::uint8_t code)
{
    return tables.unitClassNames[code];
}

EConvertError::EConvertError(const std::string& text)
    : std::runtime_error("'" + text + "' is not a valid integer value")
    , text_(text)
{
}

std::string DigitsOnly(std::string_view text)
{
    std::string kept;
    kept.reserve(text.size());
    for (char c : text) {
        if ((c >= '0' && c <= '9') || c == '-')
            kept.push_back(c);
    }
    if (kept.empty())
        kept = "0";
    return kept;
}

std::int32_t StrToInt(std::string_view text)
{
    std::string_view digits = text;
    if (!digits.empty() && digits.front() == '-')
        digits.remove_prefix(1);
    if (digits.empty())
        throw EConvertError(std::string(text));
    for (char c : digits) {
        if (c < '0' || c > '9')
            throw EConvertError(std::string(text));
    }
    // from_chars takes the sign itself and reports a value outside int32 as out of range.
    std::int32_t value = 0;
    const char* first = text.data();
    const char* last = text.data() + text.size();
    auto [end, error] = std::from_chars(first, last, value);
    if (error != std::errc() || end != last)
        throw EConvertError(std::string(text));
    return value;
}

std::int32_t ClampValue(std::int32_t min, std::int32_t max, std::string_view text)
{
    const std::int32_t n = StrToInt(DigitsOnly(text));
    if (n > max)
        return max;
    if (n < min)
        return min;
    return n;
}

std::string ClampText(std::int32_t min, std::int32_t max, std::string_view text)
{
    return std::to_string(ClampValue(min, max, text));
}

std::string ThreeDigits(int n)
{
    if (n >= 0 && n < 10)
        return "00" + std::to_string(n);
    if (n >= 10 && n < 100)
        return "0" + std::to_string(n);
    return std::to_string(n);
}

std::string FieldError::message() const
{
    return field + ": '" + text + "' is not a valid integer value";
}

std::string TwoDigits(int n)
{
    if (n >= 0 && n < 10)
        return "0" + std::to_string(n);
    return std::to_string(n);
}

} // namespace tarnwick::core
