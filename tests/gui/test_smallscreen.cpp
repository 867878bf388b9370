// The main window on a screen smaller than its design size (800 x 600 with room
// for a title bar): it fits the screen and its pages scroll.

#include "gui/app/sdimain.h"
#include "support/guitest.h"
#include "support/windowfixture.h"

#include <QApplication>
#include <QFile>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

using namespace tarnwick;
using namespace tarnwick::testing;

class TestSmallScreen : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { InstallMessageFilter(); }
    void cleanup() { RejectOpenModals(); }

    void theWindowFitsAndThePagesScroll()
    {
        const QSize available = QApplication::primaryScreen()->availableGeometry().size();
        QCOMPARE(available, QSize(800, 600));
        WindowFixture f;
        auto& w = f.open();
        QVERIFY(w.width() <= available.width() && w.height() <= available.height());
        QCOMPARE(w.minimumSize(), w.size());
        QCOMPARE(QSize(w.minWindowWidth(), w.minWindowHeight()), w.size());
        QVERIFY(w.height() < 602);

        // The pages keep their design room inside a scrolling area.
        auto* scroller = w.findChild<QScrollArea*>("PageScroller");
        QVERIFY(scroller);
        auto* viewer = w.findChild<QTabWidget*>("Viewer");
        QCOMPARE(scroller->widget(), viewer);
        QTRY_VERIFY(scroller->verticalScrollBar()->maximum() > 0);
        QVERIFY(viewer->height() > scroller->viewport()->height());
    }
};

int main(int argc, char** argv)
{
    // An offscreen screen of 800 x 600 instead of the platform's 800 x 800.
    QTemporaryDir dir;
    const QString config = dir.filePath("screen.json");
    QFile file(config);
    if (!file.open(QIODevice::WriteOnly)
        || file.write(R"({ "screens": [ { "name": "Small", "width": 800, "height": 600 } ] })") < 0)
        return 1;
    file.close();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + QFile::encodeName(config));
    QApplication app(argc, argv);
    TestSmallScreen test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_smallscreen.moc"
