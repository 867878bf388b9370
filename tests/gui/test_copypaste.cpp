// Copy, paste and move on the real window, and the page shown again after a
// bulk change.

#include "core/data/tarnio.h"
#include "gui/app/paster.h"
#include "gui/app/sdimain.h"
#include "gui/pages/formationpage.h"
#include "gui/pages/unitpage.h"
#include "gui/pages/weaponpage.h"
#include "gui/tools/picker.h"
#include "gui/tools/reclassify.h"
#include "support/guitest.h"
#include "support/windowfixture.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include <memory>

using namespace tarnwick;
using namespace tarnwick::testing;

namespace {

// Nations 5 and 7, each with its own weapons 1..3; nation 5's unit 12 carries them.
void WriteNations(WindowFixture& f)
{
    for (int nation : { 5, 7 }) {
        auto data = std::make_unique<core::TOobData>();
        for (int w = 1; w <= 3; ++w)
            data->weapons[w].name = (nation == 5 ? "Gun5-" : "Gun7-") + std::to_string(w);
        data->weapons[9].name = "ARM";
        data->weapons[9].weaponClass = 16; // anti-radiation missile
        data->weapons[12].name = "MG";
        data->units[1].name = "Jeep";
        data->units[1].nation = std::uint8_t(nation);
        data->units[2].weapon = { 12, 0, 0, 0 };
        data->units[3].weapon = { 0, 12, 12, 0 };
        data->units[5].name = "Odd tank";
        data->units[5].unitClass = 1;
        data->units[5].weapon = { 9, 0, 0, 0 }; // breaks the weapon check
        data->units[12].name = "T-55";
        data->units[12].nation = 5;
        data->units[12].unitClass = 1;
        data->units[12].weapon = { 1, 2, 3, 0 };
        data->units[12].cost = 80;
        data->formations[1].name = "Company";
        data->formations[1].formType = 2;
        data->formations[1].slot = { 12, 1002, 0, 0, 0, 0, 0, 0, 0, 0 };
        data->formations[2].name = "Platoon";
        data->formations[2].slot = { 1, 12, 0, 0, 0, 0, 0, 0, 0, 0 };
        WriteOobFile(f.work, nation, *data);
    }
}

void Open(gui::TSDIAppForm& w, int nation)
{
    ShowPage(w, "Load");
    Child<QListWidget>(w, "TarnListBox")->setCurrentRow(nation - 1);
    w.OpenBtnClick();
}

QString Text(gui::TSDIAppForm& w, const char* name)
{
    if (auto* edit = w.findChild<QLineEdit*>(name))
        return edit->text();
    return w.findChild<QLabel*>(name)->text();
}

// Chooses row in the next modal list dialog (pick list or copy/paste dialog) and confirms.
void ChooseNext(int row)
{
    OnNextModal([row](QWidget* modal) {
        if (auto* pick = qobject_cast<gui::TPickForm*>(modal)) {
            pick->ListBox1->setCurrentRow(row);
            pick->OKBtn->click();
        } else if (auto* paster = qobject_cast<gui::TPasterDlg*>(modal)) {
            paster->ListBox1->setCurrentRow(row);
            paster->OKbtn->click();
        }
    });
}

} // namespace

class TestCopyPaste : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { InstallMessageFilter(); }
    void cleanup() { RejectOpenModals(); }

    void aUnitCarriedToAnotherNationKeepsItsNumbers()
    {
        WindowFixture f;
        WriteNations(f);
        auto& w = f.open();
        Open(w, 5);
        Child<gui::UnitPage>(w, "Units")->goToSlot(12);
        Child<gui::UnitPage>(w, "Units")
            ->UnitnameEdit->setText("  T-55 mod  "); // uncommitted edits travel too
        ChooseNext(2);
        w.CopyButtonClick();
        QVERIFY(w.pasteBuffers().unitBuffer[3].used);
        QCOMPARE(w.pasteBuffers().unitBuffer[3].record.name, std::string("T-55 mod"));

        Open(w, 7);
        QCOMPARE(w.state().currentNation, 7);
        Child<gui::UnitPage>(w, "Units")->goToSlot(40);
        ChooseNext(2);
        w.PasteButtonClick();
        QCOMPARE(Text(w, "UnitNumLabel"), QString("Unit 040"));
        QCOMPARE(Child<gui::UnitPage>(w, "Units")->UnitnameEdit->text(), QString("T-55 mod"));
        QCOMPARE(Text(w, "UnitNationEdit"), QString("5"));
        QCOMPARE(Text(w, "UnitWpn1NameLbl"), QString("Gun7-1"));
        QVERIFY(Records(w).units[40].name.empty()); // not stored before the commit

        w.CommitButtonClick();
        w.SaveBtnClick();
        auto saved = std::make_unique<core::TOobData>();
        QVERIFY(core::LoadOobFile(*saved, 7, QFile::encodeName(f.work).toStdString()).ok());
        QCOMPARE(saved->units[40].name, std::string("T-55 mod"));
        QCOMPARE(int(saved->units[40].nation), 5);
        QCOMPARE(saved->units[40].weapon, (std::array<std::uint8_t, 4> { 1, 2, 3, 0 }));
        QCOMPARE(int(saved->units[40].cost), 80);
    }

    void pasteAllShowsTheTableAtOnce()
    {
        WindowFixture f;
        WriteNations(f);
        auto& w = f.open();
        Open(w, 5);
        ShowPage(w, "Weapons");
        Child<gui::WeaponPage>(w, "Weapons")->goToSlot(2);
        OnNextModal([](QWidget* modal) { qobject_cast<gui::TPasterDlg*>(modal)->CopyAllBtn->click(); });
        w.CopyButtonClick();
        Open(w, 7);
        ShowPage(w, "Weapons");
        Child<gui::WeaponPage>(w, "Weapons")->goToSlot(2);
        OnNextModal([](QWidget* modal) { qobject_cast<gui::TPasterDlg*>(modal)->CopyAllBtn->click(); });
        w.PasteButtonClick();
        QCOMPARE(Records(w).weapons[2].name, std::string("Gun5-2"));
        QCOMPARE(w.findChild<QLineEdit*>("WeaponNameEdit")->text(), QString("Gun5-2"));
        QCOMPARE(w.findChild<QListWidget*>("wpnlistbox")->item(1)->text(), QString("002  Gun5-2"));
    }

    void moveCarriesTheItemAndCountsWhoStillNamesTheOldSlot()
    {
        WindowFixture f;
        WriteNations(f);
        auto& w = f.open();
        Open(w, 5);
        ShowPage(w, "Weapons");
        Child<gui::WeaponPage>(w, "Weapons")->goToSlot(12);
        const core::TOobWeapon mg = Records(w).weapons[12];

        // Cancel, the same slot and entry 0 change nothing.
        OnNextModal([](QWidget* modal) { qobject_cast<gui::TPickForm*>(modal)->BitBtn1->click(); });
        w.SpeedButton_MoveClick();
        ChooseNext(12);
        w.SpeedButton_MoveClick();
        ChooseNext(0);
        w.SpeedButton_MoveClick();
        QVERIFY(Records(w).weapons[12] == mg);

        // Units 2 and 3 name weapon 12; records without a name name nothing.
        ChangeRecords(w, [](core::TOobData& r) { r.units[2].name = "Truck"; });
        ChangeRecords(w, [](core::TOobData& r) { r.units[3].name = "Tank"; });
        ChooseNext(30);
        w.SpeedButton_MoveClick();
        QVERIFY(Records(w).weapons[30] == mg);
        QVERIFY(Records(w).weapons[12].name.empty());
        QCOMPARE(w.state().currentWeapon, 30);
        QCOMPARE(w.statusText(), QString("Moved weapon 12 to 30; 2 units still use weapon 12"));
        QCOMPARE(int(Records(w).units[2].weapon[0]), 12);

        ShowPage(w, "Formations");
        Child<gui::FormationPage>(w, "Formations")->goToSlot(2);
        const core::TOobFormation platoon = Records(w).formations[2];
        ChooseNext(30);
        w.SpeedButton_MoveClick();
        QVERIFY(Records(w).formations[30] == platoon);
        QVERIFY(Records(w).formations[2].name.empty());
        QCOMPARE(w.statusText(), QString("Moved formation 2 to 30; 1 formation still uses formation 2"));
    }

    void anEmptySlotIsNotMovedOverAnother()
    {
        WindowFixture f;
        WriteNations(f);
        auto& w = f.open();
        Open(w, 5);
        const core::TOobData before = Records(w);
        // Unit 2 has no name; a name typed as blanks counts as none.
        Child<gui::UnitPage>(w, "Units")->goToSlot(2);
        ChooseNext(12);
        w.SpeedButton_MoveClick();
        ShowPage(w, "Weapons");
        Child<gui::WeaponPage>(w, "Weapons")->goToSlot(1);
        w.findChild<QLineEdit*>("WeaponNameEdit")->setText("   ");
        ChooseNext(2);
        w.SpeedButton_MoveClick();
        QVERIFY(Records(w).units == before.units);
        QVERIFY(Records(w).weapons == before.weapons);
        QCOMPARE(f.dialogs.boxes.size(), 2);
        QCOMPARE(f.dialogs.boxes[0].text, QString("Nothing to move: unit 2 is empty"));
        QCOMPARE(f.dialogs.boxes[1].text, QString("Nothing to move: weapon 1 is empty"));
    }

    void aMovedUnitShowsItsAdvisoryOnce()
    {
        WindowFixture f;
        WriteNations(f);
        auto& w = f.open();
        Open(w, 5);
        ChangeRecords(w, [](core::TOobData& r) {
            r.weapons[3].weaponClass = 11;
        }); // an air weapon on a ground unit: advice, not refusal
        Child<gui::UnitPage>(w, "Units")->goToSlot(12);
        const core::TOobUnit tank = Records(w).units[12];
        ChooseNext(40);
        w.SpeedButton_MoveClick();
        QVERIFY(Records(w).units[40] == tank);
        QCOMPARE(f.dialogs.boxes.size(), 1);
        QVERIFY(f.dialogs.boxes[0].text.contains("ADVISORY"));
        // The window's own boxes are back to normal after the move.
        Child<gui::UnitPage>(w, "Units")->CheckUnitWeapons();
        QCOMPARE(f.dialogs.boxes.size(), 2);
    }

    void aUnitThatFailsTheCheckIsNotMoved()
    {
        WindowFixture f;
        WriteNations(f);
        auto& w = f.open();
        Open(w, 5);
        Child<gui::UnitPage>(w, "Units")->goToSlot(5);
        const core::TOobUnit odd = Records(w).units[5];
        const core::TOobUnit target = Records(w).units[20];
        ChooseNext(20);
        w.SpeedButton_MoveClick();
        QVERIFY(Records(w).units[5] == odd);
        QVERIFY(Records(w).units[20] == target);
        QCOMPARE(w.state().currentUnit, 5);
        QVERIFY(!f.dialogs.boxes.isEmpty());
        QVERIFY(f.dialogs.boxes.last().text.contains("ANTI RADIATION MISSILE"));
    }

    void aReclassifiedUnitIsNotWrittenBackByTheNextCommit()
    {
        WindowFixture f;
        WriteNations(f);
        auto& w = f.open();
        Open(w, 5);
        Child<gui::UnitPage>(w, "Units")->goToSlot(12);
        OnNextModal([](QWidget* modal) {
            auto* dlg = qobject_cast<gui::TFormReclassify*>(modal);
            dlg->EditFrom->setText("1");
            dlg->EditTo->setText("7");
            dlg->BitBtn1->click();
            dlg->BitBtn2->click();
        });
        Child<QAction>(w, "Reclassify1")->trigger();
        QCOMPARE(int(Records(w).units[12].unitClass), 7);
        QCOMPARE(Text(w, "UnitClassEdit"), QString("7"));
        w.CommitButtonClick();
        w.SaveBtnClick();
        auto saved = std::make_unique<core::TOobData>();
        QVERIFY(core::LoadOobFile(*saved, 5, QFile::encodeName(f.work).toStdString()).ok());
        QCOMPARE(int(saved->units[12].unitClass), 7);
    }
};

QTEST_MAIN(TestCopyPaste)
#include "test_copypaste.moc"
