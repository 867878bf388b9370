#include "cli/diffcommands.h"

#include "cli/stdstreams.h"
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

// diff's status for a file it cannot read or a report it cannot write, apart
// from "equal" (0) and "different" (1).
constexpr int kExitUnreadable = 2;

} // namespace

const char* const kDiffUsage
    = "Usage: tarnwick-cli [--ini FILE] diff A.obf B.obf [--format text|csv] [--new-file] [-o OUT]\n"
      "\n"
      "Shows what two order-of-battle files differ in, field by field, by the\n"
      "column names of the CSV dump, with the names of coded values (nation,\n"
      "class, move class, weapon). Bytes that belong to no field are shown by\n"
      "their offset. The text form has one line per record; the CSV form has the\n"
      "columns table,slot,name,field,a,b (for table raw, slot is the offset).\n"
      "Either A or B may be - for standard input. /dev/null, and with --new-file a\n"
      "file that does not exist, reads as an empty file: a file added or removed.\n"
      "The report goes to standard output, or to OUT with -o.\n"
      "\n"
      "Exit status: 0 when the files are equal, 1 when they differ, 2 for any\n"
      "trouble: a file that cannot be read, a report that cannot be written, or a\n"
      "usage error.\n";

const char* const kToJsonUsage = "Usage: tarnwick-cli to-json IN.obf -o OUT.json|-\n"
                                 "\n"
                                 "Writes the whole file as JSON text that from-json turns back into exactly\n"
                                 "the same bytes: every field by its CSV dump name, each record on a few\n"
                                 "lines, and the bytes that belong to no field as hex. IN may be - for\n"
                                 "standard input; -o - writes standard output.\n";

const char* const kFromJsonUsage
    = "Usage: tarnwick-cli from-json IN.json -o OUT.obf|-\n"
      "\n"
      "Turns the JSON text of to-json, perhaps edited, back into the file. A key\n"
      "that is unknown or missing, a value of the wrong type or out of its field's\n"
      "range, or a name that does not fit its field is reported with its line,\n"
      "column and field, and nothing is written. IN.json may hold at most 4 MiB\n"
      "(the text of the largest file to-json reads, with room for reformatting);\n"
      "reading it takes a few times that in memory. IN may be - for standard input;\n"
      "-o - writes standard output (not a terminal).\n";

namespace {

bool Read(const std::string& path, std::uintmax_t limit, std::string_view what,
    std::vector<std::uint8_t>& bytes, Output& io)
{
    const IoResult read = ReadInput(path, bytes, limit, what);
    if (read.ok())
        return true;
    io.err << "tarnwick-cli: " << read.message() << '\n';
    return false;
}

int Write(const std::string& output, const std::uint8_t* data, std::size_t size, bool binary, Output& io)
{
    const IoResult written = WriteOutput(output, data, size, binary);
    if (!written.ok()) {
        io.err << "tarnwick-cli: " << written.message() << '\n';
        return kExitFailure;
    }
    return kExitOk;
}

} // namespace

int RunDiff(const Context& c)
{
    const Arguments& args = c.args;
    Output& io = c.io;
    const bool csv = FormatOf(args, { "text", "csv" }) == "csv";
    if (IsStandardInput(args.inputs[0]) && IsStandardInput(args.inputs[1]))
        throw UsageError("only one of A and B can be standard input");
    const std::string output = args.output.value_or("-");
    RefuseOutputThatIsAnInput(output, { { "A", args.inputs[0] }, { "B", args.inputs[1] } });
    std::vector<std::uint8_t> a;
    std::vector<std::uint8_t> b;
    // /dev/null (or, with --new-file, a file that is not there) is an empty side:
    // the file added or removed.
    auto side = [&](const std::string& path, std::vector<std::uint8_t>& bytes) {
        std::error_code ec;
        if (path == "/dev/null" || (args.newFile && !fs::exists(path, ec) && !ec))
            return true;
        return Read(path, core::kMaxOobFileBytes, "an order-of-battle file", bytes, io);
    };
    if (!side(args.inputs[0], a) || !side(args.inputs[1], b))
        return kExitUnreadable;
    const std::vector<core::OobDifference> differences = core::CompareOobFiles(a, b, c.settings.names);
    const std::string report = csv ? core::DifferencesCsv(differences) : core::DifferencesText(differences);
    if (Write(output, reinterpret_cast<const std::uint8_t*>(report.data()), report.size(), false, io)
        != kExitOk)
        return kExitUnreadable;
    return differences.empty() ? kExitOk : kExitFailure;
}

int RunToJson(const Context& c)
{
    const Arguments& args = c.args;
    Output& io = c.io;
    RefuseOutputThatIsAnInput(*args.output, { { "the input", args.input } });
    std::vector<std::uint8_t> file;
    if (!Read(args.inputs[0], core::kMaxOobFileBytes, "an order-of-battle file", file, io))
        return kExitFailure;
    const std::string json = core::OobToJson(file);
    return Write(*args.output, reinterpret_cast<const std::uint8_t*>(json.data()), json.size(), false, io);
}

int RunFromJson(const Context& c)
{
    const Arguments& args = c.args;
    Output& io = c.io;
    RefuseOutputThatIsAnInput(*args.output, { { "the input", args.input } });
    std::vector<std::uint8_t> text;
    if (!Read(args.inputs[0], core::kMaxOobJsonBytes, "a JSON file", text, io))
        return kExitFailure;
    const core::OobJsonResult result
        = core::OobFromJson(std::string_view(reinterpret_cast<const char*>(text.data()), text.size()));
    if (!result.ok) {
        io.err << "tarnwick-cli: " << InputName(args.inputs[0]) << ": " << result.error.message()
               << "; nothing written\n";
        return kExitFailure;
    }
    return Write(*args.output, result.bytes.data(), result.bytes.size(), true, io);
}

} // namespace tarnwick::cli
