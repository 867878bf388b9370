#pragma once

// What the main window says: titles, status texts, file-list rows, messages
// and their captions. Paths and names come in as UTF-8 (a name held as
// Windows-1252 bytes is converted by the caller), except where noted.

#include <cstddef>
#include <string>
#include <string_view>

namespace tarnwick::core {

// The application title, also the caption of boxes that have no caption of their own.
inline constexpr const char* kApplicationTitle = "Tarnwick - GH:FTK V 1";

inline constexpr const char* kTitleInitialising = "Tarnwick for GH2:FTK : Initialising";
inline constexpr const char* kTitleNoFileLoaded = "Tarnwick for GH2:FTK : No File Loaded";
// After start-up in the settings' default folder (with its trailing blank).
inline constexpr const char* kTitleStartedInDefaultDir = "Tarnwick for GH:FTK : No File Loaded ";
// After start-up in the process's current directory.
std::string StartedInCurrentDirTitle(std::string_view dir);
// After a successful open.
std::string LoadedTitle(std::string_view dir, std::string_view rowText);

// Joins a folder and a name with the platform separator, without doubling it.
std::string JoinPath(std::string_view dir, std::string_view name);

// A row of the file list, in the bytes of the nation name:
// "obat12 - Name" when the nation's file exists, " ? obat05 - Name" when not.
std::string FileListRow(int nation, bool fileExists, std::string_view nationName);

// Status texts.
std::string SearchingStatus(std::string_view dir);
std::string LoadedStatus(std::string_view dir, std::string_view rowText);
// A save names the file actually written ("Saved /x/obat012.obf").
std::string SavedFileStatus(std::string_view writtenPath);
std::string CsvWrittenStatus(std::string_view dir);
inline constexpr const char* kUnknownPageStatus = "Unknown Page!";
inline constexpr const char* kWrongPageStatus = "Wrong Page";

// Messages and captions.
inline constexpr const char* kNoDefaultDirText
    = "Cannot find default directory directory, starting in Tarnwick GH:FTK .exe dir";
inline constexpr const char* kExitCaption = "Program Exit";
inline constexpr const char* kExitQuestion
    = "Do you really want to quit?\n\n - Have you saved all your edits?";
inline constexpr const char* kFileNotFoundCaption = "File Not Found";
inline constexpr const char* kFileNotFoundText = "Try changing your current directory !";
inline constexpr const char* kFileLoadErrorCaption = "File Load Error";
inline constexpr const char* kPleaseLoadText = "Please load a file first!!";
inline constexpr const char* kNoFileCaption = "NO FILE";
inline constexpr const char* kLoadToOverwriteText = "Load a Tarn to overwrite first!";
inline constexpr const char* kLoadToReportText = "Load a Tarn to report from first!";
inline constexpr const char* kSaveAsTitle = "Select file to SAVE AS";
inline constexpr const char* kSaveAsFilter = "obat Files (obat*.obf);;All Files (*)";
inline constexpr const char* kHelpFileName = "TWGHFTXHelp.htm";

// "Unable to find obat012.obf", the whole text cut to 27 characters.
std::string UnableToFindText(std::string_view fileName);
// The warnings of a file that is not exactly the size of an order-of-battle file.
std::string ShortFileWarning(std::string_view path, std::size_t bytesInFile);
std::string LongFileWarning(std::string_view path, std::size_t bytesInFile);
// A folder typed or chosen that cannot be entered.
std::string CannotEnterFolderText(std::string_view dir, std::string_view reason);

// Save As over an existing file other than the open one asks first (default No).
inline constexpr const char* kReplaceFileCaption = "Replace File";
std::string ReplaceFileQuestion(std::string_view path);
// The help page is missing, or nothing on the desktop could open it.
std::string HelpMissingText(std::string_view path);
std::string HelpNotOpenedText(std::string_view path);

// Save As keeps the first 12 characters (not bytes) of the chosen name.
inline constexpr std::size_t kSaveAsNameLength = 12;
std::string SaveAsFileName(std::string_view utf8Name);

// A command stopped by an error that reached the event loop.
std::string CommandFailedText(std::string_view what);

// Hint delay in force until the settings are read.
inline constexpr int kStartupHintDelayMs = 3000;

} // namespace tarnwick::core
