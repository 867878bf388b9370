#pragma once

// The availability timeline of one file: a row per unit or formation that is
// not empty, with its span from the month it becomes available to the last
// month it is available, grouped by category (the unit-class category for
// units, the formation type for formations); counts per category for a month;
// the texts, colours and layout the timeline window and the SVG picture share.

#include "core/data/globals.h"
#include "core/data/records.h"
#include "core/graphics/indexedimage.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tarnwick::core {

enum class TimelineTable { Units, Formations };

// A span that makes no sense is kept and marked: Month when a month lies
// outside 1..12, else Backwards when it ends before it starts.
enum class SpanFlag { None, Backwards, Month };

// A year index (0 is 1900) and a month as stored (1..12 when sound).
struct YearMonth {
    int year = 0;
    int month = 0;

    bool operator==(const YearMonth&) const = default;
};

struct TimelineRow {
    TimelineTable table = TimelineTable::Units;
    int slot = 0;
    std::string name; // bytes, trimmed
    int code = 0; // the unit class or the formation type
    int category = 0; // units: 1..7; formations: the formation type
    YearMonth from; // first month available
    YearMonth to; // last month available
    SpanFlag flag = SpanFlag::None;

    bool operator==(const TimelineRow&) const = default;
};

SpanFlag SpanFlagFor(YearMonth from, YearMonth to);

// The rows of one table in slot order; an empty slot (blank name) has none.
std::vector<TimelineRow> TimelineRows(const TOobData& data, TimelineTable table);

// Months counted from January 1900: year * 12 + month - 1.
int MonthNumber(YearMonth ym);
YearMonth MonthOf(int monthNumber);

// The months a bar covers, [first, last]. A month outside 1..12 is taken as the
// nearest of them, a backwards span is drawn from its end to its start.
struct MonthSpan {
    int first = 0;
    int last = 0;
};
MonthSpan DrawnSpan(const TimelineRow& row);

// A row counts as available in a month only when its span is sound.
bool AvailableIn(const TimelineRow& row, int monthNumber);

// The categories of a table in the order they are listed: units 1..7,
// formations the types 0..5 and then any other type the rows hold.
std::vector<int> TimelineCategories(TimelineTable table, const std::vector<TimelineRow>& rows);

struct CategoryCount {
    int category = 0;
    int count = 0;

    bool operator==(const CategoryCount&) const = default;
};
// How many rows of each category are available in the month, for every category
// of TimelineCategories (zeros included).
std::vector<CategoryCount> CountsInMonth(
    TimelineTable table, const std::vector<TimelineRow>& rows, int monthNumber);
// How many rows each category holds, whatever their dates.
std::vector<CategoryCount> RowsPerCategory(TimelineTable table, const std::vector<TimelineRow>& rows);

// "Category 4"; formation types by their names, an unknown type as "Type 9".
std::string TimelineCategoryName(TimelineTable table, int category);

// Colours that stay apart for colour-blind eyes; unknown formation types grey.
Rgb TimelineCategoryColour(TimelineTable table, int category);
// The outline of a bar whose span makes no sense.
inline constexpr Rgb kTimelineFaultColour { 200, 0, 0 };
// "#0072b2".
std::string HexColour(Rgb colour);

// "March 1940"; a month outside 1..12 reads "month 13 of 1940".
std::string MonthYearText(YearMonth ym);
// "1940-03" (year index 40, month 3); a month outside 1..12 is written as it is.
std::string IsoMonthText(YearMonth ym);
// "", "backwards" or "month".
const char* SpanFlagName(SpanFlag flag);

// The lines shown when the pointer rests on a bar: name, slot and class (or
// type), dates, and what is wrong with the span.
std::string TimelineTooltip(const TimelineRow& row, const NameTables& names);
// The status line for the month under the cursor:
// "June 1985: Category 1 14, Category 2 0, ...".
std::string TimelineCountsText(
    TimelineTable table, int monthNumber, const std::vector<CategoryCount>& counts);

// Both tables as CSV text: the header "table,slot,name,category,from,to,flag",
// then a line per row; a name holding a comma, a quote or a line break is quoted.
std::string TimelineCsv(const std::vector<TimelineRow>& units, const std::vector<TimelineRow>& formations);

// ---- Layout ----

// The years on the axis: whole decades around every row, [firstYear, endYear).
struct TimelineAxis {
    int firstYear = 40;
    int endYear = 125;
};
TimelineAxis TimelineAxisFor(const std::vector<TimelineRow>& rows);
// Years between two labelled ticks so that labels stand at least minSpacing apart.
int TimelineTickStep(double pixelsPerYear, int minSpacing);

// Sizes in pixels the caller measured or chose.
struct TimelineGeometry {
    int width = 900; // the whole picture
    int nameColumn = 170; // slot and name, left of the plot
    int rightMargin = 16;
    int rowHeight = 16;
    int barHeight = 11;
    int groupHeight = 22; // the heading line of a group
};

struct TimelineBar {
    int row = 0; // index into the rows
    int y = 0; // top of the row line, from the top of the body
    int x0 = 0; // from the left of the picture
    int x1 = 0;
};
struct TimelineGroupBand {
    int category = 0;
    int y = 0; // top of the heading line
    int count = 0;
};
struct TimelineLayout {
    TimelineAxis axis;
    int plotLeft = 0;
    int plotRight = 0;
    double pixelsPerMonth = 1;
    std::vector<TimelineGroupBand> groups;
    std::vector<TimelineBar> bars; // in reading order
    int bodyHeight = 0;
};
// The body of the picture: a band per category that has rows (in the order of
// TimelineCategories), its rows sorted by first month, last month and slot.
// With a filter only that category is laid out.
TimelineLayout LayoutTimeline(TimelineTable table, const std::vector<TimelineRow>& rows,
    const TimelineGeometry& geometry, std::optional<int> onlyCategory = std::nullopt);
// The x of the start of a month, and the month at an x (nothing outside the plot).
int TimelineX(const TimelineLayout& layout, int monthNumber);
std::optional<int> TimelineMonthAt(const TimelineLayout& layout, int x);
// The bar whose line holds y (body coordinates), as an index into layout.bars.
std::optional<int> TimelineBarAt(const TimelineLayout& layout, int y, const TimelineGeometry& geometry);

} // namespace tarnwick::core
