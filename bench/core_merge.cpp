// The three-way merge of full files beside a compare of two of them, and the
// patch made and applied on the same files.

#include "core/data/oobcompare.h"
#include "core/data/oobmerge.h"
#include "core/data/oobpatch.h"
#include "core/data/tarnio.h"
#include "core/rules/mergereport.h"

#include <benchmark/benchmark.h>

#include <vector>

using namespace tarnwick::core;

namespace {

TOobData Filled()
{
    TOobData data;
    data.comment = "A full file for the merge benchmarks";
    for (int s = 1; s <= kWeaponSlots; ++s)
        data.weapons[static_cast<std::size_t>(s)].name = "Weapon " + std::to_string(s);
    for (int s = 1; s <= kUnitSlots; ++s) {
        TOobUnit& u = data.units[static_cast<std::size_t>(s)];
        u.name = "Unit number " + std::to_string(s);
        u.cost = static_cast<std::uint16_t>(s * 7);
        u.speed = static_cast<std::uint8_t>(s % 50);
        u.nation = 12;
        u.weapon[0] = static_cast<std::uint8_t>(1 + s % 250);
    }
    for (int s = 1; s <= kFormationSlots; ++s) {
        TOobFormation& f = data.formations[static_cast<std::size_t>(s)];
        f.name = "Formation " + std::to_string(s);
        f.slot[0] = static_cast<std::uint16_t>(1 + s % 599);
    }
    return data;
}

// 100 changed fields: costs of units first..first+99, or their speeds.
std::vector<std::uint8_t> Changed(int first, bool cost)
{
    TOobData data = Filled();
    for (int s = first; s < first + 100; ++s) {
        TOobUnit& u = data.units[static_cast<std::size_t>(s)];
        if (cost)
            u.cost = static_cast<std::uint16_t>(u.cost + 1);
        else
            u.speed = static_cast<std::uint8_t>(u.speed + 1);
    }
    return EncodeOobFile(data, 12);
}

struct Files {
    std::vector<std::uint8_t> base = [] {
        TOobData data = Filled();
        return EncodeOobFile(data, 12);
    }();
    // Ours and theirs touch the same 50 units in different fields, and 50 each of their own.
    std::vector<std::uint8_t> ours = Changed(1, true);
    std::vector<std::uint8_t> theirs = Changed(51, false);
};

void BM_MergeBaselineCompare(benchmark::State& state)
{
    const Files f;
    const NameTables names;
    for (auto _ : state) {
        const auto differences = CompareOobFiles(f.base, f.ours, names);
        benchmark::DoNotOptimize(differences.data());
    }
}
BENCHMARK(BM_MergeBaselineCompare)->Unit(benchmark::kMicrosecond);

void BM_MergeThreeFiles(benchmark::State& state)
{
    const Files f;
    const NameTables names;
    std::size_t merged = 0;
    for (auto _ : state) {
        const MergeResult result = MergeOobFiles(f.base, f.ours, f.theirs, names);
        merged = result.merged.size();
        benchmark::DoNotOptimize(result.bytes.data());
    }
    state.counters["merged"] = static_cast<double>(merged);
}
BENCHMARK(BM_MergeThreeFiles)->Unit(benchmark::kMicrosecond);

// The merge and the check of its result against both sides, as the command runs them.
void BM_MergeWithWarnings(benchmark::State& state)
{
    const Files f;
    const NameTables names;
    for (auto _ : state) {
        const MergeResult result = MergeOobFiles(f.base, f.ours, f.theirs, names);
        const auto warnings = MergeWarnings(f.ours, f.theirs, result.bytes, 12);
        benchmark::DoNotOptimize(warnings.data());
    }
}
BENCHMARK(BM_MergeWithWarnings)->Unit(benchmark::kMicrosecond);

void BM_PatchMakeAndApply(benchmark::State& state)
{
    const Files f;
    const NameTables names;
    for (auto _ : state) {
        const OobPatch patch = MakePatch(f.base, f.ours, names);
        const PatchApplyResult applied = ApplyPatch(f.theirs, patch, false, PatchPrefer::None);
        benchmark::DoNotOptimize(applied.bytes.data());
    }
}
BENCHMARK(BM_PatchMakeAndApply)->Unit(benchmark::kMicrosecond);

} // namespace
