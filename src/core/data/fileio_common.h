#pragma once

// What the POSIX (fileio.cpp) and the Windows (fileio_win.cpp) file functions
// share: the words of their failures, the temporary file's name, and the steps
// of a write through a named temporary file and of a whole read. The platform
// files hold the calls to the system, among them the four declared last here.

#include "core/data/fileio.h"

#include <optional>
#include <random>

namespace tarnwick::core::fileio {

// The system's words for a POSIX error number; Windows maps its own errors to
// these where there are such words, so that messages read the same on both.
std::string ErrnoReason(int err);
inline constexpr std::string_view kDanglingLinkReason = "it is a symbolic link to a file that does not exist";
// "Not a regular file (a FIFO)" and the like.
std::string NotRegularReason(std::string_view what);

IoResult WriteFailure(const std::filesystem::path& target, std::string why);
// The folder of a write cannot take a new file.
IoResult FolderFailure(const std::filesystem::path& target, std::filesystem::path folder, std::string why);

// Seeds the temporary names of one write.
std::mt19937_64 TemporaryNameSource(std::uint64_t processId);
// Beside target, hidden, and derived from its name so that a left-over is recognisable.
std::filesystem::path TemporaryPathFor(const std::filesystem::path& target, std::mt19937_64& random);

// Opens makeWriter on a fresh temporary name beside finalPath and writes the
// bytes through it, the name held for the interrupt handler. On success
// tempPath names the complete, closed file; on failure nothing is left behind
// and the result says why.
IoResult WriteTemporaryFile(const std::filesystem::path& target, const std::filesystem::path& finalPath,
    const std::uint8_t* data, std::size_t size, const WriterFactory& makeWriter, std::mt19937_64& random,
    std::filesystem::path& tempPath);
// Renames that file over finalPath; on failure removes it.
IoResult ReplaceWithTemporaryFile(const std::filesystem::path& target, const std::filesystem::path& tempPath,
    const std::filesystem::path& finalPath);

// Reads into at most most bytes of into: the count read (0 at the end), or
// nothing with reason set.
using ReadSome
    = std::function<std::optional<std::size_t>(std::uint8_t* into, std::size_t most, std::string& reason)>;
// Reads an open file that held fileSize bytes when it was opened: refused as
// TooLarge beyond maxBytes (what names the kind of file), the size checked again
// as it is read, since it can change meanwhile.
IoResult ReadOpenFile(const std::filesystem::path& path, std::uintmax_t fileSize, std::uintmax_t maxBytes,
    std::string_view what, const ReadSome& read, std::vector<std::uint8_t>& out);

// Each platform's own.
// Holds path for RemoveTemporaryFileInProgress, or lets go of it.
void MarkTemporary(const std::filesystem::path& path);
void ClearTemporary();
// Why the folder of path cannot take a new file, when that is the trouble.
std::optional<IoResult> FolderProblem(const std::filesystem::path& path, const std::filesystem::path& target);
// Renames from over to, replacing it; the reason on failure, empty on success.
std::string RenameOver(const std::filesystem::path& from, const std::filesystem::path& to);

} // namespace tarnwick::core::fileio
