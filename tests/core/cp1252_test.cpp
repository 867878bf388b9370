#include "core/data/cp1252.h"

#include <gtest/gtest.h>

#include <string>

using namespace tarnwick::core;

TEST(Cp1252, EveryByteSurvivesTheTripThroughUnicode)
{
    std::string all;
    for (int b = 0; b < 256; ++b)
        all.push_back(static_cast<char>(b));
    EXPECT_EQ(Utf16ToCp1252(Cp1252ToUtf16(all)), all);
    EXPECT_EQ(Utf32ToCp1252(Cp1252ToUtf32(all)), all);
    EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(all)), all);
}

TEST(Cp1252, BytesShowAsTheirCharacters)
{
    struct Case {
        unsigned char byte;
        char32_t shown;
    };
    const Case cases[] = {
        { 'A', U'A' },
        { 0x80, U'\u20AC' },
        { 0x8A, U'\u0160' },
        { 0x99, U'\u2122' },
        { 0x9F, U'\u0178' },
        { 0xA0, U'\u00A0' },
        { 0xC4, U'\u00C4' },
        { 0xFF, U'\u00FF' },
        // The five bytes the code page leaves undefined keep their value.
        { 0x81, U'\u0081' },
        { 0x8D, U'\u008D' },
        { 0x8F, U'\u008F' },
        { 0x90, U'\u0090' },
        { 0x9D, U'\u009D' },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.byte));
        EXPECT_EQ(Cp1252Char(c.byte), c.shown);
        EXPECT_EQ(Cp1252Byte(c.shown), c.byte);
    }
    EXPECT_EQ(Cp1252ToUtf8("M\xfc"
                           "nchen \x80"),
        "M\xc3\xbc"
        "nchen \xe2\x82\xac");
}

TEST(Cp1252, CharactersTheCodePageCannotHoldAreRefusedNotReplaced)
{
    EXPECT_FALSE(Cp1252Byte(U'\u0080')); // the C1 control of a defined byte
    EXPECT_FALSE(Utf32ToCp1252(U"Panzer \u0416"));
    EXPECT_FALSE(Utf16ToCp1252(u"T-34 \u4E2D"));
    EXPECT_FALSE(Utf16ToCp1252(std::u16string(1, char16_t(0xD83D)))); // lone surrogate
    EXPECT_FALSE(Utf8ToCp1252("\xf0\x9f\x98\x80")); // outside the basic plane
    EXPECT_FALSE(Utf8ToCp1252("\xc3")); // cut sequence
    EXPECT_FALSE(Utf8ToCp1252("\xc0\xaf")); // overlong form
    EXPECT_FALSE(Utf8ToCp1252("\xed\xa0\x80")); // encoded surrogate
    EXPECT_EQ(Utf16ToCp1252(u"Stra\u00DFe \u20AC"),
        std::string("Stra\xdf"
                    "e \x80"));
}
