#pragma once

// The read-only settings file TWFTK.ini.

#include "core/data/globals.h"

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace tarnwick::core {

inline constexpr const char* kSettingsFileName = "TWFTK.ini";

// Sections of key = value lines. Section and key names match without regard to
// case; values are kept as bytes. CR LF or LF line ends; ';' starts a comment line.
class IniFile {
public:
    static IniFile Parse(std::string_view bytes);

    std::optional<std::string> value(std::string_view section, std::string_view key) const;
    std::string readString(std::string_view section, std::string_view key, const std::string& fallback) const;
    // The fallback when the key is missing or its value is not an integer.
    int readInteger(std::string_view section, std::string_view key, int fallback) const;

private:
    std::map<std::string, std::map<std::string, std::string>> sections_; // lower-cased names
};

struct Settings {
    std::string defaultDir; // empty: start in the process's current directory
    int transparentColour = 240; // 0..255
    bool hints = true;
    int hintDelayMs = 500; // HintDelay x 500 ms
    NameTables names;
    bool fileFound = false; // false: every name reads "*NO INI FILE!*"
    // One line for the user about a file that was not read as it stands (too
    // large, unreadable, UTF-16, NUL bytes); empty when the file read cleanly.
    std::string warning;
    bool fileRefused = false; // the file is there but was not read: the defaults apply
};

// A larger settings file is refused before it is read.
inline constexpr std::uintmax_t kMaxSettingsBytes = 1024 * 1024;

// Applies the keys, defaults and clamps to a parsed file.
Settings SettingsFromIni(const IniFile& ini);

// The settings in the bytes of a file. UTF-16 text (marked, or recognised by a NUL
// in every other byte) is converted to Windows-1252, a character that code page
// cannot hold becoming '?'; the NUL bytes of other text are left out. Either sets
// the warning, which names pathForMessages.
Settings SettingsFromBytes(std::string_view bytes, const std::string& pathForMessages);

// Reads the settings file at path; a missing file gives the defaults, as does
// one that cannot be read or is too large (with a warning).
Settings readinifile(const std::filesystem::path& path);

// Where the settings are looked up: TWFTK.ini beside the program, else
// $XDG_CONFIG_HOME/tarnwick/TWFTK.ini (~/.config when XDG_CONFIG_HOME is unset).
// Returns the file beside the program when neither exists.
std::filesystem::path FindSettingsFile(const std::filesystem::path& programDir);

} // namespace tarnwick::core
