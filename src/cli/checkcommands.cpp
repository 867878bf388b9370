#include "cli/checkcommands.h"

#include "cli/args.h"

#include "core/data/fileio.h"
#include "core/data/records.h"
#include "core/data/tarnio.h"
#include "core/graphics/icontables.h"
#include "core/rules/filecheck.h"
#include "core/rules/whereused.h"

#include <algorithm>
#include <filesystem>
#include <memory>
#include <ostream>
#include <stdexcept>
#include <string_view>
#include <system_error>

namespace tarnwick::cli {

namespace fs = std::filesystem;

namespace {

constexpr const char* kCheckUsage
    = "Usage: tarnwick-cli check PATH [--nation N] [--format text|csv]\n"
      "\n"
      "Checks an order-of-battle file, or every obatNNN.obf file of a game folder,\n"
      "for broken references between records (weapons, members, formations that\n"
      "hold themselves), records the Units or Formations page would refuse, odd\n"
      "dates, and pictures and icons missing from pic and shp beside the file.\n"
      "The nation (1..999) of a file is taken from its name unless --nation is given.\n"
      "\n"
      "Text: one line per finding, then a summary. CSV: a header row, then\n"
      "file,severity,rule,table,slot,name,message for each finding.\n"
      "\n"
      "Exit status: 0 no errors, 1 at least one error, 2 a file that cannot be read\n"
      "(the others are still checked) or a usage error.\n";

constexpr const char* kWhereUsedUsage
    = "Usage: tarnwick-cli where-used FILE --weapon N|--unit N|--formation N [--format text|csv]\n"
      "\n"
      "Lists the records of an order-of-battle file that name the weapon, unit or\n"
      "formation: units by their weapon slots, formations by their members.\n"
      "CSV columns: table,slot,name,field.\n";

class CheckUsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct CheckArgs {
    bool whereUsed = false;
    bool help = false;
    bool csv = false;
    std::string path;
    std::optional<int> nation;
    std::optional<core::PasteKind> kind;
    int slot = 0;
};

int ParseSlot(const std::string& option, const std::string& text, int high)
{
    const std::string problem
        = option + " must be a number from 1 to " + std::to_string(high) + ", not '" + text + "'";
    if (text.empty() || text.size() > 3)
        throw CheckUsageError(problem);
    int n = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            throw CheckUsageError(problem);
        n = n * 10 + (c - '0');
    }
    if (n < 1 || n > high)
        throw CheckUsageError(problem);
    return n;
}

void Parse(const std::vector<std::string>& args, std::size_t i, CheckArgs& out)
{
    const char* command = out.whereUsed ? "where-used" : "check";
    bool optionsEnded = false;
    bool haveFormat = false;
    std::vector<std::string> positional;
    for (; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (!optionsEnded && (a == "-h" || a == "--help")) {
            out.help = true;
            return;
        }
        if (optionsEnded || a.empty() || a[0] != '-' || a == "-") {
            positional.push_back(a);
            continue;
        }
        if (a == "--") {
            optionsEnded = true;
            continue;
        }
        std::string name = a;
        std::optional<std::string> value;
        if (a.rfind("--", 0) == 0 && a.find('=') != std::string::npos) {
            name = a.substr(0, a.find('='));
            value = a.substr(a.find('=') + 1);
        }
        const bool isKind = name == "--weapon" || name == "--unit" || name == "--formation";
        if (!(name == "--format" || (out.whereUsed ? isKind : name == "--nation")))
            throw CheckUsageError("unknown option '" + a + "' for " + command);
        if ((name == "--format" && haveFormat) || (name == "--nation" && out.nation) || (isKind && out.kind))
            throw CheckUsageError(isKind ? std::string("give only one of --weapon, --unit and --formation")
                                         : name + " given twice");
        if (!value) {
            if (i + 1 >= args.size())
                throw CheckUsageError(name + " needs a value");
            value = args[++i];
        }
        if (name == "--format") {
            haveFormat = true;
            if (*value != "text" && *value != "csv")
                throw CheckUsageError("--format must be text or csv, not '" + *value + "'");
            out.csv = *value == "csv";
        } else if (name == "--nation") {
            try {
                out.nation = ParseNation(*value);
            } catch (const UsageError& e) {
                throw CheckUsageError(e.what());
            }
        } else if (name == "--weapon") {
            out.kind = core::PasteKind::Weapon;
            out.slot = ParseSlot(name, *value, core::kWeaponSlots);
        } else if (name == "--unit") {
            out.kind = core::PasteKind::Unit;
            out.slot = ParseSlot(name, *value, core::kUnitSlots);
        } else {
            out.kind = core::PasteKind::Formation;
            out.slot = ParseSlot(name, *value, core::kFormationSlots);
        }
    }
    if (positional.empty() || positional[0].empty())
        throw CheckUsageError(std::string(command) + " needs " + (out.whereUsed ? "FILE" : "PATH"));
    if (positional.size() > 1)
        throw CheckUsageError("unexpected argument '" + positional[1] + "'");
    out.path = positional[0];
    if (out.whereUsed && !out.kind)
        throw CheckUsageError("where-used needs --weapon, --unit or --formation");
}

// Control bytes as \xNN so that a name cannot drive the terminal.
std::string Shown(std::string_view bytes)
{
    static constexpr char kHex[] = "0123456789abcdef";
    std::string shown;
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x20 || b == 0x7F || (b >= 0x80 && b < 0xA0)) {
            shown += "\\x";
            shown += kHex[b >> 4];
            shown += kHex[b & 0xF];
        } else {
            shown += c;
        }
    }
    return shown;
}

// Loads one file; false (after a message) when it cannot be read.
bool Load(const fs::path& path, int nation, core::TOobData& data, Output& io)
{
    std::error_code ec;
    const fs::file_status st = fs::status(path, ec);
    core::LoadResult r;
    if (fs::exists(st) && !fs::is_regular_file(st))
        r.io = core::IoResult::failure(core::IoResult::Kind::ReadError, path,
            fs::is_directory(st) ? std::make_error_code(std::errc::is_a_directory).message()
                                 : "Not a regular file");
    else
        r = core::LoadOobPath(data, static_cast<std::uint16_t>(nation), path);
    if (!r.ok()) {
        io.err << "tarnwick-cli: " << r.io.message() << '\n';
        return false;
    }
    if (r.size != core::LoadResult::Size::Exact)
        io.err << "tarnwick-cli: warning: " << path.string() << " has " << r.bytesInFile << " bytes, not "
               << core::kOobFileSize << "\n";
    return true;
}

// The order-of-battle files of a folder (obatNNN.obf in any letter case), by name.
std::vector<fs::path> OobFilesIn(const fs::path& dir, std::string& error)
{
    std::vector<fs::path> files;
    std::error_code ec;
    fs::directory_iterator it(dir, ec);
    for (const fs::directory_iterator end; !ec && it != end; it.increment(ec))
        if (NationFromFileName(it->path().filename().string()) > 0)
            files.push_back(it->path());
    if (ec)
        error = core::IoResult::failure(core::IoResult::Kind::ReadError, dir, ec.message()).message();
    std::sort(files.begin(), files.end());
    return files;
}

int RunCheck(const CheckArgs& a, Output& io)
{
    const fs::path path(a.path);
    std::error_code ec;
    const bool folder = fs::is_directory(path, ec);
    if (folder && a.nation) {
        io.err << "tarnwick-cli: --nation is for a single file, not a folder\n"
                  "Try 'tarnwick-cli check --help'.\n";
        return kExitUsage;
    }
    std::string listError;
    const std::vector<fs::path> files = folder ? OobFilesIn(path, listError) : std::vector<fs::path> { path };
    if (!listError.empty()) {
        io.err << "tarnwick-cli: " << listError << '\n';
        return kExitUsage;
    }
    if (files.empty()) {
        io.err << "tarnwick-cli: " << path.string() << " holds no order-of-battle files (obatNNN.obf)\n";
        return kExitUsage;
    }
    const fs::path gameDir = folder ? path : (path.has_parent_path() ? path.parent_path() : fs::path("."));
    core::IconFrameTableLoad frames = core::LoadIconFrameTable(gameDir);
    if (!frames.warning.empty())
        io.err << "tarnwick-cli: warning: " << frames.warning << '\n';
    core::ArtCheck art(gameDir, std::move(frames.table));

    if (a.csv)
        io.out << "file,severity,rule,table,slot,name,message\n";
    auto data = std::make_unique<core::TOobData>();
    core::CheckCounts total;
    int checked = 0;
    bool unreadable = false;
    for (const fs::path& file : files) {
        const std::string fileName = file.filename().string();
        const int nation = a.nation.value_or(NationFromFileName(fileName));
        if (!Load(file, nation, *data, io)) {
            unreadable = true;
            continue;
        }
        ++checked;
        const std::vector<core::CheckFinding> findings = core::CheckFile(*data, &art);
        const core::CheckCounts counts = core::CountFindings(findings);
        total.errors += counts.errors;
        total.warnings += counts.warnings;
        for (const core::CheckFinding& f : findings) {
            if (a.csv)
                io.out << core::CsvField(fileName) << ',' << core::SeverityName(f.severity) << ',' << f.rule
                       << ',' << core::TableName(f.table) << ',' << f.slot << ',' << core::CsvField(f.name)
                       << ',' << core::CsvField(f.message) << '\n';
            else
                io.out << Shown(fileName) << ": " << core::SeverityName(f.severity) << ' ' << f.rule << ' '
                       << core::TableName(f.table) << ' ' << f.slot << " \"" << Shown(f.name)
                       << "\": " << Shown(f.message) << '\n';
        }
    }
    if (!a.csv)
        io.out << core::CheckSummaryText(total, checked) << '\n';
    if (unreadable)
        return kExitUsage;
    return total.errors > 0 ? kExitFailure : kExitOk;
}

int RunWhereUsed(const CheckArgs& a, Output& io)
{
    const fs::path path(a.path);
    auto data = std::make_unique<core::TOobData>();
    if (!Load(path, NationFromFileName(path.filename().string()), *data, io))
        return kExitFailure;
    const std::vector<core::RecordUse> uses = core::WhereUsed(*data, *a.kind, a.slot);
    if (a.csv)
        io.out << "table,slot,name,field\n";
    for (const core::RecordUse& use : uses) {
        const std::string& name = core::RecordName(*data, use.table, use.slot);
        if (a.csv)
            io.out << core::TableName(use.table) << ',' << use.slot << ',' << core::CsvField(name) << ','
                   << core::UseFieldText(use) << '\n';
        else
            io.out << core::TableName(use.table) << ' ' << use.slot << " \"" << Shown(name) << "\" "
                   << core::UseFieldText(use) << '\n';
    }
    if (!a.csv && uses.empty())
        io.out << core::NothingNamesText(*a.kind, a.slot) << '\n';
    return kExitOk;
}

} // namespace

std::optional<int> RunCheckCommand(const std::vector<std::string>& args, Output& io)
{
    // Global options before the command; these commands use no settings.
    std::size_t i = 0;
    while (i < args.size() && (args[i] == "--ini" || args[i].rfind("--ini=", 0) == 0))
        i += args[i] == "--ini" ? 2 : 1;
    if (i >= args.size() || (args[i] != "check" && args[i] != "where-used"))
        return std::nullopt;
    CheckArgs parsed;
    parsed.whereUsed = args[i] == "where-used";
    try {
        Parse(args, i + 1, parsed);
    } catch (const CheckUsageError& e) {
        io.err << "tarnwick-cli: " << e.what() << "\nTry 'tarnwick-cli " << args[i] << " --help'.\n";
        return kExitUsage;
    }
    if (parsed.help) {
        io.out << (parsed.whereUsed ? kWhereUsedUsage : kCheckUsage);
        return kExitOk;
    }
    return parsed.whereUsed ? RunWhereUsed(parsed, io) : RunCheck(parsed, io);
}

} // namespace tarnwick::cli
