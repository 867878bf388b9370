#include "cli/stdstreams.h"

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

#include <cerrno>
#include <cstring>

namespace tarnwick::cli {

using core::IoResult;

bool IsStandardInput(const std::string& path)
{
    return path == "-" || path == "/dev/stdin" || path == "/dev/fd/0" || path == "/proc/self/fd/0";
}

bool IsStandardOutput(const std::string& path)
{
    return path == "-" || path == "/dev/stdout" || path == "/dev/fd/1" || path == "/proc/self/fd/1";
}

bool IsTerminal(std::FILE* stream)
{
#ifdef _WIN32
    return ::_isatty(::_fileno(stream)) != 0;
#else
    return ::isatty(::fileno(stream)) == 1;
#endif
}

std::string InputName(const std::string& path)
{
    return IsStandardInput(path) ? "standard input" : core::PathText(core::PathFromUtf8(path));
}

IoResult ReadInput(
    const std::string& path, std::vector<std::uint8_t>& bytes, std::uintmax_t maxBytes, std::string_view what)
{
    if (!IsStandardInput(path))
        return core::ReadWholeFile(core::PathFromUtf8(path), bytes, maxBytes, what);
    bytes.clear();
    std::uint8_t block[65536];
    for (;;) {
        const std::size_t got = std::fread(block, 1, sizeof block, stdin);
        bytes.insert(bytes.end(), block, block + got);
        if (bytes.size() > maxBytes)
            return IoResult::failure(IoResult::Kind::TooLarge, "standard input",
                "it holds more than " + std::to_string(maxBytes) + " bytes, too many for "
                    + std::string(what));
        if (got < sizeof block) {
            if (std::ferror(stdin))
                return IoResult::failure(IoResult::Kind::ReadError, "standard input", std::strerror(errno));
            return IoResult::success("standard input");
        }
    }
}

IoResult WriteOutput(const std::string& path, const std::uint8_t* data, std::size_t size, bool binary)
{
    if (!IsStandardOutput(path))
        return core::WriteFileAtomic(core::PathFromUtf8(path), data, size);
    if (binary && IsTerminal(stdout))
        return IoResult::failure(IoResult::Kind::WriteError, "standard output",
            "it is a terminal; redirect it to a file or a pipe for binary data");
    if (std::fwrite(data, 1, size, stdout) != size || std::fflush(stdout) != 0)
        return IoResult::failure(IoResult::Kind::WriteError, "standard output", std::strerror(errno));
    return IoResult::success("standard output");
}

IoResult WriteOutput(const std::string& path, std::string_view text)
{
    return WriteOutput(path, reinterpret_cast<const std::uint8_t*>(text.data()), text.size(), false);
}

} // namespace tarnwick::cli
