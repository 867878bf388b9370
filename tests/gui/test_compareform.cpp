// The compare window on the real main window: opened from the File menu, one row
// per changed field, sortable, a double click opens the record, and it follows
// changes of the records.

#include "gui/app/sdimain.h"
#include "gui/pages/unitpage.h"
#include "gui/tools/compareform.h"
#include "support/guitest.h"
#include "support/windowfixture.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>

#include <memory>

using namespace tarnwick;
using namespace tarnwick::testing;
using Kind = gui::Dialogs::Kind;

namespace {

// Nation 4, and beside it other.obf: unit 5 costs more and weapon 9 has another name.
gui::TSDIAppForm& OpenWithOther(WindowFixture& f, QString& other)
{
    auto data = std::make_unique<core::TOobData>();
    data->weapons[9].name = "M60";
    data->units[5].name = "Scout car";
    data->units[5].cost = 100;
    data->units[5].nation = 4;
    WriteOobFile(f.work, 4, *data);
    data->units[5].cost = 120;
    data->weapons[9].name = "M60E3";
    const QString written = WriteOobFile(f.work, 5, *data);
    other = QDir(f.work).filePath("other.obf");
    QFile::rename(written, other);
    auto& w = f.open();
    w.TarnListBoxDblClick();
    return w;
}

QStringList Row(const QTableWidget* grid, int row)
{
    QStringList cells;
    for (int c = 0; c < grid->columnCount(); ++c)
        cells << grid->item(row, c)->text();
    return cells;
}

} // namespace

class TestCompareForm : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { InstallMessageFilter(); }
    void cleanup() { RejectOpenModals(); }

    void listsFieldsSortsOpensAndFollows()
    {
        WindowFixture f;
        QString other;
        auto& w = OpenWithOther(f, other);
        f.dialogs.clear();
        f.dialogs.setNextFileName(other);
        w.findChild<QAction*>("CompareWith1")->trigger();
        QCOMPARE(f.dialogs.boxes.size(), 0);

        auto* form = w.findChild<gui::TCompareForm*>("TCompareForm");
        QVERIFY(form != nullptr);
        QVERIFY(form->isVisible());
        QVERIFY(!form->isModal());
        QCOMPARE(form->SummaryLabel->text(), QString("2 differences"));
        QTableWidget* grid = form->CompareGrid;
        QCOMPARE(grid->rowCount(), 2);
        QCOMPARE(Row(grid, 0), (QStringList { "weapons", "9", "M60", "Name", "\"M60\"", "\"M60E3\"" }));
        QCOMPARE(Row(grid, 1), (QStringList { "units", "5", "Scout car", "Cost", "100", "120" }));

        grid->sortItems(3, Qt::AscendingOrder); // by field: Cost before Name
        QCOMPARE(grid->item(0, 3)->text(), QString("Cost"));

        QVERIFY(QTest::qWaitForWindowExposed(form));
        const QRect cell = grid->visualItemRect(grid->item(0, 2));
        QVERIFY(cell.isValid());
        QSignalSpy activated(form, &gui::TCompareForm::recordActivated);
        QTest::mouseClick(
            grid->viewport(), Qt::LeftButton, {}, cell.center()); // a double click starts with a press
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
        QCOMPARE(activated.size(), 1);
        QCOMPARE(activated[0][1].toInt(), 5);
        QCOMPARE(ShownPage(w), QString("Units"));
        QCOMPARE(Child<gui::UnitPage>(w, "Units")->currentSlot(), 5);

        // A change of the records shows at the next refresh.
        ChangeRecords(w, [](core::TOobData& r) { r.units[5].cost = 120; });
        form->refresh();
        QCOMPARE(grid->rowCount(), 1);
        QCOMPARE(form->SummaryLabel->text(), QString("1 difference"));

        // An unreadable file is reported and the window keeps its file.
        f.dialogs.setNextFileName(QDir(f.work).filePath("missing.obf"));
        w.findChild<QAction*>("CompareWith1")->trigger();
        QCOMPARE(f.dialogs.boxes.size(), 1);
        QCOMPARE(f.dialogs.boxes[0].kind, Kind::Error);
        QCOMPARE(grid->rowCount(), 1);
        QCOMPARE(w.findChildren<gui::TCompareForm*>().size(), 1);
    }
};

QTEST_MAIN(TestCompareForm)
#include "test_compareform.moc"
