// The whole-file check of a full file and where-used of one weapon, beside a
// plain copy of the same records; the check of the sample folder with its
// pictures and icons read afresh.

#include "core/data/tarnio.h"
#include "core/demo/demo.h"
#include "core/rules/filecheck.h"
#include "core/rules/whereused.h"

#include "../tests/core/oobfixture.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <vector>

using namespace tarnwick::core;

namespace {

// Every slot in use: 249 weapons, 599 units with four weapons each, 399
// formations of ten members; every reference sound, so the check finds nothing.
std::unique_ptr<TOobData> FullData()
{
    auto data = std::make_unique<TOobData>();
    for (int s = 1; s <= kWeaponSlots; ++s)
        data->weapons[static_cast<std::size_t>(s)].name = "Weapon " + std::to_string(s);
    for (int s = 1; s <= kUnitSlots; ++s) {
        TOobUnit& u = data->units[static_cast<std::size_t>(s)];
        u.name = "Unit " + std::to_string(s);
        u.unitClass = 30;
        for (std::size_t k = 0; k < 4; ++k)
            u.weapon[k] = static_cast<std::uint8_t>(1 + (s + static_cast<int>(k) * 7) % kWeaponSlots);
        u.yearAvail = 40;
        u.monthAvail = 1;
        u.yearUnavail = 120;
        u.monthUnavail = 12;
    }
    for (int s = 1; s <= kFormationSlots; ++s) {
        TOobFormation& f = data->formations[static_cast<std::size_t>(s)];
        f.name = "Formation " + std::to_string(s);
        // Companies below 200 hold platoons above it; platoons hold units.
        f.formType = s < 200 ? 2 : 1;
        for (std::size_t k = 0; k < f.slot.size(); ++k)
            f.slot[k]
                = static_cast<std::uint16_t>(s < 200 && k > 0 ? 1000 + 200 + (s + static_cast<int>(k)) % 199
                                                              : 1 + (s * 10 + k) % kUnitSlots);
        f.yearAvail = 40;
        f.monthAvail = 1;
        f.yearUnavail = 120;
        f.monthUnavail = 12;
    }
    return data;
}

void BM_CopyFullFileBaseline(benchmark::State& state)
{
    auto data = FullData();
    auto copy = std::make_unique<TOobData>();
    for (auto _ : state) {
        *copy = *data;
        benchmark::DoNotOptimize(copy->units[1].name.data());
    }
}
BENCHMARK(BM_CopyFullFileBaseline)->Unit(benchmark::kMicrosecond);

void BM_CheckFullFile(benchmark::State& state)
{
    auto data = FullData();
    if (!CheckFile(*data).empty())
        state.SkipWithError("the full file should be clean");
    for (auto _ : state)
        benchmark::DoNotOptimize(CheckFile(*data));
}
BENCHMARK(BM_CheckFullFile)->Unit(benchmark::kMicrosecond);

void BM_WhereUsedOneWeapon(benchmark::State& state)
{
    auto data = FullData();
    for (auto _ : state)
        benchmark::DoNotOptimize(WhereUsed(*data, PasteKind::Weapon, 17));
}
BENCHMARK(BM_WhereUsedOneWeapon)->Unit(benchmark::kMicrosecond);

// The sample folder's first file with every picture and icon read again each time.
void BM_CheckSampleFileWithArt(benchmark::State& state)
{
    tarnwick::testing::TempDir dir;
    DemoFolder plan;
    std::vector<std::filesystem::path> written;
    if (!PlanDemoFolder(dir.path(), plan).ok() || !WriteDemoFolder(plan, written).ok()) {
        state.SkipWithError("cannot write the sample folder");
        return;
    }
    auto data = std::make_unique<TOobData>();
    LoadOobFile(*data, static_cast<std::uint16_t>(DemoNations().front()), dir.path());
    const IconFrameTableLoad frames = LoadIconFrameTable(dir.path());
    for (auto _ : state) {
        ArtCheck art(dir.path(), frames.table);
        benchmark::DoNotOptimize(CheckFile(*data, &art));
    }
}
BENCHMARK(BM_CheckSampleFileWithArt)->Unit(benchmark::kMicrosecond);

} // namespace
