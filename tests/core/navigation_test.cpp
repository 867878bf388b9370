#include "core/rules/navigation.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

using namespace tarnwick::core;

TEST(Navigation, StepsStopAtTheEnds)
{
    struct Case {
        int current;
        int last;
        Step step;
        int expected;
    };
    const Case cases[] = {
        { 599, 599, Step::Forward, 599 },
        { 598, 599, Step::Forward, 599 },
        { 1, 249, Step::Back, 1 },
        { 2, 249, Step::Back, 1 },
        { 7, 399, Step::BackTen, 7 }, // not to slot 1
        { 10, 399, Step::BackTen, 10 },
        { 11, 399, Step::BackTen, 1 },
        { 245, 249, Step::ForwardTen, 249 },
        { 239, 249, Step::ForwardTen, 249 },
        { 238, 249, Step::ForwardTen, 248 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.current) + " step " + std::to_string(static_cast<int>(c.step)));
        EXPECT_EQ(StepSlot(c.current, c.last, c.step), c.expected);
    }
}

namespace {

// A weapon table of 249 slots with only the given names.
struct Names {
    std::map<int, std::string> named;
    int find(int start, std::string_view typed) const
    {
        return FindNextSlot(start, 249, FindKey(typed), [this](int s) {
            const auto it = named.find(s);
            return it == named.end() ? std::string() : it->second;
        });
    }
};

} // namespace

TEST(Navigation, FindLooksAfterTheCurrentSlotThenWrapsToItLast)
{
    const Names w { { { 3, "M16A1" }, { 9, "M60          " } } };
    EXPECT_EQ(w.find(3, " m "), 9);
    EXPECT_EQ(w.find(9, " m "), 3); // wraps
    EXPECT_EQ(w.find(3, "60"), 9);
    EXPECT_EQ(w.find(3, "m16"), 3); // the current slot is looked at last
    EXPECT_EQ(w.find(3, "m60 "), 9); // the stored name's trailing blanks do not count
    EXPECT_EQ(w.find(3, "M60 X"), 0);
    EXPECT_EQ(w.find(3, "003"), 0); // slot numbers are not searched

    const Names onlyFirst { { { 1, "Bren" } } };
    EXPECT_EQ(onlyFirst.find(1, "bren"), 0); // the second pass runs only above slot 1
    EXPECT_EQ(onlyFirst.find(249, "bren"), 1);

    const Names onlyForty { { { 40, "Sten Mk II" } } };
    EXPECT_EQ(onlyForty.find(40, "mk"), 40);
    EXPECT_EQ(onlyForty.find(249, "mk"), 40);

    // Only a to z fold; other bytes compare as they are.
    const Names accented { { { 5, "M\xfcnster" }, { 6, "M\xdcNSTER" } } };
    EXPECT_EQ(accented.find(1, "m\xfcn"), 5);
    EXPECT_EQ(accented.find(1, "M\xdcN"), 6);
}

TEST(Navigation, FindHistoryKeepsOneTrimmedLowerCaseEntryNewestFirst)
{
    std::vector<std::string> history;
    EXPECT_TRUE(AddToFindHistory(history, "abc"));
    EXPECT_FALSE(AddToFindHistory(history, "ABC"));
    EXPECT_FALSE(AddToFindHistory(history, "  aBc\t"));
    EXPECT_TRUE(AddToFindHistory(history, " M "));
    EXPECT_FALSE(AddToFindHistory(history, "   "));
    EXPECT_EQ(history, (std::vector<std::string> { "m", "abc" }));

    // Older entries are compared trimmed but not folded.
    std::vector<std::string> old { " xyz ", "Tank" };
    EXPECT_FALSE(AddToFindHistory(old, "XYZ"));
    EXPECT_TRUE(AddToFindHistory(old, "tank"));
    EXPECT_EQ(old.front(), "tank");
}

TEST(Navigation, MessagesNameTheTableAndTheKey)
{
    EXPECT_EQ(FindKey(" m16\t"), "M16");
    EXPECT_EQ(
        NotFoundText(FindTable::Weapons, FindKey("bren")), "Could not find a weapon name containing BREN");
    EXPECT_EQ(NotFoundText(FindTable::Units, "X"), "Could not find a unit name containing X");
    EXPECT_EQ(NotFoundText(FindTable::Formations, "X"), "Could not find a formation name containing X");
    EXPECT_STREQ(kEnterSearchText, "Please enter a search string!");
}
