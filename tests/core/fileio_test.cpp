#include "core/data/fileio.h"

#include "oobfixture.h"

#include <gtest/gtest.h>

#include <functional>
#include <iostream>

#include "../support/platform.h"

#ifndef _WIN32
#include <spawn.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;
#endif

using namespace tarnwick::core;
using namespace tarnwick::testing;
namespace fs = std::filesystem;

namespace {

IoResult WriteImage(const fs::path& target, const Image& bytes, const WriterFactory& factory = {})
{
    return WriteFileAtomic(target, bytes.data(), bytes.size(), factory);
}

#ifndef _WIN32
mode_t ModeOf(const fs::path& path)
{
    struct stat info { };
    ::stat(path.c_str(), &info);
    return info.st_mode & 07777;
}
#endif

// Writes everything, then fails to flush it to the device.
class FinishFails final : public FileWriter {
public:
    explicit FinishFails(std::unique_ptr<FileWriter> real)
        : real_(std::move(real))
    {
    }
    bool write(const std::uint8_t* data, std::size_t size) override { return real_->write(data, size); }
    bool finish() override { return false; }
    std::string error() const override { return "Input/output error"; }

private:
    std::unique_ptr<FileWriter> real_;
};

} // namespace

TEST(IoResultMessage, NamesThePathAndTheReason)
{
    // A path joined from parts is shown with one kind of separator, the platform's own.
    const fs::path p = fs::path("/x") / "obat001.obf";
#ifdef _WIN32
    const std::string shown = "\\x\\obat001.obf";
#else
    const std::string shown = "/x/obat001.obf";
#endif
    EXPECT_EQ(IoResult::failure(IoResult::Kind::WriteError, p, "Permission denied").message(),
        "Cannot write " + shown + ": Permission denied");
    EXPECT_EQ(IoResult::failure(IoResult::Kind::ReadError, p, "Is a directory").message(),
        "Cannot read " + shown + ": Is a directory");
    EXPECT_EQ(IoResult::failure(IoResult::Kind::NotFound, p, "").message(), "Cannot find " + shown);
    EXPECT_EQ(IoResult::success(p).message(), "");
}

TEST(WriteFileAtomic, WritesNewFilesAndKeepsTheModeOfOldOnes)
{
    SKIP_ON_WINDOWS("file modes");
#ifndef _WIN32
    TempDir dir;
    const Image first = RandomImage(1, 5000);
    ASSERT_TRUE(WriteImage(dir / "new.bin", first).ok());
    EXPECT_EQ(ReadBytes(dir / "new.bin"), first);
    const mode_t mask = ::umask(0);
    ::umask(mask);
    EXPECT_EQ(ModeOf(dir / "new.bin"), 0666 & ~mask) << "a new file gets the usual mode, not a temporary's";

    ::chmod((dir / "new.bin").c_str(), 0640);
    ASSERT_TRUE(WriteFileAtomic(dir / "new.bin", std::string_view("0123")).ok());
    EXPECT_EQ(ReadBytes(dir / "new.bin"), (Image { '0', '1', '2', '3' }));
    EXPECT_EQ(ModeOf(dir / "new.bin"), 0640u);

    ASSERT_TRUE(WriteImage(dir / "new.bin", {}).ok());
    EXPECT_TRUE(ReadBytes(dir / "new.bin").empty());
    EXPECT_EQ(Entries(dir.path()), std::vector<std::string> { "new.bin" });
#endif
}

TEST(WriteFileAtomic, WritingThroughALinkReplacesTheFileItPointsTo)
{
    SKIP_ON_WINDOWS("symbolic links need a privilege on Windows");
#ifndef _WIN32
    TempDir dir;
    WriteBytes(dir / "real.bin", { 1, 2, 3 });
    fs::create_symlink("real.bin", dir / "link.bin");
    fs::create_symlink(dir / "link.bin", dir / "link2.bin"); // a link to a link
    ASSERT_TRUE(WriteImage(dir / "link.bin", { 4, 5 }).ok());
    EXPECT_TRUE(fs::is_symlink(dir / "link.bin"));
    EXPECT_EQ(ReadBytes(dir / "real.bin"), (Image { 4, 5 }));
    const IoResult twice = WriteImage(dir / "link2.bin", { 6 });
    ASSERT_TRUE(twice.ok()) << twice.message();
    EXPECT_EQ(twice.path, dir / "link2.bin");
    EXPECT_TRUE(fs::is_symlink(dir / "link2.bin"));
    EXPECT_EQ(ReadBytes(dir / "real.bin"), (Image { 6 }));
    EXPECT_EQ(Entries(dir.path()), (std::vector<std::string> { "link.bin", "link2.bin", "real.bin" }));
#endif
}

// Only a regular file is replaced: a save onto a folder, a device, a FIFO or a link
// that leads nowhere is refused and leaves everything in the folder as it was.
TEST(WriteFileAtomic, OnlyARegularFileIsReplaced)
{
    SKIP_ON_WINDOWS("FIFOs and devices");
#ifndef _WIN32
    struct Case {
        const char* what;
        std::function<bool(const fs::path& dir)> make; // makes dir/"target"; false: cannot here
        std::string reason;
    };
    auto fifo = [](const fs::path& p) { return ::mkfifo(p.c_str(), 0644) == 0; };
    const Case cases[] = {
        { "folder", [](const fs::path& d) { return fs::create_directory(d / "target"); }, "Is a directory" },
        { "FIFO", [&](const fs::path& d) { return fifo(d / "target"); }, "Not a regular file (a FIFO)" },
        { "character device",
            [](const fs::path& d) {
                // The same device as /dev/null, made here: /dev itself is never touched.
                return ::mknod((d / "target").c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0;
            },
            "Not a regular file (a character device)" },
        { "link to a FIFO",
            [&](const fs::path& d) {
                fs::create_symlink("pipe", d / "target");
                return fifo(d / "pipe");
            },
            "Not a regular file (a FIFO)" },
        { "link to a folder",
            [](const fs::path& d) {
                fs::create_symlink("sub", d / "target");
                return fs::create_directory(d / "sub");
            },
            "Is a directory" },
        { "dangling link",
            [](const fs::path& d) {
                fs::create_symlink("gone.bin", d / "target");
                return true;
            },
            "it is a symbolic link to a file that does not exist" },
        { "looping link",
            [](const fs::path& d) {
                fs::create_symlink("other", d / "target");
                fs::create_symlink("target", d / "other");
                return true;
            },
            "Too many levels of symbolic links" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        if (!c.make(dir.path())) {
            std::cout << "[  SKIPPED ] cannot make a " << c.what << " here\n";
            continue;
        }
        const auto before = Entries(dir.path());
        const auto type = fs::symlink_status(dir / "target").type();
        const IoResult result = WriteImage(dir / "target", { 1, 2 });
        EXPECT_EQ(result.kind, IoResult::Kind::WriteError);
        EXPECT_EQ(result.message(), "Cannot write " + (dir / "target").string() + ": " + c.reason);
        EXPECT_EQ(Entries(dir.path()), before) << "no temporary file is left behind";
        EXPECT_EQ(fs::symlink_status(dir / "target").type(), type);
    }
#endif
}

// A save keeps the old file's mode, owner and group (the owner only where the
// process may set it: here, when the tests run as root).
TEST(WriteFileAtomic, KeepsModeOwnerAndGroup)
{
    SKIP_ON_WINDOWS("file modes and owners");
#ifndef _WIN32
    TempDir dir;
    WriteBytes(dir / "theirs.bin", { 1 });
    ::chmod((dir / "theirs.bin").c_str(), 0640);
    const bool root = ::geteuid() == 0;
    if (root) {
        ASSERT_EQ(::chown((dir / "theirs.bin").c_str(), 65534, 65534), 0);
    }
    ASSERT_TRUE(WriteImage(dir / "theirs.bin", { 2, 3 }).ok());
    struct stat info { };
    ASSERT_EQ(::stat((dir / "theirs.bin").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    EXPECT_EQ(info.st_uid, root ? 65534u : ::geteuid());
    EXPECT_EQ(info.st_gid, root ? 65534u : ::getegid());
    EXPECT_EQ(ReadBytes(dir / "theirs.bin"), (Image { 2, 3 }));
#endif
}

TEST(WriteFileAtomic, FolderThatCannotBeWrittenIsNamed)
{
    TempDir dir;
    const fs::path missing = dir / "no such folder" / "obat001.obf";
    const IoResult noFolder = WriteImage(missing, { 1 });
    EXPECT_EQ(noFolder.kind, IoResult::Kind::FolderError);
    EXPECT_EQ(noFolder.path, missing);
    EXPECT_EQ(noFolder.message(),
        "Cannot create a file in the folder " + (dir / "no such folder" / "").string()
            + ": No such file or directory");

    WriteBytes(dir / "plain", { 1 });
    const IoResult inFile = WriteImage(dir / "plain" / "obat001.obf", { 1 });
    EXPECT_EQ(inFile.message(),
        "Cannot create a file in the folder " + (dir / "plain" / "").string() + ": Not a directory");

    EXPECT_EQ(Entries(dir.path()), std::vector<std::string> { "plain" })
        << "no temporary file is left behind";
}

// Root may write anything, so as root this test runs itself again as the user
// 65534 (through setpriv); as anyone else it runs as it is.
TEST(WriteFileAtomic, ReadOnlyFileOrFolderAsAnUnprivilegedUser)
{
    SKIP_ON_WINDOWS("setpriv and folder modes");
#ifndef _WIN32
    if (::geteuid() == 0) {
        const char* setpriv = "/usr/bin/setpriv";
        if (::access(setpriv, X_OK) != 0)
            GTEST_SKIP() << "setpriv is not installed";
        const std::string self = fs::read_symlink("/proc/self/exe").string();
        const std::string filter = "--gtest_filter=WriteFileAtomic.ReadOnlyFileOrFolderAsAnUnprivilegedUser";
        std::vector<std::string> args { setpriv, "--reuid=65534", "--regid=65534", "--clear-groups", self,
            filter };
        std::vector<char*> argv;
        for (std::string& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        pid_t pid = 0;
        ASSERT_EQ(::posix_spawn(&pid, setpriv, nullptr, nullptr, argv.data(), environ), 0);
        int status = 0;
        while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) { }
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the run as 65534 failed";
        return;
    }
    TempDir dir;
    fs::create_directory(dir / "locked");
    fs::permissions(dir / "locked", fs::perms::owner_read | fs::perms::owner_exec);
    const IoResult locked = WriteImage(dir / "locked" / "obat003.obf", { 1 });
    EXPECT_EQ(locked.message(),
        "Cannot create a file in the folder " + (dir / "locked").string() + "/: Permission denied");
    fs::permissions(dir / "locked", fs::perms::owner_all);
    EXPECT_TRUE(Entries(dir / "locked").empty());

    // A read-only file in a folder the user may write is not replaced by the rename.
    WriteBytes(dir / "readonly.bin", { 7 });
    ::chmod((dir / "readonly.bin").c_str(), 0444);
    EXPECT_EQ(WriteImage(dir / "readonly.bin", { 8 }).message(),
        "Cannot write " + (dir / "readonly.bin").string() + ": Permission denied");
    EXPECT_EQ(ReadBytes(dir / "readonly.bin"), Image { 7 });
    EXPECT_EQ(Entries(dir.path()), (std::vector<std::string> { "locked", "readonly.bin" }));
#endif
}

// A write that fails at any point leaves the old file as it was and no temporary behind.
TEST(WriteFileAtomic, FailureAtAnyPointLeavesTheOldFile)
{
    const Image old = RandomImage(3, 4000);
    const Image next = RandomImage(4, 6000);
    struct Case {
        const char* what;
        WriterFactory factory;
        std::string reason;
    };
    const Case cases[] = {
        { "disk full at once", FailAfterBytes(0), "No space left on device" },
        { "disk full after one byte", FailAfterBytes(1), "No space left on device" },
        { "disk full one byte short", FailAfterBytes(next.size() - 1), "No space left on device" },
#ifdef EDQUOT
        { "quota", FailAfterBytes(100, EDQUOT), "Disk quota exceeded" },
#endif
        { "flush fails",
            [](const fs::path& temp, std::string& reason) -> std::unique_ptr<FileWriter> {
                auto real = OpenRealFileWriter(temp, reason);
                return real ? std::make_unique<FinishFails>(std::move(real)) : nullptr;
            },
            "Input/output error" },
        { "cannot open",
            [](const fs::path&, std::string& reason) -> std::unique_ptr<FileWriter> {
                reason = "Too many open files";
                return nullptr;
            },
            "Too many open files" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        WriteBytes(dir / "obat001.obf", old);
        const IoResult result = WriteImage(dir / "obat001.obf", next, c.factory);
        EXPECT_EQ(result.kind, IoResult::Kind::WriteError);
        EXPECT_EQ(result.path, dir / "obat001.obf");
        EXPECT_EQ(result.reason, c.reason);
        EXPECT_EQ(ReadBytes(dir / "obat001.obf"), old);
        EXPECT_EQ(Entries(dir.path()), std::vector<std::string> { "obat001.obf" });
    }
}

TEST(ReadWholeFile, ReadsEveryByteOrSaysWhyNot)
{
    TempDir dir;
    const Image bytes = RandomImage(5, 300000);
    WriteBytes(dir / "big.bin", bytes);
    Image out { 1, 2, 3 };
    ASSERT_TRUE(ReadWholeFile(dir / "big.bin", out).ok());
    EXPECT_EQ(out, bytes);

    WriteBytes(dir / "empty.bin", {});
    ASSERT_TRUE(ReadWholeFile(dir / "empty.bin", out).ok());
    EXPECT_TRUE(out.empty());

    out = { 7 };
    const IoResult missing = ReadWholeFile(dir / "none.bin", out);
    EXPECT_EQ(missing.kind, IoResult::Kind::NotFound);
    EXPECT_EQ(
        missing.message(), "Cannot find " + (dir / "none.bin").string() + ": No such file or directory");
    EXPECT_EQ(ReadWholeFile(dir / "big.bin" / "x", out).kind, IoResult::Kind::NotFound);

    const IoResult folder = ReadWholeFile(dir.path(), out);
    EXPECT_EQ(folder.kind, IoResult::Kind::ReadError);
    EXPECT_EQ(folder.reason, "Is a directory");
#ifndef _WIN32
    // A FIFO without a writer would block a plain open; it is refused at once.
    ASSERT_EQ(::mkfifo((dir / "pipe").c_str(), 0644), 0);
    EXPECT_EQ(ReadWholeFile(dir / "pipe", out).reason, "Not a regular file (a FIFO)");
#endif

    // A limit refuses a larger file before reading it, naming its size.
    EXPECT_TRUE(ReadWholeFile(dir / "big.bin", out, bytes.size()).ok());
    out = { 7 };
    const IoResult large = ReadWholeFile(dir / "big.bin", out, bytes.size() - 1, "a test file");
    EXPECT_EQ(large.kind, IoResult::Kind::TooLarge);
    EXPECT_EQ(large.message(),
        "Cannot read " + (dir / "big.bin").string()
            + ": the file holds 300000 bytes, too many for a test file (at most 299999)");
    EXPECT_EQ(out, Image { 7 }) << "a failed read leaves the buffer alone";

#ifndef _WIN32
    if (::geteuid() != 0) {
        ::chmod((dir / "big.bin").c_str(), 0);
        const IoResult denied = ReadWholeFile(dir / "big.bin", out);
        EXPECT_EQ(denied.kind, IoResult::Kind::ReadError);
        EXPECT_EQ(denied.reason, "Permission denied");
    }
#endif
}

TEST(FindFileIgnoringCase, ExactNameFirstThenOneMatchInAnyCase)
{
    struct Case {
        const char* what;
        std::vector<std::string> files;
        std::string found; // empty: none
    };
    const Case cases[] = {
        { "exact", { "obat012.obf" }, "obat012.obf" },
        { "other case", { "OBAT012.OBF" }, "OBAT012.OBF" },
        { "exact wins over other cases", { "OBAT012.OBF", "obat012.obf", "Obat012.obf" }, "obat012.obf" },
        { "two other cases are ambiguous", { "OBAT012.OBF", "Obat012.obf" }, "" },
        { "none", { "obat013.obf", "obat012.obf.bak" }, "" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
#ifdef _WIN32
        if (c.files.size() > 1 && c.found.empty() == false)
            continue; // one folder holds one spelling there
        if (std::string_view(c.what) == "two other cases are ambiguous")
            continue;
#endif
        TempDir dir;
        for (const auto& f : c.files)
            WriteBytes(dir / f, { 0 });
        const fs::path found = FindFileIgnoringCase(dir.path(), "obat012.obf");
        EXPECT_EQ(found, c.found.empty() ? fs::path() : dir / c.found);
    }
    EXPECT_EQ(FindFileIgnoringCase("/no/such/folder", "obat012.obf"), fs::path());
}

// Windows refuses these names (a device whatever the case and the extension);
// a save there says why before it touches anything.
TEST(WindowsNameProblem, DeviceNamesTrailingDotsAndForbiddenCharacters)
{
    const std::pair<const char*, const char*> cases[] = {
        { "obat001.obf", "" },
        { "console.obf", "" },
        { "com10", "" },
        { "CON", "Windows reserves the name CON for a device" },
        { "aux.obf", "Windows reserves the name AUX for a device" },
        { "nul.tar.gz", "Windows reserves the name NUL for a device" },
        { "Lpt9.txt", "Windows reserves the name LPT9 for a device" },
        { "com1 .obf", "Windows reserves the name COM1 for a device" },
        { "prn", "Windows reserves the name PRN for a device" },
        { "obat001.", "Windows does not allow a file name ending in a dot or a space" },
        { "obat001.obf ", "Windows does not allow a file name ending in a dot or a space" },
        { "a:b.obf", "Windows does not allow the character ':' in a file name" },
        { "what?.csv", "Windows does not allow the character '?' in a file name" },
        { "tab\there", "Windows does not allow control characters in a file name" },
        { "..", "it is not a file name" },
    };
    for (const auto& [name, problem] : cases) {
        SCOPED_TRACE(name);
        EXPECT_EQ(WindowsNameProblem(name), problem);
#ifdef _WIN32
        // "a:b.obf" would name the file b.obf on drive A:.
        if (*problem != '\0' && std::string_view(name) != ".." && !fs::path(name).has_root_name()) {
            TempDir dir;
            const IoResult refused = WriteImage(dir / name, { 1 });
            EXPECT_EQ(refused.reason, problem);
            EXPECT_TRUE(Entries(dir.path()).empty());
        }
#endif
    }
}

TEST(WriteFileAtomic, FoldersAndFilesOfAnyScript)
{
    TempDir dir;
    const fs::path folder = dir.path() / fs::path(u8"t\u00e4rn \u0416\u4e2d");
    fs::create_directory(folder);
    const fs::path file = folder / fs::path(u8"\u00e9t\u00e9.obf");
    const Image bytes = RandomImage(6, 106680);
    const IoResult written = WriteImage(file, bytes);
    ASSERT_TRUE(written.ok()) << written.message();
    Image back;
    ASSERT_TRUE(ReadWholeFile(file, back).ok());
    EXPECT_EQ(back, bytes);
    EXPECT_EQ(FindFileIgnoringCase(folder, "\xc3\xa9t\xc3\xa9.OBF").empty(), false);
}
