#include "core/rules/openfile.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace tarnwick::core;

namespace {

TEST(OpenFile, TheNameGivesTheNationAndAnyOtherNameIsRefused)
{
    const struct {
        const char* path;
        const char* folder;
        int nation;
    } cases[] = {
        { "/games/data/obat012.obf", "/games/data", 12 },
        { "/games/data/OBAT999.OBF", "/games/data", 999 },
        { "/games/data/obat12.obf", "/games/data", 0 },
        { "/games/data/obat0x2.obf", "/games/data", 0 },
        { "/games/data/notes.obf", "/games/data", 0 },
    };
    for (const auto& c : cases) {
        const FileToOpen open = FileToOpenFromPath(c.path);
        EXPECT_EQ(open.nation, c.nation) << c.path;
        // Made absolute: on Windows with the current drive in front.
        EXPECT_TRUE(std::filesystem::path(open.folder).generic_string().ends_with(c.folder)) << c.path;
        EXPECT_EQ(open.error.empty(), c.nation != 0) << c.path;
    }
    EXPECT_NE(FileToOpenFromPath("/x/notes.obf").error.find("obatNNN.obf"), std::string::npos);
}

TEST(OpenFile, TheEditorsCommandLine)
{
    EXPECT_TRUE(ParseEditorArguments({ "--help" }).help);
    EXPECT_TRUE(ParseEditorArguments({ "x", "--version" }).version);
    EXPECT_EQ(ParseEditorArguments({ "obat012.obf" }).file, "obat012.obf");
    EXPECT_EQ(ParseEditorArguments({ "--", "-odd.obf" }).file, "-odd.obf");
    EXPECT_NE(ParseEditorArguments({ "--bogus" }).error, "");
    EXPECT_NE(ParseEditorArguments({ "a.obf", "b.obf" }).error, "");
}

TEST(OpenFile, RecentFilesPutTheLastOpenedFirstOnceAndKeepEight)
{
    std::vector<std::string> recent;
    for (const char* p : { "a", "b", "c", "a" })
        recent = RecentFilesAfterOpening(recent, p);
    EXPECT_EQ(recent, (std::vector<std::string> { "a", "c", "b" }));
    for (int i = 0; i < 10; ++i)
        recent = RecentFilesAfterOpening(recent, std::to_string(i));
    EXPECT_EQ(recent.size(), kMaxRecentFiles);
    EXPECT_EQ(recent.front(), "9");
}

} // namespace
