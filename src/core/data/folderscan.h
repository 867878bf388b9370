#pragma once

// One pass over a folder gives the Load/Save page everything it lists: the
// sub-folders and which nations' order-of-battle files are there. Names stay
// the file system's bytes, whatever their encoding.

#include <array>
#include <filesystem>
#include <string>
#include <vector>

namespace tarnwick::core {

struct FolderListing {
    // Sub-folders (and links to folders), hidden ones left out, sorted ignoring ASCII case.
    std::vector<std::string> subfolders;
    // By nation 1..99: whether its file is there, found as OobFileExists finds it.
    std::array<bool, 100> oobFileExists {};
    // The system's reason when the folder could not be read; what was read before stays.
    std::string error;
};

// Reads dir once; a folder of tens of thousands of files costs one directory read.
FolderListing ListFolder(const std::filesystem::path& dir);

// dir made absolute against base, without "." and ".." parts or a trailing separator.
std::filesystem::path NormalFolderPath(const std::filesystem::path& base, const std::filesystem::path& dir);

} // namespace tarnwick::core
