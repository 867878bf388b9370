#include "core/rules/openfile.h"

#include <cctype>

namespace tarnwick::core {

int NationOfOobFileName(const std::string& fileName)
{
    if (fileName.size() != 11)
        return 0;
    std::string lower;
    for (char c : fileName)
        lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (lower.compare(0, 4, "obat") != 0 || lower.compare(7, 4, ".obf") != 0)
        return 0;
    int nation = 0;
    for (std::size_t i = 4; i < 7; ++i) {
        if (lower[i] < '0' || lower[i] > '9')
            return 0;
        nation = nation * 10 + (lower[i] - '0');
    }
    return nation;
}

FileToOpen FileToOpenFromPath(const std::filesystem::path& path)
{
    FileToOpen open;
    std::error_code ec;
    const std::filesystem::path full = std::filesystem::absolute(path, ec).lexically_normal();
    open.folder = (ec ? path : full).parent_path();
    const std::string name = path.filename().string();
    open.nation = NationOfOobFileName(name);
    if (open.nation == 0)
        open.error = "Cannot open " + path.string()
            + ": the editor opens order-of-battle files named obatNNN.obf, NNN being the nation (001 to 999)";
    return open;
}

EditorArguments ParseEditorArguments(const std::vector<std::string>& args)
{
    EditorArguments out;
    bool optionsEnded = false;
    for (const std::string& a : args) {
        if (!optionsEnded && (a == "-h" || a == "--help"))
            out.help = true;
        else if (!optionsEnded && a == "--version")
            out.version = true;
        else if (!optionsEnded && a == "--")
            optionsEnded = true;
        else if (!optionsEnded && a.size() > 1 && a[0] == '-')
            out.error = "unknown option '" + a + "'";
        else if (out.file.empty() && !a.empty())
            out.file = a;
        else
            out.error = "unexpected argument '" + a + "'; the editor opens one file";
    }
    return out;
}

std::string EditorUsageText()
{
    return "Usage: tarnwick [FILE]\n"
           "\n"
           "Opens the order-of-battle editor, on FILE when given (an obatNNN.obf file;\n"
           "its folder becomes the working folder and NNN the nation).\n"
           "\n"
           "  -h, --help   show this text\n"
           "  --version    show the program's version\n"
           "\n"
           "tarnwick-cli works on the same files from the command line.\n";
}

std::string EditorVersionText()
{
    return std::string("tarnwick ") + TARNWICK_VERSION + "\n";
}

} // namespace tarnwick::core

namespace tarnwick::core {

std::vector<std::string> RecentFilesAfterOpening(std::vector<std::string> recent, const std::string& path)
{
    std::erase(recent, path);
    recent.insert(recent.begin(), path);
    if (recent.size() > kMaxRecentFiles)
        recent.resize(kMaxRecentFiles);
    return recent;
}

} // namespace tarnwick::core
