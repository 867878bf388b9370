#include "core/data/csvdump.h"

#include "core/data/ooblayout.h"
#include "core/data/recordfields.h"
#include "core/data/records.h"

#include <algorithm>
#include <charconv>
#include <cstddef>
#include <span>
#include <string_view>
#include <vector>

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

// A column of the dump: a field by its name in the field table, and the label
// of the column after it that names its value, if any.
struct DumpColumn {
    std::string_view field;
    std::string_view named = {};
};

constexpr DumpColumn kUnitColumns[] = { { "Name" }, { "Nation" }, { "Class ID", "Class" }, { "Cost" },
    { "Size" }, { "Crew" }, { "Speed" }, { "Swim Spd" }, { "Move Class ID", "Move Class" }, { "Radio%" },
    { "Survivability" }, { "Lift Cap" }, { "Load Cost" }, { "1st Month Avail" }, { "1st Year Avail" },
    { "Last Month Avail" }, { "Last Year Avail" }, { "Fire Control" }, { "Stabiliser" }, { "Vision" },
    { "Nr S/D" }, { "Rate of Fire" }, { "EW" }, { "Range Finder" }, { "Weapon 1", "Wpn 1 Name" },
    { "Wpn1 HE Rds" }, { "Wpn1 AP Rds" }, { "Wpn1 HEAT Rds" }, { "Wpn1 SABOT Rds" }, { "Wpn1 Sound" },
    { "Weapon 2", "Wpn 2 Name" }, { "Wpn2 HE Rds" }, { "Wpn2 AP Rds" }, { "Wpn2 Sound" },
    { "Weapon 3", "Wpn 3 Name" }, { "Wpn3 HE Rds" }, { "Wpn3 AP Rds" }, { "Wpn3 Sound" },
    { "Weapon 4", "Wpn 4 Name" }, { "Wpn4 HE Rds" }, { "Wpn4 AP Rds" }, { "Wpn4 Sound" }, { "Steel HF" },
    { "Steel HS" }, { "Steel HR" }, { "Steel TF" }, { "Steel TS" }, { "Steel TR" }, { "Steel Top" },
    { "HEAT HF" }, { "HEAT HS" }, { "HEAT HR" }, { "HEAT TF" }, { "HEAT TS" }, { "HEAT TR" }, { "HEAT Top" },
    { "ERA HF" }, { "ERA HS" }, { "ERA HR" }, { "ERA TF" }, { "ERA TS" }, { "ERA TR" }, { "ERA Top" },
    { "Unit Sound" }, { "Graphic (Icon) ID" }, { "Picture (LBM) ID" } };

constexpr DumpColumn kWeaponColumns[] = { { "Name" }, { "Weapon Class" }, { "Weapon Size" },
    { "Warhead Size" }, { "HE Pen" }, { "HE Kill" }, { "AP Pen" }, { "AP Kill" }, { "Accuracy" }, { "Range" },
    { "Sabot Range" }, { "Sabot Pen" }, { "HEAT Pen" } };

constexpr DumpColumn kFormationColumns[] = { { "Name" }, { "Country" }, { "Form Type", "FT Desc" },
    { "Buy Page", "BP Desc" }, { "Avail From Mo" }, { "Avail From Yr" }, { "Avail To Mo" }, { "Avail To Yr" },
    { "Exp Mod" }, { "Mor Mod" }, { "Subunit 01", "Description1" }, { "Subunit 02", "Description2" },
    { "Subunit 03", "Description3" }, { "Subunit 04", "Description4" }, { "Subunit 05", "Description5" },
    { "Subunit 06", "Description6" }, { "Subunit 07", "Description7" }, { "Subunit 08", "Description8" },
    { "Subunit 09", "Description9" }, { "Subunit 10", "Description10" } };

// A dump's columns found in the field table once.
struct Resolved {
    const OobField* field;
    std::size_t index;
    bool named;
};

std::vector<Resolved> Resolve(OobTable table, std::span<const DumpColumn> columns)
{
    std::vector<Resolved> resolved;
    for (const DumpColumn& column : columns) {
        const std::size_t index = FieldIndex(table, column.field);
        resolved.push_back({ &OobLayoutOf(table).fields[index], index, !column.named.empty() });
    }
    return resolved;
}

// The header: the three columns that start every row, then each column's
// label, each followed by a comma except, in the unit file, the last.
std::string Header(std::span<const DumpColumn> columns, bool commaAtEnd)
{
    std::string header = "Nation ID,Nationality,OB Slot No,";
    for (const DumpColumn& column : columns) {
        header += column.field;
        header += ',';
        if (!column.named.empty()) {
            header += column.named;
            header += ',';
        }
    }
    if (!commaAtEnd)
        header.pop_back();
    header += kLineEnd;
    return header;
}

void AppendNumber(std::string& out, long long value)
{
    char digits[24];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    out.append(digits, result.ptr);
    out.push_back(',');
}

void AppendText(std::string& out, std::string_view value)
{
    AppendCsvCell(out, value);
    out.push_back(',');
}

void AppendUnusedRow(std::string& out, int placeholders)
{
    out.append(kUnusedMark);
    for (int i = 0; i < placeholders; ++i)
        out.append(kPlaceholder);
    out.append(kLineEnd);
}

// The name of the weapon a unit carries; a number that names no weapon gives none.
std::string_view WeaponNameOf(const TOobData& data, int weapon)
{
    return IsWeaponSlot(weapon) ? std::string_view(data.weapons[static_cast<std::size_t>(weapon)].name)
                                : std::string_view();
}

// A unit in brackets, a formation by its name; built in scratch, which keeps
// its buffer from one cell to the next.
std::string_view MemberDescription(const TOobData& data, int member, std::string& scratch)
{
    if (IsUnitSlot(member)) {
        scratch.assign(1, '[');
        scratch += data.units[static_cast<std::size_t>(member)].name;
        scratch += ']';
        return scratch;
    }
    if (IsSubFormationMember(member))
        return data.formations[static_cast<std::size_t>(member - 1000)].name;
    return {};
}

// The text of the column that names a coded value.
void AppendNameOf(std::string& out, FieldCode code, int value, const TOobData& data, const NameTables& names,
    std::string& scratch)
{
    const auto byte = static_cast<std::uint8_t>(value);
    switch (code) {
    case FieldCode::UnitClass:
        AppendText(out, UnitClassName(names, byte));
        return;
    case FieldCode::MoveClass:
        AppendText(out, MoveClassName(byte));
        return;
    case FieldCode::Weapon:
        AppendText(out, WeaponNameOf(data, value));
        return;
    case FieldCode::FormType:
        AppendText(out, FormTypeName(byte));
        return;
    case FieldCode::BuyPage:
        AppendText(out, BuyPageName(byte));
        return;
    case FieldCode::Member:
        AppendText(out, MemberDescription(data, value, scratch));
        return;
    case FieldCode::None:
    case FieldCode::Nation:
    case FieldCode::WeaponClass:
        break;
    }
    AppendText(out, {});
}

// Header and one line per slot: nation number, nation name, slot, then the
// columns, or the unused mark and placeholders for an empty slot.
template <class Record, std::size_t N>
std::string BuildDump(const std::array<Record, N>& table, std::span<const DumpColumn> columns,
    bool commaAtEnd, int placeholders, std::size_t rowGuess, const TOobData& data, int nation,
    const NameTables& names)
{
    // One column list per kind of record: found on the first dump of that kind.
    static const std::vector<Resolved> resolved = Resolve(TableOf<Record>(), columns);
    std::string nationCells;
    AppendNumber(nationCells, nation);
    AppendText(nationCells, NationName(names, nation));
    std::string out = Header(columns, commaAtEnd);
    std::string scratch;
    out.reserve(out.size() + (N - 1) * (rowGuess + nationCells.size()));
    for (std::size_t slot = 1; slot < N; ++slot) {
        const Record& record = table[slot];
        out.append(nationCells);
        AppendNumber(out, static_cast<long long>(slot));
        if (IsBlankName(record.name)) {
            AppendUnusedRow(out, placeholders);
            continue;
        }
        for (const Resolved& column : resolved) {
            if (column.field->kind == FieldKind::Name) {
                AppendText(out, record.name);
                continue;
            }
            const int value = RecordValue(*column.field, record);
            AppendNumber(out, value);
            if (column.named)
                AppendNameOf(out, column.field->code, value, data, names, scratch);
        }
        out.append(kLineEnd);
    }
    return out;
}

} // namespace

void AppendCsvCell(std::string& out, std::string_view text)
{
    const bool plain = std::none_of(
        text.begin(), text.end(), [](char c) { return c == ',' || c == '"' || c == '\r' || c == '\n'; });
    if (plain) {
        out.append(text);
        return;
    }
    out.push_back('"');
    for (char c : text) {
        if (c == '"')
            out.push_back('"');
        out.push_back(c);
    }
    out.push_back('"');
}

std::array<std::string, 3> CsvDumpFileNames(int nation)
{
    const std::string prefix
        = std::string(nation >= 0 && nation <= 9 ? "obatDUMP0" : "obatDUMP") + std::to_string(nation);
    return { prefix + "unit.csv", prefix + "wpns.csv", prefix + "fmns.csv" };
}

std::string BuildUnitCsv(const TOobData& data, int nation, const NameTables& names)
{
    return BuildDump(data.units, kUnitColumns, false, kUnitPlaceholders, kUnitRowGuess, data, nation, names);
}

std::string BuildWeaponCsv(const TOobData& data, int nation, const NameTables& names)
{
    return BuildDump(
        data.weapons, kWeaponColumns, true, kWeaponPlaceholders, kWeaponRowGuess, data, nation, names);
}

std::string BuildFormationCsv(const TOobData& data, int nation, const NameTables& names)
{
    return BuildDump(data.formations, kFormationColumns, true, kFormationPlaceholders, kFormationRowGuess,
        data, nation, names);
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
