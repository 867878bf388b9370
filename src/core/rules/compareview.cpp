#include "core/rules/compareview.h"

namespace tarnwick::core {

std::string CompareWindowTitle(const std::string& fileName)
{
    return fileName.empty() ? "Compare With" : "Compare With " + fileName;
}

std::array<std::string, 6> CompareColumnTitles()
{
    return { "Table", "Slot", "Name", "Field", "Loaded", "Other file" };
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
