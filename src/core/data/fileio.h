#pragma once

// Reading whole files and writing them atomically, with a seam for tests.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tarnwick::core {

// What a file operation did. The GUI turns a failure into a message box naming
// the path and the system's reason; the CLI prints it.
struct IoResult {
    // FolderError: the folder of a write (in folder) cannot take a new file.
    // TooLarge: a read refused before reading; reason gives the size.
    enum class Kind { Ok, NotFound, ReadError, WriteError, BadData, FolderError, TooLarge };
    Kind kind = Kind::Ok;
    std::filesystem::path path;
    std::string reason; // the system's reason, e.g. "No space left on device"
    std::filesystem::path folder; // for FolderError: the folder the message names

    bool ok() const { return kind == Kind::Ok; }
    static IoResult success(std::filesystem::path p) { return failure(Kind::Ok, std::move(p), {}); }
    static IoResult failure(Kind k, std::filesystem::path p, std::string why)
    {
        IoResult result;
        result.kind = k;
        result.path = std::move(p);
        result.reason = std::move(why);
        return result;
    }
    // "Cannot write /x/obat001.obf: Permission denied" and the like.
    std::string message() const;
};

// Where a write goes. The real one is a file descriptor on a temporary file;
// tests substitute one that fails part-way.
class FileWriter {
public:
    virtual ~FileWriter() = default;
    // Each returns false on failure and leaves the reason in error().
    virtual bool write(const std::uint8_t* data, std::size_t size) = 0;
    virtual bool finish() = 0; // flush to the device and close
    virtual std::string error() const = 0;
};

// Opens a writer on a new temporary file; on failure returns null and sets reason.
using WriterFactory
    = std::function<std::unique_ptr<FileWriter>(const std::filesystem::path& tempPath, std::string& reason)>;

// The writer on real files.
std::unique_ptr<FileWriter> OpenRealFileWriter(const std::filesystem::path& tempPath, std::string& reason);

// Writes bytes to a temporary file beside target, flushes it and renames it over
// target. On any failure the temporary file is removed and target is untouched.
// Only a regular file is replaced, and only one the user may write; it keeps its
// mode and, where the process may set them, its owner and group. A symbolic link
// is followed to the file it names and stays a link; a dangling or looping link
// is refused.
IoResult WriteFileAtomic(const std::filesystem::path& target, const std::uint8_t* data, std::size_t size,
    const WriterFactory& factory = {});
IoResult WriteFileAtomic(
    const std::filesystem::path& target, std::string_view text, const WriterFactory& factory = {});

// Where the file system allows it the bytes go to a file without a name
// (O_TMPFILE) that is linked beside target only just before the rename, so that
// a process killed part-way leaves no temporary file behind; elsewhere (and with
// a test's factory) to a named hidden temporary file.

// For a program's SIGINT and SIGTERM handler: removes the named temporary file a
// write in progress holds, if any. Async-signal-safe. Tracks one write at a time,
// as a single-threaded program makes them.
void RemoveTemporaryFileInProgress() noexcept;

// Reads a whole regular file (a device, a pipe or a folder is refused without
// blocking); on failure returns NotFound or ReadError with the reason. A file of
// more than maxBytes is refused as TooLarge before anything is read; what names
// the kind of file in that message ("an order-of-battle file").
inline constexpr std::uintmax_t kNoReadLimit = ~std::uintmax_t { 0 };
IoResult ReadWholeFile(const std::filesystem::path& path, std::vector<std::uint8_t>& out,
    std::uintmax_t maxBytes = kNoReadLimit, std::string_view what = "such a file");

// Why Windows would refuse name as a file's name: a device name (CON, PRN, AUX,
// NUL, COM1..COM9, LPT1..LPT9) in any case and with any extension ("aux.obf"),
// a name ending in a dot or a space, a character Windows forbids in names. Empty
// when Windows takes it. Saves on Windows refuse such names with this reason.
std::string WindowsNameProblem(std::string_view name);

// A path from text in UTF-8 (a command line's argument, a settings file's
// entry). On Windows a path is wide and a plain std::string would be taken in the
// ANSI code page, losing any name outside it.
std::filesystem::path PathFromUtf8(std::string_view utf8);

// A path as messages show it: in UTF-8, with the platform's own separators
// throughout (C:\Mods\obat001.obf on Windows, never C:/Mods\obat001.obf).
std::string PathText(const std::filesystem::path& path);

// Finds name in dir: the exact name wins, else a unique match ignoring ASCII case.
// Returns an empty path when there is none (or more than one case-insensitive match).
std::filesystem::path FindFileIgnoringCase(const std::filesystem::path& dir, std::string_view name);

} // namespace tarnwick::core
