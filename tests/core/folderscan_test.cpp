// One pass over a folder: sub-folders in order, nations' files as the loader finds them.

#include "core/data/folderscan.h"
#include "core/data/tarnio.h"
#include "oobfixture.h"

#include <gtest/gtest.h>

#include "../support/platform.h"

#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using namespace tarnwick::core;
using tarnwick::testing::TempDir;

namespace {

[[maybe_unused]] void Touch(const fs::path& path)
{
    tarnwick::testing::WriteBytes(path, { 1, 2, 3 });
}

} // namespace

TEST(FolderScan, ListsFoldersAndFindsFilesAsTheLoaderDoes)
{
    SKIP_ON_WINDOWS("symbolic links need a privilege on Windows");
#ifndef _WIN32
    TempDir dir;
    const fs::path d = dir.path();
    Touch(d / "obat012.obf");
    Touch(d / "OBAT005.OBF"); // one match in another case
    Touch(d / "obat007.obf"); // the exact name wins over another case
    Touch(d / "OBAT007.obf");
    Touch(d / "Obat008.obf"); // two matches in other cases: neither is taken
    Touch(d / "OBAT008.OBF");
    fs::create_directory(d / "obat009.obf"); // a folder is not a file, but is listed
    Touch(d / "OBAT009.OBF");
    Touch(d / "obat100.obf");
    Touch(d / "obat000.obf");
    Touch(d / "readme.txt");
    for (const char* folder : { "beta", "Alpha", ".hidden", "caf\xE9" })
        fs::create_directory(d / folder);
    fs::create_directory_symlink(d / "beta", d / "linked");
    fs::create_symlink(d / "obat012.obf", d / "obat013.obf");
    fs::create_symlink(d / "nowhere", d / "obat014.obf");

    const FolderListing listing = ListFolder(d);
    EXPECT_EQ(listing.error, "");
    EXPECT_EQ(listing.subfolders,
        (std::vector<std::string> { "Alpha", "beta", "caf\xE9", "linked", "obat009.obf" }));
    for (int n = 1; n <= 99; ++n)
        EXPECT_EQ(listing.oobFileExists[n], OobFileExists(d, n)) << "nation " << n;
    std::vector<int> found;
    for (int n = 0; n < 100; ++n) {
        if (listing.oobFileExists[n])
            found.push_back(n);
    }
    EXPECT_EQ(found, (std::vector<int> { 5, 7, 12, 13 }));

    const FolderListing missing = ListFolder(d / "missing");
    EXPECT_EQ(missing.error, "No such file or directory");
    EXPECT_TRUE(missing.subfolders.empty());
#endif
}

TEST(FolderScan, NormalFolderPath)
{
    SKIP_ON_WINDOWS("POSIX path forms");
#ifndef _WIN32
    const struct {
        const char* base;
        const char* dir;
        const char* expected;
    } cases[] = {
        { "/a/b", "c", "/a/b/c" },
        { "/a/b", "/x/y/", "/x/y" },
        { "/a/b", "..", "/a" },
        { "/a/b", "../c/./d/", "/a/c/d" },
        { "/a", "..", "/" },
        { "/", "..", "/" },
        { "/a/b", "caf\xE9", "/a/b/caf\xE9" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(NormalFolderPath(c.base, c.dir).string(), c.expected) << c.base << " + " << c.dir;
#endif
}
