// The document's undo steps: a renumber over a full file recorded as a step,
// its undo and redo, beside the renumber itself; and what 1,000 unit commits
// leave on the undo stack (the counter undo_bytes).

#include "core/rules/renationalise.h"
#include "gui/app/oobdocument.h"

#include <QUndoStack>

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

namespace {

using namespace tarnwick;

// Every unit and formation of nation 12, every name in use.
void Fill(core::TOobData& data)
{
    for (int s = 1; s <= core::kUnitSlots; ++s) {
        auto& u = data.units[static_cast<std::size_t>(s)];
        u.name = "Unit " + std::to_string(s);
        u.nation = 12;
    }
    for (int s = 1; s <= core::kFormationSlots; ++s) {
        auto& f = data.formations[static_cast<std::size_t>(s)];
        f.name = "Formation " + std::to_string(s);
        f.nation = 12;
    }
    for (int s = 1; s <= core::kWeaponSlots; ++s)
        data.weapons[static_cast<std::size_t>(s)].name = "Weapon " + std::to_string(s);
}

std::unique_ptr<gui::OobDocument> FullDocument()
{
    auto document = std::make_unique<gui::OobDocument>();
    auto data = std::make_unique<core::TOobData>();
    Fill(*data);
    document->open("obat012.obf", 12, *data);
    return document;
}

// The baseline: the renumber alone, 12 -> 34 and back on alternate passes.
void BM_Renumber(benchmark::State& state)
{
    auto data = std::make_unique<core::TOobData>();
    Fill(*data);
    std::uint8_t from = 12;
    std::uint8_t to = 34;
    for (auto _ : state) {
        benchmark::DoNotOptimize(core::RenumberNation(*data, from, to));
        std::swap(from, to);
    }
}

// The same renumber kept as an undo step (the comparison that finds the slots).
void BM_RenumberAsStep(benchmark::State& state)
{
    auto document = FullDocument();
    std::uint8_t from = 12;
    std::uint8_t to = 34;
    for (auto _ : state) {
        document->change("Renationalise", [&](core::TOobData& r) {
            core::RenumberNation(r, from, to);
            return true;
        });
        std::swap(from, to);
    }
}

void BM_UndoRenumber(benchmark::State& state)
{
    auto document = FullDocument();
    document->change("Renationalise", [](core::TOobData& r) {
        core::RenumberNation(r, 12, 34);
        return true;
    });
    for (auto _ : state) {
        document->undoStack()->undo();
        state.PauseTiming();
        document->undoStack()->redo();
        state.ResumeTiming();
    }
}

void BM_RedoRenumber(benchmark::State& state)
{
    auto document = FullDocument();
    document->change("Renationalise", [](core::TOobData& r) {
        core::RenumberNation(r, 12, 34);
        return true;
    });
    for (auto _ : state) {
        state.PauseTiming();
        document->undoStack()->undo();
        state.ResumeTiming();
        document->undoStack()->redo();
    }
}

// 1,000 commits of one unit each; undo_bytes is what the stack holds then.
void BM_ThousandUnitCommits(benchmark::State& state)
{
    std::size_t bytes = 0;
    for (auto _ : state) {
        auto document = FullDocument();
        for (int i = 0; i < 1000; ++i) {
            const auto slot = static_cast<std::size_t>(1 + i % core::kUnitSlots);
            document->change("Commit unit", [&](core::TOobData& r) {
                r.units[slot].cost = static_cast<std::uint16_t>(i + 1);
                return true;
            });
        }
        bytes = document->undoMemoryBytes();
    }
    state.counters["undo_bytes"] = static_cast<double>(bytes);
}

} // namespace

BENCHMARK(BM_Renumber)->Unit(benchmark::kMicrosecond)->Repetitions(7)->ReportAggregatesOnly(true);
BENCHMARK(BM_RenumberAsStep)->Unit(benchmark::kMicrosecond)->Repetitions(7)->ReportAggregatesOnly(true);
BENCHMARK(BM_UndoRenumber)->Unit(benchmark::kMicrosecond)->Repetitions(7)->ReportAggregatesOnly(true);
BENCHMARK(BM_RedoRenumber)->Unit(benchmark::kMicrosecond)->Repetitions(7)->ReportAggregatesOnly(true);
BENCHMARK(BM_ThousandUnitCommits)->Unit(benchmark::kMillisecond)->Iterations(3);
