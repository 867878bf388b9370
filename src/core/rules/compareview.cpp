#include "core/rules/compareview.h"

#include <algorithm>
#include <cctype>

namespace tarnwick::core {

namespace {

// File names are found in any case: obat004.obf and OBAT004.OBF are alike.
bool EqualsIgnoreCase(const std::string& a, const std::string& b)
{
    return std::ranges::equal(
        a, b, [](unsigned char x, unsigned char y) { return std::tolower(x) == std::tolower(y); });
}

} // namespace

std::string CompareWindowTitle(const std::string& fileName)
{
    return fileName.empty() ? "Compare With" : "Compare With " + fileName;
}

std::array<std::string, 6> CompareColumnTitles(
    const std::filesystem::path& loaded, const std::filesystem::path& other)
{
    std::array<std::string, 6> titles { "Table", "Slot", "Name", "Field", "Loaded", "Other file" };
    if (loaded.empty() || other.empty())
        return titles;
    const std::string a = loaded.filename().string();
    const std::string b = other.filename().string();
    if (!EqualsIgnoreCase(a, b)) {
        titles[4] = a;
        titles[5] = b;
    } else if (loaded.lexically_normal() == other.lexically_normal()) {
        titles[4] = a + " (loaded)";
        titles[5] = b + " (on disk)";
    } else {
        titles[4] = (loaded.parent_path().filename() / a).generic_string();
        titles[5] = (other.parent_path().filename() / b).generic_string();
        if (titles[4] == titles[5]) { // folders of one name: the whole paths
            titles[4] = loaded.generic_string();
            titles[5] = other.generic_string();
        }
    }
    return titles;
}

std::string CompareSummary(std::size_t differences, bool haveFile)
{
    if (!haveFile)
        return "No file chosen";
    if (differences == 0)
        return "No differences";
    return std::to_string(differences) + (differences == 1 ? " difference" : " differences");
}

std::optional<PasteKind> CompareRecordKind(DiffTable table)
{
    switch (table) {
    case DiffTable::Weapons:
        return PasteKind::Weapon;
    case DiffTable::Units:
        return PasteKind::Unit;
    case DiffTable::Formations:
        return PasteKind::Formation;
    case DiffTable::Info:
    case DiffTable::Raw:
        break;
    }
    return std::nullopt;
}

} // namespace tarnwick::core
