#pragma once

// Where a game folder keeps its artwork: pictures pic/PmNNNNN.lbm and icon files
// shp/IconNNNN.shp. Folder and file names are found in any letter case; the
// exact name wins, else a unique case-insensitive match.

#include <filesystem>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace tarnwick::core {

inline constexpr const char* kPictureFolder = "pic";
inline constexpr const char* kIconFolder = "shp";
inline constexpr int kMaxPictureNumber = 99999;

// "Pm00123.lbm" for 123: at least five digits.
std::string PictureFileName(int number);
// "Icon0012.shp" for 12: at least four digits.
std::string IconFileName(int number);

// The folder name (pic or shp) under gameDir as it really is spelt; empty when
// there is no such folder.
std::filesystem::path FindArtFolder(const std::filesystem::path& gameDir, std::string_view name);

// The picture or icon file under gameDir, or an empty path when it does not exist.
std::filesystem::path FindPictureFile(const std::filesystem::path& gameDir, int number);
std::filesystem::path FindIconFile(const std::filesystem::path& gameDir, int number);

// The same, with the folder already found (the browser looks up nine pictures at a time).
std::filesystem::path FindArtFileIn(const std::filesystem::path& folder, const std::string& fileName);

// The names in one art folder, listed once, for looking up many files in it.
class ArtFolderIndex {
public:
    explicit ArtFolderIndex(std::filesystem::path folder);
    // What FindArtFileIn(folder, fileName) gives, without listing the folder again.
    std::filesystem::path find(const std::string& fileName) const;

private:
    std::filesystem::path folder_;
    std::unordered_set<std::string> names_;
    std::unordered_map<std::string, std::string> byLowerCase_; // empty value: more than one
};

// Every regular file in folder whose name ends in ".lbm" in any letter case,
// sorted by name. Empty when the folder cannot be read.
std::vector<std::filesystem::path> ListPictureFiles(const std::filesystem::path& folder);

} // namespace tarnwick::core
