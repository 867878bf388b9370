#include "core/rules/sdimain.h"

#include "core/data/globals.h"
#include "core/data/records.h"

#include <filesystem>

namespace tarnwick::core {

namespace {

constexpr char kSeparator = static_cast<char>(std::filesystem::path::preferred_separator);

// Keeps the first count UTF-8 characters of text.
std::string FirstCharacters(std::string_view text, std::size_t count)
{
    std::size_t end = 0;
    std::size_t seen = 0;
    while (end < text.size() && seen < count) {
        ++end;
        while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
            ++end;
        ++seen;
    }
    return std::string(text.substr(0, end));
}

} // namespace

std::string JoinPath(std::string_view dir, std::string_view name)
{
    std::string out(dir);
    // Windows takes '/' as a separator too.
    const bool endsInSeparator = !out.empty() && (out.back() == kSeparator || out.back() == '/');
    if (!endsInSeparator)
        out.push_back(kSeparator);
    out.append(name);
    return out;
}

std::string StartedInCurrentDirTitle(std::string_view dir)
{
    return std::string(kTitleStartedInDefaultDir) + std::string(dir) + ":";
}

std::string LoadedTitle(std::string_view dir, std::string_view rowText)
{
    return "Tarnwick for GH:FTK : " + JoinPath(dir, rowText);
}

std::string FileListRow(int nation, bool fileExists, std::string_view nationName)
{
    std::string row = fileExists ? "" : " ? ";
    row += "obat" + TwoDigits(nation) + " - ";
    row.append(nationName);
    return row;
}

std::string SearchingStatus(std::string_view dir)
{
    return "Searching in " + std::string(dir);
}

std::string LoadedStatus(std::string_view dir, std::string_view rowText)
{
    return "Loaded " + JoinPath(dir, rowText);
}

std::string SavedFileStatus(std::string_view writtenPath)
{
    return "Saved " + std::string(writtenPath);
}

std::string CsvWrittenStatus(std::string_view dir)
{
    return "Text files written to " + std::string(dir);
}

std::string UnableToFindText(std::string_view fileName)
{
    return FirstCharacters("Unable to find " + std::string(fileName), 27);
}

std::string ShortFileWarning(std::string_view path, std::size_t bytesInFile)
{
    return std::string(path) + " holds only " + std::to_string(bytesInFile) + " of "
        + std::to_string(kOobFileSize)
        + " bytes.\n\nThe missing part reads as zeros; a save writes a complete file.";
}

std::string LongFileWarning(std::string_view path, std::size_t bytesInFile)
{
    return std::string(path) + " holds " + std::to_string(bytesInFile) + " bytes, more than the "
        + std::to_string(kOobFileSize)
        + " of an order-of-battle file.\n\nThe extra bytes are kept and written back unchanged on save.";
}

std::string CannotEnterFolderText(std::string_view dir, std::string_view reason)
{
    std::string text = "Cannot open the folder " + std::string(dir);
    if (!reason.empty())
        text += ": " + std::string(reason);
    return text;
}

std::string ReplaceFileQuestion(std::string_view path)
{
    return std::string(path) + " already exists.\n\nDo you want to replace it?";
}

std::string HelpMissingText(std::string_view path)
{
    return "The help page " + std::string(path) + " is missing.";
}

std::string HelpNotOpenedText(std::string_view path)
{
    return "No browser could open the help page " + std::string(path)
        + ".\n\nOpen it in a browser of your choice.";
}

std::string SaveAsFileName(std::string_view utf8Name)
{
    return FirstCharacters(utf8Name, kSaveAsNameLength);
}

std::string CommandFailedText(std::string_view what)
{
    return "The command stopped: " + std::string(what)
        + "\n\nFiles are only ever replaced whole, so none was left half-written.";
}

} // namespace tarnwick::core
