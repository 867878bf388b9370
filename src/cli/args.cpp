#include "cli/args.h"

#include <cctype>
#include <string_view>

namespace tarnwick::cli {

namespace {

enum Option : unsigned { kNation = 1, kOutput = 2, kKind = 4, kInto = 8, kForce = 16 };

// Options that take no value.
constexpr unsigned kFlags = kForce;

struct CommandInfo {
    Command command;
    const char* name;
    unsigned allowed; // options the command takes
    unsigned required; // options it cannot do without
    const char* usage;
};

// One entry per command; a new command adds its entry here.
constexpr CommandInfo kCommands[] = {
    { Command::Info, "info", kNation, 0,
        "Usage: tarnwick-cli [--ini FILE] info IN.obf [--nation N]\n"
        "\n"
        "Prints the size, the comment and the number of used weapon, unit and\n"
        "formation slots of an order-of-battle file. The nation (1..999) is taken\n"
        "from an obatNNN.obf file name when --nation is not given.\n" },
    { Command::Resave, "resave", kNation | kOutput, kNation | kOutput,
        "Usage: tarnwick-cli [--ini FILE] resave IN.obf --nation N -o OUT.obf\n"
        "\n"
        "Loads IN as the file of nation N and saves it as OUT, as the editor's Save\n"
        "does when nothing was edited. OUT may be IN itself.\n" },
    { Command::Csv, "csv", kNation | kOutput, kNation | kOutput,
        "Usage: tarnwick-cli [--ini FILE] csv IN.obf --nation N -o DIR\n"
        "\n"
        "Writes the three CSV dump files of IN (obatDUMPnnunit.csv, obatDUMPnnwpns.csv,\n"
        "obatDUMPnnfmns.csv) into the existing folder DIR.\n" },
    { Command::BufferExport, "buffer-export", kNation | kOutput | kKind, kNation | kOutput | kKind,
        "Usage: tarnwick-cli [--ini FILE] buffer-export IN.obf --nation N --kind unit|weapon|formation -o "
        "OUT.csv\n"
        "\n"
        "Copies every slot of one table of IN into a fresh paste buffer and writes\n"
        "the buffer as a paste-buffer file.\n" },
    { Command::BufferImport, "buffer-import", kNation | kOutput | kKind | kInto,
        kNation | kOutput | kKind | kInto,
        "Usage: tarnwick-cli [--ini FILE] buffer-import IN.csv --kind unit|weapon|formation --into BASE.obf "
        "--nation N -o OUT.obf\n"
        "\n"
        "Reads the paste-buffer file IN into a fresh buffer, pastes the whole buffer\n"
        "into the table of that kind of BASE (loaded as nation N) and saves the result\n"
        "as OUT.\n" },
    { Command::MakeDemo, "make-demo", kForce, 0,
        "Usage: tarnwick-cli make-demo DIR [--force]\n"
        "\n"
        "Writes a folder of made-up sample data: order-of-battle files of three\n"
        "nations, a TWFTK.ini naming them and a README.txt. When DIR already holds\n"
        "any of these files nothing is written, unless --force is given.\n" },
};

constexpr const char* kGlobalUsage
    = "Usage: tarnwick-cli [--ini FILE] COMMAND [ARGS]\n"
      "\n"
      "Commands:\n"
      "  info IN.obf [--nation N]                 size, comment and used slots\n"
      "  resave IN.obf --nation N -o OUT.obf      load and save unchanged\n"
      "  csv IN.obf --nation N -o DIR             write the three CSV dump files\n"
      "  buffer-export IN.obf --nation N --kind K -o OUT.csv\n"
      "                                           write one table as a paste-buffer file\n"
      "  buffer-import IN.csv --kind K --into BASE.obf --nation N -o OUT.obf\n"
      "                                           paste a paste-buffer file into a file\n"
      "  make-demo DIR [--force]                  write a folder of sample data\n"
      "  renationalise IN.obf --from A --to B -o OUT.obf\n"
      "                                           change nation A to B (or --in-place FILE...)\n"
      "  reclassify IN.obf --from A --to B -o OUT.obf\n"
      "                                           change unit class A to B (or --in-place FILE...)\n"
      "  picture IN.lbm -o OUT.bmp|OUT.png        write a unit picture as BMP or PNG\n"
      "  icon IN.shp --frame F [--transparent T] -o OUT.bmp|OUT.png\n"
      "                                           write one frame of an icon file\n"
      "  check PATH [--nation N] [--format text|csv]\n"
      "                                           find broken references in a file or folder\n"
      "  where-used FILE --weapon|--unit|--formation N [--format text|csv]\n"
      "                                           list the records that name an item\n"
      "\n"
      "K is unit, weapon or formation; N is a nation number 1..999.\n"
      "\n"
      "Options:\n"
      "  --ini FILE   read nation and unit-class names from FILE instead of the\n"
      "               TWFTK.ini the editor would use\n"
      "  -h, --help   show this text, or a command's usage after the command\n"
      "\n"
      "An output is never one of the command's inputs, except for IN -o IN with\n"
      "resave, renationalise and reclassify, which saves IN over itself.\n"
      "\n"
      "Exit status: 0 success, 1 a file or data error, 2 a usage error.\n";

const CommandInfo* FindCommand(std::string_view name)
{
    for (const CommandInfo& c : kCommands)
        if (name == c.name)
            return &c;
    return nullptr;
}

const CommandInfo* FindCommand(Command command)
{
    for (const CommandInfo& c : kCommands)
        if (c.command == command)
            return &c;
    return nullptr;
}

bool IsHelp(std::string_view a)
{
    return a == "-h" || a == "--help";
}

// Splits "--name=value"; the value is empty (and hasValue false) without '='.
struct OptionText {
    std::string name;
    std::optional<std::string> value;
};

OptionText SplitOption(const std::string& arg)
{
    if (arg.rfind("--", 0) == 0) {
        const auto eq = arg.find('=');
        if (eq != std::string::npos)
            return { arg.substr(0, eq), arg.substr(eq + 1) };
    }
    return { arg, std::nullopt };
}

core::PasteKind ParseKind(const std::string& text)
{
    if (text == "unit")
        return core::PasteKind::Unit;
    if (text == "weapon")
        return core::PasteKind::Weapon;
    if (text == "formation")
        return core::PasteKind::Formation;
    throw UsageError("--kind must be unit, weapon or formation, not '" + text + "'");
}

const char* OptionName(unsigned option)
{
    switch (option) {
    case kNation:
        return "--nation";
    case kOutput:
        return "-o";
    case kKind:
        return "--kind";
    case kInto:
        return "--into";
    case kForce:
        return "--force";
    default:
        return "?";
    }
}

void ParseCommandArguments(
    const std::vector<std::string>& args, std::size_t i, const CommandInfo& commandInfo, Arguments& out);

} // namespace

const char* CommandName(Command command)
{
    const CommandInfo* info = FindCommand(command);
    return info != nullptr ? info->name : "";
}

const char* KindName(core::PasteKind kind)
{
    switch (kind) {
    case core::PasteKind::Unit:
        return "unit";
    case core::PasteKind::Weapon:
        return "weapon";
    case core::PasteKind::Formation:
        return "formation";
    }
    return "";
}

std::string UsageText(Command command)
{
    const CommandInfo* info = FindCommand(command);
    return info != nullptr ? info->usage : kGlobalUsage;
}

int ParseNation(const std::string& text)
{
    const std::string problem = "--nation must be a number from 1 to 999, not '" + text + "'";
    if (text.empty() || text.size() > 3)
        throw UsageError(problem);
    int n = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            throw UsageError(problem);
        n = n * 10 + (c - '0');
    }
    if (n < 1)
        throw UsageError(problem);
    return n;
}

int NationFromFileName(const std::string& fileName)
{
    // obatNNN.obf: exactly three digits between the prefix and the extension.
    if (fileName.size() != 11)
        return 0;
    std::string lower;
    for (char c : fileName)
        lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (lower.compare(0, 4, "obat") != 0 || lower.compare(7, 4, ".obf") != 0)
        return 0;
    int n = 0;
    for (std::size_t i = 4; i < 7; ++i) {
        if (lower[i] < '0' || lower[i] > '9')
            return 0;
        n = n * 10 + (lower[i] - '0');
    }
    return n;
}

Arguments ParseArguments(const std::vector<std::string>& args)
{
    Arguments out;
    std::size_t i = 0;

    // Global options up to the command.
    for (; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (IsHelp(a)) {
            out.help = true;
            return out;
        }
        OptionText opt = SplitOption(a);
        if (opt.name == "--ini") {
            if (!opt.value) {
                if (i + 1 >= args.size())
                    throw UsageError("--ini needs a file name");
                opt.value = args[++i];
            }
            if (opt.value->empty())
                throw UsageError("--ini needs a file name");
            out.ini = *opt.value;
            continue;
        }
        if (!a.empty() && a[0] == '-')
            throw UsageError("unknown option '" + a + "'");
        break;
    }
    if (i >= args.size())
        throw UsageError("no command given");

    const CommandInfo* info = FindCommand(args[i]);
    if (info == nullptr)
        throw UsageError("unknown command '" + args[i] + "'");
    out.command = info->command;
    try {
        ParseCommandArguments(args, i + 1, *info, out);
    } catch (const UsageError& e) {
        throw UsageError(e.what(), info->command);
    }
    return out;
}

namespace {

void ParseCommandArguments(
    const std::vector<std::string>& args, std::size_t i, const CommandInfo& commandInfo, Arguments& out)
{
    const CommandInfo* info = &commandInfo;

    // A help request anywhere after the command wins over every other check.
    for (std::size_t j = i; j < args.size() && args[j] != "--"; ++j)
        if (IsHelp(args[j])) {
            out.help = true;
            return;
        }

    std::vector<std::string> positional;
    unsigned seen = 0;
    bool optionsEnded = false;
    for (; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (optionsEnded || a.empty() || a[0] != '-' || a == "-") {
            positional.push_back(a);
            continue;
        }
        if (a == "--") {
            optionsEnded = true;
            continue;
        }
        OptionText opt = SplitOption(a);
        unsigned which = 0;
        if (opt.name == "--nation")
            which = kNation;
        else if (opt.name == "-o" || opt.name == "--output")
            which = kOutput;
        else if (opt.name == "--kind")
            which = kKind;
        else if (opt.name == "--into")
            which = kInto;
        else if (opt.name == "--force")
            which = kForce;
        if (which == 0 || (info->allowed & which) == 0)
            throw UsageError(std::string("unknown option '") + a + "' for " + info->name);
        if ((seen & which) != 0)
            throw UsageError(std::string(OptionName(which)) + " given twice");
        seen |= which;
        if ((which & kFlags) != 0) {
            if (opt.value)
                throw UsageError(std::string(OptionName(which)) + " takes no value");
            if (which == kForce)
                out.force = true;
            continue;
        }
        if (!opt.value) {
            if (i + 1 >= args.size())
                throw UsageError(std::string(OptionName(which)) + " needs a value");
            opt.value = args[++i];
        }
        const std::string& v = *opt.value;
        switch (which) {
        case kNation:
            out.nation = ParseNation(v);
            break;
        case kOutput:
            if (v.empty())
                throw UsageError("-o needs a path");
            out.output = v;
            break;
        case kKind:
            out.kind = ParseKind(v);
            break;
        case kInto:
            if (v.empty())
                throw UsageError("--into needs a path");
            out.into = v;
            break;
        default:
            break;
        }
    }

    for (unsigned option : { kNation, kOutput, kKind, kInto })
        if ((info->required & option) != 0 && (seen & option) == 0)
            throw UsageError(std::string(info->name) + " needs " + OptionName(option));

    const char* what = info->command == Command::MakeDemo ? "DIR"
        : info->command == Command::BufferImport          ? "IN.csv"
                                                          : "IN.obf";
    if (positional.empty())
        throw UsageError(std::string(info->name) + " needs " + what);
    if (positional.size() > 1)
        throw UsageError(std::string("unexpected argument '") + positional[1] + "'");
    if (positional[0].empty())
        throw UsageError(std::string(info->name) + " needs " + what);
    out.input = positional[0];
}

} // namespace

} // namespace tarnwick::cli
