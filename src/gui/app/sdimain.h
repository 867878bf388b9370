#pragma once

// The main window, conductor of the rest: speed buttons, menu, tab pages,
// status bar and function keys. The records and their undo stack are the
// document's (oobdocument.h); the file and record commands work through it
// (filecommands.h, recordcommands.h).

#include "core/data/pastebuffer.h"
#include "core/data/records.h"
#include "core/data/settings.h"
#include "core/graphics/icontables.h"
#include "core/rules/navigation.h"
#include "gui/common/pagecontext.h"
#include "gui/pages/loadsavepage.h"

#include <QMainWindow>
#include <QString>

#include <filesystem>
#include <memory>

class QAction;
class QComboBox;
class QLabel;
class QMenu;
class QMenuBar;
class QStatusBar;
class QTabWidget;
class QTimer;
class QToolButton;
class QWidget;

namespace tarnwick::gui {

class Dialogs;
class TPasterDlg;
class TPickForm;
class TRenatDlg;
class TCompareForm;
class TMergeForm;
class TFormReclassify;
class TFormGridWpns;
class TFormGridUnits;
class TLBMBrowseForm;
class TFormColour;
class TTimelineForm;
class TCheckForm;
class TWhereUsedForm;
class HintStyle;
class UnitPage;
class WeaponPage;
class FormationPage;
class InfoPage;
class RecordPage;
class OobDocument;
class Workspace;
class FileCommands;
class RecordCommands;

struct MainWindowOptions {
    QString settingsFile; // the settings file to read (need not exist)
    QString programDir; // where the help page is looked for
    QString workingFolder; // the start folder when the settings name none; empty: the process's
    Dialogs* dialogs = nullptr; // not owned; null: the real boxes and dialogs
};

// Which tab page is in charge.
enum PageState : int {
    kPageStartup = 0,
    kPageWeapons = 1,
    kPageUnits = 2,
    kPageFormations = 3,
    kPageLoad = 4,
    kPageInfo = 5
};

class TSDIAppForm : public QMainWindow {
    Q_OBJECT
public:
    static constexpr int kDesignWidth = 781;
    static constexpr int kDesignHeight = 602;

    explicit TSDIAppForm(const MainWindowOptions& options, QWidget* parent = nullptr);
    ~TSDIAppForm() override;

    // State, read by tests and by the windows that follow.
    int currentPage() const { return currentPage_; }
    // What the window shows: the document, the current slots, the working
    // folder, the settings and the paste buffers.
    Workspace& workspace() const { return *workspace_; }
    // The working folder as shown (a replacement character for each byte that
    // is not UTF-8), and as the file system's bytes, which every file command uses.
    const QString& currentDir() const;
    const std::filesystem::path& currentPath() const;
    const QString& programDir() const { return programDir_; }
    const core::Settings& settings() const;
    const core::CurrentState& state() const;
    // The loaded file: its records, where it came from, its undo stack.
    OobDocument* document() const;
    core::PasteBuffers& pasteBuffers();
    bool hintsOn() const { return hintsOn_; }
    // The palette index the icons leave out: the settings' value at start,
    // then what the colour dialog sets, for the rest of the run.
    int transparentColour() const { return transparentColour_; }
    // The icon frame table of the working folder.
    const core::IconFrameTableLoad& iconFrames() const { return iconFrames_; }
    int hintDelay() const;
    int minWindowWidth() const { return minWindowWidth_; }
    int minWindowHeight() const { return minWindowHeight_; }
    QString statusText() const;

public slots:
    void SetButtons(bool enabled);
    void SetList();
    void DirectoryListBox1Change(const QString& dir);
    void DirectoryListBox1Change(const std::filesystem::path& dir);
    void TarnListBoxDblClick();
    void OpenBtnClick();
    void SaveBtnClick();
    void SaveAs1Click();
    void SaveAsBtnClick();
    void ExportBtnClick();
    void Button1Click();
    void ExitButtonClick();
    void ExitItemClick();
    void About1Click();
    void Renationalise1Click();
    void Reclassify1Click();
    void CompareWith1Click();
    void MergeWith1Click();
    void WeaponsGrid1Click();
    void UnitsGrid1Click();
    void ChangeTransparentColour1Click();
    void CheckFile1Click();
    void WhereUsed1Click();
    void CommitButtonClick();
    void RestoreButtonClick();
    void EraseButtonClick();
    void CopyButtonClick();
    void PasteButtonClick();
    void SpeedButton_MoveClick();
    void SpeedButtonFindClick();
    void Back1BtnClick();
    void Fwd1BtnClick();
    // Only the right button steps, by ten.
    void Back1BtnMouseDown(Qt::MouseButton button);
    void Fwd1BtnMouseDown(Qt::MouseButton button);
    // Shows a record on its page, as a click on its row would (the windows that
    // list records open them this way); nothing happens while no file is loaded.
    void openRecord(core::PasteKind kind, int slot);
    // Opens the file at path (the command line, a drop): its folder becomes the
    // working folder, its obatNNN name the nation; true when it is open.
    bool openPath(const QString& path);

protected:
    void dragEnterEvent(QDragEnterEvent* event) override; // a file dropped on the window opens
    void dropEvent(QDropEvent* event) override;
    void closeEvent(QCloseEvent* event) override; // FormCloseQuery
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override; // FormResize
    bool eventFilter(QObject* watched, QEvent* event) override; // key preview, hints off

private:
    void FormCreate();
    // Reads the settings; true when their default folder is now the working folder.
    bool readinifile();
    void buildSpeedPanel();
    void buildMenu();
    void buildPages();
    void applyHints();
    bool FormKeyDown(int key);
    void ViewerChange(int index);
    void createWindows();
    void enterRecordPage(RecordPage* page);
    // The record page currentPage names, or null.
    RecordPage* pageInCharge() const;
    void showAgainAfterBulkChange();
    void stepBy(core::Step step);
    void EditFindKeyUp(int key);
    void WeaponsEnter();
    void UnitsEnter();
    void FormationsEnter();
    void LoadEnter();
    void InfoEnter();
    void enableFindControls();
    // Enables or disables every command that needs a loaded file, and shows or hides the record pages.
    void setFileLoaded(bool loaded);
    void setStatus(const QString& text);
    void showError(const QString& text);
    // Reads the working folder's icon frame table; a table file that cannot
    // be used is named in the status bar.
    void loadIconFrames();
    // The check and Where Used windows look again after a change to the records.
    void recheckAfterChange();
    // The document's state on screen: the modified mark and uncommitted typing.
    void watchDocument();
    QString uncommittedText() const;
    void showUncommitted();
    // The name of the page showing uncommitted typing, or empty.
    QString uncommittedPageName() const;
    // Before typing that is not committed would be dropped: asks whether to
    // commit it, discard it or cancel. True when the caller may go on; false
    // (everything as it was) on Cancel or a commit the page refused.
    bool maySetTypingAside();
    // The file just opened, on the Units page.
    void showOpenedFile();
    // Edit > Undo and Redo, after that question.
    void undoDocument();
    void redoDocument();

    MainWindowOptions options_;
    std::unique_ptr<Dialogs> ownDialogs_;
    Dialogs* dialogs_ = nullptr;
    HintStyle* hintStyle_ = nullptr;

    Workspace* workspace_ = nullptr;
    FileCommands* files_ = nullptr;
    RecordCommands* records_ = nullptr;
    PageContext pageContext_;
    int currentPage_ = kPageStartup;
    QString programDir_;
    bool hintsOn_ = true;
    int minWindowWidth_ = 0;
    int minWindowHeight_ = 0;
    QWidget* aboutBox_ = nullptr;
    int transparentColour_ = 240; // until the settings are read
    core::IconFrameTableLoad iconFrames_;
    QTimer* uncommittedTimer_ = nullptr;
    bool uncommitted_ = false;
    QString uncommittedStatus_;
    int pageShown_ = -1; // the tab index the pages were last at

    // The windows it opens, created once in the start-up order.
    TPickForm* PickForm = nullptr;
    TPasterDlg* PasterDlg = nullptr;
    TRenatDlg* RenatDlg = nullptr;
    TCompareForm* CompareForm = nullptr; // made on first use
    TMergeForm* MergeForm = nullptr; // made on first use
    TFormReclassify* FormReclassify = nullptr;
    TFormGridWpns* FormGridWpns = nullptr;
    TFormGridUnits* FormGridUnits = nullptr;
    TLBMBrowseForm* LBMBrowseForm = nullptr;
    TFormColour* FormColour = nullptr;
    TTimelineForm* TimelineForm = nullptr; // not modal
    TCheckForm* CheckForm = nullptr; // not modal
    TWhereUsedForm* WhereUsedForm = nullptr; // not modal

    // Widgets, by their object names; code outside the window finds them by
    // those names.
    QWidget* SpeedPanel = nullptr;
    QToolButton* EraseButton = nullptr;
    QToolButton* CopyButton = nullptr;
    QToolButton* PasteButton = nullptr;
    QToolButton* SpeedButton_Move = nullptr;
    QToolButton* Back1Btn = nullptr;
    QToolButton* Fwd1Btn = nullptr;
    QToolButton* RestoreButton = nullptr;
    QToolButton* CommitButton = nullptr;
    QComboBox* EditFind = nullptr;
    QToolButton* SpeedButtonFind = nullptr;

    QTabWidget* Viewer = nullptr;
    UnitPage* Units = nullptr;
    WeaponPage* Weapons = nullptr;
    FormationPage* Formations = nullptr;
    InfoPage* Info = nullptr;
    LoadSavePage* Load = nullptr;

    QStatusBar* StatusBar = nullptr;
    QLabel* StatusText = nullptr;
    QLabel* ModifiedLabel = nullptr; // shown while the records differ from the file

    QMenuBar* SDIAppMenu = nullptr;
    QMenu* FileMenu = nullptr;
    QMenu* Edit1 = nullptr;
    QAction* Undo1 = nullptr;
    QAction* Redo1 = nullptr;
    QMenu* Grid1 = nullptr;
    QMenu* Help1 = nullptr;
    QAction* SaveAs1 = nullptr;
    QAction* WriteCSV1 = nullptr;
    QAction* Reclassify1 = nullptr;
    QAction* Renationalise1 = nullptr;
    QAction* CompareWith1 = nullptr;
    QAction* MergeWith1 = nullptr;
    QAction* SaveFileAs1 = nullptr;
    QAction* ChangeTransparentColour1 = nullptr;
    QAction* CheckFile1 = nullptr;
    QAction* WhereUsed1 = nullptr;
    QAction* ExitItem = nullptr;
    QAction* ExportArtworkItem = nullptr;
    QAction* WeaponsGrid1 = nullptr;
    QAction* UnitsGrid1 = nullptr;
    QAction* Timeline1 = nullptr;
    QAction* Help2 = nullptr;
    QAction* About1 = nullptr;
};

} // namespace tarnwick::gui
