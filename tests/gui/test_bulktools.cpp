// The renationalise and reclassify dialogs and the weapons and units grids,
// each built alone over test-owned records.

#include "gui/common/pagecontext.h"
#include "gui/tools/gridunits.h"
#include "gui/tools/gridweapons.h"
#include "gui/tools/reclassify.h"
#include "gui/tools/renationalise.h"
#include "support/guitest.h"
#include "support/pagecommit.h"
#include "support/scripteddialogs.h"
#include "support/scriptedpicklist.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include <memory>

using namespace tarnwick;
using namespace tarnwick::gui;
using Kind = gui::Dialogs::Kind;

namespace {

struct Fixture {
    std::unique_ptr<core::TOobData> oob = std::make_unique<core::TOobData>();
    core::CurrentState state;
    core::Settings settings;
    testing::ScriptedDialogs dialogs;
    testing::ScriptedPickList picker;
    QString dir;
    QStringList statuses;
    PageContext context;

    Fixture()
    {
        settings.names.nationNames[7] = "Seventh";
        settings.names.nationNames[12] = "Twelfth";
        settings.names.nationNames[34] = "Thirty-fourth";
        settings.names.unitClassNames[0] = "Fort";
        settings.names.unitClassNames[23] = "Class twenty-three";
        settings.names.unitClassNames[24] = "Class twenty-four";
        context = { oob.get(), &state, &settings, &dialogs, &picker, &dir,
            [this](const QString& text) { statuses.append(text); } };
        context.change = testing::ChangeIn(*oob);
    }
};

QString Cell(const TFormGrid& grid, int row, int column)
{
    return grid.model()->index(row, column).data().toString();
}

QColor Background(const TFormGrid& grid, int row, int column)
{
    return grid.model()->index(row, column).data(Qt::BackgroundRole).value<QColor>();
}

int RowOfSlot(const TFormGrid& grid, int slot)
{
    const auto& rows = grid.model()->rows();
    for (std::size_t r = 0; r < rows.size(); ++r)
        if (rows[r].slot == slot)
            return static_cast<int>(r);
    return -1;
}

} // namespace

class TestBulkTools : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { testing::InstallMessageFilter(); }
    void cleanup() { testing::RejectOpenModals(); }

    void renationaliseOpensOnTheFileNationAndPicks()
    {
        Fixture f;
        TRenatDlg dlg(f.context);
        dlg.init(7);
        QCOMPARE(dlg.Label1->text(), QStringLiteral("Current Tarn : 07 - Seventh"));
        QCOMPARE(dlg.RenatFromEdit->text(), QStringLiteral("7"));
        QCOMPARE(dlg.RenatToEdit->text(), QStringLiteral("7"));
        QCOMPARE(dlg.Label5->text(), QStringLiteral("Seventh"));
        // The name follows the typing, before any button is pressed.
        for (const auto& [typed, name] : { std::pair { "12", "Twelfth" },
                 { "55", "No nation has the number 55" }, { "-", "'-' is not a number" } }) {
            dlg.RenatToEdit->selectAll();
            QTest::keyClicks(dlg.RenatToEdit, QLatin1String(typed));
            QCOMPARE(dlg.Label5->text(), QLatin1String(name));
        }

        f.picker.answers = { 12, core::kPickCancelled, 34 };
        dlg.UnitWpn1PickBtn->click();
        dlg.UnitWpn1PickBtn->click(); // cancelled: nothing changes
        dlg.SpeedButton1->click();
        QCOMPARE(
            f.picker.modes, QList<core::PickMode>({ core::pickNation, core::pickNation, core::pickNation }));
        QCOMPARE(dlg.RenatFromEdit->text(), QStringLiteral("12"));
        QCOMPARE(dlg.Label4->text(), QStringLiteral("Twelfth"));
        QCOMPARE(dlg.RenatToEdit->text(), QStringLiteral("34"));
        QCOMPARE(dlg.Label5->text(), QStringLiteral("Thirty-fourth"));

        // Tab goes along each row, then to the buttons.
        const QWidget* const order[] = { dlg.RenatFromEdit, dlg.UnitWpn1PickBtn, dlg.RenatToEdit,
            dlg.SpeedButton1, dlg.BitBtn1, dlg.BitBtn2 };
        for (std::size_t i = 1; i < std::size(order); ++i) {
            const QWidget* next = order[i - 1]->nextInFocusChain();
            while (!(next->focusPolicy() & Qt::TabFocus))
                next = next->nextInFocusChain();
            QCOMPARE(next, order[i]);
        }

        dlg.init(12); // each opening starts over
        QCOMPARE(dlg.RenatToEdit->text(), QStringLiteral("12"));
    }

    void renumberCountsReportsAndRefusesBadText()
    {
        Fixture f;
        for (int s : { 1, 50, 599 })
            f.oob->units[static_cast<std::size_t>(s)].nation = 12;
        f.oob->formations[9].nation = 12;
        TRenatDlg dlg(f.context);
        // execFor resets the edits to the file's nation; Renumber twice, then Close.
        testing::OnNextModal([&dlg](QWidget*) {
            dlg.RenatToEdit->setText(QStringLiteral("34"));
            dlg.BitBtn1->click();
            QCOMPARE(dlg.Label6->text(), QStringLiteral("Processed : 3 Units, 1 Formations"));
            dlg.BitBtn1->click(); // nothing left to renumber
            dlg.BitBtn2->click();
        });
        QVERIFY(dlg.execFor(12));
        QCOMPARE(dlg.Label6->text(), QStringLiteral("Processed : 0 Units, 0 Formations"));
        QCOMPARE(f.statuses,
            QStringList({ "Processed : 3 Units, 1 Formations", "Processed : 0 Units, 0 Formations" }));
        QCOMPARE(f.oob->units[50].nation, 34);
        QCOMPARE(f.oob->formations[9].nation, 34);

        // A lone minus sign stops before any record changes, with an error box.
        dlg.RenatFromEdit->setText(QStringLiteral("34"));
        dlg.RenatToEdit->setText(QStringLiteral("-"));
        f.statuses.clear();
        dlg.BitBtn1Click();
        QCOMPARE(f.dialogs.boxes.size(), 1);
        QCOMPARE(f.dialogs.boxes[0].kind, Kind::Error);
        QCOMPARE(f.dialogs.boxes[0].text, QStringLiteral("'-' is not a valid integer value"));
        QCOMPARE(f.oob->units[50].nation, 34);
        QVERIFY(f.statuses.isEmpty());
    }

    void reclassifyResetsPicksAndReclassifies()
    {
        Fixture f;
        for (int s : { 2, 3, 4, 5, 6 })
            f.oob->units[static_cast<std::size_t>(s)].unitClass = 23;
        TFormReclassify dlg(f.context);
        dlg.EditFrom->setText(QStringLiteral("9"));
        dlg.EditToDesc->setText(QStringLiteral("left over"));
        dlg.show(); // every opening starts from class 0
        QCOMPARE(dlg.EditFrom->text(), QStringLiteral("0"));
        QCOMPARE(dlg.EditToDesc->text(), QStringLiteral("Fort"));

        f.picker.answers = { 23, 24 };
        dlg.UnitWpn1PickBtn->click();
        dlg.SpeedButton1->click();
        QCOMPARE(f.picker.modes, QList<core::PickMode>({ core::pickUnitClass, core::pickUnitClass }));
        QCOMPARE(dlg.EditFromdesc->text(), QStringLiteral("Class twenty-three"));
        QCOMPARE(dlg.EditToDesc->text(), QStringLiteral("Class twenty-four"));

        dlg.BitBtn1->click();
        QCOMPARE(dlg.statusText(), QStringLiteral("Reclassified : 5 Units"));
        QCOMPARE(f.oob->units[6].unitClass, 24);
        dlg.BitBtn1->click();
        QCOMPARE(dlg.statusText(), QStringLiteral("Reclassified : 0"));

        dlg.EditFrom->setText(QStringLiteral("24"));
        dlg.EditTo->setText(QStringLiteral("1-2"));
        dlg.BitBtn1->click();
        QCOMPARE(f.dialogs.boxes.size(), 1);
        QCOMPARE(f.dialogs.boxes[0].text, QStringLiteral("'1-2' is not a valid integer value"));
        QCOMPARE(f.oob->units[6].unitClass, 24);

        dlg.hide(); // the next opening does not show the last opening's count
        dlg.show();
        QCOMPARE(dlg.statusText(), QString());
    }

    void weaponsGridShowsColoursAndSavesSortedRowsToTheirSlots()
    {
        Fixture f;
        for (int s = 1; s <= 3; ++s) {
            auto& w = f.oob->weapons[static_cast<std::size_t>(s)];
            w.name = std::string(1, static_cast<char>('A' + s - 1)) + "-gun"; // A, B, C
            w.weaponClass = 2;
            w.apKill = 77; // not shown, never changed
        }
        TFormGridWpns grid(f.context);
        grid.show();
        QCOMPARE(grid.windowTitle(), QStringLiteral("Weapon Grid Utility - NO error checking!"));
        QCOMPARE(grid.model()->rowCount(), 249);
        QCOMPARE(grid.SAGrid1->columnWidth(3), 184);
        QCOMPARE(grid.model()->headerData(12, Qt::Horizontal, Qt::DisplayRole).toString(),
            QStringLiteral("Weapon Range"));
        QCOMPARE(Background(grid, 3, 1), QColor(0, 255, 255)); // slot 4: class 0, not in use
        QVERIFY(!Background(grid, 0, 1).isValid());
        QCOMPARE(Background(grid, 0, 3), GridCellQColor(core::GridCellColour::Grey));

        grid.SAGrid1TitleClick(1); // Name, ascending: empty names first
        grid.SAGrid1TitleClick(1); // again: descending
        QCOMPARE(grid.sortOrder(), Qt::DescendingOrder);
        QCOMPARE(Cell(grid, 0, 1), QStringLiteral("C-gun"));
        QCOMPARE(Cell(grid, 2, 1), QStringLiteral("A-gun"));

        // The search takes upper case and looks in the sorted column.
        QTest::keyClicks(grid.Edit1, QStringLiteral("b"));
        QCOMPARE(grid.Edit1->text(), QStringLiteral("B"));
        QCOMPARE(grid.SAGrid1->currentIndex().row(), 1);

        auto* m = grid.model();
        m->setData(m->index(0, 1), QStringLiteral("Long name of twenty-two   "), Qt::EditRole);
        m->setData(m->index(1, 5), QStringLiteral("12a"), Qt::EditRole);
        m->setData(m->index(2, 6), QStringLiteral("300"), Qt::EditRole);
        m->setData(m->index(2, 7), QStringLiteral("-7"), Qt::EditRole);
        m->setData(m->index(RowOfSlot(grid, 4), 2), QStringLiteral("5"), Qt::EditRole);
        QVERIFY(!m->setData(m->index(0, 3), QStringLiteral("typed"), Qt::EditRole)); // derived column
        grid.SAGrid1->setCurrentIndex(m->index(RowOfSlot(grid, 4), 2));
        grid.BitBtnSave->click();
        QCOMPARE(grid.SAGrid1->currentIndex(), m->index(RowOfSlot(grid, 4), 2)); // the cell stays current
        QVERIFY(f.dialogs.boxes.isEmpty());
        QCOMPARE(f.oob->weapons[3].name, std::string("Long name of tw"));
        QCOMPARE(f.oob->weapons[2].heKill, 12);
        QCOMPARE(f.oob->weapons[1].accuracy, 255);
        QCOMPARE(f.oob->weapons[1].hePen, 0);
        QCOMPARE(f.oob->weapons[1].apKill, 77);
        QCOMPARE(f.oob->weapons[4].weaponClass, 5);
        // Refilled in the same order, slot 4 no longer marked as unused.
        QCOMPARE(Cell(grid, 0, 0), QStringLiteral("3"));
        QVERIFY(!Background(grid, RowOfSlot(grid, 4), 1).isValid());

        // Opened from the menu: maximised, and it tells whether a save changed records.
        grid.hide();
        testing::OnNextModal([&grid](QWidget* shown) {
            QVERIFY(shown->isMaximized());
            QVERIFY(grid.Edit1->text().isEmpty()); // each opening starts over
            grid.model()->setData(grid.model()->index(0, 1), QStringLiteral("Renamed"), Qt::EditRole);
            grid.BitBtnSave->click();
            grid.BitBtnExit->click();
        });
        QVERIFY(grid.execFor());
        QCOMPARE(f.oob->weapons[3].name, std::string("Renamed"));
        testing::OnNextModal([&grid](QWidget*) { grid.BitBtnExit->click(); });
        QVERIFY(!grid.execFor());
    }

    void weaponsGridBadCellStoresNothingAndKeepsTheTyping()
    {
        Fixture f;
        TFormGridWpns grid(f.context);
        grid.show();
        auto* m = grid.model();
        m->setData(m->index(0, 1), QStringLiteral("Kept"), Qt::EditRole);
        m->setData(m->index(11, 5), QStringLiteral("5-"), Qt::EditRole);
        grid.BitBtnSaveClick();
        QCOMPARE(f.dialogs.boxes.size(), 1);
        QCOMPARE(f.dialogs.boxes[0].text,
            QStringLiteral(
                "Slot 012, column \"HE Kill\": '5-' is not a valid integer value. Nothing was saved."));
        QCOMPARE(f.oob->weapons[1].name, std::string());
        QCOMPARE(Cell(grid, 0, 1), QStringLiteral("Kept"));
        QCOMPARE(grid.SAGrid1->currentIndex(), m->index(11, 5));
    }

    void weaponsGridDescriptionFollowsTheTypedClass()
    {
        Fixture f;
        f.oob->weapons[1].weaponClass = 2;
        TFormGridWpns grid(f.context);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        const QString named = Cell(grid, 0, 3);
        QVERIFY(!named.isEmpty());
        const QModelIndex classCell = grid.model()->index(0, 2);
        grid.SAGrid1->setCurrentIndex(classCell);
        grid.SAGrid1->edit(classCell);
        QLineEdit* editor = grid.SAGrid1->openEditor();
        QVERIFY(editor);
        editor->selectAll();
        QTest::keyClicks(editor, QStringLiteral("xx"));
        QCOMPARE(Cell(grid, 0, 3), QString()); // on key release, before the cell is left
        QCOMPARE(Cell(grid, 0, 2), QStringLiteral("2"));
        editor->setText(QStringLiteral("2"));
        QTest::keyClick(editor, Qt::Key_Shift);
        QCOMPARE(Cell(grid, 0, 3), named);
    }

    void eitherGridTakesAClickedCellTypedOverAndReturn()
    {
        // The editor's end runs through the grid's event filter while it is
        // destroyed; the sanitizer build checks that nothing there treats it as
        // the line edit it no longer is.
        Fixture f;
        TFormGridWpns weapons(f.context);
        TFormGridUnits units(f.context);
        for (TFormGrid* grid : { static_cast<TFormGrid*>(&weapons), static_cast<TFormGrid*>(&units) }) {
            grid->show();
            QApplication::setActiveWindow(grid);
            QVERIFY(QTest::qWaitForWindowActive(grid));
            const QModelIndex cell = grid->model()->index(2, 1); // a name
            QTest::mouseClick(
                grid->SAGrid1->viewport(), Qt::LeftButton, {}, grid->SAGrid1->visualRect(cell).center());
            QTest::keyClick(QApplication::focusWidget(), 'x');
            QVERIFY(grid->SAGrid1->openEditor());
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            QTRY_VERIFY(!grid->SAGrid1->openEditor());
            QCOMPARE(Cell(*grid, 2, 1), QStringLiteral("x"));
            grid->hide();
        }
    }

    void gridKeyboardLeavesTheGridAndTitlesWrap()
    {
        Fixture f;
        TFormGridWpns grid(f.context);
        grid.show();
        QApplication::setActiveWindow(&grid);
        QVERIFY(QTest::qWaitForWindowActive(&grid));
        // Typed over and committed from the keyboard, then Tab goes on to the
        // buttons rather than round the 249 rows.
        grid.SAGrid1->setFocus();
        grid.SAGrid1->setCurrentIndex(grid.model()->index(0, 1));
        for (QChar c : QStringLiteral("Pike")) // the first key opens the cell's editor
            QTest::keyClick(QApplication::focusWidget(), c.toLatin1());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QTRY_COMPARE(Cell(grid, 0, 1), QStringLiteral("Pike"));
        QTest::keyClick(grid.SAGrid1, Qt::Key_Tab);
        QVERIFY(QApplication::focusWidget() != grid.SAGrid1);
        grid.SAGrid1->setFocus();
        QTest::keyClick(grid.SAGrid1, Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(QApplication::focusWidget(), grid.BitBtnExit);
        QTest::keyClick(grid.BitBtnExit, Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(QApplication::focusWidget(), grid.BitBtnSave);
        QTest::keyClick(grid.BitBtnSave, Qt::Key_Space);
        QCOMPARE(f.oob->weapons[1].name, std::string("Pike"));

        // A click on a title sorts; the current cell stays on its slot and column
        // rather than jumping to the clicked column, and no column is selected.
        grid.model()->setData(grid.model()->index(4, 2), QStringLiteral("9"), Qt::EditRole);
        grid.SAGrid1->setCurrentIndex(grid.model()->index(4, 1));
        QHeaderView* titles = grid.SAGrid1->horizontalHeader();
        QTest::mouseClick(titles->viewport(), Qt::LeftButton, {},
            QPoint(titles->sectionViewportPosition(2) + 10, titles->height() / 2));
        QCOMPARE(grid.sortedColumn(), 2);
        QCOMPARE(grid.SAGrid1->currentIndex(), grid.model()->index(RowOfSlot(grid, 5), 1));
        QVERIFY(!grid.SAGrid1->selectionModel()->isColumnSelected(2));

        // "Weapon Range" is wider than its 70 pixels: titles wrap onto a second line.
        QVERIFY(titles->defaultAlignment() & Qt::TextWordWrap);
        QVERIFY(titles->height() >= 2 * titles->fontMetrics().lineSpacing());
    }

    void weaponsGridCopiesAndPastesSpreadsheetText()
    {
        Fixture f;
        TFormGridWpns grid(f.context);
        grid.show();
        auto* m = grid.model();
        QClipboard* clipboard = QApplication::clipboard();

        grid.SAGrid1->setCurrentIndex(m->index(4, 1));
        clipboard->setText(QStringLiteral("Alpha\t7\r\nBeta\t1\r\n"));
        QTest::keyClick(grid.SAGrid1, Qt::Key_V, Qt::ControlModifier);
        QVERIFY(f.dialogs.boxes.isEmpty());
        QCOMPARE(Cell(grid, 5, 1), QStringLiteral("Beta"));
        QCOMPARE(Cell(grid, 4, 3), QString::fromStdString(core::WeaponClassName(7)));

        // Copy reads back the same block.
        grid.SAGrid1->selectionModel()->select(
            QItemSelection(m->index(4, 1), m->index(5, 2)), QItemSelectionModel::ClearAndSelect);
        QTest::keyClick(grid.SAGrid1, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(clipboard->text(), QStringLiteral("Alpha\t7\nBeta\t1\n"));

        // Refused pastes change nothing: a read-only column, past the last row,
        // a character the names cannot hold.
        const core::GridRows before = m->rows();
        const struct {
            int row;
            int column;
            QString text;
        } refused[] = {
            { 0, 2, QStringLiteral("1\t2") },
            { 248, 1, QStringLiteral("A\nB") },
            { 0, 1, QStringLiteral("\u03a9") },
        };
        for (const auto& r : refused) {
            grid.SAGrid1->setCurrentIndex(m->index(r.row, r.column));
            clipboard->setText(r.text);
            grid.pasteClipboard();
        }
        QCOMPARE(f.dialogs.boxes.size(), 3);
        QVERIFY(f.dialogs.boxes[0].text.contains(QStringLiteral("\"Class Description\" cannot be edited")));
        QCOMPARE(m->rows().size(), before.size());
        for (std::size_t r = 0; r < before.size(); ++r)
            QVERIFY(m->rows()[r].cells == before[r].cells);

        grid.BitBtnSaveClick();
        QCOMPARE(f.oob->weapons[5].name, std::string("Alpha"));
        QCOMPARE(f.oob->weapons[6].weaponClass, 1);
    }

    void unitsGridColoursAndSavesNameClassDatesAndPoints()
    {
        Fixture f;
        f.oob->units[1].name = "Rifle section";
        f.oob->units[1].nation = 7;
        f.oob->units[1].unitClass = 23;
        f.oob->units[2].nation = 7; // empty slot still carrying a nation
        TFormGridUnits grid(f.context);
        grid.show();
        QCOMPARE(grid.model()->rowCount(), 599);
        QCOMPARE(grid.SAGrid1->columnWidth(1), 126);
        QCOMPARE(Cell(grid, 0, 2), QStringLiteral("Seventh"));
        QCOMPARE(Cell(grid, 0, 4), QStringLiteral("Class twenty-three"));
        QCOMPARE(Background(grid, 0, 1), QColor(Qt::white));
        QCOMPARE(Background(grid, 1, 1), QColor(Qt::red));
        QCOMPARE(Background(grid, 2, 9), QColor(0, 255, 255));
        QVERIFY(!(grid.model()->flags(grid.model()->index(0, 2)) & Qt::ItemIsEditable));

        grid.sortByColumn(3, Qt::DescendingOrder); // class 23 first
        QCOMPARE(grid.model()->rows()[0].slot, 1);
        QTest::keyClicks(grid.Edit1, QStringLiteral("2"));
        QCOMPARE(grid.SAGrid1->currentIndex().row(), 0);

        auto* m = grid.model();
        m->setData(m->index(0, 3), QStringLiteral("24"), Qt::EditRole);
        QCOMPARE(Cell(grid, 0, 4), QStringLiteral("Class twenty-four"));
        m->setData(m->index(0, 5), QStringLiteral("13"), Qt::EditRole);
        m->setData(m->index(0, 9), QStringLiteral("1200"), Qt::EditRole);
        m->setData(m->index(1, 1), QStringLiteral("Scout car"), Qt::EditRole);
        const int slotOfRow1 = m->rows()[1].slot;
        grid.BitBtnSaveClick();
        QVERIFY(f.dialogs.boxes.isEmpty());
        QCOMPARE(f.oob->units[1].unitClass, 24);
        QCOMPARE(f.oob->units[1].monthAvail, 12);
        QCOMPARE(f.oob->units[1].cost, 999);
        QCOMPARE(f.oob->units[1].nation, 7);
        QCOMPARE(f.oob->units[static_cast<std::size_t>(slotOfRow1)].name, std::string("Scout car"));
    }
};

QTEST_MAIN(TestBulkTools)
#include "test_bulktools.moc"
