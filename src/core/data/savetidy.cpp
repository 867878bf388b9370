#include "core/data/savetidy.h"

#include "core/data/tarnio.h"

#include <memory>

namespace tarnwick::core {

namespace {

// The fields a save can write differently from the record, read from a record
// as text so that every kind compares and prints alike.
template <class Rec> struct Tidied {
    const char* name;
    std::string (*value)(const Rec&);
};

std::string Num(int v)
{
    return std::to_string(v);
}

std::string Quoted(const std::string& s)
{
    return '"' + s + '"';
}

const Tidied<TOobUnit> kUnitFields[] = {
    { "Name", [](const TOobUnit& u) { return Quoted(u.name); } },
    { "Nation", [](const TOobUnit& u) { return Num(u.nation); } },
    { "1st Month Avail", [](const TOobUnit& u) { return Num(u.monthAvail); } },
    { "1st Year Avail", [](const TOobUnit& u) { return Num(u.yearAvail); } },
    { "Last Month Avail", [](const TOobUnit& u) { return Num(u.monthUnavail); } },
    { "Last Year Avail", [](const TOobUnit& u) { return Num(u.yearUnavail); } },
};

const Tidied<TOobWeapon> kWeaponFields[] = {
    { "Name", [](const TOobWeapon& w) { return Quoted(w.name); } },
};

const Tidied<TOobFormation> kFormationFields[] = {
    { "Name", [](const TOobFormation& f) { return Quoted(f.name); } },
    { "Country", [](const TOobFormation& f) { return Num(f.nation); } },
    { "Avail From Mo", [](const TOobFormation& f) { return Num(f.monthAvail); } },
    { "Avail From Yr", [](const TOobFormation& f) { return Num(f.yearAvail); } },
    { "Avail To Mo", [](const TOobFormation& f) { return Num(f.monthUnavail); } },
    { "Avail To Yr", [](const TOobFormation& f) { return Num(f.yearUnavail); } },
};

template <class Rec, std::size_t N, std::size_t F>
void Compare(PasteKind kind, std::array<Rec, N>& records, const std::array<Rec, N>& written,
    const Tidied<Rec> (&fields)[F], std::uint16_t nation, std::vector<TidyChange>& out)
{
    for (std::size_t s = 1; s < N; ++s) {
        Rec& rec = records[s];
        const Rec& now = written[s];
        if (rec == now)
            continue;
        const int slot = static_cast<int>(s);
        if (TrimName(now.name).empty()) {
            // An empty slot: only the clearing of one of the file's nation is worth a word.
            if constexpr (requires { rec.nation; })
                if (rec.nation == nation && now.nation == 0 && nation != 0)
                    out.push_back({ kind, slot, std::string(), "Nation", Num(rec.nation), "0", true });
        } else {
            const std::size_t found = out.size();
            for (const Tidied<Rec>& f : fields) {
                std::string before = f.value(rec);
                std::string after = f.value(now);
                if (before != after)
                    out.push_back(
                        { kind, slot, now.name, f.name, std::move(before), std::move(after), false });
            }
            // A value the list above does not name still gets its line.
            if (out.size() == found)
                out.push_back(
                    { kind, slot, now.name, "other fields", "as stored", "as a load reads them", false });
        }
        rec = now;
    }
}

const char* TableWord(PasteKind kind)
{
    switch (kind) {
    case PasteKind::Weapon:
        return "weapon";
    case PasteKind::Unit:
        return "unit";
    case PasteKind::Formation:
        return "formation";
    }
    return "record";
}

} // namespace

std::vector<TidyChange> TidyForSave(TOobData& data, std::uint16_t nation)
{
    // What a load of the saved file reads back is, by definition, what the save
    // changes; the codec itself says so, clamps and all.
    auto written = std::make_unique<TOobData>(data);
    EncodeOobImage(*written, nation);
    DecodeOobImage(*written, nation);

    std::vector<TidyChange> changes;
    if (data.comment != written->comment) {
        changes.push_back(
            { PasteKind::Unit, 0, std::string(), "Comment", Quoted(data.comment), Quoted(written->comment) });
        data.comment = written->comment;
    }
    Compare(PasteKind::Weapon, data.weapons, written->weapons, kWeaponFields, nation, changes);
    Compare(PasteKind::Unit, data.units, written->units, kUnitFields, nation, changes);
    Compare(PasteKind::Formation, data.formations, written->formations, kFormationFields, nation, changes);
    return changes;
}

std::string TidyChangeText(const TidyChange& c)
{
    if (c.slot == 0)
        return "comment: cut to " + c.after;
    std::string text = std::string(TableWord(c.table)) + ' ' + std::to_string(c.slot);
    if (c.cleared)
        return text + ": no name, nation " + c.before + " and its dates cleared";
    if (!c.name.empty())
        text += ' ' + c.name;
    return text + ": " + c.field + ' ' + c.before + " -> " + c.after;
}

} // namespace tarnwick::core
