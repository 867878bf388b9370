#include "core/data/folderscan.h"

#include "core/data/tarnio.h"

#include <algorithm>
#include <string_view>
#include <system_error>

namespace tarnwick::core {

namespace fs = std::filesystem;

namespace {

char LowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool LessIgnoringAsciiCase(const std::string& a, const std::string& b)
{
    const auto [ia, ib] = std::mismatch(a.begin(), a.end(), b.begin(), b.end(),
        [](char x, char y) { return LowerAscii(x) == LowerAscii(y); });
    if (ia == a.end() || ib == b.end())
        return a.size() != b.size() ? a.size() < b.size() : a < b;
    return static_cast<unsigned char>(LowerAscii(*ia)) < static_cast<unsigned char>(LowerAscii(*ib));
}

// The nation of a name spelt "obatNNN.obf" in any case, for nations 1..99; 0 otherwise.
int OobNation(std::string_view name)
{
    constexpr std::string_view kStem = "obat";
    constexpr std::string_view kExtension = ".obf";
    if (name.size() != kStem.size() + 3 + kExtension.size())
        return 0;
    for (std::size_t i = 0; i < kStem.size(); ++i) {
        if (LowerAscii(name[i]) != kStem[i])
            return 0;
    }
    for (std::size_t i = 0; i < kExtension.size(); ++i) {
        if (LowerAscii(name[kStem.size() + 3 + i]) != kExtension[i])
            return 0;
    }
    int nation = 0;
    for (std::size_t i = kStem.size(); i < kStem.size() + 3; ++i) {
        if (name[i] < '0' || name[i] > '9')
            return 0;
        nation = nation * 10 + (name[i] - '0');
    }
    return nation >= 1 && nation <= 99 ? nation : 0;
}

} // namespace

FolderListing ListFolder(const fs::path& dir)
{
    FolderListing listing;
    // The exact name wins; otherwise one match ignoring case, as FindOobFile decides.
    std::array<int, 100> exact {}; // 0 none, 1 a regular file, 2 something else
    std::array<int, 100> otherCase {};
    std::array<bool, 100> otherCaseRegular {};

    std::error_code ec;
    fs::directory_iterator it(dir.empty() ? fs::path(".") : dir, ec);
    if (ec) {
        listing.error = ec.message();
        return listing;
    }
    for (const fs::directory_iterator end; it != end; it.increment(ec)) {
        if (ec) {
            listing.error = ec.message();
            break;
        }
        const std::string name = it->path().filename().string();
        std::error_code typeError;
        // The type comes with the directory entry; only links cost a look at their target.
        if (name.front() != '.' && it->is_directory(typeError))
            listing.subfolders.push_back(name);
        const int nation = OobNation(name);
        if (nation == 0)
            continue;
        const bool regular = it->is_regular_file(typeError);
        if (name == OobFileName(nation)) {
            exact[nation] = regular ? 1 : 2;
        } else {
            ++otherCase[nation];
            otherCaseRegular[nation] = regular;
        }
    }
    for (int n = 1; n <= 99; ++n) {
        listing.oobFileExists[n] = exact[n] != 0 ? exact[n] == 1 : otherCase[n] == 1 && otherCaseRegular[n];
    }
    std::sort(listing.subfolders.begin(), listing.subfolders.end(), LessIgnoringAsciiCase);
    return listing;
}

fs::path NormalFolderPath(const fs::path& base, const fs::path& dir)
{
    fs::path full = (dir.is_absolute() ? dir : base / dir).lexically_normal();
    if (full.has_relative_path() && !full.has_filename())
        full = full.parent_path(); // "/a/b/" becomes "/a/b"
    return full;
}

} // namespace tarnwick::core
