// Artwork in and out in the editor: the picture browser's Import…, the unit
// picture's Replace from PNG…, and File > Export Artwork….

#include "core/graphics/lbm.h"
#include "core/graphics/shp.h"
#include "gui/app/sdimain.h"
#include "gui/graphics/artexportdialog.h"
#include "gui/graphics/lbmbrowser.h"
#include "gui/graphics/picturelabel.h"
#include "gui/pages/unitpage.h"
#include "support/guitest.h"
#include "support/scripteddialogs.h"
#include "support/windowfixture.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace tarnwick;
using namespace tarnwick::testing;

namespace {

void WriteFile(const QString& path, const std::vector<std::uint8_t>& bytes)
{
    WriteBytes(
        path, QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size())));
}

// A w x 10 PNG of four colours; the top-left pixel is see-through.
QString WritePng(const QString& path, int w)
{
    QImage image(w, 10, QImage::Format_ARGB32);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, qRgba(x % 2 * 200, y % 2 * 100, 50, 255));
    image.setPixel(0, 0, qRgba(9, 9, 9, 0));
    image.save(path, "png");
    return path;
}

struct Fixture {
    Fixture()
    {
        QDir root(dir.path());
        root.mkdir("pic");
        root.mkdir("shp");
        core::IndexedImage picture(30, 5, 7);
        WriteFile(root.filePath("pic/Pm00003.lbm"), core::EncodeIlbm(picture));
        core::IndexedImage frame(6, 4, 240);
        frame.pixels[5] = 12;
        WriteFile(root.filePath("shp/Icon0002.shp"), core::EncodeShp({ frame, frame, frame }, 240));
        path = QFile::encodeName(dir.path()).toStdString();
        context.oob = &oob;
        context.state = &state;
        context.settings = &settings;
        context.dialogs = &dialogs;
        context.currentPath = &path;
        page = std::make_unique<gui::UnitPage>(context);
        browser = std::make_unique<gui::TLBMBrowseForm>(context);
        context.lbmBrowser = browser.get();
    }
    QString file(const QString& name) const { return QDir(dir.path()).filePath(name); }

    QTemporaryDir dir;
    std::filesystem::path path;
    core::TOobData oob;
    core::CurrentState state;
    core::Settings settings;
    ScriptedDialogs dialogs;
    gui::PageContext context;
    std::unique_ptr<gui::UnitPage> page;
    std::unique_ptr<gui::TLBMBrowseForm> browser;
};

} // namespace

class TestArtwork : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { InstallMessageFilter(); }
    void cleanup() { RejectOpenModals(); }

    void browserImportsAPngAndAsksBeforeReplacing()
    {
        Fixture f;
        f.browser->show();
        f.browser->LBMIDEdit->setText("42");
        f.dialogs.setNextFileName(WritePng(f.file("a.png"), 21));
        f.browser->ImportButton->click();
        const core::IndexedImage written = core::LoadLbmFile(f.path / "pic" / "Pm00042.lbm");
        QCOMPARE(written.width, 21);
        QCOMPARE(written.pixels[0], std::uint8_t { 0 });
        QCOMPARE(written.palette[written.pixels[1]], (core::Rgb { 200, 0, 50 }));
        QVERIFY(!f.browser->cell(0)->isHidden());
        QCOMPARE(f.browser->cell(0)->picture().width(), 21);
        // The see-through pixel is told about.
        QCOMPARE(f.dialogs.boxes.size(), 1);
        QCOMPARE(f.dialogs.boxes[0].kind, gui::Dialogs::Kind::Information);
        QVERIFY(f.dialogs.boxes[0].text.contains("colour 0"));

        // Replacing asks; No keeps the picture, Yes replaces it.
        f.dialogs.clear();
        f.dialogs.setNextFileName(WritePng(f.file("b.png"), 13));
        f.browser->ImportButton->click();
        QCOMPARE(f.dialogs.boxes.size(), 1);
        QCOMPARE(f.dialogs.boxes[0].kind, gui::Dialogs::Kind::Question);
        QCOMPARE(core::LoadLbmFile(f.path / "pic" / "Pm00042.lbm").width, 21);
        f.dialogs.setNextFileName(f.file("b.png"));
        f.dialogs.setNextAnswer(gui::Dialogs::Answer::Yes);
        f.browser->ImportButton->click();
        QCOMPARE(core::LoadLbmFile(f.path / "pic" / "Pm00042.lbm").width, 13);
        QCOMPARE(f.browser->cell(0)->picture().width(), 13);

        // A file that is no PNG: an error box, nothing written.
        f.dialogs.clear();
        WriteBytes(f.file("c.png"), "no picture");
        f.browser->LBMIDEdit->setText("43");
        f.dialogs.setNextFileName(f.file("c.png"));
        f.browser->ImportButton->click();
        QCOMPARE(f.dialogs.boxes.size(), 1);
        QCOMPARE(f.dialogs.boxes[0].kind, gui::Dialogs::Kind::Error);
        QVERIFY(!std::filesystem::exists(f.path / "pic" / "Pm00043.lbm"));
    }

    void unitPictureIsReplacedFromPng()
    {
        Fixture f;
        f.page->show();
        f.oob.units[7].lbm = 3;
        f.state.currentUnit = 7;
        f.page->ShowUnit();
        QCOMPARE(f.page->LBMImage->picture().width(), 30);
        auto* replace = f.page->LBMImage->findChild<QAction*>("ReplaceFromPngAction");
        QVERIFY(replace);
        f.dialogs.setNextFileName(WritePng(f.file("a.png"), 17));
        f.dialogs.setNextAnswer(gui::Dialogs::Answer::Yes);
        replace->trigger();
        QCOMPARE(f.page->LBMImage->picture().width(), 17);
    }

    void exportArtworkWritesEveryPictureAndFrameAndNamesBrokenFiles()
    {
        Fixture f;
        WriteBytes(f.file("pic/Pm00004.lbm"), "broken");
        f.dialogs.setNextFolder(f.file("out"));
        gui::ExportArtwork(nullptr, f.dialogs, f.path, 240);
        QVERIFY(QFile::exists(f.file("out/pic/Pm00003.png")));
        QVERIFY(QFile::exists(f.file("out/shp/Icon0002_00.png")));
        QVERIFY(QFile::exists(f.file("out/shp/Icon0002_01.png")));
        QCOMPARE(QImage(f.file("out/shp/Icon0002_00.png")).pixelColor(0, 0).alpha(), 0);
        QCOMPARE(f.dialogs.boxes.size(), 1);
        QCOMPARE(f.dialogs.boxes[0].kind, gui::Dialogs::Kind::Warning);
        QVERIFY2(f.dialogs.boxes[0].text.contains("Pm00004.lbm"), qPrintable(f.dialogs.boxes[0].text));

        // The main window offers it in the File menu.
        WindowFixture w;
        QVERIFY(w.open(false).findChild<QAction*>("ExportArtworkItem"));
    }
};

QTEST_MAIN(TestArtwork)
#include "test_artwork.moc"
