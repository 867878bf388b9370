// Opening a file by its path: as the program's argument and dropped on the window.

#include "gui/app/sdimain.h"
#include "support/guitest.h"
#include "support/windowfixture.h"

#include <QDir>
#include <QDropEvent>
#include <QMimeData>
#include <QTest>
#include <QUrl>

using namespace tarnwick;
using namespace tarnwick::testing;
using Kind = gui::Dialogs::Kind;

class TestOpenFile : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { InstallMessageFilter(); }
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
};

QTEST_MAIN(TestOpenFile)
#include "test_openfile.moc"
