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

// A fresh folder under the test temp folder, removed at the end.
class TempDir {
public:
    explicit TempDir(const std::string& name)
        : path_(fs::temp_directory_path() / ("tarnwick-settings-" + name + "-" + std::to_string(::getpid())))
    {
        fs::remove_all(path_);
        fs::create_directories(path_);
    }
    ~TempDir() { fs::remove_all(path_); }
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

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
        if (value)
            ::setenv(name_, value->c_str(), 1);
        else
            ::unsetenv(name_);
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

TEST(Settings, DefaultsWhenKeysAreMissing)
{
    const Settings s = FromText("[Tarnwick]\n");
    EXPECT_EQ(s.defaultDir, "");
    EXPECT_EQ(s.transparentColour, 240);
    EXPECT_TRUE(s.hints);
    EXPECT_EQ(s.hintDelayMs, 500);
    EXPECT_EQ(s.names.nationNames[1], kNoIniFile);
    EXPECT_EQ(s.names.unitClassNames[0], kNoIniFile);
}

TEST(Settings, TransparentColourIsClampedAndANonNumberGivesTheDefault)
{
    const std::pair<const char*, int> cases[]
        = { { "300", 255 }, { "-5", 0 }, { "abc", 240 }, { "0", 0 }, { "17", 17 } };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(FromText(std::string("[Tarnwick]\nTransparentColour=") + text).transparentColour, expected)
            << text;
}

TEST(Settings, HintsAndTheirDelay)
{
    struct Case {
        const char* text;
        bool hints;
        int delayMs;
    };
    const Case cases[] = {
        { "Hints=1\nHintDelay=4\n", true, 2000 },
        { "Hints=0\nHintDelay=4\n", false, 500 },
        { "Hints=2\nHintDelay=4\n", false, 500 },
        { "Hints=x\nHintDelay=4\n", true, 2000 }, // not a number: the default, which is on
        { "HintDelay=0\n", true, 0 },
        { "HintDelay=-3\n", true, 0 },
        { "HintDelay=2147483647\n", true, 2147483647 },
    };
    for (const Case& c : cases) {
        const Settings s = FromText(std::string("[Tarnwick]\n") + c.text);
        EXPECT_EQ(s.hints, c.hints) << c.text;
        EXPECT_EQ(s.hintDelayMs, c.delayMs) << c.text;
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
    TempDir dir("read");
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
    TempDir dir("find");
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
