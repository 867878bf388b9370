#include "core/rules/gridform.h"

#include "core/data/globals.h"
#include "core/data/ooblayout.h"

#include <algorithm>

namespace tarnwick::core {

namespace {

char UpperByte(char c)
{
    const auto b = static_cast<unsigned char>(c);
    if (b >= 'a' && b <= 'z')
        return static_cast<char>(b - 0x20);
    if (b >= 0xE0 && b <= 0xFE && b != 0xF7) // à..þ without ÷
        return static_cast<char>(b - 0x20);
    switch (b) {
    case 0x9A: // š
    case 0x9C: // œ
    case 0x9E: // ž
        return static_cast<char>(b - 0x10);
    case 0xFF: // ÿ
        return static_cast<char>(0x9F);
    default:
        return c;
    }
}

// A whole cell as a number: an optional minus sign and up to 18 digits.
std::optional<long long> CellNumber(std::string_view text)
{
    std::size_t i = 0;
    const bool negative = !text.empty() && text[0] == '-';
    if (negative)
        i = 1;
    if (i == text.size() || text.size() - i > 18)
        return std::nullopt;
    long long value = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9')
            return std::nullopt;
        value = value * 10 + (text[i] - '0');
    }
    return negative ? -value : value;
}

} // namespace

std::optional<unsigned> GridColourRgb(GridCellColour colour)
{
    switch (colour) {
    case GridCellColour::White:
        return 0xFFFFFFu;
    case GridCellColour::Aqua:
        return 0x00FFFFu;
    case GridCellColour::Red:
        return 0xFF0000u;
    case GridCellColour::Normal:
    case GridCellColour::Grey:
        break;
    }
    return std::nullopt;
}

std::string GridUpper(std::string_view bytes)
{
    std::string upper(bytes);
    for (char& c : upper)
        c = UpperByte(c);
    return upper;
}

int FindGridRow(const GridRows& rows, int column, std::string_view search)
{
    if (search.empty() || column < 0)
        return -1;
    const std::string wanted = GridUpper(search);
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const auto& cells = rows[r].cells;
        if (static_cast<std::size_t>(column) >= cells.size())
            continue;
        const std::string_view text = cells[static_cast<std::size_t>(column)];
        if (text.size() >= wanted.size() && GridUpper(text.substr(0, wanted.size())) == wanted)
            return static_cast<int>(r);
    }
    return -1;
}

void SortGridRows(GridRows& rows, int column, bool numeric, bool descending)
{
    if (column < 0)
        return;
    const auto c = static_cast<std::size_t>(column);
    // The keys are worked out once; the sort then moves whole rows.
    struct Key {
        std::optional<long long> number;
        std::string text;
        std::size_t index;
    };
    std::vector<Key> keys(rows.size());
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const std::string_view text = c < rows[r].cells.size() ? std::string_view(rows[r].cells[c]) : "";
        keys[r].number = numeric ? CellNumber(text) : std::nullopt;
        keys[r].text = GridUpper(text);
        keys[r].index = r;
    }
    auto less = [](const Key& a, const Key& b) {
        if (a.number && b.number)
            return *a.number < *b.number;
        if (a.number != b.number)
            return a.number.has_value(); // numbers before texts
        return a.text < b.text;
    };
    std::stable_sort(keys.begin(), keys.end(),
        [&](const Key& a, const Key& b) { return descending ? less(b, a) : less(a, b); });
    GridRows sorted;
    sorted.reserve(rows.size());
    for (const Key& k : keys)
        sorted.push_back(std::move(rows[k.index]));
    rows = std::move(sorted);
}

std::vector<std::vector<std::string>> ParseTabText(std::string_view text)
{
    std::vector<std::vector<std::string>> rows;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find_first_of("\r\n", pos);
        const std::string_view line = text.substr(pos, end == std::string_view::npos ? text.npos : end - pos);
        std::vector<std::string> cells;
        std::size_t start = 0;
        for (;;) {
            const std::size_t tab = line.find('\t', start);
            cells.emplace_back(line.substr(start, tab == line.npos ? line.npos : tab - start));
            if (tab == line.npos)
                break;
            start = tab + 1;
        }
        rows.push_back(std::move(cells));
        if (end == std::string_view::npos)
            break;
        pos = end + (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1);
    }
    return rows;
}

std::string ToTabText(const std::vector<std::vector<std::string>>& cells)
{
    std::string text;
    for (const auto& row : cells) {
        for (std::size_t c = 0; c < row.size(); ++c) {
            if (c > 0)
                text += '\t';
            for (char ch : row[c])
                text += (ch == '\t' || ch == '\r' || ch == '\n') ? ' ' : ch;
        }
        text += '\n';
    }
    return text;
}

std::optional<std::string> PasteIntoGrid(GridRows& rows, std::span<const GridColumn> columns, int row,
    int column, const std::vector<std::vector<std::string>>& cells)
{
    if (cells.empty())
        return std::string("There is nothing to paste: the clipboard holds no text.");
    const int rowCount = static_cast<int>(rows.size());
    const int columnCount = static_cast<int>(columns.size());
    if (row < 0 || row >= rowCount || column < 0 || column >= columnCount)
        return std::string("Choose the cell to paste into first.");
    const int pastedRows = static_cast<int>(cells.size());
    if (row + pastedRows > rowCount)
        return "The text has " + std::to_string(pastedRows) + " rows, but only "
            + std::to_string(rowCount - row) + " rows are left from the current row. Nothing was pasted.";
    for (const auto& line : cells) {
        const int width = static_cast<int>(line.size());
        if (column + width > columnCount)
            return "The text has " + std::to_string(width) + " columns, but only "
                + std::to_string(columnCount - column)
                + " columns are left from the current column. Nothing was pasted.";
        for (int c = column; c < column + width; ++c)
            if (!columns[static_cast<std::size_t>(c)].editable)
                return std::string("The column \"") + columns[static_cast<std::size_t>(c)].title
                    + "\" cannot be edited. Nothing was pasted.";
    }
    for (int r = 0; r < pastedRows; ++r) {
        auto& target = rows[static_cast<std::size_t>(row + r)].cells;
        if (target.size() < columns.size())
            target.resize(columns.size());
        const auto& line = cells[static_cast<std::size_t>(r)];
        for (std::size_t c = 0; c < line.size(); ++c)
            target[static_cast<std::size_t>(column) + c] = line[c];
    }
    return std::nullopt;
}

std::optional<int> ReadGridNumber(std::string_view text, int min, int max)
{
    try {
        return ClampValue(min, max, text);
    } catch (const EConvertError&) {
        return std::nullopt;
    }
}

std::optional<int> ReadGridNumber(std::string_view text, const OobField& field)
{
    const FieldRange range = field.range();
    const std::optional<int> value = ReadGridNumber(text, range.low, range.high);
    if (!value)
        return std::nullopt;
    return StoredValue(field, *value);
}

std::string GridCellErrorText(int slot, const char* columnTitle, std::string_view text)
{
    return "Slot " + ThreeDigits(slot) + ", column \"" + columnTitle + "\": '" + std::string(text)
        + "' is not a valid integer value. Nothing was saved.";
}

} // namespace tarnwick::core
