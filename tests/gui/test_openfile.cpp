// Opening a file by its path: as the program's argument, dropped on the window,
// from File > Open… and the recent files.

#include "gui/app/sdimain.h"
#include "support/guitest.h"
#include "support/windowfixture.h"

#include <QAction>
#include <QDir>
#include <QDropEvent>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

using namespace tarnwick;
using namespace tarnwick::testing;
using Kind = gui::Dialogs::Kind;

class TestOpenFile : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        InstallMessageFilter();
        // The recent files go to the user's configuration folder: a scratch one here.
        QVERIFY(config_.isValid());
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(config_.path()));
    }
    void cleanup() { RejectOpenModals(); }

    void aPathOpensItsFileInItsFolderAndABadNameChangesNothing()
    {
        WindowFixture f;
        WriteSettingsFile(f.root.path(), {}, { { 12, "Karsovia" } });
        const QString other = QDir(f.root.path()).filePath("elsewhere");
        QDir().mkpath(other);
        WriteSampleOobFile(other, 12);
        auto& w = f.open();

        QVERIFY(!w.openPath(QDir(other).filePath("notes.obf")));
        QCOMPARE(f.dialogs.boxes.size(), 1);
        QCOMPARE(f.dialogs.boxes[0].kind, Kind::Error);
        QVERIFY(f.dialogs.boxes[0].text.contains("obatNNN.obf"));
        QVERIFY(!w.state().fileLoaded);
        QCOMPARE(w.currentDir(), f.work);

        QVERIFY(w.openPath(QDir(other).filePath("obat012.obf")));
        QCOMPARE(f.dialogs.boxes.size(), 1);
        QVERIFY(w.state().fileLoaded);
        QCOMPARE(w.state().currentNation, 12);
        QCOMPARE(w.currentDir(), other);
    }

    void aFileDroppedOnTheWindowOpens()
    {
        WindowFixture f;
        WriteSampleOobFile(f.work, 5);
        auto& w = f.open();
        QMimeData data;
        data.setUrls({ QUrl::fromLocalFile(QDir(f.work).filePath("obat005.obf")) });
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        // Straight to the window: a drop through the application needs a drag in progress.
        static_cast<QObject&>(w).event(&drop);
        QVERIFY(w.state().fileLoaded);
        QCOMPARE(w.state().currentNation, 5);
    }

    void openFromAnyFolderIsRememberedInTheUsersConfiguration()
    {
        WindowFixture f;
        const QString other = QDir(f.root.path()).filePath("elsewhere");
        QDir().mkpath(other);
        WriteSampleOobFile(other, 12);
        WriteSampleOobFile(other, 5);
        auto& w = f.open();
        w.findChild<QAction*>("ClearRecent1")->trigger(); // what the tests before opened
        f.dialogs.setNextFileName(QDir(other).filePath("obat012.obf"));
        w.findChild<QAction*>("OpenFile1")->trigger();
        QCOMPARE(w.state().currentNation, 12);
        QVERIFY(w.openPath(QDir(other).filePath("obat005.obf")));

        auto* recent = w.findChild<QMenu*>("RecentFiles1");
        QStringList items;
        for (QAction* a : recent->actions())
            items.append(a->text());
        QCOMPARE(items,
            QStringList({ "&1 " + QDir(other).filePath("obat005.obf"),
                "&2 " + QDir(other).filePath("obat012.obf"), "", "&Clear" }));
        recent->actions()[1]->trigger(); // the second entry opens again
        QCOMPARE(w.state().currentNation, 12);
        QVERIFY(QFile::exists(QDir(config_.path()).filePath("tarnwick/tarnwick.ini")));
        QVERIFY(!QFile::exists(QDir(f.root.path()).filePath("TWFTK.ini")));
        w.findChild<QAction*>("ClearRecent1")->trigger();
        QCOMPARE(recent->actions().size(), 2);
        // A file opened from the Load/Save list counts too.
        w.findChild<QListWidget*>("TarnListBox")->setCurrentRow(4);
        w.TarnListBoxDblClick();
        QCOMPARE(recent->actions().first()->text(), "&1 " + QDir(other).filePath("obat005.obf"));
    }

private:
    QTemporaryDir config_;
};

QTEST_MAIN(TestOpenFile)
#include "test_openfile.moc"
