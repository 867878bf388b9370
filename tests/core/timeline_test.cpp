#include "core/graphics/timelinesvg.h"
#include "core/rules/timeline.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace tarnwick::core {
namespace {

void SetUnit(TOobData& d, int slot, const char* name, int unitClass, YearMonth from, YearMonth to)
{
    TOobUnit& u = d.units[static_cast<std::size_t>(slot)];
    u.name = name;
    u.unitClass = static_cast<std::uint8_t>(unitClass);
    u.yearAvail = static_cast<std::uint8_t>(from.year);
    u.monthAvail = static_cast<std::uint8_t>(from.month);
    u.yearUnavail = static_cast<std::uint8_t>(to.year);
    u.monthUnavail = static_cast<std::uint8_t>(to.month);
}

// Hand-made records: class 0 is category 1, class 1 category 4, class 23 category 2.
std::unique_ptr<TOobData> Records()
{
    auto d = std::make_unique<TOobData>();
    SetUnit(*d, 1, "Wolf", 0, { 40, 11 }, { 41, 2 }); // across a year end
    SetUnit(*d, 2, "  Rifles ", 1, { 40, 1 }, { 45, 12 }); // trimmed
    SetUnit(*d, 3, "", 23, { 40, 1 }, { 45, 12 }); // empty slot: no row
    SetUnit(*d, 4, "Odd", 23, { 40, 13 }, { 45, 12 }); // month 13
    SetUnit(*d, 5, "Late", 0, { 44, 6 }, { 42, 1 }); // backwards
    SetUnit(*d, 6, "Hound, \"M\"", 0, { 41, 1 }, { 41, 1 }); // one month
    TOobFormation& f = d->formations[3];
    f.name = "HQ";
    f.formType = 5;
    f.yearAvail = 50;
    f.monthAvail = 1;
    f.yearUnavail = 60;
    f.monthUnavail = 12;
    d->formations[7] = f;
    d->formations[7].name = "Odd type";
    d->formations[7].formType = 9;
    return d;
}

TEST(Timeline, RowsKeepEverySpanAndMarkTheOnesThatMakeNoSense)
{
    const auto d = Records();
    const auto rows = TimelineRows(*d, TimelineTable::Units);
    ASSERT_EQ(rows.size(), 5u);
    struct Expect {
        int slot;
        const char* name;
        int category;
        SpanFlag flag;
    };
    const Expect expected[] = {
        { 1, "Wolf", 1, SpanFlag::None },
        { 2, "Rifles", 4, SpanFlag::None },
        { 4, "Odd", 2, SpanFlag::Month },
        { 5, "Late", 1, SpanFlag::Backwards },
        { 6, "Hound, \"M\"", 1, SpanFlag::None },
    };
    for (std::size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(rows[i].slot);
        EXPECT_EQ(rows[i].slot, expected[i].slot);
        EXPECT_EQ(rows[i].name, expected[i].name);
        EXPECT_EQ(rows[i].category, expected[i].category);
        EXPECT_EQ(rows[i].flag, expected[i].flag);
    }
    // A month outside 1..12 wins over backwards.
    EXPECT_EQ(SpanFlagFor({ 50, 0 }, { 40, 1 }), SpanFlag::Month);

    const auto formations = TimelineRows(*d, TimelineTable::Formations);
    ASSERT_EQ(formations.size(), 2u);
    EXPECT_EQ(formations[1].category, 9);
    EXPECT_EQ(TimelineCategories(TimelineTable::Formations, formations),
        (std::vector<int> { 0, 1, 2, 3, 4, 5, 9 }));
    EXPECT_EQ(TimelineCategoryName(TimelineTable::Formations, 5), "Bn HQ");
    EXPECT_EQ(TimelineCategoryName(TimelineTable::Formations, 9), "Type 9");
}

TEST(Timeline, CountsTakeBothEndMonthsAndOnlySoundSpans)
{
    const auto d = Records();
    const auto rows = TimelineRows(*d, TimelineTable::Units);
    auto count = [&](YearMonth ym, int category) {
        for (const CategoryCount& c : CountsInMonth(TimelineTable::Units, rows, MonthNumber(ym)))
            if (c.category == category)
                return c.count;
        return -1;
    };
    struct Case {
        YearMonth month;
        int category1;
        int category4;
    };
    const Case cases[] = {
        { { 40, 10 }, 0, 1 }, // before Wolf
        { { 40, 11 }, 1, 1 }, // its first month
        { { 41, 1 }, 2, 1 }, // across the year end, with the one-month Hound
        { { 41, 2 }, 1, 1 }, // its last month
        { { 41, 3 }, 0, 1 },
        { { 43, 1 }, 0, 1 }, // the backwards span never counts
        { { 46, 1 }, 0, 0 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(MonthYearText(c.month));
        EXPECT_EQ(count(c.month, 1), c.category1);
        EXPECT_EQ(count(c.month, 4), c.category4);
        EXPECT_EQ(count(c.month, 2), 0); // month 13 never counts
    }
    EXPECT_EQ(TimelineCountsText(TimelineTable::Units, MonthNumber({ 41, 1 }),
                  CountsInMonth(TimelineTable::Units, rows, MonthNumber({ 41, 1 }))),
        "January 1941: Category 1 2, Category 2 0, Category 3 0, Category 4 1, Category 5 0, Category 6 0, "
        "Category 7 0");
}

TEST(Timeline, TextsAndCsv)
{
    EXPECT_EQ(IsoMonthText({ 40, 3 }), "1940-03");
    EXPECT_EQ(IsoMonthText({ 120, 13 }), "2020-13");
    EXPECT_EQ(MonthYearText({ 85, 6 }), "June 1985");
    EXPECT_EQ(MonthYearText({ 40, 0 }), "month 0 of 1940");
    EXPECT_EQ(MonthOf(MonthNumber({ 41, 12 })), (YearMonth { 41, 12 }));

    const auto d = Records();
    const auto units = TimelineRows(*d, TimelineTable::Units);
    const auto formations = TimelineRows(*d, TimelineTable::Formations);
    EXPECT_EQ(TimelineCsv(units, formations),
        "table,slot,name,category,from,to,flag\n"
        "units,1,Wolf,1,1940-11,1941-02,\n"
        "units,2,Rifles,4,1940-01,1945-12,\n"
        "units,4,Odd,2,1940-13,1945-12,month\n"
        "units,5,Late,1,1944-06,1942-01,backwards\n"
        "units,6,\"Hound, \"\"M\"\"\",1,1941-01,1941-01,\n"
        "formations,3,HQ,5,1950-01,1960-12,\n"
        "formations,7,Odd type,9,1950-01,1960-12,\n");

    NameTables names;
    names.unitClassNames[23] = "Main Battle Tank";
    EXPECT_EQ(TimelineTooltip(units[2], names),
        "Odd\nUnit 004, class 23 Main Battle Tank\nmonth 13 of 1940 to December 1945\nA month lies outside 1 "
        "to 12");
    EXPECT_EQ(TimelineTooltip(formations[0], names),
        "HQ\nFormation 003, type 5 Bn HQ\nJanuary 1950 to December 1960");
}

TEST(Timeline, LayoutGroupsByCategoryAndSortsByDate)
{
    const auto d = Records();
    const auto rows = TimelineRows(*d, TimelineTable::Units);
    TimelineGeometry g;
    g.width = 100 + 120 * 6 + 20; // six years at ten pixels a month
    g.nameColumn = 100;
    g.rightMargin = 20;
    const TimelineLayout l = LayoutTimeline(TimelineTable::Units, rows, g);
    EXPECT_EQ(l.axis.firstYear, 40);
    EXPECT_EQ(l.axis.endYear, 50); // month 13 of 1940 is drawn as December
    EXPECT_DOUBLE_EQ(l.pixelsPerMonth, 6.0);
    // Category 1 (Wolf 1940, Hound 1941, Late drawn from 1942), category 2, category 4.
    std::vector<int> slots;
    for (const TimelineBar& bar : l.bars)
        slots.push_back(rows[static_cast<std::size_t>(bar.row)].slot);
    EXPECT_EQ(slots, (std::vector<int> { 1, 6, 5, 4, 2 }));
    ASSERT_EQ(l.groups.size(), 3u);
    EXPECT_EQ(l.groups[1].y, g.groupHeight + 3 * g.rowHeight);
    EXPECT_EQ(l.bodyHeight, 3 * g.groupHeight + 5 * g.rowHeight);
    // Wolf: November 1940 to the end of February 1941, four months.
    EXPECT_EQ(l.bars[0].x0, 100 + 10 * 6);
    EXPECT_EQ(l.bars[0].x1 - l.bars[0].x0, 4 * 6);
    EXPECT_EQ(TimelineMonthAt(l, 100 + 10 * 6 + 5), MonthNumber({ 40, 11 }));
    EXPECT_EQ(TimelineMonthAt(l, 99), std::nullopt);
    EXPECT_EQ(TimelineBarAt(l, g.groupHeight + 1, g), 0);
    EXPECT_EQ(TimelineBarAt(l, 1, g), std::nullopt); // the heading line

    const TimelineLayout only = LayoutTimeline(TimelineTable::Units, rows, g, 4);
    ASSERT_EQ(only.bars.size(), 1u);
    EXPECT_EQ(rows[static_cast<std::size_t>(only.bars[0].row)].slot, 2);
    EXPECT_EQ(TimelineTickStep(10, 40), 5);
}

TEST(Timeline, SvgEscapesNamesAndDrawsOneBarPerRow)
{
    auto d = Records();
    d->units[8] = d->units[1];
    d->units[8].name = "A<b>&\x01\xE9";
    const auto units = TimelineRows(*d, TimelineTable::Units);
    const std::string svg
        = TimelineSvg({ "Test", units, TimelineRows(*d, TimelineTable::Formations), nullptr, 800 });
    std::size_t bars = 0;
    for (std::size_t at = svg.find("class=\"bar\""); at != std::string::npos;
         at = svg.find("class=\"bar\"", at + 1))
        ++bars;
    EXPECT_EQ(bars, units.size() + 2);
    EXPECT_NE(svg.find("008 A&lt;b&gt;&amp;\xEF\xBF\xBD\xC3\xA9</text>"), std::string::npos);
    EXPECT_EQ(svg.find('\x01'), std::string::npos);
}

} // namespace
} // namespace tarnwick::core
