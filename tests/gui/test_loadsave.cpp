// The Load/Save page: folder chooser, file list, open, save, save as, CSV dump.

#include "core/data/tarnio.h"
#include "gui/app/sdimain.h"
#include "gui/pages/unitpage.h"
#include "support/guitest.h"
#include "support/windowfixture.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

#include <filesystem>
#include <fstream>
#include <iterator>

#include <unistd.h>

using namespace tarnwick;
using namespace tarnwick::testing;
using Kind = gui::Dialogs::Kind;

namespace {

const std::map<int, std::string> kNames { { 5, "Valdoria" }, { 12, "Karsovia" }, { 13, "Ostmark \xC4" } };

QString Path(const QString& dir, const char* name)
{
    return QDir(dir).filePath(QString::fromLatin1(name));
}

} // namespace

class TestLoadSave : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { InstallMessageFilter(); }
    void cleanup() { RejectOpenModals(); }

    void emptyFolderGivesAnEmptyListAndOpenDoesNothing()
    {
        WindowFixture f;
        auto& w = f.open(false);
        QCOMPARE(Child<QListWidget>(w, "TarnListBox")->count(), 0);
        const QString title = w.windowTitle();
        Child<QPushButton>(w, "OpenBtn")->click();
        QVERIFY(f.dialogs.boxes.isEmpty());
        QCOMPARE(w.windowTitle(), title);
        QVERIFY(!w.state().fileLoaded);
    }

    void listShowsEveryNationAndSelectsTheFirstFile()
    {
        WindowFixture f;
        WriteSettingsFile(f.root.path(), {}, kNames);
        WriteSampleOobFile(f.work, 12);
        auto& w = f.open(false);
        auto* files = Child<QListWidget>(w, "TarnListBox");
        QCOMPARE(files->count(), 99);
        QCOMPARE(files->item(11)->text(), QString("obat12 - Karsovia"));
        QCOMPARE(files->currentRow(), 11);
        QVERIFY(files->item(11)->isSelected());
        QCOMPARE(files->item(4)->text(), QString(" ? obat05 - Valdoria"));
        QCOMPARE(files->item(12)->text(), QString::fromUtf8(" ? obat13 - Ostmark \u00C4"));
        for (int i = 0; i < 99; ++i) {
            if (i != 11)
                QVERIFY2(files->item(i)->text().startsWith(" ? obat"), qPrintable(QString::number(i)));
        }
    }

    void openShowsTheFileAndEveryPage()
    {
        WindowFixture f;
        WriteSettingsFile(f.root.path(), {}, kNames);
        WriteSampleOobFile(f.work, 5);
        WriteSampleOobFile(f.work, 12);
        auto& w = f.open();
        auto* files = Child<QListWidget>(w, "TarnListBox");
        // The keyboard starts in the file list.
        QTRY_VERIFY(files->hasFocus());
        files->setCurrentRow(11);
        Child<QPushButton>(w, "OpenBtn")->click();
        QVERIFY(f.dialogs.boxes.isEmpty());
        QCOMPARE(w.windowTitle(), "Tarnwick for GH:FTK : " + f.work + "/obat12 - Karsovia[*]");
        QCOMPARE(w.statusText(), "Loaded " + f.work + "/obat12 - Karsovia");
        QVERIFY(w.state().fileLoaded);
        QCOMPARE(w.state().currentNation, 12);
        QCOMPARE(Records(w).units[1].name, std::string("Scout car"));
        for (int i = 0; i < 5; ++i)
            QVERIFY(Child<QTabWidget>(w, "Viewer")->isTabVisible(i));
        QCOMPARE(ShownPage(w), QString("Units"));
        QCOMPARE(w.currentPage(), int(gui::kPageUnits));
        QTRY_VERIFY(w.findChild<QLineEdit*>("UnitnameEdit")->hasFocus());
        for (const char* name : { "SaveAs1", "WriteCSV1", "Reclassify1", "Renationalise1", "SaveFileAs1",
                 "ChangeTransparentColour1" })
            QVERIFY2(Child<QAction>(w, name)->isEnabled(), name);
        QVERIFY(Child<QMenu>(w, "Grid1")->menuAction()->isEnabled());
        for (const char* name : { "SaveBtn", "SaveAsBtn", "ExportBtn" })
            QVERIFY2(Child<QPushButton>(w, name)->isEnabled(), name);
        QVERIFY(Child<QToolButton>(w, "CommitButton")->isEnabled());
        QVERIFY(Child<QComboBox>(w, "EditFind")->isEnabled());
        QVERIFY(Child<QToolButton>(w, "SpeedButtonFind")->isEnabled());

        // Back on the Load/Save page the record buttons are off, the find controls stay on.
        ShowPage(w, "Load");
        QCOMPARE(w.currentPage(), int(gui::kPageLoad));
        QVERIFY(!Child<QToolButton>(w, "CommitButton")->isEnabled());
        QVERIFY(Child<QComboBox>(w, "EditFind")->isEnabled());

        // Enter on a row opens it too; the list has the keyboard again.
        QTRY_VERIFY(files->hasFocus());
        files->setCurrentRow(4);
        QTest::keyClick(files, Qt::Key_Return);
        QCOMPARE(w.state().currentNation, 5);
        QCOMPARE(w.windowTitle(), "Tarnwick for GH:FTK : " + f.work + "/obat05 - Valdoria[*]");
    }

    void rowWithoutAFileAsksForAnotherFolder()
    {
        WindowFixture f;
        WriteSampleOobFile(f.work, 12);
        auto& w = f.open(false);
        const QString title = w.windowTitle();
        Child<QListWidget>(w, "TarnListBox")->setCurrentRow(3);
        w.TarnListBoxDblClick();
        QCOMPARE(f.dialogs.boxes.size(), 1);
        QCOMPARE(f.dialogs.boxes[0].caption, QString("File Not Found"));
        QCOMPARE(f.dialogs.boxes[0].text, QString("Try changing your current directory !"));
        QCOMPARE(w.windowTitle(), title);
        QVERIFY(!w.state().fileLoaded);

        // A file that went away after the list was filled is noticed at open.
        QFile::remove(Path(f.work, "obat012.obf"));
        Child<QListWidget>(w, "TarnListBox")->setCurrentRow(11);
        w.TarnListBoxDblClick();
        QCOMPARE(f.dialogs.boxes.size(), 2);
        QCOMPARE(f.dialogs.boxes[1].text, QString("Try changing your current directory !"));
    }

    void failedReadChangesNothing()
    {
        WindowFixture f;
        WriteSampleOobFile(f.work, 1);
        // A file the system refuses to read: the kernel's memory file of the test itself.
        QVERIFY(QFile::link("/proc/self/mem", Path(f.work, "obat002.obf")));
        auto& w = f.open(false);
        Child<QListWidget>(w, "TarnListBox")->setCurrentRow(0);
        w.TarnListBoxDblClick();
        QVERIFY(w.state().fileLoaded);
        const QString title = w.windowTitle();
        const QString status = w.statusText();

        Child<QListWidget>(w, "TarnListBox")->setCurrentRow(1);
        w.TarnListBoxDblClick();
        QCOMPARE(f.dialogs.boxes.size(), 1);
        QCOMPARE(f.dialogs.boxes[0].kind, Kind::Error);
        QCOMPARE(f.dialogs.boxes[0].caption, QString("File Load Error"));
        QVERIFY2(f.dialogs.boxes[0].text.contains(Path(f.work, "obat002.obf")),
            qPrintable(f.dialogs.boxes[0].text));
        QCOMPARE(w.windowTitle(), title);
        QCOMPARE(w.statusText(), status);
        QCOMPARE(w.state().currentNation, 1);
        QCOMPARE(Records(w).units[1].name, std::string("Scout car"));
        QCOMPARE(Records(w).units[1].nation, 1);
    }

    void oddSizedFilesOpenWithAWarning_data()
    {
        QTest::addColumn<int>("size");
        QTest::newRow("short") << 1000;
        QTest::newRow("long") << int(core::kOobFileSize) + 10;
    }
    void oddSizedFilesOpenWithAWarning()
    {
        QFETCH(int, size);
        WindowFixture f;
        WriteBytes(Path(f.work, "obat007.obf"), QByteArray(size, '\0'));
        auto& w = f.open(false);
        w.TarnListBoxDblClick();
        QCOMPARE(f.dialogs.boxes.size(), 1);
        QCOMPARE(f.dialogs.boxes[0].kind, Kind::Warning);
        QVERIFY(f.dialogs.boxes[0].text.contains(Path(f.work, "obat007.obf")));
        QVERIFY(f.dialogs.boxes[0].text.contains(QString::number(size)));
        QVERIFY(w.state().fileLoaded);

        // The save writes a full file, plus the extra bytes of a long one.
        Child<QPushButton>(w, "SaveBtn")->click();
        QCOMPARE(QFileInfo(Path(f.work, "obat007.obf")).size(), qMax<qint64>(size, core::kOobFileSize));
    }

    void saveAndCtrlSWriteTheFileAndSayWhere()
    {
        WindowFixture f;
        const QString file = WriteSampleOobFile(f.work, 12);
        const QByteArray original = ReadBytes(file);
        auto& w = f.open();
        w.TarnListBoxDblClick();

        QFile::remove(file);
        Child<QPushButton>(w, "SaveBtn")->click();
        QCOMPARE(w.statusText(), "Saved " + f.work + "/obat012.obf");
        QCOMPARE(ReadBytes(file), original);

        QFile::remove(file);
        QTest::keyClick(&w, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(w.statusText(), "Saved " + f.work + "/obat012.obf"); // the file's real name
        QCOMPARE(ReadBytes(file), original);
        QVERIFY(f.dialogs.boxes.isEmpty());
    }

    void aFolderWithoutFilesKeepsThePageLayout()
    {
        WindowFixture f;
        auto names = kNames;
        names[5] = "Grand Duchy of the Far Marches";
        WriteSettingsFile(f.root.path(), {}, names);
        WriteSampleOobFile(f.work, 12);
        QDir(f.work).mkpath("empty");
        auto& w = f.open();
        auto* loadPage = Child<gui::LoadSavePage>(w, "Load");
        QCoreApplication::processEvents();
        const int filesWidth = loadPage->FilesBox->maximumWidth();
        const int folderWidth = loadPage->FolderBox->width();
        w.DirectoryListBox1Change(Path(f.work, "empty"));
        QCOMPARE(Child<QListWidget>(w, "TarnListBox")->count(), 0);
        QCoreApplication::processEvents();
        QCOMPARE(loadPage->FilesBox->maximumWidth(), filesWidth);
        QCOMPARE(loadPage->FolderBox->width(), folderWidth);
    }

    void saveGoesBackToTheFolderTheFileCameFrom()
    {
        WindowFixture f;
        WriteSampleOobFile(f.work, 12);
        QDir(f.work).mkpath("other");
        auto& w = f.open(false);
        w.TarnListBoxDblClick();
        const QString title = w.windowTitle();

        auto* folders = Child<QListWidget>(w, "DirectoryListBox1");
        QCOMPARE(folders->item(0)->text(), QString(".."));
        QCOMPARE(folders->item(1)->text(), QString("other"));
        emit folders->itemActivated(folders->item(1));
        const QString other = Path(f.work, "other");
        QCOMPARE(w.currentDir(), other);
        QVERIFY(QDir::currentPath() != other); // the process keeps its own folder
        QCOMPARE(w.statusText(), "Searching in " + other);
        QCOMPARE(Child<QListWidget>(w, "TarnListBox")->count(), 0);
        QCOMPARE(w.windowTitle(), title); // the loaded file stays

        Child<QPushButton>(w, "SaveBtn")->click();
        QCOMPARE(w.statusText(), "Saved " + f.work + "/obat012.obf");
        QVERIFY(!QFile::exists(Path(other, "obat012.obf")));
        QCOMPARE(Child<QListWidget>(w, "TarnListBox")->count(), 0); // a save does not refill the list

        emit folders->itemActivated(folders->item(0));
        QCOMPARE(w.currentDir(), f.work);
    }

    void folderFieldAndBrowse()
    {
        WindowFixture f;
        QDir(f.work).mkpath("a/b");
        auto& w = f.open(false);
        auto* folderEdit = Child<QLineEdit>(w, "DirectoryEdit");
        folderEdit->setText(Path(f.work, "a/b"));
        emit folderEdit->returnPressed();
        QCOMPARE(w.currentDir(), Path(f.work, "a/b"));

        // A folder that cannot be entered is reported and changes nothing.
        folderEdit->setText(Path(f.work, "missing"));
        emit folderEdit->returnPressed();
        QCOMPARE(f.dialogs.boxes.size(), 1);
        QCOMPARE(f.dialogs.boxes[0].kind, Kind::Warning);
        QVERIFY(f.dialogs.boxes[0].text.contains(Path(f.work, "missing")));
        QCOMPARE(w.currentDir(), Path(f.work, "a/b"));
        QCOMPARE(folderEdit->text(), Path(f.work, "a/b"));

        f.dialogs.setNextFolder(Path(f.work, "a"));
        Child<QPushButton>(w, "BrowseBtn")->click();
        QCOMPARE(w.currentDir(), Path(f.work, "a"));
        f.dialogs.setNextFolder(std::nullopt);
        Child<QPushButton>(w, "BrowseBtn")->click();
        QCOMPARE(w.currentDir(), Path(f.work, "a"));
    }

    void failedSaveIsReportedAndClaimsNothing()
    {
        WindowFixture f;
        QDir(f.work).mkpath("gone");
        WriteSampleOobFile(Path(f.work, "gone"), 12);
        auto& w = f.open(false);
        w.DirectoryListBox1Change(Path(f.work, "gone"));
        w.TarnListBoxDblClick();
        const QString status = w.statusText();
        QVERIFY(QDir(Path(f.work, "gone")).removeRecursively());

        Child<QPushButton>(w, "SaveBtn")->click();
        Child<QAction>(w, "SaveAs1")->trigger();
        Child<QPushButton>(w, "ExportBtn")->click();
        QCOMPARE(f.dialogs.boxes.size(), 3);
        for (const auto& box : f.dialogs.boxes) {
            QCOMPARE(box.kind, Kind::Error);
            QVERIFY2(box.text.contains(Path(f.work, "gone/")), qPrintable(box.text));
            QVERIFY2(box.text.contains("No such file or directory"), qPrintable(box.text));
        }
        QCOMPARE(w.statusText(), status);

        // Listing the folder that went away says so too.
        w.SetList();
        QCOMPARE(f.dialogs.boxes.size(), 4);
        QCOMPARE(f.dialogs.boxes[3].kind, Kind::Warning);
        QVERIFY2(f.dialogs.boxes[3].text.contains(Path(f.work, "gone") + ": No such file or directory"),
            qPrintable(f.dialogs.boxes[3].text));
    }

    void saveOverAFolderLeavesItAlone()
    {
        WindowFixture f;
        const QString file = WriteSampleOobFile(f.work, 12);
        auto& w = f.open(false);
        w.TarnListBoxDblClick();
        // Something that is not a file stands where the save wants to write.
        QFile::remove(file);
        QDir(f.work).mkpath("obat012.obf/keep");
        Child<QPushButton>(w, "SaveBtn")->click();
        QCOMPARE(f.dialogs.boxes.size(), 1);
        QCOMPARE(f.dialogs.boxes[0].kind, Kind::Error);
        QVERIFY(QDir(Path(f.work, "obat012.obf/keep")).exists());
        QVERIFY(!w.statusText().startsWith("Saved"));
    }

    void saveIntoAReadOnlyFolderKeepsTheOldFile()
    {
        if (::geteuid() == 0)
            QSKIP("the superuser writes into read-only folders");
        WindowFixture f;
        const QString file = WriteSampleOobFile(f.work, 12);
        const QByteArray original = ReadBytes(file);
        auto& w = f.open(false);
        w.TarnListBoxDblClick();
        ChangeRecords(w, [](core::TOobData& r) { r.units[1].name = "Changed"; });
        const QString status = w.statusText();
        QFile::setPermissions(f.work, QFile::ReadOwner | QFile::ExeOwner);
        Child<QPushButton>(w, "SaveBtn")->click();
        QFile::setPermissions(f.work, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(f.dialogs.boxes.size(), 1);
        QCOMPARE(f.dialogs.boxes[0].kind, Kind::Error);
        QVERIFY(f.dialogs.boxes[0].text.contains(f.work));
        QCOMPARE(w.statusText(), status);
        QCOMPARE(ReadBytes(file), original);
    }

    void saveAsCutsTheNameAndRefillsTheList()
    {
        WindowFixture f;
        const QString file = WriteSampleOobFile(f.work, 12);
        QDir(f.work).mkpath("elsewhere");
        auto& w = f.open(false);
        w.TarnListBoxDblClick();
        const QString title = w.windowTitle();
        const QString status = w.statusText();

        f.dialogs.setNextFileName(std::nullopt);
        Child<QPushButton>(w, "SaveAsBtn")->click();
        QCOMPARE(f.dialogs.fileDialogs.size(), 1);
        QCOMPARE(f.dialogs.fileDialogs[0].title, QString("Select file to SAVE AS"));
        QCOMPARE(f.dialogs.fileDialogs[0].filter, QString("obat Files (obat*.obf);;All Files (*)"));
        QCOMPARE(f.dialogs.fileDialogs[0].startDir, file); // the open file's name is proposed
        QCOMPARE(w.statusText(), status);

        f.dialogs.setNextFileName(Path(f.work, "elsewhere/obat012copy.obf"));
        Child<QAction>(w, "SaveFileAs1")->trigger();
        QCOMPARE(QDir(Path(f.work, "elsewhere")).entryList(QDir::Files), QStringList { "obat012copy." });
        QCOMPARE(ReadBytes(Path(f.work, "elsewhere/obat012copy.")), ReadBytes(file));
        QCOMPARE(w.statusText(), "Saved " + Path(f.work, "elsewhere/obat012copy."));

        f.dialogs.setNextFileName(Path(f.work, "obat004.obf"));
        Child<QPushButton>(w, "SaveAsBtn")->click();
        // The list was refilled.
        QCOMPARE(Child<QListWidget>(w, "TarnListBox")->item(3)->text().left(6), QString("obat04"));
        QCOMPARE(w.windowTitle(), title);
        QCOMPARE(w.statusText(), "Saved " + Path(f.work, "obat004.obf"));
        QCOMPARE(w.state().currentNation, 12);
        QVERIFY(f.dialogs.boxes.isEmpty());
    }

    void saveAsCutsTwelveWholeCharacters_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("written");
        QTest::newRow("short, two-byte letters")
            << QString::fromUtf8("a\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9.obf")
            << QString::fromUtf8("a\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9.obf");
        QTest::newRow("long, two-byte letters")
            << QString::fromUtf8(
                   "a\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9.obf")
            << QString::fromUtf8("a\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9");
        QTest::newRow("three-byte letters")
            << QString::fromUtf8(
                   "\u65e5\u672c\u8a9e\u65e5\u672c\u8a9e\u65e5\u672c\u8a9e\u65e5\u672c\u8a9e.obf")
            << QString::fromUtf8("\u65e5\u672c\u8a9e\u65e5\u672c\u8a9e\u65e5\u672c\u8a9e\u65e5\u672c\u8a9e");
    }
    void saveAsCutsTwelveWholeCharacters()
    {
        QFETCH(QString, typed);
        QFETCH(QString, written);
        WindowFixture f;
        const QString file = WriteSampleOobFile(f.work, 12);
        QDir(f.work).mkpath("out");
        auto& w = f.open(false);
        w.TarnListBoxDblClick();
        f.dialogs.setNextFileName(QDir(Path(f.work, "out")).filePath(typed));
        Child<QPushButton>(w, "SaveAsBtn")->click();
        QCOMPARE(QDir(Path(f.work, "out")).entryList(QDir::Files), QStringList { written });
        QCOMPARE(ReadBytes(QDir(Path(f.work, "out")).filePath(written)), ReadBytes(file));
        QCOMPARE(w.statusText(), "Saved " + QDir(Path(f.work, "out")).filePath(written));
    }

    void saveAsOverAnotherFileAsksFirst_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("asked");
        QTest::addColumn<bool>("written");
        QTest::newRow("yes replaces it") << "obat004.obf" << int(gui::Dialogs::Answer::Yes) << true << true;
        QTest::newRow("no keeps it") << "obat004.obf" << int(gui::Dialogs::Answer::No) << true << false;
        QTest::newRow("the open file is saved")
            << "obat012.obf" << int(gui::Dialogs::Answer::No) << false << true;
    }
    void saveAsOverAnotherFileAsksFirst()
    {
        QFETCH(QString, name);
        QFETCH(int, answer);
        QFETCH(bool, asked);
        QFETCH(bool, written);
        WindowFixture f;
        WriteSampleOobFile(f.work, 12);
        WriteBytes(Path(f.work, "obat004.obf"), "old bytes");
        auto& w = f.open(false);
        Child<QListWidget>(w, "TarnListBox")->setCurrentRow(11);
        w.TarnListBoxDblClick();
        const QString status = w.statusText();
        ChangeRecords(w, [](core::TOobData& r) { r.units[1].name = "Changed"; });
        const QString target = QDir(f.work).filePath(name);
        const QByteArray before = ReadBytes(target);

        f.dialogs.setNextAnswer(gui::Dialogs::Answer(answer));
        f.dialogs.setNextFileName(target);
        Child<QPushButton>(w, "SaveAsBtn")->click();
        QCOMPARE(f.dialogs.boxes.size(), asked ? 1 : 0);
        if (asked) {
            QCOMPARE(f.dialogs.boxes[0].kind, Kind::Question);
            QCOMPARE(f.dialogs.boxes[0].buttons, gui::Dialogs::Buttons::YesNoDefaultNo);
            QVERIFY(f.dialogs.boxes[0].text.contains(target));
        }
        QCOMPARE(ReadBytes(target) != before, written);
        QCOMPARE(ReadBytes(target).contains("Changed"), written);
        QCOMPARE(w.statusText(), written ? "Saved " + target : status);
    }

    void folderNamedInLatin1IsListedEnteredAndUsed()
    {
        namespace fs = std::filesystem;
        WindowFixture f;
        const QString sample = WriteSampleOobFile(f.work, 12);
        const fs::path work(QFile::encodeName(f.work).toStdString());
        const fs::path odd = work / "caf\xE9"; // not valid UTF-8
        fs::create_directories(odd / "sub");
        fs::copy_file(QFile::encodeName(sample).toStdString(), odd / "obat012.obf");
        QFile::remove(sample);
        const QString shown = f.work + QString::fromUtf8("/caf\uFFFD");

        auto& w = f.open(false);
        auto* folderEdit = Child<QLineEdit>(w, "DirectoryEdit");
        auto* folders = Child<QListWidget>(w, "DirectoryListBox1");
        QCOMPARE(folders->count(), 2);
        QCOMPARE(folders->item(1)->text(), QString::fromUtf8("caf\uFFFD"));
        emit folders->itemActivated(folders->item(1));
        QVERIFY(f.dialogs.boxes.isEmpty());
        QCOMPARE(w.currentPath(), odd);
        QVERIFY(fs::current_path() != odd); // the process keeps its own folder
        QCOMPARE(w.currentDir(), shown);
        QCOMPARE(w.statusText(), "Searching in " + shown);
        QCOMPARE(folderEdit->text(), shown);
        QCOMPARE(folders->item(1)->text(), QString("sub"));

        // Open and save there.
        QCOMPARE(Child<QListWidget>(w, "TarnListBox")->count(), 99);
        Child<QPushButton>(w, "OpenBtn")->click();
        QVERIFY(w.state().fileLoaded);
        QCOMPARE(Records(w).units[1].name, std::string("Scout car"));
        ChangeRecords(w, [](core::TOobData& r) { r.units[1].name = "Changed"; });
        Child<QPushButton>(w, "SaveBtn")->click();
        QVERIFY(f.dialogs.boxes.isEmpty());
        QCOMPARE(w.statusText(), "Saved " + shown + "/obat012.obf");
        std::ifstream saved(odd / "obat012.obf", std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(saved)), std::istreambuf_iterator<char>());
        QVERIFY(bytes.find("Changed") != std::string::npos);

        // A path typed below the shown one keeps the folder's own bytes.
        folderEdit->setText(shown + "/sub");
        emit folderEdit->returnPressed();
        QVERIFY(f.dialogs.boxes.isEmpty());
        QCOMPARE(w.currentPath(), odd / "sub");
        emit folders->itemActivated(folders->item(0));
        QCOMPARE(w.currentPath(), odd);

        // The same folder as the settings' start folder.
        WindowFixture g;
        const fs::path gwork(QFile::encodeName(g.work).toStdString());
        fs::create_directory(gwork / "caf\xE9");
        WriteSettingsFile(g.root.path(), { { "DefaultDir", (gwork / "caf\xE9").string() } });
        auto& v = g.open(false);
        QVERIFY(g.dialogs.boxes.isEmpty());
        QCOMPARE(v.currentPath(), gwork / "caf\xE9");
    }

    void fileListColumnsHoldTheLongestRow_data()
    {
        QTest::addColumn<QString>("longName");
        QTest::newRow("no settings file") << QString();
        QTest::newRow("long nation name") << "Republic of Valdoria and the Northern Isles";
    }
    void fileListColumnsHoldTheLongestRow()
    {
        QFETCH(QString, longName);
        WindowFixture f;
        if (!longName.isEmpty())
            WriteSettingsFile(f.root.path(), {}, { { 1, longName.toStdString() }, { 12, "Karsovia" } });
        WriteSampleOobFile(f.work, 12);
        auto& w = f.open();
        auto* list = Child<QListWidget>(w, "TarnListBox");
        const QFontMetrics metrics(list->font());
        int widest = 0;
        for (int i = 0; i < list->count(); ++i)
            widest = qMax(widest, metrics.horizontalAdvance(list->item(i)->text()));
        if (!longName.isEmpty())
            QCOMPARE(widest, metrics.horizontalAdvance(" ? obat01 - " + longName));
        else
            QCOMPARE(widest, metrics.horizontalAdvance(" ? obat99 - *NO INI FILE!*"));
        QVERIFY2(list->gridSize().width() > widest, qPrintable(QString::number(list->gridSize().width())));
        for (int i : { 0, 11, 98 }) {
            QVERIFY2(list->visualItemRect(list->item(i)).width()
                    >= metrics.horizontalAdvance(list->item(i)->text()),
                qPrintable(list->item(i)->text()));
        }
        // Whole columns only: no row is cut off at the list's edge.
        const int shown = list->viewport()->width();
        for (int i = 0; i < list->count(); ++i) {
            const QRect rect = list->visualItemRect(list->item(i));
            if (rect.left() < shown)
                QVERIFY2(rect.left() + metrics.horizontalAdvance(list->item(i)->text()) <= shown,
                    qPrintable(list->item(i)->text()));
        }
        // Rows of nations without a file are greyed.
        QVERIFY(list->item(0)->foreground() != list->item(11)->foreground());
    }

    void dumpCsvWritesThreeFiles()
    {
        WindowFixture f;
        WriteSampleOobFile(f.work, 7);
        auto& w = f.open(false);
        w.TarnListBoxDblClick();
        Child<QPushButton>(w, "ExportBtn")->click();
        QCOMPARE(w.statusText(), "Text files written to " + f.work);
        for (const char* name : { "obatDUMP07unit.csv", "obatDUMP07wpns.csv", "obatDUMP07fmns.csv" })
            QVERIFY2(QFileInfo(Path(f.work, name)).size() > 0, name);
        QVERIFY(ReadBytes(Path(f.work, "obatDUMP07unit.csv")).contains("Scout car,"));
    }

    void fileCommandsWithoutAFileOnlyExplain()
    {
        WindowFixture f;
        auto& w = f.open(false);
        w.SaveBtnClick();
        w.SaveAsBtnClick();
        w.ExportBtnClick();
        w.Renationalise1Click();
        QCOMPARE(f.dialogs.boxes.size(), 4);
        QCOMPARE(f.dialogs.boxes[0].text, QString("Please load a file first!!"));
        QCOMPARE(f.dialogs.boxes[1].caption, QString("NO FILE"));
        QCOMPARE(f.dialogs.boxes[1].text, QString("Load a Tarn to overwrite first!"));
        QCOMPARE(f.dialogs.boxes[2].caption, QString("NO FILE"));
        QCOMPARE(f.dialogs.boxes[2].text, QString("Load a Tarn to report from first!"));
        QCOMPARE(f.dialogs.boxes[3].text, QString("Please load a file first!!"));
        QVERIFY(f.dialogs.fileDialogs.isEmpty());
        QVERIFY(QDir(f.work).entryList(QDir::Files).isEmpty());
    }
};

QTEST_MAIN(TestLoadSave)
#include "test_loadsave.moc"
