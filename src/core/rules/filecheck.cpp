#include "core/rules/filecheck.h"

#include "core/data/records.h"
#include "core/graphics/artfiles.h"
#include "core/graphics/indexedimage.h"
#include "core/graphics/lbm.h"
#include "core/graphics/shp.h"
#include "core/rules/formationrules.h"
#include "core/rules/unitrules.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstring>
#include <exception>
#include <functional>
#include <utility>

namespace tarnwick::core {

namespace fs = std::filesystem;

namespace {

// A page's message box text as one line: the lines of a paragraph joined with
// ", ", paragraphs with " - ". skipFirst and skipLast paragraphs at either end
// (a heading, "not saved") are left out unless nothing else is there.
std::string OneLine(std::string_view text, std::size_t skipFirst, std::size_t skipLast)
{
    std::vector<std::vector<std::string>> paragraphs(1);
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        const std::string line = TrimName(text.substr(start, end - start));
        if (line.empty()) {
            if (!paragraphs.back().empty())
                paragraphs.emplace_back();
        } else {
            paragraphs.back().push_back(line);
        }
        start = end + 1;
    }
    if (paragraphs.back().empty())
        paragraphs.pop_back();
    if (skipFirst + skipLast >= paragraphs.size())
        skipFirst = skipLast = 0;
    std::string out;
    for (std::size_t p = skipFirst; p + skipLast < paragraphs.size(); ++p) {
        if (!out.empty())
            out += " - ";
        for (std::size_t l = 0; l < paragraphs[p].size(); ++l)
            out += (l == 0 ? "" : ", ") + paragraphs[p][l];
    }
    return out;
}

std::string MonthYear(int month, int year)
{
    return std::to_string(month) + "/" + std::to_string(year);
}

class Checker {
public:
    Checker(const TOobData& data, std::vector<CheckFinding>& out)
        : data_(data)
        , out_(out)
    {
    }

    void add(Severity severity, const char* rule, PasteKind table, int slot, const std::string& name,
        std::string message)
    {
        out_.push_back({ severity, rule, table, slot, name, std::move(message) });
    }

    void dates(PasteKind table, int slot, const std::string& name, int yearAvail, int monthAvail,
        int yearUnavail, int monthUnavail)
    {
        if (yearAvail * 256 + monthAvail > yearUnavail * 256 + monthUnavail)
            add(Severity::Warning, "dates", table, slot, name,
                "available " + MonthYear(monthAvail, yearAvail) + " is after unavailable "
                    + MonthYear(monthUnavail, yearUnavail));
        const std::pair<const char*, int> months[]
            = { { "available", monthAvail }, { "unavailable", monthUnavail } };
        for (const auto& [what, month] : months)
            if (month < 1 || month > 12)
                add(Severity::Warning, "month", table, slot, name,
                    std::string("month ") + what + " " + std::to_string(month) + " is outside 1..12");
        // A save writes a year of 0 as 1 and one above 120 as 120.
        const std::pair<const char*, int> years[]
            = { { "available", yearAvail }, { "unavailable", yearUnavail } };
        for (const auto& [what, year] : years)
            if (year < 1 || year > 120)
                add(Severity::Warning, "dates", table, slot, name,
                    std::string("year ") + what + " " + std::to_string(year) + " is outside 1..120");
    }

    void unit(int slot, ArtCheck* art)
    {
        const TOobUnit& u = data_.units[static_cast<std::size_t>(slot)];
        const auto table = PasteKind::Unit;
        // The page's check sees only the weapons that name a filled slot; the
        // others are reported here.
        std::array<std::string, 4> checked;
        for (int k = 1; k <= 4; ++k) {
            const int w = u.weapon[static_cast<std::size_t>(k - 1)];
            const std::string field = "weapon " + std::to_string(k);
            if (w == 0)
                continue;
            if (!IsWeaponSlot(w)) {
                add(Severity::Error, "weapon-invalid", table, slot, u.name,
                    field + " is " + std::to_string(w) + ", which names no weapon (1.."
                        + std::to_string(kWeaponSlots) + ")");
            } else if (IsBlankName(data_.weapons[static_cast<std::size_t>(w)].name)) {
                add(Severity::Error, "weapon-empty", table, slot, u.name,
                    field + " is weapon " + std::to_string(w) + ", which is empty");
            } else {
                checked[static_cast<std::size_t>(k - 1)] = std::to_string(w);
            }
        }
        const std::string classText = std::to_string(u.unitClass);
        if (!CheckUnitWeapons(classText, checked, data_.weapons).passed) {
            // Once more slot by slot, to name the weapon of each refusal.
            for (std::size_t k = 0; k < checked.size(); ++k) {
                if (checked[k].empty())
                    continue;
                std::array<std::string, 4> one;
                one[k] = checked[k];
                const WeaponCheck check = CheckUnitWeapons(classText, one, data_.weapons);
                const int w = u.weapon[k];
                for (const WeaponFinding& finding : check.findings)
                    if (finding.error)
                        add(Severity::Error, "unit-weapon-rule", table, slot, u.name,
                            "weapon " + std::to_string(k + 1) + " is weapon " + std::to_string(w) + " (class "
                                + std::to_string(data_.weapons[static_cast<std::size_t>(w)].weaponClass)
                                + "), unit class " + classText + ": " + OneLine(finding.text, 0, 1));
            }
        }
        dates(table, slot, u.name, u.yearAvail, u.monthAvail, u.yearUnavail, u.monthUnavail);
        if (art != nullptr)
            art->checkUnit(u, slot, out_);
    }

    void formation(int slot, const CheckFinding* cycle)
    {
        const TOobFormation& f = data_.formations[static_cast<std::size_t>(slot)];
        const auto table = PasteKind::Formation;
        std::array<std::string, kFormationMembers> checked;
        for (int n = 1; n <= kFormationMembers; ++n) {
            const int v = f.slot[static_cast<std::size_t>(n - 1)];
            const std::string field = "member " + std::to_string(n);
            checked[static_cast<std::size_t>(n - 1)] = "0";
            if (v == 0)
                continue;
            if (IsUnitSlot(v)) {
                if (IsBlankName(data_.units[static_cast<std::size_t>(v)].name))
                    add(Severity::Error, "member-empty", table, slot, f.name,
                        field + " is unit " + std::to_string(v) + ", which is empty");
                else
                    checked[static_cast<std::size_t>(n - 1)] = std::to_string(v);
            } else if (IsSubFormationMember(v)) {
                if (IsBlankName(data_.formations[static_cast<std::size_t>(v - 1000)].name))
                    add(Severity::Error, "member-empty", table, slot, f.name,
                        field + " is formation " + std::to_string(v - 1000) + " (" + std::to_string(v)
                            + "), which is empty");
                else
                    checked[static_cast<std::size_t>(n - 1)] = std::to_string(v);
            } else {
                add(Severity::Error, "member-invalid", table, slot, f.name,
                    field + " is " + std::to_string(v) + ", which names no "
                        + (v < 1000 ? "unit (1.." + std::to_string(kUnitSlots) + ")"
                                    : "formation (1001.." + std::to_string(1000 + kFormationSlots) + ")"));
            }
        }
        const FormationKind kind = UpdateFormationKind(f.formType, slot);
        if (!CheckFormation(data_, kind, checked).passed) {
            // Once more member by member, to name the member of each refusal.
            for (std::size_t n = 0; n < checked.size(); ++n) {
                const int v = f.slot[n];
                if (checked[n] == "0" || v < 1000)
                    continue;
                std::array<std::string, kFormationMembers> one;
                one.fill("0");
                one[n] = checked[n];
                const FormationCheck check = CheckFormation(data_, kind, one);
                if (check.passed)
                    continue;
                const std::string what = "formation " + std::to_string(v - 1000) + " (type "
                    + std::to_string(data_.formations[static_cast<std::size_t>(v - 1000)].formType) + ")";
                add(Severity::Error, "formation-rule", table, slot, f.name,
                    "member " + std::to_string(n + 1) + " is " + what + " in a formation of type "
                        + std::to_string(f.formType) + ": " + OneLine(check.message, 1, 0));
            }
        }
        if (cycle != nullptr)
            out_.push_back(*cycle);
        dates(table, slot, f.name, f.yearAvail, f.monthAvail, f.yearUnavail, f.monthUnavail);
    }

    // One finding per group of formations that hold each other, on the lowest
    // numbered formation of the group, naming a shortest chain back to it.
    std::vector<CheckFinding> cycles() const
    {
        constexpr int n = kFormationSlots + 1;
        std::vector<std::vector<int>> next(n);
        for (int f = 1; f < n; ++f) {
            const TOobFormation& formation = data_.formations[static_cast<std::size_t>(f)];
            if (IsBlankName(formation.name))
                continue;
            for (std::uint16_t v : formation.slot)
                if (IsSubFormationMember(v) && !IsBlankName(data_.formations[v - 1000u].name))
                    next[static_cast<std::size_t>(f)].push_back(v - 1000);
        }
        // Tarjan's strongly connected components, iteratively.
        std::vector<int> index(n, -1), low(n, 0), component(n, -1);
        std::vector<bool> onStack(n, false);
        std::vector<int> stack;
        int counter = 0;
        int components = 0;
        for (int root = 1; root < n; ++root) {
            // A formation that holds no formation is on no cycle; most are such.
            if (index[static_cast<std::size_t>(root)] >= 0 || next[static_cast<std::size_t>(root)].empty())
                continue;
            std::vector<std::pair<int, std::size_t>> work { { root, 0 } };
            while (!work.empty()) {
                auto& [v, edge] = work.back();
                const auto sv = static_cast<std::size_t>(v);
                if (edge == 0 && index[sv] < 0) {
                    index[sv] = low[sv] = counter++;
                    stack.push_back(v);
                    onStack[sv] = true;
                }
                if (edge < next[sv].size()) {
                    const int w = next[sv][edge++];
                    const auto sw = static_cast<std::size_t>(w);
                    if (index[sw] < 0)
                        work.push_back({ w, 0 });
                    else if (onStack[sw])
                        low[sv] = std::min(low[sv], index[sw]);
                    continue;
                }
                if (low[sv] == index[sv]) {
                    int w = 0;
                    do {
                        w = stack.back();
                        stack.pop_back();
                        onStack[static_cast<std::size_t>(w)] = false;
                        component[static_cast<std::size_t>(w)] = components;
                    } while (w != v);
                    ++components;
                }
                const int done = v;
                work.pop_back();
                if (!work.empty()) {
                    const auto parent = static_cast<std::size_t>(work.back().first);
                    low[parent] = std::min(low[parent], low[static_cast<std::size_t>(done)]);
                }
            }
        }
        std::vector<CheckFinding> found;
        std::vector<bool> reported(static_cast<std::size_t>(components), false);
        for (int f = 1; f < n; ++f) {
            const int c = component[static_cast<std::size_t>(f)];
            if (c < 0 || next[static_cast<std::size_t>(f)].empty() || reported[static_cast<std::size_t>(c)])
                continue;
            const std::vector<int> chain = shortestCycle(f, component, next);
            if (chain.empty())
                continue;
            reported[static_cast<std::size_t>(c)] = true;
            std::string text;
            for (int step : chain)
                text += (text.empty() ? "" : " -> ") + std::to_string(step);
            found.push_back({ Severity::Error, "formation-cycle", PasteKind::Formation, f,
                data_.formations[static_cast<std::size_t>(f)].name,
                "formation " + std::to_string(f) + " holds itself: " + text });
        }
        return found;
    }

private:
    // f, ..., f through formations of f's component; empty when there is none.
    static std::vector<int> shortestCycle(
        int f, const std::vector<int>& component, const std::vector<std::vector<int>>& next)
    {
        std::vector<int> from(component.size(), 0);
        std::vector<int> queue { f };
        for (std::size_t head = 0; head < queue.size(); ++head) {
            const int v = queue[head];
            for (int w : next[static_cast<std::size_t>(v)]) {
                if (component[static_cast<std::size_t>(w)] != component[static_cast<std::size_t>(f)])
                    continue;
                if (w == f) {
                    std::vector<int> chain { f };
                    for (int at = v; at != f; at = from[static_cast<std::size_t>(at)])
                        chain.push_back(at);
                    chain.push_back(f);
                    std::reverse(chain.begin() + 1, chain.end() - 1);
                    return chain;
                }
                if (from[static_cast<std::size_t>(w)] == 0 && w != f) {
                    from[static_cast<std::size_t>(w)] = v;
                    queue.push_back(w);
                }
            }
        }
        return {};
    }

    const TOobData& data_;
    std::vector<CheckFinding>& out_;
};

} // namespace

const char* SeverityName(Severity severity)
{
    return severity == Severity::Error ? "error" : "warning";
}

ArtCheck::ArtCheck(fs::path gameDir, IconFrameTable frames)
    : frames_(std::move(frames))
{
    if (!gameDir.empty()) {
        picFolder_ = FindArtFolder(gameDir, kPictureFolder);
        shpFolder_ = FindArtFolder(gameDir, kIconFolder);
    }
}

const ArtCheck::Outcome& ArtCheck::picture(int number)
{
    auto [it, added] = pictures_.try_emplace(number);
    Outcome& o = it->second;
    if (!added)
        return o;
    o.fileName = PictureFileName(number);
    if (!pics_)
        pics_ = std::make_unique<ArtFolderIndex>(picFolder_);
    const fs::path path = pics_->find(o.fileName);
    if (path.empty()) {
        o.missing = true;
        return o;
    }
    o.fileName = path.filename().string();
    try {
        LoadLbmFile(path);
    } catch (const ArtFileError& e) {
        o.problem = e.what();
    } catch (const std::exception& e) {
        o.problem = o.fileName + ": " + e.what();
    }
    return o;
}

const ArtCheck::IconFile& ArtCheck::iconFile(int number)
{
    auto [it, added] = iconFiles_.try_emplace(number);
    IconFile& file = it->second;
    if (!added)
        return file;
    file.fileName = IconFileName(number);
    if (!icons_)
        icons_ = std::make_unique<ArtFolderIndex>(shpFolder_);
    const fs::path path = icons_->find(file.fileName);
    if (path.empty())
        return file;
    file.missing = false;
    file.fileName = path.filename().string();
    try {
        file.bytes = ReadArtFile(path);
    } catch (const ArtFileError& e) {
        file.readError = e.what();
    }
    return file;
}

const ArtCheck::Outcome& ArtCheck::iconEntry(int entry)
{
    auto [it, added] = entries_.try_emplace(entry);
    Outcome& o = it->second;
    if (!added)
        return o;
    const IconFile& file = iconFile(IconFileOf(entry));
    o.fileName = file.fileName;
    if (file.missing) {
        o.missing = true;
    } else if (!file.readError.empty()) {
        o.problem = file.readError;
    } else {
        try {
            DecodeShpFrame(file.bytes, IconDirectoryIndex(entry), kDefaultTransparentColour);
        } catch (const std::exception& e) {
            if (std::strcmp(e.what(), kShpNoIcon) == 0)
                o.missing = true;
            else
                o.problem = o.fileName + ": " + e.what();
        }
    }
    return o;
}

void ArtCheck::checkUnit(const TOobUnit& unit, int slot, std::vector<CheckFinding>& out)
{
    auto add = [&](Severity severity, const char* rule, std::string message) {
        out.push_back({ severity, rule, PasteKind::Unit, slot, unit.name, std::move(message) });
    };
    if (!picFolder_.empty()) {
        const int number = std::min<int>(unit.lbm, kMaxPictureNumber);
        const Outcome& o = picture(number);
        const std::string what = "picture " + std::to_string(number) + ": ";
        if (o.missing)
            add(Severity::Warning, "picture-missing", what + o.fileName + " is not in " + kPictureFolder);
        else if (!o.problem.empty())
            add(Severity::Error, "art-broken", what + o.problem);
    }
    if (shpFolder_.empty())
        return;
    // The frames the Units page would show for this unit.
    const int icon = std::min<int>(unit.icon, kMaxIconNumber);
    std::vector<int> shown;
    switch (IconDisplayFor(unit.unitClass)) {
    case IconDisplay::None:
        return;
    case IconDisplay::Big:
        shown.push_back(frames_.hullEntry(icon));
        break;
    case IconDisplay::HullAndTurret: {
        const int crew = CrewIconEntry(
            unit.unitClass, UnitClassCategory(unit.unitClass), unit.crew, std::min<int>(unit.nation, 99));
        if (crew >= 0 && !iconFile(IconFileOf(crew)).missing) {
            shown.push_back(crew);
        } else {
            shown.push_back(frames_.turretEntry(icon));
            shown.push_back(frames_.hullEntry(icon));
        }
        break;
    }
    }
    // A missing or unreadable file holding both the turret and the hull is named once.
    int missingFile = -1;
    const std::string* lastProblem = nullptr;
    for (int entry : shown) {
        if (entry < 0)
            continue;
        const Outcome& o = iconEntry(entry);
        const std::string what = "icon " + std::to_string(icon) + " (entry " + std::to_string(entry) + "): ";
        if (o.missing && iconFile(IconFileOf(entry)).missing) {
            if (std::exchange(missingFile, IconFileOf(entry)) != IconFileOf(entry))
                add(Severity::Warning, "icon-missing", what + o.fileName + " is not in " + kIconFolder);
        } else if (o.missing) {
            add(Severity::Warning, "icon-missing",
                what + o.fileName + " has no frame " + std::to_string(IconFrameOf(entry)));
        } else if (!o.problem.empty() && (lastProblem == nullptr || *lastProblem != o.problem)) {
            lastProblem = &o.problem;
            add(Severity::Error, "art-broken", what + o.problem);
        }
    }
}

std::vector<CheckFinding> CheckFile(const TOobData& data, ArtCheck* art)
{
    std::vector<CheckFinding> out;
    Checker checker(data, out);
    for (int u = 1; u <= kUnitSlots; ++u)
        if (!IsBlankName(data.units[static_cast<std::size_t>(u)].name))
            checker.unit(u, art);
    const std::vector<CheckFinding> cycles = checker.cycles();
    auto cycle = cycles.begin();
    for (int f = 1; f <= kFormationSlots; ++f) {
        if (IsBlankName(data.formations[static_cast<std::size_t>(f)].name))
            continue;
        const bool onCycle = cycle != cycles.end() && cycle->slot == f;
        checker.formation(f, onCycle ? &*cycle++ : nullptr);
    }
    return out;
}

CheckCounts CountFindings(const std::vector<CheckFinding>& findings)
{
    CheckCounts counts;
    for (const CheckFinding& f : findings)
        ++(f.severity == Severity::Error ? counts.errors : counts.warnings);
    return counts;
}

namespace {

std::string Counted(int n, const char* one, const char* many)
{
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

} // namespace

std::string CheckStatusText(CheckCounts counts)
{
    return "Check: " + Counted(counts.errors, "error", "errors") + ", "
        + Counted(counts.warnings, "warning", "warnings");
}

std::string CheckWindowText(CheckCounts counts)
{
    if (counts.errors == 0 && counts.warnings == 0)
        return "No problems found";
    return Counted(counts.errors, "error", "errors") + ", " + Counted(counts.warnings, "warning", "warnings");
}

std::string CheckSummaryText(CheckCounts counts, int files)
{
    return Counted(counts.errors, "error", "errors") + ", " + Counted(counts.warnings, "warning", "warnings")
        + " in " + Counted(files, "file", "files");
}

std::string CsvField(const std::string& text)
{
    if (text.find_first_of(",\"\r\n") == std::string::npos)
        return text;
    std::string out = "\"";
    for (char c : text) {
        if (c == '"')
            out += '"';
        out += c;
    }
    return out + "\"";
}

std::vector<CheckFinding> SaveTidyFindings(const std::vector<TidyChange>& changes)
{
    std::vector<CheckFinding> out;
    for (const TidyChange& c : changes) {
        const std::string what = c.slot == 0 ? TidyChangeText(c)
            : c.cleared                      ? "nation " + c.before + " and its dates cleared (no name)"
                                             : c.field + ' ' + c.before + " -> " + c.after;
        out.push_back({ Severity::Warning, "saved", c.table, c.slot, c.name,
            what + " (brought into range by the save)" });
    }
    return out;
}

} // namespace tarnwick::core
