#include "cli/args.h"

#include "cli/artcommands.h"
#include "cli/bulkcommands.h"
#include "cli/checkcommands.h"
#include "cli/commands.h"
#include "cli/democommand.h"
#include "cli/diffcommands.h"
#include "cli/mergecommands.h"
#include "cli/picturecommands.h"
#include "cli/timelinecommands.h"
#include "core/data/records.h"

#include <algorithm>
#include <cctype>
#include <string_view>

namespace tarnwick::cli {

namespace {

enum Option : unsigned {
    kNation = 1u << 0,
    kOutput = 1u << 1,
    kKind = 1u << 2,
    kInto = 1u << 3,
    kForce = 1u << 4,
    kFrom = 1u << 5,
    kTo = 1u << 6,
    kInPlace = 1u << 7,
    kAnyName = 1u << 8,
    kFrame = 1u << 9,
    kTransparent = 1u << 10,
    kPalette = 1u << 11,
    kDither = 1u << 12,
    kFormat = 1u << 13,
    kJobs = 1u << 14,
    kWeaponItem = 1u << 15,
    kUnitItem = 1u << 16,
    kFormationItem = 1u << 17,
    kQuiet = 1u << 18, // every command takes it
    kPrefer = 1u << 19,
    kGranularity = 1u << 20,
    kReport = 1u << 21,
    kReverse = 1u << 22,
    kDryRun = 1u << 23,
    kNewFile = 1u << 24,
    kWrite = 1u << 25,
};

// Options that take no value.
constexpr unsigned kFlags
    = kForce | kInPlace | kAnyName | kDither | kQuiet | kReverse | kDryRun | kNewFile | kWrite;

struct OptionInfo {
    Option option;
    const char* name;
    const char* alias; // another spelling, or nullptr
};

constexpr OptionInfo kOptions[] = {
    { kNation, "--nation", nullptr },
    { kOutput, "-o", "--output" },
    { kKind, "--kind", nullptr },
    { kInto, "--into", nullptr },
    { kForce, "--force", nullptr },
    { kFrom, "--from", nullptr },
    { kTo, "--to", nullptr },
    { kInPlace, "--in-place", nullptr },
    { kAnyName, "--any-name", nullptr },
    { kFrame, "--frame", nullptr },
    { kTransparent, "--transparent", nullptr },
    { kPalette, "--palette", nullptr },
    { kDither, "--dither", nullptr },
    { kFormat, "--format", nullptr },
    { kJobs, "--jobs", nullptr },
    { kWeaponItem, "--weapon", nullptr },
    { kUnitItem, "--unit", nullptr },
    { kFormationItem, "--formation", nullptr },
    { kQuiet, "-q", "--quiet" },
    { kPrefer, "--prefer", nullptr },
    { kGranularity, "--granularity", nullptr },
    { kReport, "--report", nullptr },
    { kReverse, "--reverse", nullptr },
    { kDryRun, "--dry-run", nullptr },
    { kNewFile, "--new-file", nullptr },
    { kWrite, "--write", nullptr },
};

struct CommandInfo {
    Command command;
    const char* name;
    Handler run;
    bool usesSettings; // reads the settings file (--ini or the editor's) before it runs
    unsigned allowed; // options the command takes
    unsigned required; // options it cannot do without (with --in-place, -o is not wanted)
    const char* operand; // what its positional argument is, for messages
    int valueMax; // the largest --from and --to, when it takes them
    const char* usage;
    std::size_t operands = 1; // positional arguments it takes (without --in-place)
    const char* summary = ""; // one line for the program's help
    std::size_t optionalOperands = 0; // more it may take after those
};

constexpr const char* kBulkDetails
    = "N is the nation of the file (1..999); it is taken from an obatNNN.obf file\n"
      "name when --nation is not given. OUT is written as the editor's Save writes,\n"
      "at exactly the path given. With --in-place every FILE is saved over itself;\n"
      "a file that fails is reported and the others still run. --in-place takes\n"
      "only files named as order-of-battle files (obatNNN.obf, any letter case)\n"
      "unless --any-name is given, and never a settings file (TWFTK.ini, or the\n"
      "file given with --ini); otherwise nothing is changed.\n";

// Every command: the one table the parser, the usage texts and main() work from.
// A new command adds its row here (and its value to Command).
const CommandInfo kCommands[] = {
    { Command::Info, "info", RunInfo, true, kNation, 0, "IN.obf", 0,
        "Usage: tarnwick-cli [--ini FILE] info IN.obf [--nation N]\n"
        "\n"
        "Prints the size, the comment and the number of used weapon, unit and\n"
        "formation slots of an order-of-battle file. The nation (1..999) is taken\n"
        "from an obatNNN.obf file name when --nation is not given. IN may be - for\n"
        "standard input.\n",
        1, "size, comment and used slots" },
    { Command::Resave, "resave", RunResave, true, kNation | kOutput, kOutput, "IN.obf", 0,
        "Usage: tarnwick-cli [--ini FILE] resave IN.obf [--nation N] -o OUT.obf\n"
        "\n"
        "Loads IN as the file of nation N and saves it as OUT, as the editor's Save\n"
        "does when nothing was edited. OUT may be IN itself. N (1..999) is taken from\n"
        "an obatNNN.obf file name when --nation is not given.\n",
        1, "load and save unchanged" },
    { Command::Csv, "csv", RunCsv, true, kNation | kOutput, kOutput, "IN.obf", 0,
        "Usage: tarnwick-cli [--ini FILE] csv IN.obf [--nation N] -o DIR\n"
        "\n"
        "Writes the three CSV dump files of IN (obatDUMPnnunit.csv, obatDUMPnnwpns.csv,\n"
        "obatDUMPnnfmns.csv) into the existing folder DIR. N (1..999) is taken from\n"
        "an obatNNN.obf file name when --nation is not given.\n",
        1, "write the three CSV dump files" },
    { Command::BufferExport, "buffer-export", RunBufferExport, true, kNation | kOutput | kKind,
        kOutput | kKind, "IN.obf", 0,
        "Usage: tarnwick-cli [--ini FILE] buffer-export IN.obf [--nation N] --kind unit|weapon|formation\n"
        "                    -o OUT.csv\n"
        "\n"
        "Copies every slot of one table of IN into a fresh paste buffer and writes\n"
        "the buffer as a paste-buffer file. A name holding a comma or a double quote\n"
        "is written in double quotes, with its quotes doubled. N (1..999) is taken\n"
        "from an obatNNN.obf file name when --nation is not given.\n",
        1, "write one table as a paste-buffer file" },
    { Command::BufferImport, "buffer-import", RunBufferImport, true, kNation | kOutput | kKind | kInto,
        kOutput | kKind | kInto, "IN.csv", 0,
        "Usage: tarnwick-cli [--ini FILE] buffer-import IN.csv --kind unit|weapon|formation --into BASE.obf\n"
        "                    [--nation N] -o OUT.obf\n"
        "\n"
        "Reads the paste-buffer file IN into a fresh buffer, pastes the whole buffer\n"
        "into the table of that kind of BASE (loaded as nation N) and saves the result\n"
        "as OUT. Fields in double quotes are read as spreadsheets write them (\"\" is\n"
        "one quote). A file that starts with a UTF-8 byte order mark, or that is valid\n"
        "UTF-8 holding non-ASCII characters, is read as UTF-8 and its names converted\n"
        "to Windows-1252; a character that code page lacks is refused. N (1..999) is\n"
        "taken from BASE's name (obatNNN.obf) when --nation is not given.\n",
        1, "paste a paste-buffer file into a file" },
    { Command::MakeDemo, "make-demo", RunMakeDemo, false, kForce, 0, "DIR", 0,
        "Usage: tarnwick-cli make-demo DIR [--force]\n"
        "\n"
        "Writes a folder of made-up sample data: order-of-battle files of three\n"
        "nations, a TWFTK.ini naming them, a README.txt, and unit pictures and icon\n"
        "files in pic/ and shp/ (an existing folder of that name in another letter\n"
        "case is used). Every file written is listed. When DIR already holds any of\n"
        "these files, in any letter case, nothing is written, unless --force is given.\n",
        1, "write a folder of sample data" },
    { Command::Renationalise, "renationalise", RunRenationalise, true,
        kNation | kOutput | kFrom | kTo | kInPlace | kAnyName, kOutput | kFrom | kTo, "IN.obf", 99,
        "Usage: tarnwick-cli [--ini FILE] renationalise IN.obf [--nation N] --from A --to B -o OUT.obf\n"
        "       tarnwick-cli [--ini FILE] renationalise --in-place [--any-name] FILE... [--nation N]\n"
        "                    --from A --to B\n"
        "\n"
        "Changes nation A to nation B in every unit and formation, empty slots\n"
        "included, as the editor's Renationalise dialog does, and prints\n"
        "\"Processed : u Units, f Formations\". A and B are numbers from 0 to 99.\n"
        "\n",
        1, "change nation A to nation B in every unit and formation" },
    { Command::Reclassify, "reclassify", RunReclassify, true,
        kNation | kOutput | kFrom | kTo | kInPlace | kAnyName, kOutput | kFrom | kTo, "IN.obf", 255,
        "Usage: tarnwick-cli [--ini FILE] reclassify IN.obf [--nation N] --from A --to B -o OUT.obf\n"
        "       tarnwick-cli [--ini FILE] reclassify --in-place [--any-name] FILE... [--nation N]\n"
        "                    --from A --to B\n"
        "\n"
        "Changes unit class A to class B in every unit, empty slots included, as the\n"
        "editor's Reclassify dialog does, and prints \"Reclassified : n Units\". A and\n"
        "B are numbers from 0 to 255.\n"
        "\n",
        1, "change unit class A to class B in every unit" },
    { Command::Picture, "picture", RunPicture, false, kOutput | kFormat, kOutput, "IN.lbm", 0,
        "Usage: tarnwick-cli picture IN.lbm -o OUT.bmp|OUT.png|- [--format png|bmp]\n"
        "\n"
        "Decodes a unit picture (an 8-plane LBM file) and writes it as an 8-bit\n"
        "BMP file or a palette PNG file, chosen by --format or else by OUT's\n"
        "extension (PNG for standard output). IN may be - for standard input.\n",
        1, "write a unit picture as BMP or PNG" },
    { Command::Icon, "icon", RunIcon, false, kOutput | kFrame | kTransparent | kFormat, kOutput | kFrame,
        "IN.shp", 0,
        "Usage: tarnwick-cli icon IN.shp --frame F [--transparent T] -o OUT.bmp|OUT.png|- [--format "
        "png|bmp]\n"
        "\n"
        "Decodes directory entry F (0..254, the first entry is 0) of an icon shape\n"
        "file and writes it as an 8-bit BMP file or a palette PNG file, chosen by\n"
        "--format or else by OUT's extension (PNG for standard output). Pixels the\n"
        "shape does not cover get palette index T (0..255, default 240). IN may be -\n"
        "for standard input.\n",
        1, "write one frame of an icon file" },
    { Command::Diff, "diff", RunDiff, true, kFormat | kOutput | kNewFile, 0, "A.obf B.obf", 0, kDiffUsage, 2,
        "what two files differ in, field by field" },
    { Command::ToJson, "to-json", RunToJson, false, kOutput, kOutput, "IN.obf", 0, kToJsonUsage, 1,
        "write a file as JSON text (from-json turns it back)" },
    { Command::FromJson, "from-json", RunFromJson, false, kOutput, kOutput, "IN.json", 0, kFromJsonUsage, 1,
        "turn that JSON text into the same file" },
    { Command::PictureImport, "picture-import", RunPictureImport, false,
        kOutput | kPalette | kDither | kForce, kOutput, "IN.png", 0, kPictureImportUsage, 1,
        "write a PNG as a unit picture" },
    { Command::ArtExport, "art-export", RunArtExport, false,
        kOutput | kFormat | kJobs | kTransparent | kForce, kOutput, "GAMEDIR", 0, kArtExportUsage, 1,
        "write all pictures and icon frames" },
    { Command::Timeline, "timeline", RunTimeline, true, kNation | kOutput | kFormat, kOutput, "IN.obf", 0,
        "Usage: tarnwick-cli [--ini FILE] timeline IN.obf [--nation N] [--format svg|csv] -o OUT|-\n"
        "\n"
        "Draws when each unit and formation of IN is available: an SVG picture with\n"
        "a bar per record on a year axis, grouped and coloured by unit-class\n"
        "category (units) and formation type (formations). With --format csv the\n"
        "rows are written instead, under the header\n"
        "table,slot,name,category,from,to,flag: table is units or formations, from\n"
        "and to read YYYY-MM, flag is empty for a sound span, 'backwards' for one\n"
        "that ends before it starts and 'month' for a month outside 1..12. N is the\n"
        "nation of the file (1..999), taken from an obatNNN.obf name when not given.\n"
        "IN may be - for standard input; -o - writes standard output.\n",
        1, "when each unit and formation is available" },
    { Command::Check, "check", RunCheck, false, kNation | kFormat | kOutput, 0, "PATH", 0,
        "Usage: tarnwick-cli check PATH [--nation N] [--format text|csv] [-o OUT]\n"
        "\n"
        "Checks an order-of-battle file, or every obatNNN.obf file of a game folder,\n"
        "for broken references between records (weapons, members, formations that\n"
        "hold themselves), records the Units or Formations page would refuse, odd\n"
        "dates, and pictures and icons missing from pic and shp beside the file.\n"
        "The nation (1..999) of a file is taken from its name unless --nation is given.\n"
        "PATH may be - for a file on standard input (pictures and icons are then not\n"
        "looked for).\n"
        "\n"
        "Text: one line per finding, then a summary. CSV: a header row, then\n"
        "file,severity,rule,table,slot,name,message for each finding. The report goes\n"
        "to standard output, or to OUT with -o.\n"
        "\n"
        "Exit status: 0 no errors, 1 at least one error, 2 any trouble: a file that\n"
        "cannot be read (the others are still checked), a report that cannot be\n"
        "written, or a usage error.\n",
        1, "find broken references in a file or folder" },
    { Command::WhereUsed, "where-used", RunWhereUsed, false,
        kNation | kFormat | kWeaponItem | kUnitItem | kFormationItem, 0, "FILE", 0,
        "Usage: tarnwick-cli where-used FILE --weapon N|--unit N|--formation N [--nation N]\n"
        "                   [--format text|csv]\n"
        "\n"
        "Lists the records of an order-of-battle file that name the weapon, unit or\n"
        "formation: units by their weapon slots, formations by their members.\n"
        "CSV columns: table,slot,name,field.\n",
        1, "list the records that name an item" },
    { Command::Merge, "merge", RunMerge, true, kOutput | kPrefer | kGranularity | kReport | kFormat | kNation,
        kOutput, "BASE.obf OURS.obf THEIRS.obf", 0, kMergeUsage, 3,
        "merge two changed files field by field" },
    { Command::PatchMake, "patch-make", RunPatchMake, true, kOutput, kOutput, "BASE.obf MODDED.obf", 0,
        kPatchMakeUsage, 2, "write the changed fields as a patch" },
    { Command::PatchApply, "patch-apply", RunPatchApply, false, kOutput | kReverse | kPrefer | kDryRun, 0,
        "FILE.obf PATCH.json", 0, kPatchApplyUsage, 2, "apply a patch field by field" },
    { Command::GitSetup, "git-setup", RunGitSetup, false, kWrite, 0, "DIR", 0, kGitSetupUsage, 0,
        "the git lines that diff and merge files", 1 },
};

// The program's help after its list of commands.
constexpr const char* kGlobalDetails
    = "K is unit, weapon or formation; N is a nation number 1..999, taken from an\n"
      "obatNNN.obf file name when --nation is not given. Numbers are decimal digits\n"
      "only (leading zeros are allowed).\n"
      "\n"
      "A file a command reads whole may be - for standard input, and -o - writes\n"
      "standard output (so do /dev/stdin and /dev/stdout); binary data is not\n"
      "written to a terminal.\n"
      "\n"
      "Options:\n"
      "  --ini FILE   read nation and unit-class names from FILE instead of the\n"
      "               TWFTK.ini the editor would use\n"
      "  -q, --quiet  leave out the notes on standard output (\"Saved ...\")\n"
      "  -h, --help   show this text, or a command's usage after the command\n"
      "  --version    show the program's version\n"
      "  --man-page, --bash-completion\n"
      "               print the man page or the bash completion script\n"
      "\n"
      "An output is never one of the command's inputs, except for IN -o IN with\n"
      "resave, renationalise and reclassify, which saves IN over itself.\n"
      "\n"
      "Exit status: 0 success, 1 a file could not be read or written, 2 a usage\n"
      "error. diff and check: 0 the same or clean, 1 differences or findings, 2 any\n"
      "trouble (a file that cannot be read or written, or a usage error).\n";

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

// The first lines of a command's usage, without the program's name and its
// global options: "info IN.obf [--nation N]".
std::vector<std::string> Synopsis(const CommandInfo& c)
{
    std::vector<std::string> lines;
    std::string_view usage = c.usage;
    while (!usage.empty()) {
        const std::size_t end = usage.find('\n');
        std::string_view line = usage.substr(0, end);
        usage = end == std::string_view::npos ? std::string_view() : usage.substr(end + 1);
        if (line.empty())
            break;
        for (std::string_view prefix : { "Usage:", " " })
            while (line.rfind(prefix, 0) == 0)
                line.remove_prefix(prefix.size());
        bool continued = true;
        for (std::string_view prefix : { "tarnwick-cli ", "[--ini FILE] " })
            if (line.rfind(prefix, 0) == 0) {
                line.remove_prefix(prefix.size());
                continued = false;
            }
        lines.push_back((continued ? "    " : "") + std::string(line));
    }
    return lines;
}

// The values --format takes after a command, as its usage gives them ("text|csv").
std::string FormatsOf(const CommandInfo& c)
{
    const std::string_view usage = c.usage;
    const std::size_t at = usage.find("--format ");
    if (at == std::string_view::npos)
        return {};
    std::string_view rest = usage.substr(at + 9);
    std::string formats(rest.substr(0, rest.find_first_of("] \n")));
    std::replace(formats.begin(), formats.end(), '|', ' ');
    return formats;
}

// Text for a man page: backslashes and hyphens escaped, no line taken for a request.
std::string Roff(std::string_view text)
{
    std::string out;
    bool lineStart = true;
    for (char ch : text) {
        if (lineStart && (ch == '.' || ch == '\''))
            out += "\\&";
        if (ch == '\\')
            out += "\\e";
        else if (ch == '-')
            out += "\\-";
        else
            out += ch;
        lineStart = ch == '\n';
    }
    return out;
}

// A usage or help text as man page paragraphs: a blank line starts a new one,
// an indented line is kept as it is.
std::string RoffParagraphs(std::string_view text)
{
    std::string out = ".PP\n";
    bool literal = false;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        const bool indented = !line.empty() && line[0] == ' ';
        if (indented != literal) {
            out += indented ? ".nf\n" : ".fi\n";
            literal = indented;
        }
        out += line.empty() ? ".PP\n" : Roff(line) + "\n";
    }
    return out + (literal ? ".fi\n" : "");
}

std::string OptionsOf(const CommandInfo& c)
{
    std::string names;
    for (const OptionInfo& o : kOptions)
        if (((c.allowed | kQuiet) & o.option) != 0)
            names += std::string(o.name) + (o.alias != nullptr ? std::string(" ") + o.alias : "") + " ";
    return names + "--help --version";
}

const OptionInfo* FindOption(std::string_view name)
{
    for (const OptionInfo& o : kOptions)
        if (name == o.name || (o.alias != nullptr && name == o.alias))
            return &o;
    return nullptr;
}

std::string OptionName(unsigned option)
{
    for (const OptionInfo& o : kOptions)
        if (o.option == option)
            return o.name;
    return "?";
}

bool IsHelp(std::string_view a)
{
    return a == "-h" || a == "--help";
}

// --help or --version: what to print instead of running anything.
bool TakeRequest(std::string_view a, Arguments& out)
{
    out.help = out.help || IsHelp(a);
    out.version = out.version || a == "--version";
    return out.help || out.version;
}

// Splits "--name=value"; without '=' the value is absent.
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

std::string NonEmptyPath(unsigned option, const std::string& value)
{
    if (value.empty())
        throw UsageError(OptionName(option) + " needs a path");
    return value;
}

void StoreValue(unsigned option, const std::string& v, const CommandInfo& info, Arguments& out)
{
    switch (option) {
    case kNation:
        out.nation = ParseNumber("--nation", v, 1, 999);
        break;
    case kOutput:
        out.output = NonEmptyPath(option, v);
        break;
    case kKind:
        out.kind = ParseKind(v);
        break;
    case kInto:
        out.into = NonEmptyPath(option, v);
        break;
    case kFrom:
        out.from = ParseNumber("--from", v, 0, info.valueMax);
        break;
    case kTo:
        out.to = ParseNumber("--to", v, 0, info.valueMax);
        break;
    case kFrame:
        out.frame = ParseNumber("--frame", v, 0, core::kMaxShpFrames - 1);
        break;
    case kTransparent:
        out.transparent = ParseNumber("--transparent", v, 0, 255);
        break;
    case kFormat:
        out.format = v;
        break;
    case kPalette:
        out.palette = NonEmptyPath(option, v);
        break;
    case kJobs:
        out.jobs = ParseNumber("--jobs", v, 1, 1024);
        break;
    case kPrefer:
        out.prefer = v;
        break;
    case kGranularity:
        out.granularity = v;
        break;
    case kReport:
        out.report = NonEmptyPath(option, v);
        break;
    case kWeaponItem:
    case kUnitItem:
    case kFormationItem: {
        if (out.item)
            throw UsageError("give only one of --weapon, --unit and --formation");
        const bool weapon = option == kWeaponItem;
        const bool unit = option == kUnitItem;
        out.kind = weapon ? core::PasteKind::Weapon
            : unit        ? core::PasteKind::Unit
                          : core::PasteKind::Formation;
        out.item = ParseNumber(OptionName(option), v, 1,
            weapon     ? core::kWeaponSlots
                : unit ? core::kUnitSlots
                       : core::kFormationSlots);
        break;
    }
    default:
        break;
    }
}

void ParseCommandArguments(
    const std::vector<std::string>& args, std::size_t i, const CommandInfo& info, Arguments& out)
{
    // A help request anywhere after the command wins over every other check.
    for (std::size_t j = i; j < args.size() && args[j] != "--"; ++j)
        if (TakeRequest(args[j], out))
            return;

    unsigned seen = 0;
    bool optionsEnded = false;
    for (; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (optionsEnded || a.empty() || a[0] != '-' || a == "-") {
            out.inputs.push_back(a);
            continue;
        }
        if (a == "--") {
            optionsEnded = true;
            continue;
        }
        OptionText opt = SplitOption(a);
        const OptionInfo* option = FindOption(opt.name);
        if (option == nullptr || ((info.allowed | kQuiet) & option->option) == 0)
            throw UsageError(std::string("unknown option '") + a + "' for " + info.name);
        const unsigned which = option->option;
        if ((seen & which) != 0)
            throw UsageError(OptionName(which) + " given twice");
        seen |= which;
        if ((which & kFlags) != 0) {
            if (opt.value)
                throw UsageError(OptionName(which) + " takes no value");
            out.force = out.force || which == kForce;
            out.inPlace = out.inPlace || which == kInPlace;
            out.anyName = out.anyName || which == kAnyName;
            out.dither = out.dither || which == kDither;
            out.quiet = out.quiet || which == kQuiet;
            out.reverse = out.reverse || which == kReverse;
            out.dryRun = out.dryRun || which == kDryRun;
            out.newFile = out.newFile || which == kNewFile;
            out.write = out.write || which == kWrite;
            continue;
        }
        if (!opt.value) {
            // The next argument is the value even when it starts with a minus, so
            // that "--from -5" is refused as a number rather than as an option.
            if (i + 1 >= args.size())
                throw UsageError(OptionName(which) + " needs a value");
            opt.value = args[++i];
        }
        StoreValue(which, *opt.value, info, out);
    }

    unsigned required = info.required;
    if (out.inPlace) {
        if ((seen & kOutput) != 0)
            throw UsageError("-o cannot be used with --in-place");
        required &= ~static_cast<unsigned>(kOutput);
    } else if (out.anyName) {
        throw UsageError("--any-name is for --in-place");
    }
    for (const OptionInfo& o : kOptions)
        if ((required & o.option) != 0 && (seen & o.option) == 0)
            throw UsageError(std::string(info.name) + " needs " + o.name);

    if (out.inPlace) {
        if (out.inputs.empty())
            throw UsageError("--in-place needs at least one FILE");
        for (const std::string& file : out.inputs)
            if (file.empty())
                throw UsageError("--in-place needs file names, not an empty argument");
    } else {
        if (out.inputs.size() < info.operands
            || std::any_of(out.inputs.begin(),
                out.inputs.begin() + static_cast<std::ptrdiff_t>(info.operands),
                [](const std::string& a) { return a.empty(); }))
            throw UsageError(std::string(info.name) + " needs " + info.operand);
        const std::size_t most = info.operands + info.optionalOperands;
        if (out.inputs.size() > most)
            throw UsageError("unexpected argument '" + out.inputs[most] + "'"
                + ((info.allowed & kInPlace) != 0 ? "; use --in-place for several files" : ""));
    }
    if (!out.inputs.empty())
        out.input = out.inputs[0];
}

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
    if (info == nullptr) {
        std::string text = "Usage: tarnwick-cli [--ini FILE] [-q] COMMAND [ARGS]\n"
                           "       tarnwick-cli --help | --version\n\nCommands:\n";
        for (const CommandInfo& c : kCommands) {
            for (const std::string& line : Synopsis(c))
                text += "  " + line + "\n";
            text += "          " + std::string(c.summary) + "\n";
        }
        return text + "\n" + kGlobalDetails;
    }
    std::string text = info->usage;
    if ((info->allowed & kInPlace) != 0)
        text += kBulkDetails;
    return text;
}

std::string VersionText()
{
    return std::string("tarnwick-cli ") + TARNWICK_VERSION + "\n";
}

std::string ManPage()
{
    std::string page
        = ".TH TARNWICK\\-CLI 1 \"\" \"tarnwick\\-cli " TARNWICK_VERSION "\" \"User Commands\"\n"
          ".SH NAME\n"
          "tarnwick\\-cli \\- order\\-of\\-battle files, their pictures and icons from the command line\n"
          ".SH SYNOPSIS\n"
          ".B tarnwick\\-cli\n"
          "[\\fB\\-\\-ini\\fR \\fIFILE\\fR] [\\fB\\-q\\fR] \\fICOMMAND\\fR [\\fIARGS\\fR]\n"
          ".SH DESCRIPTION\n"
          "The command\\-line companion of the \\fBtarnwick\\fR editor. Each command loads, works\n"
          "and reports as the editor would.\n"
        + RoffParagraphs(kGlobalDetails) + ".SH COMMANDS\n";
    for (const CommandInfo& c : kCommands) {
        page += ".SS " + Roff(c.name) + "\n" + Roff(c.summary) + "\n";
        page += RoffParagraphs(UsageText(c.command));
    }
    return page;
}

std::string BashCompletion()
{
    std::string commands;
    std::string cases;
    for (const CommandInfo& c : kCommands) {
        commands += std::string(commands.empty() ? "" : " ") + c.name;
        cases += "        " + std::string(c.name) + ") opts=\"" + OptionsOf(c) + "\" formats=\""
            + FormatsOf(c) + "\" ;;\n";
    }
    return "# bash completion for tarnwick-cli, written by tarnwick-cli --bash-completion\n"
           "_tarnwick_cli()\n"
           "{\n"
           "    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]}\n"
           "    local cmd= opts= formats= i\n"
           "    for ((i = 1; i < COMP_CWORD; i++)); do\n"
           "        case ${COMP_WORDS[i]} in\n"
           "        --ini) ((i++)) ;;\n"
           "        -*) ;;\n"
           "        *) cmd=${COMP_WORDS[i]}; break ;;\n"
           "        esac\n"
           "    done\n"
           "    case $cmd in\n"
        + cases
        + "    esac\n"
          "    case $prev in\n"
          "    --ini|-o|--output|--into|--palette) COMPREPLY=($(compgen -f -- \"$cur\")); return ;;\n"
          "    --kind) COMPREPLY=($(compgen -W \"unit weapon formation\" -- \"$cur\")); return ;;\n"
          "    --format) COMPREPLY=($(compgen -W \"$formats\" -- \"$cur\")); return ;;\n"
          "    --nation|--from|--to|--frame|--transparent|--jobs|--weapon|--unit|--formation) return ;;\n"
          "    esac\n"
          "    if [[ -z $cmd ]]; then\n"
          "        COMPREPLY=($(compgen -W \""
        + commands
        + " --ini -q --quiet --help --version\" -- \"$cur\"))\n"
          "    elif [[ $cur == -* ]]; then\n"
          "        COMPREPLY=($(compgen -W \"$opts\" -- \"$cur\"))\n"
          "    else\n"
          "        COMPREPLY=($(compgen -f -- \"$cur\"))\n"
          "    fi\n"
          "}\n"
          "complete -o filenames -o bashdefault -F _tarnwick_cli tarnwick-cli\n";
}

Handler HandlerOf(Command command)
{
    const CommandInfo* info = FindCommand(command);
    return info != nullptr ? info->run : nullptr;
}

int TroubleStatus(Command command)
{
    return command == Command::Diff || command == Command::Check ? kExitUsage : kExitFailure;
}

bool UsesSettings(Command command)
{
    const CommandInfo* info = FindCommand(command);
    return info != nullptr && info->usesSettings;
}

int ParseNumber(const std::string& option, const std::string& text, int low, int high)
{
    const std::string problem = option + " must be a number from " + std::to_string(low) + " to "
        + std::to_string(high) + ", not '" + text + "'";
    if (text.empty())
        throw UsageError(problem);
    long long n = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            throw UsageError(problem);
        n = n * 10 + (c - '0');
        if (n > high)
            throw UsageError(problem); // also keeps a long run of digits from overflowing
    }
    if (n < low)
        throw UsageError(problem);
    return static_cast<int>(n);
}

bool IsOobFileName(const std::string& fileName)
{
    // obatNNN.obf: exactly three digits between the prefix and the extension.
    if (fileName.size() != 11)
        return false;
    std::string lower;
    for (char c : fileName)
        lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (lower.compare(0, 4, "obat") != 0 || lower.compare(7, 4, ".obf") != 0)
        return false;
    for (std::size_t i = 4; i < 7; ++i)
        if (lower[i] < '0' || lower[i] > '9')
            return false;
    return true;
}

std::string FormatOf(const Arguments& args, std::initializer_list<const char*> names)
{
    if (args.format.empty())
        return *names.begin();
    std::string choices;
    for (const char* name : names) {
        if (args.format == name)
            return args.format;
        choices += (choices.empty() ? "" : " or ") + std::string(name);
    }
    throw UsageError("--format must be " + choices + ", not '" + args.format + "'");
}

int NationFromFileName(const std::string& fileName)
{
    if (!IsOobFileName(fileName))
        return 0;
    return (fileName[4] - '0') * 100 + (fileName[5] - '0') * 10 + (fileName[6] - '0');
}

Arguments ParseArguments(const std::vector<std::string>& args)
{
    Arguments out;
    std::size_t i = 0;

    // Global options up to the command.
    for (; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (TakeRequest(a, out))
            return out;
        if (a == "-q" || a == "--quiet") {
            out.quiet = true;
            continue;
        }
        if (a == "--man-page" || a == "--bash-completion") {
            out.generate = a.substr(2);
            return out;
        }
        OptionText opt = SplitOption(a);
        if (opt.name == "--ini") {
            if (out.ini)
                throw UsageError("--ini given twice");
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

} // namespace tarnwick::cli
