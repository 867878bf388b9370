#include "cli/console.h"

#include <system_error>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <shellapi.h>
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

std::vector<std::string> Utf8Arguments(int argc, char** argv)
{
    int count = 0;
    wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (wide == nullptr)
        return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
    std::vector<std::string> args;
    for (int i = 1; i < count; ++i) {
        const int size = ::WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, nullptr, 0, nullptr, nullptr);
        std::string text(size > 0 ? static_cast<std::size_t>(size) : 1, '\0');
        ::WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, text.data(), size, nullptr, nullptr);
        text.pop_back(); // the terminating null
        args.push_back(std::move(text));
    }
    ::LocalFree(wide);
    return args;
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

std::vector<std::string> Utf8Arguments(int argc, char** argv)
{
    return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
}

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
