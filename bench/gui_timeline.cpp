// The availability timeline of a full file (599 units, 399 formations): the
// window shown and drawn, the whole chart drawn as a picture holds it, and the
// redraw after a commit, beside a blank fill of the same window as the baseline.

#include "gui/tools/timeline.h"
#include "quietdialogs.h"

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

namespace {

using namespace tarnwick;

struct FullFile {
    std::unique_ptr<core::TOobData> oob = std::make_unique<core::TOobData>();
    core::NameTables names;
    QuietDialogs dialogs;

    FullFile()
    {
        for (int s = 1; s <= core::kUnitSlots; ++s) {
            auto& u = oob->units[static_cast<std::size_t>(s)];
            u.name = "Unit " + std::to_string((s * 37) % 1000);
            u.unitClass = static_cast<std::uint8_t>((s * 7) % 256);
            u.yearAvail = static_cast<std::uint8_t>(40 + s % 60);
            u.monthAvail = static_cast<std::uint8_t>(1 + s % 12);
            u.yearUnavail = static_cast<std::uint8_t>(std::min(120, 45 + s % 60 + s % 17));
            u.monthUnavail = static_cast<std::uint8_t>(1 + (s * 5) % 12);
        }
        for (int s = 1; s <= core::kFormationSlots; ++s) {
            auto& f = oob->formations[static_cast<std::size_t>(s)];
            f.name = "Formation " + std::to_string(s);
            f.formType = static_cast<std::uint8_t>(s % 6);
            f.yearAvail = static_cast<std::uint8_t>(50 + s % 40);
            f.monthAvail = 1;
            f.yearUnavail = 120;
            f.monthUnavail = 12;
        }
    }
};

void BM_BlankWindowFill(benchmark::State& state)
{
    QImage image(980, 620, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter p(&image);
        p.fillRect(image.rect(), Qt::white);
        p.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}

void BM_TimelineWindowShownAndDrawn(benchmark::State& state)
{
    FullFile file;
    gui::TTimelineForm form(file.oob.get(), &file.names, &file.dialogs);
    form.resize(980, 680);
    form.show();
    QApplication::processEvents();
    QImage image(form.unitsView()->viewport()->size(), QImage::Format_RGB32);
    for (auto _ : state) {
        state.PauseTiming();
        form.hide();
        QApplication::processEvents();
        state.ResumeTiming();
        form.show(); // reads the 599 units and lays them out
        form.unitsView()->viewport()->render(&image); // and draws what is in sight
        benchmark::DoNotOptimize(image.constBits());
    }
}

void BM_TimelineWholeChartDrawn(benchmark::State& state)
{
    FullFile file;
    gui::TTimelineForm form(file.oob.get(), &file.names, &file.dialogs);
    form.resize(980, 680);
    form.show();
    QApplication::processEvents();
    const QSize size = form.unitsView()->wholeSize();
    QImage image(size, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter p(&image);
        form.unitsView()->paintWhole(p); // every one of the 599 bars
        p.end();
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["bars"] = static_cast<double>(form.unitsView()->layout().bars.size());
}

void BM_TimelineRedrawAfterCommit(benchmark::State& state)
{
    FullFile file;
    gui::TTimelineForm form(file.oob.get(), &file.names, &file.dialogs);
    form.resize(980, 680);
    form.show();
    QApplication::processEvents();
    QImage image(form.unitsView()->viewport()->size(), QImage::Format_RGB32);
    int year = 60;
    for (auto _ : state) {
        file.oob->units[5].yearAvail = static_cast<std::uint8_t>(year);
        year = year == 60 ? 61 : 60;
        form.refresh(); // what the records' change signal runs
        form.unitsView()->viewport()->render(&image);
    }
}

BENCHMARK(BM_BlankWindowFill)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_TimelineWindowShownAndDrawn)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_TimelineWholeChartDrawn)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_TimelineRedrawAfterCommit)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

} // namespace
