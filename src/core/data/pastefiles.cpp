#include "core/data/pastefiles.h"

#include "core/data/cp1252.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <type_traits>
#include <vector>

namespace tarnwick::core {

namespace {

constexpr const char* kLineEnd = "\r\n";
constexpr std::string_view kFreeMark = "XUNUSEDX";

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

// A name as a field: in double quotes, its quotes doubled, when it holds a
// comma, a quote or a line break; as it is otherwise, as files always held it.
void AppendName(std::string& out, const std::string& name)
{
    if (name.find_first_of(",\"\r\n") == std::string::npos) {
        out += name;
        return;
    }
    out += '"';
    for (char c : name) {
        if (c == '"')
            out += '"';
        out += c;
    }
    out += '"';
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
        AppendName(out, entry.record.name);
        out += ',';
        VisitColumns(entry.record, [&](const std::string&, const auto& field) {
            out += std::to_string(static_cast<int>(field));
            out += ',';
        });
        out += kLineEnd;
    }
}

// Reads a text field by field. A name runs up to the next comma, line breaks
// included; a number also ends at its line end, so that a row need not end in a
// comma (spreadsheets save rows without one). A field that starts with a double
// quote runs to the closing quote, "" standing for one quote, as spreadsheets
// write fields.
class CsvReader {
public:
    enum class End { Comma, LineEnd, TextEnd };
    enum class Quote { None, Closed, Unclosed, TextAfter };
    struct Field {
        std::string text;
        End end = End::TextEnd;
        int line = 1; // line on which the field starts
        Quote quote = Quote::None;
        bool terminated() const { return end != End::TextEnd; }
    };

    explicit CsvReader(std::string_view text)
        : text_(text)
    {
    }

    // A field up to the next comma (consumed), or with stopAtLineEnd up to the
    // next CR or LF (left for skipLine). A quoted field also ends at a line end
    // after its closing quote.
    Field next(bool stopAtLineEnd)
    {
        if (pos_ < text_.size() && text_[pos_] == '"')
            return quoted();
        const std::size_t start = pos_;
        const int startLine = line_;
        End end = End::TextEnd;
        while (pos_ < text_.size()) {
            const char c = text_[pos_];
            if (c == ',') {
                end = End::Comma;
                break;
            }
            if (stopAtLineEnd && (c == '\r' || c == '\n')) {
                end = End::LineEnd;
                break;
            }
            if (c == '\n')
                ++line_;
            ++pos_;
        }
        Field field { std::string(text_.substr(start, pos_ - start)), end, startLine };
        if (end == End::Comma)
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

    // The rest of the current line, without its line end.
    std::string_view restOfLine() const
    {
        std::string_view rest = text_.substr(pos_);
        rest = rest.substr(0, rest.find('\n'));
        if (!rest.empty() && rest.back() == '\r')
            rest.remove_suffix(1);
        return rest;
    }

    // True when nothing but blanks, line breaks and other control characters is left.
    bool atEnd() const
    {
        return std::all_of(text_.begin() + static_cast<std::ptrdiff_t>(pos_), text_.end(),
            [](char c) { return static_cast<unsigned char>(c) <= ' '; });
    }

    int line() const { return line_; }

private:
    Field quoted()
    {
        Field field;
        field.line = line_;
        ++pos_; // the opening quote
        for (;;) {
            if (pos_ >= text_.size()) {
                field.quote = Quote::Unclosed;
                return field;
            }
            const char c = text_[pos_++];
            if (c == '"') {
                if (pos_ < text_.size() && text_[pos_] == '"') {
                    field.text += '"';
                    ++pos_;
                    continue;
                }
                break;
            }
            if (c == '\n')
                ++line_;
            field.text += c;
        }
        field.quote = Quote::Closed;
        if (pos_ >= text_.size())
            return field;
        const char after = text_[pos_];
        if (after == ',') {
            field.end = End::Comma;
            ++pos_;
        } else if (after == '\r' || after == '\n') {
            field.end = End::LineEnd;
        } else {
            field.quote = Quote::TextAfter;
        }
        return field;
    }

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

RowError At(int line, int column, const std::string& what)
{
    return { "Line " + std::to_string(line) + ", column " + std::to_string(column) + ": " + what, line,
        column };
}

// A quoted field that does not end at its closing quote is refused where it is.
void CheckQuotes(const CsvReader::Field& field, int column)
{
    if (field.quote == CsvReader::Quote::Unclosed)
        throw At(field.line, column, "the quoted field has no closing quote");
    if (field.quote == CsvReader::Quote::TextAfter)
        throw At(field.line, column,
            "text follows the closing quote; a quote inside a quoted field is written twice (\"\")");
}

// A name of a UTF-8 file in Windows-1252, the code page names are kept in; a
// character it has no byte for is refused, shown with its code.
std::string NameFromUtf8(const std::string& name, int line)
{
    std::string bytes;
    for (std::size_t at = 0; at < name.size();) {
        std::size_t next = at + 1;
        while (next < name.size() && (static_cast<unsigned char>(name[next]) & 0xC0) == 0x80)
            ++next;
        const std::string one = name.substr(at, next - at);
        const std::u32string c = Utf8ToUtf32(one).value_or(U"\uFFFD");
        const std::optional<unsigned char> byte = c.size() == 1 ? Cp1252Byte(c[0]) : std::nullopt;
        if (!byte) {
            char code[16];
            std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(c[0]));
            // The character itself only when it is printable.
            const std::string shown = c[0] >= 0xA0 ? "'" + one + "' " : "";
            throw At(
                line, 2, "the name holds " + shown + "(" + code + "), which Windows-1252 has no byte for");
        }
        bytes += static_cast<char>(*byte);
        at = next;
    }
    return bytes;
}

std::int32_t ParseNumber(const CsvReader::Field& field, int column)
{
    CheckQuotes(field, column);
    std::string_view digits = field.text;
    auto isBlank = [](char c) { return c == ' ' || c == '\t'; };
    while (!digits.empty() && isBlank(digits.front()))
        digits.remove_prefix(1);
    while (!digits.empty() && isBlank(digits.back()))
        digits.remove_suffix(1);
    try {
        return StrToInt(digits);
    } catch (const EConvertError&) {
        throw At(field.line, column, "'" + std::string(field.text) + "' is not a valid integer value");
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

// What a row that holds no comma was meant to be.
std::string SeparatorProblem(std::string_view line)
{
    if (line.find(';') != std::string_view::npos)
        return "the fields are separated by semicolons; expected a comma after each field";
    return "the line holds no comma; expected a comma after each field";
}

template <class Record> int CountColumns()
{
    Record dummy {};
    int columns = 0;
    VisitColumns(dummy, [&](const std::string&, auto&) { ++columns; });
    return columns;
}

template <class Record> int ReadRows(PasteBuffer<Record>& buffer, CsvReader& reader, int rows, bool utf8)
{
    const int lastColumn = 2 + CountColumns<Record>();
    int filled = 0;
    for (int k = 1; k <= rows; ++k) {
        if (reader.atEnd())
            break;
        const std::string_view rowText = reader.restOfLine();
        const CsvReader::Field number = reader.next(true);
        const int rowLine = number.line;
        CheckQuotes(number, 1);
        if (number.end == CsvReader::End::TextEnd)
            throw At(rowLine, 1, "the file ends in the middle of the row");
        if (number.end == CsvReader::End::LineEnd)
            throw At(rowLine, 1, SeparatorProblem(rowText));
        const CsvReader::Field name = reader.next(false);
        CheckQuotes(name, 2);
        if (!name.terminated())
            throw At(rowLine, 2, "the file ends in the middle of the row");
        if (name.end == CsvReader::End::LineEnd)
            throw At(rowLine, 2, "the row ends here; expected " + std::to_string(lastColumn) + " columns");
        if (name.text != kFreeMark) {
            TPasteEntry<Record>& entry = buffer[k];
            int column = 2;
            VisitColumns(entry.record, [&](const std::string&, auto& field) {
                ++column;
                const CsvReader::Field value = reader.next(true);
                if (column < lastColumn && value.end != CsvReader::End::Comma)
                    throw At(rowLine, column,
                        value.end == CsvReader::End::TextEnd
                            ? "the file ends in the middle of the row"
                            : "the row ends here; expected " + std::to_string(lastColumn) + " columns");
                Store(field, ParseNumber(value, column));
            });
            std::string newName = name.text.substr(0, name.text.find('\0'));
            if (utf8)
                newName = NameFromUtf8(newName, rowLine);
            entry.record.name = newName.substr(0, kNameLength);
            entry.used = true;
            entry.sourceNation = 99;
            ++filled;
        }
        reader.skipLine();
    }
    return filled;
}

template <class Record>
ImportResult ImportInto(PasteBuffer<Record>& buffer, const KindInfo& info, CsvReader& reader, bool utf8)
{
    ImportResult result;
    auto copy = std::make_unique<PasteBuffer<Record>>(buffer);
    try {
        result.entriesRead = ReadRows(*copy, reader, info.importRows, utf8);
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

ImportResult Refused(ImportResult::Kind kind, std::string message)
{
    ImportResult result;
    result.kind = kind;
    result.message = std::move(message);
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

    // A spreadsheet may save the file as UTF-8: with a byte order mark, or
    // without one, when the bytes beyond ASCII happen to be well-formed UTF-8
    // (Windows-1252 text seldom is). Anything else is Windows-1252 as always.
    bool utf8 = false;
    if (text.starts_with("\xEF\xBB\xBF")) {
        text.remove_prefix(3);
        utf8 = true;
        if (const std::size_t bad = FirstInvalidUtf8(text); bad != std::string_view::npos) {
            const auto line
                = 1 + std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(bad), '\n');
            return Refused(ImportResult::Kind::BadLayout,
                pathForMessages + ": line " + std::to_string(line)
                    + ": the file starts with a UTF-8 byte order mark but is not UTF-8 here");
        }
    } else if (std::any_of(
                   text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; })) {
        utf8 = FirstInvalidUtf8(text) == std::string_view::npos;
    }
    CsvReader reader(text);

    // The title line ends at its line end, with or without the comma after it;
    // its first field names the kind of file.
    const std::string_view titleLine = reader.restOfLine();
    const std::string_view title = titleLine.substr(0, titleLine.find(','));
    auto has = [&](std::string_view word) { return title.find(word) != std::string_view::npos; };
    if (!((has("PASTE") && has(info.keyword)) || (has("DUMP") && has(info.keyword))))
        return Refused(ImportResult::Kind::NotPasteFile,
            pathForMessages + " appears NOT to be a valid tarnwick FTK .csv file! ");
    if (titleLine.find('\r') != std::string_view::npos)
        return Refused(ImportResult::Kind::BadLayout,
            pathForMessages + ": the lines end in CR only; expected lines ending in CR LF or LF");
    reader.skipLine(); // the title line
    const std::string_view header = reader.restOfLine();
    if (!header.empty() && header.find(',') == std::string_view::npos)
        return Refused(
            ImportResult::Kind::BadLayout, pathForMessages + ": line 2: " + SeparatorProblem(header));
    reader.skipLine(); // column labels

    switch (kind) {
    case PasteKind::Weapon:
        return ImportInto(buffers.weaponBuffer, info, reader, utf8);
    case PasteKind::Unit:
        return ImportInto(buffers.unitBuffer, info, reader, utf8);
    case PasteKind::Formation:
        return ImportInto(buffers.formationBuffer, info, reader, utf8);
    }
    return {};
}

std::string ImportFailureText(const ImportResult& result, const std::string& path)
{
    std::string message = result.message.empty() ? "cannot import " + path : result.message;
    if (result.kind == ImportResult::Kind::CannotOpen && !result.reason.empty())
        message += ": " + result.reason;
    else if (message.find(path) == std::string::npos)
        message = path + ": " + message;
    return message;
}

ImportResult ImportBuffer(PasteBuffers& buffers, PasteKind kind, const std::filesystem::path& path)
{
    const std::string shownPath = path.string();
    std::vector<std::uint8_t> bytes;
    const IoResult read = ReadWholeFile(path, bytes, kMaxImportBytes, "a paste-buffer file");
    if (read.kind == IoResult::Kind::TooLarge)
        return Refused(ImportResult::Kind::TooLarge, read.message());
    if (!read.ok()) {
        ImportResult result
            = Refused(ImportResult::Kind::CannotOpen, "Unable to open csv output file " + shownPath);
        result.reason = read.reason;
        return result;
    }
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    return ImportBufferText(buffers, kind, text, shownPath);
}

} // namespace tarnwick::core
