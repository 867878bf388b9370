// The copy/paste dialog on its own: rows, OK and All in both modes, export and import.

#include "core/data/pastebuffer.h"
#include "core/data/recordfields.h"
#include "core/data/tarnio.h"
#include "gui/app/paster.h"
#include "support/guitest.h"
#include "support/pagecommit.h"
#include "support/scripteddialogs.h"

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace tarnwick;
using tarnwick::core::PasteKind;
using tarnwick::core::PasteMode;

namespace {

struct Fixture {
    core::TOobData oob;
    core::CurrentState state;
    core::Settings settings;
    core::PasteBuffers buffers;
    testing::ScriptedDialogs dialogs;
    QString dir;
    QString status;
    gui::PageContext context;
    std::unique_ptr<gui::TPasterDlg> dlg;

    explicit Fixture(const QString& folder)
        : dir(folder)
    {
        core::InitPasteBuffers(buffers);
        settings.names.nationNames[5] = "Freedonia";
        settings.names.nationNames[7] = "Sylvania";
        state.currentNation = 7;
        state.fileLoaded = true;
        context.oob = &oob;
        context.change = testing::ChangeIn(oob);
        context.state = &state;
        context.settings = &settings;
        context.dialogs = &dialogs;
        context.currentDir = &dir;
        context.setStatus = [this](const QString& text) { status = text; };
        dlg = std::make_unique<gui::TPasterDlg>(context, buffers);
    }

    // Runs the dialog, acting on it once it is up; returns its result.
    int run(std::function<void(gui::TPasterDlg*)> act)
    {
        testing::OnNextModal([this, act](QWidget*) { act(dlg.get()); });
        return dlg->exec();
    }
};

} // namespace

class TestPaster : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { testing::InstallMessageFilter(); }
    void cleanup() { testing::RejectOpenModals(); }

    void rowsAndStatusOfAFreshBuffer()
    {
        Fixture f(QDir::tempPath());
        f.dlg->PrepareWeapon(PasteMode::Copy);
        QCOMPARE(f.dlg->ListBox1->count(), 599);
        QCOMPARE(f.dlg->ListBox1->currentRow(), 0);
        QCOMPARE(f.dlg->ListBox1->item(0)->text(), QString("001: *Unused*         [..]  ..."));
        QCOMPARE(f.dlg->LabelStatus->text(), QString("Select weapon buffer  to COPY to"));
        QVERIFY(f.dlg->ImpBtn->isEnabled() && f.dlg->ExpBtn->isEnabled());
    }

    void okCopiesIntoTheChosenEntryAndPastesBack()
    {
        Fixture f(QDir::tempPath());
        f.buffers.unitXfer.record.name = "T-55";
        f.buffers.unitXfer.record.cost = 80;
        f.buffers.unitXfer.sourceNation = 5;
        f.dlg->PrepareUnit(PasteMode::Copy);
        QCOMPARE(f.run([](gui::TPasterDlg* d) {
            d->ListBox1->setCurrentRow(2);
            d->OKbtn->click();
        }),
            int(gui::TPasterDlg::ResultOk));
        QVERIFY(f.buffers.unitBuffer[3].used);
        QCOMPARE(f.buffers.unitBuffer[3].sourceNation, 5);
        QCOMPARE(f.buffers.unitBuffer[3].record.cost, 80);

        // Paste from entry 3 brings the record back; a free entry leaves the transfer record alone.
        f.buffers.unitXfer = {};
        f.dlg->PrepareUnit(PasteMode::Paste);
        QCOMPARE(f.dlg->ListBox1->item(2)->text(), QString("003: T-55             [05]  Freedonia"));
        f.run([](gui::TPasterDlg* d) {
            d->ListBox1->setCurrentRow(2);
            emit d->ListBox1->itemDoubleClicked(d->ListBox1->item(2));
        });
        QCOMPARE(f.buffers.unitXfer.record.name, std::string("T-55"));
        // An unused entry says so and keeps the dialog open for another choice.
        f.dlg->PrepareUnit(PasteMode::Paste);
        f.dialogs.clear();
        QCOMPARE(f.run([](gui::TPasterDlg* d) {
            d->ListBox1->setCurrentRow(9);
            d->OKbtn->click();
            QVERIFY(d->isVisible());
            d->reject();
        }),
            int(QDialog::Rejected));
        QCOMPARE(f.dialogs.boxes.size(), 1);
        QCOMPARE(f.dialogs.boxes[0].text, QString("Entry 10 is unused"));
        QCOMPARE(f.buffers.unitXfer.record.name, std::string("T-55"));
    }

    void allInBothModesCoversTheWholeTable_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("tableSlots");
        QTest::newRow("weapons") << int(PasteKind::Weapon) << 249;
        QTest::newRow("units") << int(PasteKind::Unit) << 599;
        QTest::newRow("formations") << int(PasteKind::Formation) << 399;
    }
    void allInBothModesCoversTheWholeTable()
    {
        QFETCH(int, kind);
        QFETCH(int, tableSlots);
        Fixture f(QDir::tempPath());
        f.oob.weapons[1].name = "M16A1";
        f.oob.units[1].name = "M1A1";
        f.oob.formations[1].name = "HQ";
        f.buffers.weaponBuffer[599].used = true; // above every table: left alone
        f.buffers.unitBuffer[599].used = false;
        f.buffers.formationBuffer[599].used = true;
        const auto before = f.buffers;

        f.dlg->prepare(PasteKind(kind), PasteMode::Copy);
        QCOMPARE(f.run([](gui::TPasterDlg* d) { d->CopyAllBtn->click(); }), int(gui::TPasterDlg::ResultAll));
        auto check = [&](const auto& buffer, const auto& old) {
            QVERIFY(buffer[1].used);
            QVERIFY(!buffer[2].used);
            QCOMPARE(buffer[2].sourceNation, 7);
            QCOMPARE(buffer[tableSlots].sourceNation, 7);
            if (tableSlots < 599)
                QCOMPARE(buffer[tableSlots + 1], old[tableSlots + 1]);
        };
        if (PasteKind(kind) == PasteKind::Weapon)
            check(f.buffers.weaponBuffer, before.weaponBuffer);
        else if (PasteKind(kind) == PasteKind::Unit)
            check(f.buffers.unitBuffer, before.unitBuffer);
        else
            check(f.buffers.formationBuffer, before.formationBuffer);

        // Paste all from a fresh buffer empties the table.
        core::InitPasteBuffers(f.buffers);
        f.dlg->prepare(PasteKind(kind), PasteMode::Paste);
        f.run([](gui::TPasterDlg* d) { d->CopyAllBtn->click(); });
        QVERIFY(f.oob.weapons[1].name.empty() == (PasteKind(kind) == PasteKind::Weapon));
        QVERIFY(f.oob.units[1].name.empty() == (PasteKind(kind) == PasteKind::Unit));
        QVERIFY(f.oob.formations[1].name.empty() == (PasteKind(kind) == PasteKind::Formation));
    }

    void exportImportAndPasteAllChangeNothing_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QString>("filter");
        QTest::newRow("weapons") << int(PasteKind::Weapon) << "TarnPASTE07wpns.csv"
                                 << "Weapon Files (*.t7w *.csv);;CSV Files (*.csv);;All Files (*)";
        QTest::newRow("units") << int(PasteKind::Unit) << "TarnPASTE07unit.csv"
                               << "Unit Files (*.t7u *.csv);;CSV Files (*.csv);;All Files (*)";
        QTest::newRow("formations") << int(PasteKind::Formation) << "TarnPASTE07fmns.csv"
                                    << "Formation Files (*.t7f *.csv);;CSV Files (*.csv);;All Files (*)";
    }
    // All into the buffer, Export, Import into fresh buffers and All back: every
    // field of every record as it was, names with commas and quotes included.
    void exportImportAndPasteAllChangeNothing()
    {
        QFETCH(int, kind);
        QFETCH(QString, fileName);
        QFETCH(QString, filter);
        QTemporaryDir tmp;
        Fixture f(tmp.path());
        auto fill = [](auto& table) {
            using Record = typename std::decay_t<decltype(table)>::value_type;
            const std::size_t fields = core::OobLayoutOf(core::TableOf<Record>()).fields.size();
            for (std::size_t k = 1; k < table.size(); k += 3) {
                table[k].name = k % 2 ? "R, \"" + std::to_string(k) + "\"" : "R" + std::to_string(k);
                for (std::size_t i = 0; i < fields; ++i)
                    core::SetFieldValue(table[k], i, int(k + 7 * i));
            }
        };
        fill(f.oob.weapons);
        fill(f.oob.units);
        fill(f.oob.formations);
        const auto before = std::make_unique<core::TOobData>(f.oob);

        f.dlg->prepare(PasteKind(kind), PasteMode::Copy);
        f.run([](gui::TPasterDlg* d) { d->CopyAllBtn->click(); });
        const QString path = tmp.filePath(fileName);
        f.dialogs.setNextFileName(path);
        f.dlg->prepare(PasteKind(kind), PasteMode::Copy);
        QCOMPARE(f.run([](gui::TPasterDlg* d) { d->ExpBtn->click(); }), int(gui::TPasterDlg::ResultFile));
        QCOMPARE(f.dialogs.fileDialogs.last().startDir, path);
        // A name typed without an extension is written as a .csv file.
        f.dialogs.setNextFileName(tmp.filePath("mybuffer"));
        f.run([](gui::TPasterDlg* d) { d->ExpBtn->click(); });
        QVERIFY(QFile::exists(tmp.filePath("mybuffer.csv")));
        QVERIFY(!QFile::exists(tmp.filePath("mybuffer")));

        core::InitPasteBuffers(f.buffers);
        f.dialogs.setNextFileName(path);
        f.dlg->prepare(PasteKind(kind), PasteMode::Paste);
        f.run([](gui::TPasterDlg* d) { d->ImpBtn->click(); });
        QCOMPARE(f.dialogs.fileDialogs.last().filter, filter);
        QVERIFY(f.dialogs.boxes.isEmpty());
        QVERIFY2(f.status.startsWith("Read ") && !f.status.contains("no columns"), qPrintable(f.status));
        f.dlg->prepare(PasteKind(kind), PasteMode::Paste);
        f.run([](gui::TPasterDlg* d) { d->CopyAllBtn->click(); });
        QVERIFY(core::EncodeOobFile(f.oob, 7) == core::EncodeOobFile(*before, 7));
    }

    void failedImportAndExportChangeNothing()
    {
        QTemporaryDir tmp;
        Fixture f(tmp.path());
        f.buffers.unitBuffer[4].used = true;
        f.buffers.unitBuffer[4].record.name = "KEEP";
        const auto before = f.buffers;
        const QString bad = tmp.filePath("bad.csv");
        testing::WriteBytes(bad, "UNIT PASTE BUFFER FROM x\r\nSlot No,\r\n1;T-55;5\r\n");
        f.dialogs.setNextFileName(bad);
        f.dlg->PrepareUnit(PasteMode::Paste);
        f.run([](gui::TPasterDlg* d) {
            d->ImpBtn->click();
            d->CancelBtn->click();
        });
        QCOMPARE(f.dialogs.boxes.size(), 1);
        QCOMPARE(f.dialogs.boxes[0].kind, gui::Dialogs::Kind::Error);
        QVERIFY2(f.dialogs.boxes[0].text.contains("bad.csv"), qPrintable(f.dialogs.boxes[0].text));
        QVERIFY(f.buffers.unitBuffer == before.unitBuffer);

        f.dialogs.setNextFileName(tmp.filePath("missing-folder/out.csv"));
        f.run([](gui::TPasterDlg* d) {
            d->ExpBtn->click();
            d->CancelBtn->click();
        });
        QCOMPARE(f.dialogs.boxes.size(), 2);
        QVERIFY(f.dialogs.boxes[1].text.contains("missing-folder"));
    }
};

QTEST_MAIN(TestPaster)
#include "test_paster.moc"
