#pragma once

// What the editor makes of a file it is asked to open by path (on its command
// line, by a drop, from the recent files), and of its own command line.

#include <filesystem>
#include <string>
#include <vector>

namespace tarnwick::core {

// The nation an obatNNN.obf name stands for (any letter case), else 0.
int NationOfOobFileName(const std::string& fileName);

// Where to open a file: its folder becomes the working folder and its name
// gives the nation. error is set (and nation 0) when the name is not of the
// form obatNNN.obf, naming the form expected.
struct FileToOpen {
    std::filesystem::path folder;
    int nation = 0;
    std::string error;
};
FileToOpen FileToOpenFromPath(const std::filesystem::path& path);

// The editor's command line: tarnwick [FILE], --help, --version.
struct EditorArguments {
    bool help = false;
    bool version = false;
    std::string file; // empty: none
    std::string error; // a command line the editor cannot use
};
EditorArguments ParseEditorArguments(const std::vector<std::string>& args);
std::string EditorUsageText();
std::string EditorVersionText();

} // namespace tarnwick::core

namespace tarnwick::core {

// The recent files after path was opened: path first, no path twice, at most
// kMaxRecentFiles.
inline constexpr std::size_t kMaxRecentFiles = 8;
std::vector<std::string> RecentFilesAfterOpening(std::vector<std::string> recent, const std::string& path);

} // namespace tarnwick::core
