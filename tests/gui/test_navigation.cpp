// The main window's item lists, back and forward, find and the page commands,
// driven on the real window with a file opened.

#include "gui/app/sdimain.h"
#include "gui/pages/formationpage.h"
#include "gui/pages/infopage.h"
#include "gui/pages/recordpage.h"
#include "gui/pages/unitpage.h"
#include "gui/pages/weaponpage.h"
#include "support/guitest.h"
#include "support/windowfixture.h"

#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

#include <functional>
#include <memory>

using namespace tarnwick;
using namespace tarnwick::testing;
using Kind = gui::Dialogs::Kind;

namespace {

// Nation 4 with weapons M16A1 in slot 3 and M60 in slot 9 and nothing else to find.
gui::TSDIAppForm& OpenFile(WindowFixture& f)
{
    auto data = std::make_unique<core::TOobData>();
    data->comment = "Fourth nation";
    data->weapons[3].name = "M16A1";
    data->weapons[9].name = "M60";
    data->units[1].name = "Scout car";
    data->formations[1].name = "  Company HQ";
    WriteOobFile(f.work, 4, *data);
    auto& w = f.open();
    w.TarnListBoxDblClick();
    return w;
}

QStringList History(const QComboBox* box)
{
    QStringList items;
    for (int i = 0; i < box->count(); ++i)
        items << box->itemText(i);
    return items;
}

} // namespace

class TestNavigation : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { InstallMessageFilter(); }
    void cleanup() { RejectOpenModals(); }

    void enteringAPageBuildsItsListAtItsSlot()
    {
        WindowFixture f;
        auto& w = OpenFile(f);
        QCOMPARE(w.currentPage(), int(gui::kPageUnits));
        auto* units = w.findChild<QListWidget*>("UnitListBox");
        QCOMPARE(units->count(), 599);
        QCOMPARE(units->item(0)->text(), QString("001  Scout car"));
        QCOMPARE(units->item(1)->text(), QString("002  "));
        QCOMPARE(units->currentRow(), 0);

        ShowPage(w, "Formations");
        QCOMPARE(w.currentPage(), int(gui::kPageFormations));
        QCOMPARE(w.findChild<QListWidget*>("FormationListBox")->item(0)->text(), QString("001  Company HQ"));
        for (const char* command : { "SpeedButtonFind", "CommitButton" })
            QVERIFY2(Child<QToolButton>(w, command)->isEnabled(), command);
        QVERIFY(Child<QComboBox>(w, "EditFind")->isEnabled());

        // Each page keeps its own slot while the user is elsewhere.
        ShowPage(w, "Weapons");
        Child<gui::WeaponPage>(w, "Weapons")->goToSlot(17);
        ShowPage(w, "Info");
        ShowPage(w, "Weapons");
        auto* weapons = w.findChild<QListWidget*>("wpnlistbox");
        QCOMPARE(weapons->count(), 249);
        QCOMPARE(weapons->currentRow(), 16);
        QCOMPARE(w.state().currentWeapon, 17);
    }

    void keysInAnItemListShowTheSlotTheyLandOn()
    {
        WindowFixture f;
        auto& w = OpenFile(f);
        QListWidget* list = Child<gui::UnitPage>(w, "Units")->itemList();
        list->setFocus();
        QTRY_VERIFY(list->hasFocus());
        auto* name = w.findChild<QLineEdit*>("UnitnameEdit");
        auto* number = w.findChild<QLabel*>("UnitNumLabel");

        QTest::keyClick(list, Qt::Key_Down);
        QCOMPARE(w.state().currentUnit, 2);
        QCOMPARE(number->text(), QString("Unit 002"));
        QVERIFY(list->hasFocus()); // the user walks on
        QTest::keyClick(list, Qt::Key_Up);
        QCOMPARE(name->text(), QString("Scout car"));
        QTest::keyClick(list, Qt::Key_End);
        QCOMPARE(w.state().currentUnit, 599);
        QCOMPARE(list->currentRow(), 598);

        // A commit stores into the slot the list shows, and the rebuild moves nothing.
        name->setText("Last one");
        QTest::keyClick(list, Qt::Key_F12);
        QCOMPARE(Records(w).units[599].name, std::string("Last one"));
        QVERIFY(Records(w).units[1].name == "Scout car");
        QCOMPARE(w.state().currentUnit, 599);
        QCOMPARE(list->currentRow(), 598);
    }

    void backAndForwardStopAtTheEnds_data()
    {
        QTest::addColumn<QString>("page");
        QTest::addColumn<int>("last");
        QTest::newRow("weapons") << "Weapons" << 249;
        QTest::newRow("units") << "Units" << 599;
        QTest::newRow("formations") << "Formations" << 399;
    }
    void backAndForwardStopAtTheEnds()
    {
        QFETCH(QString, page);
        QFETCH(int, last);
        WindowFixture f;
        auto& w = OpenFile(f);
        auto* sheet = w.findChild<gui::RecordPage*>(page);
        ShowPage(w, page);
        auto* back = Child<QToolButton>(w, "Back1Btn");
        auto* fwd = Child<QToolButton>(w, "Fwd1Btn");

        auto left = [&](QToolButton* b) { QTest::mouseClick(b, Qt::LeftButton); };
        auto right = [&](QToolButton* b) {
            QTest::mousePress(b, Qt::RightButton);
            QTest::mouseRelease(b, Qt::RightButton);
        };
        // Two quick presses: the second one comes as a double click.
        auto rightTwice = [&](QToolButton* b) {
            right(b);
            QTest::mouseDClick(b, Qt::RightButton);
            QTest::mouseRelease(b, Qt::RightButton);
        };
        struct Move {
            std::function<void()> act;
            int expected;
        };
        const QList<Move> moves {
            { [&] { left(back); }, 1 },
            { [&] { left(fwd); }, 2 },
            { [&] { right(back); }, 2 }, // by ten from 2..10 stays put
            { [&] { right(fwd); }, 12 },
            { [&] { right(fwd); }, 22 },
            { [&] { right(back); }, 12 },
            { [&] { right(back); }, 2 },
            { [&] { rightTwice(fwd); }, 22 },
            { [&] { rightTwice(back); }, 2 },
            { [&] { sheet->goToSlot(last - 5); }, last - 5 },
            { [&] { right(fwd); }, last },
            { [&] { left(fwd); }, last },
            { [&] { left(back); }, last - 1 },
        };
        for (int i = 0; i < moves.size(); ++i) {
            moves[i].act();
            QVERIFY2(sheet->currentSlot() == moves[i].expected, qPrintable(QString("move %1").arg(i)));
            QCOMPARE(sheet->itemList()->currentRow(), moves[i].expected - 1);
        }

        // Elsewhere the buttons move nothing.
        ShowPage(w, "Info");
        w.Fwd1BtnClick();
        w.Back1BtnMouseDown(Qt::RightButton);
        QCOMPARE(sheet->currentSlot(), last - 1);
    }

    void findWrapsKeepsItsHistoryAndReportsMisses()
    {
        WindowFixture f;
        WriteOobFile(f.work, 5, *std::make_unique<core::TOobData>());
        auto& w = OpenFile(f);
        auto* weapons = Child<gui::WeaponPage>(w, "Weapons");
        auto* find = Child<QComboBox>(w, "EditFind");
        auto* findButton = Child<QToolButton>(w, "SpeedButtonFind");
        ShowPage(w, "Weapons");
        weapons->goToSlot(3);
        auto* edit = find->lineEdit();

        find->setEditText(" m ");
        findButton->click();
        QCOMPARE(w.state().currentWeapon, 9);
        QCOMPARE(weapons->itemList()->currentRow(), 8);
        QCOMPARE(History(find), QStringList { "m" });
        QCOMPARE(find->currentText(), QString(" m ")); // the typed text stays

        QTest::keyClick(edit, Qt::Key_F3); // wraps to the start
        QCOMPARE(w.state().currentWeapon, 3);
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(w.state().currentWeapon, 9);
        QTest::keyRelease(edit, Qt::Key_Return); // pressed elsewhere, say to close a box
        QCOMPARE(w.state().currentWeapon, 9);
        QTest::keyClick(edit, Qt::Key_F11);
        QCOMPARE(w.state().currentWeapon, 3);
        // In the window the keys reach the combo box, not its edit.
        QTest::keyClick(find, Qt::Key_Return);
        QCOMPARE(w.state().currentWeapon, 9);
        QTest::keyClick(find, Qt::Key_Enter);
        QCOMPARE(w.state().currentWeapon, 3);
        QVERIFY(f.dialogs.boxes.isEmpty());

        find->setEditText("ABC");
        findButton->click();
        find->setEditText("abc ");
        findButton->click();
        QCOMPARE(History(find), QStringList({ "abc", "m" }));
        QCOMPARE(w.state().currentWeapon, 3);
        QCOMPARE(weapons->itemList()->currentRow(), 2);
        QCOMPARE(f.dialogs.boxes.size(), 2);
        QCOMPARE(f.dialogs.boxes[0].kind, Kind::Information);
        QCOMPARE(f.dialogs.boxes[0].text, QString("Could not find a weapon name containing ABC"));

        f.dialogs.clear();
        find->setEditText(" \t ");
        findButton->click();
        QCOMPARE(f.dialogs.boxes.size(), 1);
        QCOMPARE(f.dialogs.boxes[0].kind, Kind::Warning);
        QCOMPARE(f.dialogs.boxes[0].text, QString("Please enter a search string!"));
        QCOMPARE(find->count(), 2);

        // On the Units page the same text searches the unit names.
        f.dialogs.clear();
        ShowPage(w, "Units");
        Child<gui::UnitPage>(w, "Units")->goToSlot(5);
        find->setEditText("car");
        findButton->click();
        QCOMPARE(w.state().currentUnit, 1);
        QVERIFY(f.dialogs.boxes.isEmpty());

        // Another file keeps the history.
        ShowPage(w, "Load");
        Child<QListWidget>(w, "TarnListBox")->setCurrentRow(4);
        w.TarnListBoxDblClick();
        QCOMPARE(w.state().currentNation, 5);
        QCOMPARE(History(find), QStringList({ "car", "abc", "m" }));
        QCOMPARE(find->maxVisibleItems(), 24);
    }

    void commitAndRestoreOnTheInfoPage()
    {
        WindowFixture f;
        auto& w = OpenFile(f);
        ShowPage(w, "Info");
        QCOMPARE(w.currentPage(), int(gui::kPageInfo));
        QLineEdit* comment = Child<gui::InfoPage>(w, "Info")->TarnCommentEdit;
        QCOMPARE(comment->text(), QString("Fourth nation"));
        comment->setText("Edited comment");
        QTest::keyClick(comment, Qt::Key_F12);
        QCOMPARE(Records(w).comment, std::string("Edited comment"));
        QCOMPARE(comment->text(), QString("Edited comment"));
        QTest::keyClick(comment, Qt::Key_F9);
        QCOMPARE(w.statusText(), QString("Wrong Page"));
        QCOMPARE(comment->text(), QString("Edited comment"));

        // Renumbering refills the hidden unit page; the keyboard stays where the user is.
        QTRY_VERIFY(comment->hasFocus());
        OnNextModal([](QWidget* modal) { qobject_cast<QDialog*>(modal)->reject(); });
        Child<QAction>(w, "Renationalise1")->trigger();
        QCOMPARE(w.focusWidget(), static_cast<QWidget*>(comment)); // where the keyboard goes back
        ShowPage(w, "Load");
        OnNextModal([](QWidget* modal) { qobject_cast<QDialog*>(modal)->reject(); });
        Child<QAction>(w, "Renationalise1")->trigger();
        QCOMPARE(w.focusWidget(), static_cast<QWidget*>(Child<QListWidget>(w, "TarnListBox")));
    }
};

QTEST_MAIN(TestNavigation)
#include "test_navigation.moc"
