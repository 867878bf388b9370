// How the main window is put together: the windows it owns, the speed panel,
// the tab pages and the menu. The window's behaviour is in sdimain.cpp.

#include "gui/app/sdimain.h"
#include "gui/app/workspace.h"

#include "core/data/folderscan.h"
#include "core/data/tarnio.h"
#include "core/rules/document.h"
#include "core/rules/move.h"
#include "core/rules/sdimain.h"
#include "gui/app/filecommands.h"
#include "gui/app/hintstyle.h"
#include "gui/app/oobdocument.h"
#include "gui/app/paster.h"
#include "gui/app/recentfiles.h"
#include "gui/app/recordcommands.h"
#include "gui/app/speedicons.h"
#include "gui/app/undokeys.h"
#include "gui/common/bytetext.h"
#include "gui/common/dialogs.h"
#include "gui/common/pagetabs.h"
#include "gui/common/pathtext.h"
#include "gui/common/pickkey.h"
#include "gui/common/screenplace.h"
#include "gui/graphics/artexportdialog.h"
#include "gui/graphics/lbmbrowser.h"
#include "gui/graphics/unitcolour.h"
#include "gui/pages/formationpage.h"
#include "gui/pages/infopage.h"
#include "gui/pages/loadsavepage.h"
#include "gui/pages/unitpage.h"
#include "gui/pages/weaponpage.h"
#include "gui/tools/checkform.h"
#include "gui/tools/compareform.h"
#include "gui/tools/gridunits.h"
#include "gui/tools/gridweapons.h"
#include "gui/tools/picker.h"
#include "gui/tools/reclassify.h"
#include "gui/tools/renationalise.h"
#include "gui/tools/timeline.h"
#include "gui/tools/whereused.h"
#include "gui/ui/about.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QResizeEvent>
#include <QScreen>
#include <QShowEvent>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QToolTip>
#include <QUndoStack>
#include <QVBoxLayout>

#include <filesystem>
#include <functional>
#include <memory>
#include <system_error>
#include <vector>

namespace tarnwick::gui {

namespace {

// A key given is the button's shortcut and ends its hint.
QToolButton* MakeSpeedButton(
    QWidget* parent, const char* name, SpeedIcon icon, const char* hint, const char* key = nullptr)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setIcon(MakeSpeedIcon(icon));
    button->setIconSize(QSize(24, 24));
    button->setAutoRaise(true);
    button->setToolTip(QString::fromLatin1(hint));
    if (key != nullptr) {
        button->setShortcut(QKeySequence(QString::fromLatin1(key)));
        button->setToolTip(QString::fromStdString(core::HintWithKey(hint, key)));
    }
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

QAction* MakeAction(QMenu* menu, const char* name, const char* caption, const char* hint = nullptr)
{
    QAction* action = menu->addAction(QString::fromLatin1(caption));
    action->setObjectName(QString::fromLatin1(name));
    if (hint != nullptr)
        action->setToolTip(QString::fromLatin1(hint));
    return action;
}

// Hands every event of a widget to a function before the widget sees it.
class EventWatcher : public QObject {
public:
    EventWatcher(QObject* target, std::function<void(QEvent*)> onEvent)
        : QObject(target)
        , onEvent_(std::move(onEvent))
    {
        target->installEventFilter(this);
    }
    bool eventFilter(QObject*, QEvent* event) override
    {
        onEvent_(event);
        return false;
    }

private:
    std::function<void(QEvent*)> onEvent_;
};

void WatchEvents(QObject* target, std::function<void(QEvent*)> onEvent)
{
    new EventWatcher(target, std::move(onEvent));
}

} // namespace

void TSDIAppForm::createWindows()
{
    aboutBox_ = new TmyAboutBox(this);
    PickForm = new TPickForm(pageContext_, this);
    pageContext_.picker = PickForm;
    PasterDlg = new TPasterDlg(pageContext_, workspace_->pasteBuffers(), this);
    RenatDlg = new TRenatDlg(pageContext_, this);
    LBMBrowseForm = new TLBMBrowseForm(pageContext_, this);
    pageContext_.lbmBrowser = LBMBrowseForm;
    FormReclassify = new TFormReclassify(pageContext_, this);
    FormGridWpns = new TFormGridWpns(pageContext_, this);
    FormGridUnits = new TFormGridUnits(pageContext_, this);
    records_ = new RecordCommands(workspace_->document(), pageContext_, workspace_->pasteBuffers(), this);
    records_->setWindows(PasterDlg, PickForm);
    connect(Formations, &FormationPage::repairNeeded, records_, &RecordCommands::repairBnHq);
    TimelineForm
        = new TTimelineForm(&workspace_->document().records(), &workspace_->settings().names, dialogs_, this);
    connect(TimelineForm, &TTimelineForm::recordActivated, this, &TSDIAppForm::openRecord);
    connect(&workspace_->document(), &OobDocument::recordsChanged, TimelineForm, &TTimelineForm::refresh);
    // Each try of a colour draws the current unit's icons again at once.
    FormColour = new TFormColour(
        transparentColour_,
        [this] {
            if (workspace_->state().fileLoaded)
                Units->redrawIcons();
        },
        this);
    CheckForm = new TCheckForm(this);
    WhereUsedForm = new TWhereUsedForm(this);
    connect(CheckForm, &TCheckForm::openRecord, this, &TSDIAppForm::openRecord);
    connect(files_, &FileCommands::tidied, CheckForm, &TCheckForm::setSaveNotes);
    connect(WhereUsedForm, &TWhereUsedForm::openRecord, this, &TSDIAppForm::openRecord);
    connect(&workspace_->document(), &OobDocument::recordsChanged, this, &TSDIAppForm::recheckAfterChange);
}

void TSDIAppForm::buildSpeedPanel()
{
    SpeedPanel = new QWidget(this);
    SpeedPanel->setObjectName("SpeedPanel");
    auto* row = new QHBoxLayout(SpeedPanel);
    row->setContentsMargins(6, 3, 6, 3);
    row->setSpacing(2);

    EraseButton
        = MakeSpeedButton(SpeedPanel, "EraseButton", SpeedIcon::Erase, "Cear this form", core::kEraseKey);
    CopyButton
        = MakeSpeedButton(SpeedPanel, "CopyButton", SpeedIcon::Copy, "Copy to Paste Buffer", core::kCopyKey);
    PasteButton
        = MakeSpeedButton(SpeedPanel, "PasteButton", SpeedIcon::Paste, "Paste from Buffer", core::kPasteKey);
    SpeedButton_Move = MakeSpeedButton(SpeedPanel, "SpeedButton_Move", SpeedIcon::Move,
        "Move this item to another slot number", core::kMoveKey);
    Back1Btn = MakeSpeedButton(SpeedPanel, "Back1Btn", SpeedIcon::Back, "Right click << 10 ", core::kBackKey);
    Fwd1Btn
        = MakeSpeedButton(SpeedPanel, "Fwd1Btn", SpeedIcon::Forward, "Right click >> 10", core::kForwardKey);
    RestoreButton = MakeSpeedButton(
        SpeedPanel, "RestoreButton", SpeedIcon::Restore, "Restore to last Commit action [F9]");
    CommitButton = MakeSpeedButton(SpeedPanel, "CommitButton", SpeedIcon::Commit, core::kCommitHint);

    auto separator = [this, row] {
        auto* line = new QFrame(SpeedPanel);
        line->setFrameShape(QFrame::VLine);
        line->setFrameShadow(QFrame::Sunken);
        row->addSpacing(4);
        row->addWidget(line);
        row->addSpacing(4);
    };
    row->addWidget(EraseButton);
    row->addWidget(CopyButton);
    row->addWidget(PasteButton);
    row->addWidget(SpeedButton_Move);
    separator();
    row->addWidget(Back1Btn);
    row->addWidget(Fwd1Btn);
    separator();
    row->addWidget(RestoreButton);
    row->addWidget(CommitButton);
    separator();

    auto* findLabel = new QLabel(tr("Find:"), SpeedPanel);
    findLabel->setObjectName("FindLabel");
    EditFind = new QComboBox(SpeedPanel);
    EditFind->setObjectName("EditFind");
    EditFind->setEditable(true);
    EditFind->setInsertPolicy(QComboBox::NoInsert);
    EditFind->setMaxVisibleItems(24);
    EditFind->setMinimumWidth(180);
    EditFind->setToolTip("Enter search text or select a previously entered search string");
    findLabel->setBuddy(EditFind);
    SpeedButtonFind = MakeSpeedButton(SpeedPanel, "SpeedButtonFind", SpeedIcon::Find,
        "[F11,F3] Find next item containing search sub-string");
    row->addWidget(findLabel);
    row->addWidget(EditFind);
    row->addWidget(SpeedButtonFind);
    row->addStretch(1);

    connect(EraseButton, &QToolButton::clicked, this, &TSDIAppForm::EraseButtonClick);
    connect(CopyButton, &QToolButton::clicked, this, &TSDIAppForm::CopyButtonClick);
    connect(PasteButton, &QToolButton::clicked, this, &TSDIAppForm::PasteButtonClick);
    connect(SpeedButton_Move, &QToolButton::clicked, this, &TSDIAppForm::SpeedButton_MoveClick);
    connect(RestoreButton, &QToolButton::clicked, this, &TSDIAppForm::RestoreButtonClick);
    connect(CommitButton, &QToolButton::clicked, this, &TSDIAppForm::CommitButtonClick);
    connect(SpeedButtonFind, &QToolButton::clicked, this, &TSDIAppForm::SpeedButtonFindClick);
    connect(Back1Btn, &QToolButton::clicked, this, &TSDIAppForm::Back1BtnClick);
    connect(Fwd1Btn, &QToolButton::clicked, this, &TSDIAppForm::Fwd1BtnClick);
    // A quick second press arrives as a double click; it is a press all the same.
    auto isPress = [](const QEvent* event) {
        return event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick;
    };
    WatchEvents(Back1Btn, [this, isPress](QEvent* event) {
        if (isPress(event) && Back1Btn->isEnabled())
            Back1BtnMouseDown(static_cast<QMouseEvent*>(event)->button());
    });
    WatchEvents(Fwd1Btn, [this, isPress](QEvent* event) {
        if (isPress(event) && Fwd1Btn->isEnabled())
            Fwd1BtnMouseDown(static_cast<QMouseEvent*>(event)->button());
    });
    AcceptOnlyCp1252(EditFind->lineEdit());
    // Only a key pressed in the edit counts on release: the Enter that closes a
    // message box is released in the edit and must not search again. The keys
    // reach the combo box, which hands them to its edit without the edit's filters.
    auto pressed = std::make_shared<int>(0);
    auto onKey = [this, pressed](QEvent* event) {
        if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease)
            return;
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->isAutoRepeat())
            return;
        if (event->type() == QEvent::KeyPress) {
            *pressed = key->key();
        } else if (key->key() == *pressed) {
            *pressed = 0;
            EditFindKeyUp(key->key());
        }
    };
    WatchEvents(EditFind, onKey);
    WatchEvents(EditFind->lineEdit(), onKey);
}

void TSDIAppForm::buildPages()
{
    auto* central = new QWidget(this);
    central->setObjectName("Central");
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(4, 0, 4, 2);
    column->setSpacing(2);

    auto* rule = new QFrame(central);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);

    Viewer = new PageTabs(central); // keys never switch to a hidden page
    Viewer->setObjectName("Viewer");
    Units = new UnitPage(pageContext_, Viewer);
    Units->setObjectName("Units");
    Weapons = new WeaponPage(pageContext_, Viewer);
    Weapons->setObjectName("Weapons");
    Formations = new FormationPage(pageContext_, Viewer);
    Formations->setObjectName("Formations");
    Info = new InfoPage(pageContext_, Viewer);
    Info->setObjectName("Info");
    Load = new LoadSavePage(pageContext_, Viewer);
    Load->setObjectName("Load");
    connect(Load, &LoadSavePage::folderChosen, this,
        [this](const std::filesystem::path& dir) { DirectoryListBox1Change(dir); });
    connect(Load, &LoadSavePage::openRequested, this, &TSDIAppForm::OpenBtnClick);
    connect(Load->SaveBtn, &QPushButton::clicked, this, &TSDIAppForm::SaveBtnClick);
    connect(Load->SaveAsBtn, &QPushButton::clicked, this, &TSDIAppForm::SaveAsBtnClick);
    connect(Load->ExportBtn, &QPushButton::clicked, this, &TSDIAppForm::ExportBtnClick);
    connect(Load->Button1, &QPushButton::clicked, this, &TSDIAppForm::Button1Click);
    connect(Load->ExitButton, &QPushButton::clicked, this, &TSDIAppForm::ExitButtonClick);
    Viewer->addTab(Units, "Units");
    Viewer->addTab(Weapons, "Weapons");
    Viewer->addTab(Formations, "Formations");
    Viewer->addTab(Info, "Info");
    Viewer->addTab(Load, "Load/Save");

    column->addWidget(SpeedPanel);
    column->addWidget(rule);
    column->addWidget(Viewer, 1);
    setCentralWidget(central);
}

void TSDIAppForm::buildMenu()
{
    SDIAppMenu = new QMenuBar(this);
    SDIAppMenu->setObjectName("SDIAppMenu");

    FileMenu = SDIAppMenu->addMenu("&File");
    FileMenu->setObjectName("FileMenu");
    FileMenu->setToolTipsVisible(true);
    SaveAs1 = MakeAction(
        FileMenu, "SaveAs1", "&Save Current File", "Save current file, witout going to Load/Save page");
    SaveAs1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    FileMenu->addSeparator();
    WriteCSV1 = MakeAction(FileMenu, "WriteCSV1", "&Write CSV Files", "Write comma separated data file");
    Reclassify1 = MakeAction(FileMenu, "Reclassify1", "Re&classify");
    Renationalise1 = MakeAction(
        FileMenu, "Renationalise1", "Re&nationalise (Renumber units, formations to another nation's ID)");
    SaveFileAs1 = MakeAction(FileMenu, "SaveFileAs1", "Save File &As..");
    CompareWith1
        = MakeAction(FileMenu, "CompareWith1", "Compare With", "Compare the records with another file");
    CompareWith1->setText(QStringLiteral("Co&mpare With\u2026"));
    MergeWith1
        = MakeAction(FileMenu, "MergeWith1", "Merge With", "Merge another file's changes into the records");
    MergeWith1->setText(QStringLiteral("M&erge With\u2026"));
    ChangeTransparentColour1 = MakeAction(FileMenu, "ChangeTransparentColour1", "Change &Transparent Colour");
    ExportArtworkItem = MakeAction(FileMenu, "ExportArtworkItem", "Export Artwork...",
        "Write every picture and icon of the working folder as PNG files");
    ExportArtworkItem->setText(QString::fromUtf8("Export A&rtwork\u2026"));
    CheckFile1 = MakeAction(FileMenu, "CheckFile1", "", "Find broken references in the loaded file");
    CheckFile1->setText(QStringLiteral("Chec&k File…"));
    CheckFile1->setShortcut(QKeySequence(Qt::Key_F8));
    FileMenu->addSeparator();
    ExitItem = MakeAction(FileMenu, "ExitItem", "E&xit", "Exit application");
    ExitItem->setShortcut(QKeySequence(Qt::ALT | Qt::Key_X));
    new RecentFiles(FileMenu, *dialogs_, this, [this](const QString& path) { return openPath(path); });

    Edit1 = SDIAppMenu->addMenu("&Edit");
    Edit1->setObjectName("Edit1");
    Undo1 = workspace_->document().undoStack()->createUndoAction(Edit1, "&Undo");
    Undo1->setObjectName("Undo1");
    Undo1->setShortcuts({ QKeySequence(Qt::CTRL | Qt::Key_Z) });
    Redo1 = workspace_->document().undoStack()->createRedoAction(Edit1, "&Redo");
    Redo1->setObjectName("Redo1");
    Redo1->setShortcuts(
        { QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y) });
    // Typing not committed is asked about before an undo or redo shows the records again.
    disconnect(Undo1, &QAction::triggered, workspace_->document().undoStack(), &QUndoStack::undo);
    disconnect(Redo1, &QAction::triggered, workspace_->document().undoStack(), &QUndoStack::redo);
    connect(Undo1, &QAction::triggered, this, &TSDIAppForm::undoDocument);
    connect(Redo1, &QAction::triggered, this, &TSDIAppForm::redoDocument);
    new UndoKeys(this, Undo1, Redo1);
    Edit1->addAction(Undo1);
    Edit1->addAction(Redo1);
    Edit1->addSeparator();
    WhereUsed1 = MakeAction(Edit1, "WhereUsed1", "", "Which records name the item shown");
    WhereUsed1->setText(QStringLiteral("&Where Used…"));
    WhereUsed1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_U));

    Grid1 = SDIAppMenu->addMenu("&Grid");
    Grid1->setObjectName("Grid1");
    WeaponsGrid1 = MakeAction(Grid1, "WeaponsGrid1", "&Weapons Grid");
    UnitsGrid1 = MakeAction(Grid1, "UnitsGrid1", "&Units Grid");
    Timeline1 = MakeAction(Grid1, "Timeline1", "Availability &Timeline");

    Help1 = SDIAppMenu->addMenu("&Help");
    Help1->setObjectName("Help1");
    Help2 = MakeAction(Help1, "Help2", "&Help");
    Help2->setShortcut(QKeySequence::HelpContents);
    Help1->addSeparator();
    About1 = MakeAction(Help1, "About1", "&About...");
    setMenuBar(SDIAppMenu);

    connect(SaveAs1, &QAction::triggered, this, &TSDIAppForm::SaveAs1Click);
    connect(WriteCSV1, &QAction::triggered, this, &TSDIAppForm::ExportBtnClick);
    connect(Renationalise1, &QAction::triggered, this, &TSDIAppForm::Renationalise1Click);
    connect(Reclassify1, &QAction::triggered, this, &TSDIAppForm::Reclassify1Click);
    connect(CompareWith1, &QAction::triggered, this, &TSDIAppForm::CompareWith1Click);
    connect(MergeWith1, &QAction::triggered, this, &TSDIAppForm::MergeWith1Click);
    connect(WeaponsGrid1, &QAction::triggered, this, &TSDIAppForm::WeaponsGrid1Click);
    connect(UnitsGrid1, &QAction::triggered, this, &TSDIAppForm::UnitsGrid1Click);
    connect(Timeline1, &QAction::triggered, this, [this] {
        TimelineForm->show();
        TimelineForm->raise();
        TimelineForm->activateWindow();
    });
    connect(SaveFileAs1, &QAction::triggered, this, &TSDIAppForm::SaveAsBtnClick);
    connect(ChangeTransparentColour1, &QAction::triggered, this, &TSDIAppForm::ChangeTransparentColour1Click);
    connect(ExitItem, &QAction::triggered, this, &TSDIAppForm::ExitItemClick);
    connect(ExportArtworkItem, &QAction::triggered, this,
        [this] { ExportArtwork(this, *dialogs_, workspace_->folder(), transparentColour_); });
    connect(CheckFile1, &QAction::triggered, this, &TSDIAppForm::CheckFile1Click);
    connect(WhereUsed1, &QAction::triggered, this, &TSDIAppForm::WhereUsed1Click);
    connect(Help2, &QAction::triggered, this, &TSDIAppForm::Button1Click);
    connect(About1, &QAction::triggered, this, &TSDIAppForm::About1Click);
}

} // namespace tarnwick::gui
