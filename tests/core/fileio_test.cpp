#include "core/data/fileio.h"

#include "oobfixture.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

using namespace tarnwick::core;
using namespace tarnwick::testing;
namespace fs = std::filesystem;

namespace {

IoResult WriteImage(const fs::path& target, const Image& bytes, const WriterFactory& factory = {})
{
    return WriteFileAtomic(target, bytes.data(), bytes.size(), factory);
}

mode_t ModeOf(const fs::path& path)
{
    struct stat info { };
    ::stat(path.c_str(), &info);
    return info.st_mode & 07777;
}

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
    const fs::path p = "/x/obat001.obf";
    EXPECT_EQ(IoResult::failure(IoResult::Kind::WriteError, p, "Permission denied").message(),
        "Cannot write /x/obat001.obf: Permission denied");
    EXPECT_EQ(IoResult::failure(IoResult::Kind::ReadError, p, "Is a directory").message(),
        "Cannot read /x/obat001.obf: Is a directory");
    EXPECT_EQ(IoResult::failure(IoResult::Kind::NotFound, p, "").message(), "Cannot find /x/obat001.obf");
    EXPECT_EQ(IoResult::success(p).message(), "");
}

TEST(WriteFileAtomic, WritesNewFilesAndKeepsTheModeOfOldOnes)
{
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
}

TEST(WriteFileAtomic, WritingThroughALinkReplacesTheFileItPointsTo)
{
    TempDir dir;
    WriteBytes(dir / "real.bin", { 1, 2, 3 });
    fs::create_symlink("real.bin", dir / "link.bin");
    ASSERT_TRUE(WriteImage(dir / "link.bin", { 4, 5 }).ok());
    EXPECT_TRUE(fs::is_symlink(dir / "link.bin"));
    EXPECT_EQ(ReadBytes(dir / "real.bin"), (Image { 4, 5 }));
}

TEST(WriteFileAtomic, FolderThatCannotBeWrittenGivesTheReason)
{
    TempDir dir;
    const fs::path missing = dir / "no such folder" / "obat001.obf";
    const IoResult noFolder = WriteImage(missing, { 1 });
    EXPECT_EQ(noFolder.kind, IoResult::Kind::WriteError);
    EXPECT_EQ(noFolder.message(), "Cannot write " + missing.string() + ": No such file or directory");

    fs::create_directory(dir / "obat002.obf");
    WriteBytes(dir / "obat002.obf" / "inside", { 9 });
    const IoResult onFolder = WriteImage(dir / "obat002.obf", { 1 });
    EXPECT_EQ(onFolder.kind, IoResult::Kind::WriteError);
    EXPECT_EQ(onFolder.reason, "Is a directory");
    EXPECT_EQ(Entries(dir / "obat002.obf"), std::vector<std::string> { "inside" });

    if (::geteuid() != 0) { // root writes into read-only folders anyway
        fs::create_directory(dir / "locked");
        fs::permissions(dir / "locked", fs::perms::owner_read | fs::perms::owner_exec);
        const IoResult locked = WriteImage(dir / "locked" / "obat003.obf", { 1 });
        EXPECT_EQ(locked.reason, "Permission denied");
        fs::permissions(dir / "locked", fs::perms::owner_all);
        EXPECT_TRUE(Entries(dir / "locked").empty());
    }
    auto left = Entries(dir.path());
    std::erase(left, "locked");
    EXPECT_EQ(left, std::vector<std::string> { "obat002.obf" }) << "no temporary file is left behind";
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
        { "quota", FailAfterBytes(100, EDQUOT), "Disk quota exceeded" },
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
    EXPECT_EQ(out, Image { 7 }) << "a failed read leaves the buffer alone";

    if (::geteuid() != 0) {
        ::chmod((dir / "big.bin").c_str(), 0);
        const IoResult denied = ReadWholeFile(dir / "big.bin", out);
        EXPECT_EQ(denied.kind, IoResult::Kind::ReadError);
        EXPECT_EQ(denied.reason, "Permission denied");
    }
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
        TempDir dir;
        for (const auto& f : c.files)
            WriteBytes(dir / f, { 0 });
        const fs::path found = FindFileIgnoringCase(dir.path(), "obat012.obf");
        EXPECT_EQ(found, c.found.empty() ? fs::path() : dir / c.found);
    }
    EXPECT_EQ(FindFileIgnoringCase("/no/such/folder", "obat012.obf"), fs::path());
}
