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

} // namespace

const char* const kDiffUsage
    = "Usage: tarnwick-cli [--ini FILE] diff A.obf B.obf [--format text|csv] [--new-file]\n"
      "\n"
      "Shows what two order-of-battle files differ in, field by field, by the\n"
      "column names of the CSV dump, with the names of coded values (nation,\n"
      "class, move class, weapon). Bytes that belong to no field are shown by\n"
      "their offset. The text form has one line per record; the CSV form has the\n"
      "columns table,slot,name,field,a,b (for table raw, slot is the offset).\n"
      "/dev/null, and with --new-file a file that does not exist, reads as an\n"
      "empty file: a file added or removed.\n"
      "\n"
      "Exit status: 0 when the files are equal, 1 when they differ, 2 when a file\n"
      "cannot be read.\n";

const char* const kToJsonUsage = "Usage: tarnwick-cli to-json IN.obf -o OUT.json\n"
                                 "\n"
                                 "Writes the whole file as JSON text that from-json turns back into exactly\n"
                                 "the same bytes: every field by its CSV dump name, each record on a few\n"
                                 "lines, and the bytes that belong to no field as hex. -o - writes the text\n"
                                 "to standard output.\n";

const char* const kFromJsonUsage
    = "Usage: tarnwick-cli from-json IN.json -o OUT.obf\n"
      "\n"
      "Turns the JSON text of to-json, perhaps edited, back into the file. A key\n"
      "that is unknown or missing, a value of the wrong type or out of its field's\n"
      "range, or a name that does not fit its field is reported with its line,\n"
      "column and field, and nothing is written.\n";

namespace {

bool Read(const std::string& path, std::uintmax_t limit, std::string_view what,
    std::vector<std::uint8_t>& bytes, Output& io)
{
    const IoResult read = core::ReadWholeFile(path, bytes, limit, what);
    if (read.ok())
        return true;
    io.err << "tarnwick-cli: " << read.message() << '\n';
    return false;
}

int Write(const Arguments& args, const std::uint8_t* data, std::size_t size, Output& io)
{
    const IoResult written = core::WriteFileAtomic(*args.output, data, size);
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
    if (FormatOf(args, { "text", "csv" }) == "csv")
        io.out << core::DifferencesCsv(differences);
    else
        io.out << core::DifferencesText(differences);
    return differences.empty() ? kExitOk : kExitFailure;
}

int RunToJson(const Context& c)
{
    const Arguments& args = c.args;
    Output& io = c.io;
    const bool toStdout = IsStandardStream(*args.output);
    if (!toStdout)
        RefuseOutputThatIsAnInput(*args.output, { { "the input", args.input } });
    std::vector<std::uint8_t> file;
    if (!Read(args.inputs[0], core::kMaxOobFileBytes, "an order-of-battle file", file, io))
        return kExitFailure;
    const std::string json = core::OobToJson(file);
    if (toStdout) {
        io.out << json;
        return kExitOk;
    }
    return Write(args, reinterpret_cast<const std::uint8_t*>(json.data()), json.size(), io);
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
        io.err << "tarnwick-cli: " << args.inputs[0] << ": " << result.error.message()
               << "; nothing written\n";
        return kExitFailure;
    }
    return Write(args, result.bytes.data(), result.bytes.size(), io);
}

} // namespace tarnwick::cli
