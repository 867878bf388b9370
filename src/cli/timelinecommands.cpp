#include "cli/timelinecommands.h"

#include "core/data/cp1252.h"
#include "core/data/fileio.h"
#include "core/data/globals.h"
#include "core/data/records.h"
#include "core/data/tarnio.h"
#include "core/graphics/timelinesvg.h"
#include "core/rules/timeline.h"

#include <memory>
#include <ostream>
#include <system_error>

namespace tarnwick::cli {

namespace fs = std::filesystem;

namespace {

constexpr const char* kTimelineUsage
    = "Usage: tarnwick-cli [--ini FILE] timeline IN.obf [--nation N] [--format svg|csv] -o OUT\n"
      "\n"
      "Draws when each unit and formation of IN is available: an SVG picture with\n"
      "a bar per record on a year axis, grouped and coloured by unit-class\n"
      "category (units) and formation type (formations). With --format csv the\n"
      "rows are written instead, under the header\n"
      "table,slot,name,category,from,to,flag: table is units or formations, from\n"
      "and to read YYYY-MM, flag is empty for a sound span, 'backwards' for one\n"
      "that ends before it starts and 'month' for a month outside 1..12.\n"
      "\n"
      "N is the nation of the file (1..999); it is taken from an obatNNN.obf file\n"
      "name when --nation is not given.\n";

struct TimelineArgs {
    bool help = false;
    std::optional<std::string> ini;
    std::string input;
    std::optional<int> nation;
    std::string output;
    bool csv = false;
};

TimelineArgs ParseTimeline(const std::vector<std::string>& args, std::size_t i)
{
    TimelineArgs out;
    std::vector<std::string> positional;
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
        if (name != "-o" && name != "--output" && name != "--nation" && name != "--format")
            throw UsageError("unknown option '" + a + "' for timeline");
        if (!value) {
            if (i + 1 >= args.size())
                throw UsageError(name + " needs a value");
            value = args[++i];
        }
        if (name == "--nation") {
            if (out.nation)
                throw UsageError("--nation given twice");
            out.nation = ParseNation(*value);
        } else if (name == "--format") {
            if (haveFormat)
                throw UsageError("--format given twice");
            haveFormat = true;
            if (*value != "svg" && *value != "csv")
                throw UsageError("--format must be svg or csv, not '" + *value + "'");
            out.csv = *value == "csv";
        } else {
            if (haveOutput)
                throw UsageError("-o given twice");
            haveOutput = true;
            if (value->empty())
                throw UsageError("-o needs a path");
            out.output = *value;
        }
    }
    if (positional.empty() || positional[0].empty())
        throw UsageError("timeline needs IN.obf");
    if (positional.size() > 1)
        throw UsageError("unexpected argument '" + positional[1] + "'");
    out.input = positional[0];
    if (!haveOutput)
        throw UsageError("timeline needs -o");
    return out;
}

int Fail(Output& io, const std::string& message)
{
    io.err << "tarnwick-cli: " << message << '\n';
    return kExitFailure;
}

int Run(const TimelineArgs& a, const core::Settings& settings, const fs::path& settingsPath, Output& io)
{
    const fs::path in(a.input);
    std::error_code ec;
    const fs::file_status st = fs::status(in, ec);
    if (fs::exists(st) && !fs::is_regular_file(st))
        return Fail(io, "Cannot read " + a.input + ": Not a regular file");
    RefuseOutputThatIsAnInput(a.output, { { "the input", in }, { "the settings file", settingsPath } });

    const int nation = a.nation ? *a.nation : NationFromFileName(in.filename().string());
    auto data = std::make_unique<core::TOobData>();
    const core::LoadResult r = core::LoadOobPath(*data, static_cast<std::uint16_t>(nation), in);
    if (!r.ok())
        return Fail(io, r.io.message());
    if (r.size != core::LoadResult::Size::Exact)
        io.err << "tarnwick-cli: warning: " << a.input << " holds " << r.bytesInFile << " bytes, not "
               << core::kOobFileSize << "\n";

    auto units = core::TimelineRows(*data, core::TimelineTable::Units);
    auto formations = core::TimelineRows(*data, core::TimelineTable::Formations);
    std::string text;
    if (a.csv) {
        text = core::TimelineCsv(units, formations);
    } else {
        std::string heading = in.filename().string();
        if (nation != 0)
            heading = "nation " + std::to_string(nation) + " ("
                + core::Cp1252ToUtf8(core::NationName(settings.names, nation)) + "), " + heading;
        text = core::TimelineSvg({ heading, std::move(units), std::move(formations), &settings.names, 1000 });
    }
    const core::IoResult w = core::WriteFileAtomic(a.output, text);
    if (!w.ok())
        return Fail(io, w.message());
    return kExitOk;
}

} // namespace

std::optional<int> RunTimelineCommand(
    const std::vector<std::string>& args, const fs::path& programDir, Output& io)
{
    Arguments global;
    std::size_t i = 0;
    for (; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--ini" && i + 1 < args.size() && !args[i + 1].empty())
            global.ini = args[++i];
        else if (a.rfind("--ini=", 0) == 0 && a.size() > 6)
            global.ini = a.substr(6);
        else
            break;
    }
    if (i >= args.size() || args[i] != "timeline")
        return std::nullopt;
    try {
        const TimelineArgs parsed = ParseTimeline(args, i + 1);
        if (parsed.help) {
            io.out << kTimelineUsage;
            return kExitOk;
        }
        core::Settings settings;
        fs::path settingsPath;
        if (!LoadSettings(global, programDir, settings, settingsPath, io))
            return kExitFailure;
        return Run(parsed, settings, settingsPath, io);
    } catch (const UsageError& e) {
        io.err << "tarnwick-cli: " << e.what() << "\nTry 'tarnwick-cli timeline --help'.\n";
        return kExitUsage;
    }
}

} // namespace tarnwick::cli
