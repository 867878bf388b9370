#include "core/graphics/artfiles.h"

#include "core/data/fileio.h"

#include <algorithm>
#include <cstdio>
#include <system_error>

namespace tarnwick::core {

namespace fs = std::filesystem;

namespace {

std::string LowerCase(std::string s)
{
    for (char& c : s)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return s;
}

std::string Numbered(const char* format, int number)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, format, number);
    return buffer;
}

bool EndsWithLbm(const std::string& name)
{
    if (name.size() < 4)
        return false;
    std::string tail = name.substr(name.size() - 4);
    for (char& c : tail)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return tail == ".lbm";
}

} // namespace

std::string PictureFileName(int number)
{
    return Numbered("Pm%.5d.lbm", number);
}

std::string IconFileName(int number)
{
    return Numbered("Icon%.4d.shp", number);
}

fs::path FindArtFolder(const fs::path& gameDir, std::string_view name)
{
    fs::path folder = FindFileIgnoringCase(gameDir, name);
    std::error_code ec;
    if (folder.empty() || !fs::is_directory(folder, ec))
        return {};
    return folder;
}

fs::path FindArtFileIn(const fs::path& folder, const std::string& fileName)
{
    if (folder.empty())
        return {};
    fs::path file = FindFileIgnoringCase(folder, fileName);
    std::error_code ec;
    if (file.empty() || !fs::is_regular_file(file, ec))
        return {};
    return file;
}

ArtFolderIndex::ArtFolderIndex(fs::path folder)
    : folder_(std::move(folder))
{
    if (folder_.empty())
        return;
    std::error_code ec;
    for (fs::directory_iterator it(folder_, ec), end; !ec && it != end; it.increment(ec)) {
        std::string name = it->path().filename().string();
        const auto [at, added] = byLowerCase_.try_emplace(LowerCase(name), name);
        if (!added)
            at->second.clear();
        names_.insert(std::move(name));
    }
}

fs::path ArtFolderIndex::find(const std::string& fileName) const
{
    if (folder_.empty() || fileName.empty())
        return {};
    fs::path file;
    if (names_.count(fileName) != 0) {
        file = folder_ / fileName;
    } else {
        const auto it = byLowerCase_.find(LowerCase(fileName));
        if (it == byLowerCase_.end() || it->second.empty())
            return {};
        file = folder_ / it->second;
    }
    std::error_code ec;
    return fs::is_regular_file(file, ec) ? file : fs::path();
}

fs::path FindPictureFile(const fs::path& gameDir, int number)
{
    return FindArtFileIn(FindArtFolder(gameDir, kPictureFolder), PictureFileName(number));
}

fs::path FindIconFile(const fs::path& gameDir, int number)
{
    return FindArtFileIn(FindArtFolder(gameDir, kIconFolder), IconFileName(number));
}

std::vector<fs::path> ListPictureFiles(const fs::path& folder)
{
    std::vector<fs::path> out;
    std::error_code ec;
    fs::directory_iterator it(folder, ec);
    if (ec)
        return out;
    for (const fs::directory_iterator end; it != end; it.increment(ec)) {
        if (ec)
            break;
        std::error_code typeError;
        if (EndsWithLbm(it->path().filename().string()) && it->is_regular_file(typeError))
            out.push_back(it->path());
    }
    std::sort(out.begin(), out.end(),
        [](const fs::path& a, const fs::path& b) { return a.filename() < b.filename(); });
    return out;
}

} // namespace tarnwick::core
