// The grids as the user meets them: the units grid filled and drawn, a sort by
// a column title, and the weapons grid's save, beside a plain copy of the
// records as the baseline.

#include "gui/common/pagecontext.h"
#include "gui/tools/gridunits.h"
#include "gui/tools/gridweapons.h"
#include "quietdialogs.h"

#include <QApplication>
#include <QHeaderView>

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

namespace {

using namespace tarnwick;

// Every unit and weapon slot in use, with names, classes, dates and costs.
struct Records {
    std::unique_ptr<core::TOobData> oob = std::make_unique<core::TOobData>();
    core::CurrentState state;
    core::Settings settings;
    QuietDialogs dialogs;
    QString dir;
    gui::PageContext context;

    Records()
    {
        for (int s = 1; s <= core::kUnitSlots; ++s) {
            auto& u = oob->units[static_cast<std::size_t>(s)];
            u.name = "Unit " + std::to_string((s * 37) % 1000);
            u.nation = static_cast<std::uint8_t>(1 + s % 99);
            u.unitClass = static_cast<std::uint8_t>(s % 200);
            u.monthAvail = static_cast<std::uint8_t>(1 + s % 12);
            u.yearAvail = static_cast<std::uint8_t>(30 + s % 20);
            u.cost = static_cast<std::uint16_t>(s % 400);
        }
        for (int s = 1; s <= core::kWeaponSlots; ++s) {
            auto& w = oob->weapons[static_cast<std::size_t>(s)];
            w.name = "Weapon " + std::to_string(s);
            w.weaponClass = static_cast<std::uint8_t>(s % 20);
            w.heKill = static_cast<std::uint8_t>(s);
        }
        for (std::size_t n = 1; n < settings.names.nationNames.size(); ++n)
            settings.names.nationNames[n] = "Nation " + std::to_string(n);
        context = { oob.get(), &state, &settings, &dialogs, nullptr, &dir, {} };
    }
};

void BM_CopyUnitRecords(benchmark::State& state)
{
    Records records;
    auto copy = std::make_unique<core::TOobData>();
    for (auto _ : state) {
        copy->units = records.oob->units;
        benchmark::DoNotOptimize(copy->units[599].name.data());
    }
}

void BM_UnitsGridFilledAndShown(benchmark::State& state)
{
    Records records;
    gui::TFormGridUnits grid(records.context);
    grid.resize(1024, 740);
    for (auto _ : state) {
        state.PauseTiming();
        grid.hide();
        QApplication::processEvents();
        state.ResumeTiming();
        grid.show(); // fills 599 rows
        QApplication::processEvents(); // and draws them
        benchmark::DoNotOptimize(grid.model()->rowCount());
    }
}

void BM_UnitsGridSortByColumn(benchmark::State& state)
{
    Records records;
    gui::TFormGridUnits grid(records.context);
    grid.resize(1024, 740);
    grid.show();
    QApplication::processEvents();
    int column = 1;
    for (auto _ : state) {
        grid.SAGrid1->horizontalHeader()->sectionClicked(column);
        QApplication::processEvents();
        column = column == 1 ? 9 : 1; // name, then points, then name again
        benchmark::DoNotOptimize(grid.model()->rows().front().slot);
    }
}

void BM_WeaponsGridSave(benchmark::State& state)
{
    Records records;
    gui::TFormGridWpns grid(records.context);
    grid.resize(1024, 740);
    grid.show();
    QApplication::processEvents();
    auto* model = grid.model();
    int value = 0;
    for (auto _ : state) {
        state.PauseTiming();
        model->setData(model->index(7, 5), QString::number(value++ % 256), Qt::EditRole);
        state.ResumeTiming();
        grid.BitBtnSaveClick(); // stores every row, then fills again
        benchmark::DoNotOptimize(records.oob->weapons[8].heKill);
    }
}

BENCHMARK(BM_CopyUnitRecords)->Unit(benchmark::kMillisecond)->Repetitions(7)->ReportAggregatesOnly(true);
BENCHMARK(BM_UnitsGridFilledAndShown)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(7)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_UnitsGridSortByColumn)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(7)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_WeaponsGridSave)->Unit(benchmark::kMillisecond)->Repetitions(7)->ReportAggregatesOnly(true);

} // namespace
