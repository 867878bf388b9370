// Renumbering and reclassifying a full table beside a plain copy of the same
// records, and the core side of the grids: building the rows, sorting, saving.

#include "core/rules/gridunits.h"
#include "core/rules/gridweapons.h"
#include "core/rules/reclassify.h"
#include "core/rules/renationalise.h"

#include "../tests/core/oobfixture.h"

#include <benchmark/benchmark.h>

#include <memory>

using namespace tarnwick::core;

namespace {

// Every slot of every table in use, all of nation 12 and class 30.
std::unique_ptr<TOobData> FullData()
{
    auto data = std::make_unique<TOobData>(tarnwick::testing::SampleData(12));
    for (int s = 1; s <= kUnitSlots; ++s) {
        TOobUnit& u = data->units[static_cast<std::size_t>(s)];
        u.name = "Unit " + std::to_string(s);
        u.nation = 12;
        u.unitClass = 30;
    }
    for (int s = 1; s <= kFormationSlots; ++s)
        data->formations[static_cast<std::size_t>(s)].nation = 12;
    for (int s = 1; s <= kWeaponSlots; ++s)
        data->weapons[static_cast<std::size_t>(s)].name = "Weapon " + std::to_string(s);
    return data;
}

NameTables Names()
{
    NameTables names;
    for (std::size_t n = 1; n < names.nationNames.size(); ++n)
        names.nationNames[n] = "Nation " + std::to_string(n);
    return names;
}

// Each pass changes every record: 12 -> 34, then 34 -> 12.
void BM_RenumberFullTable(benchmark::State& state)
{
    auto data = FullData();
    std::uint8_t from = 12;
    std::uint8_t to = 34;
    for (auto _ : state) {
        const RenumberCounts counts = RenumberNation(*data, from, to);
        benchmark::DoNotOptimize(counts);
        std::swap(from, to);
    }
}
BENCHMARK(BM_RenumberFullTable)->Unit(benchmark::kMicrosecond);

void BM_ReclassifyFullTable(benchmark::State& state)
{
    auto data = FullData();
    std::uint8_t from = 30;
    std::uint8_t to = 31;
    for (auto _ : state) {
        benchmark::DoNotOptimize(ReclassifyUnits(*data, from, to));
        std::swap(from, to);
    }
}
BENCHMARK(BM_ReclassifyFullTable)->Unit(benchmark::kMicrosecond);

// The floor: copying the unit and formation records once.
void BM_CopyRecordsBaseline(benchmark::State& state)
{
    auto data = FullData();
    auto copy = std::make_unique<TOobData>();
    for (auto _ : state) {
        copy->units = data->units;
        copy->formations = data->formations;
        benchmark::DoNotOptimize(copy->units.data());
    }
}
BENCHMARK(BM_CopyRecordsBaseline)->Unit(benchmark::kMicrosecond);

void BM_UnitGridRows(benchmark::State& state)
{
    auto data = FullData();
    const NameTables names = Names();
    for (auto _ : state) {
        GridRows rows = UnitGridRows(*data, names);
        benchmark::DoNotOptimize(rows.data());
    }
}
BENCHMARK(BM_UnitGridRows)->Unit(benchmark::kMicrosecond);

void BM_UnitGridSortByName(benchmark::State& state)
{
    auto data = FullData();
    const GridRows fresh = UnitGridRows(*data, Names());
    for (auto _ : state) {
        state.PauseTiming();
        GridRows rows = fresh;
        state.ResumeTiming();
        SortGridRows(rows, kUnitGridNameColumn, false, true);
        benchmark::DoNotOptimize(rows.data());
    }
}
BENCHMARK(BM_UnitGridSortByName)->Unit(benchmark::kMicrosecond);

// A save with one cell typed over in every row, then the refill.
void BM_WeaponGridSave(benchmark::State& state)
{
    auto data = FullData();
    GridRows rows = WeaponGridRows(*data);
    int value = 0;
    for (auto _ : state) {
        value = (value + 1) % 200;
        for (GridRow& row : rows)
            row.cells[5] = std::to_string(value);
        if (SaveWeaponGrid(*data, rows)) {
            state.SkipWithError("the save refused a cell");
            break;
        }
        rows = WeaponGridRows(*data);
    }
}
BENCHMARK(BM_WeaponGridSave)->Unit(benchmark::kMicrosecond);

} // namespace
