#include "core/rules/weaponpage.h"

#include <gtest/gtest.h>

#include <variant>

using namespace tarnwick::core;

namespace {

using Texts = std::array<std::string, kWeaponNumberFields>;

// In store order: class, size, warhead, HE pen, HE kill, AP pen, AP kill,
// sabot pen, sabot range, HEAT pen, range, accuracy.
const Texts kTyped = { "22", "7", "12", "40", "9", "222", "3", "255", "0", "", "300", "-3" };

} // namespace

TEST(WeaponPage, TheFirstFieldThatIsNoNumberIsNamed)
{
    struct Case {
        std::size_t field;
        const char* text;
        const char* caption;
    };
    const Case cases[] = {
        { 0, "-", "Weapon Class" },
        { 4, "4-5", "HE Kill" },
        { 8, "--", "Sabot Range" },
        { 11, "1-", "Accuracy" },
    };
    for (const Case& c : cases) {
        Texts texts = kTyped;
        texts[c.field] = c.text;
        if (c.field != 11)
            texts[11] = "x-"; // a later bad field is not the one reported
        const auto result = WeaponFromPage("Gun", texts);
        ASSERT_TRUE(std::holds_alternative<FieldError>(result)) << c.text;
        const FieldError& error = std::get<FieldError>(result);
        EXPECT_EQ(error.field, c.caption);
        EXPECT_EQ(error.text, c.text);
        EXPECT_EQ(FieldErrorText(error),
            std::string(c.caption) + ": '" + c.text + "' is not a valid integer value. Nothing was stored.");
    }
    // With every field a number, letters are dropped and the name is trimmed and cut to 15 bytes.
    Texts letters = kTyped;
    letters[0] = "1a2";
    const auto stored = WeaponFromPage(" \tABCDEFGHIJKLMNOPQ", letters);
    ASSERT_TRUE(std::holds_alternative<TOobWeapon>(stored));
    EXPECT_EQ(std::get<TOobWeapon>(stored).name, "ABCDEFGHIJKLMNO");
    EXPECT_EQ(std::get<TOobWeapon>(stored).weaponClass, 12);
    EXPECT_EQ(std::get<TOobWeapon>(stored).range, 255);
}
