#include "core/data/pastefiles.h"

#include "core/data/cp1252.h"
#include "core/data/csvdump.h"
#include "core/data/recordfields.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace tarnwick::core {

namespace {

constexpr const char* kLineEnd = "\r\n";
constexpr std::string_view kFreeMark = "XUNUSEDX";

struct KindInfo {
    const char* title; // start of the title line
    const char* dirWord; // follows the folder and a path separator in the title line
    const char* keyword; // the title of a file for this kind must contain it
    int freeFields; // "X" fields after "XUNUSEDX" on a free line
    int importRows; // rows an import reads
    const char* plural; // "units"
};

KindInfo Info(PasteKind kind)
{
    switch (kind) {
    case PasteKind::Weapon:
        return { "WEAPON PASTE BUFFER FROM ", "tarn", "WEAPON", 13, kPasteEntries, "weapons" };
    case PasteKind::Unit:
        return { "UNIT PASTE BUFFER FROM ", "Tarn", "UNIT", 59, kPasteEntries, "units" };
    case PasteKind::Formation:
        return { "FORMATION PASTE BUFFER FROM ", "Tarn", "FORMATION", 27, kFormationSlots, "formations" };
    }
    return { "", "", "", 0, 0, "" };
}

OobTable TableOfKind(PasteKind kind)
{
    switch (kind) {
    case PasteKind::Weapon:
        return OobTable::Weapons;
    case PasteKind::Unit:
        break;
    case PasteKind::Formation:
        return OobTable::Formations;
    }
    return OobTable::Units;
}

// The numeric columns files have always had after the slot and the name: the
// label, and the field's name in the field table when it differs.
struct Column {
    std::string_view label;
    std::string_view field = {};
};

constexpr Column kUnitColumns[] = { { "Nationality", "Nation" }, { "Class", "Class ID" }, { "Cost" },
    { "Size" }, { "Crew" }, { "Speed" }, { "Swim Speed", "Swim Spd" }, { "Movement Class", "Move Class ID" },
    { "Radio%" }, { "Survivability" }, { "Lift Capacity", "Lift Cap" }, { "Load Cost" }, { "1st Year Avail" },
    { "Last Year Avail" }, { "Fire Control" }, { "Stabiliser" }, { "Vision" }, { "No of SD", "Nr S/D" },
    { "Rate of Fire" }, { "EW Factor", "EW" }, { "Range Finder" }, { "Weapon 1" }, { "Wpn1 HE Rds" },
    { "Wpn1 AP Rds" }, { "Wpn1 HEAT Rds" }, { "Wpn1 SABOT Rds" }, { "Weapon 2" }, { "Wpn2 HE Rds" },
    { "Wpn2 AP Rds" }, { "Weapon 3" }, { "Wpn3 HE Rds" }, { "Wpn3 AP Rds" }, { "Weapon 4" },
    { "Wpn4 HE Rds" }, { "Wpn4 AP Rds" }, { "Steel HF" }, { "Steel HS" }, { "Steel HR" }, { "Steel TF" },
    { "Steel TS" }, { "Steel TR" }, { "Steel Top" }, { "HEAT HF" }, { "HEAT HS" }, { "HEAT HR" },
    { "HEAT TF" }, { "HEAT TS" }, { "HEAT TR" }, { "HEAT Top" }, { "ERA HF" }, { "ERA HS" }, { "ERA HR" },
    { "ERA TF" }, { "ERA TS" }, { "ERA TR" }, { "ERA Top" }, { "Graphic (Icon) ID" },
    { "Picture (LBM) ID" } };

constexpr Column kWeaponColumns[]
    = { { "Weapon Class" }, { "Weapon Size" }, { "Warhead Size" }, { "HE Pen" }, { "HE Kill" }, { "AP Pen" },
          { "AP Kill" }, { "Accuracy" }, { "Range" }, { "Sabot Range" }, { "Sabot Pen" }, { "HEAT Pen" } };

constexpr Column kFormationColumns[] = { { "Country" }, { "Form Type" }, { "Category", "Buy Page" },
    { "Avail From", "Avail From Yr" }, { "To", "Avail To Yr" }, { "Subunit 01" }, { "Subunit 02" },
    { "Subunit 03" }, { "Subunit 04" }, { "Subunit 05" }, { "Subunit 06" }, { "Subunit 07" },
    { "Subunit 08" }, { "Subunit 09" }, { "Subunit 10" } };

// The numeric columns of a kind's files, found in the field table once: the
// columns files have always had, then one for each field they lacked, labelled
// with the field's name. Older readers stop after the first ones.
struct FileColumn {
    std::string_view label;
    std::size_t field; // index in the field table
};

struct FileColumns {
    std::vector<FileColumn> columns;
    std::size_t lasting = 0; // how many of them files have always had
    std::size_t name = 0; // the index of the name field
};

FileColumns Resolve(OobTable table, std::span<const Column> lasting)
{
    FileColumns result;
    result.name = FieldIndex(table, "Name");
    FieldSet listed;
    for (const Column& column : lasting) {
        const std::size_t field = FieldIndex(table, column.field.empty() ? column.label : column.field);
        result.columns.push_back({ column.label, field });
        listed.set(field);
    }
    result.lasting = result.columns.size();
    const std::span<const OobField> fields = OobLayoutOf(table).fields;
    for (std::size_t i = 0; i < fields.size(); ++i)
        if (i != result.name && !listed.test(i))
            result.columns.push_back({ fields[i].name, i });
    return result;
}

const FileColumns& ColumnsOf(PasteKind kind)
{
    static const std::array<FileColumns, 3> all = {
        Resolve(OobTable::Weapons, kWeaponColumns),
        Resolve(OobTable::Units, kUnitColumns),
        Resolve(OobTable::Formations, kFormationColumns),
    };
    return all[static_cast<std::size_t>(kind)];
}

std::string HeaderLine(PasteKind kind)
{
    std::string line = "Slot No,Name,";
    for (const FileColumn& column : ColumnsOf(kind).columns) {
        line += column.label;
        line += ',';
    }
    return line + kLineEnd;
}

// A name as a field: in double quotes, its quotes doubled, when it holds a
// comma, a quote or a line break; as it is otherwise, as files always held it.
void AppendName(std::string& out, const std::string& name)
{
    AppendCsvCell(out, name);
}

template <class Record>
void AppendRows(std::string& out, const PasteBuffer<Record>& buffer, PasteKind kind, int freeFields)
{
    std::string freeTail = std::string(kFreeMark) + ",";
    for (int i = 0; i < freeFields; ++i)
        freeTail += "X,";
    freeTail += kLineEnd;

    const FileColumns& columns = ColumnsOf(kind);
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
        for (const FileColumn& column : columns.columns) {
            out += std::to_string(FieldValue(entry.record, column.field));
            out += ',';
        }
        out += kLineEnd;
    }
}

// Reads a text field by field. A name runs up to the next separator, line
// breaks included; a number also ends at its line end, so that a row need not
// end in a separator (spreadsheets save rows without one). A field that starts with a double
// quote runs to the closing quote, "" standing for one quote, as spreadsheets
// write fields.
class CsvReader {
public:
    enum class End { Separator, LineEnd, TextEnd };
    enum class Quote { None, Closed, Unclosed, TextAfter };
    struct Field {
        std::string text;
        End end = End::TextEnd;
        int line = 1; // line on which the field starts
        Quote quote = Quote::None;
        bool terminated() const { return end != End::TextEnd; }
    };

    CsvReader(std::string_view text, char separator)
        : text_(text)
        , separator_(separator)
    {
    }

    // A field up to the next separator (consumed), or with stopAtLineEnd up to the
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
            if (c == separator_) {
                end = End::Separator;
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
        if (end == End::Separator)
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
        if (after == separator_) {
            field.end = End::Separator;
            ++pos_;
        } else if (after == '\r' || after == '\n') {
            field.end = End::LineEnd;
        } else {
            field.quote = Quote::TextAfter;
        }
        return field;
    }

    std::string_view text_;
    char separator_;
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

// The separators a file may use, and how a message names them.
struct Separator {
    char c;
    const char* one; // "comma"
    const char* many; // "commas"
};
constexpr Separator kSeparators[]
    = { { ',', "comma", "commas" }, { ';', "semicolon", "semicolons" }, { '\t', "tab", "tabs" } };

const Separator& SeparatorOf(char c)
{
    for (const Separator& s : kSeparators)
        if (s.c == c)
            return s;
    return kSeparators[0];
}

// The separator a header line uses: the one it holds most of outside quotes;
// nothing when it holds none.
std::optional<char> SeparatorOfHeader(std::string_view header)
{
    std::array<std::size_t, std::size(kSeparators)> counts {};
    bool quoted = false;
    for (char c : header) {
        if (c == '"')
            quoted = !quoted;
        for (std::size_t i = 0; i < counts.size() && !quoted; ++i)
            counts[i] += c == kSeparators[i].c ? 1 : 0;
    }
    const auto most = std::max_element(counts.begin(), counts.end());
    if (*most == 0)
        return std::nullopt;
    return kSeparators[static_cast<std::size_t>(most - counts.begin())].c;
}

// What a line that holds no separator was meant to be.
std::string SeparatorProblem(std::string_view line, char separator)
{
    const Separator& expected = SeparatorOf(separator);
    const std::string expectation = std::string("expected a ") + expected.one + " after each field";
    for (const Separator& other : kSeparators)
        if (other.c != separator && line.find(other.c) != std::string_view::npos)
            return std::string("the fields are separated by ") + other.many + "; " + expectation;
    return std::string("the line holds no ") + expected.one + "; " + expectation;
}

// How the numeric columns of a file map onto the fields, by its header line:
// the columns files have always had go by position; a later column is read
// when its label names a field that has no column of the first kind.
struct ReadPlan {
    std::vector<std::size_t> fields; // per column after the name; kNoField: skipped
    FieldSet carried; // the fields the file gives, the name included
};

std::string_view TrimBlanks(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

ReadPlan PlanColumns(PasteKind kind, std::string_view header, char separator)
{
    const FileColumns& columns = ColumnsOf(kind);
    ReadPlan plan;
    plan.carried.set(columns.name);
    for (std::size_t i = 0; i < columns.lasting; ++i) {
        plan.fields.push_back(columns.columns[i].field);
        plan.carried.set(columns.columns[i].field);
    }
    CsvReader labels(header, separator);
    std::vector<std::string> found;
    for (CsvReader::Field label = labels.next(true);; label = labels.next(true)) {
        found.push_back(label.text);
        if (label.end != CsvReader::End::Separator)
            break;
    }
    for (std::size_t at = 2 + columns.lasting; at < found.size(); ++at) {
        std::size_t field = kNoField;
        for (std::size_t i = columns.lasting; i < columns.columns.size(); ++i)
            if (columns.columns[i].label == TrimBlanks(found[at]))
                field = columns.columns[i].field;
        plan.fields.push_back(field);
        if (field != kNoField)
            plan.carried.set(field);
    }
    while (plan.fields.size() > columns.lasting && plan.fields.back() == kNoField)
        plan.fields.pop_back();
    return plan;
}

// Field names joined for a message; a run of names that count up in one digit
// reads as one ("Wpn1..4 Sound").
std::string NameList(const std::vector<std::string_view>& names)
{
    // Where b differs from a in one digit only, one higher; npos otherwise.
    auto stepAt = [](std::string_view a, std::string_view b) {
        std::size_t at = std::string_view::npos;
        if (a.size() != b.size())
            return at;
        for (std::size_t i = 0; i < a.size(); ++i) {
            if (a[i] == b[i])
                continue;
            if (at != std::string_view::npos || !std::isdigit(static_cast<unsigned char>(a[i]))
                || b[i] != a[i] + 1)
                return std::string_view::npos;
            at = i;
        }
        return at;
    };
    std::string text;
    for (std::size_t i = 0; i < names.size();) {
        std::size_t end = i + 1;
        const std::size_t at = i + 1 < names.size() ? stepAt(names[i], names[i + 1]) : std::string_view::npos;
        while (at != std::string_view::npos && end < names.size() && stepAt(names[end - 1], names[end]) == at)
            ++end;
        if (!text.empty())
            text += ", ";
        if (end - i >= 3) {
            text += std::string(names[i].substr(0, at + 1)) + ".." + names[end - 1][at]
                + std::string(names[i].substr(at + 1));
        } else {
            end = i + 1;
            text += names[i];
        }
        i = end;
    }
    return text;
}

template <class Record>
int ReadRows(
    PasteBuffer<Record>& buffer, CsvReader& reader, int rows, const ReadPlan& plan, char separator, bool utf8)
{
    const int lastColumn = 2 + static_cast<int>(plan.fields.size());
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
            throw At(rowLine, 1, SeparatorProblem(rowText, separator));
        const CsvReader::Field name = reader.next(false);
        CheckQuotes(name, 2);
        if (!name.terminated())
            throw At(rowLine, 2, "the file ends in the middle of the row");
        if (name.end == CsvReader::End::LineEnd)
            throw At(rowLine, 2, "the row ends here; expected " + std::to_string(lastColumn) + " columns");
        if (name.text != kFreeMark) {
            TPasteEntry<Record>& entry = buffer[k];
            int column = 2;
            for (const std::size_t field : plan.fields) {
                ++column;
                const CsvReader::Field value = reader.next(true);
                if (column < lastColumn && value.end != CsvReader::End::Separator)
                    throw At(rowLine, column,
                        value.end == CsvReader::End::TextEnd
                            ? "the file ends in the middle of the row"
                            : "the row ends here; expected " + std::to_string(lastColumn) + " columns");
                if (field != kNoField)
                    SetFieldValue(entry.record, field, ParseNumber(value, column));
            }
            std::string newName = name.text.substr(0, name.text.find('\0'));
            if (utf8)
                newName = NameFromUtf8(newName, rowLine);
            entry.record.name = newName.substr(0, kNameLength);
            entry.used = true;
            entry.sourceNation = 99;
            entry.fields = plan.carried;
            ++filled;
        }
        reader.skipLine();
    }
    return filled;
}

template <class Record>
ImportResult ImportInto(PasteBuffer<Record>& buffer, const KindInfo& info, CsvReader& reader,
    const ReadPlan& plan, char separator, bool utf8)
{
    ImportResult result;
    auto copy = std::make_unique<PasteBuffer<Record>>(buffer);
    try {
        result.entriesRead = ReadRows(*copy, reader, info.importRows, plan, separator, utf8);
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

// The bytes after a UTF-16 byte order mark as UTF-8; nothing, with the line of
// the fault, when they are not UTF-16.
std::optional<std::string> Utf16ToUtf8(std::string_view bytes, bool bigEndian, int& badLine)
{
    std::string out;
    badLine = 1;
    auto unit = [&](std::size_t at) {
        const auto hi = static_cast<unsigned char>(bytes[at + (bigEndian ? 0 : 1)]);
        const auto lo = static_cast<unsigned char>(bytes[at + (bigEndian ? 1 : 0)]);
        return static_cast<char32_t>((hi << 8) | lo);
    };
    for (std::size_t at = 0; at < bytes.size(); at += 2) {
        if (at + 1 >= bytes.size())
            return std::nullopt;
        char32_t c = unit(at);
        if (c >= 0xDC00 && c <= 0xDFFF)
            return std::nullopt;
        if (c >= 0xD800 && c <= 0xDBFF) {
            if (at + 3 >= bytes.size())
                return std::nullopt;
            const char32_t low = unit(at + 2);
            if (low < 0xDC00 || low > 0xDFFF)
                return std::nullopt;
            c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
            at += 2;
        }
        if (c == '\n')
            ++badLine;
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
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
    out += HeaderLine(kind);
    switch (kind) {
    case PasteKind::Weapon:
        AppendRows(out, buffers.weaponBuffer, kind, info.freeFields);
        break;
    case PasteKind::Unit:
        AppendRows(out, buffers.unitBuffer, kind, info.freeFields);
        break;
    case PasteKind::Formation:
        AppendRows(out, buffers.formationBuffer, kind, info.freeFields);
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

    // A spreadsheet may save the file as UTF-16 with a byte order mark, or as
    // UTF-8: with a byte order mark, or without one, when the bytes beyond ASCII
    // happen to be well-formed UTF-8 (Windows-1252 text seldom is). Anything
    // else is Windows-1252 as always.
    bool utf8 = false;
    std::string fromUtf16;
    if (text.starts_with("\xFF\xFE") || text.starts_with("\xFE\xFF")) {
        int line = 0;
        std::optional<std::string> converted = Utf16ToUtf8(text.substr(2), text[0] == '\xFE', line);
        if (!converted)
            return Refused(ImportResult::Kind::BadLayout,
                pathForMessages + ": line " + std::to_string(line)
                    + ": the file starts with a UTF-16 byte order mark but is not UTF-16 here");
        fromUtf16 = std::move(*converted);
        text = fromUtf16;
        utf8 = true;
    } else if (text.starts_with("\xEF\xBB\xBF")) {
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

    // The header line tells the separator: commas, or the semicolons or tabs
    // spreadsheets write in some settings.
    const std::string_view titleLine = CsvReader(text, ',').restOfLine();
    const std::size_t headerAt = std::min(text.size(), text.find('\n'));
    const std::string_view header
        = CsvReader(text.substr(std::min(text.size(), headerAt + 1)), ',').restOfLine();
    const std::optional<char> found = SeparatorOfHeader(header);
    const char separator = found.value_or(',');

    // The title line ends at its line end, with or without the separator after
    // it; its first field names the kind of file.
    const std::string_view title = titleLine.substr(0, titleLine.find(separator));
    auto has = [&](std::string_view word) { return title.find(word) != std::string_view::npos; };
    if (!((has("PASTE") && has(info.keyword)) || (has("DUMP") && has(info.keyword))))
        return Refused(ImportResult::Kind::NotPasteFile,
            pathForMessages + " appears NOT to be a valid tarnwick FTK .csv file! ");
    if (titleLine.find('\r') != std::string_view::npos)
        return Refused(ImportResult::Kind::BadLayout,
            pathForMessages + ": the lines end in CR only; expected lines ending in CR LF or LF");
    if (!header.empty() && !found)
        return Refused(
            ImportResult::Kind::BadLayout, pathForMessages + ": line 2: " + SeparatorProblem(header, ','));
    CsvReader reader(text, separator);
    reader.skipLine(); // the title line
    reader.skipLine(); // column labels
    const ReadPlan plan = PlanColumns(kind, header, separator);

    ImportResult result;
    switch (kind) {
    case PasteKind::Weapon:
        result = ImportInto(buffers.weaponBuffer, info, reader, plan, separator, utf8);
        break;
    case PasteKind::Unit:
        result = ImportInto(buffers.unitBuffer, info, reader, plan, separator, utf8);
        break;
    case PasteKind::Formation:
        result = ImportInto(buffers.formationBuffer, info, reader, plan, separator, utf8);
        break;
    }
    if (result.ok() && result.entriesRead > 0) {
        const OobTable table = TableOfKind(kind);
        const std::span<const OobField> fields = OobLayoutOf(table).fields;
        std::vector<std::string_view> lacking;
        for (std::size_t i = 0; i < fields.size(); ++i)
            if (!plan.carried.test(i))
                lacking.push_back(fields[i].name);
        if (!lacking.empty())
            result.note = "The file has no columns for " + NameList(lacking) + "; pasted " + info.plural
                + " keep their own";
    }
    return result;
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
