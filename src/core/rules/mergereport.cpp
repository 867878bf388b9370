#include "core/rules/mergereport.h"

#include "core/data/cp1252.h"
#include "core/data/tarnio.h"

#include <algorithm>
#include <memory>
#include <tuple>

namespace tarnwick::core {

namespace {

std::vector<CheckFinding> Findings(std::span<const std::uint8_t> file, std::uint16_t nation)
{
    auto data = std::make_unique<TOobData>();
    LoadOobBytes(*data, nation, std::vector<std::uint8_t>(file.begin(), file.end()));
    return CheckFile(*data);
}

bool Before(const CheckFinding& a, const CheckFinding& b)
{
    return std::tie(a.table, a.slot, a.rule, a.severity, a.name, a.message)
        < std::tie(b.table, b.slot, b.rule, b.severity, b.name, b.message);
}

bool Equal(std::span<const std::uint8_t> a, std::span<const std::uint8_t> b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end());
}

// Control characters of names and texts from a file, as \xNN.
std::string Visible(const std::string& text)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7F) {
            out += "\\x";
            out += kHex[u >> 4];
            out += kHex[u & 0xF];
        } else {
            out += c;
        }
    }
    return out;
}

std::string Plural(std::size_t n, const char* one, const char* many)
{
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

std::string CsvValue(const MergeValue& value, bool text)
{
    if (text || value.code.empty())
        return CsvField(value.value);
    return CsvField(value.value + " (" + value.code + ")");
}

std::string RecordName(const MergeItem& item)
{
    return !item.oursName.empty()  ? item.oursName
        : !item.theirsName.empty() ? item.theirsName
                                   : item.baseName;
}

} // namespace

std::vector<CheckFinding> MergeWarnings(std::span<const std::uint8_t> ours,
    std::span<const std::uint8_t> theirs, std::span<const std::uint8_t> merged, std::uint16_t nation)
{
    if (Equal(merged, ours) || Equal(merged, theirs))
        return {};
    // What OURS explains is not looked for in THEIRS.
    std::vector<CheckFinding> fresh = Findings(merged, nation);
    for (const auto side : { ours, theirs }) {
        if (fresh.empty())
            break;
        std::vector<CheckFinding> known = Findings(side, nation);
        std::sort(known.begin(), known.end(), Before);
        std::erase_if(fresh, [&](const CheckFinding& finding) {
            return std::binary_search(known.begin(), known.end(), finding, Before);
        });
    }
    return fresh;
}

std::string MergeReportText(
    const MergeResult& result, const std::vector<CheckFinding>& warnings, std::optional<MergeSide> preferred)
{
    std::string out;
    for (const MergeItem& item : result.conflicts)
        out += "conflict: " + Visible(MergeItemPlace(item)) + ": " + Visible(MergeItemText(item)) + "\n";
    for (const CheckFinding& finding : warnings)
        out += std::string("warning: ") + (finding.table == PasteKind::Unit ? "unit " : "formation ")
            + std::to_string(finding.slot) + " " + Visible(Cp1252ToUtf8(finding.name)) + ": "
            + Visible(Cp1252ToUtf8(finding.message)) + "\n";
    out += "Merged " + Plural(result.merged.size(), "change", "changes") + "; "
        + Plural(result.conflicts.size(), "conflict", "conflicts");
    if (!result.conflicts.empty())
        out += std::string(", ") + (preferred ? "took " : "kept ")
            + MergeSideName(preferred.value_or(MergeSide::Ours));
    out += "; " + Plural(warnings.size(), "warning", "warnings") + "\n";
    return out;
}

std::string MergeReportCsv(
    const MergeResult& result, const std::vector<CheckFinding>& warnings, std::optional<MergeSide> preferred)
{
    std::string out = "kind,table,slot,name,field,base,ours,theirs,taken,message\r\n";
    auto row = [&](const char* kind, const MergeItem& item, MergeSide taken) {
        out += std::string(kind) + "," + std::string(DiffTableName(item.table)) + ","
            + std::to_string(item.slot) + "," + CsvField(RecordName(item)) + ","
            + CsvField(item.record() ? "record" : item.field) + "," + CsvValue(item.base, item.text) + ","
            + CsvValue(item.ours, item.text) + "," + CsvValue(item.theirs, item.text) + ","
            + MergeSideName(taken) + ",\r\n";
    };
    for (const MergeItem& item : result.merged)
        row("merged", item, item.taken);
    for (const MergeItem& item : result.conflicts)
        row("conflict", item, preferred.value_or(MergeSide::Ours));
    for (const CheckFinding& finding : warnings)
        out += std::string("warning,") + (finding.table == PasteKind::Unit ? "units," : "formations,")
            + std::to_string(finding.slot) + "," + CsvField(Cp1252ToUtf8(finding.name)) + ","
            + CsvField(finding.rule) + ",,,,," + CsvField(Cp1252ToUtf8(finding.message)) + "\r\n";
    return out;
}

} // namespace tarnwick::core
