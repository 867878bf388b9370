// The main window's item lists, back and forward, find and the page commands,
// driven on the real window with a file opened.

#include "gui/app/sdimain.h"
#include "gui/pages/formationpage.h"
#include "gui/pages/infopage.h"
#include "gui/pages/recordpage.h"
#include "gui/pages/unitpage.h"
#include "gui/pages/weaponpage.h"
#include "gui/ui/about.h"
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

        w.Viewer->setCurrentWidget(w.Formations);
        QCOMPARE(w.currentPage(), int(gui::kPageFormations));
        QCOMPARE(w.findChild<QListWidget*>("FormationListBox")->item(0)->text(), QString("001  Company HQ"));
        QVERIFY(w.EditFind->isEnabled() && w.SpeedButtonFind->isEnabled() && w.CommitButton->isEnabled());

        // Each page keeps its own slot while the user is elsewhere.
        w.Viewer->setCurrentWidget(w.Weapons);
        w.Weapons->goToSlot(17);
        w.Viewer->setCurrentWidget(w.Info);
        w.Viewer->setCurrentWidget(w.Weapons);
        auto* weapons = w.findChild<QListWidget*>("wpnlistbox");
        QCOMPARE(weapons->count(), 249);
        QCOMPARE(weapons->currentRow(), 16);
        QCOMPARE(w.state().currentWeapon, 17);
    }

    void keysInAnItemListShowTheSlotTheyLandOn()
    {
        WindowFixture f;
        auto& w = OpenFile(f);
        QListWidget* list = w.Units->itemList();
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
        w.Viewer->setCurrentWidget(sheet);

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
            { [&] { left(w.Back1Btn); }, 1 },
            { [&] { left(w.Fwd1Btn); }, 2 },
            { [&] { right(w.Back1Btn); }, 2 }, // by ten from 2..10 stays put
            { [&] { right(w.Fwd1Btn); }, 12 },
            { [&] { right(w.Fwd1Btn); }, 22 },
            { [&] { right(w.Back1Btn); }, 12 },
            { [&] { right(w.Back1Btn); }, 2 },
            { [&] { rightTwice(w.Fwd1Btn); }, 22 },
            { [&] { rightTwice(w.Back1Btn); }, 2 },
            { [&] { sheet->goToSlot(last - 5); }, last - 5 },
            { [&] { right(w.Fwd1Btn); }, last },
            { [&] { left(w.Fwd1Btn); }, last },
            { [&] { left(w.Back1Btn); }, last - 1 },
        };
        for (int i = 0; i < moves.size(); ++i) {
            moves[i].act();
            QVERIFY2(sheet->currentSlot() == moves[i].expected, qPrintable(QString("move %1").arg(i)));
            QCOMPARE(sheet->itemList()->currentRow(), moves[i].expected - 1);
        }

        // Elsewhere the buttons move nothing.
        w.Viewer->setCurrentWidget(w.Info);
        w.Fwd1BtnClick();
        w.Back1BtnMouseDown(Qt::RightButton);
        QCOMPARE(sheet->currentSlot(), last - 1);
    }

    void findWrapsKeepsItsHistoryAndReportsMisses()
    {
        WindowFixture f;
        WriteOobFile(f.work, 5, *std::make_unique<core::TOobData>());
        auto& w = OpenFile(f);
        w.Viewer->setCurrentWidget(w.Weapons);
        w.Weapons->goToSlot(3);
        auto* edit = w.EditFind->lineEdit();

        w.EditFind->setEditText(" m ");
        w.SpeedButtonFind->click();
        QCOMPARE(w.state().currentWeapon, 9);
        QCOMPARE(w.Weapons->itemList()->currentRow(), 8);
        QCOMPARE(History(w.EditFind), QStringList { "m" });
        QCOMPARE(w.EditFind->currentText(), QString(" m ")); // the typed text stays

        QTest::keyClick(edit, Qt::Key_F3); // wraps to the start
        QCOMPARE(w.state().currentWeapon, 3);
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(w.state().currentWeapon, 9);
        QTest::keyRelease(edit, Qt::Key_Return); // pressed elsewhere, say to close a box
        QCOMPARE(w.state().currentWeapon, 9);
        QTest::keyClick(edit, Qt::Key_F11);
        QCOMPARE(w.state().currentWeapon, 3);
        // In the window the keys reach the combo box, not its edit.
        QTest::keyClick(w.EditFind, Qt::Key_Return);
        QCOMPARE(w.state().currentWeapon, 9);
        QTest::keyClick(w.EditFind, Qt::Key_Enter);
        QCOMPARE(w.state().currentWeapon, 3);
        QVERIFY(f.dialogs.boxes.isEmpty());

        w.EditFind->setEditText("ABC");
        w.SpeedButtonFind->click();
        w.EditFind->setEditText("abc ");
        w.SpeedButtonFind->click();
        QCOMPARE(History(w.EditFind), QStringList({ "abc", "m" }));
        QCOMPARE(w.state().currentWeapon, 3);
        QCOMPARE(w.Weapons->itemList()->currentRow(), 2);
        QCOMPARE(f.dialogs.boxes.size(), 2);
        QCOMPARE(f.dialogs.boxes[0].kind, Kind::Information);
        QCOMPARE(f.dialogs.boxes[0].text, QString("Could not find a weapon name containing ABC"));

        f.dialogs.clear();
        w.EditFind->setEditText(" \t ");
        w.SpeedButtonFind->click();
        QCOMPARE(f.dialogs.boxes.size(), 1);
        QCOMPARE(f.dialogs.boxes[0].kind, Kind::Warning);
        QCOMPARE(f.dialogs.boxes[0].text, QString("Please enter a search string!"));
        QCOMPARE(w.EditFind->count(), 2);

        // On the Units page the same text searches the unit names.
        f.dialogs.clear();
        w.Viewer->setCurrentWidget(w.Units);
        w.Units->goToSlot(5);
        w.EditFind->setEditText("car");
        w.SpeedButtonFind->click();
        QCOMPARE(w.state().currentUnit, 1);
        QVERIFY(f.dialogs.boxes.isEmpty());

        // Another file keeps the history.
        w.Viewer->setCurrentWidget(w.Load);
        w.TarnListBox->setCurrentRow(4);
        w.TarnListBoxDblClick();
        QCOMPARE(w.state().currentNation, 5);
        QCOMPARE(History(w.EditFind), QStringList({ "car", "abc", "m" }));
        QCOMPARE(w.EditFind->maxVisibleItems(), 24);
    }

    void commitAndRestoreOnTheInfoPage()
    {
        WindowFixture f;
        auto& w = OpenFile(f);
        w.Viewer->setCurrentWidget(w.Info);
        QCOMPARE(w.currentPage(), int(gui::kPageInfo));
        QLineEdit* comment = w.Info->TarnCommentEdit;
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
        w.Renationalise1->trigger();
        QCOMPARE(w.focusWidget(), static_cast<QWidget*>(comment)); // where the keyboard goes back
        w.Viewer->setCurrentWidget(w.Load);
        OnNextModal([](QWidget* modal) { qobject_cast<QDialog*>(modal)->reject(); });
        w.Renationalise1->trigger();
        QCOMPARE(w.focusWidget(), static_cast<QWidget*>(w.TarnListBox));
    }

    void theWindowOwnsItsAboutBox()
    {
        WindowFixture f;
        auto& w = f.open();
        auto* about = qobject_cast<gui::TmyAboutBox*>(w.aboutBox());
        QVERIFY(about);
        QCOMPARE(about->parent(), &w);
        bool seen = false;
        OnNextModal([&](QWidget* modal) {
            seen = modal == about;
            about->accept();
        });
        w.findChild<QAction*>("About1")->trigger();
        QVERIFY(seen);
    }
};

QTEST_MAIN(TestNavigation)
#include "test_navigation.moc"
