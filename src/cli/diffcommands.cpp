#include "cli/diffcommands.h"

#include "core/data/fileio.h"
#include "core/data/oobcompare.h"
#include "core/data/oobjson.h"
#include "core/data/tarnio.h"

#include <ostream>
#include <string_view>

namespace tarnwick::cli {

namespace fs = std::filesystem;
using core::IoResult;

namespace {

// diff's status for a file it cannot read, apart from "equal" (0) and "different" (1).
constexpr int kExitUnreadable = 2;

enum class DiffKind { Diff, ToJson, FromJson };

constexpr const char* kDiffUsage
    = "Usage: tarnwick-cli [--ini FILE] diff A.obf B.obf [--format text|csv]\n"
      "\n"
      "Shows what two order-of-battle files differ in, field by field, by the\n"
      "column names of the CSV dump, with the names of coded values (nation,\n"
      "class, move class, weapon). Bytes that belong to no field are shown by\n"
      "their offset. The text form has one line per record; the CSV form has the\n"
      "columns table,slot,name,field,a,b (for table raw, slot is the offset).\n"
      "\n"
      "Exit status: 0 when the files are equal, 1 when they differ, 2 when a file\n"
      "cannot be read.\n";

constexpr const char* kToJsonUsage
    = "Usage: tarnwick-cli to-json IN.obf -o OUT.json\n"
      "\n"
      "Writes the whole file as JSON text that from-json turns back into exactly\n"
      "the same bytes: every field by its CSV dump name, each record on a few\n"
      "lines, and the bytes that belong to no field as hex.\n";

constexpr const char* kFromJsonUsage
    = "Usage: tarnwick-cli from-json IN.json -o OUT.obf\n"
      "\n"
      "Turns the JSON text of to-json, perhaps edited, back into the file. A key\n"
      "that is unknown or missing, a value of the wrong type or out of its field's\n"
      "range, or a name that does not fit its field is reported with its line,\n"
      "column and field, and nothing is written.\n";

struct DiffArgs {
    DiffKind kind = DiffKind::Diff;
    bool help = false;
    bool csv = false;
    std::vector<std::string> inputs;
    std::string output;
};

const char* NameOf(DiffKind kind)
{
    switch (kind) {
    case DiffKind::Diff:
        return "diff";
    case DiffKind::ToJson:
        return "to-json";
    case DiffKind::FromJson:
        break;
    }
    return "from-json";
}

std::optional<DiffKind> FindKind(const std::string& word)
{
    for (DiffKind kind : { DiffKind::Diff, DiffKind::ToJson, DiffKind::FromJson })
        if (word == NameOf(kind))
            return kind;
    return std::nullopt;
}

DiffArgs Parse(DiffKind kind, const std::vector<std::string>& args, std::size_t i)
{
    DiffArgs out;
    out.kind = kind;
    bool haveOutput = false;
    bool haveFormat = false;
    bool optionsEnded = false;
    for (; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (!optionsEnded && (a == "-h" || a == "--help")) {
            out.help = true;
            return out;
        }
        if (optionsEnded || a.empty() || a[0] != '-' || a == "-") {
            out.inputs.push_back(a);
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
        bool* seen = nullptr;
        if (kind == DiffKind::Diff && name == "--format")
            seen = &haveFormat;
        else if (kind != DiffKind::Diff && (name == "-o" || name == "--output"))
            seen = &haveOutput;
        else
            throw UsageError("unknown option '" + a + "' for " + NameOf(kind));
        if (*seen)
            throw UsageError(name + " given twice");
        *seen = true;
        if (!value) {
            if (i + 1 >= args.size())
                throw UsageError(name + " needs a value");
            value = args[++i];
        }
        if (seen == &haveFormat) {
            if (*value != "text" && *value != "csv")
                throw UsageError("--format must be text or csv, not '" + *value + "'");
            out.csv = *value == "csv";
        } else {
            if (value->empty())
                throw UsageError("-o needs a path");
            out.output = *value;
        }
    }
    const std::size_t wanted = kind == DiffKind::Diff ? 2 : 1;
    for (const std::string& input : out.inputs)
        if (input.empty())
            throw UsageError("an input path is empty");
    if (out.inputs.size() != wanted)
        throw UsageError(std::string(NameOf(kind))
            + (kind == DiffKind::Diff ? " needs two files, A and B" : " needs one input file"));
    if (kind != DiffKind::Diff && !haveOutput)
        throw UsageError(std::string(NameOf(kind)) + " needs -o OUT");
    return out;
}

bool Read(const std::string& path, std::uintmax_t limit, std::string_view what,
    std::vector<std::uint8_t>& bytes, Output& io)
{
    const IoResult read = core::ReadWholeFile(path, bytes, limit, what);
    if (read.ok())
        return true;
    io.err << "tarnwick-cli: " << read.message() << '\n';
    return false;
}

int RunDiff(const DiffArgs& args, const core::Settings& settings, Output& io)
{
    std::vector<std::uint8_t> a;
    std::vector<std::uint8_t> b;
    if (!Read(args.inputs[0], core::kMaxOobFileBytes, "an order-of-battle file", a, io)
        || !Read(args.inputs[1], core::kMaxOobFileBytes, "an order-of-battle file", b, io))
        return kExitUnreadable;
    const std::vector<core::OobDifference> differences = core::CompareOobFiles(a, b, settings.names);
    if (args.csv)
        io.out << core::DifferencesCsv(differences);
    else
        io.out << core::DifferencesText(differences);
    return differences.empty() ? kExitOk : kExitFailure;
}

int Write(const DiffArgs& args, const std::uint8_t* data, std::size_t size, Output& io)
{
    const IoResult written = core::WriteFileAtomic(args.output, data, size);
    if (!written.ok()) {
        io.err << "tarnwick-cli: " << written.message() << '\n';
        return kExitFailure;
    }
    return kExitOk;
}

int RunToJson(const DiffArgs& args, Output& io)
{
    RefuseOutputThatIsAnInput(args.output, { { "the input", args.inputs[0] } });
    std::vector<std::uint8_t> file;
    if (!Read(args.inputs[0], core::kMaxOobFileBytes, "an order-of-battle file", file, io))
        return kExitFailure;
    const std::string json = core::OobToJson(file);
    return Write(args, reinterpret_cast<const std::uint8_t*>(json.data()), json.size(), io);
}

int RunFromJson(const DiffArgs& args, Output& io)
{
    RefuseOutputThatIsAnInput(args.output, { { "the input", args.inputs[0] } });
    std::vector<std::uint8_t> text;
    if (!Read(args.inputs[0], core::kMaxOobJsonBytes, "a JSON file", text, io))
        return kExitFailure;
    const core::OobJsonResult result
        = core::OobFromJson(std::string_view(reinterpret_cast<const char*>(text.data()), text.size()));
    if (!result.ok) {
        io.err << "tarnwick-cli: " << args.inputs[0] << ": " << result.error.message()
               << "; nothing written\n";
        return kExitFailure;
    }
    return Write(args, result.bytes.data(), result.bytes.size(), io);
}

} // namespace

std::optional<int> RunDiffCommand(
    const std::vector<std::string>& args, const fs::path& programDir, Output& io)
{
    Arguments global;
    std::size_t i = 0;
    for (; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--ini" && i + 1 < args.size() && !args[i + 1].empty()) {
            global.ini = args[++i];
            continue;
        }
        if (a.rfind("--ini=", 0) == 0 && a.size() > 6) {
            global.ini = a.substr(6);
            continue;
        }
        break;
    }
    if (i >= args.size())
        return std::nullopt;
    const std::optional<DiffKind> kind = FindKind(args[i]);
    if (!kind)
        return std::nullopt;
    try {
        const DiffArgs parsed = Parse(*kind, args, i + 1);
        if (parsed.help) {
            io.out << (*kind == DiffKind::Diff  ? kDiffUsage
                    : *kind == DiffKind::ToJson ? kToJsonUsage
                                                : kFromJsonUsage);
            return kExitOk;
        }
        if (*kind == DiffKind::ToJson)
            return RunToJson(parsed, io);
        if (*kind == DiffKind::FromJson)
            return RunFromJson(parsed, io);
        core::Settings settings;
        fs::path settingsPath;
        if (!LoadSettings(global, programDir, settings, settingsPath, io))
            return kExitUnreadable;
        return RunDiff(parsed, settings, io);
    } catch (const UsageError& e) {
        io.err << "tarnwick-cli: " << e.what() << '\n';
        io.err << "Try 'tarnwick-cli " << NameOf(*kind) << " --help'.\n";
        return kExitUsage;
    }
}

} // namespace tarnwick::cli
