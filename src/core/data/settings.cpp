#include "core/data/settings.h"

#include "core/data/cp1252.h"
#include "core/data/fileio.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstdlib>
#include <iterator>
#include <limits>
#include <system_error>
#include <vector>

namespace tarnwick::core {

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

std::string_view TrimBlanks(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

std::string LowerAscii(std::string_view text)
{
    std::string lower(text);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return lower;
}

// Calls handle(line) for every line; CR LF, LF and a lone CR all end a line.
template <typename Handler> void ForEachLine(std::string_view bytes, Handler handle)
{
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            handle(bytes.substr(start));
            return;
        }
        handle(bytes.substr(start, end - start));
        start = end + 1;
        if (bytes[end] == '\r' && start < bytes.size() && bytes[start] == '\n')
            ++start;
    }
}

enum class Utf16 { No, LittleEndian, BigEndian };

// UTF-16 with a byte-order mark, or plain text in UTF-16: a NUL in every other byte.
Utf16 DetectUtf16(std::string_view bytes, bool& marked)
{
    marked = bytes.size() >= 2
        && ((bytes[0] == '\xFF' && bytes[1] == '\xFE') || (bytes[0] == '\xFE' && bytes[1] == '\xFF'));
    if (marked)
        return bytes[0] == '\xFF' ? Utf16::LittleEndian : Utf16::BigEndian;
    if (bytes.size() < 2 || bytes.size() % 2 != 0)
        return Utf16::No;
    std::size_t nulEven = 0;
    std::size_t nulOdd = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i)
        if (bytes[i] == '\0')
            ++(i % 2 == 0 ? nulEven : nulOdd);
    const std::size_t pairs = bytes.size() / 2;
    if (nulEven == 0 && nulOdd * 2 >= pairs)
        return Utf16::LittleEndian;
    if (nulOdd == 0 && nulEven * 2 >= pairs)
        return Utf16::BigEndian;
    return Utf16::No;
}

// UTF-16 to Windows-1252 bytes; counts the characters that became '?'.
std::string FromUtf16(std::string_view bytes, Utf16 order, bool marked, std::size_t& replaced)
{
    std::string text;
    text.reserve(bytes.size() / 2);
    auto unit = [&](std::size_t i) -> char32_t {
        const auto a = static_cast<unsigned char>(bytes[i]);
        const auto b = static_cast<unsigned char>(bytes[i + 1]);
        return order == Utf16::LittleEndian ? (b << 8 | a) : (a << 8 | b);
    };
    for (std::size_t i = marked ? 2 : 0; i + 1 < bytes.size(); i += 2) {
        char32_t c = unit(i);
        if (c >= 0xD800 && c <= 0xDBFF && i + 3 < bytes.size()) {
            const char32_t low = unit(i + 2);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
                i += 2;
            }
        }
        if (c == 0)
            continue;
        const std::optional<unsigned char> byte = Cp1252Byte(c);
        if (byte && !(c >= 0xD800 && c <= 0xDFFF)) {
            text += static_cast<char>(*byte);
        } else {
            text += '?';
            ++replaced;
        }
    }
    return text;
}

} // namespace

IniFile IniFile::Parse(std::string_view bytes)
{
    // A file saved by an editor that marks UTF-8 starts with a byte-order mark.
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    if (bytes.substr(0, kByteOrderMark.size()) == kByteOrderMark)
        bytes.remove_prefix(kByteOrderMark.size());

    IniFile ini;
    std::map<std::string, std::string>* section = nullptr; // none before the first section line
    ForEachLine(bytes, [&](std::string_view raw) {
        const std::string_view line = TrimBlanks(raw);
        if (line.empty() || line.front() == ';')
            return;
        if (line.front() == '[') {
            const std::size_t close = line.find(']');
            if (close == std::string_view::npos)
                return; // not a section line; the current section goes on
            section = &ini.sections_[LowerAscii(TrimBlanks(line.substr(1, close - 1)))];
            return;
        }
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos || section == nullptr)
            return;
        const std::string_view key = TrimBlanks(line.substr(0, equals));
        if (key.empty())
            return;
        // emplace keeps the first value of a key that appears twice.
        section->emplace(LowerAscii(key), std::string(TrimBlanks(line.substr(equals + 1))));
    });
    return ini;
}

std::optional<std::string> IniFile::value(std::string_view section, std::string_view key) const
{
    const auto s = sections_.find(LowerAscii(section));
    if (s == sections_.end())
        return std::nullopt;
    const auto k = s->second.find(LowerAscii(key));
    if (k == s->second.end())
        return std::nullopt;
    return k->second;
}

std::string IniFile::readString(
    std::string_view section, std::string_view key, const std::string& fallback) const
{
    return value(section, key).value_or(fallback);
}

int IniFile::readInteger(std::string_view section, std::string_view key, int fallback) const
{
    const std::optional<std::string> text = value(section, key);
    if (!text)
        return fallback;
    std::string_view number = TrimBlanks(*text);
    bool negative = false;
    if (!number.empty() && (number.front() == '+' || number.front() == '-')) {
        negative = number.front() == '-';
        number.remove_prefix(1);
    }
    if (number.empty()
        || !std::all_of(number.begin(), number.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return fallback;
    std::int64_t magnitude = 0;
    const char* last = number.data() + number.size();
    const auto [end, error] = std::from_chars(number.data(), last, magnitude);
    if (error != std::errc() || end != last)
        return fallback;
    const std::int64_t result = negative ? -magnitude : magnitude;
    if (result < std::numeric_limits<int>::min() || result > std::numeric_limits<int>::max())
        return fallback;
    return static_cast<int>(result);
}

Settings SettingsFromIni(const IniFile& ini)
{
    Settings settings;
    settings.fileFound = true;
    settings.defaultDir = ini.readString("Tarnwick", "DefaultDir", "");
    settings.transparentColour = std::clamp(ini.readInteger("Tarnwick", "TransparentColour", 240), 0, 255);

    settings.hints = ini.readInteger("Tarnwick", "Hints", 1) == 1;
    if (settings.hints) {
        // A negative delay means no delay; a huge one is capped rather than overflowing.
        const std::int64_t delay = std::int64_t { ini.readInteger("Tarnwick", "HintDelay", 1) } * 500;
        settings.hintDelayMs
            = static_cast<int>(std::clamp<std::int64_t>(delay, 0, std::numeric_limits<int>::max()));
    }

    for (int n = 1; n <= 99; ++n) {
        settings.names.nationNames[static_cast<std::size_t>(n)]
            = ini.readString("NationNames", "tarn" + std::to_string(n), kNoIniFile);
    }
    for (int n = 0; n <= 255; ++n) {
        settings.names.unitClassNames[static_cast<std::size_t>(n)]
            = ini.readString("UnitClassNames", "UnitClass" + std::to_string(n), kNoIniFile);
    }
    return settings;
}

Settings SettingsFromBytes(std::string_view bytes, const std::string& pathForMessages)
{
    bool marked = false;
    const Utf16 order = DetectUtf16(bytes, marked);
    std::string text;
    std::string warning;
    if (order != Utf16::No) {
        std::size_t replaced = 0;
        text = FromUtf16(bytes, order, marked, replaced);
        warning = pathForMessages + " is saved as UTF-16; it was read as Windows-1252 text";
        if (replaced > 0)
            warning += " (" + std::to_string(replaced) + (replaced == 1 ? " character" : " characters")
                + " that code page lacks became '?')";
    } else if (const std::size_t nuls
               = static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\0'));
               nuls > 0) {
        text.reserve(bytes.size() - nuls);
        std::copy_if(bytes.begin(), bytes.end(), std::back_inserter(text), [](char c) { return c != '\0'; });
        warning = pathForMessages + " holds " + std::to_string(nuls)
            + (nuls == 1 ? " NUL byte, which was left out" : " NUL bytes, which were left out")
            + "; is it a plain text file?";
    } else {
        text.assign(bytes);
    }
    Settings settings = SettingsFromIni(IniFile::Parse(text));
    settings.warning = std::move(warning);
    return settings;
}

Settings readinifile(const std::filesystem::path& path)
{
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec))
        return Settings {};
    std::vector<std::uint8_t> bytes;
    const IoResult read = ReadWholeFile(path, bytes, kMaxSettingsBytes, "a settings file");
    if (!read.ok()) {
        Settings defaults;
        defaults.fileRefused = true;
        defaults.warning = read.message() + "; the default settings apply";
        return defaults;
    }
    return SettingsFromBytes(
        std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), PathText(path));
}

std::filesystem::path FindSettingsFile(const std::filesystem::path& programDir)
{
    const std::filesystem::path besideProgram = programDir / kSettingsFileName;
    std::error_code ec;
    if (std::filesystem::is_regular_file(besideProgram, ec))
        return besideProgram;

    std::filesystem::path configDir;
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    const char* home = std::getenv("HOME");
    if (xdg != nullptr && *xdg != '\0')
        configDir = xdg;
    else if (home != nullptr && *home != '\0')
        configDir = std::filesystem::path(home) / ".config";
#ifdef _WIN32
    else if (const char* appData = std::getenv("APPDATA"); appData != nullptr && *appData != '\0')
        configDir = appData;
#endif
    if (!configDir.empty()) {
        const std::filesystem::path inConfig = configDir / "tarnwick" / kSettingsFileName;
        if (std::filesystem::is_regular_file(inConfig, ec))
            return inConfig;
    }
    return besideProgram;
}

} // namespace tarnwick::core
