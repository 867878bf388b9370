// The pick list dialog, driven as a user would while it runs modally.

#include "gui/tools/picker.h"
#include "support/guitest.h"

#include <QApplication>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>

using namespace tarnwick;
using namespace tarnwick::testing;
using core::PickMode;

namespace {

struct Fixture {
    core::TOobData oob;
    core::CurrentState state;
    core::Settings settings;
    gui::PageContext context;
    gui::TPickForm form { context };

    Fixture()
    {
        context.oob = &oob;
        context.state = &state;
        context.settings = &settings;
        settings.names.nationNames[44] = "Karsovia";
        oob.units[300].name = "Tiger";
    }
};

// What the dialog showed when it came up.
struct Seen {
    QWidget* modal = nullptr;
    QString title;
    int count = 0;
    int selected = -1;
    QString first;
};

using Action = std::function<void(gui::TPickForm&)>;

int calls = 0;

// Runs the pick list in mode, acts on it once it is up, and returns its result.
int Pick(gui::TPickForm& form, PickMode mode, const Action& act, Seen* seen = nullptr)
{
    OnNextModal([&](QWidget* modal) {
        if (seen != nullptr) {
            seen->modal = modal;
            seen->title = form.windowTitle();
            seen->count = form.ListBox1->count();
            seen->selected = form.ListBox1->currentRow();
            seen->first = form.ListBox1->item(0) ? form.ListBox1->item(0)->text() : QString();
        }
        act(form);
        // A check that failed before closing the dialog must not hang the run.
        QTimer::singleShot(3000, &form, [&form, call = ++calls] {
            if (form.isVisible() && call == calls)
                form.reject();
        });
    });
    return form.ShowPickList(mode);
}

Action Select(int row, const Action& then)
{
    return [row, then](gui::TPickForm& f) {
        f.ListBox1->setCurrentRow(row);
        then(f);
    };
}

const Action kClickOk = [](gui::TPickForm& f) { f.OKBtn->click(); };
const Action kReturn = [](gui::TPickForm& f) { QTest::keyClick(f.ListBox1, Qt::Key_Return); };
const Action kDoubleClick = [](gui::TPickForm& f) {
    QListWidgetItem* item = f.ListBox1->currentItem();
    f.ListBox1->scrollToItem(item);
    const QPoint at = f.ListBox1->visualItemRect(item).center();
    // What the window system sends: press, release, double click, release.
    QTest::mouseClick(f.ListBox1->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(f.ListBox1->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseRelease(f.ListBox1->viewport(), Qt::LeftButton, {}, at);
};
const Action kCancel = [](gui::TPickForm& f) { f.BitBtn1->click(); };
const Action kEscape = [](gui::TPickForm& f) { QTest::keyClick(f.ListBox1, Qt::Key_Escape); };
// Tab from the list past OK to Cancel, then Return.
const Action kReturnOnCancel = [](gui::TPickForm& f) {
    QTest::keyClick(f.ListBox1, Qt::Key_Tab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
};
const Action kClose = [](gui::TPickForm& f) { f.close(); };

} // namespace

class TestPickForm : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { InstallMessageFilter(); }
    void cleanup() { RejectOpenModals(); }

    void startsAsThePickList()
    {
        Fixture f;
        QCOMPARE(f.form.windowTitle(), QString("Pick List"));
        QCOMPARE(f.form.ListBox1->size(), QSize(253, 381));
        QCOMPARE(f.form.OKBtn->text(), QString("OK"));
        QCOMPARE(f.form.BitBtn1->text(), QString("Cancel"));
        QVERIFY(f.form.findChild<QWidget*>("Panel1")->isAncestorOf(f.form.ListBox1));
    }

    void everyWayOfConfirmingReturnsTheChosenNumber()
    {
        const std::vector<std::pair<const char*, Action>> ways
            = { { "OK", kClickOk }, { "Return", kReturn }, { "double click", kDoubleClick } };
        Fixture f;
        for (const auto& [way, confirm] : ways) {
            Seen seen;
            QCOMPARE(Pick(f.form, core::pickNation, Select(44, confirm), &seen), 44);
            QCOMPARE(seen.modal, &f.form);
            QCOMPARE(seen.title, QString("Pick List : Nationality"));
            QCOMPARE(seen.count, 100);
            QCOMPARE(seen.selected, 0);
            QCOMPARE(seen.first, QString("00 - Unknown"));
            QCOMPARE(f.form.ListBox1->item(44)->text(), QString("44 - Karsovia"));
            QCOMPARE(f.form.pickResult(), 44);
        }
        // Confirming at once takes entry 0.
        QCOMPARE(Pick(f.form, core::pickUnit, kClickOk), 0);
    }

    void cancellingReturnsMinusTwoWhateverIsSelected()
    {
        Fixture f;
        f.state.currentFormType = 3;
        f.oob.formations[5].formType = 1; // marked for a second-rate company
        const std::vector<std::pair<const char*, Action>> ways = { { "Cancel", kCancel },
            { "Escape", kEscape }, { "Return on Cancel", kReturnOnCancel }, { "close", kClose } };
        for (const auto& [way, cancel] : ways) {
            for (int row : { 0, 5, 399 }) {
                const QByteArray label = QByteArray(way) + " at " + QByteArray::number(row);
                QVERIFY2(Pick(f.form, core::pickFormation, Select(row, cancel)) == core::kPickCancelled,
                    label.constData());
            }
        }
    }

    void aMarkedFormationConfirmedChoosesNothing()
    {
        Fixture f;
        f.oob.formations[5].formType = 1;
        f.oob.formations[6].formType = 0;
        f.oob.formations[7].formType = 2;
        f.oob.formations[6].name = "Rifle Sect";
        struct Case {
            std::uint8_t currentFormType;
            int row;
            int expected;
        };
        const Case cases[] = { { 3, 5, 0 }, { 3, 6, 6 }, { 3, 7, 0 }, { 2, 5, 5 }, { 2, 7, 0 } };
        for (const Case& c : cases) {
            f.state.currentFormType = c.currentFormType;
            QCOMPARE(Pick(f.form, core::pickFormation, Select(c.row, kClickOk)), c.expected);
        }
        QCOMPARE(f.form.ListBox1->item(6)->text(), QString("006 - Rifle Sect"));
        QCOMPARE(f.form.ListBox1->item(7)->text(), QString("007 - XX INVALID CHOICE XX"));
    }

    void aSecondCallShowsOnlyItsOwnEntries()
    {
        Fixture f;
        Seen first;
        QCOMPARE(Pick(f.form, core::pickUnit, Select(300, kCancel), &first), core::kPickCancelled);
        QCOMPARE(first.count, 600);
        QCOMPARE(f.form.ListBox1->item(300)->text(), QString("300 - Tiger"));

        Seen second;
        QCOMPARE(Pick(f.form, core::pickWeaponClass, kClickOk, &second), 0);
        QCOMPARE(second.title, QString("Pick List : Weapon Class"));
        QCOMPARE(second.count, 22);
        QCOMPARE(second.selected, 0);
        QCOMPARE(second.first, QString("00 - Unknown Class"));
        QCOMPARE(f.form.pickMode(), std::uint8_t(core::pickWeaponClass));
    }

    void nothingSelectedCannotBeConfirmed()
    {
        Fixture f;
        bool okEnabled = true;
        bool stillOpen = false;
        const Action clearThenConfirm = [&](gui::TPickForm& form) {
            form.ListBox1->clearSelection();
            okEnabled = form.OKBtn->isEnabled();
            QTest::keyClick(form.ListBox1, Qt::Key_Return);
            QTest::qWait(150); // a default button clicks after a short animation
            stillOpen = form.isVisible();
            form.reject();
        };
        QCOMPARE(Pick(f.form, core::pickBuyPage, clearThenConfirm), core::kPickCancelled);
        QVERIFY(!okEnabled);
        QVERIFY(stillOpen);
        // The next call selects entry 0 again and can be confirmed.
        QCOMPARE(Pick(f.form, core::pickBuyPage, kReturn), 0);
    }
};

QTEST_MAIN(TestPickForm)
#include "test_pickform.moc"
