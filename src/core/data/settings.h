#pragma once

// The read-only settings file TWFTK.ini.

#include "core/data/globals.h"

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
};

// Applies the keys, defaults and clamps to a parsed file.
Settings SettingsFromIni(const IniFile& ini);

// Reads the settings file at path; a missing or unreadable file gives the defaults.
Settings readinifile(const std::filesystem::path& path);

// Where the settings are looked up: TWFTK.ini beside the program, else
// $XDG_CONFIG_HOME/tarnwick/TWFTK.ini (~/.config when XDG_CONFIG_HOME is unset).
// Returns the file beside the program when neither exists.
std::filesystem::path FindSettingsFile(const std::filesystem::path& programDir);

} // namespace tarnwick::core
