// The Units page alone: showing a unit, live labels, commit, erase and the pick buttons.

#include "core/rules/picker.h"
#include "gui/common/textcolour.h"
#include "gui/pages/unitpage.h"
#include "support/guitest.h"
#include "support/pagecommit.h"
#include "support/scripteddialogs.h"
#include "support/scriptedpicklist.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSpinBox>
#include <QTest>
#include <QToolButton>

#include <memory>

using namespace tarnwick;
using namespace tarnwick::testing;
using Kind = gui::Dialogs::Kind;

namespace {

const QColor kNavy(0, 0, 128);
const QColor kMaroon(128, 0, 0);
const QColor kBlue(0, 0, 255);
const QColor kRed(255, 0, 0);

struct Fixture {
    Fixture()
    {
        oob = std::make_unique<core::TOobData>();
        settings.names.nationNames[12] = "Karsovia";
        settings.names.nationNames[7] = "Valdoria";
        settings.names.unitClassNames[5] = "Medium Tank";
        settings.names.unitClassNames[214] = "Wild Weasel";
        settings.names.unitClassNames[216] = "Unused";
        state.currentNation = 12;
        state.currentUnit = 7;
        oob->weapons[3].name = "88mm L/56";
        oob->weapons[9].name = "Shrike";
        oob->weapons[9].weaponClass = 16;
        core::TOobUnit& tiger = oob->units[7];
        tiger.name = " Tiger I ";
        tiger.nation = 12;
        tiger.unitClass = 5;
        tiger.moveClass = 4;
        tiger.yearAvail = 42;
        tiger.yearUnavail = 45;
        tiger.monthAvail = 8;
        tiger.monthUnavail = 5;
        tiger.cost = 320;
        tiger.crew = 5;
        tiger.weapon = { 3, 252, 0, 0 };
        tiger.heAmmo = { 40, 0, 0, 0 };
        tiger.steelArmour = { 100, 80, 80, 100, 80, 80, 25 };
        tiger.lbm = 60000;
        tiger.reserved1 = 77;
        context.oob = oob.get();
        context.state = &state;
        context.settings = &settings;
        context.dialogs = &dialogs;
        context.picker = &picker;
        page = std::make_unique<gui::UnitPage>(context);
    }

    QLineEdit* edit(const char* name) const { return page->findChild<QLineEdit*>(name); }
    QLabel* label(const char* name) const { return page->findChild<QLabel*>(name); }
    void type(const char* name, const QString& text) const
    {
        QLineEdit* e = edit(name);
        e->selectAll();
        QTest::keyClicks(e, text);
    }

    std::unique_ptr<core::TOobData> oob;
    core::CurrentState state;
    core::Settings settings;
    ScriptedDialogs dialogs;
    testing::ScriptedPickList picker;
    gui::PageContext context;
    std::unique_ptr<gui::UnitPage> page;
};

QColor Colour(const QWidget* w)
{
    return gui::TextColour(w);
}

} // namespace

class TestUnitPage : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { InstallMessageFilter(); }
    void cleanup() { RejectOpenModals(); }

    void controlsHaveTheirLimitsHintsAndTabOrder()
    {
        Fixture f;
        for (const core::UnitNumberField& field : core::UnitNumberFields()) {
            QLineEdit* e = f.edit(field.control);
            QVERIFY2(e, field.control);
            QCOMPARE(e->maxLength(), field.maxLength);
        }
        QCOMPARE(f.page->UnitnameEdit->maxLength(), 15);
        QCOMPARE(f.page->findChild<QToolButton*>("UnitGetNationBtn")->toolTip(), QString("Select nation "));
        QCOMPARE(f.page->findChild<QToolButton*>("UnitWpn3PickBtn")->toolTip(), QString("Select weapon"));
        QCOMPARE(
            f.edit("UnitLBMEdit")->toolTip(), QString("2 different types for modern or WW2 - Pxx and Pmxx"));
        for (const char* name : { "BigImage", "HullImage", "TurretImage", "LBMImage" })
            QVERIFY2(f.label(name) && f.label(name)->pixmap().isNull(), name);
        QVERIFY(f.page->findChild<QToolButton*>("LBMPickButton")->toolTip().isEmpty());
        QVERIFY(f.label("LabelEW")->isHidden());
        auto* upDown = f.page->findChild<QSpinBox*>("UpDown1");
        QCOMPARE(upDown->maximum(), 32000);

        // Tab walks the edits in rows and columns, ending on the icon's arrows.
        f.page->show();
        QStringList order;
        QWidget* w = f.page->UnitnameEdit;
        do {
            if (w->focusPolicy() & Qt::TabFocus && w->isVisibleTo(f.page.get())
                && w->objectName() != "UnitListBox"
                && !w->objectName().startsWith("qt_")) // the arrows' own text field
                order << w->objectName();
            w = w->nextInFocusChain();
        } while (w != f.page->UnitnameEdit);
        const QStringList expected
            = QString("UnitnameEdit UnitClassEdit UnitNationEdit UnitMCEdit "
                      "UnitMonthAvailEdit UnitYrAvailEdit UnitMonthUnAvailEdit "
                      "UnitYrUnavailEdit UnitSoundByteEdit UnitCostEdit UnitCrewEdit "
                      "UnitSizeEdit UnitCarryEdit UnitWeightEdit UnitLBMEdit UnitSpeedEdit "
                      "UnitSwimEdit UnitEWEdit UnitRadioEdit UnitVisionEdit UnitIconEdit "
                      "UnitWpn1Edit UnitWpn1HEAmmoEdit UnitWpn1APAmmoEdit UnitSabotAmmoEdit "
                      "UnitHEATAmmoEdit UnitWPNSound1Edit UnitFCEdit UnitROFEdit")
                  .split(' ');
        QCOMPARE(order.mid(0, expected.size()), expected);
        QCOMPARE(order.size(), 1 + 65 + 1);
        QCOMPARE(order.last(), QString("UpDown1"));
        QCOMPARE(order.at(order.size() - 9), QString("UnitSurviveEdit"));
    }

    void showUnitFillsTheControlsAndNamesTheCodes()
    {
        Fixture f;
        f.page->ShowUnit();
        QCOMPARE(f.label("UnitNumLabel")->text(), QString("Unit 007"));
        QCOMPARE(Colour(f.label("UnitNumLabel")), kNavy);
        QCOMPARE(f.page->UnitnameEdit->text(), QString("Tiger I"));
        QCOMPARE(f.label("UnitNationLabel")->text(), QString("Karsovia"));
        QCOMPARE(f.label("UnitClassLabel")->text(), QString("Medium Tank"));
        QCOMPARE(f.label("UnitMCLabel")->text(), QString("Track"));
        QCOMPARE(f.edit("UnitCostEdit")->text(), QString("320"));
        QCOMPARE(f.edit("UnitSteelTopEdit")->text(), QString("25"));
        QCOMPARE(f.edit("UnitLBMEdit")->text(), QString("60000"));
        QCOMPARE(f.label("UnitWpn1NameLbl")->text(), QString("88mm L/56"));
        QCOMPARE(f.label("UnitWpn2NameLbl")->text(), QString("Invalid weapon number"));
        QCOMPARE(Colour(f.label("UnitWpn2NameLbl")), kMaroon);
        QCOMPARE(f.label("UnitWpn3NameLbl")->text(), QString());
        auto* upDown = f.page->findChild<QSpinBox*>("UpDown1");
        QCOMPARE(upDown->value(), 0);
        upDown->stepBy(1);
        QCOMPARE(f.edit("UnitIconEdit")->text(), QString("1"));
        // The arrow keys in the icon edit step it too.
        QTest::keyClick(f.edit("UnitIconEdit"), Qt::Key_Up);
        QTest::keyClick(f.edit("UnitIconEdit"), Qt::Key_Up);
        QTest::keyClick(f.edit("UnitIconEdit"), Qt::Key_Down);
        QCOMPARE(f.edit("UnitIconEdit")->text(), QString("2"));
    }

    void labelsFollowTheTyping_data()
    {
        QTest::addColumn<QString>("edit");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("labelText");
        QTest::addColumn<QColor>("labelColour");
        QTest::addColumn<QColor>("editColour"); // invalid: the normal text colour

        const QColor normal;
        QTest::newRow("vision 40") << "UnitVisionEdit"
                                   << "40"
                                   << "Label58"
                                   << "TI/GSR" << kBlue << kBlue;
        QTest::newRow("fc 130") << "UnitFCEdit"
                                << "130"
                                << "Label61"
                                << "AA Radar 31" << kBlue << kBlue;
        QTest::newRow("survive 7") << "UnitSurviveEdit"
                                   << "7"
                                   << ""
                                   << "" << QColor() << kMaroon;
        QTest::newRow("era 11") << "UnitERATREdit"
                                << "11"
                                << ""
                                << "" << QColor() << kBlue;
        QTest::newRow("era 10") << "UnitERAHFEdit"
                                << "10"
                                << ""
                                << "" << QColor() << normal;
        QTest::newRow("nation other") << "UnitNationEdit"
                                      << "7"
                                      << "UnitNationLabel"
                                      << "Karsovia" << kMaroon << kMaroon;
        QTest::newRow("nation own") << "UnitNationEdit"
                                    << "12"
                                    << "UnitNationLabel"
                                    << "Karsovia" << kNavy << normal;
    }

    void labelsFollowTheTyping()
    {
        QFETCH(QString, edit);
        QFETCH(QString, text);
        QFETCH(QString, label);
        QFETCH(QString, labelText);
        QFETCH(QColor, labelColour);
        QFETCH(QColor, editColour);
        Fixture f;
        f.page->ShowUnit();
        f.type(edit.toLatin1().constData(), text);
        QLineEdit* e = f.edit(edit.toLatin1().constData());
        QCOMPARE(
            Colour(e), editColour.isValid() ? editColour : QApplication::palette().color(QPalette::Text));
        if (!label.isEmpty()) {
            QCOMPARE(f.label(label.toLatin1().constData())->text(), labelText);
            QCOMPARE(Colour(f.label(label.toLatin1().constData())), labelColour);
        }
    }

    void ewLabelFollowsClassAndEw()
    {
        Fixture f;
        f.page->ShowUnit();
        QLabel* ew = f.label("LabelEW");
        f.type("UnitClassEdit", "0");
        f.type("UnitEWEdit", "3");
        QVERIFY(!ew->isHidden());
        QCOMPARE(ew->text(), QString("VIRSS - 1 Shots"));
        QCOMPARE(Colour(f.label("Label42")), kBlue);
        f.type("UnitClassEdit", "1"); // category 4: no shots
        QVERIFY(ew->isHidden());
        QCOMPARE(Colour(f.label("Label42")), kNavy);
        f.type("UnitClassEdit", "26");
        f.type("UnitEWEdit", "2");
        QCOMPARE(ew->text(), QString("ARENA - 2 Shots"));
        // A nation that is no number becomes 0.
        f.type("UnitNationEdit", "-");
        QCOMPARE(f.edit("UnitNationEdit")->text(), QString("0"));
        for (const char* era : { "UnitERAHFEdit", "UnitERAHSEdit", "UnitERAHREdit", "UnitERATFEdit",
                 "UnitERATSEdit", "UnitERATREdit", "UnitERATopEdit" }) {
            f.type(era, "11");
            QVERIFY2(Colour(f.edit(era)) == kBlue, era);
        }
    }

    void emptySlotOfTheLoadedNationShowsItsNumberInRed()
    {
        Fixture f;
        f.oob->units[8].nation = 12;
        f.page->goToSlot(8);
        QCOMPARE(f.label("UnitNumLabel")->text(), QString("Unit 008"));
        QCOMPARE(Colour(f.label("UnitNumLabel")), kRed);
        f.page->goToSlot(7);
        QCOMPARE(Colour(f.label("UnitNumLabel")), kNavy);
        // An empty unit of no nation is not foreign, whatever unit was shown before.
        f.page->goToSlot(9);
        QCOMPARE(Colour(f.edit("UnitNationEdit")), QApplication::palette().color(QPalette::Text));
        QCOMPARE(Colour(f.label("UnitNationLabel")), kNavy);
        // The same unit in the file of its own nation is not foreign there.
        f.oob->units[7].nation = 7;
        f.page->goToSlot(7);
        QCOMPARE(Colour(f.label("UnitNationLabel")), kMaroon);
        f.state.currentNation = 7;
        f.page->ShowUnit();
        QCOMPARE(Colour(f.label("UnitNationLabel")), kNavy);
        QCOMPARE(Colour(f.edit("UnitNationEdit")), QApplication::palette().color(QPalette::Text));
    }

    void refusedWeaponsAreNotStoredAndTheStoredUnitComesBack()
    {
        Fixture f;
        f.page->listInit(7);
        f.page->ShowUnit();
        const core::TOobUnit before = f.oob->units[7];
        f.type("UnitnameEdit", "Changed");
        f.type("UnitWpn3Edit", "9"); // anti-radiation missile on a tank
        QVERIFY(!CommitPage(*f.page, *f.oob));
        QCOMPARE(f.dialogs.boxes.size(), 1);
        QCOMPARE(f.dialogs.boxes[0].kind, Kind::Error);
        QCOMPARE(f.dialogs.boxes[0].text,
            QString("The weapon in slot 3 is ANTI RADIATION MISSILE type\r\nhowever the unit is NOT a Wild "
                    "Weasel "
                    "aircraft\r\n\r\n Unit data not saved!"));
        QVERIFY(f.oob->units[7] == before);
        QCOMPARE(f.page->UnitnameEdit->text(), QString("Tiger I"));
        QCOMPARE(f.edit("UnitWpn3Edit")->text(), QString("0"));

        f.type("UnitClassEdit", "214");
        f.type("UnitWpn3Edit", "9");
        QVERIFY(CommitPage(*f.page, *f.oob));
        QCOMPARE(f.oob->units[7].weapon[2], 9);
        QCOMPARE(f.page->itemList()->currentRow(), 6);
    }

    void aTextThatIsNoNumberStoresNothingAndKeepsTheTyping()
    {
        Fixture f;
        f.page->ShowUnit();
        const core::TOobUnit before = f.oob->units[7];
        f.type("UnitnameEdit", "Changed");
        f.type("UnitCrewEdit", "5-");
        QVERIFY(!CommitPage(*f.page, *f.oob));
        QVERIFY(f.oob->units[7] == before);
        QCOMPARE(f.dialogs.boxes.size(), 1);
        QVERIFY(f.dialogs.boxes[0].text.startsWith("Crew: '5-' is not a valid integer value"));
        QCOMPARE(f.page->UnitnameEdit->text(), QString("Changed"));
        QCOMPARE(f.edit("UnitCrewEdit")->text(), QString("5-"));
    }

    void commitClampsAndKeepsWhatThePageDoesNotShow()
    {
        Fixture f;
        f.page->ShowUnit();
        f.type("UnitCostEdit", "1a2");
        f.type("UnitMonthAvailEdit", "13");
        f.type("UnitIconEdit", "70000");
        QVERIFY(CommitPage(*f.page, *f.oob));
        const core::TOobUnit& stored = f.oob->units[7];
        QCOMPARE(stored.cost, 12);
        QCOMPARE(stored.monthAvail, 12);
        QCOMPARE(stored.icon, 65535);
        QCOMPARE(stored.weapon[1], 249); // 252 names no weapon; the page's limit applies
        QCOMPARE(stored.reserved1, 77);
        QCOMPARE(f.edit("UnitCostEdit")->text(), QString("12"));
    }

    void valuesWiderThanTheirEditSurviveShowAndCommit()
    {
        Fixture f;
        core::TOobUnit& odd = f.oob->units[7];
        odd.nation = 150;
        odd.moveClass = 200;
        odd.size = 120;
        odd.radio = 255;
        odd.rof = 100;
        odd.cost = 1500;
        f.page->ShowUnit();
        const std::pair<const char*, const char*> shown[]
            = { { "UnitNationEdit", "150" }, { "UnitMCEdit", "200" }, { "UnitSizeEdit", "120" },
                  { "UnitRadioEdit", "255" }, { "UnitROFEdit", "100" }, { "UnitCostEdit", "1500" } };
        for (const auto& [name, text] : shown)
            QVERIFY2(f.edit(name)->text() == text, name);
        QVERIFY(CommitPage(*f.page, *f.oob));
        QCOMPARE(odd.nation, 150);
        QCOMPARE(odd.moveClass, 200);
        QCOMPARE(odd.size, 120);
        QCOMPARE(odd.radio, 255);
        QCOMPARE(odd.cost, 999);
        // A unit with ordinary values gives the edits their typing limits back.
        f.page->goToSlot(8);
        QCOMPARE(f.edit("UnitNationEdit")->maxLength(), 2);
        QCOMPARE(f.edit("UnitCostEdit")->maxLength(), 3);
    }

    void eraseThenCommitStoresTheBlankUnit()
    {
        Fixture f;
        f.page->ShowUnit();
        f.page->clearPage();
        QCOMPARE(f.label("UnitClassLabel")->text(), QString("Unused"));
        QCOMPARE(f.label("UnitNationLabel")->text(), QString("Unknown"));
        QCOMPARE(f.label("UnitWpn1NameLbl")->text(), QString());
        QVERIFY(f.oob->units[7].name == " Tiger I "); // erase alone changes no record
        QVERIFY(CommitPage(*f.page, *f.oob));
        core::TOobUnit expected;
        expected.unitClass = 216;
        expected.yearAvail = 48;
        expected.yearUnavail = 120;
        expected.monthAvail = 1;
        expected.monthUnavail = 12;
        expected.reserved1 = 77;
        QVERIFY(f.oob->units[7] == expected);
        QVERIFY(f.dialogs.boxes.isEmpty());
    }

    void pickButtons()
    {
        Fixture f;
        f.page->ShowUnit();
        auto click = [&](const char* button, QList<int> answers) {
            f.picker.answers = answers;
            f.page->findChild<QToolButton*>(button)->click();
        };
        click("UnitWpn1PickBtn", { core::kPickCancelled });
        QCOMPARE(f.edit("UnitWpn1Edit")->text(), QString("3"));
        QCOMPARE(f.label("UnitWpn1NameLbl")->text(), QString("88mm L/56"));
        click("UnitWpn2PickBtn", { core::kPickCancelled });
        QCOMPARE(f.edit("UnitWpn2Edit")->text(), QString("252"));
        QCOMPARE(f.label("UnitWpn2NameLbl")->text(), QString());
        click("UnitWpn1PickBtn", { 0 });
        QCOMPARE(f.edit("UnitWpn1Edit")->text(), QString("0"));
        QCOMPARE(f.label("UnitWpn1NameLbl")->text(), QString());
        click("UnitWpn4PickBtn", { 9 });
        QCOMPARE(f.edit("UnitWpn4Edit")->text(), QString("9"));
        QCOMPARE(f.label("UnitWpn4NameLbl")->text(), QString("Shrike"));
        click("UnitGetNationBtn", { 7 });
        QCOMPARE(f.label("UnitNationLabel")->text(), QString("Valdoria"));
        QCOMPARE(Colour(f.edit("UnitNationEdit")), kMaroon);
        click("UnitPickUCBtn", { 214 });
        QCOMPARE(f.label("UnitClassLabel")->text(), QString("Wild Weasel"));
        click("UnitPickMCBtn", { core::kPickCancelled });
        QCOMPARE(f.edit("UnitMCEdit")->text(), QString("4"));
        QCOMPARE(f.picker.modes,
            (QList<core::PickMode> { core::pickWeapon, core::pickWeapon, core::pickWeapon, core::pickWeapon,
                core::pickNation, core::pickUnitClass, core::pickMoveClass }));
    }

    void advisoryWarningStillStores()
    {
        Fixture f;
        f.oob->weapons[4].weaponClass = 11;
        f.page->ShowUnit();
        f.type("UnitWpn2Edit", "4");
        QVERIFY(CommitPage(*f.page, *f.oob));
        QCOMPARE(f.dialogs.boxes.size(), 1);
        QCOMPARE(f.dialogs.boxes[0].kind, Kind::Warning);
        QCOMPARE(f.oob->units[7].weapon[1], 4);
    }
};

QTEST_MAIN(TestUnitPage)
#include "test_unitpage.moc"
