// The main window and every tool window on a screen smaller than their design
// sizes (800 x 600): they fit the screen, their contents scroll, and their
// buttons stay on it.

#include "gui/app/sdimain.h"
#include "gui/graphics/lbmbrowser.h"
#include "gui/tools/picker.h"
#include "support/guitest.h"
#include "support/windowfixture.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QHeaderView>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

using namespace tarnwick;
using namespace tarnwick::testing;

namespace {

// All of widget (a window, or a button in one) is on the screen and in its window.
void CheckOnScreen(const QWidget* widget, const QString& what)
{
    const QRect screen = QApplication::primaryScreen()->availableGeometry();
    const QRect global(widget->mapToGlobal(QPoint(0, 0)), widget->size());
    QVERIFY2(widget->isVisible(), qPrintable(what));
    QVERIFY2(screen.contains(global), qPrintable(what));
    QVERIFY2(screen.contains(widget->window()->frameGeometry()), qPrintable(what));
    QVERIFY2(widget->window()->rect().contains(
                 QRect(widget->mapTo(widget->window(), QPoint(0, 0)), widget->size())),
        qPrintable(what));
}

} // namespace

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

    void everyToolWindowFitsAndKeepsItsButtons()
    {
        WindowFixture f;
        const QString file = WriteSampleOobFile(f.work, 4);
        auto& w = f.open();
        QVERIFY(w.openPath(file));
        // Compared with its file, the comment typed since is the longest value there is.
        ChangeRecords(w, [](core::TOobData& r) { r.comment = std::string(core::kCommentLength - 1, 'W'); });
        const auto trigger
            = [&w](const char* action) { return [&w, action] { w.findChild<QAction*>(action)->trigger(); }; };
        struct Tool {
            const char* window;
            std::function<void()> open;
            QStringList buttons; // must stay on screen
            bool modal;
        };
        const Tool tools[] = {
            { "FormGridUnits", trigger("UnitsGrid1"), { "BitBtnSave", "BitBtnExit" }, true },
            { "FormGridWpns", trigger("WeaponsGrid1"), { "BitBtnSave", "BitBtnExit" }, true },
            { "TimelineForm", trigger("Timeline1"), { "TimelineStatus" }, false },
            { "TCompareForm",
                [&] {
                    f.dialogs.setNextFileName(file);
                    trigger("CompareWith1")();
                },
                { "CompareGrid" }, false },
            { "CheckForm", trigger("CheckFile1"), { "CheckTable" }, false },
            { "WhereUsedForm", trigger("WhereUsed1"), { "WhereUsedTable" }, false },
            { "TMergeForm",
                [&] {
                    f.dialogs.setNextFileName(file);
                    f.dialogs.setNextFileName(file);
                    trigger("MergeWith1")();
                },
                { "ApplyButton" }, true },
            { "TPickForm",
                [&w] { w.findChild<gui::TPickForm*>("TPickForm")->ShowPickList(core::pickNation); },
                { "OKBtn", "BitBtn1" }, true },
            { "RenatDlg", trigger("Renationalise1"), { "BitBtn1", "BitBtn2", "Label4" }, true },
            { "FormReclassify", trigger("Reclassify1"), { "BitBtn1", "BitBtn2", "StatusBar1" }, true },
            { "LBMBrowseForm", [&w] { w.findChild<gui::TLBMBrowseForm*>("LBMBrowseForm")->exec(); },
                { "OKButton", "CancelButton", "ImportButton" }, true },
        };
        for (const Tool& tool : tools) {
            const QString name = QString::fromLatin1(tool.window);
            bool checked = false;
            const auto check = [&](QWidget* window) {
                QCOMPARE(window->objectName(), name);
                CheckOnScreen(window, name);
                for (const QString& button : tool.buttons)
                    CheckOnScreen(window->findChild<QWidget*>(button), name + " " + button);
                checked = true;
            };
            if (tool.modal) {
                OnNextModal(
                    [&](QWidget* modal) {
                        check(modal);
                        static_cast<QDialog*>(modal)->reject();
                    },
                    120000);
                tool.open();
            } else {
                tool.open();
                auto* window = w.findChild<QWidget*>(name);
                QVERIFY2(window != nullptr, qPrintable(name));
                check(window);
                QTest::keyClick(window, Qt::Key_Escape); // closes it, as Ctrl+W does
                QVERIFY2(!window->isVisible(), qPrintable(name));
            }
            QVERIFY2(checked, qPrintable(name));
        }

        // The compare window: both files' values are in view, the comment cut short.
        auto* compare = w.findChild<QAbstractItemView*>("CompareGrid");
        QVERIFY(compare->model()->rowCount() > 0);
        const QHeaderView* header = static_cast<QTableView*>(compare)->horizontalHeader();
        QVERIFY(header->sectionViewportPosition(5) + header->sectionSize(5) <= compare->viewport()->width());
        QVERIFY(header->sectionSize(4) < compare->sizeHintForColumn(4));
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
