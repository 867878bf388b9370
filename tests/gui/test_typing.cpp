// Typing not yet committed: the undo keys go to the field while it has typing
// of its own, else to the document; nothing drops the typing without asking.

#include "gui/app/sdimain.h"
#include "gui/pages/recordpage.h"
#include "support/guitest.h"
#include "support/windowfixture.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using namespace tarnwick;
using namespace tarnwick::testing;
using Answer = gui::Dialogs::Answer;
using Buttons = gui::Dialogs::Buttons;

namespace {

// A window with the sample file of nation 5 open on unit 1 ("Scout car").
struct Typing {
    WindowFixture f;
    gui::TSDIAppForm* w = nullptr;

    Typing()
    {
        WriteSampleOobFile(f.work, 5);
        w = &f.open();
        child<QListWidget>("TarnListBox")->setCurrentRow(4);
        w->TarnListBoxDblClick();
        f.dialogs.clear();
    }
    template <class T> T* child(const char* name) const
    {
        T* found = w->findChild<T*>(QString::fromLatin1(name));
        if (found == nullptr)
            qFatal("no %s", name);
        return found;
    }
    QLineEdit* edit(const char* name) const { return child<QLineEdit>(name); }
    gui::RecordPage* units() const { return child<gui::RecordPage>("Units"); }
    std::string storedName(int slot) const { return Records(*w).units[static_cast<std::size_t>(slot)].name; }
};

} // namespace

class TestTyping : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { InstallMessageFilter(); }
    void cleanup() { RejectOpenModals(); }

    void undoKeysGoToTheFieldWithTypingElseToTheDocument()
    {
#ifdef TARNWICK_SANITIZED
        QSKIP(
            "the window's key shortcuts do not act in the sanitized debug build; the plain build runs this");
#endif
        Typing t;
        t.w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(t.w));
        QLineEdit* name = t.edit("UnitnameEdit");
        name->setFocus();
        name->selectAll();
        QTest::keyClicks(name, "Renamed");
        t.child<QToolButton>("CommitButton")->click();
        // Right after the commit the field has nothing of its own: the keys undo and redo the commit.
        QTest::keyClick(name, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(t.storedName(1), std::string("Scout car"));
        QCOMPARE(name->text(), QString("Scout car"));
        QTest::keyClick(name, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(name->text(), QString("Renamed"));
        // Typing in progress is the field's to undo, and to redo by either key.
        QTest::keyClicks(name, "X");
        QTest::keyClick(name, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(name->text(), QString("Renamed"));
        QTest::keyClick(name, Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(name->text(), QString("RenamedX"));
        QCOMPARE(t.storedName(1), std::string("Renamed"));
        QCOMPARE(t.f.dialogs.boxes.size(), 0);
    }

    void typingIsAskedAboutBeforeItIsDropped()
    {
        enum class Act { NextSlot, ListClick, OtherPage, Undo, Tool, Paste, Exit };
        struct Case {
            const char* what;
            Act act;
            const char* field;
            const char* typed;
            QList<Answer> answers;
            int slot; // where the Units page is after
            const char* stored; // unit 1's name after
            bool typingKept; // still on the page, not committed
            QStringList boxes; // how the boxes' texts begin, in order
        };
        const QString ask = "Commit the changes to unit 1?";
        const QString save = "Save the changes to ";
        const Case cases[] = {
            { "commit, then the next slot", Act::NextSlot, "UnitnameEdit", "Typed", { Answer::Commit }, 2,
                "Typed", false, { ask } },
            { "discard", Act::NextSlot, "UnitnameEdit", "Typed", { Answer::Discard }, 2, "Scout car", false,
                { ask } },
            { "cancel keeps all", Act::NextSlot, "UnitnameEdit", "Typed", { Answer::Cancel }, 1, "Scout car",
                true, { ask } },
            { "a refused commit stays", Act::NextSlot, "UnitCrewEdit", "5-", { Answer::Commit }, 1,
                "Scout car", true, { ask, "Crew: '5-' is not a valid integer value" } },
            { "a click in the list, commit", Act::ListClick, "UnitnameEdit", "Typed", { Answer::Commit }, 3,
                "Typed", false, { ask } },
            { "a click in the list, cancel", Act::ListClick, "UnitnameEdit", "Typed", { Answer::Cancel }, 1,
                "Scout car", true, { ask } },
            { "another page, cancel", Act::OtherPage, "UnitnameEdit", "Typed", { Answer::Cancel }, 1,
                "Scout car", true, { ask } },
            { "undo, discard", Act::Undo, "UnitnameEdit", "Typed", { Answer::Discard }, 1, "Scout car", false,
                { ask } },
            { "a tool that redraws the page, cancel", Act::Tool, "UnitnameEdit", "Typed", { Answer::Cancel },
                1, "Scout car", true, { ask } },
            { "a paste over the page, cancel", Act::Paste, "UnitnameEdit", "Typed", { Answer::Cancel }, 1,
                "Scout car", true, { ask } },
            // Committed typing is an unsaved change: that question comes second.
            { "exit, commit", Act::Exit, "UnitnameEdit", "Typed", { Answer::Commit, Answer::Cancel }, 1,
                "Typed", false, { ask, save } },
            { "exit, cancel", Act::Exit, "UnitnameEdit", "Typed", { Answer::Cancel }, 1, "Scout car", true,
                { ask } },
        };
        for (const Case& c : cases) {
            Typing t;
            if (c.act == Act::Undo) {
                // A step to undo, and typing on top of it.
                t.edit("UnitSoundByteEdit")->setText("3");
                t.child<QToolButton>("CommitButton")->click();
            }
            t.edit(c.field)->setText(c.typed);
            for (Answer a : c.answers)
                t.f.dialogs.setNextAnswer(a);
            switch (c.act) {
            case Act::NextSlot:
                t.child<QToolButton>("Fwd1Btn")->click();
                break;
            case Act::ListClick: {
                // The list asks once its click is done.
                auto* list = t.child<QListWidget>("UnitListBox");
                QTest::mouseClick(
                    list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(2)).center());
                QTRY_VERIFY(!t.f.dialogs.boxes.isEmpty());
                QTest::qWait(20);
                QVERIFY2(list->currentRow() == c.slot - 1, c.what);
                break;
            }
            case Act::OtherPage:
                t.child<QTabWidget>("Viewer")->setCurrentWidget(t.child<QWidget>("Weapons"));
                break;
            case Act::Undo:
                t.child<QAction>("Undo1")->trigger();
                break;
            case Act::Tool:
                t.child<QAction>("UnitsGrid1")->trigger();
                break;
            case Act::Paste:
                t.child<QToolButton>("PasteButton")->click();
                break;
            case Act::Exit:
                QVERIFY2(!t.w->close(), c.what);
                break;
            }
            const auto& shown = t.f.dialogs.boxes;
            QVERIFY2(shown.size() == c.boxes.size(), c.what);
            for (qsizetype i = 0; i < shown.size(); ++i)
                QVERIFY2(shown[i].text.startsWith(c.boxes[i]), c.what);
            QVERIFY2(shown[0].buttons == Buttons::CommitDiscardCancel, c.what);
            QVERIFY2(t.units()->currentSlot() == c.slot, c.what);
            QVERIFY2(t.storedName(1) == c.stored, c.what);
            QVERIFY2(t.units()->hasUncommittedChanges() == c.typingKept, c.what);
            QVERIFY2(!c.typingKept || t.edit(c.field)->text() == c.typed, c.what);
            if (c.act == Act::OtherPage)
                QVERIFY2(t.child<QTabWidget>("Viewer")->currentWidget() == t.units(), c.what);
        }
    }

    void openingByPathAsksBeforeTheFolderChanges()
    {
        Typing t;
        const QString other = QDir(t.f.root.path()).filePath("other");
        QDir().mkpath(other);
        const QString file = WriteSampleOobFile(other, 5);
        t.edit("UnitnameEdit")->setText("Typed");
        t.child<QToolButton>("CommitButton")->click();
        const QString before = t.w->currentDir();
        t.f.dialogs.setNextAnswer(Answer::Cancel);
        QVERIFY(!t.w->openPath(file));
        QCOMPARE(t.w->currentDir(), before);
        QCOMPARE(t.storedName(1), std::string("Typed"));
    }

    void pictureMenuOpensByKey()
    {
        Typing t;
        auto* picture = t.child<QWidget>("LBMImage");
        QVERIFY(picture->focusPolicy() & Qt::TabFocus);
        for (const QKeyCombination key :
            { QKeyCombination(Qt::Key_Menu), QKeyCombination(Qt::SHIFT, Qt::Key_F10) }) {
            QString shown;
            QTimer::singleShot(50, [&shown] {
                if (QWidget* menu = QApplication::activePopupWidget()) {
                    shown = menu->objectName();
                    menu->close();
                }
            });
            QTest::keyClick(picture, key.key(), key.keyboardModifiers());
            QCOMPARE(shown, QString("PictureMenu"));
        }
    }
};

QTEST_MAIN(TestTyping)
#include "test_typing.moc"
