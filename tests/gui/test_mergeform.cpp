// The merge window on the real main window: THEIRS and BASE chosen from the File
// menu, conflicts picked with the keys, and the merge applied as one undo step.

#include "gui/app/oobdocument.h"
#include "gui/app/sdimain.h"
#include "gui/tools/mergeform.h"
#include "support/guitest.h"
#include "support/windowfixture.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QUndoStack>

#include <memory>

using namespace tarnwick;
using namespace tarnwick::testing;

namespace {

// Unit 5 as the base has it, as the open file (nation 4) changed it, and as their file changed it.
core::TOobData Records(std::uint16_t cost, std::uint8_t speed)
{
    core::TOobData data;
    data.units[5].name = "Scout car";
    data.units[5].nation = 4;
    data.units[5].cost = cost;
    data.units[5].speed = speed;
    return data;
}

QString Written(const QString& dir, int nation, core::TOobData data, const QString& as)
{
    QDir().mkpath(QFileInfo(as).absolutePath());
    QFile::rename(WriteOobFile(dir, nation, data), as);
    return as;
}

// The window merges and checks the files before it shows, which takes seconds
// in a sanitized build on a busy machine.
constexpr int kMergeWaitMs = 120000;

} // namespace

class TestMergeForm : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { InstallMessageFilter(); }
    void cleanup() { RejectOpenModals(); }

    void picksConflictsAndAppliesOneStep()
    {
        WindowFixture f;
        WriteOobFile(f.work, 4, *std::make_unique<core::TOobData>(Records(110, 10)));
        const QString base = Written(f.work, 6, Records(100, 10), QDir(f.work).filePath("game/obat004.obf"));
        const QString theirs
            = Written(f.work, 5, Records(120, 20), QDir(f.work).filePath("mod-b/obat005.obf"));
        auto& w = f.open();
        w.TarnListBoxDblClick();
        f.dialogs.clear();
        f.dialogs.setNextFileName(theirs);
        f.dialogs.setNextFileName(base);

        // Everything is read inside and checked after, so that the window always closes.
        int rows = 0;
        QString left;
        QStringList result;
        OnNextModal(
            [&](QWidget* modal) {
                auto* form = qobject_cast<gui::TMergeForm*>(modal);
                if (form == nullptr) {
                    modal->close();
                    return;
                }
                rows = form->MergeGrid->rowCount();
                left = form->LeftLabel->text();
                form->MergeGrid->setCurrentCell(0, 0);
                QTest::keyClick(form->MergeGrid, Qt::Key_T);
                result << form->MergeGrid->item(0, 6)->text() << form->LeftLabel->text();
                form->ApplyButton->click();
                if (form->isVisible())
                    form->reject(); // a failed step fails the checks below, not by hanging
            },
            kMergeWaitMs);
        w.findChild<QAction*>("MergeWith1")->trigger();
        QCOMPARE(rows, 2);
        QCOMPARE(left, QString("1 of 1 conflict left to pick"));
        QCOMPARE(result, (QStringList { "Theirs", "All 1 conflict picked" }));
        QCOMPARE(f.dialogs.boxes.size(), 0);
        QCOMPARE(Records(w).units[5].cost, 120);
        QCOMPARE(Records(w).units[5].speed, 20);

        QUndoStack* stack = w.document()->undoStack();
        QCOMPARE(stack->count(), 1);
        QCOMPARE(stack->undoText(), QString("Merge with obat005 from mod-b"));
        stack->undo();
        QCOMPARE(Records(w).units[5].cost, 110);
        QCOMPARE(Records(w).units[5].speed, 10);

        // Unpicked conflicts keep Ours, and the window asks first.
        f.dialogs.setNextFileName(theirs);
        f.dialogs.setNextFileName(base);
        f.dialogs.setNextAnswer(gui::Dialogs::Answer::Yes);
        OnNextModal(
            [](QWidget* modal) {
                if (auto* form = qobject_cast<gui::TMergeForm*>(modal))
                    form->ApplyButton->click();
                modal->close();
            },
            kMergeWaitMs);
        w.findChild<QAction*>("MergeWith1")->trigger();
        QCOMPARE(f.dialogs.boxes.size(), 1);
        QCOMPARE(f.dialogs.boxes[0].text,
            QString("1 conflict is not picked and will keep Ours. Apply the merge?"));
        QCOMPARE(Records(w).units[5].cost, 110);
        QCOMPARE(Records(w).units[5].speed, 20);
    }
};

QTEST_MAIN(TestMergeForm)
#include "test_mergeform.moc"
