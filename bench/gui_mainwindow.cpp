// The main window built without the splash, and opening a full file to the
// shown Units page, beside the core's own load-and-save round trip of that file;
// rebuilding the unit list and a find over every unit name, beside showing one unit.

#include "core/data/tarnio.h"
#include "gui/app/sdimain.h"
#include "gui/pages/unitpage.h"
#include "quietdialogs.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QTabWidget>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

namespace {

using namespace tarnwick;

struct Folder {
    QTemporaryDir dir;
    QString settings;
    QuietDialogs dialogs;

    Folder()
    {
        // Every slot of every table named, as in a full game file.
        auto data = std::make_unique<core::TOobData>();
        data->comment = "Benchmark file";
        for (int s = 1; s <= core::kUnitSlots; ++s) {
            data->units[s].name = "Unit " + std::to_string(s);
            data->units[s].nation = 12;
            data->units[s].unitClass = static_cast<std::uint8_t>(s % 200);
            data->units[s].weapon[0] = static_cast<std::uint8_t>(1 + s % 249);
        }
        for (int s = 1; s <= core::kWeaponSlots; ++s)
            data->weapons[s].name = "Weapon " + std::to_string(s);
        for (int s = 1; s <= core::kFormationSlots; ++s) {
            data->formations[s].name = "Formation " + std::to_string(s);
            data->formations[s].nation = 12;
            data->formations[s].slot[0] = static_cast<std::uint16_t>(s);
        }
        const auto bytes = core::EncodeOobFile(*data, 12);
        QFile file(QDir(dir.path()).filePath("obat012.obf"));
        if (file.open(QIODevice::WriteOnly))
            file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
        settings = QDir(dir.path()).filePath("TWFTK.ini");
        QFile ini(settings);
        if (ini.open(QIODevice::WriteOnly))
            ini.write("[NationNames]\r\ntarn12=Benchmark nation\r\n");
    }

    gui::MainWindowOptions options()
    {
        gui::MainWindowOptions o;
        o.settingsFile = settings;
        o.programDir = dir.path();
        o.workingFolder = dir.path();
        o.dialogs = &dialogs;
        return o;
    }
};

Folder& SharedFolder()
{
    static Folder folder;
    return folder;
}

void BM_MainWindowBuilt(benchmark::State& state)
{
    Folder& folder = SharedFolder();
    for (auto _ : state) {
        gui::TSDIAppForm window(folder.options());
        window.show();
        QApplication::processEvents();
        benchmark::DoNotOptimize(window.findChild<QListWidget*>("TarnListBox")->count());
    }
}

void BM_OpenFullFileToUnitsPage(benchmark::State& state)
{
    Folder& folder = SharedFolder();
    gui::TSDIAppForm window(folder.options());
    window.show();
    QApplication::processEvents();
    auto* pages = window.findChild<QTabWidget*>("Viewer");
    auto* loadPage = window.findChild<QWidget*>("Load");
    auto* files = window.findChild<QListWidget*>("TarnListBox");
    for (auto _ : state) {
        state.PauseTiming();
        pages->setCurrentWidget(loadPage);
        files->setCurrentRow(11);
        QApplication::processEvents();
        state.ResumeTiming();
        window.TarnListBoxDblClick();
        QApplication::processEvents(); // the Units page drawn
        benchmark::DoNotOptimize(window.currentPage());
    }
}

void BM_CoreLoadAndSave(benchmark::State& state)
{
    Folder& folder = SharedFolder();
    auto data = std::make_unique<core::TOobData>();
    const std::filesystem::path dir(QFile::encodeName(folder.dir.path()).toStdString());
    for (auto _ : state) {
        const auto loaded = core::LoadOobFile(*data, 12, dir);
        const auto saved = core::SaveOobFile(*data, 12, dir);
        benchmark::DoNotOptimize(loaded.ok() && saved.ok());
    }
}

// A window with the full file open on the Units page.
struct OpenWindow {
    gui::TSDIAppForm window { SharedFolder().options() };
    gui::UnitPage* units = window.findChild<gui::UnitPage*>("Units");
    OpenWindow()
    {
        window.show();
        window.findChild<QListWidget*>("TarnListBox")->setCurrentRow(11);
        window.TarnListBoxDblClick();
        QApplication::processEvents();
    }
};

void BM_UnitListRebuilt(benchmark::State& state)
{
    OpenWindow open;
    for (auto _ : state) {
        open.units->listInit(300);
        QApplication::processEvents(); // the list drawn
    }
}

// Baseline for the two above and below: one unit shown again.
void BM_UnitShownAgain(benchmark::State& state)
{
    OpenWindow open;
    for (auto _ : state) {
        open.window.RestoreButtonClick();
        QApplication::processEvents();
    }
}

// A unit page committed: the weapon check, the save, the unit shown again and
// the list rebuilt.
void BM_UnitCommitted(benchmark::State& state)
{
    OpenWindow open;
    open.units->goToSlot(300);
    for (auto _ : state) {
        open.window.CommitButtonClick();
        QApplication::processEvents();
    }
}

// From slot 300 the only match is slot 300 itself: every name is read, then the
// unit is shown again.
void BM_FindOverAllUnitNames(benchmark::State& state)
{
    OpenWindow open;
    open.window.findChild<QComboBox*>("EditFind")->setEditText("unit 300 ");
    for (auto _ : state) {
        state.PauseTiming();
        open.units->goToSlot(300);
        state.ResumeTiming();
        open.window.SpeedButtonFindClick(); // wraps back to 300
        QApplication::processEvents();
    }
}

BENCHMARK(BM_UnitListRebuilt)->Unit(benchmark::kMillisecond)->Repetitions(7)->ReportAggregatesOnly(true);
BENCHMARK(BM_UnitShownAgain)->Unit(benchmark::kMillisecond)->Repetitions(7)->ReportAggregatesOnly(true);
BENCHMARK(BM_UnitCommitted)->Unit(benchmark::kMillisecond)->Repetitions(7)->ReportAggregatesOnly(true);
BENCHMARK(BM_FindOverAllUnitNames)->Unit(benchmark::kMillisecond)->Repetitions(7)->ReportAggregatesOnly(true);
BENCHMARK(BM_MainWindowBuilt)->Unit(benchmark::kMillisecond)->Repetitions(7)->ReportAggregatesOnly(true);
BENCHMARK(BM_OpenFullFileToUnitsPage)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(7)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_CoreLoadAndSave)->Unit(benchmark::kMillisecond)->Repetitions(7)->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
