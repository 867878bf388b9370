// The Formations page on its own: show with the Bn HQ repair, the organisation
// rules while typing and on commit, and the pick buttons.

#include "gui/pages/formationpage.h"
#include "support/guitest.h"
#include "support/pagecommit.h"
#include "support/scripteddialogs.h"
#include "support/scriptedpicklist.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

#include <memory>

using namespace tarnwick;
using namespace tarnwick::testing;
using Kind = gui::Dialogs::Kind;

namespace {

const QColor kMaroon(128, 0, 0);
const QColor kNavy(0, 0, 128);

// Nation 12; units 5 and 12; formations 1 (Bn HQ), 2 (a second Bn HQ),
// 3 (platoon holding formation 4 in slot 3), 4 (platoon, four members), 6 (company).
struct Fixture {
    Fixture()
    {
        state.currentNation = 12;
        picker.typeSeen = &state.currentFormType;
        context.oob = oob.get();
        context.state = &state;
        context.settings = &settings;
        context.dialogs = &dialogs;
        context.picker = &picker;
        settings.names.nationNames[12] = "Morvany";
        oob->units[5].name = "Rifle Sect";
        oob->units[12].name = "Tank";
        auto formation = [&](int slot, const char* name, int type, std::array<std::uint16_t, 10> members) {
            core::TOobFormation& f = oob->formations[slot];
            f = {};
            f.name = name;
            f.nation = 12;
            f.formType = static_cast<std::uint8_t>(type);
            f.slot = members;
            f.monthAvail = 1;
            f.yearAvail = 45;
            f.monthUnavail = 12;
            f.yearUnavail = 120;
        };
        formation(1, "Bn HQ", 5, { 5, 1006 });
        formation(2, "Second HQ", 5, { 5 });
        formation(3, "Rifle Plt", 1, { 5, 5, 1004 });
        formation(4, "Tank Plt", 1, { 12, 12, 12, 12 });
        formation(6, "Tank Coy", 2, { 12, 1004, 1004 });
        page = std::make_unique<gui::FormationPage>(context);
        page->resize(770, 480);
    }

    void show(int formation)
    {
        state.currentFormation = static_cast<std::uint16_t>(formation);
        page->ShowFormation();
    }
    QLineEdit* edit(const char* name) const { return page->findChild<QLineEdit*>(name); }
    QLabel* label(const char* name) const { return page->findChild<QLabel*>(name); }
    QToolButton* button(const char* name) const { return page->findChild<QToolButton*>(name); }
    QString text(const char* name) const
    {
        if (auto* e = edit(name))
            return e->text();
        return label(name)->text();
    }

    std::unique_ptr<core::TOobData> oob = std::make_unique<core::TOobData>();
    core::CurrentState state;
    core::Settings settings;
    ScriptedDialogs dialogs;
    testing::ScriptedPickList picker;
    gui::PageContext context;
    std::unique_ptr<gui::FormationPage> page;
};

QColor Colour(const QLabel* label)
{
    return label->palette().color(QPalette::WindowText);
}

} // namespace

class TestFormationPage : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { InstallMessageFilter(); }
    void cleanup() { RejectOpenModals(); }

    void showsTheRecordAndRepairsASecondBnHq()
    {
        Fixture f;
        f.show(1);
        QVERIFY(f.dialogs.boxes.isEmpty());
        QCOMPARE(f.text("FormNamelabel"), QString("Formation 001"));
        QCOMPARE(f.text("FormTypeEdit"), QString("5"));
        QCOMPARE(f.text("LabelCo"),
            QString("First Formation (Battle Group HQ) - allowed sub-formations BUT NOT RECOMMENDED!"));
        QCOMPARE(f.text("FormNationLabel"), QString("Morvany"));
        QCOMPARE(f.text("Formslot2Label"), QString("Tank Coy"));
        QCOMPARE(f.text("Form02TypeLabel"), QString("ERROR - Co in a Co!"));
        QCOMPARE(Colour(f.label("Form02TypeLabel")), kMaroon);
        QCOMPARE(f.text("TotalCount"), QString("4")); // slot 1, then the company's three members

        // The page shows a company and asks for the record's repair; it writes nothing itself.
        QSignalSpy repair(f.page.get(), &gui::FormationPage::repairNeeded);
        f.show(2);
        QCOMPARE(f.text("FormTypeEdit"), QString("2"));
        QCOMPARE(f.text("FormTypeLabel"), QString("Company"));
        QCOMPARE(int(f.oob->formations[2].formType), 5);
        QCOMPARE(repair.size(), 1);
        QCOMPARE(repair[0][0].toInt(), 2);
        QCOMPARE(int(f.state.currentFormType), 2);
        QCOMPARE(f.dialogs.boxes.size(), 1);
        QCOMPARE(f.dialogs.boxes[0].kind, Kind::Error);
        QCOMPARE(f.dialogs.boxes[0].text,
            QString("Only the first formation can be the Bn HQ!\n\nThis formation code reset to Company"));
    }

    void aPlatoonRefusesASubFormationUntilItBecomesACompany()
    {
        Fixture f;
        f.show(3);
        QCOMPARE(f.text("Form03TypeLabel"), QString("ERROR - form in plt!"));
        QCOMPARE(Colour(f.label("Form03TypeLabel")), kMaroon);
        QCOMPARE(Colour(f.label("Formslot3Label")), kNavy);

        f.edit("FormNameEdit")->setText("Renamed");
        QVERIFY(!CommitPage(*f.page, *f.oob));
        QCOMPARE(f.dialogs.boxes.size(), 2);
        QCOMPARE(f.dialogs.boxes[0].text,
            QString("Error(s) in formation data\n\nThe item in slot 3 is not a UNIT\n"));
        QCOMPARE(f.dialogs.boxes[1].kind, Kind::Warning);
        QCOMPARE(f.dialogs.boxes[1].text, QString("Formation data was NOT saved!"));
        QCOMPARE(f.oob->formations[3].name, std::string("Rifle Plt"));
        QCOMPARE(f.text("FormNameEdit"), QString("Renamed"));

        // No formation is offered to a platoon.
        QTest::mouseClick(f.button("FormSlot3PickBtn"), Qt::RightButton);
        QVERIFY(f.picker.modes.isEmpty());

        f.edit("FormTypeEdit")->setText("2");
        QCOMPARE(f.text("LabelCo"),
            QString("Company type formation (is allowed sub-formations of platoons or sections)"));
        QCOMPARE(f.text("Formslot3Label"), QString("Tank Plt"));
        QCOMPARE(f.text("Form03TypeLabel"), QString("Platoon"));
        QCOMPARE(f.text("Form03DateLabel"), QString("1/45 to 12/120"));
        QCOMPARE(Colour(f.label("Form03TypeLabel")), kNavy);

        f.dialogs.clear();
        QVERIFY(CommitPage(*f.page, *f.oob));
        QVERIFY(f.dialogs.boxes.isEmpty());
        QCOMPARE(f.oob->formations[3].name, std::string("Renamed"));
        QCOMPARE(int(f.oob->formations[3].formType), 2);
        QCOMPARE(f.page->itemList()->item(2)->text(), QString("003  Renamed"));
        QCOMPARE(f.text("TotalCount"), QString("6"));
    }

    void aRefusedCommitKeepsTheTyping()
    {
        Fixture f;
        f.show(4);
        f.edit("FormNameEdit")->setText("Heavy Plt");
        f.edit("FormExpModEdit")->setText("-40");
        f.edit("FormMoraleModEdit")->setText("1-2");
        QVERIFY(!CommitPage(*f.page, *f.oob));
        QCOMPARE(f.dialogs.boxes.size(), 1);
        QCOMPARE(f.dialogs.boxes[0].text, QString("Morale Modifier: '1-2' is not a valid integer value"));
        QCOMPARE(f.oob->formations[4].name, std::string("Tank Plt"));
        QCOMPARE(f.text("FormNameEdit"), QString("Heavy Plt"));
        QCOMPARE(f.text("FormMoraleModEdit"), QString("1-2"));

        // A formation in slot 1 (as a file may hold it) is refused at once.
        f.dialogs.clear();
        f.edit("FormMoraleModEdit")->setText("30");
        f.edit("FormSlot1Edit")->setText("1005");
        QCOMPARE(f.text("Form01DateLabel"), QString("ERROR - form in slot 1!"));
        QVERIFY(!CommitPage(*f.page, *f.oob));
        QCOMPARE(f.dialogs.boxes.size(), 2);
        QCOMPARE(f.dialogs.boxes[0].text, QString("The item in slot 1 must be a UNIT and not a FORMATION"));
        QCOMPARE(f.text("FormNameEdit"), QString("Heavy Plt"));

        // Typing can leave no more than unit 599 in slot 1.
        f.edit("FormSlot1Edit")->clear();
        QTest::keyClicks(f.edit("FormSlot1Edit"), "1234");
        QCOMPARE(f.text("FormSlot1Edit"), QString("599"));

        f.edit("FormSlot1Edit")->setText("12");
        QVERIFY(CommitPage(*f.page, *f.oob));
        const core::TOobFormation& r = f.oob->formations[4];
        QCOMPARE(r.name, std::string("Heavy Plt"));
        QCOMPARE(int(r.expMod), -25);
        QCOMPARE(int(r.moraleMod), 25);
        QCOMPARE(int(r.slot[0]), 12);
    }

    void eraseThenCommitStoresAnEmptyFormation()
    {
        Fixture f;
        f.show(6);
        f.page->clearPage();
        QCOMPARE(f.text("FormNationEdit"), QString("0"));
        QCOMPARE(f.text("FormTypeEdit"), QString("0"));
        QCOMPARE(f.text("FormCatLabel"), QString());
        QCOMPARE(f.text("FormSlot2Edit"), QString("0"));
        QCOMPARE(f.text("Form01TypeLabel"), QString());
        QCOMPARE(f.text("TotalCount"), QString("0"));
        QCOMPARE(f.oob->formations[6].name, std::string("Tank Coy"));

        QVERIFY(CommitPage(*f.page, *f.oob));
        core::TOobFormation empty;
        empty.monthAvail = 1;
        empty.monthUnavail = 1;
        QVERIFY(f.oob->formations[6] == empty);
        QCOMPARE(f.page->itemList()->item(5)->text(), QString("006  "));
    }

    void numbersWiderThanTheirEditsShowInFull()
    {
        Fixture f;
        core::TOobFormation& odd = f.oob->formations[7];
        odd.name = "Odd";
        odd.nation = 123;
        odd.buyPage = 200;
        odd.formType = 150;
        odd.expMod = -100;
        odd.slot = { 5, 12345 };
        const std::pair<const char*, QString> shown[]
            = { { "FormNationEdit", "123" }, { "FormPageEdit", "200" }, { "FormTypeEdit", "150" },
                  { "FormExpModEdit", "-100" }, { "FormSlot2Edit", "12345" } };
        for (bool pasted : { false, true }) {
            f.show(4);
            if (pasted)
                f.page->showRecord(odd);
            else
                f.show(7);
            for (const auto& [name, text] : shown)
                QCOMPARE(f.text(name), text);
            QCOMPARE(f.text("Formslot2Label"), QString("Invalid formation number"));
        }
        odd.slot = { 5 }; // a platoon-like type takes no formation
        f.show(7);
        f.edit("FormNameEdit")->setText("Renamed");
        QVERIFY(CommitPage(*f.page, *f.oob));
        QCOMPARE(int(odd.nation), 123);
        QCOMPARE(int(odd.buyPage), 200);
        QCOMPARE(int(odd.formType), 150);
        QCOMPARE(int(odd.expMod), -25);
        // Typing keeps its limit once a narrower record is shown.
        f.show(4);
        QCOMPARE(f.edit("FormNationEdit")->maxLength(), 2);
        QCOMPARE(f.edit("FormSlot2Edit")->maxLength(), 4);
    }

    void aRecordTakenFromThePageFillsAnotherSlot()
    {
        Fixture f;
        f.show(6);
        f.edit("FormExpModEdit")->setText("-40"); // typing counts, clamped
        const std::optional<core::TOobFormation> copy = f.page->pageRecord();
        QVERIFY(copy);
        QCOMPARE(int(copy->expMod), -25);

        f.show(3);
        f.page->showRecord(*copy);
        QCOMPARE(f.text("Form02TypeLabel"), QString("Platoon")); // a company's rows, not a platoon's
        QCOMPARE(f.oob->formations[3].name, std::string("Rifle Plt"));
        QVERIFY(CommitPage(*f.page, *f.oob));
        QVERIFY(f.oob->formations[3] == *copy);
    }

    void pickButtons()
    {
        Fixture f;
        f.show(6);
        // Left button: a unit.
        f.picker.answers = { 12, 0, core::kPickCancelled };
        f.button("FormSlot4PickBtn")->click();
        QCOMPARE(f.text("FormSlot4Edit"), QString("12"));
        QCOMPARE(f.text("Formslot4Label"), QString("Tank"));
        f.button("FormSlot2PickBtn")->click();
        QCOMPARE(f.text("FormSlot2Edit"), QString("0"));
        QCOMPARE(f.text("Formslot2Label"), QString());
        f.button("FormSlot3PickBtn")->click();
        QCOMPARE(f.text("FormSlot3Edit"), QString("1004"));

        // Right button: a formation, from the list that knows the company's type.
        f.picker.answers = { 4, core::kPickCancelled };
        QTest::mouseClick(f.button("FormSlot6Btn"), Qt::RightButton);
        QCOMPARE(f.text("FormSlot6Edit"), QString("1004"));
        QCOMPARE(f.text("Formslot6Label"), QString("Tank Plt"));
        QTest::mouseClick(f.button("FormSlot6Btn"), Qt::RightButton);
        QCOMPARE(f.text("FormSlot6Edit"), QString("1004"));
        QTest::mouseClick(f.button("FormSlot1PickBtn"), Qt::RightButton);
        QCOMPARE(f.picker.modes,
            (QList<core::PickMode> {
                core::pickUnit, core::pickUnit, core::pickUnit, core::pickFormation, core::pickFormation }));
        QCOMPARE(f.picker.statesSeen.last(), 2);

        // Formation 1 becomes the Bn HQ without the list.
        f.show(1);
        f.picker.modes.clear();
        f.dialogs.clear();
        f.edit("FormTypeEdit")->setText("1");
        f.button("FormTypePickBtn")->click();
        QVERIFY(f.picker.modes.isEmpty());
        QCOMPARE(f.text("FormTypeEdit"), QString("5"));
        QCOMPARE(f.dialogs.boxes.size(), 1);
        QCOMPARE(f.dialogs.boxes[0].kind, Kind::Information);
        QVERIFY(f.page->takesSubFormations());
    }
};

QTEST_MAIN(TestFormationPage)
#include "test_formationpage.moc"
