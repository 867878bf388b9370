// The check window and the Where Used window on the real main window: they
// list what they find, open a record on a double click or Return, and a
// commit that mends a record clears its row.

#include "gui/app/oobdocument.h"
#include "gui/app/sdimain.h"
#include "gui/pages/recordpage.h"
#include "gui/pages/unitpage.h"
#include "gui/tools/checkform.h"
#include "gui/tools/recordtable.h"
#include "gui/tools/whereused.h"
#include "support/guitest.h"
#include "support/windowfixture.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTest>
#include <QUndoStack>

#include <memory>

using namespace tarnwick;
using namespace tarnwick::testing;

namespace {

// Nation 4: weapon 1, unit 1 carrying it, unit 2 naming the empty weapon slot 3.
gui::TSDIAppForm& OpenFile(WindowFixture& f)
{
    auto data = std::make_unique<core::TOobData>();
    data->weapons[1].name = "Rifle";
    for (int u : { 1, 2 }) {
        auto& unit = data->units[static_cast<std::size_t>(u)];
        unit.name = u == 1 ? "Squad" : "Scouts";
        unit.nation = 4;
        unit.weapon = { static_cast<std::uint8_t>(u == 1 ? 1 : 3), 0, 0, 0 };
        unit.yearAvail = 40;
        unit.yearUnavail = 100;
        unit.monthAvail = 1;
        unit.monthUnavail = 12;
    }
    WriteOobFile(f.work, 4, *data);
    auto& w = f.open();
    w.TarnListBoxDblClick();
    return w;
}

QStringList RowTexts(const QTableWidget* table, int row)
{
    QStringList cells;
    for (int c = 0; c < table->columnCount(); ++c)
        cells << table->item(row, c)->text();
    return cells;
}

void DoubleClickRow(QTableWidget* table, int row)
{
    QVERIFY(QTest::qWaitForWindowExposed(table->window()));
    const QRect cell = table->visualItemRect(table->item(row, 0));
    // What the window system sends: press, release, double click, release.
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseRelease(table->viewport(), Qt::LeftButton, {}, cell.center());
}

} // namespace

class TestCheckWindows : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { InstallMessageFilter(); }
    void cleanup() { RejectOpenModals(); }

    void checkFindingOpensItsRecordAndAMendingCommitClearsIt()
    {
        WindowFixture f;
        auto& w = OpenFile(f);
        QTest::keyClick(&w, Qt::Key_F8);
        gui::TCheckForm* form = Child<gui::TCheckForm>(w, "CheckForm");
        QVERIFY(form->isVisible());
        QCOMPARE(form->CheckTable->rowCount(), 1);
        QCOMPARE(RowTexts(form->CheckTable, 0),
            QStringList({ "error", "units", "2", "Scouts", "weapon 1 is weapon 3, which is empty" }));
        QCOMPARE(w.statusText(), QString("Check: 1 error, 0 warnings"));

        DoubleClickRow(form->CheckTable, 0);
        QCOMPARE(ShownPage(w), QString("Units"));
        QCOMPARE(Child<gui::UnitPage>(w, "Units")->currentSlot(), 2);

        w.findChild<QLineEdit*>("UnitWpn1Edit")->setText("1");
        w.CommitButtonClick();
        QCOMPARE(Records(w).units[2].weapon[0], 1);
        QCOMPARE(form->CheckTable->rowCount(), 0);
        QCOMPARE(form->CheckSummary->text(), QString("No problems found"));
        w.document()->undoStack()->undo();
        QCOMPARE(form->CheckTable->rowCount(), 1);
    }

    void whereUsedListsTheUsersOfTheItemShownAndOpensThem()
    {
        WindowFixture f;
        auto& w = OpenFile(f);
        w.openRecord(core::PasteKind::Weapon, 1);
        // From the name edit, which would otherwise take Ctrl+U to erase its text.
        auto* name = w.findChild<QLineEdit*>("WeaponNameEdit");
        name->setFocus();
        QTest::keySequence(name, QKeySequence(Qt::CTRL | Qt::Key_U));
        QCOMPARE(name->text(), QString("Rifle"));
        gui::TWhereUsedForm* form = Child<gui::TWhereUsedForm>(w, "WhereUsedForm");
        QVERIFY(form->isVisible());
        QCOMPARE(form->WhereUsedItem->text(), QString("Weapon 1 \"Rifle\": 1 use in 1 unit"));
        QCOMPARE(RowTexts(form->WhereUsedTable, 0), QStringList({ "units", "1", "Squad", "weapon 1" }));

        form->WhereUsedTable->setCurrentCell(0, 0);
        QTest::keyClick(form->WhereUsedTable, Qt::Key_Return);
        QCOMPARE(ShownPage(w), QString("Units"));
        QCOMPARE(Child<gui::UnitPage>(w, "Units")->currentSlot(), 1);

        // On a page that shows no record it has nothing to look for.
        ShowPage(w, "Load");
        form->hide();
        Child<QAction>(w, "WhereUsed1")->trigger();
        QVERIFY(!form->isVisible());
    }
};

QTEST_MAIN(TestCheckWindows)
#include "test_checkwindows.moc"
