#include "core/rules/sdimain.h"

#include "core/rules/document.h"

#include <filesystem>
#include <gtest/gtest.h>

#include <string>

using namespace tarnwick::core;

TEST(SdiMainTexts, FileListRows)
{
    struct Case {
        int nation;
        bool exists;
        const char* name;
        const char* row;
    };
    const Case cases[] = {
        { 1, true, "Valdoria", "obat01 - Valdoria" }, { 5, false, "Karsovia", " ? obat05 - Karsovia" },
        { 12, true, "*NO INI FILE!*", "obat12 - *NO INI FILE!*" }, { 99, false, "", " ? obat99 - " },
        { 7, true,
            "M\xfc"
            "nster",
            "obat07 - M\xfc"
            "nster" }, // name bytes pass through
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.row);
        EXPECT_EQ(FileListRow(c.nation, c.exists, c.name), c.row);
    }
}

// The platform's separator: '/' here, '\\' on Windows.
const std::string kSep(1, static_cast<char>(std::filesystem::path::preferred_separator));

TEST(SdiMainTexts, TitlesAndStatusNameThePathWithTheSeparator)
{
    EXPECT_EQ(LoadedTitle("/games/oob", "obat05 - Valdoria"),
        "Tarnwick for GH:FTK : /games/oob" + kSep + "obat05 - Valdoria");
    EXPECT_EQ(
        LoadedStatus("/games/oob", "obat05 - Valdoria"), "Loaded /games/oob" + kSep + "obat05 - Valdoria");
    EXPECT_EQ(LoadedStatus("/", "obat05 - V"), "Loaded /obat05 - V");
    EXPECT_EQ(StartedInCurrentDirTitle("/home/x"), "Tarnwick for GH:FTK : No File Loaded /home/x:");
    EXPECT_EQ(std::string(kTitleStartedInDefaultDir), "Tarnwick for GH:FTK : No File Loaded ");
    EXPECT_EQ(SearchingStatus("/data"), "Searching in /data");
    EXPECT_EQ(CsvWrittenStatus("/data"), "Text files written to /data");
}

TEST(SdiMainTexts, SaveStatusForms)
{
    EXPECT_EQ(SavedFileStatus("/x/obat012.obf"), "Saved /x/obat012.obf");
    EXPECT_EQ(SavedTidiedStatus("Saved /x/obat001.obf", 0), "Saved /x/obat001.obf");
    EXPECT_EQ(SavedTidiedStatus("Saved /x/obat001.obf", 1),
        "Saved /x/obat001.obf; 1 value was out of range and was brought into range (F8 lists it)");
    EXPECT_EQ(SavedTidiedStatus("Saved /x/obat001.obf", 4),
        "Saved /x/obat001.obf; 4 values were out of range and were brought into range (F8 lists them)");
}

TEST(SdiMainTexts, LoadErrorIsCutTo27Characters)
{
    EXPECT_EQ(UnableToFindText("obat012.obf"), "Unable to find obat012.obf");
    EXPECT_EQ(UnableToFindText("obat0123.obf"), "Unable to find obat0123.obf");
    EXPECT_EQ(UnableToFindText("obat01234.obf"), "Unable to find obat01234.ob");
    EXPECT_EQ(UnableToFindText("obat01234.obf").size(), 27u);
}

TEST(SdiMainTexts, SaveAsNameKeepsTwelveCharactersNotBytes)
{
    EXPECT_EQ(SaveAsFileName("obat012.obf"), "obat012.obf");
    EXPECT_EQ(SaveAsFileName("obat012copy.obf"), "obat012copy.");
    EXPECT_EQ(SaveAsFileName("abcdefghijkl"), "abcdefghijkl");
    // Eleven letters and two two-byte characters: the cut falls after the first of them.
    EXPECT_EQ(SaveAsFileName("abcdefghijk\xc3\xa4\xc3\xb6"), "abcdefghijk\xc3\xa4");
    // A name of two-, three- and four-byte characters keeps twelve whole ones.
    EXPECT_EQ(SaveAsFileName("a\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9.obf"),
        "a\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9");
    EXPECT_EQ(
        SaveAsFileName("\u65e5\u672c\u8a9e\u65e5\u672c\u8a9e\u65e5\u672c\u8a9e\u65e5\u672c\u8a9e\u65e5"),
        "\u65e5\u672c\u8a9e\u65e5\u672c\u8a9e\u65e5\u672c\u8a9e\u65e5\u672c\u8a9e");
    EXPECT_EQ(SaveAsFileName("abcdefghijk\xf0\x9f\x99\x82\xf0\x9f\x99\x82"), "abcdefghijk\xf0\x9f\x99\x82");
}

TEST(SdiMainTexts, ReplaceAndHelpMessagesNameThePath)
{
    for (const std::string& text : { ReplaceFileQuestion("/x/obat004.obf"), HelpMissingText("/x/obat004.obf"),
             HelpNotOpenedText("/x/obat004.obf") })
        EXPECT_NE(text.find("/x/obat004.obf"), std::string::npos) << text;
}

TEST(SdiMainTexts, OddSizedFileWarningsNameThePathAndSize)
{
    const std::string shortText = ShortFileWarning("/x/obat001.obf", 1000);
    EXPECT_NE(shortText.find("/x/obat001.obf"), std::string::npos);
    EXPECT_NE(shortText.find("1000"), std::string::npos);
    const std::string longText = LongFileWarning("/x/obat001.obf", 106690);
    EXPECT_NE(longText.find("106690"), std::string::npos);
    EXPECT_NE(shortText, longText);
}
