#include "core/graphics/icontables.h"

#include "core/data/escape.h"
#include "core/data/fileio.h"

#include <algorithm>
#include <charconv>
#include <exception>
#include <optional>

namespace tarnwick::core {

extern const std::string_view kBuiltInIconFrameText;

const std::array<std::uint8_t, 100> nationIconGroup { {
    0, 2, 1, 2, 1, 3, 1, 1, 2, 2, 2, 2, 1, 1, 2, 1, 0, 2, 1, 2, // 0..19
    1, 1, 2, 2, 1, 1, 2, 1, 1, 1, 1, 1, 1, 0, 0, 0, 1, 2, 1, 1, // 20..39
    3, 1, 1, 2, 0, 0, 1, 2, 1, 2, 0, 1, 1, 0, 2, 0, 1, 2, 1, 1, // 40..59
    0, 0, 0, 1, 3, 0, 1, 2, 1, 2, 0, 1, 0, 1, 1, 0, 1, 2, 3, 0, // 60..79
    3, 1, 2, 0, 1, 0, 0, 2, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, // 80..99
} };

namespace {

std::optional<int> ParseInt(std::string_view text)
{
    int v = 0;
    const char* end = text.data() + text.size();
    auto [p, ec] = std::from_chars(text.data(), end, v);
    if (ec != std::errc() || p != end)
        return std::nullopt;
    return v;
}

std::vector<std::string_view> Words(std::string_view line)
{
    std::vector<std::string_view> words;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t'))
            ++i;
        const std::size_t start = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t')
            ++i;
        if (i > start)
            words.push_back(line.substr(start, i - start));
    }
    return words;
}

// A word of the file as a message quotes it.
std::string Shown(std::string_view word)
{
    return EscapeControls(word);
}

bool IsOneOf(int value, std::initializer_list<int> list)
{
    return std::find(list.begin(), list.end(), value) != list.end();
}

} // namespace

IconFrameTable::IconFrameTable()
    : rows_(kIconNumbers)
{
}

const IconFrameRow& IconFrameTable::row(int icon) const
{
    return rows_[static_cast<std::size_t>(std::clamp(icon, 0, kMaxIconNumber))];
}

bool ParseIconFrameTable(std::string_view text, IconFrameTable& table, std::string& error)
{
    IconFrameTable parsed;
    std::vector<int> lineOf(kIconNumbers, 0);
    int lineNumber = 0;
    // A byte order mark is what some editors put before UTF-8 text.
    if (text.starts_with("\xEF\xBB\xBF"))
        text.remove_prefix(3);
    while (!text.empty()) {
        ++lineNumber;
        const std::size_t nl = text.find('\n');
        std::string_view line = text.substr(0, nl);
        text = nl == std::string_view::npos ? std::string_view() : text.substr(nl + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        const std::string where = "line " + std::to_string(lineNumber) + ": ";
        if (line.find('\r') != std::string_view::npos) {
            error = where + "a line ends in CR alone; lines must end in LF or CR LF";
            return false;
        }
        if (line.size() > kMaxIconFrameLine) {
            error = where + "longer than " + std::to_string(kMaxIconFrameLine) + " characters";
            return false;
        }
        const std::vector<std::string_view> words = Words(line);
        if (words.empty() || words[0][0] == '#')
            continue;
        if (words.size() != 3) {
            error = where + "expected three numbers: icon, hull entry and turret entry";
            return false;
        }
        const std::optional<int> icon = ParseInt(words[0]);
        const std::optional<int> hull = ParseInt(words[1]);
        const std::optional<int> turret = ParseInt(words[2]);
        if (!icon || *icon < 0 || *icon > kMaxIconNumber) {
            error = where + "the icon number must be 0..2997, not '" + Shown(words[0]) + "'";
            return false;
        }
        if (lineOf[*icon] != 0) {
            error = where + "icon " + std::to_string(*icon) + " has a row already on line "
                + std::to_string(lineOf[*icon]);
            return false;
        }
        if (!hull || *hull < 0 || *hull > kMaxIconEntry) {
            error = where + "the hull entry must be 0..32767, not '" + Shown(words[1]) + "'";
            return false;
        }
        if (!turret || *turret < -1 || *turret > kMaxIconEntry) {
            error = where + "the turret entry must be -1 or 0..32767, not '" + Shown(words[2]) + "'";
            return false;
        }
        lineOf[*icon] = lineNumber;
        parsed.set(*icon, { *hull, *turret });
    }
    for (int icon = 0; icon < kIconNumbers; ++icon)
        if (lineOf[icon] == 0) {
            error = "no row for icon " + std::to_string(icon);
            return false;
        }
    table = std::move(parsed);
    return true;
}

const IconFrameTable& BuiltInIconFrameTable()
{
    static const IconFrameTable table = [] {
        IconFrameTable t;
        std::string error;
        ParseIconFrameTable(kBuiltInIconFrameText, t, error); // checked by the tests
        return t;
    }();
    return table;
}

IconFrameTableLoad LoadIconFrameTable(const std::filesystem::path& gameDir)
{
    IconFrameTableLoad out { BuiltInIconFrameTable(), {}, {} };
    const std::filesystem::path path = FindFileIgnoringCase(gameDir, kIconFrameTableFileName);
    if (path.empty())
        return out;
    const std::string fallback = "; using the built-in icon frame table";
    try {
        std::vector<std::uint8_t> bytes;
        IoResult r = ReadWholeFile(path, bytes, kMaxIconFrameTableBytes, "an icon frame table");
        if (!r.ok()) {
            out.warning = r.message() + fallback;
            return out;
        }
        std::string error;
        IconFrameTable table;
        const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        if (!ParseIconFrameTable(text, table, error)) {
            out.warning = PathText(path) + ": " + error + fallback;
            return out;
        }
        out.table = std::move(table);
        out.source = path;
    } catch (const std::exception& e) {
        out.table = BuiltInIconFrameTable();
        out.source.clear();
        out.warning = PathText(path) + ": " + e.what() + fallback;
    }
    return out;
}

int NationIconGroup(int nation)
{
    return nationIconGroup[static_cast<std::size_t>(std::clamp(nation, 0, 99))];
}

IconDisplay IconDisplayFor(int unitClass)
{
    if (IsOneOf(unitClass, { 10, 31, 155, 156, 210, 211 }))
        return IconDisplay::None;
    if (IsOneOf(unitClass, { 44, 47, 50, 53, 60, 61, 62, 203, 204, 205, 214, 215 }))
        return IconDisplay::Big;
    return IconDisplay::HullAndTurret;
}

int CrewIconEntry(int unitClass, int category, int crew, int nation)
{
    if (IsOneOf(unitClass, { 49, 187, 188 }) || (category != 4 && category != 5))
        return -1;
    const int m = std::min(crew, 13);
    if (m <= 0)
        return -1;
    int frame = 39 - 3 * m;
    if (IsOneOf(unitClass, { 2, 29, 142, 146, 165, 206, 207, 208, 209, 212 }))
        frame = 42;
    else if (IsOneOf(unitClass, { 4, 7, 144, 149, 176, 177, 193, 194 }))
        frame = 60;
    else if (IsOneOf(unitClass, { 3, 150 }))
        frame = 57 - 3 * std::min(m / 4, 2);
    return (10 + NationIconGroup(nation)) * 100 + frame;
}

} // namespace tarnwick::core
