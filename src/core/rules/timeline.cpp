#include "core/rules/timeline.h"

#include "core/rules/unitrules.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

namespace tarnwick::core {

namespace {

constexpr int kUnitCategories = 7;
constexpr int kKnownFormTypes = 6; // 0..5 have names

constexpr std::array<const char*, 12> kMonthNames { "January", "February", "March", "April", "May", "June",
    "July", "August", "September", "October", "November", "December" };

int ClampMonth(int month)
{
    return std::clamp(month, 1, 12);
}

bool SoundMonth(int month)
{
    return month >= 1 && month <= 12;
}

std::string Padded(int value, int width)
{
    std::string text = std::to_string(value);
    if (static_cast<int>(text.size()) < width)
        text.insert(0, static_cast<std::size_t>(width) - text.size(), '0');
    return text;
}

std::string CsvField(const std::string& text)
{
    if (text.find_first_of(",\"\r\n") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}

int FloorTo(int value, int step)
{
    return value >= 0 ? value / step * step : -((-value + step - 1) / step) * step;
}

} // namespace

SpanFlag SpanFlagFor(YearMonth from, YearMonth to)
{
    if (!SoundMonth(from.month) || !SoundMonth(to.month))
        return SpanFlag::Month;
    if (MonthNumber(to) < MonthNumber(from))
        return SpanFlag::Backwards;
    return SpanFlag::None;
}

std::vector<TimelineRow> TimelineRows(const TOobData& data, TimelineTable table)
{
    std::vector<TimelineRow> rows;
    auto add = [&](int slot, const std::string& rawName, int code, int category, YearMonth from,
                   YearMonth to) {
        std::string name = TrimName(rawName);
        if (name.empty())
            return;
        rows.push_back({ table, slot, std::move(name), code, category, from, to, SpanFlagFor(from, to) });
    };
    if (table == TimelineTable::Units) {
        rows.reserve(kUnitSlots);
        for (int s = 1; s <= kUnitSlots; ++s) {
            const TOobUnit& u = data.units[static_cast<std::size_t>(s)];
            add(s, u.name, u.unitClass, UnitClassCategory(u.unitClass), { u.yearAvail, u.monthAvail },
                { u.yearUnavail, u.monthUnavail });
        }
    } else {
        rows.reserve(kFormationSlots);
        for (int s = 1; s <= kFormationSlots; ++s) {
            const TOobFormation& f = data.formations[static_cast<std::size_t>(s)];
            add(s, f.name, f.formType, f.formType, { f.yearAvail, f.monthAvail },
                { f.yearUnavail, f.monthUnavail });
        }
    }
    return rows;
}

int MonthNumber(YearMonth ym)
{
    return ym.year * 12 + ym.month - 1;
}

YearMonth MonthOf(int monthNumber)
{
    const int year = FloorTo(monthNumber, 12) / 12;
    return { year, monthNumber - year * 12 + 1 };
}

MonthSpan DrawnSpan(const TimelineRow& row)
{
    const int a = MonthNumber({ row.from.year, ClampMonth(row.from.month) });
    const int b = MonthNumber({ row.to.year, ClampMonth(row.to.month) });
    return { std::min(a, b), std::max(a, b) };
}

bool AvailableIn(const TimelineRow& row, int monthNumber)
{
    return row.flag == SpanFlag::None && MonthNumber(row.from) <= monthNumber
        && monthNumber <= MonthNumber(row.to);
}

std::vector<int> TimelineCategories(TimelineTable table, const std::vector<TimelineRow>& rows)
{
    std::vector<int> categories;
    if (table == TimelineTable::Units) {
        for (int c = 1; c <= kUnitCategories; ++c)
            categories.push_back(c);
        return categories;
    }
    for (int t = 0; t < kKnownFormTypes; ++t)
        categories.push_back(t);
    std::vector<int> others;
    for (const TimelineRow& row : rows)
        if (row.category >= kKnownFormTypes)
            others.push_back(row.category);
    std::sort(others.begin(), others.end());
    others.erase(std::unique(others.begin(), others.end()), others.end());
    categories.insert(categories.end(), others.begin(), others.end());
    return categories;
}

namespace {

template <class Counts>
std::vector<CategoryCount> Tally(TimelineTable table, const std::vector<TimelineRow>& rows, Counts counts)
{
    std::vector<CategoryCount> result;
    for (int c : TimelineCategories(table, rows))
        result.push_back({ c, 0 });
    for (const TimelineRow& row : rows) {
        if (!counts(row))
            continue;
        for (CategoryCount& entry : result)
            if (entry.category == row.category) {
                ++entry.count;
                break;
            }
    }
    return result;
}

} // namespace

std::vector<CategoryCount> CountsInMonth(
    TimelineTable table, const std::vector<TimelineRow>& rows, int monthNumber)
{
    return Tally(
        table, rows, [monthNumber](const TimelineRow& row) { return AvailableIn(row, monthNumber); });
}

std::vector<CategoryCount> RowsPerCategory(TimelineTable table, const std::vector<TimelineRow>& rows)
{
    return Tally(table, rows, [](const TimelineRow&) { return true; });
}

std::string TimelineCategoryName(TimelineTable table, int category)
{
    if (table == TimelineTable::Units)
        return "Category " + std::to_string(category);
    if (category >= 0 && category < kKnownFormTypes)
        return FormTypeName(static_cast<std::uint8_t>(category));
    return "Type " + std::to_string(category);
}

Rgb TimelineCategoryColour(TimelineTable table, int category)
{
    static constexpr std::array<Rgb, 7> kPalette { {
        { 0, 114, 178 }, // blue
        { 230, 159, 0 }, // orange
        { 0, 158, 115 }, // bluish green
        { 213, 94, 0 }, // vermilion
        { 86, 180, 233 }, // sky blue
        { 204, 121, 167 }, // reddish purple
        { 120, 94, 60 }, // brown
    } };
    const int index = table == TimelineTable::Units ? category - 1 : category;
    if (index < 0 || index >= (table == TimelineTable::Units ? kUnitCategories : kKnownFormTypes))
        return { 150, 150, 150 };
    return kPalette[static_cast<std::size_t>(index)];
}

std::string HexColour(Rgb colour)
{
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", colour.r, colour.g, colour.b);
    return text;
}

std::string MonthYearText(YearMonth ym)
{
    const std::string year = std::to_string(1900 + ym.year);
    if (!SoundMonth(ym.month))
        return "month " + std::to_string(ym.month) + " of " + year;
    return std::string(kMonthNames[static_cast<std::size_t>(ym.month - 1)]) + " " + year;
}

std::string IsoMonthText(YearMonth ym)
{
    return std::to_string(1900 + ym.year) + "-" + Padded(ym.month, 2);
}

const char* SpanFlagName(SpanFlag flag)
{
    switch (flag) {
    case SpanFlag::Backwards:
        return "backwards";
    case SpanFlag::Month:
        return "month";
    case SpanFlag::None:
        break;
    }
    return "";
}

std::string TimelineTooltip(const TimelineRow& row, const NameTables& names)
{
    std::string text = row.name + "\n";
    if (row.table == TimelineTable::Units)
        text += "Unit " + Padded(row.slot, 3) + ", class " + std::to_string(row.code) + " "
            + UnitClassName(names, static_cast<std::uint8_t>(row.code));
    else
        text += "Formation " + Padded(row.slot, 3) + ", type " + std::to_string(row.code) + " "
            + FormTypeName(static_cast<std::uint8_t>(row.code));
    text += "\n" + MonthYearText(row.from) + " to " + MonthYearText(row.to);
    if (row.flag == SpanFlag::Backwards)
        text += "\nThe span ends before it starts";
    else if (row.flag == SpanFlag::Month)
        text += "\nA month lies outside 1 to 12";
    return text;
}

std::string TimelineCountsText(TimelineTable table, int monthNumber, const std::vector<CategoryCount>& counts)
{
    std::string text = MonthYearText(MonthOf(monthNumber)) + ":";
    const char* separator = " ";
    for (const CategoryCount& c : counts) {
        text += separator + TimelineCategoryName(table, c.category) + " " + std::to_string(c.count);
        separator = ", ";
    }
    return text;
}

std::string TimelineCsv(const std::vector<TimelineRow>& units, const std::vector<TimelineRow>& formations)
{
    std::string text = "table,slot,name,category,from,to,flag\n";
    for (const auto* rows : { &units, &formations })
        for (const TimelineRow& row : *rows)
            text += std::string(row.table == TimelineTable::Units ? "units" : "formations") + ","
                + std::to_string(row.slot) + "," + CsvField(row.name) + "," + std::to_string(row.category)
                + "," + IsoMonthText(row.from) + "," + IsoMonthText(row.to) + "," + SpanFlagName(row.flag)
                + "\n";
    return text;
}

// ---- Layout ----

TimelineAxis TimelineAxisFor(const std::vector<TimelineRow>& rows)
{
    if (rows.empty())
        return {};
    int first = MonthOf(DrawnSpan(rows.front()).first).year;
    int last = MonthOf(DrawnSpan(rows.front()).last).year;
    for (const TimelineRow& row : rows) {
        const MonthSpan span = DrawnSpan(row);
        first = std::min(first, MonthOf(span.first).year);
        last = std::max(last, MonthOf(span.last).year);
    }
    constexpr int kRound = 5;
    return { FloorTo(first, kRound), FloorTo(last, kRound) + kRound };
}

int TimelineTickStep(double pixelsPerYear, int minSpacing)
{
    for (int step : { 1, 2, 5, 10, 20, 50 })
        if (step * pixelsPerYear >= minSpacing)
            return step;
    return 100;
}

TimelineLayout LayoutTimeline(TimelineTable table, const std::vector<TimelineRow>& rows,
    const TimelineGeometry& geometry, std::optional<int> onlyCategory)
{
    TimelineLayout layout;
    layout.axis = TimelineAxisFor(rows);
    layout.plotLeft = geometry.nameColumn;
    layout.plotRight = std::max(layout.plotLeft + 1, geometry.width - geometry.rightMargin);
    const int months = (layout.axis.endYear - layout.axis.firstYear) * 12;
    layout.pixelsPerMonth = static_cast<double>(layout.plotRight - layout.plotLeft) / std::max(months, 1);

    std::vector<int> order(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i)
        order[i] = static_cast<int>(i);
    std::stable_sort(order.begin(), order.end(), [&rows](int a, int b) {
        const MonthSpan sa = DrawnSpan(rows[static_cast<std::size_t>(a)]);
        const MonthSpan sb = DrawnSpan(rows[static_cast<std::size_t>(b)]);
        if (sa.first != sb.first)
            return sa.first < sb.first;
        if (sa.last != sb.last)
            return sa.last < sb.last;
        return rows[static_cast<std::size_t>(a)].slot < rows[static_cast<std::size_t>(b)].slot;
    });

    int y = 0;
    for (int category : TimelineCategories(table, rows)) {
        if (onlyCategory && *onlyCategory != category)
            continue;
        TimelineGroupBand band { category, y, 0 };
        const std::size_t firstBar = layout.bars.size();
        int rowY = y + geometry.groupHeight;
        for (int index : order) {
            const TimelineRow& row = rows[static_cast<std::size_t>(index)];
            if (row.category != category)
                continue;
            const MonthSpan span = DrawnSpan(row);
            layout.bars.push_back(
                { index, rowY, TimelineX(layout, span.first), TimelineX(layout, span.last + 1) });
            rowY += geometry.rowHeight;
        }
        band.count = static_cast<int>(layout.bars.size() - firstBar);
        if (band.count == 0)
            continue;
        layout.groups.push_back(band);
        y = rowY;
    }
    layout.bodyHeight = y;
    return layout;
}

int TimelineX(const TimelineLayout& layout, int monthNumber)
{
    const int fromStart = monthNumber - layout.axis.firstYear * 12;
    return layout.plotLeft + static_cast<int>(std::lround(fromStart * layout.pixelsPerMonth));
}

std::optional<int> TimelineMonthAt(const TimelineLayout& layout, int x)
{
    if (x < layout.plotLeft || x >= layout.plotRight || layout.pixelsPerMonth <= 0)
        return std::nullopt;
    const int month = static_cast<int>(std::floor((x - layout.plotLeft) / layout.pixelsPerMonth));
    return layout.axis.firstYear * 12
        + std::min(month, (layout.axis.endYear - layout.axis.firstYear) * 12 - 1);
}

std::optional<int> TimelineBarAt(const TimelineLayout& layout, int y, const TimelineGeometry& geometry)
{
    // Bars are in y order, each on its own line.
    auto it = std::upper_bound(layout.bars.begin(), layout.bars.end(), y,
        [](int value, const TimelineBar& bar) { return value < bar.y; });
    if (it == layout.bars.begin())
        return std::nullopt;
    --it;
    if (y >= it->y + geometry.rowHeight)
        return std::nullopt;
    return static_cast<int>(it - layout.bars.begin());
}

} // namespace tarnwick::core
