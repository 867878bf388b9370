#include "core/rules/mergeview.h"

#include "core/data/tarnio.h"

#include <algorithm>
#include <filesystem>

namespace tarnwick::core {

namespace {

std::string Shown(const MergeValue& value, bool text)
{
    return ShownValue(value.value, value.code, text);
}

MergeRow Row(const MergeItem& item, bool conflict, std::size_t index, std::string result)
{
    MergeRow row;
    row.conflict = conflict;
    row.index = index;
    row.cells = { conflict ? "Conflict" : "Merged", MergeItemPlace(item),
        item.record() ? "record" : item.field, Shown(item.base, item.text), Shown(item.ours, item.text),
        Shown(item.theirs, item.text), std::move(result) };
    return row;
}

std::string Plural(std::size_t n, const char* one, const char* many)
{
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

} // namespace

std::array<std::string, 7> MergeColumnTitles()
{
    return { "", "Record", "Field", "Base", "Ours", "Theirs", "Result" };
}

std::string MergePickText(std::optional<MergeSide> pick)
{
    if (!pick)
        return "Ours (not picked)";
    return *pick == MergeSide::Theirs ? "Theirs" : "Ours";
}

std::vector<MergeRow> MergeRows(const MergeResult& result, std::span<const std::optional<MergeSide>> picks)
{
    std::vector<MergeRow> rows;
    for (std::size_t i = 0; i < result.conflicts.size(); ++i)
        rows.push_back(
            Row(result.conflicts[i], true, i, MergePickText(i < picks.size() ? picks[i] : std::nullopt)));
    for (std::size_t i = 0; i < result.merged.size(); ++i) {
        const MergeSide taken = result.merged[i].taken;
        rows.push_back(Row(result.merged[i], false, i,
            taken == MergeSide::Theirs     ? "Theirs"
                : taken == MergeSide::Ours ? "Ours"
                                           : "Both"));
    }
    return rows;
}

std::string MergeLeftText(std::size_t conflicts, std::size_t unpicked, std::size_t merged)
{
    if (conflicts == 0)
        return "No conflicts: " + Plural(merged, "change merges", "changes merge");
    if (unpicked == 0)
        return "All " + Plural(conflicts, "conflict", "conflicts") + " picked";
    return std::to_string(unpicked) + " of " + Plural(conflicts, "conflict", "conflicts") + " left to pick";
}

std::string MergeUnpickedQuestion(std::size_t unpicked)
{
    if (unpicked == 0)
        return {};
    return (unpicked == 1 ? std::string("1 conflict is") : std::to_string(unpicked) + " conflicts are")
        + " not picked and will keep Ours. Apply the merge?";
}

std::string MergeStepName(const std::string& theirsPath)
{
    const std::filesystem::path path(theirsPath);
    const std::string folder = path.parent_path().filename().string();
    return "Merge with " + path.stem().string() + (folder.empty() ? std::string() : " from " + folder);
}

std::unique_ptr<TOobData> MergedRecords(std::span<const std::uint8_t> base,
    std::span<const std::uint8_t> ours, std::span<const std::uint8_t> theirs, const NameTables& names,
    std::span<const std::optional<MergeSide>> picks, std::uint16_t nation)
{
    std::vector<MergeSide> sides;
    for (const std::optional<MergeSide>& pick : picks)
        sides.push_back(pick.value_or(MergeSide::Ours));
    MergeResult result = MergeOobFiles(base, ours, theirs, names, {}, sides);
    auto data = std::make_unique<TOobData>();
    LoadOobBytes(*data, nation, std::move(result.bytes));
    return data;
}

void TakeMergedRecords(TOobData& records, const TOobData& merged)
{
    records.comment = merged.comment;
    records.units = merged.units;
    records.weapons = merged.weapons;
    records.formations = merged.formations;
}

} // namespace tarnwick::core
