#ifdef _WIN32

#include "codec/exportfile_win.h"

#include "core/data/fileio.h"

#include <algorithm>
#include <random>
#include <system_error>

#include <windows.h>

namespace tarnwick::codec {

namespace fs = std::filesystem;

std::string WriteExportFileWindows(const fs::path& target, const std::vector<std::uint8_t>& bytes)
{
    thread_local std::mt19937_64 random(std::random_device {}() ^ ::GetCurrentThreadId());
    auto failure = [&](DWORD err) {
        std::string reason = std::system_category().message(static_cast<int>(err));
        while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r' || reason.back() == '.'))
            reason.pop_back();
        return "Cannot write " + core::PathText(target) + ": " + reason;
    };
    fs::path temp;
    HANDLE file = INVALID_HANDLE_VALUE;
    for (int attempt = 0; attempt < 16 && file == INVALID_HANDLE_VALUE; ++attempt) {
        temp = target.parent_path()
            / (L"." + target.filename().wstring() + L"." + std::to_wstring(random() % 1000000000));
        file = ::CreateFileW(
            temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE && ::GetLastError() != ERROR_FILE_EXISTS)
            return failure(::GetLastError());
    }
    if (file == INVALID_HANDLE_VALUE)
        return failure(ERROR_FILE_EXISTS);
    DWORD error = 0;
    for (std::size_t done = 0; done < bytes.size() && error == 0;) {
        DWORD written = 0;
        const auto chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
        if (!::WriteFile(file, bytes.data() + done, chunk, &written, nullptr))
            error = ::GetLastError();
        else if (written == 0)
            error = ERROR_WRITE_FAULT;
        done += written;
    }
    if (!::CloseHandle(file) && error == 0)
        error = ::GetLastError();
    if (error == 0 && !::MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING))
        error = ::GetLastError();
    if (error == 0)
        return {};
    ::DeleteFileW(temp.c_str());
    return failure(error);
}

} // namespace tarnwick::codec

#endif
