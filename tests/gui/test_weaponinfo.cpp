// The Weapons and Info pages on their own: show, edit, commit, erase.

#include "core/data/globals.h"
#include "gui/pages/infopage.h"
#include "gui/pages/weaponpage.h"
#include "support/guitest.h"
#include "support/pagecommit.h"
#include "support/scripteddialogs.h"
#include "support/scriptedpicklist.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <QToolButton>

using namespace tarnwick;
using namespace tarnwick::testing;
using Kind = gui::Dialogs::Kind;

namespace {

struct Fixture {
    core::TOobData oob;
    core::CurrentState state;
    core::Settings settings;
    ScriptedDialogs dialogs;
    testing::ScriptedPickList picker;
    gui::PageContext context;

    Fixture()
    {
        context.oob = &oob;
        context.state = &state;
        context.settings = &settings;
        context.dialogs = &dialogs;
        context.picker = &picker;
        core::TOobWeapon& w = oob.weapons[12];
        w = { " 85mm \xC4 Gun ", 6, 85, 12, 40, 9, 120, 3, 60, 30, 0, 0, 0 };
        w.sabotPen = 150;
        w.sabotRange = 20;
        w.heatPen = 7;
        state.currentWeapon = 12;
    }
};

QLineEdit* Edit(QWidget& page, const char* name)
{
    auto* edit = page.findChild<QLineEdit*>(name);
    if (edit == nullptr)
        qFatal("no edit %s", name);
    return edit;
}

QString LabelText(QWidget& page, const char* name)
{
    auto* label = page.findChild<QLabel*>(name);
    return label ? label->text() : QStringLiteral("<missing %1>").arg(name);
}

} // namespace

class TestWeaponInfo : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { InstallMessageFilter(); }
    void cleanup() { RejectOpenModals(); }

    void showFillsEveryFieldOfTheCurrentWeapon()
    {
        Fixture f;
        gui::WeaponPage page(f.context);
        page.ShowWeapon();
        QCOMPARE(LabelText(page, "WeaponNumberLabel"), QString("Weapon 012"));
        QVERIFY(page.WeaponNumberLabel->font().bold());
        QCOMPARE(page.WeaponNumberLabel->palette().color(QPalette::WindowText), QColor(0x00, 0x00, 0x80));
        QCOMPARE(Edit(page, "WeaponNameEdit")->text(), QString::fromUtf8("85mm \xC3\x84 Gun"));
        QCOMPARE(Edit(page, "WeaponNameEdit")->maxLength(), 15);
        const std::vector<std::pair<const char*, const char*>> numbers = {
            { "WeaponClassEdit", "6" },
            { "WeaponSizeEdit", "85" },
            { "WarheadSizeEdit", "12" },
            { "WeaponHEPenEdit", "40" },
            { "WeaponHEKillEdit", "9" },
            { "WeaponAPPenEdit", "120" },
            { "WeaponAPKillEdit", "3" },
            { "WeaponAccuracyEdit", "60" },
            { "WeaponRangeEdit", "30" },
            { "WeaponsabotrangeEdit", "20" },
            { "WeaponSabotPenEdit", "150" },
            { "WeaponHEATPenEdit", "7" },
        };
        for (const auto& [name, text] : numbers) {
            QCOMPARE(Edit(page, name)->text(), QString(text));
            QCOMPARE(Edit(page, name)->maxLength(), 3);
        }
        QCOMPARE(LabelText(page, "WeaponClassLabel"), QString("Medium guns < c. 101mm"));
        QVERIFY(Edit(page, "WeaponAPPenEdit")->toolTip().startsWith("222 is a special code for HEAT"));
        QCOMPARE(LabelText(page, "Label98"),
            QString("Only use class 11 aircraft weapons on off map bombardment planes - use normal weapons "
                    "for helicopters"));
        QCOMPARE(page.findChild<QToolButton*>("WpnClassPickbtn")->text(), QString("..."));
        QVERIFY(page.findChild<QListWidget*>("wpnlistbox") != nullptr);
    }

    void commitClampsAndShowsTheStoredWeapon()
    {
        Fixture f;
        gui::WeaponPage page(f.context);
        page.listInit(12);
        page.ShowWeapon();
        Edit(page, "WeaponNameEdit")->setText("  New Gun ");
        Edit(page, "WeaponRangeEdit")->setText("300");
        Edit(page, "WeaponAPPenEdit")->setText("222");
        Edit(page, "WeaponAccuracyEdit")->setText("-3");
        Edit(page, "WeaponHEATPenEdit")->setText("");
        Edit(page, "WeaponClassEdit")->setText("22");
        // Typing leaves the class name alone; only the commit shows it again.
        QCOMPARE(LabelText(page, "WeaponClassLabel"), QString("Medium guns < c. 101mm"));
        QCOMPARE(f.oob.weapons[12].range, 30);

        QVERIFY(CommitPage(page, f.oob));
        const core::TOobWeapon& w = f.oob.weapons[12];
        QCOMPARE(w.name, std::string("New Gun"));
        QCOMPARE(int(w.range), 255);
        QCOMPARE(int(w.apPen), 222);
        QCOMPARE(int(w.accuracy), 0);
        QCOMPARE(int(w.heatPen), 0);
        QCOMPARE(int(w.weaponClass), 22);
        QCOMPARE(int(w.sabotPen), 150);
        QCOMPARE(Edit(page, "WeaponRangeEdit")->text(), QString("255"));
        QCOMPARE(Edit(page, "WeaponAccuracyEdit")->text(), QString("0"));
        QCOMPARE(LabelText(page, "WeaponClassLabel"), QString("Unknown Class"));
        QCOMPARE(page.itemList()->item(11)->text(), QString("012  New Gun"));
        QCOMPARE(page.itemList()->currentRow(), 11);
        QVERIFY(f.dialogs.boxes.isEmpty());
    }

    void aFieldThatIsNoNumberStoresNothing()
    {
        Fixture f;
        gui::WeaponPage page(f.context);
        page.ShowWeapon();
        const core::TOobWeapon before = f.oob.weapons[12];
        Edit(page, "WeaponNameEdit")->setText("Changed");
        Edit(page, "WeaponSizeEdit")->setText("99");
        Edit(page, "WeaponHEKillEdit")->setText("4-5");
        QVERIFY(!CommitPage(page, f.oob));
        QVERIFY(f.oob.weapons[12] == before);
        QCOMPARE(f.dialogs.boxes.size(), 1);
        QCOMPARE(f.dialogs.boxes[0].kind, Kind::Error);
        QVERIFY(f.dialogs.boxes[0].text.contains("HE Kill"));
        QVERIFY(f.dialogs.boxes[0].text.contains("'4-5'"));
        // The typing stays for correction.
        QCOMPARE(Edit(page, "WeaponHEKillEdit")->text(), QString("4-5"));
        QCOMPARE(Edit(page, "WeaponNameEdit")->text(), QString("Changed"));
        QCOMPARE(Edit(page, "WeaponSizeEdit")->text(), QString("99"));
    }

    void eraseBlanksThePageAndACommitEmptiesTheSlot()
    {
        Fixture f;
        gui::WeaponPage page(f.context);
        page.ShowWeapon();
        page.clearPage();
        QVERIFY(Edit(page, "WeaponNameEdit")->text().isEmpty());
        QVERIFY(Edit(page, "WeaponHEPenEdit")->text().isEmpty());
        QCOMPARE(LabelText(page, "WeaponNumberLabel"), QString("Weapon 012"));
        QCOMPARE(LabelText(page, "WeaponClassLabel"), QString("Medium guns < c. 101mm"));
        QCOMPARE(f.oob.weapons[12].hePen, 40); // the record is untouched until the commit
        QVERIFY(CommitPage(page, f.oob));
        QVERIFY(f.oob.weapons[12] == core::TOobWeapon {});
        QCOMPARE(Edit(page, "WeaponHEPenEdit")->text(), QString("0"));
    }

    void classButtonTakesThePickedClass()
    {
        Fixture f;
        gui::WeaponPage page(f.context);
        page.ShowWeapon();
        f.picker.answers = { 13, core::kPickCancelled, 0 };
        const QStringList expected = { "13", "13", "0" };
        const QStringList labels
            = { "Anti Tank Guided Missile", "Anti Tank Guided Missile", "Unknown Class" };
        for (int i = 0; i < 3; ++i) {
            page.WpnClassPickbtn->click();
            QCOMPARE(Edit(page, "WeaponClassEdit")->text(), expected[i]);
            QCOMPARE(LabelText(page, "WeaponClassLabel"), labels[i]);
        }
        QCOMPARE(f.picker.modes, QList<core::PickMode>(3, core::pickWeaponClass));
        QCOMPARE(int(f.oob.weapons[12].weaponClass), 6); // still only the page
    }

    void infoShowAndSaveKeepEveryByte()
    {
        Fixture f;
        gui::InfoPage page(f.context);
        QCOMPARE(LabelText(page, "Label69"),
            QString("OB file Comments - use for copyright and version info etc."));
        QCOMPARE(page.TarnCommentEdit->maxLength(), 80);
        // Every byte but NUL, in 80-byte comments, blanks at both ends included.
        for (int start = 1; start < 256; start += 78) {
            std::string comment = " ";
            for (int b = start; b < start + 78 && b < 256; ++b)
                comment.push_back(static_cast<char>(b));
            comment.push_back(' ');
            f.oob.comment = comment;
            page.ShowInfo();
            QCOMPARE(page.SaveInfo(), comment);
        }
        QVERIFY(f.dialogs.boxes.isEmpty());

        // An empty box stores an empty comment; the 81st character is refused.
        page.TarnCommentEdit->clear();
        QCOMPARE(page.SaveInfo(), std::string());
        QTest::keyClicks(page.TarnCommentEdit, QString(81, 'x'));
        f.oob.comment = *page.SaveInfo();
        QCOMPARE(f.oob.comment, std::string(80, 'x'));
        // Showing again discards typing that was not stored.
        page.TarnCommentEdit->setText("typed");
        page.ShowInfo();
        QCOMPARE(page.TarnCommentEdit->text(), QString(80, 'x'));
    }
};

QTEST_MAIN(TestWeaponInfo)
#include "test_weaponinfo.moc"
