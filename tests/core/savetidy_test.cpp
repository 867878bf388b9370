#include "core/data/savetidy.h"

#include "core/data/tarnio.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

using namespace tarnwick::core;

namespace {

constexpr std::uint16_t kNation = 1;

struct TidyCase {
    const char* what;
    std::function<void(TOobData&)> set;
    std::vector<std::string> lines;
};

// Every table's dates start in range, so only what a case does shows.
std::unique_ptr<TOobData> InRange()
{
    auto data = std::make_unique<TOobData>();
    for (auto& u : data->units)
        u.yearAvail = u.yearUnavail = u.monthAvail = u.monthUnavail = 1;
    for (auto& f : data->formations)
        f.yearAvail = f.yearUnavail = f.monthAvail = f.monthUnavail = 1;
    data->units[5] = TOobUnit {};
    data->units[5].name = "Warden";
    data->units[5].nation = kNation;
    data->units[5].unitClass = 3;
    data->units[5].yearAvail = 40;
    data->units[5].yearUnavail = 90;
    data->units[5].monthAvail = 3;
    data->units[5].monthUnavail = 12;
    return data;
}

TEST(SaveTidy, ListsEveryValueASaveChangesAndLeavesNothingForTheEncode)
{
    const TidyCase cases[] = {
        { "nothing out of range", [](TOobData&) {}, {} },
        { "dates of a unit and a formation",
            [](TOobData& d) {
                d.units[5].monthAvail = 13;
                d.units[5].yearUnavail = 125;
                d.units[5].yearAvail = 0;
                d.formations[2].name = "HQ";
                d.formations[2].yearUnavail = 130;
                d.formations[2].monthUnavail = 0;
            },
            { "unit 5 Warden: 1st Month Avail 13 -> 12", "unit 5 Warden: 1st Year Avail 0 -> 1",
                "unit 5 Warden: Last Year Avail 125 -> 120", "formation 2 HQ: Avail To Mo 0 -> 12",
                "formation 2 HQ: Avail To Yr 130 -> 120" } },
        { "a nameless unit of the file's nation is cleared, one of another nation is not",
            [](TOobData& d) {
                d.units[7].nation = kNation;
                d.units[7].yearAvail = 50;
                d.units[8].nation = 9;
                d.formations[3].name = "  ";
                d.formations[3].nation = kNation;
            },
            { "unit 7: no name, nation 1 and its dates cleared",
                "formation 3: no name, nation 1 and its dates cleared" } },
        { "names trimmed and cut",
            [](TOobData& d) {
                d.weapons[3].name = " Gun ";
                d.units[5].name = "Warden of the west gate";
            },
            { "weapon 3 Gun: Name \" Gun \" -> \"Gun\"",
                "unit 5 Warden of the w: Name \"Warden of the west gate\" -> \"Warden of the w\"" } },
        { "empty slots take the dates a save writes without a word",
            [](TOobData& d) { d.units[9].yearAvail = 0; }, {} },
    };
    for (const TidyCase& c : cases) {
        SCOPED_TRACE(c.what);
        auto data = InRange();
        c.set(*data);
        std::vector<std::string> lines;
        for (const TidyChange& change : TidyForSave(*data, kNation))
            lines.push_back(TidyChangeText(change));
        EXPECT_EQ(lines, c.lines);

        // What is left is what a save writes and a load reads back.
        auto encoded = std::make_unique<TOobData>(*data);
        EncodeOobImage(*encoded, kNation);
        EXPECT_TRUE(encoded->units == data->units && encoded->weapons == data->weapons
            && encoded->formations == data->formations);
        LoadOobBytes(*encoded, kNation, EncodeOobFile(*encoded, kNation));
        EXPECT_TRUE(encoded->units == data->units && encoded->formations == data->formations);
        EXPECT_TRUE(TidyForSave(*data, kNation).empty());
    }
}

} // namespace
