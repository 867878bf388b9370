// The availability timeline: opened from the Grid menu over the open file, a bar
// opens its record, the cursor counts a month, and the chart saves as SVG and PNG.

#include "gui/app/sdimain.h"
#include "gui/pages/formationpage.h"
#include "gui/pages/unitpage.h"
#include "gui/tools/timeline.h"
#include "support/guitest.h"
#include "support/windowfixture.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QMouseEvent>
#include <QStatusBar>
#include <QTabWidget>
#include <QTest>
#include <QXmlStreamReader>

#include <memory>

using namespace tarnwick;
using namespace tarnwick::gui;
using testing::WindowFixture;

namespace {

void Dates(core::TOobUnit& u, int ya, int ma, int yu, int mu)
{
    u.yearAvail = static_cast<std::uint8_t>(ya);
    u.monthAvail = static_cast<std::uint8_t>(ma);
    u.yearUnavail = static_cast<std::uint8_t>(yu);
    u.monthUnavail = static_cast<std::uint8_t>(mu);
}

// Nation 3: four units in categories 1 and 4, two formations.
void WriteFile(const QString& dir)
{
    auto d = std::make_unique<core::TOobData>();
    const char* names[] = { "", "Wolf", "Rifles", "Hound", "Sappers" };
    const int classes[] = { 0, 0, 1, 0, 20 };
    for (int s = 1; s <= 4; ++s) {
        d->units[s].name = names[s];
        d->units[s].nation = 3;
        d->units[s].unitClass = static_cast<std::uint8_t>(classes[s]);
        Dates(d->units[s], 40 + s, 1, 60, 12);
    }
    for (int s : { 1, 4 }) {
        core::TOobFormation& f = d->formations[s];
        f.name = s == 1 ? "Bn HQ" : "Rifle Coy";
        f.nation = 3;
        f.formType = s == 1 ? 5 : 2;
        f.yearAvail = 45;
        f.monthAvail = 1;
        f.yearUnavail = 60;
        f.monthUnavail = 12;
    }
    testing::WriteOobFile(dir, 3, *d);
}

int BarOfSlot(const TimelineView& view, int slot)
{
    for (std::size_t i = 0; i < view.layout().bars.size(); ++i)
        if (view.rows()[static_cast<std::size_t>(view.layout().bars[i].row)].slot == slot)
            return static_cast<int>(i);
    return -1;
}

} // namespace

class TestTimeline : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { testing::InstallMessageFilter(); }
    void cleanup() { testing::RejectOpenModals(); }

    void barsOpenTheirRecordsByClickAndByKeyboard()
    {
        WindowFixture f;
        WriteFile(f.work);
        auto& w = f.open();
        w.TarnListBoxDblClick();
        QVERIFY(w.state().fileLoaded);

        w.findChild<QAction*>("Timeline1")->trigger();
        auto* form = w.findChild<TTimelineForm*>("TimelineForm");
        QVERIFY(form != nullptr);
        QVERIFY(form->isVisible());
        QVERIFY(!form->isModal());
        auto* units = form->findChild<TimelineView*>("TimelineUnits");
        QVERIFY(QTest::qWaitForWindowExposed(form));
        QCOMPARE(units->layout().bars.size(), std::size_t { 4 });

        // Category 1 (Wolf, Hound) comes before category 4 (Rifles, Sappers).
        const int hound = BarOfSlot(*units, 3);
        QCOMPARE(hound, 1);
        QTest::mouseClick(units->viewport(), Qt::LeftButton, {}, units->barRect(hound).center());
        QCOMPARE(testing::ShownPage(w), QString("Units"));
        QCOMPARE(w.state().currentUnit, std::uint16_t { 3 });

        // A commit of new dates moves the bar at once; an undo moves it back.
        const int before = units->barRect(hound).left();
        w.findChild<QLineEdit*>("UnitYrAvailEdit")->setText("50");
        w.CommitButtonClick();
        const int moved = BarOfSlot(*units, 3);
        QCOMPARE(units->rows()[static_cast<std::size_t>(units->layout().bars[moved].row)].from.year, 50);
        QVERIFY(units->barRect(moved).left() > before);
        w.findChild<QAction*>("Undo1")->trigger();
        QCOMPARE(units->barRect(BarOfSlot(*units, 3)).left(), before);

        // The cursor counts the month under it in the window's status line.
        const int x = core::TimelineX(units->layout(), core::MonthNumber({ 42, 6 })) + 1;
        const QPoint at(x, units->headerHeight() + 2);
        QMouseEvent move(QEvent::MouseMove, at, units->viewport()->mapToGlobal(at), Qt::NoButton, {}, {});
        QApplication::sendEvent(units->viewport(), &move);
        QCOMPARE(form->findChild<QStatusBar*>("TimelineStatus")->currentMessage(),
            QString("June 1942: Category 1 1, Category 2 0, Category 3 0, Category 4 1, Category 5 0, "
                    "Category 6 0, Category 7 0"));

        // The filter keeps one category; arrows and Return work on what is shown.
        auto* filter = form->findChild<QComboBox*>("TimelineFilter");
        filter->setCurrentIndex(filter->findData(4));
        emit filter->activated(filter->currentIndex());
        QCOMPARE(units->layout().bars.size(), std::size_t { 2 });
        units->setFocus();
        QTest::keyClick(units, Qt::Key_Down);
        QTest::keyClick(units, Qt::Key_Down);
        QTest::keyClick(units, Qt::Key_Return);
        QCOMPARE(w.state().currentUnit, std::uint16_t { 4 });

        form->findChild<QTabWidget*>("TimelineTabs")->setCurrentIndex(1);
        auto* formations = form->findChild<TimelineView*>("TimelineFormations");
        QCOMPARE(filter->itemText(0), QString("All types"));
        formations->setFocus();
        QTest::keyClick(formations, Qt::Key_Down);
        QTest::keyClick(formations, Qt::Key_Return);
        QCOMPARE(testing::ShownPage(w), QString("Formations"));
        QCOMPARE(w.state().currentFormation, std::uint16_t { 4 }); // Company before Bn HQ
    }

    void savesTheChartAsSvgAndPng()
    {
        WindowFixture f;
        WriteFile(f.work);
        auto& w = f.open();
        w.TarnListBoxDblClick();
        w.findChild<QAction*>("Timeline1")->trigger();
        auto* form = w.findChild<TTimelineForm*>("TimelineForm");
        auto* units = form->findChild<TimelineView*>("TimelineUnits");

        const QString svg = QDir(f.work).filePath("chart.svg");
        f.dialogs.setNextFileName(svg);
        form->findChild<QAction*>("TimelineSaveSvg")->trigger();
        QFile file(svg);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QXmlStreamReader xml(&file);
        int texts = 0;
        while (!xml.atEnd())
            if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QStringLiteral("text"))
                ++texts;
        QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
        QVERIFY(texts > 4);

        const QString png = QDir(f.work).filePath("chart"); // the extension is added
        f.dialogs.setNextFileName(png);
        form->findChild<QAction*>("TimelineSavePng")->trigger();
        QCOMPARE(QImage(png + ".png").size(), units->wholeSize());
        QVERIFY(f.dialogs.boxes.isEmpty());

        // A folder that is not there: an error box names the path, nothing is written.
        const QString bad = QDir(f.work).filePath("none/chart.png");
        f.dialogs.setNextFileName(bad);
        form->findChild<QAction*>("TimelineSavePng")->trigger();
        QCOMPARE(f.dialogs.boxes.size(), 1);
        QCOMPARE(f.dialogs.boxes[0].kind, Dialogs::Kind::Error);
        QVERIFY(f.dialogs.boxes[0].text.contains(bad));
        QVERIFY(!QFile::exists(bad));
    }
};

QTEST_MAIN(TestTimeline)
#include "test_timeline.moc"
