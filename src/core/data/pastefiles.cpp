#include "core/data/pastefiles.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

namespace tarnwick::core {

namespace {

constexpr const char* kLineEnd = "\r\n";
constexpr std::string_view kFreeMark = "XUNUSEDX";
constexpr std::uintmax_t kMaxImportBytes = 16u * 1024u * 1024u;

// Facing names in the order of the armour arrays.
constexpr const char* kFacingNames[kFacings] = { "HF", "HS", "HR", "TF", "TS", "TR", "Top" };

struct KindInfo {
    const char* title; // start of the title line
    const char* dirWord; // follows the folder and a path separator in the title line
    const char* keyword; // the title of a file for this kind must contain it
    int freeFields; // "X" fields after "XUNUSEDX" on a free line
    int importRows; // rows an import reads
};

KindInfo Info(PasteKind kind)
{
    switch (kind) {
    case PasteKind::Weapon:
        return { "WEAPON PASTE BUFFER FROM ", "tarn", "WEAPON", 13, kPasteEntries };
    case PasteKind::Unit:
        return { "UNIT PASTE BUFFER FROM ", "Tarn", "UNIT", 59, kPasteEntries };
    case PasteKind::Formation:
        return { "FORMATION PASTE BUFFER FROM ", "Tarn", "FORMATION", 27, kFormationSlots };
    }
    return { "", "", "", 0, 0 };
}

// The numeric columns of each kind, in file order. f(label, field) is called once per
// column; the record may be const (export) or not (import).

template <class U, class F>
requires std::is_same_v<std::remove_const_t<U>, TOobUnit>
void VisitColumns(U& u, F&& f)
{
    f("Nationality,", u.nation);
    f("Class,", u.unitClass);
    f("Cost,", u.cost);
    f("Size,", u.size);
    f("Crew,", u.crew);
    f("Speed,", u.speed);
    f("Swim Speed,", u.swim);
    f("Movement Class,", u.moveClass);
    f("Radio%,", u.radio);
    f("Survivability,", u.survivability);
    f("Lift Capacity,", u.carry);
    f("Load Cost,", u.weight);
    f("1st Year Avail,", u.yearAvail);
    f("Last Year Avail,", u.yearUnavail);
    f("Fire Control,", u.fireControl);
    f("Stabiliser,", u.stabiliser);
    f("Vision,", u.vision);
    f("No of SD,", u.smokeDischargers);
    f("Rate of Fire,", u.rof);
    f("EW Factor,", u.ew);
    f("Range Finder,", u.rangeFinder);
    f("Weapon 1,", u.weapon[0]);
    f("Wpn1 HE Rds,", u.heAmmo[0]);
    f("Wpn1 AP Rds,", u.apAmmo[0]);
    f("Wpn1 HEAT Rds,", u.heatAmmo);
    f("Wpn1 SABOT Rds,", u.sabotAmmo);
    for (int n = 2; n <= 4; ++n) {
        const std::string number = std::to_string(n);
        f("Weapon " + number + ",", u.weapon[n - 1]);
        f("Wpn" + number + " HE Rds,", u.heAmmo[n - 1]);
        f("Wpn" + number + " AP Rds,", u.apAmmo[n - 1]);
    }
    for (int i = 0; i < kFacings; ++i)
        f(std::string("Steel ") + kFacingNames[i] + ",", u.steelArmour[i]);
    for (int i = 0; i < kFacings; ++i)
        f(std::string("HEAT ") + kFacingNames[i] + ",", u.heatArmour[i]);
    for (int i = 0; i < kFacings; ++i)
        f(std::string("ERA ") + kFacingNames[i] + ",", u.eraArmour[i]);
    f("Graphic (Icon) ID,", u.icon);
    f("Picture (LBM) ID,", u.lbm);
}

template <class W, class F>
requires std::is_same_v<std::remove_const_t<W>, TOobWeapon>
void VisitColumns(W& w, F&& f)
{
    f("Weapon Class,", w.weaponClass);
    f("Weapon Size,", w.weaponSize);
    f("Warhead Size,", w.warheadSize);
    f("HE Pen,", w.hePen);
    f("HE Kill,", w.heKill);
    f("AP Pen,", w.apPen);
    f("AP Kill,", w.apKill);
    f("Accuracy,", w.accuracy);
    f("Range,", w.range);
    f("Sabot Range,", w.sabotRange);
    f("Sabot Pen,", w.sabotPen);
    f("HEAT Pen,", w.heatPen);
}

// The header names a member and a count column per member; rows hold only the ten
// members, so the labels and the values are listed apart.
std::string FormationLabels()
{
    std::string labels = "Country,Form Type,Category,Avail From,To,";
    for (int i = 1; i <= 10; ++i) {
        const std::string number = (i < 10 ? "0" : "") + std::to_string(i);
        labels += "Subunit " + number + ",Count " + number + ",";
    }
    return labels;
}

template <class Fm, class F>
requires std::is_same_v<std::remove_const_t<Fm>, TOobFormation>
void VisitColumns(Fm& fm, F&& f)
{
    f("", fm.nation);
    f("", fm.formType);
    f("", fm.buyPage);
    f("", fm.yearAvail);
    f("", fm.yearUnavail);
    for (auto& member : fm.slot)
        f("", member);
}

template <class Record> std::string HeaderLine()
{
    std::string line = "Slot No,Name,";
    if constexpr (std::is_same_v<Record, TOobFormation>) {
        line += FormationLabels();
    } else {
        Record dummy {};
        VisitColumns(dummy, [&](const std::string& label, auto&) { line += label; });
    }
    return line + kLineEnd;
}

template <class Record> void AppendRows(std::string& out, const PasteBuffer<Record>& buffer, int freeFields)
{
    std::string freeTail = std::string(kFreeMark) + ",";
    for (int i = 0; i < freeFields; ++i)
        freeTail += "X,";
    freeTail += kLineEnd;

    for (int k = 1; k <= kPasteEntries; ++k) {
        const TPasteEntry<Record>& entry = buffer[k];
        out += std::to_string(k);
        out += ',';
        if (!entry.used) {
            out += freeTail;
            continue;
        }
        out += entry.record.name;
        out += ',';
        VisitColumns(entry.record, [&](const std::string&, const auto& field) {
            out += std::to_string(static_cast<int>(field));
            out += ',';
        });
        out += kLineEnd;
    }
}

// Reads a text field by field: a field runs up to the next comma, line breaks included.
class CsvReader {
public:
    struct Field {
        std::string_view text;
        bool terminated = false; // false when the text ended before a comma
        int line = 1; // line on which the field starts
    };

    explicit CsvReader(std::string_view text)
        : text_(text)
    {
    }

    Field next()
    {
        const std::size_t start = pos_;
        const int startLine = line_;
        while (pos_ < text_.size() && text_[pos_] != ',') {
            if (text_[pos_] == '\n')
                ++line_;
            ++pos_;
        }
        Field field { text_.substr(start, pos_ - start), pos_ < text_.size(), startLine };
        if (field.terminated)
            ++pos_;
        return field;
    }

    void skipLine()
    {
        while (pos_ < text_.size() && text_[pos_] != '\n')
            ++pos_;
        if (pos_ < text_.size()) {
            ++pos_;
            ++line_;
        }
    }

    // True when nothing but blanks, line breaks and other control characters is left.
    bool atEnd() const
    {
        return std::all_of(text_.begin() + static_cast<std::ptrdiff_t>(pos_), text_.end(),
            [](char c) { return static_cast<unsigned char>(c) <= ' '; });
    }

private:
    std::string_view text_;
    std::size_t pos_ = 0;
    int line_ = 1;
};

// Raised inside a row; the import turns it into a BadField result and changes nothing.
struct RowError {
    std::string message;
    int line = 0;
    int column = 0;
};

std::int32_t ParseNumber(const CsvReader::Field& field, int column)
{
    std::string_view digits = field.text;
    auto isBlank = [](char c) { return c == ' ' || c == '\t'; };
    while (!digits.empty() && isBlank(digits.front()))
        digits.remove_prefix(1);
    while (!digits.empty() && isBlank(digits.back()))
        digits.remove_suffix(1);
    try {
        return StrToInt(digits);
    } catch (const EConvertError&) {
        throw RowError { "Line " + std::to_string(field.line) + ", column " + std::to_string(column) + ": '"
                + std::string(field.text) + "' is not a valid integer value",
            field.line, column };
    }
}

template <class T> void Store(T& target, std::int32_t value)
{
    if constexpr (sizeof(T) == 1) {
        // Byte columns keep the low 8 bits: 300 becomes 44.
        target = static_cast<T>(static_cast<std::uint8_t>(static_cast<std::uint32_t>(value) & 0xFFu));
    } else {
        static_assert(std::is_same_v<T, std::uint16_t>);
        target = static_cast<T>(std::clamp<std::int32_t>(value, 0, 65535));
    }
}

CsvReader::Field NextInRow(CsvReader& reader, int rowLine, int column)
{
    CsvReader::Field field = reader.next();
    if (!field.terminated)
        throw RowError { "Line " + std::to_string(rowLine) + ", column " + std::to_string(column)
                + ": the file ends in the middle of the row",
            rowLine, column };
    return field;
}

template <class Record> int ReadRows(PasteBuffer<Record>& buffer, CsvReader& reader, int rows)
{
    int filled = 0;
    for (int k = 1; k <= rows; ++k) {
        if (reader.atEnd())
            break;
        const CsvReader::Field number = reader.next();
        const int rowLine = number.line;
        if (!number.terminated)
            throw RowError { "Line " + std::to_string(rowLine)
                    + ", column 1: the file ends in the middle of the row",
                rowLine, 1 };
        const CsvReader::Field name = NextInRow(reader, rowLine, 2);
        if (name.text != kFreeMark) {
            TPasteEntry<Record>& entry = buffer[k];
            int column = 2;
            VisitColumns(entry.record, [&](const std::string&, auto& field) {
                ++column;
                Store(field, ParseNumber(NextInRow(reader, rowLine, column), column));
            });
            std::string_view newName = name.text.substr(0, name.text.find('\0'));
            entry.record.name = std::string(newName.substr(0, kNameLength));
            entry.used = true;
            entry.sourceNation = 99;
            ++filled;
        }
        reader.skipLine();
    }
    return filled;
}

template <class Record>
ImportResult ImportInto(PasteBuffer<Record>& buffer, const KindInfo& info, CsvReader& reader)
{
    ImportResult result;
    auto copy = std::make_unique<PasteBuffer<Record>>(buffer);
    try {
        result.entriesRead = ReadRows(*copy, reader, info.importRows);
    } catch (const RowError& error) {
        result.kind = ImportResult::Kind::BadField;
        result.message = error.message;
        result.line = error.line;
        result.column = error.column;
        return result;
    }
    buffer.swap(*copy);
    return result;
}

} // namespace

std::string ExportBufferText(const PasteBuffers& buffers, PasteKind kind, const std::string& titleDir,
    int nation, const NameTables& names)
{
    const KindInfo info = Info(kind);
    std::string out;
    out.reserve(kind == PasteKind::Unit ? 200000 : 60000);
    out += info.title;
    out += titleDir;
    out += static_cast<char>(std::filesystem::path::preferred_separator);
    out += info.dirWord;
    out += TwoDigits(nation);
    out += " - ";
    out += NationName(names, nation);
    out += ',';
    out += kLineEnd;
    switch (kind) {
    case PasteKind::Weapon:
        out += HeaderLine<TOobWeapon>();
        AppendRows(out, buffers.weaponBuffer, info.freeFields);
        break;
    case PasteKind::Unit:
        out += HeaderLine<TOobUnit>();
        AppendRows(out, buffers.unitBuffer, info.freeFields);
        break;
    case PasteKind::Formation:
        out += HeaderLine<TOobFormation>();
        AppendRows(out, buffers.formationBuffer, info.freeFields);
        break;
    }
    return out;
}

IoResult ExportBuffer(const PasteBuffers& buffers, PasteKind kind, const std::filesystem::path& path,
    const std::string& titleDir, int nation, const NameTables& names, const WriterFactory& factory)
{
    const std::string text = ExportBufferText(buffers, kind, titleDir, nation, names);
    return WriteFileAtomic(path, std::string_view(text), factory);
}

ImportResult ImportBufferText(
    PasteBuffers& buffers, PasteKind kind, std::string_view text, const std::string& pathForMessages)
{
    const KindInfo info = Info(kind);
    CsvReader reader(text);

    const std::string_view title = reader.next().text;
    auto has = [&](std::string_view word) { return title.find(word) != std::string_view::npos; };
    if (!((has("PASTE") && has(info.keyword)) || (has("DUMP") && has(info.keyword)))) {
        ImportResult result;
        result.kind = ImportResult::Kind::NotPasteFile;
        result.message = pathForMessages + " appears NOT to be a valid tarnwick FTK .csv file! ";
        return result;
    }
    reader.skipLine(); // rest of the title line
    reader.skipLine(); // column labels

    switch (kind) {
    case PasteKind::Weapon:
        return ImportInto(buffers.weaponBuffer, info, reader);
    case PasteKind::Unit:
        return ImportInto(buffers.unitBuffer, info, reader);
    case PasteKind::Formation:
        return ImportInto(buffers.formationBuffer, info, reader);
    }
    return {};
}

ImportResult ImportBuffer(PasteBuffers& buffers, PasteKind kind, const std::filesystem::path& path)
{
    const std::string shownPath = path.string();
    std::error_code ec;
    const std::uintmax_t size = std::filesystem::file_size(path, ec);
    if (!ec && size > kMaxImportBytes) {
        ImportResult result;
        result.kind = ImportResult::Kind::NotPasteFile;
        result.message = shownPath + " is too large for a paste buffer file (more than 16 MiB)";
        return result;
    }

    std::vector<std::uint8_t> bytes;
    const IoResult read = ReadWholeFile(path, bytes);
    if (!read.ok()) {
        ImportResult result;
        result.kind = ImportResult::Kind::CannotOpen;
        result.message = "Unable to open csv output file " + shownPath;
        return result;
    }
    if (bytes.size() > kMaxImportBytes) {
        ImportResult result;
        result.kind = ImportResult::Kind::NotPasteFile;
        result.message = shownPath + " is too large for a paste buffer file (more than 16 MiB)";
        return result;
    }
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    return ImportBufferText(buffers, kind, text, shownPath);
}

} // namespace tarnwick::core
