#include "core/rules/navigation.h"

#include "core/data/records.h"

#include <algorithm>

namespace tarnwick::core {

int StepSlot(int current, int last, Step step)
{
    switch (step) {
    case Step::Forward:
        return std::min(current + 1, last);
    case Step::ForwardTen:
        return std::min(current + 10, last);
    case Step::Back:
        return current > 1 ? current - 1 : current;
    case Step::BackTen:
        return current > 10 ? current - 10 : current;
    }
    return current;
}

std::string AsciiLower(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return out;
}

std::string AsciiUpper(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return out;
}

std::string FindHistoryEntry(std::string_view typed)
{
    return AsciiLower(TrimName(typed));
}

std::string FindKey(std::string_view typed)
{
    return AsciiUpper(TrimName(typed));
}

bool AddToFindHistory(std::vector<std::string>& history, std::string_view typed)
{
    const std::string entry = FindHistoryEntry(typed);
    if (entry.empty())
        return false;
    for (const std::string& old : history)
        if (TrimName(old) == entry)
            return false;
    history.insert(history.begin(), entry);
    return true;
}

bool NameHoldsKey(std::string_view name, std::string_view key)
{
    return AsciiUpper(TrimName(name)).find(key) != std::string::npos;
}

std::string NotFoundText(FindTable table, std::string_view key)
{
    const char* what = table == FindTable::Weapons ? "weapon"
        : table == FindTable::Units                ? "unit"
                                                   : "formation";
    return "Could not find a " + std::string(what) + " name containing " + std::string(key);
}

} // namespace tarnwick::core
