#include "core/data/fileio_common.h"

// The Windows implementation; fileio.cpp is the POSIX one. Paths go to the
// system as wide strings, so folders and files of any name work.
#ifdef _WIN32

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <system_error>

#include <windows.h>

namespace tarnwick::core {

namespace fs = std::filesystem;
using namespace fileio;

namespace {

// The system's reason in the words the POSIX build uses where there are such
// words, so that messages read the same on both.
std::string SystemReason(DWORD err)
{
    switch (err) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
        return std::generic_category().message(ENOENT);
    case ERROR_ACCESS_DENIED:
        return std::generic_category().message(EACCES);
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return std::generic_category().message(ENOSPC);
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
        return std::generic_category().message(EEXIST);
    case ERROR_DIRECTORY:
        return std::generic_category().message(ENOTDIR);
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return "The file is in use by another program";
    default:
        break;
    }
    std::string text = std::system_category().message(static_cast<int>(err));
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == '.'))
        text.pop_back();
    return text;
}

IoResult::Kind ReadFailureKind(DWORD err)
{
    return err == ERROR_FILE_NOT_FOUND || err == ERROR_PATH_NOT_FOUND ? IoResult::Kind::NotFound
                                                                      : IoResult::Kind::ReadError;
}

class RealFileWriter final : public FileWriter {
public:
    explicit RealFileWriter(HANDLE file)
        : file_(file)
    {
    }
    ~RealFileWriter() override
    {
        if (file_ != INVALID_HANDLE_VALUE)
            ::CloseHandle(file_);
    }
    RealFileWriter(const RealFileWriter&) = delete;
    RealFileWriter& operator=(const RealFileWriter&) = delete;

    bool write(const std::uint8_t* data, std::size_t size) override
    {
        while (size > 0) {
            const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30));
            DWORD written = 0;
            if (!::WriteFile(file_, data, chunk, &written, nullptr))
                return fail(::GetLastError());
            if (written == 0)
                return fail(ERROR_WRITE_FAULT);
            data += written;
            size -= written;
        }
        return true;
    }

    bool finish() override
    {
        const DWORD flushError = ::FlushFileBuffers(file_) ? 0 : ::GetLastError();
        const DWORD closeError = ::CloseHandle(file_) ? 0 : ::GetLastError();
        file_ = INVALID_HANDLE_VALUE;
        if (flushError != 0)
            return fail(flushError);
        if (closeError != 0)
            return fail(closeError);
        return true;
    }

    std::string error() const override { return error_; }

private:
    bool fail(DWORD err)
    {
        error_ = SystemReason(err);
        return false;
    }

    HANDLE file_ = INVALID_HANDLE_VALUE;
    std::string error_;
};

// The temporary file a write holds, for the console control handler (which runs
// on a thread of its own) to remove.
wchar_t pendingTemporary[32768];
std::atomic<bool> pendingTemporarySet = false;

} // namespace

namespace fileio {

void MarkTemporary(const fs::path& path)
{
    pendingTemporarySet = false;
    const std::wstring& text = path.native();
    if (text.size() >= std::size(pendingTemporary))
        return;
    std::copy(text.c_str(), text.c_str() + text.size() + 1, pendingTemporary);
    pendingTemporarySet = true;
}

void ClearTemporary()
{
    pendingTemporarySet = false;
}

std::optional<IoResult> FolderProblem(const fs::path& path, const fs::path& target)
{
    std::error_code ec;
    fs::path folder = path.parent_path();
    if (folder.empty())
        folder = fs::current_path(ec);
    if (fs::is_directory(folder, ec))
        return std::nullopt;
    return FolderFailure(target, folder, ErrnoReason(fs::exists(folder, ec) ? ENOTDIR : ENOENT));
}

std::string RenameOver(const fs::path& from, const fs::path& to)
{
    if (::MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return {};
    return SystemReason(::GetLastError());
}

} // namespace fileio

void RemoveTemporaryFileInProgress() noexcept
{
    if (pendingTemporarySet)
        ::DeleteFileW(pendingTemporary);
}

std::unique_ptr<FileWriter> OpenRealFileWriter(const fs::path& tempPath, std::string& reason)
{
    // CREATE_NEW: never write into a file that someone else created meanwhile.
    const HANDLE file = ::CreateFileW(
        tempPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        reason = SystemReason(::GetLastError());
        return nullptr;
    }
    return std::make_unique<RealFileWriter>(file);
}

IoResult WriteFileAtomic(
    const fs::path& target, const std::uint8_t* data, std::size_t size, const WriterFactory& factory)
{
    auto failure = [&](std::string why) { return WriteFailure(target, std::move(why)); };
    if (target.filename().empty())
        return failure(std::generic_category().message(EISDIR));
    if (std::string problem = WindowsNameProblem(target.filename().string()); !problem.empty())
        return failure(problem);

    std::error_code ec;
    fs::path finalPath = target;
    if (fs::is_symlink(fs::symlink_status(target, ec))) {
        finalPath = fs::canonical(target, ec);
        if (ec)
            return failure(std::string(kDanglingLinkReason));
    }
    const DWORD attributes = ::GetFileAttributesW(finalPath.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        if (attributes & FILE_ATTRIBUTE_DIRECTORY)
            return failure(std::generic_category().message(EISDIR));
        if (attributes & FILE_ATTRIBUTE_READONLY)
            return failure(SystemReason(ERROR_ACCESS_DENIED));
    }

    std::mt19937_64 random = TemporaryNameSource(::GetCurrentProcessId());
    fs::path tempPath;
    const IoResult written = WriteTemporaryFile(target, finalPath, data, size,
        factory ? factory : WriterFactory(OpenRealFileWriter), random, tempPath);
    if (!written.ok())
        return written;
    return ReplaceWithTemporaryFile(target, tempPath, finalPath);
}

IoResult ReadWholeFile(
    const fs::path& path, std::vector<std::uint8_t>& out, std::uintmax_t maxBytes, std::string_view what)
{
    const HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
        OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD err = ::GetLastError();
        return IoResult::failure(ReadFailureKind(err), path, SystemReason(err));
    }
    auto fail = [&](std::string why) {
        ::CloseHandle(file);
        return IoResult::failure(IoResult::Kind::ReadError, path, std::move(why));
    };

    // A device (CON, NUL, a pipe) or a folder is refused without reading.
    BY_HANDLE_FILE_INFORMATION info {};
    if (::GetFileType(file) != FILE_TYPE_DISK || !::GetFileInformationByHandle(file, &info))
        return fail(NotRegularReason("a device"));
    if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        return fail(std::generic_category().message(EISDIR));
    const std::uintmax_t fileSize
        = (static_cast<std::uintmax_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    const IoResult result = ReadOpenFile(
        path, fileSize, maxBytes, what,
        [file](std::uint8_t* into, std::size_t most, std::string& reason) -> std::optional<std::size_t> {
            DWORD n = 0;
            if (::ReadFile(
                    file, into, static_cast<DWORD>(std::min<std::size_t>(most, 1u << 30)), &n, nullptr))
                return n;
            reason = SystemReason(::GetLastError());
            return std::nullopt;
        },
        out);
    ::CloseHandle(file);
    return result;
}

} // namespace tarnwick::core

#endif
