// The picture browser refreshing its nine cells from 160 x 80 pictures, beside
// the same nine pictures shown from memory; the unit page showing a unit with
// its picture and hull and turret icons, beside a folder without artwork.

#include "core/graphics/lbm.h"
#include "core/graphics/shp.h"
#include "gui/graphics/lbmbrowser.h"
#include "gui/graphics/picture.h"
#include "gui/graphics/picturelabel.h"
#include "gui/pages/unitpage.h"
#include "quietdialogs.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

namespace {

using namespace tarnwick;

void Write(const QString& path, const std::vector<std::uint8_t>& bytes)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
}

// A picture with detail in every row, so that the runs stay short as in drawn art.
core::IndexedImage Picture(int n)
{
    core::IndexedImage image(160, 80);
    for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 160; ++x)
            image.row(y)[x]
                = static_cast<std::uint8_t>((x / 3 * 7 + y / 2 * 13 + n * 5 + (x * y) % 11) & 0xFF);
    for (int i = 0; i < 256; ++i)
        image.palette[static_cast<std::size_t>(i)] = { static_cast<std::uint8_t>(i),
            static_cast<std::uint8_t>(i / 2), static_cast<std::uint8_t>(255 - i) };
    return image;
}

core::IndexedImage IconFrame(int w, int h)
{
    core::IndexedImage f(w, h, 240);
    for (int y = 4; y < h - 4; ++y)
        for (int x = 3; x < w - 3; ++x)
            f.row(y)[x] = static_cast<std::uint8_t>(1 + (x + y) % 9);
    return f;
}

struct ArtFolder {
    QTemporaryDir dir;
    QTemporaryDir empty;
    std::filesystem::path path;
    std::filesystem::path emptyPath;

    ArtFolder()
    {
        QDir root(dir.path());
        root.mkdir("pic");
        root.mkdir("shp");
        for (int n = 0; n <= 40; ++n)
            Write(root.filePath(QString("pic/Pm%1.lbm").arg(n, 5, 10, QChar('0'))),
                core::EncodeIlbm(Picture(n)));
        // Icon 0: hull frame 0 and turret frame 1 of file 0.
        Write(root.filePath("shp/Icon0000.shp"),
            core::EncodeShp({ IconFrame(1, 1), IconFrame(56, 36), IconFrame(48, 44) }, 240));
        path = QFile::encodeName(dir.path()).toStdString();
        emptyPath = QFile::encodeName(empty.path()).toStdString();
    }
};

ArtFolder& Art()
{
    static ArtFolder folder;
    return folder;
}

struct Page {
    std::unique_ptr<core::TOobData> oob = std::make_unique<core::TOobData>();
    core::CurrentState state;
    core::Settings settings;
    QuietDialogs dialogs;
    int colour = 240;
    gui::PageContext context;
    std::unique_ptr<gui::UnitPage> page;

    explicit Page(const std::filesystem::path* folder)
    {
        for (int s : { 1, 2 }) {
            core::TOobUnit& u = oob->units[static_cast<std::size_t>(s)];
            u.name = "Tank " + std::to_string(s);
            u.unitClass = 5;
            u.crew = static_cast<std::uint8_t>(3 + s);
            u.icon = 0;
            u.lbm = static_cast<std::uint16_t>(10 + s);
        }
        state.currentUnit = 1;
        context.oob = oob.get();
        context.state = &state;
        context.settings = &settings;
        context.dialogs = &dialogs;
        context.currentPath = folder;
        context.transparentColour = &colour;
        page = std::make_unique<gui::UnitPage>(context);
        page->show();
        QApplication::processEvents();
    }

    void showEach(benchmark::State& run)
    {
        int slot = 1;
        for (auto _ : run) {
            slot = 3 - slot;
            state.currentUnit = static_cast<std::uint16_t>(slot);
            page->ShowUnit();
            QApplication::processEvents(); // drawn
        }
    }
};

void BM_ShowUnitWithPictureAndIcons(benchmark::State& run)
{
    Page page(&Art().path);
    page.showEach(run);
}

// Baseline: the same units where the folder has no pic or shp.
void BM_ShowUnitWithoutArtwork(benchmark::State& run)
{
    Page page(&Art().emptyPath);
    page.showEach(run);
}

struct Browser {
    core::CurrentState state;
    QuietDialogs dialogs;
    gui::PageContext context;
    std::unique_ptr<gui::TLBMBrowseForm> form;

    Browser()
    {
        context.state = &state;
        context.dialogs = &dialogs;
        context.currentPath = &Art().path;
        form = std::make_unique<gui::TLBMBrowseForm>(context);
        form->requestedLbm = 20;
        form->show();
        QApplication::processEvents();
    }
};

void BM_BrowserRefreshNineCells(benchmark::State& run)
{
    Browser browser;
    int v = 20;
    for (auto _ : run) {
        v = v == 20 ? 21 : 20;
        browser.form->LBMIDEdit->setText(QString::number(v));
        QApplication::processEvents();
    }
}

// Baseline: nine pictures already decoded, put into the cells and drawn.
void BM_NinePicturesFromMemory(benchmark::State& run)
{
    Browser browser;
    std::vector<QImage> pictures;
    for (int n = 0; n < 18; ++n)
        pictures.push_back(gui::ToQImage(Picture(n)));
    int set = 0;
    for (auto _ : run) {
        set = 9 - set;
        for (int k = -4; k <= 4; ++k)
            browser.form->cell(k)->setPicture(pictures[static_cast<std::size_t>(set + k + 4)], false);
        QApplication::processEvents();
    }
}

BENCHMARK(BM_BrowserRefreshNineCells)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(7)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_NinePicturesFromMemory)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(7)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_ShowUnitWithPictureAndIcons)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(7)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_ShowUnitWithoutArtwork)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(7)
    ->ReportAggregatesOnly(true);

} // namespace
