#include "core/data/fileio.h"

// The Windows implementation; fileio.cpp is the POSIX one. Paths go to the
// system as wide strings, so folders and files of any name work.
#ifdef _WIN32

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <random>
#include <system_error>

#include <windows.h>

namespace tarnwick::core {

namespace fs = std::filesystem;

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

// Beside the target, derived from its name so that a left-over is recognisable.
fs::path TemporaryPathFor(const fs::path& target, std::mt19937_64& random)
{
    static constexpr wchar_t kDigits[] = L"0123456789abcdefghijklmnopqrstuvwxyz";
    std::wstring suffix;
    std::uint64_t bits = random();
    for (int i = 0; i < 10; ++i) {
        suffix += kDigits[bits % 36];
        bits /= 36;
    }
    return target.parent_path() / (L"." + target.filename().wstring() + L".tmp-" + suffix);
}

// The temporary file a write holds, for the console control handler (which runs
// on a thread of its own) to remove.
wchar_t pendingTemporary[32768];
std::atomic<bool> pendingTemporarySet = false;

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

} // namespace

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
    auto failure = [&](std::string why) {
        return IoResult::failure(IoResult::Kind::WriteError, target, std::move(why));
    };
    if (target.filename().empty())
        return failure(std::generic_category().message(EISDIR));
    if (std::string problem = WindowsNameProblem(target.filename().string()); !problem.empty())
        return failure(problem);

    std::error_code ec;
    fs::path finalPath = target;
    if (fs::is_symlink(fs::symlink_status(target, ec))) {
        finalPath = fs::canonical(target, ec);
        if (ec)
            return failure("it is a symbolic link to a file that does not exist");
    }
    const DWORD attributes = ::GetFileAttributesW(finalPath.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        if (attributes & FILE_ATTRIBUTE_DIRECTORY)
            return failure(std::generic_category().message(EISDIR));
        if (attributes & FILE_ATTRIBUTE_READONLY)
            return failure(SystemReason(ERROR_ACCESS_DENIED));
    }

    std::random_device seed;
    std::mt19937_64 random((static_cast<std::uint64_t>(seed()) << 32) ^ seed() ^ ::GetCurrentProcessId());
    const WriterFactory makeWriter = factory ? factory : WriterFactory(OpenRealFileWriter);
    fs::path tempPath;
    std::unique_ptr<FileWriter> writer;
    std::string reason;
    for (int attempt = 0; attempt < 16 && !writer; ++attempt) {
        tempPath = TemporaryPathFor(finalPath, random);
        if (fs::exists(fs::symlink_status(tempPath, ec)))
            continue;
        reason.clear();
        writer = makeWriter(tempPath, reason);
        if (!writer && !fs::exists(fs::symlink_status(tempPath, ec)))
            break;
    }
    if (!writer) {
        fs::path folder = finalPath.parent_path();
        if (folder.empty())
            folder = fs::current_path(ec);
        if (!fs::is_directory(folder, ec)) {
            IoResult result = IoResult::failure(IoResult::Kind::FolderError, target,
                std::generic_category().message(fs::exists(folder, ec) ? ENOTDIR : ENOENT));
            result.folder = folder;
            return result;
        }
        return failure(reason.empty() ? std::generic_category().message(EEXIST) : reason);
    }
    MarkTemporary(tempPath);

    auto abandon = [&](std::string why) {
        writer.reset();
        std::error_code ignored;
        fs::remove(tempPath, ignored);
        ClearTemporary();
        return failure(std::move(why));
    };
    if (size > 0 && !writer->write(data, size))
        return abandon(writer->error());
    if (!writer->finish())
        return abandon(writer->error());
    writer.reset();

    if (!::MoveFileExW(
            tempPath.c_str(), finalPath.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const DWORD err = ::GetLastError();
        std::error_code ignored;
        fs::remove(tempPath, ignored);
        ClearTemporary();
        return failure(SystemReason(err));
    }
    ClearTemporary();
    return IoResult::success(target);
}

IoResult WriteFileAtomic(const fs::path& target, std::string_view text, const WriterFactory& factory)
{
    return WriteFileAtomic(target, reinterpret_cast<const std::uint8_t*>(text.data()), text.size(), factory);
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
    auto fail = [&](std::string why, IoResult::Kind kind = IoResult::Kind::ReadError) {
        ::CloseHandle(file);
        return IoResult::failure(kind, path, std::move(why));
    };
    auto tooLarge = [&](std::uintmax_t bytes, bool atLeast) {
        return fail("the file holds " + std::string(atLeast ? "more than " : "") + std::to_string(bytes)
                + " bytes, too many for " + std::string(what) + " (at most " + std::to_string(maxBytes) + ")",
            IoResult::Kind::TooLarge);
    };

    // A device (CON, NUL, a pipe) or a folder is refused without reading.
    BY_HANDLE_FILE_INFORMATION info {};
    if (::GetFileType(file) != FILE_TYPE_DISK || !::GetFileInformationByHandle(file, &info))
        return fail("Not a regular file (a device)");
    if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        return fail(std::generic_category().message(EISDIR));
    const std::uintmax_t fileSize
        = (static_cast<std::uintmax_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    if (fileSize > maxBytes)
        return tooLarge(fileSize, false);

    // The size can change while reading: never hold more than maxBytes + 1.
    std::vector<std::uint8_t> bytes;
    std::size_t used = 0;
    const std::uintmax_t cap = maxBytes == kNoReadLimit ? maxBytes : maxBytes + 1;
    bytes.resize(static_cast<std::size_t>(std::min<std::uintmax_t>(fileSize > 0 ? fileSize + 1 : 4096, cap)));
    for (;;) {
        if (used == bytes.size()) {
            if (bytes.size() >= cap)
                return tooLarge(maxBytes, true);
            bytes.resize(static_cast<std::size_t>(std::min<std::uintmax_t>(bytes.size() * 2, cap)));
        }
        DWORD n = 0;
        const DWORD want = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - used, 1u << 30));
        if (!::ReadFile(file, bytes.data() + used, want, &n, nullptr))
            return fail(SystemReason(::GetLastError()));
        if (n == 0)
            break;
        used += n;
    }
    if (used > maxBytes)
        return tooLarge(maxBytes, true);
    ::CloseHandle(file);
    bytes.resize(used);
    out = std::move(bytes);
    return IoResult::success(path);
}

} // namespace tarnwick::core

#endif
