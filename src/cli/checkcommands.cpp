#include "cli/checkcommands.h"

#include "cli/args.h"
#include "cli/stdstreams.h"

#include "core/data/escape.h"
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
#include <sstream>
#include <string_view>
#include <system_error>

namespace tarnwick::cli {

namespace fs = std::filesystem;

namespace {

// Loads one file; false (after a message) when it cannot be read.
bool Load(const fs::path& path, int nation, core::TOobData& data, Output& io)
{
    core::LoadResult r;
    if (IsStandardInput(path.string())) {
        std::vector<std::uint8_t> bytes;
        r.io = ReadInput(path.string(), bytes, core::kMaxOobFileBytes, "an order-of-battle file");
        if (r.io.ok())
            r = core::LoadOobBytes(data, static_cast<std::uint16_t>(nation), std::move(bytes));
    } else if (auto bad = CheckReadable(path)) {
        Fail(io, bad->message());
        return false;
    } else {
        r = core::LoadOobPath(data, static_cast<std::uint16_t>(nation), path);
    }
    if (!r.ok()) {
        Fail(io, r.io.message());
        return false;
    }
    if (r.size != core::LoadResult::Size::Exact)
        io.err << "tarnwick-cli: warning: " << core::PathText(path) << " has " << r.bytesInFile
               << " bytes, not " << core::kOobFileSize << "\n";
    return true;
}

// The order-of-battle files of a folder (obatNNN.obf in any letter case), by name.
std::vector<fs::path> OobFilesIn(const fs::path& dir, std::string& error)
{
    std::vector<fs::path> files;
    std::error_code ec;
    fs::directory_iterator it(dir, ec);
    for (const fs::directory_iterator end; !ec && it != end; it.increment(ec))
        if (NationFromFileName(core::PathText(it->path().filename())) > 0)
            files.push_back(it->path());
    if (ec)
        error = core::IoResult::failure(core::IoResult::Kind::ReadError, dir, ec.message()).message();
    std::sort(files.begin(), files.end());
    return files;
}

int RunCheckOn(const Arguments& a, Output& io)
{
    const bool csv = FormatOf(a, { "text", "csv" }) == "csv";
    const fs::path path = core::PathFromUtf8(a.input);
    const bool stdinput = IsStandardInput(a.input);
    const std::string output = a.output.value_or("-");
    RefuseOutputThatIsAnInput(output, { { "the input", path } });
    std::error_code ec;
    const bool folder = !stdinput && fs::is_directory(path, ec);
    if (folder && a.nation)
        throw UsageError("--nation is for a single file, not a folder", Command::Check);
    std::string listError;
    const std::vector<fs::path> files = folder ? OobFilesIn(path, listError) : std::vector<fs::path> { path };
    if (!listError.empty()) {
        io.err << "tarnwick-cli: " << listError << '\n';
        return kExitUsage;
    }
    if (files.empty()) {
        io.err << "tarnwick-cli: " << core::PathText(path)
               << " holds no order-of-battle files (obatNNN.obf)\n";
        return kExitUsage;
    }
    const fs::path gameDir = folder ? path : (path.has_parent_path() ? path.parent_path() : fs::path("."));
    core::IconFrameTableLoad frames;
    if (!stdinput) {
        frames = core::LoadIconFrameTable(gameDir);
        if (!frames.warning.empty())
            io.err << "tarnwick-cli: warning: " << frames.warning << '\n';
    }
    core::ArtCheck art(gameDir, std::move(frames.table));

    std::ostringstream report;
    if (csv)
        report << "file,severity,rule,table,slot,name,message\n";
    auto data = std::make_unique<core::TOobData>();
    core::CheckCounts total;
    int checked = 0;
    bool unreadable = false;
    for (const fs::path& file : files) {
        const std::string fileName = core::PathText(file.filename());
        const int nation = a.nation.value_or(NationFromFileName(fileName));
        if (!Load(file, nation, *data, io)) {
            unreadable = true;
            continue;
        }
        ++checked;
        const std::vector<core::CheckFinding> findings = core::CheckFile(*data, stdinput ? nullptr : &art);
        const core::CheckCounts counts = core::CountFindings(findings);
        total.errors += counts.errors;
        total.warnings += counts.warnings;
        for (const core::CheckFinding& f : findings) {
            if (csv)
                report << core::CsvField(fileName) << ',' << core::SeverityName(f.severity) << ',' << f.rule
                       << ',' << core::TableName(f.table) << ',' << f.slot << ',' << core::CsvField(f.name)
                       << ',' << core::CsvField(f.message) << '\n';
            else
                report << core::EscapeControls(fileName) << ": " << core::SeverityName(f.severity) << ' '
                       << f.rule << ' ' << core::TableName(f.table) << ' ' << f.slot << " \""
                       << core::EscapeCp1252(f.name) << "\": " << core::EscapeCp1252(f.message) << '\n';
        }
    }
    // A file that could not be read is never counted as clean: without one
    // checked file there is no summary to give.
    if (!csv && checked > 0)
        report << core::CheckSummaryText(total, checked) << '\n';
    if (const core::IoResult w = WriteOutput(output, report.str()); !w.ok()) {
        io.err << "tarnwick-cli: " << w.message() << '\n';
        return kExitUsage;
    }
    if (unreadable)
        return kExitUsage;
    return total.errors > 0 ? kExitFailure : kExitOk;
}

int RunWhereUsedOn(const Arguments& a, Output& io)
{
    const bool csv = FormatOf(a, { "text", "csv" }) == "csv";
    if (!a.item)
        throw UsageError("where-used needs --weapon, --unit or --formation", Command::WhereUsed);
    const fs::path path = core::PathFromUtf8(a.input);
    auto data = std::make_unique<core::TOobData>();
    if (!Load(path, a.nation.value_or(NationFromFileName(core::PathText(path.filename()))), *data, io))
        return kExitFailure;
    const std::vector<core::RecordUse> uses = core::WhereUsed(*data, *a.kind, *a.item);
    if (csv)
        io.out << "table,slot,name,field\n";
    for (const core::RecordUse& use : uses) {
        const std::string& name = core::RecordName(*data, use.table, use.slot);
        if (csv)
            io.out << core::TableName(use.table) << ',' << use.slot << ',' << core::CsvField(name) << ','
                   << core::UseFieldText(use) << '\n';
        else
            io.out << core::TableName(use.table) << ' ' << use.slot << " \"" << core::EscapeCp1252(name)
                   << "\" " << core::UseFieldText(use) << '\n';
    }
    if (!csv && uses.empty())
        io.out << core::NothingNamesText(*a.kind, *a.item) << '\n';
    return kExitOk;
}

} // namespace

int RunCheck(const Context& c)
{
    return RunCheckOn(c.args, c.io);
}

int RunWhereUsed(const Context& c)
{
    return RunWhereUsedOn(c.args, c.io);
}

} // namespace tarnwick::cli
