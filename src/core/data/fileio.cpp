#include "core/data/fileio_common.h"

// The POSIX implementation; fileio_win.cpp is the Windows one.
#ifndef _WIN32

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tarnwick::core {

namespace fs = std::filesystem;
using namespace fileio;

namespace {

// Closes a descriptor, retrying nothing: after EINTR the descriptor is gone on Linux.
int CloseDescriptor(int fd)
{
    return ::close(fd) == 0 ? 0 : errno;
}

class RealFileWriter final : public FileWriter {
public:
    explicit RealFileWriter(int fd)
        : fd_(fd)
    {
    }
    ~RealFileWriter() override
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    RealFileWriter(const RealFileWriter&) = delete;
    RealFileWriter& operator=(const RealFileWriter&) = delete;

    bool write(const std::uint8_t* data, std::size_t size) override
    {
        if (fd_ < 0)
            return fail(EBADF);
        while (size > 0) {
            const ssize_t n = ::write(fd_, data, size);
            if (n < 0) {
                if (errno == EINTR)
                    continue;
                return fail(errno);
            }
            if (n == 0)
                return fail(EIO);
            data += n;
            size -= static_cast<std::size_t>(n);
        }
        return true;
    }

    bool finish() override
    {
        if (fd_ < 0)
            return fail(EBADF);
        const int syncError = ::fsync(fd_) == 0 ? 0 : errno;
        const int closeError = CloseDescriptor(fd_);
        fd_ = -1;
        if (syncError != 0)
            return fail(syncError);
        if (closeError != 0)
            return fail(closeError);
        return true;
    }

    std::string error() const override { return error_; }

private:
    bool fail(int err)
    {
        error_ = ErrnoReason(err);
        return false;
    }

    int fd_ = -1;
    std::string error_;
};

// The file a save through target replaces: target itself, or the file a symbolic
// link names. A dangling or looping link gives nothing and a reason.
std::optional<fs::path> FollowLink(const fs::path& target, std::string& reason)
{
    struct stat link { };
    if (::lstat(target.c_str(), &link) != 0 || !S_ISLNK(link.st_mode))
        return target; // a file, or nothing yet: the write itself will tell
    char* real = ::realpath(target.c_str(), nullptr);
    if (real == nullptr) {
        const int err = errno;
        reason = err == ENOENT ? std::string(kDanglingLinkReason) : ErrnoReason(err);
        return std::nullopt;
    }
    fs::path resolved(real);
    std::free(real);
    return resolved;
}

std::string NotRegularFileReason(mode_t mode)
{
    if (S_ISDIR(mode))
        return ErrnoReason(EISDIR);
    return NotRegularReason(S_ISCHR(mode) ? "a character device"
            : S_ISBLK(mode)               ? "a block device"
            : S_ISFIFO(mode)              ? "a FIFO"
            : S_ISSOCK(mode)              ? "a socket"
                                          : "not a regular file");
}

// The named temporary file a write holds at the moment, for a signal handler
// to remove: the path is stored before the flag is set and the flag cleared
// before the path changes, so a handler never reads half a path.
char pendingTemporary[PATH_MAX];
volatile std::sig_atomic_t pendingTemporarySet = 0;

// Gives the new file the old one's owner and group where the process may set
// them (a member of the group may still set the group), then its mode: a change
// of owner clears the set-id bits.
template <class Chown, class Chmod>
void TakeOwnerAndMode(const struct stat& existing, Chown chownTo, Chmod chmodTo)
{
    if ((existing.st_uid != ::geteuid() || existing.st_gid != ::getegid())
        && chownTo(existing.st_uid, existing.st_gid) != 0
        && chownTo(static_cast<uid_t>(-1), existing.st_gid) != 0) {
        // Neither: the file becomes the saver's, as any new file would.
    }
    chmodTo(existing.st_mode & 07777);
}

// Writes through a file without a name (O_TMPFILE) that gets one only just
// before it is renamed over the target, so that a process killed while writing
// leaves nothing behind. Nothing when the file system or the system offers no
// such files; the caller then writes through a named temporary file.
std::optional<IoResult> WriteThroughUnnamedFile(const fs::path& finalPath, const fs::path& target,
    const std::uint8_t* data, std::size_t size, const struct stat* existing, std::mt19937_64& random)
{
    const fs::path folder = finalPath.parent_path().empty() ? fs::path(".") : finalPath.parent_path();
    const int fd = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    if (fd < 0)
        return std::nullopt;
    auto failure = [&](int err) {
        ::close(fd);
        return WriteFailure(target, ErrnoReason(err));
    };
    for (std::size_t done = 0; done < size;) {
        const ssize_t n = ::write(fd, data + done, size - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return failure(n < 0 ? errno : EIO);
        done += static_cast<std::size_t>(n);
    }
    if (::fsync(fd) != 0)
        return failure(errno);
    if (existing != nullptr)
        TakeOwnerAndMode(
            *existing, [&](uid_t u, gid_t g) { return ::fchown(fd, u, g); },
            [&](mode_t m) { return ::fchmod(fd, m); });

    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    fs::path tempPath;
    for (int attempt = 0;; ++attempt) {
        tempPath = TemporaryPathFor(finalPath, random);
        MarkTemporary(tempPath);
        if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, tempPath.c_str(), AT_SYMLINK_FOLLOW) == 0)
            break;
        const int err = errno;
        ClearTemporary();
        if (err != EEXIST || attempt == 15) {
            ::close(fd);
            return std::nullopt; // no /proc, or links not allowed here
        }
    }
    const int closeError = CloseDescriptor(fd);
    if (closeError != 0 || ::rename(tempPath.c_str(), finalPath.c_str()) != 0) {
        const int err = closeError != 0 ? closeError : errno;
        ::unlink(tempPath.c_str());
        ClearTemporary();
        return WriteFailure(target, ErrnoReason(err));
    }
    ClearTemporary();
    return IoResult::success(target);
}

} // namespace

namespace fileio {

void MarkTemporary(const fs::path& path)
{
    pendingTemporarySet = 0;
    std::atomic_signal_fence(std::memory_order_seq_cst);
    const std::string& text = path.native();
    if (text.size() >= sizeof pendingTemporary)
        return;
    std::memcpy(pendingTemporary, text.c_str(), text.size() + 1);
    std::atomic_signal_fence(std::memory_order_seq_cst);
    pendingTemporarySet = 1;
}

void ClearTemporary()
{
    pendingTemporarySet = 0;
}

std::optional<IoResult> FolderProblem(const fs::path& path, const fs::path& target)
{
    std::error_code ec;
    fs::path folder = path.parent_path();
    if (folder.empty())
        folder = fs::current_path(ec);
    struct stat info { };
    int err = 0;
    if (::stat(folder.c_str(), &info) != 0)
        err = errno;
    else if (!S_ISDIR(info.st_mode))
        err = ENOTDIR;
    else if (::faccessat(AT_FDCWD, folder.c_str(), W_OK | X_OK, AT_EACCESS) != 0)
        err = errno;
    if (err == 0)
        return std::nullopt;
    return FolderFailure(target, folder, ErrnoReason(err));
}

std::string RenameOver(const fs::path& from, const fs::path& to)
{
    return ::rename(from.c_str(), to.c_str()) == 0 ? std::string() : ErrnoReason(errno);
}

} // namespace fileio

void RemoveTemporaryFileInProgress() noexcept
{
    if (pendingTemporarySet != 0)
        ::unlink(pendingTemporary);
}

std::unique_ptr<FileWriter> OpenRealFileWriter(const fs::path& tempPath, std::string& reason)
{
    // O_EXCL: never write into a file that someone else created meanwhile.
    const int fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
        reason = ErrnoReason(errno);
        return nullptr;
    }
    return std::make_unique<RealFileWriter>(fd);
}

IoResult WriteFileAtomic(
    const fs::path& target, const std::uint8_t* data, std::size_t size, const WriterFactory& factory)
{
    auto failure = [&](std::string why) { return WriteFailure(target, std::move(why)); };

    if (target.filename().empty())
        return failure(ErrnoReason(EISDIR));

    std::string reason;
    const std::optional<fs::path> resolved = FollowLink(target, reason);
    if (!resolved)
        return failure(reason);
    const fs::path& finalPath = *resolved;

    struct stat existing { };
    const bool targetExists = ::stat(finalPath.c_str(), &existing) == 0;
    if (targetExists) {
        if (!S_ISREG(existing.st_mode))
            return failure(NotRegularFileReason(existing.st_mode));
        // The rename would replace a file the user may not write; refuse as the
        // system would refuse to open it for writing.
        if (::faccessat(AT_FDCWD, finalPath.c_str(), W_OK, AT_EACCESS) != 0)
            return failure(ErrnoReason(errno));
    }

    std::mt19937_64 random = TemporaryNameSource(static_cast<std::uint64_t>(::getpid()));
    if (!factory)
        if (std::optional<IoResult> written = WriteThroughUnnamedFile(
                finalPath, target, data, size, targetExists ? &existing : nullptr, random))
            return *written;
    fs::path tempPath;
    const IoResult written = WriteTemporaryFile(target, finalPath, data, size,
        factory ? factory : WriterFactory(OpenRealFileWriter), random, tempPath);
    if (!written.ok())
        return written;
    if (targetExists)
        TakeOwnerAndMode(
            existing, [&](uid_t u, gid_t g) { return ::chown(tempPath.c_str(), u, g); },
            [&](mode_t m) { return ::chmod(tempPath.c_str(), m); });
    // The folder is not synced: after a crash the rename may be undone, which
    // leaves the complete old file; syncing it costs a journal commit per save.
    return ReplaceWithTemporaryFile(target, tempPath, finalPath);
}

IoResult ReadWholeFile(
    const fs::path& path, std::vector<std::uint8_t>& out, std::uintmax_t maxBytes, std::string_view what)
{
    // O_NONBLOCK: opening a FIFO must not wait for a writer; it is refused below.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        const int err = errno;
        const auto kind
            = (err == ENOENT || err == ENOTDIR) ? IoResult::Kind::NotFound : IoResult::Kind::ReadError;
        return IoResult::failure(kind, path, ErrnoReason(err));
    }
    auto fail = [&](std::string why) {
        ::close(fd);
        return IoResult::failure(IoResult::Kind::ReadError, path, std::move(why));
    };

    struct stat info { };
    if (::fstat(fd, &info) != 0)
        return fail(ErrnoReason(errno));
    if (!S_ISREG(info.st_mode))
        return fail(NotRegularFileReason(info.st_mode));
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0)
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    const auto fileSize = static_cast<std::uintmax_t>(info.st_size > 0 ? info.st_size : 0);
    const IoResult result = ReadOpenFile(
        path, fileSize, maxBytes, what,
        [fd](std::uint8_t* into, std::size_t most, std::string& reason) -> std::optional<std::size_t> {
            for (;;) {
                const ssize_t n = ::read(fd, into, most);
                if (n >= 0)
                    return static_cast<std::size_t>(n);
                if (errno != EINTR) {
                    reason = ErrnoReason(errno);
                    return std::nullopt;
                }
            }
        },
        out);
    ::close(fd);
    return result;
}

} // namespace tarnwick::core

#endif
