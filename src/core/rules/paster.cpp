#include "core/rules/paster.h"

namespace tarnwick::core {

namespace {

// Names shorter than 15 characters are padded to 16; a full 15 is left alone.
std::string PaddedName(std::string_view name)
{
    std::string text(name);
    if (text.size() < kNameLength)
        text.resize(16, ' ');
    return text;
}

} // namespace

std::string PasteEntryRow(
    int entry, bool used, std::string_view name, int sourceNation, const NameTables& names)
{
    std::string row = ThreeDigits(entry) + ": ";
    if (!used)
        return row + PaddedName("*Unused*") + " [..] " + " " + "...";
    return row + PaddedName(name) + " [" + TwoDigits(sourceNation) + "] " + " "
        + NationName(names, sourceNation);
}

std::string PasteStatusText(PasteKind kind, PasteMode mode)
{
    const char* kindText = kind == PasteKind::Weapon ? "weapon buffer "
        : kind == PasteKind::Unit                    ? "unit buffer"
                                                     : "formation buffer ";
    const char* modeText = mode == PasteMode::Copy ? " to COPY to" : " to PASTE from";
    return std::string("Select ") + kindText + modeText;
}

std::string ExportProposedName(PasteKind kind, int nation)
{
    const char* suffix = kind == PasteKind::Weapon ? "wpns.csv"
        : kind == PasteKind::Unit                  ? "unit.csv"
                                                   : "fmns.csv";
    return std::string(nation < 10 ? "TarnPASTE0" : "TarnPASTE") + std::to_string(nation) + suffix;
}

std::string ImportTitle(PasteKind kind)
{
    const char* what = kind == PasteKind::Weapon ? "WEAPON" : kind == PasteKind::Unit ? "UNIT" : "FORMATION";
    return std::string("Select ") + what + " csv File";
}

std::string ImportFilter(PasteKind kind)
{
    // The first filter also shows the .csv files Export writes, so that an
    // exported buffer is there to pick without changing the filter.
    const char* own = kind == PasteKind::Weapon ? "Weapon Files (*.t7w *.csv)"
        : kind == PasteKind::Unit               ? "Unit Files (*.t7u *.csv)"
                                                : "Formation Files (*.t7f *.csv)";
    return std::string(own) + ";;CSV Files (*.csv);;All Files (*)";
}

std::string ImportStatusText(int entriesRead, std::string_view path, std::string_view note)
{
    std::string text = "Read " + std::to_string(entriesRead) + " entries from " + std::string(path);
    if (!note.empty())
        text += ". " + std::string(note);
    return text;
}

} // namespace tarnwick::core
