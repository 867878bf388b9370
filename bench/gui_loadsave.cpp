// Changing the working folder to a folder of 60,000 entries: the folder list and
// the file list are filled from one pass over the folder.

#include "gui/app/sdimain.h"
#include "quietdialogs.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <map>
#include <memory>
#include <optional>

namespace {

using namespace tarnwick;

// 60,000 entries, files or folders, and the file of nation 12.
struct CrowdedFolder {
    QTemporaryDir root;
    QString crowded;
    QString quiet;
    QuietDialogs dialogs;

    explicit CrowdedFolder(int folders)
    {
        QDir(root.path()).mkpath("crowded");
        QDir(root.path()).mkpath("quiet");
        crowded = QDir(root.path()).filePath("crowded");
        quiet = QDir(root.path()).filePath("quiet");
        for (int i = folders; i < 60000; ++i) {
            QFile file(QDir(crowded).filePath(QString("entry%1.dat").arg(i, 5, 10, QChar('0'))));
            if (file.open(QIODevice::WriteOnly))
                file.close();
        }
        for (int i = 0; i < folders; ++i)
            QDir(crowded).mkpath(QString("folder%1").arg(i, 5, 10, QChar('0')));
        QFile oob(QDir(crowded).filePath("obat012.obf"));
        if (oob.open(QIODevice::WriteOnly))
            oob.write(QByteArray(106680, '\0'));
    }
};

void BM_EnterFolderOf60000Entries(benchmark::State& state)
{
    // Made once per kind: writing 60,000 entries takes longer than the runs.
    static std::map<int, std::unique_ptr<CrowdedFolder>> made;
    auto& slot = made[static_cast<int>(state.range(0))];
    if (!slot)
        slot = std::make_unique<CrowdedFolder>(static_cast<int>(state.range(0)));
    CrowdedFolder& folder = *slot;
    gui::MainWindowOptions options;
    options.settingsFile = QDir(folder.root.path()).filePath("none.ini");
    options.programDir = folder.root.path();
    options.workingFolder = folder.quiet;
    options.dialogs = &folder.dialogs;
    gui::TSDIAppForm window(options);
    const auto* files = window.findChild<QListWidget*>("TarnListBox");
    for (auto _ : state) {
        window.DirectoryListBox1Change(folder.crowded);
        benchmark::DoNotOptimize(files->count());
        state.PauseTiming();
        window.DirectoryListBox1Change(folder.quiet);
        state.ResumeTiming();
    }
}

// 50 of the entries folders, or all of them.
BENCHMARK(BM_EnterFolderOf60000Entries)
    ->Arg(50)
    ->Arg(60000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);

} // namespace
