#include "core/data/globals.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

using namespace tarnwick::core;

namespace {

struct LookupCase {
    const char* table;
    std::function<std::string(std::uint8_t)> lookup;
    std::uint8_t code;
    const char* expected;
};

} // namespace

TEST(CodeTables, FixedTablesAndTheirFallbacks)
{
    const std::vector<LookupCase> cases = {
        { "weapon class", WeaponClassName, 0, "Unknown Class" },
        { "weapon class", WeaponClassName, 1, "Primary Inf Weapon (Rifles, SMGs etc)" },
        { "weapon class", WeaponClassName, 7, "Guns,Howitzers > c. 101mm" },
        { "weapon class", WeaponClassName, 11, "off-map Aircraft Weapon - Mg, Cannon, Bombs, Rockets" },
        { "weapon class", WeaponClassName, 21, "Multi-Charge ATGM" },
        { "weapon class", WeaponClassName, 22, "Unknown Class" },
        { "weapon class", WeaponClassName, 255, "Unknown Class" },
        { "move class", MoveClassName, 0, "Default" },
        { "move class", MoveClassName, 1, "UNKNOWN" },
        { "move class", MoveClassName, 3, "A/T Wheel" },
        { "move class", MoveClassName, 5, "UNKNOWN" },
        { "move class", MoveClassName, 6, "UNKNOWN" },
        { "move class", MoveClassName, 7, "Ship" },
        { "move class", MoveClassName, 8, "UNKNOWN" },
        { "buy page", BuyPageName, 0, "Default" },
        { "buy page", BuyPageName, 5, "Air Transport + Troops" },
        { "buy page", BuyPageName, 6, "Unknown" },
        { "buy page", BuyPageName, 9, "Unknown" },
        { "buy page", BuyPageName, 10, "Battalion HQ." },
        { "buy page", BuyPageName, 11, "Unknown" },
        { "formation type", FormTypeName, 0, "Section" },
        { "formation type", FormTypeName, 3, "2nd Rate Co" },
        { "formation type", FormTypeName, 5, "Bn HQ" },
        { "formation type", FormTypeName, 6, "Unknown" },
    };
    for (const LookupCase& c : cases)
        EXPECT_EQ(c.lookup(c.code), c.expected) << c.table << " " << int(c.code);
}

TEST(CodeTables, NationNamesOnlyFrom1To99)
{
    NameTables tables;
    tables.nationNames[0] = "slot zero";
    tables.nationNames[1] = "Ruritania";
    tables.nationNames[99] = "\xC4gypten";
    EXPECT_EQ(NationName(tables, 0), "Unknown");
    EXPECT_EQ(NationName(tables, 1), "Ruritania");
    EXPECT_EQ(NationName(tables, 99), "\xC4gypten");
    EXPECT_EQ(NationName(tables, 100), "Unknown");
    EXPECT_EQ(NationName(tables, 65535), "Unknown");
    EXPECT_EQ(NationName(tables, -1), "Unknown");
    EXPECT_EQ(NationName(tables, 50), kNoIniFile);

    tables.unitClassNames[255] = "Last class";
    EXPECT_EQ(UnitClassName(tables, 255), "Last class");
    EXPECT_EQ(UnitClassName(tables, 0), kNoIniFile);
}

TEST(NumericRule, DigitsOnlyKeepsDigitsAndMinusSignsInOrder)
{
    EXPECT_EQ(DigitsOnly("12a3"), "123");
    EXPECT_EQ(DigitsOnly("abc"), "0");
    EXPECT_EQ(DigitsOnly(""), "0");
    EXPECT_EQ(DigitsOnly(" -7 "), "-7");
    EXPECT_EQ(DigitsOnly("1-2+3"), "1-23");
    EXPECT_EQ(DigitsOnly("\xB2\xB3"), "0"); // superscript digits are not digits
}

TEST(NumericRule, ClampTextClampsWithTheUpperBoundFirst)
{
    struct Case {
        std::int32_t min, max;
        const char* text;
        const char* expected;
    };
    const Case cases[] = {
        { 0, 255, "300", "255" },
        { 1, 12, "0", "1" },
        { 0, 255, "", "0" },
        { 0, 255, "12a3", "123" },
        { -128, 127, " -7 ", "-7" },
        { -128, 127, "-200", "-128" },
        { 10, 5, "7", "5" },
        { 10, 5, "1", "10" },
        { 0, 65535, "007", "7" },
        { 0, 255, "-0", "0" },
        { 0, 255, "x2147483647", "255" },
    };
    for (const Case& c : cases)
        EXPECT_EQ(ClampText(c.min, c.max, c.text), c.expected)
            << c.min << ".." << c.max << " '" << c.text << "'";
    EXPECT_EQ(ClampValue(INT32_MIN, INT32_MAX, "-2147483648"), INT32_MIN);
}

TEST(NumericRule, TextsThatAreNoIntegerNameTheFilteredText)
{
    struct Case {
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        { "-", "'-' is not a valid integer value" },
        { "a-b", "'-' is not a valid integer value" },
        { "1-2", "'1-2' is not a valid integer value" },
        { "--5", "'--5' is not a valid integer value" },
        { "5-", "'5-' is not a valid integer value" },
        { "99999999999", "'99999999999' is not a valid integer value" },
        { "2147483648", "'2147483648' is not a valid integer value" },
        { "-2147483649", "'-2147483649' is not a valid integer value" },
    };
    for (const Case& c : cases) {
        try {
            ClampText(0, 255, c.text);
            ADD_FAILURE() << "no error for '" << c.text << "'";
        } catch (const EConvertError& e) {
            EXPECT_STREQ(e.what(), c.message);
        }
    }
    EXPECT_THROW(StrToInt(" 5"), EConvertError);
    EXPECT_THROW(StrToInt("+5"), EConvertError);
    EXPECT_THROW(StrToInt(""), EConvertError);
    EXPECT_EQ(StrToInt("2147483647"), 2147483647);
}

TEST(NumericRule, SlotAndNationNumbersArePadded)
{
    EXPECT_EQ(ThreeDigits(0), "000");
    EXPECT_EQ(ThreeDigits(5), "005");
    EXPECT_EQ(ThreeDigits(12), "012");
    EXPECT_EQ(ThreeDigits(123), "123");
    EXPECT_EQ(ThreeDigits(1003), "1003");
    EXPECT_EQ(TwoDigits(5), "05");
    EXPECT_EQ(TwoDigits(12), "12");
    EXPECT_EQ(TwoDigits(100), "100");
}
