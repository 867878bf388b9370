#pragma once

// Runs the built tarnwick-cli and makes the files it works on.

#include "../support/tempdir.h"
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace clitest {

struct RunResult {
    int status = -1; // exit status, or -1 when the program did not exit normally
    std::string out;
    std::string err;
};

// The program under test: $TARNWICK_CLI when set (a Windows build, tarnwick-cli.exe,
// runs through wine: $TARNWICK_WINE or /usr/lib/wine/wine64), else the one built
// beside these tests.
const std::string& CliPath();
bool UnderWine();

// A path of the test's as the program under test shows it in a message: as it
// is, or from a Windows build the same path with Windows' separators
// (/tmp/x/a.obf as \tmp\x\a.obf). Where the program names a path it made
// absolute, ShownAbsolute adds the drive wine gives the root (Z:\tmp\x\a.obf).
std::string Shown(const std::filesystem::path& path);
std::string ShownAbsolute(const std::filesystem::path& path);

// Skips a test of what Windows does not have (file modes, FIFOs, signals, setpriv)
// when the program is a Windows build.
#define SKIP_UNDER_WINE(reason)                                                                              \
    if (clitest::UnderWine())                                                                                \
    GTEST_SKIP() << "POSIX only: " << (reason)

// Runs the program with args in an environment whose XDG_CONFIG_HOME is an empty
// folder, so no settings file of the machine's user is read.
RunResult RunCli(const std::vector<std::string>& args);

// Where the program's standard streams lead, when not to the captured files.
struct RunOptions {
    std::optional<std::string> input; // fed to standard input through a pipe
    std::string stdoutFile; // standard output appended to this file (e.g. /dev/full), not captured
    bool terminal = false; // standard output is a terminal (a pseudo-terminal nobody reads)
};
RunResult RunCliWith(const RunOptions& options, const std::vector<std::string>& args);

// The same, run through prefix (e.g. setpriv and its options) before the program.
RunResult RunCliVia(const std::vector<std::string>& prefix, const std::vector<std::string>& args);

// The prefix that runs a command without privileges: as root, setpriv as the user
// 65534 with no groups (nothing when setpriv is not installed); as anyone else,
// an empty prefix (already unprivileged). The files such a run touches must be
// reachable by that user.
std::optional<std::vector<std::string>> Unprivileged();
inline constexpr unsigned kNobody = 65534;

using TempDir = tarnwick::testsupport::TempDir;

void WriteFile(const std::filesystem::path& path, const std::string& bytes);
void WriteFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes);
std::string ReadFile(const std::filesystem::path& path);

// An order-of-battle file image built byte by byte at the layout's offsets.
class OobImage {
public:
    OobImage();
    std::vector<std::uint8_t> bytes;

    void text(std::size_t offset, std::size_t width, const std::string& value);
    void comment(const std::string& value) { text(0, 80, value); }
    void weaponName(int slot, const std::string& name) { text(80 + 15 * slot, 15, name); }
    void unitName(int slot, const std::string& name) { text(10080 + 15 * slot, 15, name); }
    void formationName(int slot, const std::string& name) { text(82680 + 15 * slot, 15, name); }
    // Column base + slot * width + index.
    void u8(std::size_t base, int slot, std::size_t width, std::size_t index, std::uint8_t v)
    {
        bytes.at(base + slot * width + index) = v;
    }
    void u16(std::size_t base, int slot, std::size_t width, std::size_t index, std::uint16_t v)
    {
        u8(base, slot, width, index, static_cast<std::uint8_t>(v & 0xff));
        u8(base, slot, width, index + 1, static_cast<std::uint8_t>(v >> 8));
    }
    // Dates every slot can be saved with unchanged (a save writes year or month 0 as 1).
    void validDates();
};

} // namespace clitest
