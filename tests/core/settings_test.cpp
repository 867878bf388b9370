#include "../support/tempdir.h"
#include "core/data/settings.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include <unistd.h>

using namespace tarnwick::core;
namespace fs = std::filesystem;

namespace {

Settings FromText(std::string_view text)
{
    return SettingsFromIni(IniFile::Parse(text));
}

using tarnwick::testsupport::TempDir;

void WriteFile(const fs::path& path, std::string_view bytes)
{
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Sets an environment variable for one test and puts the old value back.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::optional<std::string>& value)
        : name_(name)
    {
        if (const char* old = std::getenv(name))
            old_ = old;
        Set(value);
    }
    ~ScopedEnv() { Set(old_); }

private:
    void Set(const std::optional<std::string>& value)
    {
#ifdef _WIN32
        // An empty value removes the variable there: empty and unset are one.
        ::_putenv_s(name_, value ? value->c_str() : "");
#else
        if (value)
            ::setenv(name_, value->c_str(), 1);
        else
            ::unsetenv(name_);
#endif
    }
    const char* name_;
    std::optional<std::string> old_;
};

} // namespace

TEST(IniFile, SectionsKeysAndValues)
{
    const IniFile ini = IniFile::Parse("ignored=before any section\r\n"
                                       "; a comment=line\r\n"
                                       "  [ Tarnwick ]  \r\n"
                                       "DefaultDir = /games/oob dir \r\n"
                                       "  ; indented=comment\n"
                                       "not a key line\n"
                                       "=no key\n"
                                       "Path=a=b\r"
                                       "Empty=\n"
                                       "[broken\n"
                                       "Twice=first\n"
                                       "TWICE=second\n"
                                       "[NationNames]\n"
                                       "tarn1=\xC4gypten\n");
    EXPECT_EQ(ini.value("TARNWICK", "defaultdir"), "/games/oob dir");
    EXPECT_EQ(ini.value("tarnwick", "Path"), "a=b");
    EXPECT_EQ(ini.value("Tarnwick", "Empty"), "");
    EXPECT_EQ(ini.value("Tarnwick", "twice"), "first");
    EXPECT_EQ(ini.value("NationNames", "TARN1"), "\xC4gypten");
    EXPECT_EQ(ini.value("Tarnwick", "ignored"), std::nullopt);
    EXPECT_EQ(ini.value("Tarnwick", "; a comment"), std::nullopt);
    EXPECT_EQ(ini.value("Tarnwick", "; indented"), std::nullopt);
    EXPECT_EQ(ini.value("Tarnwick", ""), std::nullopt);
    EXPECT_EQ(ini.value("Missing", "tarn1"), std::nullopt);
    EXPECT_EQ(ini.readString("Tarnwick", "missing", "dflt"), "dflt");
}

TEST(IniFile, IntegersFallBackWhenTheValueIsNoNumber)
{
    const IniFile ini
        = IniFile::Parse("[S]\nplain=42\nneg=-7\nplus=+8\nblank= \nword=abc\ntail=12x\nhuge=99999999999\n"
                         "signs=+-3\nlone=-\nmax=2147483647\nmin=-2147483648\n");
    struct Case {
        const char* key;
        int expected;
    };
    const Case cases[] = { { "plain", 42 }, { "neg", -7 }, { "plus", 8 }, { "blank", 5 }, { "word", 5 },
        { "tail", 5 }, { "huge", 5 }, { "signs", 5 }, { "lone", 5 }, { "missing", 5 }, { "max", 2147483647 },
        { "min", -2147483647 - 1 } };
    for (const Case& c : cases)
        EXPECT_EQ(ini.readInteger("s", c.key, 5), c.expected) << c.key;
}

// Each value of the program's section: its default when missing or no number,
// and its limits.
TEST(Settings, ProgramValuesWithTheirDefaultsAndLimits)
{
    struct Case {
        const char* text;
        int transparent;
        bool hints;
        int delayMs;
    };
    const Case cases[] = {
        { "", 240, true, 500 },
        { "TransparentColour=300\n", 255, true, 500 },
        { "TransparentColour=-5\n", 0, true, 500 },
        { "TransparentColour=abc\n", 240, true, 500 },
        { "TransparentColour=0\n", 0, true, 500 },
        { "TransparentColour=17\n", 17, true, 500 },
        { "Hints=1\nHintDelay=4\n", 240, true, 2000 },
        { "Hints=0\nHintDelay=4\n", 240, false, 500 },
        { "Hints=2\nHintDelay=4\n", 240, false, 500 },
        { "Hints=x\nHintDelay=4\n", 240, true, 2000 }, // not a number: the default, which is on
        { "HintDelay=0\n", 240, true, 0 },
        { "HintDelay=-3\n", 240, true, 0 },
        { "HintDelay=2147483647\n", 240, true, 2147483647 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const Settings s = FromText(std::string("[Tarnwick]\n") + c.text);
        EXPECT_EQ(s.transparentColour, c.transparent);
        EXPECT_EQ(s.hints, c.hints);
        EXPECT_EQ(s.hintDelayMs, c.delayMs);
        EXPECT_EQ(s.defaultDir, "");
        EXPECT_EQ(s.names.nationNames[1], kNoIniFile);
        EXPECT_EQ(s.names.unitClassNames[0], kNoIniFile);
    }
}

TEST(Settings, NameTablesFromTheirSections)
{
    const Settings s = FromText(
        "[nationnames]\r\ntarn1=Ruritania\r\nTARN99=\xC4gypten\r\ntarn100=too far\r\ntarn01=padded\r\n"
        "[UNITCLASSNAMES]\r\nUnitClass0=Infantry\r\nunitclass255=Fort\r\n");
    EXPECT_EQ(s.names.nationNames[1], "Ruritania");
    EXPECT_EQ(s.names.nationNames[99], "\xC4gypten");
    EXPECT_EQ(s.names.nationNames[2], kNoIniFile);
    EXPECT_EQ(s.names.unitClassNames[0], "Infantry");
    EXPECT_EQ(s.names.unitClassNames[255], "Fort");
    EXPECT_EQ(s.names.unitClassNames[1], kNoIniFile);
}

TEST(Settings, ReadsAFileAndGivesDefaultsWithoutOne)
{
    TempDir dir;
    const Settings missing = readinifile(dir.path() / kSettingsFileName);
    EXPECT_FALSE(missing.fileFound);
    EXPECT_EQ(missing.transparentColour, 240);
    for (int n = 1; n <= 99; ++n)
        EXPECT_EQ(missing.names.nationNames[static_cast<std::size_t>(n)], kNoIniFile);
    for (const std::string& name : missing.names.unitClassNames)
        EXPECT_EQ(name, kNoIniFile);

    // A folder where the file should be reads as no file.
    fs::create_directories(dir.path() / "folder.ini");
    EXPECT_FALSE(readinifile(dir.path() / "folder.ini").fileFound);

    WriteFile(dir.path() / kSettingsFileName,
        "[Tarnwick]\r\nDefaultDir=C:\\Games\r\nTransparentColour=12\r\n"
        "[NationNames]\r\ntarn7=Ruritania\r\n");
    const Settings found = readinifile(dir.path() / kSettingsFileName);
    EXPECT_TRUE(found.fileFound);
    EXPECT_EQ(found.defaultDir, "C:\\Games");
    EXPECT_EQ(found.transparentColour, 12);
    EXPECT_EQ(found.names.nationNames[7], "Ruritania");
}

TEST(Settings, BinaryJunkParsesWithoutHarm)
{
    static const char kJunk[] = "[Tarnwick]\nTransparentColour=1\0 2\n\0\0[\xFF]\n=\n[]\nx=\xFF\0\n";
    const std::string junk(kJunk, sizeof kJunk - 1);
    const IniFile ini = IniFile::Parse(junk);
    EXPECT_EQ(ini.readInteger("Tarnwick", "TransparentColour", -1), -1);
    EXPECT_EQ(ini.value("", "x"), std::string("\xFF\0", 2));
}

TEST(Settings, LookedUpBesideTheProgramThenInTheConfigFolder)
{
    TempDir dir;
    const fs::path program = dir.path() / "bin";
    const fs::path xdg = dir.path() / "xdg";
    const fs::path home = dir.path() / "home";
    fs::create_directories(program);

    ScopedEnv xdgEnv("XDG_CONFIG_HOME", xdg.string());
    ScopedEnv homeEnv("HOME", home.string());

    // Nothing anywhere: the file beside the program, so the caller reads defaults.
    EXPECT_EQ(FindSettingsFile(program), program / kSettingsFileName);

    WriteFile(home / ".config" / "tarnwick" / kSettingsFileName, "[Tarnwick]\n");
    EXPECT_EQ(FindSettingsFile(program), program / kSettingsFileName); // XDG_CONFIG_HOME is set
    {
        ScopedEnv emptyXdg("XDG_CONFIG_HOME", std::string());
        EXPECT_EQ(FindSettingsFile(program), home / ".config" / "tarnwick" / kSettingsFileName);
    }
    {
        ScopedEnv noXdg("XDG_CONFIG_HOME", std::nullopt);
        EXPECT_EQ(FindSettingsFile(program), home / ".config" / "tarnwick" / kSettingsFileName);
    }

    WriteFile(xdg / "tarnwick" / kSettingsFileName, "[Tarnwick]\n");
    EXPECT_EQ(FindSettingsFile(program), xdg / "tarnwick" / kSettingsFileName);

    WriteFile(program / kSettingsFileName, "[Tarnwick]\n");
    EXPECT_EQ(FindSettingsFile(program), program / kSettingsFileName);
}

namespace {

std::string Utf16(std::u16string_view text, bool littleEndian, bool marked)
{
    std::string bytes;
    if (marked)
        bytes += littleEndian ? "\xFF\xFE" : "\xFE\xFF";
    for (const char16_t c : text) {
        const char low = static_cast<char>(c & 0xFF);
        const char high = static_cast<char>(c >> 8);
        bytes += littleEndian ? std::string { low, high } : std::string { high, low };
    }
    return bytes;
}

} // namespace

// A file saved as UTF-16 or holding NUL bytes is read for what it says, with a
// one-line warning, never silently as an empty file.
TEST(Settings, Utf16AndNulBytesAreReadWithAWarning)
{
    const std::u16string text = u"[NationNames]\r\ntarn5=Caf\u00e9land\r\ntarn6=\u0416ukov\r\n";
    static const char kNuls[] = "[NationNames]\r\ntarn5=Caf\xe9la\0nd\r\n\0tarn6=?ukov\r\n";
    const std::string nuls(kNuls, sizeof kNuls - 1);
    const struct {
        const char* what;
        std::string bytes;
        std::string warning; // empty: none
    } cases[] = {
        { "UTF-16 LE marked", Utf16(text, true, true),
            "f.ini is saved as UTF-16; it was read as Windows-1252 text (1 character that code page lacks "
            "became '?')" },
        { "UTF-16 BE marked", Utf16(text, false, true), "f.ini is saved as UTF-16" },
        { "UTF-16 LE unmarked", Utf16(text, true, false), "f.ini is saved as UTF-16" },
        { "NUL bytes", nuls, "f.ini holds 2 NUL bytes, which were left out; is it a plain text file?" },
        { "plain", "[NationNames]\r\ntarn5=Caf\xe9land\r\ntarn6=?ukov\r\n", "" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const Settings s = SettingsFromBytes(c.bytes, "f.ini");
        EXPECT_EQ(s.names.nationNames[5], "Caf\xe9land");
        EXPECT_EQ(s.names.nationNames[6], "?ukov");
        EXPECT_EQ(s.warning.substr(0, c.warning.size()), c.warning);
        EXPECT_EQ(s.warning.empty(), c.warning.empty());
        EXPECT_EQ(s.warning.find('\n'), std::string::npos);
    }
}

TEST(Settings, OversizedFileIsRefusedWithAWarning)
{
    TempDir dir;
    const fs::path file = dir.path() / kSettingsFileName;
    WriteFile(file, "[NationNames]\r\ntarn5=Big\r\n");
    fs::resize_file(file, kMaxSettingsBytes + 1);
    const Settings s = readinifile(file);
    EXPECT_TRUE(s.fileRefused);
    EXPECT_EQ(s.names.nationNames[5], kNoIniFile);
    EXPECT_EQ(s.warning,
        "Cannot read " + file.string()
            + ": the file holds 1048577 bytes, too many for a settings file (at most "
            + "1048576); the default settings apply");

    fs::resize_file(file, kMaxSettingsBytes);
    const Settings atLimit = readinifile(file);
    EXPECT_FALSE(atLimit.fileRefused);
    EXPECT_EQ(atLimit.names.nationNames[5], "Big");
}
