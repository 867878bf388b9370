#include "cli/timelinecommands.h"

#include "cli/stdstreams.h"
#include "core/data/cp1252.h"
#include "core/data/fileio.h"
#include "core/data/globals.h"
#include "core/data/records.h"
#include "core/data/tarnio.h"
#include "core/graphics/timelinesvg.h"
#include "core/rules/timeline.h"

#include <memory>
#include <ostream>
#include <string>

namespace tarnwick::cli {

namespace fs = std::filesystem;

int RunTimeline(const Context& c)
{
    const Arguments& a = c.args;
    Output& io = c.io;
    const fs::path in = core::PathFromUtf8(a.input);
    const bool fromStream = IsStandardInput(a.input);
    if (!fromStream)
        if (auto bad = CheckReadable(in))
            return Fail(io, bad->message());
    RefuseOutputThatIsAnInput(*a.output, { { "the input", in }, { "the settings file", c.settingsPath } });

    const int nation = a.nation ? *a.nation : NationFromFileName(core::PathText(in.filename()));
    auto data = std::make_unique<core::TOobData>();
    core::LoadResult r;
    if (fromStream) {
        std::vector<std::uint8_t> bytes;
        r.io = ReadInput(a.input, bytes, core::kMaxOobFileBytes, "an order-of-battle file");
        if (r.io.ok())
            r = core::LoadOobBytes(*data, static_cast<std::uint16_t>(nation), std::move(bytes));
    } else {
        r = core::LoadOobPath(*data, static_cast<std::uint16_t>(nation), in);
    }
    if (!r.ok())
        return Fail(io, r.io.message());
    if (r.size != core::LoadResult::Size::Exact)
        io.err << "tarnwick-cli: warning: " << InputName(a.input) << " holds " << r.bytesInFile
               << " bytes, not " << core::kOobFileSize << "\n";

    auto units = core::TimelineRows(*data, core::TimelineTable::Units);
    auto formations = core::TimelineRows(*data, core::TimelineTable::Formations);
    std::string text;
    if (FormatOf(a, { "svg", "csv" }) == "csv") {
        text = core::TimelineCsv(units, formations);
    } else {
        std::string heading = core::PathText(in.filename());
        if (nation != 0)
            heading = "nation " + std::to_string(nation) + " ("
                + core::Cp1252ToUtf8(core::NationName(c.settings.names, nation)) + "), " + heading;
        text = core::TimelineSvg(
            { heading, std::move(units), std::move(formations), &c.settings.names, 1000 });
    }
    const core::IoResult w = WriteOutput(*a.output, text);
    if (!w.ok())
        return Fail(io, w.message());
    return kExitOk;
}

} // namespace tarnwick::cli
