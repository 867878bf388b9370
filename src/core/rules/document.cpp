#include "core/rules/document.h"

namespace tarnwick::core {

namespace {

const char* KindWord(PasteKind kind)
{
    return kind == PasteKind::Weapon ? "weapon" : kind == PasteKind::Unit ? "unit" : "formation";
}

const char* KindPlural(PasteKind kind)
{
    return kind == PasteKind::Weapon ? "weapons" : kind == PasteKind::Unit ? "units" : "formations";
}

std::string Capitalised(std::string word)
{
    if (!word.empty() && word[0] >= 'a' && word[0] <= 'z')
        word[0] = static_cast<char>(word[0] - 'a' + 'A');
    return word;
}

std::string Trimmed(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return std::string();
    const auto last = text.find_last_not_of(" \t");
    return std::string(text.substr(first, last - first + 1));
}

} // namespace

std::string CommitStepText(PasteKind kind, int slot)
{
    return "Commit " + std::string(KindWord(kind)) + " " + std::to_string(slot);
}

std::string MoveStepText(PasteKind kind, int from, int to)
{
    return "Move " + std::string(KindWord(kind)) + " " + std::to_string(from) + " to " + std::to_string(to);
}

std::string PasteAllStepText(PasteKind kind)
{
    return "Paste all " + std::string(KindPlural(kind));
}

std::string ReclassifyStepText(std::string_view from, std::string_view to)
{
    return "Reclassify " + Trimmed(from) + " to " + Trimmed(to);
}

std::string RenationaliseStepText(std::string_view from, std::string_view to)
{
    return "Renationalise " + Trimmed(from) + " to " + Trimmed(to);
}

std::string GridSaveStepText(PasteKind kind)
{
    return Capitalised(KindPlural(kind)) + " grid save";
}

std::string BnHqRepairStepText(int slot)
{
    return "Repair formation " + std::to_string(slot) + " as Bn HQ";
}

std::string SaveChangesQuestion(std::string_view fileRowText)
{
    return "Save the changes to " + Trimmed(fileRowText) + "?";
}

std::string UncommittedStatus(PasteKind kind, int slot)
{
    return Capitalised(KindWord(kind)) + " " + std::to_string(slot)
        + " has changes that are not committed (F12 commits)";
}

std::string CommitTypingQuestion(PasteKind kind, int slot)
{
    return "Commit the changes to " + std::string(KindWord(kind)) + " " + std::to_string(slot) + "?";
}

std::string SavedWithUncommittedStatus(std::string_view savedStatus, std::string_view pageName)
{
    return std::string(savedStatus) + "; the " + std::string(pageName) + " page has uncommitted changes";
}

std::string SavedTidiedStatus(std::string_view savedStatus, std::size_t values)
{
    std::string text(savedStatus);
    if (values == 1)
        text += "; 1 value was out of range and was brought into range (F8 lists it)";
    else if (values > 1)
        text += "; " + std::to_string(values)
            + " values were out of range and were brought into range (F8 lists them)";
    return text;
}

std::string HintWithKey(std::string_view hint, std::string_view key)
{
    const auto end = hint.find_last_not_of(' ');
    const std::string_view text
        = end == std::string_view::npos ? std::string_view() : hint.substr(0, end + 1);
    return std::string(text) + " [" + std::string(key) + "]";
}

std::string CopyRefusedText(PasteKind kind, std::string_view fieldMessage)
{
    return Capitalised(KindWord(kind)) + " not copied: " + std::string(fieldMessage);
}

std::string UnusedEntryText(int entry)
{
    return "Entry " + std::to_string(entry) + " is unused";
}

} // namespace tarnwick::core
