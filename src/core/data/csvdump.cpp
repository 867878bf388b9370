#include "core/data/csvdump.h"

#include <charconv>
#include <cstddef>
#include <string_view>

namespace tarnwick::core {

namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kUnusedMark = "XUNUSEDX,";
constexpr std::string_view kPlaceholder = "-,";

// Placeholders after the unused mark of an empty slot's row.
constexpr int kUnitPlaceholders = 64;
constexpr int kWeaponPlaceholders = 16;
constexpr int kFormationPlaceholders = 30;

// Rough row sizes, so that each file is built in one allocation or two.
constexpr std::size_t kUnitRowGuess = 256;
constexpr std::size_t kWeaponRowGuess = 96;
constexpr std::size_t kFormationRowGuess = 192;

// Appends fields, each followed by a comma.
class Row {
public:
    explicit Row(std::string& out)
        : out_(out)
    {
    }

    Row& number(long long value)
    {
        char digits[24];
        const auto result = std::to_chars(digits, digits + sizeof digits, value);
        out_.append(digits, result.ptr);
        out_.push_back(',');
        return *this;
    }

    Row& text(std::string_view value)
    {
        out_.append(value);
        out_.push_back(',');
        return *this;
    }

private:
    std::string& out_;
};

// A slot is empty when nothing but blanks and control characters is left of its name.
bool IsEmptyName(const std::string& name)
{
    for (char c : name) {
        if (static_cast<unsigned char>(c) > ' ')
            return false;
    }
    return true;
}

// Nation number, nation name and slot number start every row.
void AppendRowStart(std::string& out, int nation, const std::string& nationName, int slot)
{
    Row(out).number(nation).text(nationName).number(slot);
}

void AppendUnusedRow(std::string& out, int placeholders)
{
    out.append(kUnusedMark);
    for (int i = 0; i < placeholders; ++i)
        out.append(kPlaceholder);
    out.append(kLineEnd);
}

std::string UnitHeader()
{
    std::string header
        = "Nation ID,Nationality,OB Slot No,Name,Nation,Class ID,Class,Cost,Size,Crew,Speed,Swim Spd,"
          "Move Class ID,Move Class,Radio%,Survivability,Lift Cap,Load Cost,1st Month Avail,1st Year Avail,"
          "Last Month Avail,Last Year Avail,Fire Control,Stabiliser,Vision,Nr S/D,Rate of Fire,EW,Range "
          "Finder,"
          "Weapon 1,Wpn 1 Name,Wpn1 HE Rds,Wpn1 AP Rds,Wpn1 HEAT Rds,Wpn1 SABOT Rds,Wpn1 Sound,";
    for (int n = 2; n <= 4; ++n) {
        const std::string k = std::to_string(n);
        header += "Weapon " + k + ",Wpn " + k + " Name,Wpn" + k + " HE Rds,Wpn" + k + " AP Rds,Wpn" + k
            + " Sound,";
    }
    for (const char* kind : { "Steel", "HEAT", "ERA" }) {
        for (const char* facing : { "HF", "HS", "HR", "TF", "TS", "TR", "Top" })
            header += std::string(kind) + " " + facing + ",";
    }
    header += "Unit Sound,Graphic (Icon) ID,Picture (LBM) ID";
    header += kLineEnd;
    return header;
}

std::string FormationHeader()
{
    std::string header = "Nation ID,Nationality,OB Slot No,Name,Country,Form Type,FT Desc,Buy Page,BP Desc,"
                         "Avail From Mo,Avail From Yr,Avail To Mo,Avail To Yr,Exp Mod,Mor Mod,";
    for (int i = 1; i <= 9; ++i)
        header += "Subunit 0" + std::to_string(i) + ",Description" + std::to_string(i) + ",";
    header += "Subunit 10,Description,";
    header += kLineEnd;
    return header;
}

// The name of the weapon a unit carries; a number that names no weapon gives none.
std::string_view WeaponNameOf(const TOobData& data, int weapon)
{
    return IsWeaponSlot(weapon) ? std::string_view(data.weapons[static_cast<std::size_t>(weapon)].name)
                                : std::string_view();
}

void AppendMemberDescription(std::string& out, const TOobData& data, int member)
{
    if (IsUnitSlot(member)) {
        out.push_back('[');
        out.append(data.units[static_cast<std::size_t>(member)].name);
        out.push_back(']');
    } else if (IsSubFormationMember(member)) {
        out.append(data.formations[static_cast<std::size_t>(member - 1000)].name);
    }
    out.push_back(',');
}

} // namespace

std::array<std::string, 3> CsvDumpFileNames(int nation)
{
    const std::string prefix
        = std::string(nation >= 0 && nation <= 9 ? "obatDUMP0" : "obatDUMP") + std::to_string(nation);
    return { prefix + "unit.csv", prefix + "wpns.csv", prefix + "fmns.csv" };
}

std::string BuildUnitCsv(const TOobData& data, int nation, const NameTables& names)
{
    const std::string nationName = NationName(names, nation);
    std::string out = UnitHeader();
    out.reserve(out.size() + kUnitSlots * (kUnitRowGuess + nationName.size()));
    for (int slot = 1; slot <= kUnitSlots; ++slot) {
        const TOobUnit& u = data.units[static_cast<std::size_t>(slot)];
        AppendRowStart(out, nation, nationName, slot);
        if (IsEmptyName(u.name)) {
            AppendUnusedRow(out, kUnitPlaceholders);
            continue;
        }
        Row row(out);
        row.text(u.name)
            .number(u.nation)
            .number(u.unitClass)
            .text(UnitClassName(names, u.unitClass))
            .number(u.cost)
            .number(u.size)
            .number(u.crew)
            .number(u.speed)
            .number(u.swim)
            .number(u.moveClass)
            .text(MoveClassName(u.moveClass))
            .number(u.radio)
            .number(u.survivability)
            .number(u.carry)
            .number(u.weight)
            .number(u.monthAvail)
            .number(u.yearAvail)
            .number(u.monthUnavail)
            .number(u.yearUnavail)
            .number(u.fireControl)
            .number(u.stabiliser)
            .number(u.vision)
            .number(u.smokeDischargers)
            .number(u.rof)
            .number(u.ew)
            .number(u.rangeFinder);
        // Weapon 1 also carries the HEAT and sabot rounds.
        row.number(u.weapon[0])
            .text(WeaponNameOf(data, u.weapon[0]))
            .number(u.heAmmo[0])
            .number(u.apAmmo[0])
            .number(u.heatAmmo)
            .number(u.sabotAmmo)
            .number(u.weaponSound[0]);
        for (std::size_t n = 1; n < 4; ++n) {
            row.number(u.weapon[n])
                .text(WeaponNameOf(data, u.weapon[n]))
                .number(u.heAmmo[n])
                .number(u.apAmmo[n])
                .number(u.weaponSound[n]);
        }
        for (const auto* armour : { &u.steelArmour, &u.heatArmour, &u.eraArmour }) {
            for (std::uint8_t value : *armour)
                row.number(value);
        }
        row.number(u.unitSound).number(u.icon).number(u.lbm);
        out.append(kLineEnd);
    }
    return out;
}

std::string BuildWeaponCsv(const TOobData& data, int nation, const NameTables& names)
{
    const std::string nationName = NationName(names, nation);
    std::string out
        = "Nation ID,Nationality,OB Slot No,Name,Weapon Class,Weapon Size,Warhead Size,HE Pen,HE Kill,"
          "AP Pen,AP Kill,Accuracy,Range,Sabot Range,Sabot Pen,HEAT Pen,";
    out.append(kLineEnd);
    out.reserve(out.size() + kWeaponSlots * (kWeaponRowGuess + nationName.size()));
    for (int slot = 1; slot <= kWeaponSlots; ++slot) {
        const TOobWeapon& w = data.weapons[static_cast<std::size_t>(slot)];
        AppendRowStart(out, nation, nationName, slot);
        if (IsEmptyName(w.name)) {
            AppendUnusedRow(out, kWeaponPlaceholders);
            continue;
        }
        Row(out)
            .text(w.name)
            .number(w.weaponClass)
            .number(w.weaponSize)
            .number(w.warheadSize)
            .number(w.hePen)
            .number(w.heKill)
            .number(w.apPen)
            .number(w.apKill)
            .number(w.accuracy)
            .number(w.range)
            .number(w.sabotRange)
            .number(w.sabotPen)
            .number(w.heatPen);
        out.append(kLineEnd);
    }
    return out;
}

std::string BuildFormationCsv(const TOobData& data, int nation, const NameTables& names)
{
    const std::string nationName = NationName(names, nation);
    std::string out = FormationHeader();
    out.reserve(out.size() + kFormationSlots * (kFormationRowGuess + nationName.size()));
    for (int slot = 1; slot <= kFormationSlots; ++slot) {
        const TOobFormation& f = data.formations[static_cast<std::size_t>(slot)];
        AppendRowStart(out, nation, nationName, slot);
        if (IsEmptyName(f.name)) {
            AppendUnusedRow(out, kFormationPlaceholders);
            continue;
        }
        Row(out)
            .text(f.name)
            .number(f.nation)
            .number(f.formType)
            .text(FormTypeName(f.formType))
            .number(f.buyPage)
            .text(BuyPageName(f.buyPage))
            .number(f.monthAvail)
            .number(f.yearAvail)
            .number(f.monthUnavail)
            .number(f.yearUnavail)
            .number(f.expMod)
            .number(f.moraleMod);
        for (std::uint16_t member : f.slot) {
            Row(out).number(member);
            AppendMemberDescription(out, data, member);
        }
        out.append(kLineEnd);
    }
    return out;
}

std::array<IoResult, 3> DumpCsv(const TOobData& data, int nation, const NameTables& names,
    const std::filesystem::path& dir, const WriterFactory& factory)
{
    const std::array<std::string, 3> fileNames = CsvDumpFileNames(nation);
    std::array<IoResult, 3> results;
    // Each file is built just before it is written, so only one is held at a time.
    results[0] = WriteFileAtomic(dir / fileNames[0], BuildUnitCsv(data, nation, names), factory);
    results[1] = WriteFileAtomic(dir / fileNames[1], BuildWeaponCsv(data, nation, names), factory);
    results[2] = WriteFileAtomic(dir / fileNames[2], BuildFormationCsv(data, nation, names), factory);
    return results;
}

} // namespace tarnwick::core
