#include "core/data/fileio_common.h"

// What both platforms' file functions share: messages, names, look-ups, and the
// steps of a write and a read around the system's calls.

#include <algorithm>
#include <cerrno>
#include <system_error>

namespace tarnwick::core {

namespace fs = std::filesystem;

namespace {

bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]);
        unsigned char y = static_cast<unsigned char>(b[i]);
        if (x >= 'A' && x <= 'Z')
            x = static_cast<unsigned char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z')
            y = static_cast<unsigned char>(y - 'A' + 'a');
        if (x != y)
            return false;
    }
    return true;
}

// A folder shown with a separator at its end, so that it reads as a folder.
std::string FolderText(const fs::path& folder)
{
    std::string text = PathText(folder);
    if (text.empty() || text.back() != static_cast<char>(fs::path::preferred_separator))
        text += static_cast<char>(fs::path::preferred_separator);
    return text;
}

} // namespace

fs::path PathFromUtf8(std::string_view utf8)
{
    return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string PathText(const fs::path& path)
{
    const std::u8string text = fs::path(path).make_preferred().u8string();
    return std::string(text.begin(), text.end());
}

std::string WindowsNameProblem(std::string_view name)
{
    if (name.empty() || name == "." || name == "..")
        return "it is not a file name";
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 32)
            return "Windows does not allow control characters in a file name";
        if (std::string_view("<>:\"/\\|?*").find(c) != std::string_view::npos)
            return std::string("Windows does not allow the character '") + c + "' in a file name";
    }
    if (name.back() == '.' || name.back() == ' ')
        return "Windows does not allow a file name ending in a dot or a space";
    // A device name stays one with any extension, and with spaces before it.
    std::string_view stem = name.substr(0, name.find('.'));
    while (!stem.empty() && stem.back() == ' ')
        stem.remove_suffix(1);
    std::string upper;
    for (const char c : stem)
        upper += (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    const bool numbered = upper.size() == 4 && (upper.starts_with("COM") || upper.starts_with("LPT"))
        && upper[3] >= '1' && upper[3] <= '9';
    if (numbered || upper == "CON" || upper == "PRN" || upper == "AUX" || upper == "NUL")
        return "Windows reserves the name " + upper + " for a device";
    return {};
}

std::string IoResult::message() const
{
    const std::string where = PathText(path);
    const std::string because = reason.empty() ? std::string() : ": " + reason;
    switch (kind) {
    case Kind::Ok:
        return {};
    case Kind::NotFound:
        return "Cannot find " + where + because;
    case Kind::ReadError:
        return "Cannot read " + where + because;
    case Kind::WriteError:
        return "Cannot write " + where + because;
    case Kind::BadData:
        return "Cannot use " + where + because;
    case Kind::FolderError:
        return "Cannot create a file in the folder " + FolderText(folder) + because;
    case Kind::TooLarge:
        return "Cannot read " + where + because;
    }
    return {};
}

fs::path FindFileIgnoringCase(const fs::path& dir, std::string_view name)
{
    if (name.empty())
        return {};
    std::error_code ec;
#ifndef _WIN32
    const fs::path exact = dir / fs::path(std::string(name));
    if (fs::exists(fs::symlink_status(exact, ec)))
        return exact;
#endif
    // Where the file system itself ignores case (Windows) any spelling opens the
    // file: only the folder's listing gives its real name.
    fs::path found;
    int matches = 0;
    fs::directory_iterator it(dir.empty() ? fs::path(".") : dir, ec);
    if (ec)
        return {};
    for (const fs::directory_iterator end; it != end; it.increment(ec)) {
        if (ec)
            return {};
        const std::u8string bytes = it->path().filename().u8string();
        const std::string entry(bytes.begin(), bytes.end());
        if (entry == name)
            return dir / it->path().filename();
        if (EqualIgnoringAsciiCase(entry, name)) {
            ++matches;
            found = dir / it->path().filename();
        }
    }
    return matches == 1 ? found : fs::path();
}

IoResult WriteFileAtomic(const fs::path& target, std::string_view text, const WriterFactory& factory)
{
    return WriteFileAtomic(target, reinterpret_cast<const std::uint8_t*>(text.data()), text.size(), factory);
}

namespace fileio {

std::string ErrnoReason(int err)
{
    return std::generic_category().message(err);
}

std::string NotRegularReason(std::string_view what)
{
    return "Not a regular file (" + std::string(what) + ")";
}

IoResult WriteFailure(const fs::path& target, std::string why)
{
    return IoResult::failure(IoResult::Kind::WriteError, target, std::move(why));
}

IoResult FolderFailure(const fs::path& target, fs::path folder, std::string why)
{
    IoResult result = IoResult::failure(IoResult::Kind::FolderError, target, std::move(why));
    result.folder = std::move(folder);
    return result;
}

std::mt19937_64 TemporaryNameSource(std::uint64_t processId)
{
    std::random_device seed;
    return std::mt19937_64((static_cast<std::uint64_t>(seed()) << 32) ^ seed() ^ processId);
}

fs::path TemporaryPathFor(const fs::path& target, std::mt19937_64& random)
{
    static constexpr char kDigits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
    std::string suffix = ".tmp-";
    std::uint64_t bits = random();
    for (int i = 0; i < 10; ++i) {
        suffix += kDigits[bits % 36];
        bits /= 36;
    }
    fs::path name(".");
    name += target.filename();
    name += suffix;
    return target.parent_path() / name;
}

IoResult WriteTemporaryFile(const fs::path& target, const fs::path& finalPath, const std::uint8_t* data,
    std::size_t size, const WriterFactory& makeWriter, std::mt19937_64& random, fs::path& tempPath)
{
    std::unique_ptr<FileWriter> writer;
    std::string reason;
    std::error_code ec;
    for (int attempt = 0; attempt < 16 && !writer; ++attempt) {
        tempPath = TemporaryPathFor(finalPath, random);
        if (fs::exists(fs::symlink_status(tempPath, ec)))
            continue;
        reason.clear();
        writer = makeWriter(tempPath, reason);
        if (!writer && !fs::exists(fs::symlink_status(tempPath, ec)))
            break; // a real failure (folder missing, not writable), not a name clash
    }
    if (!writer) {
        if (std::optional<IoResult> folder = FolderProblem(finalPath, target))
            return *folder;
        return WriteFailure(target, reason.empty() ? ErrnoReason(EEXIST) : reason);
    }
    MarkTemporary(tempPath);

    if ((size > 0 && !writer->write(data, size)) || !writer->finish()) {
        std::string why = writer->error();
        writer.reset(); // closes the file first
        fs::remove(tempPath, ec);
        ClearTemporary();
        return WriteFailure(target, std::move(why));
    }
    return IoResult::success(target);
}

IoResult ReplaceWithTemporaryFile(const fs::path& target, const fs::path& tempPath, const fs::path& finalPath)
{
    std::string why = RenameOver(tempPath, finalPath);
    if (!why.empty()) {
        std::error_code ignored;
        fs::remove(tempPath, ignored);
    }
    ClearTemporary();
    return why.empty() ? IoResult::success(target) : WriteFailure(target, std::move(why));
}

IoResult ReadOpenFile(const fs::path& path, std::uintmax_t fileSize, std::uintmax_t maxBytes,
    std::string_view what, const ReadSome& read, std::vector<std::uint8_t>& out)
{
    auto tooLarge = [&](std::uintmax_t bytes, bool atLeast) {
        return IoResult::failure(IoResult::Kind::TooLarge, path,
            "the file holds " + std::string(atLeast ? "more than " : "") + std::to_string(bytes)
                + " bytes, too many for " + std::string(what) + " (at most " + std::to_string(maxBytes)
                + ")");
    };
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
        std::string reason;
        const std::optional<std::size_t> n = read(bytes.data() + used, bytes.size() - used, reason);
        if (!n)
            return IoResult::failure(IoResult::Kind::ReadError, path, std::move(reason));
        if (*n == 0)
            break;
        used += *n;
    }
    if (used > maxBytes)
        return tooLarge(maxBytes, true);
    bytes.resize(used);
    out = std::move(bytes);
    return IoResult::success(path);
}

} // namespace fileio

} // namespace tarnwick::core
