// Pictures and icons: the unit page's picture and icon display, the picture
// browser, the transparent colour dialog, Save as PNG and reading .lbm and .shp
// through Qt's image reader. Fixtures are written into a temporary game folder.

#include "core/graphics/lbm.h"
#include "core/graphics/shp.h"
#include "gui/graphics/lbmbrowser.h"
#include "gui/graphics/picturelabel.h"
#include "gui/graphics/unitcolour.h"
#include "gui/pages/unitpage.h"
#include "support/guitest.h"
#include "support/scripteddialogs.h"
#include "support/windowfixture.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <memory>
#include <vector>

using namespace tarnwick;
using namespace tarnwick::testing;

namespace {

constexpr std::uint8_t kClear = 240; // the icon files' uncovered colour
constexpr std::uint8_t kProbe = 12; // a shape pixel of this colour sits at (2, 2)

void WriteFile(const QString& path, const std::vector<std::uint8_t>& bytes)
{
    WriteBytes(
        path, QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size())));
}

// Frame i (directory entry i + 1) is 10 + i pixels wide, so its width tells
// which frame was drawn; the crew icon files' frames are one row taller than the
// vehicle files'. Directory entry 0 is no frame.
void WriteIconFile(const QString& path, int frames, int height)
{
    std::vector<core::IndexedImage> images { core::IndexedImage(1, 1, 5) };
    for (int i = 0; i < frames; ++i) {
        core::IndexedImage f(10 + i, height, 5);
        f.pixels[static_cast<std::size_t>((height - 1) * f.width)] = kClear; // bottom-left uncovered
        f.pixels[static_cast<std::size_t>(2 * f.width + 2)] = kProbe;
        images.push_back(f);
    }
    WriteFile(path, core::EncodeShp(images, kClear));
}

// Picture n is 100 + n pixels wide.
void WritePicture(const QString& path, int n)
{
    core::IndexedImage image(100 + n, 20, static_cast<std::uint8_t>(n));
    for (int i = 0; i < 256; ++i)
        image.palette[static_cast<std::size_t>(i)]
            = { static_cast<std::uint8_t>(i), 40, static_cast<std::uint8_t>(255 - i) };
    WriteFile(path, core::EncodeIlbm(image));
}

struct Fixture {
    Fixture()
    {
        // Folder names in another letter case, as copied from another system.
        QDir root(dir.path());
        root.mkdir("Pic");
        root.mkdir("SHP");
        for (int n : { 0, 1, 2, 3, 5, 6, 9, 10, 11, 12, 13, 14, 15, 16, 17 })
            WritePicture(root.filePath(QString("Pic/Pm%1.lbm").arg(n, 5, 10, QChar('0'))), n);
        WriteBytes(root.filePath("Pic/Pm00008.lbm"), QByteArray("FORM\0\0\0\x04XXXX", 12));
        WriteIconFile(root.filePath("SHP/Icon0000.shp"), 10, 8);
        WriteBytes(root.filePath("SHP/Icon0001.shp"), QByteArray("not an icon file"));
        WriteIconFile(root.filePath("SHP/Icon0010.shp"), 61, 9);
        WriteIconFile(root.filePath("SHP/icon0011.shp"), 61, 9);
        path = QFile::encodeName(dir.path()).toStdString();

        oob = std::make_unique<core::TOobData>();
        state.currentNation = 2;
        state.currentUnit = 7;
        context.oob = oob.get();
        context.state = &state;
        context.settings = &settings;
        context.dialogs = &dialogs;
        context.currentPath = &path;
        context.transparentColour = &colour;
        context.setStatus = [this](const QString& text) { status = text; };
        page = std::make_unique<gui::UnitPage>(context);
        browser = std::make_unique<gui::TLBMBrowseForm>(context);
        context.lbmBrowser = browser.get();
    }

    void showUnit(int unitClass, int crew, int nation, int icon, int lbm = 1)
    {
        core::TOobUnit& u = oob->units[7];
        u.name = "Test unit";
        u.unitClass = static_cast<std::uint8_t>(unitClass);
        u.crew = static_cast<std::uint8_t>(crew);
        u.nation = static_cast<std::uint8_t>(nation);
        u.icon = static_cast<std::uint16_t>(icon);
        u.lbm = static_cast<std::uint16_t>(lbm);
        page->ShowUnit();
    }
    QLineEdit* edit(const char* name) const { return page->findChild<QLineEdit*>(name); }

    QTemporaryDir dir;
    std::filesystem::path path;
    std::unique_ptr<core::TOobData> oob;
    core::CurrentState state;
    core::Settings settings;
    ScriptedDialogs dialogs;
    int colour = 240;
    QString status;
    gui::PageContext context;
    std::unique_ptr<gui::UnitPage> page;
    std::unique_ptr<gui::TLBMBrowseForm> browser;
};

// The alpha of the shown (see-through) icon at the probe pixel.
int ProbeAlpha(const gui::PictureLabel* label)
{
    return label->pixmap().toImage().pixelColor(2, 2).alpha();
}

} // namespace

class TestPictures : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { InstallMessageFilter(); }
    void cleanup() { RejectOpenModals(); }

    void iconsFollowTheClassAndCrewRules()
    {
        struct Row {
            const char* what;
            int unitClass, crew, nation, icon;
            int big, hull, turret; // the shown frame's width, or 0 when hidden
            int hullHeight;
        };
        const Row rows[] = {
            { "class 10 shows no icon", 10, 0, 2, 0, 0, 0, 0, 0 },
            { "class 44 shows the hull frame big", 44, 5, 2, 0, 10, 0, 0, 0 },
            { "a big icon without turret", 44, 0, 2, 4, 18, 0, 0, 0 },
            { "hull and turret frames 0 and 1 of file 0", 1, 0, 2, 0, 0, 10, 11, 8 },
            { "icon 4 has no turret", 1, 0, 2, 4, 0, 18, 0, 8 },
            { "infantry crew 5, nation group 1: frame 24 of file 11", 1, 5, 2, 0, 0, 34, 0, 9 },
            { "crew above 13 counts as 13", 1, 20, 2, 0, 0, 10, 0, 9 },
            { "class 3, crew 9, group 0: frame 51 of file 10", 3, 9, 0, 0, 0, 61, 0, 9 },
            { "class 49 never gets a crew icon", 49, 5, 2, 0, 0, 10, 11, 8 },
            { "a rejected icon file hides all three", 1, 0, 2, 69, 0, 0, 0, 0 },
            { "a missing icon file hides the image", 1, 0, 2, 54, 0, 0, 0, 0 },
        };
        Fixture f;
        f.page->show();
        for (const Row& r : rows) {
            f.showUnit(r.unitClass, r.crew, r.nation, r.icon);
            const auto shown
                = [](const gui::PictureLabel* l) { return l->isHidden() ? 0 : l->picture().width(); };
            QVERIFY2(shown(f.page->BigImage) == r.big,
                qPrintable(QString("%1: %2").arg(r.what).arg(shown(f.page->BigImage))));
            QVERIFY2(shown(f.page->HullImage) == r.hull, r.what);
            QVERIFY2(shown(f.page->TurretImage) == r.turret, r.what);
            if (r.hull) {
                QVERIFY2(f.page->HullImage->height() == r.hullHeight, r.what);
                QCOMPARE(f.page->HullImage->pos(), QPoint(gui::UnitPage::kHullX, gui::UnitPage::kHullY));
            }
            if (r.turret)
                QCOMPARE(f.page->TurretImage->pos(), f.page->HullImage->pos() + QPoint(8, -28));
            if (r.big) {
                const QRect area(gui::UnitPage::kIconAreaX, gui::UnitPage::kIconAreaY,
                    gui::UnitPage::kIconAreaWidth, gui::UnitPage::kIconAreaHeight);
                QVERIFY2(qAbs(f.page->BigImage->geometry().center().x() - area.center().x()) <= 1, r.what);
                QVERIFY2(qAbs(f.page->BigImage->geometry().center().y() - area.center().y()) <= 1, r.what);
            }
        }
        // Typing: an icon number above the table is its last row (file 53: none here),
        // a crew that is no number hides everything, without a message.
        f.showUnit(1, 0, 2, 0);
        f.edit("UnitIconEdit")->setText("9999");
        QVERIFY(f.page->HullImage->isHidden());
        f.edit("UnitIconEdit")->setText("4");
        QVERIFY(!f.page->HullImage->isHidden());
        f.edit("UnitCrewEdit")->setText("-");
        f.edit("UnitIconEdit")->setText("0");
        QVERIFY(f.page->HullImage->isHidden() && f.page->TurretImage->isHidden());
        QVERIFY(f.dialogs.boxes.isEmpty());
    }

    void pictureShowsWhenItsFileReads()
    {
        Fixture f;
        f.page->show();
        f.showUnit(10, 0, 2, 0, 3);
        QVERIFY(!f.page->LBMImage->isHidden());
        QCOMPARE(f.page->LBMImage->size(), QSize(103, 20));
        f.edit("UnitLBMEdit")->setText("7"); // no such file
        QVERIFY(f.page->LBMImage->isHidden());
        f.edit("UnitLBMEdit")->setText("00003");
        QVERIFY(!f.page->LBMImage->isHidden());
        f.edit("UnitLBMEdit")->setText("8"); // a broken file names itself, in its place and in the status bar
        QVERIFY(!f.page->LBMImage->isHidden());
        QVERIFY(f.page->LBMImage->picture().isNull());
        QVERIFY2(f.status.startsWith("Pm00008.lbm: ") && f.status.size() > 13, qPrintable(f.status));
        QCOMPARE(f.page->LBMImage->toolTip(), f.status);
        QCOMPARE(f.page->LBMImage->text(), f.status);
        f.edit("UnitLBMEdit")->setText("-");
        QVERIFY(f.dialogs.boxes.isEmpty());

        // A picture larger than the page's picture area is shown shrunk, never over the fields.
        core::IndexedImage big(640, 480, 3);
        WriteFile(QDir(f.dir.path()).filePath("Pic/Pm00040.lbm"), core::EncodeIlbm(big));
        f.edit("UnitLBMEdit")->setText("40");
        QCOMPARE(f.page->LBMImage->size(), QSize(122, 92));
        QCOMPARE(f.page->LBMImage->picture().size(), QSize(640, 480));

        // Another working folder: the same picture number is looked up there.
        f.showUnit(1, 0, 2, 0, 3);
        QVERIFY(!f.page->LBMImage->isHidden());
        QTemporaryDir other;
        const std::filesystem::path otherPath = QFile::encodeName(other.path()).toStdString();
        f.context.currentPath = &otherPath;
        f.showUnit(1, 0, 2, 0, 3);
        QVERIFY(f.page->LBMImage->isHidden());
        f.context.currentPath = &f.path;
        f.showUnit(1, 0, 2, 0, 3);
        QVERIFY(!f.page->LBMImage->isHidden());

        // No working folder: nothing shown, nothing read.
        const std::filesystem::path none;
        f.context.currentPath = &none;
        f.showUnit(1, 0, 2, 0, 6);
        QVERIFY(f.page->LBMImage->isHidden() && f.page->HullImage->isHidden());
    }

    void browserShowsNinePicturesAroundTheNumber()
    {
        Fixture f;
        gui::TLBMBrowseForm& b = *f.browser;
        const auto shows = [&](int offset) {
            const gui::PictureLabel* cell = b.cell(offset);
            return cell->isHidden() ? -1 : cell->picture().width() - 100;
        };
        b.requestedLbm = 0;
        b.show();
        QCOMPARE(b.LBMIDEdit->text(), QString("5"));
        QCOMPARE(b.selectedLbm, 5);
        QCOMPARE(b.ScrollBar1->value(), 5);
        const int at5[] = { 1, 2, 3, -1, 5, 6, -1, -1, 9 }; // 4, 7 missing; 8 broken
        for (int k = -4; k <= 4; ++k)
            QCOMPARE(shows(k), at5[k + 4]);
        QVERIFY(b.HintLabel->text().startsWith("Pm00008.lbm: "));
        QCOMPARE(b.FileListBox1->count(), 16);
        QCOMPARE(b.FileListBox1->currentItem()->text(), QString("Pm00005.lbm"));

        b.LBMIDEdit->setText("2");
        const int at2[] = { 0, 0, 0, 1, 2, 3, -1, 5, 6 };
        for (int k = -4; k <= 4; ++k)
            QCOMPARE(shows(k), at2[k + 4]);
        QCOMPARE(b.ScrollBar1->value(), 2);

        b.LBMIDEdit->setText("10");
        QTest::mouseClick(b.findChild<gui::PictureLabel*>("LBMImagePlus3"), Qt::LeftButton);
        QCOMPARE(b.selectedLbm, 13);
        QCOMPARE(b.LBMIDEdit->text(), QString("13"));
        QCOMPARE(shows(0), 13);
        QCOMPARE(shows(-4), 9);

        // The centre normalises the text; the bar and the file list choose too.
        b.LBMIDEdit->setText("0011");
        QTest::mouseClick(b.findChild<gui::PictureLabel*>("TheLBMImage"), Qt::LeftButton);
        QCOMPARE(b.LBMIDEdit->text(), QString("11"));
        b.ScrollBar1->setValue(16);
        QCOMPARE(b.LBMIDEdit->text(), QString("16"));
        QCOMPARE(b.selectedLbm, 16);
        b.FileListBox1->itemClicked(b.FileListBox1->item(3));
        QCOMPARE(b.selectedLbm, 3);
        QTest::keyClick(b.FileListBox1, Qt::Key_Down); // Pm00005.lbm: 4 has no file
        QCOMPARE(b.selectedLbm, 5);
        QCOMPARE(b.LBMIDEdit->text(), QString("5"));
        // A broken file is chosen in the list, and the hint names it first.
        b.LBMIDEdit->setText("8");
        QCOMPARE(b.FileListBox1->currentItem()->text(), QString("Pm00008.lbm"));
        QVERIFY(b.HintLabel->toolTip().startsWith("Pm00008.lbm: ")); // whole, where the line is cut
        QVERIFY(b.HintLabel->text().startsWith("Pm00008.lbm: "));
        b.LBMIDEdit->setText("12"); // 8 is broken, but the middle one reads
        QCOMPARE(b.FileListBox1->currentItem()->text(), QString("Pm00012.lbm"));
        QVERIFY(b.HintLabel->text().startsWith("Pm00008.lbm: "));
        // A number past the bar's end stays what was typed.
        b.LBMIDEdit->setText("99999");
        QCOMPARE(b.LBMIDEdit->text(), QString("99999"));
        QVERIFY(f.dialogs.boxes.isEmpty());
        b.reject();
    }

    void pictureButtonTakesTheBrowsersChoice()
    {
        Fixture f;
        f.showUnit(1, 0, 2, 0, 1);
        OnNextModal([](QWidget* w) {
            auto* b = qobject_cast<gui::TLBMBrowseForm*>(w);
            QVERIFY(b);
            QCOMPARE(b->LBMIDEdit->text(), QString("1"));
            QTest::mouseClick(b->findChild<gui::PictureLabel*>("LBMImagePlus2"), Qt::LeftButton);
            b->OKButton->click();
        });
        f.page->findChild<QToolButton*>("LBMPickButton")->click();
        QCOMPARE(f.edit("UnitLBMEdit")->text(), QString("3"));
        QCOMPARE(f.page->LBMImage->picture().width(), 103);

        f.edit("UnitLBMEdit")->setText("1x"); // opens nothing
        f.page->findChild<QToolButton*>("LBMPickButton")->click();
        QCOMPARE(f.dialogs.boxes.size(), 1);
    }

    void colourDialogRedrawsLiveAndCancelRestores()
    {
        Fixture f;
        f.page->show();
        f.showUnit(1, 0, 2, 0);
        QCOMPARE(ProbeAlpha(f.page->HullImage), 255);
        QCOMPARE(f.page->HullImage->pixmap().toImage().pixelColor(0, 7).alpha(), 0);
        gui::TFormColour dialog(f.colour, [&] { f.page->redrawIcons(); });
        dialog.show();
        QCOMPARE(dialog.SpinEdit1->value(), 0);
        dialog.SpinEdit1->setValue(kProbe);
        QCOMPARE(f.colour, 12);
        // The uncovered corner now has the probe's colour, so the probe vanishes too.
        QCOMPARE(ProbeAlpha(f.page->HullImage), 0);
        dialog.Button2->click();
        QCOMPARE(f.colour, 240);
        QCOMPARE(ProbeAlpha(f.page->HullImage), 255);

        dialog.show();
        QCOMPARE(dialog.SpinEdit1->value(), 12); // as it was when it closed
        dialog.SpinEdit1->setValue(30);
        dialog.SpinEdit1->setValue(12);
        dialog.Button1->click();
        QCOMPARE(f.colour, 12);
        QCOMPARE(ProbeAlpha(f.page->HullImage), 0);
    }

    void saveAsPngKeepsSizeAndPalette()
    {
        Fixture f;
        f.showUnit(1, 0, 2, 0, 6);
        const QString out = QDir(f.dir.path()).filePath("out");
        f.dialogs.setNextFileName(out);
        QVERIFY(f.page->LBMImage->saveAsPng());
        QImage saved(out + ".png");
        QCOMPARE(saved.size(), QSize(106, 20));
        QCOMPARE(saved.format(), QImage::Format_Indexed8);
        QCOMPARE(saved.pixel(0, 0), qRgb(6, 40, 249));
        QCOMPARE(f.dialogs.fileDialogs.first().startDir, QString("Pm00006.png"));

        // An icon keeps its uncovered colour; a folder that cannot be written is named.
        f.dialogs.setNextFileName(QDir(f.dir.path()).filePath("no/such/folder/icon.png"));
        QVERIFY(!f.page->HullImage->saveAsPng());
        QCOMPARE(f.dialogs.boxes.size(), 1);
        f.dialogs.setNextFileName(std::nullopt);
        QVERIFY(!f.page->HullImage->saveAsPng());
    }

    void mainWindowKeepsTheColourAndTheFoldersIconTable()
    {
        WindowFixture f;
        WriteSettingsFile(f.root.path(), { { "TransparentColour", "30" } });
        WriteSampleOobFile(f.work, 3);
        WriteBytes(QDir(f.work).filePath("iconframes.txt"), "0 0 1\n0 5 -1\n");
        auto& w = f.open();
        QVERIFY(Child<gui::TLBMBrowseForm>(w, "LBMBrowseForm") && Child<gui::TFormColour>(w, "FormColour"));
        QCOMPARE(w.transparentColour(), 30);
        QVERIFY2(w.statusText().contains("line 2"), qPrintable(w.statusText()));
        QVERIFY(!w.iconFrames().warning.empty());
        w.TarnListBoxDblClick();
        QVERIFY(w.statusText().contains("line 2"));

        OnNextModal([](QWidget* dialog) {
            auto* colour = qobject_cast<gui::TFormColour*>(dialog);
            QVERIFY(colour);
            colour->SpinEdit1->setValue(7);
            colour->Button1->click();
        });
        Child<QAction>(w, "ChangeTransparentColour1")->trigger();
        QCOMPARE(w.transparentColour(), 7);
    }

    // A huge iconframes.txt (sparse, no space taken) is refused unread at start-up.
    void mainWindowStartsWithAHugeIconTable()
    {
        WindowFixture f;
        WriteSampleOobFile(f.work, 3);
        const QString table = QDir(f.work).filePath("iconframes.txt");
        WriteBytes(table, "0 0 1\n");
        QVERIFY(QFile::resize(table, qint64 { 40 } << 30));
        auto& w = f.open();
        QVERIFY2(w.statusText().contains("too many for an icon frame table"), qPrintable(w.statusText()));
        QVERIFY(w.iconFrames().source.empty());
    }

    void qtImageReaderReadsPicturesAndIconFrames()
    {
        Fixture f;
        QDir root(f.dir.path());
        QImage picture(root.filePath("Pic/Pm00009.lbm"));
        QCOMPARE(picture.size(), QSize(109, 20));
        QImageReader icons(root.filePath("SHP/Icon0000.shp"));
        QCOMPARE(icons.imageCount(), 11);
        QVERIFY(icons.jumpToImage(4));
        const QImage frame = icons.read();
        QCOMPARE(frame.size(), QSize(13, 8));
        QCOMPARE(frame.pixelIndex(0, 7), 240);
        QImageReader broken(root.filePath("SHP/Icon0001.shp"));
        QVERIFY(broken.read().isNull());
        QVERIFY(QImage(root.filePath("Pic/Pm00008.lbm")).isNull());
        const QString huge = root.filePath("Pic/Pm00010.lbm");
        WriteBytes(huge, QByteArray("FORM"));
        QVERIFY(QFile::resize(huge, qint64 { 1 } << 30));
        QVERIFY(QImage(huge).isNull());
    }
};

QTEST_MAIN(TestPictures)
#include "test_pictures.moc"
