// Feeds arbitrary bytes to the settings-file reader (UTF-16 and NUL detection, then
// the parser) and checks what comes out.

#include "core/data/settings.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

using namespace tarnwick::core;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const IniFile ini = IniFile::Parse(bytes);
    const Settings settings = SettingsFromIni(ini);

    if (settings.transparentColour < 0 || settings.transparentColour > 255)
        std::abort();
    if (settings.hintDelayMs < 0)
        std::abort();
    if (!settings.hints && settings.hintDelayMs != 500)
        std::abort();
    // Every name comes from the file or is the missing-key text; none can be longer than the input.
    for (const auto& name : settings.names.nationNames) {
        if (name != kNoIniFile && name.size() > size)
            std::abort();
    }
    for (const auto& name : settings.names.unitClassNames) {
        if (name != kNoIniFile && name.size() > size)
            std::abort();
    }
    // The file reader: a warning is one line, and no name keeps a NUL byte.
    const Settings read = SettingsFromBytes(bytes, "fuzz.ini");
    if (read.warning.find('\n') != std::string::npos || read.warning.find('\r') != std::string::npos)
        std::abort();
    for (const auto& name : read.names.nationNames) {
        if (name.find('\0') != std::string::npos)
            std::abort();
    }
    if (read.warning.empty() && bytes.find('\0') != std::string_view::npos)
        std::abort();

    // Looking up any key must agree between the string and integer readers.
    if (!ini.value("Tarnwick", "Hints") && ini.readInteger("Tarnwick", "Hints", 7) != 7)
        std::abort();
    return 0;
}
