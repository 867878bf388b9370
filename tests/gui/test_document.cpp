// The document: every change undone and redone to the byte, the modified mark,
// the question before unsaved changes are lost, and Save to the file's own folder.

#include "core/data/tarnio.h"
#include "gui/app/oobdocument.h"
#include "gui/app/paster.h"
#include "gui/app/sdimain.h"
#include "gui/pages/formationpage.h"
#include "gui/pages/infopage.h"
#include "gui/pages/unitpage.h"
#include "gui/pages/weaponpage.h"
#include "gui/tools/gridunits.h"
#include "gui/tools/gridweapons.h"
#include "gui/tools/picker.h"
#include "gui/tools/reclassify.h"
#include "gui/tools/renationalise.h"
#include "support/guitest.h"
#include "support/windowfixture.h"

#include <QAction>
#include <QDialog>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <QUndoStack>

#include <functional>
#include <memory>

using namespace tarnwick;
using namespace tarnwick::testing;
using Answer = gui::Dialogs::Answer;

namespace {

const std::map<int, std::string> kNames { { 5, "Republic of Valdoria" }, { 7, "Karsovia" } };

struct Document {
    WindowFixture f;
    gui::TSDIAppForm* w = nullptr;
    QAction* undo = nullptr; // the Edit menu's
    QAction* redo = nullptr;
    QString file5;

    Document()
    {
        WriteSettingsFile(f.root.path(), {}, kNames);
        file5 = WriteSampleOobFile(f.work, 5);
        WriteSampleOobFile(f.work, 7);
        w = &f.open();
        undo = Child<QAction>(*w, "Undo1");
        redo = Child<QAction>(*w, "Redo1");
        open(5);
    }
    void open(int nation)
    {
        ShowPage(*w, "Load");
        Child<QListWidget>(*w, "TarnListBox")->setCurrentRow(nation - 1);
        w->OpenBtnClick();
    }
    QLineEdit* edit(const char* name) const { return w->findChild<QLineEdit*>(name); }
    // Types into a field of a page and commits it.
    void commit(const char* page, const char* field, const QString& text)
    {
        ShowPage(*w, page);
        edit(field)->setText(text);
        w->CommitButtonClick();
    }
    QByteArray save()
    {
        w->SaveBtnClick();
        return ReadBytes(file5);
    }
    // The document's records are not what a load of its file reads.
    bool differsFromDisk() const
    {
        auto disk = std::make_unique<core::TOobData>();
        core::LoadOobPath(*disk, 5, file5.toStdString());
        const core::TOobData& r = Records(*w);
        return !(r.units == disk->units && r.weapons == disk->weapons && r.formations == disk->formations
            && r.comment == disk->comment);
    }
    // Undoes, then redoes, every step, checking at each that "unmodified" means the
    // file's records (exact: and "modified" that they differ).
    void walkTheSteps(bool exact)
    {
        const auto check = [this, exact] {
            if (exact)
                QCOMPARE(w->document()->isModified(), differsFromDisk());
            else if (!w->document()->isModified())
                QVERIFY(!differsFromDisk());
        };
        check();
        while (undo->isEnabled()) {
            undo->trigger();
            check();
        }
        while (redo->isEnabled()) {
            redo->trigger();
            check();
        }
    }
};

// Acts on the next modal window of type T.
template <class T> void OnNext(std::function<void(T*)> act)
{
    OnNextModal([act](QWidget* modal) {
        if (auto* window = qobject_cast<T*>(modal))
            act(window);
        else
            modal->close();
    });
}

} // namespace

class TestDocument : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { InstallMessageFilter(); }
    void cleanup() { RejectOpenModals(); }

    void everyChangeUndoesAndRedoesToTheByte()
    {
        Document d;
        auto& w = *d.w;
        const QByteArray opened = d.save();

        d.commit("Units", "UnitnameEdit", "Renamed car");
        d.commit("Weapons", "WeaponNameEdit", "Carbine");
        d.commit("Formations", "FormNameEdit", "Bn HQ");
        d.commit("Info", "TarnCommentEdit", "Edited comment");
        ShowPage(w, "Units");
        Child<gui::UnitPage>(w, "Units")->goToSlot(2);
        OnNext<gui::TPickForm>([](gui::TPickForm* pick) {
            pick->ListBox1->setCurrentRow(30);
            pick->OKBtn->click();
        });
        w.SpeedButton_MoveClick();
        QCOMPARE(Records(w).units[30].name, std::string("Rifle section"));
        OnNext<gui::TRenatDlg>([](gui::TRenatDlg* dlg) {
            dlg->RenatToEdit->setText("9");
            dlg->BitBtn1->click();
            dlg->BitBtn2->click();
        });
        w.Renationalise1Click();
        OnNext<gui::TFormReclassify>([](gui::TFormReclassify* dlg) {
            dlg->EditFrom->setText("5");
            dlg->EditTo->setText("8");
            dlg->BitBtn1->click();
            dlg->BitBtn2->click();
        });
        w.Reclassify1Click();
        OnNext<gui::TFormGridUnits>([](gui::TFormGridUnits* grid) {
            grid->model()->setData(grid->model()->index(0, 1), "Grid car", Qt::EditRole);
            grid->BitBtnSave->click();
            grid->BitBtnExit->click();
        });
        w.UnitsGrid1Click();
        OnNext<gui::TFormGridWpns>([](gui::TFormGridWpns* grid) {
            grid->model()->setData(grid->model()->index(0, 1), "Grid rifle", Qt::EditRole);
            grid->BitBtnSave->click();
            grid->BitBtnExit->click();
        });
        w.WeaponsGrid1Click();
        // Paste-mode All from an empty buffer blanks every weapon.
        ShowPage(w, "Weapons");
        OnNext<gui::TPasterDlg>([](gui::TPasterDlg* dlg) { dlg->CopyAllBtn->click(); });
        w.PasteButtonClick();
        QVERIFY(Records(w).weapons[1].name.empty());

        const QStringList steps { "Commit unit 1", "Commit weapon 1", "Commit formation 1", "Commit comment",
            "Move unit 2 to 30", "Renationalise 5 to 9", "Reclassify 5 to 8", "Units grid save",
            "Weapons grid save", "Paste all weapons" };
        QUndoStack* stack = w.document()->undoStack();
        QStringList texts;
        for (int i = 0; i < stack->count(); ++i)
            texts << stack->text(i);
        QCOMPARE(texts, steps);
        QCOMPARE(d.undo->text(), QString("&Undo Paste all weapons"));
        QVERIFY(Child<QMenu>(w, "Edit1")->actions().contains(d.undo));
        const QByteArray changed = d.save();

        // The menu's undo takes every step back; the page shows the records again.
        while (d.undo->isEnabled())
            d.undo->trigger();
        QCOMPARE(w.findChild<QLineEdit*>("WeaponNameEdit")->text(), QString("Rifle"));
        QVERIFY(w.isWindowModified());
        QCOMPARE(d.save(), opened);
        while (d.redo->isEnabled())
            d.redo->trigger();
        QCOMPARE(d.save(), changed);
        QVERIFY(!w.isWindowModified());
    }

    void modifiedFollowsTheSavedState()
    {
        Document d;
        auto& w = *d.w;
        auto* label = w.findChild<QLabel*>("ModifiedLabel");
        QVERIFY(w.windowTitle().endsWith("obat05 - Republic of Valdoria[*]"));
        QVERIFY(!w.isWindowModified() && label->isHidden());
        d.commit("Units", "UnitnameEdit", "Renamed car");
        QVERIFY(w.isWindowModified() && !label->isHidden());
        QCOMPARE(label->text(), QString("Modified"));
        d.save();
        QVERIFY(!w.isWindowModified() && label->isHidden());
        d.undo->trigger();
        QVERIFY(w.isWindowModified());
        d.redo->trigger();
        QVERIFY(!w.isWindowModified());
        // A commit that changes nothing leaves no step.
        w.CommitButtonClick();
        QCOMPARE(w.document()->undoStack()->count(), 1);
    }

    void unmodifiedMeansTheRecordsAreTheFile()
    {
        // A nameless unit of the file's nation with dates: the save clears it.
        Document d;
        auto& w = *d.w;
        ShowPage(w, "Units");
        Child<gui::UnitPage>(w, "Units")->goToSlot(30);
        w.EraseButtonClick();
        d.edit("UnitNationEdit")->setText("5");
        d.edit("UnitClassEdit")->setText("0");
        w.CommitButtonClick();
        QCOMPARE(int(Records(w).units[30].nation), 5);
        d.save();
        QCOMPARE(w.statusText(),
            "Saved " + QDir(d.f.work).filePath("obat005.obf")
                + "; 1 value was out of range and was brought into range (F8 lists it)");
        QCOMPARE(w.document()->undoStack()->undoText(), QString("Tidy on save"));
        QVERIFY(!w.document()->isModified() && !d.differsFromDisk());
        d.commit("Weapons", "WeaponNameEdit", "Carbine");
        d.walkTheSteps(false);
        d.undo->trigger();
        QVERIFY(!w.document()->isModified() && !d.differsFromDisk());

        // A Bn HQ outside the first slot, as the file holds it: its repair is a step of
        // its own, and undoing past it leaves the record as the file has it.
        auto data = std::make_unique<core::TOobData>();
        core::LoadOobPath(*data, 5, d.file5.toStdString());
        data->formations[3].name = "Second HQ";
        data->formations[3].formType = 5;
        WriteOobFile(d.f.work, 5, *data);
        d.open(7);
        d.open(5);
        ShowPage(w, "Formations");
        Child<gui::FormationPage>(w, "Formations")->goToSlot(3);
        QCOMPARE(w.document()->undoStack()->undoText(), QString("Repair formation 3 as Bn HQ"));
        QCOMPARE(int(Records(w).formations[3].formType), 2);
        d.commit("Weapons", "WeaponNameEdit", "Carbine");
        ShowPage(w, "Formations");
        d.walkTheSteps(true);
        while (d.undo->isEnabled())
            d.undo->trigger();
        QCOMPARE(int(Records(w).formations[3].formType), 5);
        QVERIFY(!w.document()->isModified());
    }

    void unsavedChangesAskBeforeOpenAndExit()
    {
        const QString question = "Save the changes to obat05 - Republic of Valdoria?";
        struct Case {
            bool exit;
            Answer answer;
            bool goesOn;
            bool saved;
        };
        const Case cases[] = {
            { false, Answer::Save, true, true },
            { false, Answer::Discard, true, false },
            { false, Answer::Cancel, false, false },
            { true, Answer::Save, true, true },
            { true, Answer::Discard, true, false },
            { true, Answer::Cancel, false, false },
        };
        for (const Case& c : cases) {
            Document d;
            auto& w = *d.w;
            const QByteArray before = ReadBytes(d.file5);
            d.commit("Units", "UnitnameEdit", "Renamed car");
            d.edit("UnitCostEdit")->setText("321"); // typing, not committed
            d.f.dialogs.clear();
            // The typing is asked about first (and discarded here), the file second.
            d.f.dialogs.setNextAnswer(Answer::Discard);
            d.f.dialogs.setNextAnswer(c.answer);
            bool wentOn = false;
            if (c.exit) {
                wentOn = w.close();
            } else {
                d.open(7);
                wentOn = w.state().currentNation == 7;
            }
            QCOMPARE(d.f.dialogs.boxes.size(), 2);
            QCOMPARE(d.f.dialogs.boxes[0].text, QString("Commit the changes to unit 1?"));
            QCOMPARE(d.f.dialogs.boxes[1].text, question);
            QCOMPARE(d.f.dialogs.boxes[1].buttons, gui::Dialogs::Buttons::SaveDiscardCancel);
            QCOMPARE(wentOn, c.goesOn);
            QCOMPARE(ReadBytes(d.file5) != before, c.saved);
            if (!c.goesOn) {
                QVERIFY(w.isWindowModified());
                QCOMPARE(w.state().currentNation, 5);
                QVERIFY(d.edit("UnitCostEdit")->text() != "321"); // discarded
            }
        }
        // Nothing changed: the plain exit question.
        Document d;
        d.f.dialogs.clear();
        QVERIFY(!d.w->close());
        QCOMPARE(d.f.dialogs.boxes[0].caption, QString("Program Exit"));
    }

    void saveWritesWhereTheFileCameFrom()
    {
        Document d;
        auto& w = *d.w;
        const QString other = QDir(d.f.root.path()).filePath("other");
        QDir().mkpath(other);
        const QString otherFile = WriteSampleOobFile(other, 5);
        const QByteArray otherBytes = ReadBytes(otherFile);
        d.commit("Units", "UnitnameEdit", "Renamed car");
        w.DirectoryListBox1Change(other);
        w.SaveBtnClick();
        QCOMPARE(ReadBytes(otherFile), otherBytes);
        QVERIFY(ReadBytes(d.file5).contains("Renamed car"));
        QVERIFY(w.statusText().contains(d.f.work));
        QVERIFY(!w.isWindowModified());
    }

    void uncommittedTypingIsShown()
    {
        Document d;
        auto& w = *d.w;
        ShowPage(w, "Units");
        QTest::keyClicks(d.edit("UnitnameEdit"), "x");
        QTRY_COMPARE(w.statusText(), QString("Unit 1 has changes that are not committed (F12 commits)"));
        QVERIFY(Child<QToolButton>(w, "CommitButton")->toolTip().contains("not committed"));
        Child<QAction>(w, "SaveAs1")->trigger();
        QVERIFY(w.statusText().endsWith("; the Units page has uncommitted changes"));
        w.RestoreButtonClick();
        QTRY_COMPARE(Child<QToolButton>(w, "CommitButton")->toolTip(), QString("Commit your changes [F12]"));
    }

    void recordCommandsSayWhatHappened()
    {
        Document d;
        auto& w = *d.w;
        ShowPage(w, "Units");
        // A copy with a field that holds no number names it and makes no copy.
        d.edit("UnitCostEdit")->setText("-");
        w.CopyButtonClick();
        QCOMPARE(d.f.dialogs.boxes.size(), 1);
        QVERIFY(d.f.dialogs.boxes[0].text.startsWith("Unit not copied: "));
        QVERIFY(!d.f.dialogs.boxes[0].text.contains("not saved"));
        // Pasting an unused entry says so and changes nothing.
        d.f.dialogs.clear();
        w.RestoreButtonClick();
        OnNext<gui::TPasterDlg>([](gui::TPasterDlg* dlg) {
            dlg->ListBox1->setCurrentRow(11);
            dlg->OKbtn->click();
            dlg->reject();
        });
        w.PasteButtonClick();
        QCOMPARE(d.f.dialogs.boxes.size(), 1);
        QCOMPARE(d.f.dialogs.boxes[0].text, QString("Entry 12 is unused"));
        QCOMPARE(d.edit("UnitnameEdit")->text(), QString("Scout car"));
        // A move onto a used slot names what it replaced.
        OnNext<gui::TPickForm>([](gui::TPickForm* pick) {
            pick->ListBox1->setCurrentRow(2);
            pick->OKBtn->click();
        });
        w.SpeedButton_MoveClick();
        QCOMPARE(w.statusText(),
            QString("Moved unit 1 to 2, replacing Rifle section; 1 formation still uses unit 1"));
        // F4 on a number edit opens its pick list.
        bool picked = false;
        OnNext<gui::TPickForm>([&picked](gui::TPickForm* pick) {
            picked = true;
            pick->reject();
        });
        QTest::keyClick(d.edit("UnitNationEdit"), Qt::Key_F4);
        QVERIFY(picked);
        // The record commands have the keys their hints name.
        for (const char* name :
            { "EraseButton", "CopyButton", "PasteButton", "SpeedButton_Move", "Back1Btn", "Fwd1Btn" }) {
            const QToolButton* button = Child<QToolButton>(w, name);
            QVERIFY2(button->toolTip().endsWith(" [" + button->shortcut().toString() + "]"),
                qPrintable(button->toolTip()));
        }
    }

    void gridWithUnsavedCellsAsksBeforeClosing()
    {
        Document d;
        auto* grid = Child<gui::TFormGridUnits>(*d.w, "FormGridUnits");
        const std::string name = Records(*d.w).units[1].name;
        OnNext<gui::TFormGridUnits>([&d](gui::TFormGridUnits* g) {
            g->model()->setData(g->model()->index(0, 1), "Typed", Qt::EditRole);
            d.f.dialogs.setNextAnswer(Answer::Cancel);
            g->BitBtnExit->click(); // stays open
            d.f.dialogs.setNextAnswer(Answer::Discard);
            static_cast<QDialog*>(g)->reject(); // as Escape and the close button do
        });
        d.w->UnitsGrid1Click();
        QVERIFY(!grid->isVisible());
        QCOMPARE(d.f.dialogs.boxes.size(), 2);
        QCOMPARE(d.f.dialogs.boxes[0].buttons, gui::Dialogs::Buttons::SaveDiscardCancel);
        QCOMPARE(Records(*d.w).units[1].name, name);
        QVERIFY(!d.w->isWindowModified());
        // Save stores the cells and closes.
        OnNext<gui::TFormGridUnits>([&d](gui::TFormGridUnits* g) {
            g->model()->setData(g->model()->index(0, 1), "Typed", Qt::EditRole);
            d.f.dialogs.setNextAnswer(Answer::Save);
            g->BitBtnExit->click();
        });
        d.w->UnitsGrid1Click();
        QCOMPARE(Records(*d.w).units[1].name, std::string("Typed"));
        QVERIFY(d.w->isWindowModified());
    }
};

QTEST_MAIN(TestDocument)
#include "test_document.moc"
