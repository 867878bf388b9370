// The main window shell: start-up state, settings, function keys, exit, size, help.

#include "core/rules/sdimain.h"
#include "gui/app/sdimain.h"
#include "gui/ui/about.h"
#include "support/guitest.h"
#include "support/windowfixture.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <QToolTip>
#include <QWindow>

using namespace tarnwick;
using namespace tarnwick::testing;
using Kind = gui::Dialogs::Kind;

class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { InstallMessageFilter(); }
    void cleanup() { RejectOpenModals(); }

    void startsWithOnlyTheLoadPageAndFileCommandsDisabled()
    {
        WindowFixture f;
        auto& w = f.open();
        QCOMPARE(w.windowTitle(), "Tarnwick for GH:FTK : No File Loaded " + f.work + ":");
        QCOMPARE(w.currentDir(), f.work);
        QVERIFY(QDir::currentPath() != f.work); // the process keeps its own folder
        QCOMPARE(w.currentPage(), int(gui::kPageLoad));
        QVERIFY(f.dialogs.boxes.isEmpty());

        auto* viewer = w.findChild<QTabWidget*>("Viewer");
        QVERIFY(viewer);
        const QStringList names { "Units", "Weapons", "Formations", "Info", "Load" };
        const QStringList captions { "Units", "Weapons", "Formations", "Info", "Load/Save" };
        for (int i = 0; i < viewer->count(); ++i) {
            QCOMPARE(viewer->widget(i)->objectName(), names[i]);
            QCOMPARE(viewer->tabText(i), captions[i]);
            QCOMPARE(viewer->isTabVisible(i), i == 4);
        }
        QCOMPARE(viewer->currentWidget()->objectName(), QString("Load"));

        for (const char* name : { "EraseButton", "CopyButton", "PasteButton", "SpeedButton_Move", "Back1Btn",
                 "Fwd1Btn", "RestoreButton", "CommitButton", "SpeedButtonFind" })
            QVERIFY2(!w.findChild<QToolButton*>(name)->isEnabled(), name);
        QVERIFY(!w.findChild<QComboBox*>("EditFind")->isEnabled());
        QVERIFY(w.findChild<QComboBox*>("EditFind")->currentText().isEmpty());
        for (const char* name : { "SaveBtn", "SaveAsBtn", "ExportBtn" })
            QVERIFY2(!w.findChild<QPushButton*>(name)->isEnabled(), name);
        for (const char* name : { "OpenBtn", "Button1", "ExitButton" })
            QVERIFY2(w.findChild<QPushButton*>(name)->isEnabled(), name);
        for (const char* name : { "SaveAs1", "WriteCSV1", "Reclassify1", "Renationalise1", "SaveFileAs1",
                 "ChangeTransparentColour1", "CheckFile1", "WhereUsed1" })
            QVERIFY2(!w.findChild<QAction*>(name)->isEnabled(), name);
        for (const char* name : { "ExitItem", "Help2", "About1" })
            QVERIFY2(w.findChild<QAction*>(name)->isEnabled(), name);
        QVERIFY(!w.findChild<QMenu*>("Grid1")->menuAction()->isEnabled());
        // The task bar finds the icon and name through resources/tarnwick.desktop.
        QCOMPARE(QGuiApplication::desktopFileName(), QString("tarnwick"));
    }

    void speedButtonsStandInOrderWithTheirHints()
    {
        WindowFixture f;
        auto& w = f.open();
        const QList<QPair<QString, QString>> expected {
            { "EraseButton", "Cear this form [Ctrl+Shift+E]" },
            { "CopyButton", "Copy to Paste Buffer [Ctrl+Shift+C]" },
            { "PasteButton", "Paste from Buffer [Ctrl+Shift+V]" },
            { "SpeedButton_Move", "Move this item to another slot number [Ctrl+Shift+M]" },
            { "Back1Btn", "Right click << 10 [Alt+Left]" },
            { "Fwd1Btn", "Right click >> 10 [Alt+Right]" },
            { "RestoreButton", "Restore to last Commit action [F9]" },
            { "CommitButton", "Commit your changes [F12]" },
            { "EditFind", "Enter search text or select a previously entered search string" },
            { "SpeedButtonFind", "[F11,F3] Find next item containing search sub-string" },
        };
        int lastX = -1;
        for (const auto& [name, hint] : expected) {
            auto* widget = w.findChild<QWidget*>(name);
            QVERIFY2(widget, qPrintable(name));
            QCOMPARE(widget->parentWidget()->objectName(), QString("SpeedPanel"));
            QCOMPARE(widget->toolTip(), hint);
            QVERIFY2(widget->x() > lastX, qPrintable(name));
            lastX = widget->x();
            if (auto* button = qobject_cast<QToolButton*>(widget))
                QVERIFY2(!button->icon().isNull(), qPrintable(name));
        }
        QVERIFY(w.findChild<QWidget*>("SpeedButtonFind")->statusTip().isEmpty());
    }

    void menuCaptionsShortcutsAndSeparators()
    {
        WindowFixture f;
        auto& w = f.open(false);
        auto layout = [](QMenu* menu) {
            QStringList items;
            for (QAction* a : menu->actions())
                items << (a->isSeparator() ? QString("-") : a->objectName() + "=" + a->text());
            return items;
        };
        QCOMPARE(w.findChild<QMenu*>("FileMenu")->title(), QString("&File"));
        QCOMPARE(layout(w.findChild<QMenu*>("FileMenu")),
            QStringList({ "OpenFile1=&Open…", "=Recent &Files", "-", "SaveAs1=&Save Current File", "-",
                "WriteCSV1=&Write CSV Files", "Reclassify1=Re&classify",
                "Renationalise1=Re&nationalise (Renumber units, formations to another nation's ID)",
                "SaveFileAs1=Save File &As..", "CompareWith1=Co&mpare With…", "MergeWith1=M&erge With…",
                "ChangeTransparentColour1=Change &Transparent Colour",
                QString::fromUtf8("ExportArtworkItem=Export A&rtwork\u2026"), "CheckFile1=Chec&k File…", "-",
                "ExitItem=E&xit" }));
        QCOMPARE(w.findChild<QMenu*>("Grid1")->title(), QString("&Grid"));
        QCOMPARE(layout(w.findChild<QMenu*>("Grid1")),
            QStringList({ "WeaponsGrid1=&Weapons Grid", "UnitsGrid1=&Units Grid",
                "Timeline1=Availability &Timeline" }));
        QCOMPARE(w.findChild<QMenu*>("Help1")->title(), QString("&Help"));
        QCOMPARE(
            layout(w.findChild<QMenu*>("Help1")), QStringList({ "Help2=&Help", "-", "About1=&About..." }));

        QCOMPARE(w.findChild<QAction*>("SaveAs1")->shortcut(), QKeySequence("Ctrl+S"));
        QCOMPARE(w.findChild<QAction*>("ExitItem")->shortcut(), QKeySequence("Alt+X"));
        QCOMPARE(w.findChild<QAction*>("CheckFile1")->shortcut(), QKeySequence("F8"));
        QCOMPARE(w.findChild<QAction*>("WhereUsed1")->shortcut(), QKeySequence("Ctrl+U"));
        QCOMPARE(w.findChild<QAction*>("Help2")->shortcut(), QKeySequence("F1"));
        QCOMPARE(layout(w.findChild<QMenu*>("Edit1")),
            QStringList({ "Undo1=&Undo", "Redo1=&Redo", "-", "WhereUsed1=&Where Used…" }));
        QCOMPARE(w.findChild<QAction*>("SaveAs1")->toolTip(),
            QString("Save current file, witout going to Load/Save page"));
        QCOMPARE(w.findChild<QAction*>("WriteCSV1")->toolTip(), QString("Write comma separated data file"));
        QCOMPARE(w.findChild<QAction*>("ExitItem")->toolTip(), QString("Exit application"));
    }

    void settingsValues_data()
    {
        QTest::addColumn<QString>("colour");
        QTest::addColumn<QString>("hints");
        QTest::addColumn<QString>("delay");
        QTest::addColumn<int>("expectedColour");
        QTest::addColumn<bool>("expectedHints");
        QTest::addColumn<int>("expectedDelay");
        QTest::newRow("colour above range") << "300"
                                            << "1"
                                            << "1" << 255 << true << 500;
        QTest::newRow("colour below range") << "-5"
                                            << "1"
                                            << "1" << 0 << true << 500;
        QTest::newRow("colour not a number") << "abc"
                                             << "1"
                                             << "1" << 240 << true << 500;
        QTest::newRow("hint delay 4") << "17"
                                      << "1"
                                      << "4" << 17 << true << 2000;
        QTest::newRow("hints off") << "17"
                                   << "0"
                                   << "4" << 17 << false << -1;
    }
    void settingsValues()
    {
        QFETCH(QString, colour);
        QFETCH(QString, hints);
        QFETCH(QString, delay);
        WindowFixture f;
        WriteSettingsFile(f.root.path(),
            { { "TransparentColour", colour.toStdString() }, { "Hints", hints.toStdString() },
                { "HintDelay", delay.toStdString() } });
        auto& w = f.open(false);
        QTEST(w.settings().transparentColour, "expectedColour");
        QTEST(w.hintsOn(), "expectedHints");
        QFETCH(int, expectedDelay);
        if (expectedDelay >= 0) {
            QCOMPARE(w.hintDelay(), expectedDelay);
            QCOMPARE(QApplication::style()->styleHint(QStyle::SH_ToolTip_WakeUpDelay), expectedDelay);
        }
        if (!w.hintsOn()) {
            // The window swallows every tool-tip request before a widget sees it.
            QHelpEvent tip(QEvent::ToolTip, QPoint(1, 1), QPoint(1, 1));
            qApp->notify(w.findChild<QWidget*>("OpenBtn"), &tip);
            QVERIFY(!QToolTip::isVisible());
        }
    }

    void aSettingsFileReadWithTroubleSaysSoInTheStatusBar()
    {
        WindowFixture f;
        // "[Tarnwick]" in UTF-16 with its byte-order mark.
        QByteArray utf16("\xFF\xFE", 2);
        for (char c : QByteArray("[Tarnwick]\r\nHints=0\r\n"))
            utf16.append(c).append('\0');
        WriteBytes(f.settings, utf16);
        auto& w = f.open(false);
        QVERIFY2(w.statusText().contains("UTF-16"), qPrintable(w.statusText()));
        QVERIFY(!w.hintsOn());
    }

    void noSettingsFileNamesEveryNationNoIniFile()
    {
        WindowFixture f;
        WriteSampleOobFile(f.work, 12);
        auto& w = f.open(false);
        QCOMPARE(w.windowTitle(), "Tarnwick for GH:FTK : No File Loaded " + f.work + ":");
        auto* list = w.findChild<QListWidget*>("TarnListBox");
        QCOMPARE(list->count(), 99);
        for (int i = 0; i < 99; ++i)
            QVERIFY2(list->item(i)->text().endsWith(" - *NO INI FILE!*"), qPrintable(list->item(i)->text()));
        QCOMPARE(list->item(11)->text(), QString("obat12 - *NO INI FILE!*"));
    }

    void defaultDirectory_data()
    {
        QTest::addColumn<bool>("exists");
        QTest::newRow("enters the folder") << true;
        QTest::newRow("cannot be entered") << false;
    }
    void defaultDirectory()
    {
        QFETCH(bool, exists);
        WindowFixture f;
        const QString games = QDir(f.root.path()).filePath("games");
        if (exists)
            QDir().mkpath(games);
        WriteSettingsFile(f.root.path(), { { "DefaultDir", games.toStdString() } });
        auto& w = f.open(false);
        if (exists) {
            QVERIFY(f.dialogs.boxes.isEmpty());
            QCOMPARE(w.currentDir(), games);
            QVERIFY(QDir::currentPath() != games);
            QCOMPARE(w.windowTitle(), QString("Tarnwick for GH:FTK : No File Loaded "));
            QCOMPARE(w.statusText(), "Searching in " + games);
        } else {
            QCOMPARE(f.dialogs.boxes.size(), 1);
            QCOMPARE(f.dialogs.boxes[0].text,
                QString("Cannot find default directory directory, starting in Tarnwick GH:FTK .exe dir"));
            QCOMPARE(w.currentDir(), f.work);
            QCOMPARE(w.windowTitle(), "Tarnwick for GH:FTK : No File Loaded " + f.work + ":");
        }
    }

    void functionKeysReachTheWindowFromAnyChild()
    {
        WindowFixture f;
        auto& w = f.open();
        auto* edit = w.findChild<QLineEdit*>("DirectoryEdit");
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_F3); // nothing to find before a record page was entered
        QCOMPARE(w.statusText(), QString());
        QTest::keyClick(edit, Qt::Key_F12);
        QCOMPARE(w.statusText(), QString("Unknown Page!"));
        QTest::keyClick(w.findChild<QListWidget*>("TarnListBox"), Qt::Key_F9);
        QCOMPARE(w.statusText(), QString("Wrong Page"));
        QVERIFY(f.dialogs.boxes.isEmpty());
    }

    void pageKeysNeverShowAHiddenPage()
    {
        WindowFixture f;
        WriteSampleOobFile(f.work, 12);
        auto& w = f.open();
        auto* files = Child<QListWidget>(w, "TarnListBox");
        auto* viewer = w.findChild<QTabWidget*>("Viewer");
        QTRY_VERIFY(files->hasFocus());
        const struct {
            Qt::Key key;
            Qt::KeyboardModifiers modifiers;
            const char* afterOpen; // the page the key leads to from Load/Save once a file is open
        } keys[] = {
            { Qt::Key_Tab, Qt::ControlModifier, "Units" },
            { Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier, "Info" },
            { Qt::Key_Tab, Qt::ControlModifier | Qt::ShiftModifier, "Info" },
            { Qt::Key_PageDown, Qt::ControlModifier, "Units" },
            { Qt::Key_PageUp, Qt::ControlModifier, "Info" },
        };
        const auto pressEverywhere = [&](const auto& k) {
            for (QWidget* target : { static_cast<QWidget*>(files), static_cast<QWidget*>(viewer->tabBar()),
                     static_cast<QWidget*>(viewer) })
                QTest::keyClick(target, k.key, k.modifiers);
        };
        for (const auto& k : keys) {
            pressEverywhere(k);
            QCOMPARE(viewer->currentWidget()->objectName(), QString("Load"));
            QCOMPARE(w.currentPage(), int(gui::kPageLoad));
        }
        for (Qt::Key arrow : { Qt::Key_Left, Qt::Key_Right, Qt::Key_Home, Qt::Key_End })
            QTest::keyClick(viewer->tabBar(), arrow);
        QCOMPARE(viewer->currentWidget()->objectName(), QString("Load"));

        files->setCurrentRow(11); // Ctrl+PageUp/PageDown moved through the list
        w.TarnListBoxDblClick();
        QVERIFY(w.state().fileLoaded);
        for (const auto& k : keys) {
            viewer->setCurrentIndex(int(gui::kPageLoad));
            QTest::keyClick(viewer, k.key, k.modifiers);
            QCOMPARE(viewer->currentWidget()->objectName(), QString(k.afterOpen));
        }
    }

    void exitQuestion_data()
    {
        QTest::addColumn<bool>("yes");
        QTest::newRow("yes closes") << true;
        QTest::newRow("no keeps everything") << false;
    }
    void exitQuestion()
    {
        QFETCH(bool, yes);
        WindowFixture f;
        WriteSampleOobFile(f.work, 3);
        auto& w = f.open();
        w.TarnListBoxDblClick();
        QVERIFY(w.state().fileLoaded);
        auto* name = w.findChild<QLineEdit*>("UnitnameEdit");
        name->setText("still typing");
        const QString title = w.windowTitle();
        f.dialogs.clear();

        // The typing is asked about first; the page is left for the Exit button's.
        w.findChild<QTabWidget*>("Viewer")->setCurrentWidget(w.findChild<QWidget*>("Load"));
        QCOMPARE(f.dialogs.boxes.size(), 1);
        QCOMPARE(f.dialogs.boxes[0].text, QString("Commit the changes to unit 1?"));
        name->setText("still typing");
        f.dialogs.clear();
        f.dialogs.setNextAnswer(yes ? gui::Dialogs::Answer::Yes : gui::Dialogs::Answer::No);
        w.findChild<QPushButton*>("ExitButton")->click();
        QCOMPARE(f.dialogs.boxes.size(), 1);
        QCOMPARE(f.dialogs.boxes[0].kind, Kind::Question);
        QCOMPARE(f.dialogs.boxes[0].caption, QString("Program Exit"));
        QCOMPARE(f.dialogs.boxes[0].text,
            QString("Do you really want to quit?\n\n - Have you saved all your edits?"));
        QCOMPARE(f.dialogs.boxes[0].buttons, gui::Dialogs::Buttons::YesNo);
        QCOMPARE(w.isVisible(), !yes);
        if (!yes) {
            QCOMPARE(w.windowTitle(), title);
            QCOMPARE(name->text(), QString("still typing"));
            QVERIFY(w.state().fileLoaded);
            QCOMPARE(w.state().currentNation, 3);
        }
    }

    void neverSmallerThanCreated()
    {
        WindowFixture f;
        auto& w = f.open();
        QCOMPARE(w.size(), QSize(781, 602));
        QCOMPARE(w.minWindowWidth(), 781);
        QCOMPARE(w.minWindowHeight(), 602);
        w.resize(500, 700);
        QCOMPARE(w.size(), QSize(781, 700));
        w.resize(900, 300);
        QCOMPARE(w.size(), QSize(900, 602));

        // A desktop that ignores the size hint makes the window smaller anyway:
        // it is set back in the dimension that went below.
        for (const QSize& forced : { QSize(500, 700), QSize(900, 300), QSize(400, 200) }) {
            w.resize(900, 700);
            w.windowHandle()->resize(forced);
            QTRY_COMPARE(w.size(), forced.expandedTo(QSize(781, 602)));
            QCOMPARE(w.windowHandle()->size(), forced.expandedTo(QSize(781, 602)));
        }
        auto* find = w.findChild<QWidget*>("EditFind");
        auto* findButton = w.findChild<QWidget*>("SpeedButtonFind");
        QVERIFY(find->geometry().right() < findButton->geometry().left());
    }

    void aboutShowsTheAboutBoxModally()
    {
        WindowFixture f;
        auto& w = f.open();
        auto* about = Child<gui::TmyAboutBox>(w, "TmyAboutBox");
        QCOMPARE(about->parent(), &w); // the window's own, made once
        bool seen = false;
        OnNextModal([&](QWidget* modal) {
            seen = modal == about;
            about->accept();
        });
        w.findChild<QAction*>("About1")->trigger(); // returns when the box is closed
        QVERIFY(seen);
        QVERIFY(!about->isVisible());
    }

    void helpOpensThePageBesideTheProgramOrTheSharedOne()
    {
        WindowFixture f;
        auto& w = f.open(false);
        auto* help = w.findChild<QPushButton*>("Button1");
        help->click(); // no page anywhere: the box says where it should be
        QVERIFY(f.dialogs.openedDocuments.isEmpty());
        QCOMPARE(f.dialogs.boxes.size(), 1);
        QCOMPARE(f.dialogs.boxes[0].kind, Kind::Warning);
        QVERIFY(f.dialogs.boxes[0].text.contains(QDir(f.programDir).filePath("TWGHFTXHelp.htm")));
        f.dialogs.clear();

        const QString sharedDir = QDir(f.root.path()).filePath("share/tarnwick");
        QDir().mkpath(sharedDir);
        WriteBytes(QDir(sharedDir).filePath("TWGHFTXHelp.htm"), "<html></html>");
        help->click();
        QCOMPARE(f.dialogs.openedDocuments, QStringList { QDir(sharedDir).filePath("TWGHFTXHelp.htm") });

        const QString beside = QDir(f.programDir).filePath("TWGHFTXHelp.htm");
        WriteBytes(beside, "<html></html>");
        w.findChild<QAction*>("Help2")->trigger();
        QCOMPARE(f.dialogs.openedDocuments.last(), beside);
        QVERIFY(f.dialogs.boxes.isEmpty());

        // No browser to show it: the box names the page, so it can be opened by hand.
        f.dialogs.documentOpens = false;
        help->click();
        QCOMPARE(f.dialogs.boxes.size(), 1);
        QCOMPARE(f.dialogs.boxes[0].kind, Kind::Warning);
        QVERIFY2(f.dialogs.boxes[0].text.contains(beside), qPrintable(f.dialogs.boxes[0].text));
    }
};

QTEST_MAIN(TestMainWindow)
#include "test_mainwindow.moc"
