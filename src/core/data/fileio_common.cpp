#include "core/data/fileio.h"

// What both platforms' file functions share: messages, names, look-ups.

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

} // namespace tarnwick::core
