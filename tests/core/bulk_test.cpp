// Renumbering nations, reclassifying units, and the weapons and units grids:
// what they change, the texts they report and what a bad cell or paste leaves.

#include "core/data/globals.h"
#include "core/rules/gridunits.h"
#include "core/rules/gridweapons.h"
#include "core/rules/reclassify.h"
#include "core/rules/renationalise.h"
#include "core/rules/renumbernames.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace tarnwick::core;

namespace {

std::unique_ptr<TOobData> Data()
{
    auto data = std::make_unique<TOobData>();
    for (int s = 1; s <= kUnitSlots; ++s)
        data->units[static_cast<std::size_t>(s)].nation = 3;
    for (int s = 1; s <= kFormationSlots; ++s)
        data->formations[static_cast<std::size_t>(s)].nation = 3;
    return data;
}

NameTables Names()
{
    NameTables names;
    for (int n = 1; n <= 99; ++n)
        names.nationNames[static_cast<std::size_t>(n)] = "Nation " + std::to_string(n);
    for (int c = 0; c <= 255; ++c)
        names.unitClassNames[static_cast<std::size_t>(c)] = "Class " + std::to_string(c);
    return names;
}

} // namespace

TEST(Renumber, ChangesOnlyTheNationOfMatchingUnitsAndFormationsAndReportsAsItGoes)
{
    auto data = Data();
    data->units[0].nation = 12; // slot 0 is not data
    data->units[1] = { .name = "Tank", .cost = 50, .nation = 12 };
    data->units[300].nation = 12; // an empty slot takes part too
    data->units[599].nation = 12;
    data->formations[399].nation = 12;
    data->formations[399].slot[0] = 12;
    auto expected = std::make_unique<TOobData>(*data);
    for (auto* u : { &expected->units[1], &expected->units[300], &expected->units[599] })
        u->nation = 34;
    expected->formations[399].nation = 34;

    std::vector<std::string> shown;
    RenumberOutcome first = RunRenumber(*data, "12", "34", [&](const std::string& t) { shown.push_back(t); });
    ASSERT_TRUE(first.ok());
    EXPECT_EQ(first.finalText, "Processed : 3 Units, 1 Formations");
    EXPECT_EQ(shown.front(), "Processed : 0");
    EXPECT_NE(std::find(shown.begin(), shown.end(), "Processed : 3 Units, 0 Formations"), shown.end());
    EXPECT_EQ(shown.back(), first.finalText);
    EXPECT_EQ(data->units, expected->units);
    EXPECT_EQ(data->formations, expected->formations);

    EXPECT_EQ(RunRenumber(*data, "12", "34").finalText, "Processed : 0 Units, 0 Formations");
    // From equal to To rewrites and counts.
    EXPECT_EQ(RunRenumber(*data, "34", "34").finalText, "Processed : 3 Units, 1 Formations");
    EXPECT_EQ(data->units, expected->units);
}

TEST(Renumber, EditsAreReadFilteredAndClampedAndANonNumberChangesNothing)
{
    struct Case {
        const char* text;
        int nation; // -1: no number
        int unitClass;
    };
    const Case cases[]
        = { { "7x", 7, 7 }, { "-5", 0, 0 }, { "", 0, 0 }, { " 1 2", 12, 12 }, { "150", 99, 150 },
              { "300", 99, 255 }, { "-", -1, -1 }, { "1-2", -1, -1 }, { "99999999999", -1, -1 } };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        if (c.nation < 0) {
            EXPECT_THROW(ReadRenatNation(c.text), EConvertError);
            EXPECT_THROW(ReadReclassifyClass(c.text), EConvertError);
            continue;
        }
        EXPECT_EQ(ReadRenatNation(c.text), c.nation);
        EXPECT_EQ(ReadReclassifyClass(c.text), c.unitClass);
    }

    auto data = Data();
    const auto before = std::make_unique<TOobData>(*data);
    RenumberOutcome renat = RunRenumber(*data, "3", "-");
    ASSERT_FALSE(renat.ok());
    EXPECT_EQ(*renat.error, "'-' is not a valid integer value");
    ReclassifyOutcome reclass = RunReclassify(*data, "-", "0");
    ASSERT_FALSE(reclass.ok());
    EXPECT_EQ(data->units, before->units);
    EXPECT_EQ(data->formations, before->formations);
}

TEST(Renumber, HeadingNamesTheLoadedNationWithTwoDigits)
{
    const NameTables names = Names();
    EXPECT_EQ(RenatCurrentTarnText(7, names), "Current Tarn : 07 - Nation 7");
    EXPECT_EQ(RenatCurrentTarnText(12, names), "Current Tarn : 12 - Nation 12");
    EXPECT_EQ(RenatInitialEditText(7), "7");
}

TEST(Renumber, TypedNumbersAreNamedAsTheButtonWillReadThem)
{
    NameTables names;
    names.nationNames[12] = "Karsovia";
    names.nationNames[99] = "Last";
    names.unitClassNames[0] = "Fort";
    names.unitClassNames[255] = "Top";
    using tarnwick::core::RenumberKind;
    const struct {
        RenumberKind kind;
        const char* typed;
        const char* name;
    } cases[] = {
        { RenumberKind::Nation, "12", "Karsovia" },
        { RenumberKind::Nation, "1-2", "'1-2' is not a number" },
        { RenumberKind::Nation, "150", "Last" }, // clamped to 99
        { RenumberKind::Nation, "13", "No nation has the number 13" },
        { RenumberKind::Nation, "", "No nation has the number 0" },
        { RenumberKind::Nation, "-", "'-' is not a number" },
        { RenumberKind::UnitClass, "", "Fort" },
        { RenumberKind::UnitClass, "999", "Top" },
        { RenumberKind::UnitClass, "7", "No unit class has the number 7" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(TypedNumberName(c.kind, c.typed, names), c.name) << c.typed;
}

TEST(Reclassify, ChangesOnlyTheClassOfMatchingUnits)
{
    auto data = Data();
    for (int s : { 2, 40, 41, 300, 599 }) {
        data->units[static_cast<std::size_t>(s)].unitClass = 23;
        data->units[static_cast<std::size_t>(s)].moveClass = 4;
    }
    data->units[0].unitClass = 23;
    auto expected = std::make_unique<TOobData>(*data);
    for (int s : { 2, 40, 41, 300, 599 })
        expected->units[static_cast<std::size_t>(s)].unitClass = 24;

    std::vector<std::string> shown;
    ReclassifyOutcome r = RunReclassify(*data, "23", "24", [&](const std::string& t) { shown.push_back(t); });
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.units, 5);
    EXPECT_EQ(r.statusText, "Reclassified : 5 Units");
    EXPECT_EQ(shown.front(), "Reclassified : 0");
    EXPECT_EQ(shown.back(), "Reclassified : 5 Units");
    EXPECT_EQ(data->units, expected->units);

    EXPECT_EQ(RunReclassify(*data, "23", "24").statusText, "Reclassified : 0");
    EXPECT_EQ(RunReclassify(*data, "24", "24").units, 5);
    // Class 0 counts every empty slot as well.
    EXPECT_EQ(RunReclassify(*data, "0", "0").units, kUnitSlots - 5);
}

TEST(WeaponGrid, SaveReadsEachCellWithTheNumericRuleAndTheNameRule)
{
    struct Case {
        int column;
        const char* text;
        std::uint8_t TOobWeapon::*field;
        int stored;
    };
    const Case cases[] = {
        { 5, "12a", &TOobWeapon::heKill, 12 },
        { 7, "300", &TOobWeapon::hePen, 255 },
        { 8, "-7", &TOobWeapon::apPen, 0 },
        { 12, "", &TOobWeapon::range, 0 },
        { 2, "5", &TOobWeapon::weaponClass, 5 },
    };
    auto data = Data();
    data->weapons[4] = { .name = "Old", .weaponClass = 0, .hePen = 9, .heKill = 9, .apPen = 9, .range = 9 };
    GridRows rows = WeaponGridRows(*data);
    for (const Case& c : cases)
        rows[3].cells[static_cast<std::size_t>(c.column)] = c.text;
    ASSERT_FALSE(SaveWeaponGrid(*data, rows));
    for (const Case& c : cases)
        EXPECT_EQ(data->weapons[4].*c.field, c.stored) << c.text;

    const std::pair<const char*, const char*> names[] = {
        { "A twenty-two char name", "A twenty-two ch" },
        { "Gun              ", "Gun" }, // trailing blanks go before the cut
        { "  Lead", "  Lead" },
        { "Caf\xe9 15 chars!!", "Caf\xe9 15 chars!!" },
    };
    for (const auto& [typed, stored] : names) {
        rows = WeaponGridRows(*data);
        rows[3].cells[1] = typed;
        ASSERT_FALSE(SaveWeaponGrid(*data, rows));
        EXPECT_EQ(data->weapons[4].name, stored);
    }
}

TEST(WeaponGrid, ALoneMinusStoresNothingAndNamesTheCell)
{
    auto data = Data();
    data->weapons[5].name = "Mortar";
    const auto before = std::make_unique<TOobData>(*data);
    GridRows rows = WeaponGridRows(*data);
    SortGridRows(rows, 1, false, true); // the failing row's place follows the sort
    rows[0].cells[7] = "99"; // a good edit above the bad cell
    const auto bad = static_cast<std::size_t>(FindGridRow(rows, 1, "mor"));
    rows[bad].cells[5] = "-";

    const auto error = SaveWeaponGrid(*data, rows);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->row, static_cast<int>(bad));
    EXPECT_EQ(error->column, 5);
    EXPECT_EQ(error->text, "-");
    EXPECT_EQ(
        error->message, "Slot 005, column \"HE Kill\": '-' is not a valid integer value. Nothing was saved.");
    EXPECT_EQ(data->weapons, before->weapons);
}

TEST(WeaponGrid, SortedRowsSaveToTheirOwnSlotsAndUntouchedCellsStay)
{
    auto data = Data();
    for (int s = 1; s <= 20; ++s)
        data->weapons[static_cast<std::size_t>(s)]
            = { .name = "W" + std::to_string(100 - s), .weaponClass = static_cast<std::uint8_t>(s) };
    data->weapons[7].name = "Seven  "; // trailing blanks as read from a file
    GridRows rows = WeaponGridRows(*data);
    SortGridRows(rows, 2, true, true); // class, descending
    ASSERT_EQ(rows[0].slot, 20);
    for (GridRow& row : rows)
        row.cells[4] = std::to_string(row.slot + 1);
    ASSERT_FALSE(SaveWeaponGrid(*data, rows));
    for (int s = 1; s <= kWeaponSlots; ++s)
        EXPECT_EQ(data->weapons[static_cast<std::size_t>(s)].warheadSize, (s + 1) % 256 == 0 ? 255 : s + 1)
            << s;
    EXPECT_EQ(data->weapons[7].name, "Seven  ");
}

TEST(WeaponGrid, ColoursAndClassDescriptions)
{
    TOobWeapon unused;
    TOobWeapon gun { .name = "Gun", .weaponClass = 5 };
    const GridRow a = WeaponGridRow(unused, 1);
    const GridRow b = WeaponGridRow(gun, 2);
    EXPECT_EQ(a.colours[1], GridCellColour::Aqua);
    EXPECT_EQ(b.colours[1], GridCellColour::Normal);
    for (const GridRow* r : { &a, &b }) {
        EXPECT_EQ(r->colours[0], GridCellColour::Grey);
        EXPECT_EQ(r->colours[3], GridCellColour::Grey);
    }
    EXPECT_EQ(b.cells,
        (std::vector<std::string> { "2", "Gun", "5", "Light Gun, autocannon, CMG, BMG", "0", "0", "0", "0",
            "0", "0", "0", "0", "0" }));
    EXPECT_EQ(WeaponGridClassDescription("xx"), "");
    EXPECT_EQ(WeaponGridClassDescription("12a"), "");
    EXPECT_EQ(WeaponGridClassDescription(" 13 "), "Anti Tank Guided Missile");
    EXPECT_EQ(WeaponGridClassDescription("300"), "Unknown Class");
}

TEST(UnitGrid, RowColoursMarkEmptySlotsThatKeepANation)
{
    const NameTables names = Names();
    struct Case {
        TOobUnit unit;
        GridCellColour colour;
    };
    const Case cases[] = {
        { { .name = "", .unitClass = 0, .nation = 7 }, GridCellColour::Red },
        { { .name = "", .unitClass = 0, .nation = 0 }, GridCellColour::Aqua },
        { { .name = "  ", .unitClass = 0, .nation = 7 }, GridCellColour::Red },
        { { .name = "Tank", .unitClass = 0, .nation = 7 }, GridCellColour::White },
        { { .name = "", .unitClass = 3, .nation = 0 }, GridCellColour::White },
    };
    for (const Case& c : cases) {
        const GridRow row = UnitGridRow(c.unit, 9, names);
        for (int col = 0; col < kUnitGridColumnCount; ++col)
            EXPECT_EQ(row.colours[static_cast<std::size_t>(col)],
                col == 0 || col == 4 ? GridCellColour::Grey : c.colour);
    }
    const GridRow row = UnitGridRow({ .name = "Tank",
                                        .unitClass = 44,
                                        .yearAvail = 41,
                                        .yearUnavail = 120,
                                        .cost = 85,
                                        .nation = 7,
                                        .monthAvail = 6,
                                        .monthUnavail = 12 },
        9, names);
    EXPECT_EQ(row.cells,
        (std::vector<std::string> {
            "9", "Tank", "Nation 7", "44", "Class 44", "6", "41", "12", "120", "85" }));
}

TEST(UnitGrid, SaveWritesNameClassDatesAndPointsWithThePageLimits)
{
    const NameTables names = Names();
    auto data = Data();
    data->units[2] = { .name = "Tank",
        .unitClass = 4,
        .yearAvail = 40,
        .yearUnavail = 99,
        .cost = 5000,
        .nation = 3,
        .monthAvail = 5,
        .monthUnavail = 6 };
    data->units[3] = { .name = "Truck", .cost = 5000, .nation = 3 };
    GridRows rows = UnitGridRows(*data, names);
    const std::vector<std::string> typed { "2", "  Heavy Tank  ", "Nation 9", "300", "x", "0", "150", "13",
        "-4", "1a2" };
    rows[1].cells = typed;
    rows[2].cells[9] = "5000"; // typed over with the same text: left alone
    ASSERT_FALSE(SaveUnitGrid(*data, rows, names));
    const TOobUnit& u = data->units[2];
    EXPECT_EQ(u.name, "Heavy Tank");
    EXPECT_EQ(u.nation, 3);
    EXPECT_EQ(u.unitClass, 255);
    EXPECT_EQ(u.monthAvail, 1);
    EXPECT_EQ(u.yearAvail, 120);
    EXPECT_EQ(u.monthUnavail, 12);
    EXPECT_EQ(u.yearUnavail, 0);
    EXPECT_EQ(u.cost, 12);
    EXPECT_EQ(data->units[3].cost, 5000); // untouched: not clamped to the page's 999
    EXPECT_EQ(data->units[3].monthAvail, 0);

    rows = UnitGridRows(*data, names);
    rows[0].cells[9] = "20000";
    rows[598].cells[6] = "--5";
    const auto before = std::make_unique<TOobData>(*data);
    const auto error = SaveUnitGrid(*data, rows, names);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->row, 598);
    EXPECT_EQ(error->column, 6);
    EXPECT_EQ(data->units, before->units);
}

TEST(GridSearch, FindsTheFirstRowInTheShownOrderIgnoringCase)
{
    GridRows rows;
    for (const char* name : { "bren", "tiger", "Tank", "\xe9lan", "Puma" })
        rows.push_back({ static_cast<int>(rows.size()) + 1, { name }, {} });
    EXPECT_EQ(FindGridRow(rows, 0, "T"), 1);
    SortGridRows(rows, 0, false);
    EXPECT_EQ(rows[0].cells[0], "bren");
    EXPECT_EQ(FindGridRow(rows, 0, "T"), 2);
    EXPECT_EQ(rows[2].cells[0], "Tank");
    EXPECT_EQ(FindGridRow(rows, 0, "TI"), 3);
    EXPECT_EQ(FindGridRow(rows, 0, "\xc9L"), 4);
    EXPECT_EQ(FindGridRow(rows, 0, ""), -1);
    EXPECT_EQ(FindGridRow(rows, 0, "X"), -1);
}

TEST(GridSort, NumericColumnsSortByValueAndKeepTiesInOrder)
{
    GridRows rows;
    for (const char* v : { "10", "9", "x", "-1", "9", "100" })
        rows.push_back({ static_cast<int>(rows.size()) + 1, { v }, {} });
    SortGridRows(rows, 0, true);
    std::vector<int> slots;
    for (const GridRow& r : rows)
        slots.push_back(r.slot);
    EXPECT_EQ(slots, (std::vector<int> { 4, 2, 5, 1, 6, 3 }));
}

TEST(GridPaste, TabTextFromASpreadsheet)
{
    using Cells = std::vector<std::vector<std::string>>;
    EXPECT_EQ(ParseTabText("a\tb\r\nc\td\r\n"), (Cells { { "a", "b" }, { "c", "d" } }));
    EXPECT_EQ(ParseTabText("a\n\nb"), (Cells { { "a" }, { "" }, { "b" } }));
    EXPECT_EQ(ParseTabText("x\t\r"), (Cells { { "x", "" } }));
    EXPECT_EQ(ParseTabText(""), Cells {});
    EXPECT_EQ(ToTabText({ { "a", "b\tc" }, { "d", "" } }), "a\tb c\nd\t\n");
    EXPECT_EQ(
        ParseTabText(ToTabText({ { "1", "2" }, { "3", "4" } })), (Cells { { "1", "2" }, { "3", "4" } }));
}

TEST(GridPaste, RefusedPastesChangeNothing)
{
    auto data = Data();
    const GridRows fresh = WeaponGridRows(*data);
    struct Case {
        int row;
        int column;
        std::string text;
        const char* says; // empty: accepted
    };
    const Case cases[] = {
        { 0, 4, "1\t2\n3\t4\n", "" },
        { 0, 2, "5\t6", "\"Class Description\" cannot be edited" },
        { 248, 4, "1\n2\n", "only 1 rows are left" },
        { 0, 11, "1\t2\t3", "only 2 columns are left" },
        { 10, 0, "7", "\"Wpn Nr\" cannot be edited" },
        { 0, 4, "", "nothing to paste" },
        { -1, 4, "1", "Choose the cell" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        GridRows rows = fresh;
        const auto refusal = PasteIntoGrid(rows, kWeaponGridColumns, c.row, c.column, ParseTabText(c.text));
        if (*c.says == '\0') {
            EXPECT_FALSE(refusal);
            EXPECT_EQ(rows[1].cells[5], "4");
            continue;
        }
        ASSERT_TRUE(refusal);
        EXPECT_NE(refusal->find(c.says), std::string::npos) << *refusal;
        for (std::size_t r = 0; r < rows.size(); ++r)
            EXPECT_EQ(rows[r].cells, fresh[r].cells);
    }
    GridRows units = UnitGridRows(*data, Names());
    EXPECT_TRUE(PasteIntoGrid(units, kUnitGridColumns, 0, 1, ParseTabText("Tank\tNation 2")));
}
