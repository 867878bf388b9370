#include "cli/console.h"

#include <system_error>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#endif

namespace tarnwick::cli {

namespace fs = std::filesystem;

#ifdef _WIN32

void PrepareConsole()
{
    ::SetConsoleOutputCP(CP_UTF8);
    for (int fd : { 0, 1, 2 })
        ::_setmode(fd, _O_BINARY);
}

fs::path ProgramPath(const char* argv0)
{
    std::wstring name(32768, L'\0');
    const DWORD n = ::GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
    if (n > 0 && n < name.size()) {
        name.resize(n);
        return name;
    }
    std::error_code ec;
    return fs::absolute(argv0 != nullptr ? argv0 : "", ec);
}

#else

void PrepareConsole() { }

fs::path ProgramPath(const char* argv0)
{
    std::error_code ec;
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec || exe.empty())
        exe = fs::absolute(argv0 != nullptr ? argv0 : "", ec);
    return exe;
}

#endif

} // namespace tarnwick::cli
