// The find over every unit name against a plain scan of the same names, and
// the find history's update.

#include "core/data/records.h"
#include "core/rules/navigation.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

using namespace tarnwick::core;

namespace {

// Every unit slot named, padded with blanks as the game's files store them.
const TOobData& Units()
{
    static const std::unique_ptr<TOobData> data = [] {
        auto d = std::make_unique<TOobData>();
        for (int s = 1; s <= kUnitSlots; ++s) {
            d->units[s].name = "Rifle section " + std::to_string(s);
            d->units[s].name.resize(15, ' ');
        }
        d->units[kUnitSlots / 2].name = "Scout car";
        return d;
    }();
    return *data;
}

// The only match is the current slot: both passes run over all 599 names.
void BM_FindOverAllUnitNames(benchmark::State& state)
{
    const TOobData& data = Units();
    const std::string key = FindKey(" scout ");
    for (auto _ : state) {
        const int found = FindNextSlot(kUnitSlots / 2, kUnitSlots, key,
            [&data](int s) -> const std::string& { return data.units[static_cast<std::size_t>(s)].name; });
        benchmark::DoNotOptimize(found);
    }
}

// Baseline: a case-sensitive search of all the raw names, no trimming or folding.
void BM_PlainScanOfAllUnitNames(benchmark::State& state)
{
    const TOobData& data = Units();
    const std::string key = "Scout";
    for (auto _ : state) {
        int found = 0;
        for (int s = 1; s <= kUnitSlots; ++s)
            if (data.units[static_cast<std::size_t>(s)].name.find(key) != std::string::npos)
                found = s;
        benchmark::DoNotOptimize(found);
    }
}

void BM_FindHistoryOf100Entries(benchmark::State& state)
{
    std::vector<std::string> history;
    for (int i = 0; i < 100; ++i)
        history.push_back("entry " + std::to_string(i));
    for (auto _ : state) {
        std::vector<std::string> copy = history;
        benchmark::DoNotOptimize(AddToFindHistory(copy, "Entry 99"));
    }
}

BENCHMARK(BM_FindOverAllUnitNames)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PlainScanOfAllUnitNames)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FindHistoryOf100Entries)->Unit(benchmark::kMicrosecond);

} // namespace
