#include "gui/app/sdimain.h"

#include "core/data/folderscan.h"
#include "core/data/tarnio.h"
#include "core/rules/document.h"
#include "core/rules/move.h"
#include "core/rules/sdimain.h"
#include "gui/app/filecommands.h"
#include "gui/app/hintstyle.h"
#include "gui/app/oobdocument.h"
#include "gui/app/paster.h"
#include "gui/app/recordcommands.h"
#include "gui/app/speedicons.h"
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

std::filesystem::path ToPath(const QString& path)
{
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

QString Text(const std::string& utf8)
{
    return QString::fromStdString(utf8);
}

QString AppTitle()
{
    return QString::fromLatin1(core::kApplicationTitle);
}

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

} // namespace

TSDIAppForm::TSDIAppForm(const MainWindowOptions& options, QWidget* parent)
    : QMainWindow(parent)
    , options_(options)
{
    setObjectName("SDIAppForm");
    // The task bar finds the program's icon and name through its desktop file, tarnwick.desktop.
    QGuiApplication::setDesktopFileName("tarnwick");
    if (options_.dialogs != nullptr) {
        dialogs_ = options_.dialogs;
    } else {
        ownDialogs_ = std::make_unique<RealDialogs>();
        dialogs_ = ownDialogs_.get();
    }
    hintStyle_ = HintStyle::install();
    document_ = new OobDocument(this);
    pageContext_.recordsChanged = [this](const std::string& text) { document_->recordChanges(Text(text)); };
    pageContext_.state = &state_;
    pageContext_.currentDir = &currentDir_;
    pageContext_.currentPath = &currentPath_;
    pageContext_.settings = &settings_;
    pageContext_.dialogs = dialogs_;
    pageContext_.setStatus = [this](const QString& text) { setStatus(text); };
    pageContext_.transparentColour = &transparentColour_;
    pageContext_.iconFrames = &iconFrames_.table;

    QFont arial = font();
    arial.setFamily("Arial");
    setFont(arial);

    buildSpeedPanel();
    buildPages();
    buildMenu();
    StatusBar = new QStatusBar(this);
    StatusBar->setObjectName("StatusBar");
    StatusText = new QLabel(StatusBar);
    StatusText->setObjectName("StatusText");
    StatusText->setTextInteractionFlags(Qt::TextSelectableByMouse);
    StatusText->setFocusPolicy(Qt::NoFocus); // a click to copy the text leaves the keyboard where it was
    StatusBar->addWidget(StatusText, 1);
    ModifiedLabel = new QLabel(core::kModifiedLabel, StatusBar);
    ModifiedLabel->setObjectName("ModifiedLabel");
    ModifiedLabel->setVisible(false);
    StatusBar->addPermanentWidget(ModifiedLabel);
    setStatusBar(StatusBar);
    watchDocument();
    files_ = new FileCommands(*document_, pageContext_, *Load, currentDir_, currentPath_, this);

    resize(kDesignWidth, kDesignHeight);
    CentreOnScreen(this);

    qApp->installEventFilter(this);
    FormCreate();
    createWindows();
}

void TSDIAppForm::watchDocument()
{
    connect(document_, &OobDocument::modifiedChanged, this, [this](bool modified) {
        setWindowModified(modified);
        ModifiedLabel->setVisible(modified);
    });
    // An undo or redo shows the records again, as a bulk change does.
    connect(document_, &OobDocument::recordsRestored, this, &TSDIAppForm::showAgainAfterBulkChange);
    // Typing is looked at once the event that changed a field is done, so a page
    // showing a record is judged when it has shown all of it.
    uncommittedTimer_ = new QTimer(this);
    uncommittedTimer_->setSingleShot(true);
    uncommittedTimer_->setInterval(0);
    connect(uncommittedTimer_, &QTimer::timeout, this, &TSDIAppForm::showUncommitted);
    for (RecordPage* page : { static_cast<RecordPage*>(Units), static_cast<RecordPage*>(Weapons),
             static_cast<RecordPage*>(Formations) })
        connect(page, &RecordPage::fieldsChanged, uncommittedTimer_, qOverload<>(&QTimer::start));
    connect(Info->TarnCommentEdit, &QLineEdit::textChanged, uncommittedTimer_, qOverload<>(&QTimer::start));
}

QString TSDIAppForm::uncommittedText() const
{
    if (!state_.fileLoaded)
        return QString();
    if (RecordPage* page = pageInCharge()) {
        if (page->hasUncommittedChanges())
            return Text(core::UncommittedStatus(page->pasteKind(), page->currentSlot()));
    } else if (currentPage_ == kPageInfo) {
        const std::optional<std::string> typed = ToBytes(Info->TarnCommentEdit->text());
        if (!typed || typed->substr(0, core::kCommentLength) != document_->records().comment)
            return core::kUncommittedCommentStatus;
    }
    return QString();
}

void TSDIAppForm::showUncommitted()
{
    const QString text = uncommittedText();
    const bool uncommitted = !text.isEmpty();
    CommitButton->setToolTip(uncommitted ? core::kCommitHintUncommitted : core::kCommitHint);
    CommitButton->setAutoRaise(!uncommitted); // a raised button stands out
    if (uncommitted && (!uncommitted_ || text != uncommittedStatus_))
        setStatus(text);
    else if (!uncommitted && uncommitted_ && statusText() == uncommittedStatus_)
        setStatus(QString()); // the typing is gone: the note goes too
    uncommitted_ = uncommitted;
    uncommittedStatus_ = text;
}

void TSDIAppForm::createWindows()
{
    aboutBox_ = new TmyAboutBox(this);
    PickForm = new TPickForm(pageContext_, this);
    pageContext_.picker = PickForm;
    PasterDlg = new TPasterDlg(pageContext_, *buffers_, this);
    RenatDlg = new TRenatDlg(pageContext_, this);
    LBMBrowseForm = new TLBMBrowseForm(pageContext_, this);
    pageContext_.lbmBrowser = LBMBrowseForm;
    FormReclassify = new TFormReclassify(pageContext_, this);
    FormGridWpns = new TFormGridWpns(pageContext_, this);
    FormGridUnits = new TFormGridUnits(pageContext_, this);
    records_ = new RecordCommands(*document_, pageContext_, *buffers_, this);
    records_->setWindows(PasterDlg, PickForm);
    TimelineForm = new TTimelineForm(&document_->records(), &settings_.names, dialogs_, this);
    connect(TimelineForm, &TTimelineForm::recordActivated, this, &TSDIAppForm::openRecord);
    connect(document_, &OobDocument::recordsChanged, TimelineForm, &TTimelineForm::refresh);
    // Each try of a colour draws the current unit's icons again at once.
    FormColour = new TFormColour(
        transparentColour_,
        [this] {
            if (state_.fileLoaded)
                Units->redrawIcons();
        },
        this);
    CheckForm = new TCheckForm(this);
    WhereUsedForm = new TWhereUsedForm(this);
    connect(CheckForm, &TCheckForm::openRecord, this, &TSDIAppForm::openRecord);
    connect(WhereUsedForm, &TWhereUsedForm::openRecord, this, &TSDIAppForm::openRecord);
    connect(document_, &OobDocument::recordsChanged, this, &TSDIAppForm::recheckAfterChange);
}

void TSDIAppForm::ChangeTransparentColour1Click()
{
    FormColour->exec();
}

void TSDIAppForm::loadIconFrames()
{
    // Start-up must survive any game folder: the built-in table is always there.
    try {
        iconFrames_ = core::LoadIconFrameTable(currentPath_);
    } catch (const std::exception& e) {
        iconFrames_ = { core::BuiltInIconFrameTable(), {},
            std::string("Cannot read the icon frame table (") + e.what() + "); using the built-in one" };
    }
    if (!iconFrames_.warning.empty())
        setStatus(Text(iconFrames_.warning));
}

core::TOobData& TSDIAppForm::oobData()
{
    return document_->editableRecords();
}

TSDIAppForm::~TSDIAppForm()
{
    qApp->removeEventFilter(this);
}

namespace {

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
    DirectoryListBox1 = Load->DirectoryListBox1;
    DirectoryEdit = Load->DirectoryEdit;
    BrowseBtn = Load->BrowseBtn;
    TarnListBox = Load->TarnListBox;
    OpenBtn = Load->OpenBtn;
    SaveBtn = Load->SaveBtn;
    SaveAsBtn = Load->SaveAsBtn;
    ExportBtn = Load->ExportBtn;
    Button1 = Load->Button1;
    ExitButton = Load->ExitButton;
    connect(Load, &LoadSavePage::folderChosen, this,
        [this](const std::filesystem::path& dir) { DirectoryListBox1Change(dir); });
    connect(Load, &LoadSavePage::openRequested, this, &TSDIAppForm::OpenBtnClick);
    connect(SaveBtn, &QPushButton::clicked, this, &TSDIAppForm::SaveBtnClick);
    connect(SaveAsBtn, &QPushButton::clicked, this, &TSDIAppForm::SaveAsBtnClick);
    connect(ExportBtn, &QPushButton::clicked, this, &TSDIAppForm::ExportBtnClick);
    connect(Button1, &QPushButton::clicked, this, &TSDIAppForm::Button1Click);
    connect(ExitButton, &QPushButton::clicked, this, &TSDIAppForm::ExitButtonClick);
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
    WriteCSV1 = MakeAction(FileMenu, "WriteCSV1", "Write CSV Files", "Write comma separated data file");
    Reclassify1 = MakeAction(FileMenu, "Reclassify1", "Reclassify");
    Renationalise1 = MakeAction(
        FileMenu, "Renationalise1", "Renationalise (Renumber units, formations to another nation's ID)");
    SaveFileAs1 = MakeAction(FileMenu, "SaveFileAs1", "Save File As..");
    CompareWith1
        = MakeAction(FileMenu, "CompareWith1", "Compare With", "Compare the records with another file");
    CompareWith1->setText(QStringLiteral("Compare With\u2026"));
    ChangeTransparentColour1 = MakeAction(FileMenu, "ChangeTransparentColour1", "Change Transparent Colour");
    ExportArtworkItem = MakeAction(FileMenu, "ExportArtworkItem", "Export Artwork...",
        "Write every picture and icon of the working folder as PNG files");
    ExportArtworkItem->setText(QString::fromUtf8("Export Artwork\u2026"));
    CheckFile1 = MakeAction(FileMenu, "CheckFile1", "", "Find broken references in the loaded file");
    CheckFile1->setText(QStringLiteral("Check File…"));
    CheckFile1->setShortcut(QKeySequence(Qt::Key_F8));
    FileMenu->addSeparator();
    ExitItem = MakeAction(FileMenu, "ExitItem", "E&xit", "Exit application");
    ExitItem->setShortcut(QKeySequence(Qt::ALT | Qt::Key_X));

    Edit1 = SDIAppMenu->addMenu("&Edit");
    Edit1->setObjectName("Edit1");
    Undo1 = document_->undoStack()->createUndoAction(Edit1, "&Undo");
    Undo1->setObjectName("Undo1");
    Undo1->setShortcuts({ QKeySequence(Qt::CTRL | Qt::Key_Z) });
    Redo1 = document_->undoStack()->createRedoAction(Edit1, "&Redo");
    Redo1->setObjectName("Redo1");
    Redo1->setShortcuts(
        { QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y) });
    Edit1->addAction(Undo1);
    Edit1->addAction(Redo1);
    Edit1->addSeparator();
    WhereUsed1 = MakeAction(Edit1, "WhereUsed1", "", "Which records name the item shown");
    WhereUsed1->setText(QStringLiteral("Where Used…"));
    WhereUsed1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_U));

    Grid1 = SDIAppMenu->addMenu("Grid");
    Grid1->setObjectName("Grid1");
    WeaponsGrid1 = MakeAction(Grid1, "WeaponsGrid1", "Weapons Grid");
    UnitsGrid1 = MakeAction(Grid1, "UnitsGrid1", "Units Grid");
    Timeline1 = MakeAction(Grid1, "Timeline1", "Availability Timeline");

    Help1 = SDIAppMenu->addMenu("&Help");
    Help1->setObjectName("Help1");
    Help2 = MakeAction(Help1, "Help2", "Help");
    Help1->addSeparator();
    About1 = MakeAction(Help1, "About1", "&About...");
    setMenuBar(SDIAppMenu);

    connect(SaveAs1, &QAction::triggered, this, &TSDIAppForm::SaveAs1Click);
    connect(WriteCSV1, &QAction::triggered, this, &TSDIAppForm::ExportBtnClick);
    connect(Renationalise1, &QAction::triggered, this, &TSDIAppForm::Renationalise1Click);
    connect(Reclassify1, &QAction::triggered, this, &TSDIAppForm::Reclassify1Click);
    connect(CompareWith1, &QAction::triggered, this, &TSDIAppForm::CompareWith1Click);
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
        [this] { ExportArtwork(this, *dialogs_, currentPath_, transparentColour_); });
    connect(CheckFile1, &QAction::triggered, this, &TSDIAppForm::CheckFile1Click);
    connect(WhereUsed1, &QAction::triggered, this, &TSDIAppForm::WhereUsed1Click);
    connect(Help2, &QAction::triggered, this, &TSDIAppForm::Button1Click);
    connect(About1, &QAction::triggered, this, &TSDIAppForm::About1Click);
}

void TSDIAppForm::FormCreate()
{
    EditFind->clearEditText();
    EditFind->setEnabled(false);
    SpeedButtonFind->setEnabled(EditFind->isEnabled());

    hintsOn_ = true;
    QPalette tipPalette = QToolTip::palette();
    tipPalette.setColor(QPalette::ToolTipBase, QColor(255, 255, 0));
    tipPalette.setColor(QPalette::ToolTipText, Qt::black);
    QToolTip::setPalette(tipPalette);
    hintStyle_->setHintDelay(core::kStartupHintDelayMs);

    setWindowTitle(core::kTitleInitialising);
    buffers_ = std::make_unique<core::PasteBuffers>();
    core::InitPasteBuffers(*buffers_);

    currentPage_ = kPageStartup;
    Viewer->setCurrentWidget(Load);
    setWindowTitle(core::kTitleNoFileLoaded);
    currentPage_ = kPageLoad;

    SetButtons(false);
    for (QAction* item : { SaveAs1, WriteCSV1, Reclassify1, Renationalise1, SaveFileAs1, CompareWith1,
             ChangeTransparentColour1, CheckFile1, WhereUsed1 })
        item->setEnabled(false);
    Grid1->menuAction()->setEnabled(false);
    Grid1->setEnabled(false);
    Load->setFileCommandsEnabled(false);
    for (QWidget* sheet : { static_cast<QWidget*>(Units), static_cast<QWidget*>(Weapons),
             static_cast<QWidget*>(Formations), static_cast<QWidget*>(Info) })
        Viewer->setTabVisible(Viewer->indexOf(sheet), false);
    connect(Viewer, &QTabWidget::currentChanged, this, &TSDIAppForm::ViewerChange);

    state_ = core::CurrentState {};
    const QSize minimum = FitToScreen(this, Viewer, QSize(kDesignWidth, kDesignHeight));
    minWindowHeight_ = minimum.height();
    minWindowWidth_ = minimum.width();
    setMinimumSize(minimum);

    pageContext_.oob = &document_->editableRecords();
    programDir_ = options_.programDir;

    readinifile();

    if (!currentPath_.empty()) {
        DirectoryListBox1Change(currentPath_);
        setWindowTitle(core::kTitleStartedInDefaultDir);
    } else {
        std::error_code ec;
        const std::filesystem::path here = std::filesystem::current_path(ec);
        currentPath_ = core::NormalFolderPath(
            here, options_.workingFolder.isEmpty() ? here : ToPath(options_.workingFolder));
        currentDir_ = ShownPath(currentPath_);
        std::filesystem::current_path(currentPath_, ec);
        setWindowTitle(Text(core::StartedInCurrentDirTitle(currentDir_.toStdString())));
        Load->showFolder(currentPath_);
    }
    // A settings file that was read with trouble says so, not silently.
    if (!settings_.warning.empty())
        setStatus(QString::fromStdString(settings_.warning));
    transparentColour_ = settings_.transparentColour;
    loadIconFrames();
}

void TSDIAppForm::readinifile()
{
    settings_ = core::readinifile(ToPath(options_.settingsFile));

    // The default folder is taken as the settings file's bytes, whatever their encoding.
    currentDir_.clear();
    currentPath_.clear();
    if (!settings_.defaultDir.empty()) {
        std::error_code ec;
        const std::filesystem::path absolute
            = core::NormalFolderPath(std::filesystem::current_path(ec), settings_.defaultDir);
        std::filesystem::current_path(absolute, ec);
        if (ec) {
            dialogs_->message(this, Dialogs::Kind::Information, AppTitle(), core::kNoDefaultDirText);
        } else {
            currentPath_ = absolute;
            currentDir_ = ShownPath(absolute);
        }
    }

    hintsOn_ = settings_.hints;
    if (hintsOn_)
        hintStyle_->setHintDelay(settings_.hintDelayMs);
}

int TSDIAppForm::hintDelay() const
{
    return hintStyle_->hintDelay();
}

QString TSDIAppForm::statusText() const
{
    return StatusText->text();
}

void TSDIAppForm::setStatus(const QString& text)
{
    StatusText->setText(text);
}

void TSDIAppForm::showError(const QString& text)
{
    dialogs_->message(this, Dialogs::Kind::Error, AppTitle(), text);
}

void TSDIAppForm::SetButtons(bool enabled)
{
    for (QToolButton* button : { Back1Btn, Fwd1Btn, EraseButton, CopyButton, PasteButton, RestoreButton,
             CommitButton, SpeedButton_Move })
        button->setEnabled(enabled);
}

// ---- Page states ----

void TSDIAppForm::ViewerChange(int index)
{
    QWidget* sheet = Viewer->widget(index);
    if (sheet == Weapons)
        WeaponsEnter();
    else if (sheet == Units)
        UnitsEnter();
    else if (sheet == Formations)
        FormationsEnter();
    else if (sheet == Load)
        LoadEnter();
    else if (sheet == Info)
        InfoEnter();
}

void TSDIAppForm::enableFindControls()
{
    EditFind->setEnabled(true);
    SpeedButtonFind->setEnabled(true);
}

void TSDIAppForm::enterRecordPage(RecordPage* page)
{
    if (state_.fileLoaded) {
        page->listInit(page->currentSlot());
        SetButtons(true);
    }
    page->showCurrent();
    enableFindControls();
}

void TSDIAppForm::WeaponsEnter()
{
    currentPage_ = kPageWeapons;
    enterRecordPage(Weapons);
}

void TSDIAppForm::UnitsEnter()
{
    currentPage_ = kPageUnits;
    enterRecordPage(Units);
}

void TSDIAppForm::FormationsEnter()
{
    currentPage_ = kPageFormations;
    enterRecordPage(Formations);
}

void TSDIAppForm::LoadEnter()
{
    currentPage_ = kPageLoad;
    SetButtons(false);
    TarnListBox->setFocus(); // arrows choose a nation, Return opens it
}

void TSDIAppForm::InfoEnter()
{
    currentPage_ = kPageInfo;
    Info->ShowInfo();
    Info->TarnCommentEdit->setFocus();
}

void TSDIAppForm::openRecord(core::PasteKind kind, int slot)
{
    if (!state_.fileLoaded)
        return;
    RecordPage* page = kind == core::PasteKind::Weapon ? static_cast<RecordPage*>(Weapons)
        : kind == core::PasteKind::Unit                ? static_cast<RecordPage*>(Units)
                                                       : static_cast<RecordPage*>(Formations);
    if (slot < 1 || slot > page->slotCount())
        return;
    Viewer->setCurrentWidget(page);
    page->goToSlot(slot);
    raise();
    activateWindow();
}

// ---- Page commands ----

RecordPage* TSDIAppForm::pageInCharge() const
{
    switch (currentPage_) {
    case kPageWeapons:
        return Weapons;
    case kPageUnits:
        return Units;
    case kPageFormations:
        return Formations;
    default:
        return nullptr;
    }
}

void TSDIAppForm::CommitButtonClick()
{
    if (RecordPage* page = pageInCharge())
        records_->commit(*page);
    else if (currentPage_ == kPageInfo)
        records_->commitComment(*Info);
    else
        setStatus(core::kUnknownPageStatus);
}

void TSDIAppForm::RestoreButtonClick()
{
    if (RecordPage* page = pageInCharge())
        page->showCurrent();
    else
        setStatus(core::kWrongPageStatus);
}

void TSDIAppForm::EraseButtonClick()
{
    if (RecordPage* page = pageInCharge())
        page->clearPage();
}

// ---- Copy, paste and move ----

void TSDIAppForm::CopyButtonClick()
{
    if (RecordPage* page = pageInCharge())
        records_->copy(*page);
}

void TSDIAppForm::PasteButtonClick()
{
    RecordPage* page = pageInCharge();
    if (page != nullptr && records_->paste(*page))
        showAgainAfterBulkChange();
}

void TSDIAppForm::SpeedButton_MoveClick()
{
    if (RecordPage* page = pageInCharge())
        records_->move(*page);
}

// ---- Back, forward and find ----

void TSDIAppForm::stepBy(core::Step step)
{
    if (RecordPage* page = pageInCharge())
        page->goToSlot(core::StepSlot(page->currentSlot(), page->slotCount(), step));
    update();
}

void TSDIAppForm::Back1BtnClick()
{
    stepBy(core::Step::Back);
}

void TSDIAppForm::Fwd1BtnClick()
{
    stepBy(core::Step::Forward);
}

void TSDIAppForm::Back1BtnMouseDown(Qt::MouseButton button)
{
    if (button == Qt::RightButton)
        stepBy(core::Step::BackTen);
}

void TSDIAppForm::Fwd1BtnMouseDown(Qt::MouseButton button)
{
    if (button == Qt::RightButton)
        stepBy(core::Step::ForwardTen);
}

void TSDIAppForm::EditFindKeyUp(int key)
{
    if (key == Qt::Key_Return || key == Qt::Key_Enter)
        SpeedButtonFindClick();
}

void TSDIAppForm::SpeedButtonFindClick()
{
    records_->find(pageInCharge(), *EditFind);
}

// ---- Keys, hints, exit ----

bool TSDIAppForm::FormKeyDown(int key)
{
    switch (key) {
    case Qt::Key_F12:
        CommitButtonClick();
        return true;
    case Qt::Key_F11:
    case Qt::Key_F3:
        if (EditFind->isEnabled())
            SpeedButtonFindClick();
        return true;
    case Qt::Key_F9:
        RestoreButtonClick();
        return true;

    default:
        return false;
    }
}

bool TSDIAppForm::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress: {
        auto* widget = qobject_cast<QWidget*>(watched);
        const auto* key = static_cast<QKeyEvent*>(event);
        // F4 on a number edit with a pick list opens the list, in every window.
        if (key->key() == Qt::Key_F4 && key->modifiers() == Qt::NoModifier) {
            if (QAbstractButton* pick = PickButtonBeside(widget)) {
                pick->click();
                return true;
            }
        }
        if (widget != nullptr && widget->window() == this) {
            if (key->modifiers() == Qt::NoModifier && FormKeyDown(key->key()))
                return true;
        }
        break;
    }
    case QEvent::ShortcutOverride: // Ctrl+U is Where Used, not an edit's "erase to the line start"
        if (static_cast<QKeyEvent*>(event)->keyCombination() == QKeyCombination(Qt::CTRL, Qt::Key_U))
            return true;
        break;
    case QEvent::ToolTip:
        if (!hintsOn_)
            return true;
        break;
    default:
        break;
    }
    return QMainWindow::eventFilter(watched, event);
}

void TSDIAppForm::closeEvent(QCloseEvent* event)
{
    // Unsaved changes ask their own question instead of the plain one.
    if (document_->isModified()) {
        if (files_->maySetRecordsAside())
            event->accept();
        else
            event->ignore();
        return;
    }
    const auto answer = dialogs_->message(
        this, Dialogs::Kind::Question, core::kExitCaption, core::kExitQuestion, Dialogs::Buttons::YesNo);
    if (answer == Dialogs::Answer::Yes)
        event->accept();
    else
        event->ignore();
}

void TSDIAppForm::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    // Focus asked for before the window was shown is lost; the keyboard starts in
    // the file list, so arrows choose a nation and Return opens it.
    if (!event->spontaneous() && Viewer->currentWidget() == Load)
        TarnListBox->setFocus();
}

void TSDIAppForm::ExitButtonClick()
{
    close();
}

void TSDIAppForm::ExitItemClick()
{
    close();
}

void TSDIAppForm::About1Click()
{
    if (auto* dialog = qobject_cast<QDialog*>(aboutBox_))
        dialog->exec();
    else if (aboutBox_ != nullptr)
        aboutBox_->show();
}

void TSDIAppForm::Renationalise1Click()
{
    if (!state_.fileLoaded) {
        dialogs_->message(this, Dialogs::Kind::Information, AppTitle(), core::kPleaseLoadText);
        return;
    }
    const QPointer<QWidget> focused = focusWidget();
    RenatDlg->execFor(static_cast<std::uint8_t>(state_.currentNation));
    update();
    Units->ShowUnit();
    // Showing the unit puts the keyboard in its name field; on another page that
    // field is hidden, so the keyboard goes back where the user left it.
    if (Viewer->currentWidget() != Units && focused)
        focused->setFocus();
    showAgainAfterBulkChange();
}

void TSDIAppForm::CompareWith1Click()
{
    if (!state_.fileLoaded) {
        dialogs_->message(this, Dialogs::Kind::Information, AppTitle(), core::kPleaseLoadText);
        return;
    }
    if (CompareForm == nullptr) {
        CompareForm = new TCompareForm(pageContext_, this);
        connect(CompareForm, &TCompareForm::recordActivated, this, &TSDIAppForm::openRecord);
        connect(document_, &OobDocument::recordsChanged, CompareForm, &TCompareForm::refresh);
    }
    CompareForm->askForFile(currentDir_);
}

void TSDIAppForm::Reclassify1Click()
{
    if (FormReclassify->execFor())
        showAgainAfterBulkChange();
}

void TSDIAppForm::WeaponsGrid1Click()
{
    if (FormGridWpns->execFor())
        showAgainAfterBulkChange();
}

void TSDIAppForm::UnitsGrid1Click()
{
    if (FormGridUnits->execFor())
        showAgainAfterBulkChange();
}

void TSDIAppForm::showAgainAfterBulkChange()
{
    // The records changed under the page: show them, so that a later commit
    // cannot write the old values back.
    if (RecordPage* page = pageInCharge()) {
        page->showCurrent();
        page->listInit(page->currentSlot());
    } else if (currentPage_ == kPageInfo) {
        Info->ShowInfo();
    }
}

void TSDIAppForm::Button1Click()
{
    const QDir dir(programDir_);
    const QString beside = dir.filePath(core::kHelpFileName);
    const QString shared = QDir::cleanPath(dir.filePath("../share/tarnwick/") + core::kHelpFileName);
    for (const QString& candidate : { beside, shared }) {
        if (QFileInfo::exists(candidate)) {
            // The desktop may answer later that nothing could show the page.
            dialogs_->openDocument(candidate, [self = QPointer<TSDIAppForm>(this), candidate] {
                if (self)
                    self->dialogs_->message(self, Dialogs::Kind::Warning, AppTitle(),
                        Text(core::HelpNotOpenedText(candidate.toStdString())));
            });
            return;
        }
    }
    dialogs_->message(
        this, Dialogs::Kind::Warning, AppTitle(), Text(core::HelpMissingText(beside.toStdString())));
}

// ---- Minimum size ----

void TSDIAppForm::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    // FormResize: the size hint keeps most desktops from going below the creation
    // size; where nothing honours it, the window is set back here.
    if (minWindowWidth_ <= 0 || minWindowHeight_ <= 0)
        return;
    // The window's own size, not the event's: the event reports the size already
    // bounded by the minimum.
    const QSize allowed = size().expandedTo(QSize(minWindowWidth_, minWindowHeight_));
    if (allowed != size())
        resize(allowed);
}

// ---- Working folder ----

void TSDIAppForm::DirectoryListBox1Change(const QString& dir)
{
    DirectoryListBox1Change(PathFromText(dir, currentPath_));
}

void TSDIAppForm::DirectoryListBox1Change(const std::filesystem::path& dir)
{
    if (files_->changeFolder(dir))
        loadIconFrames();
}

void TSDIAppForm::SetList()
{
    Load->SetList();
}

// ---- File commands ----

void TSDIAppForm::OpenBtnClick()
{
    TarnListBoxDblClick();
}

void TSDIAppForm::TarnListBoxDblClick()
{
    if (!files_->openSelected())
        return;
    loadIconFrames();
    for (QAction* item : { SaveAs1, WriteCSV1, Reclassify1, Renationalise1, SaveFileAs1, CompareWith1,
             ChangeTransparentColour1, CheckFile1, WhereUsed1 })
        item->setEnabled(true);
    Grid1->menuAction()->setEnabled(true);
    Grid1->setEnabled(true);
    Load->setFileCommandsEnabled(true);
    for (QWidget* sheet : { static_cast<QWidget*>(Units), static_cast<QWidget*>(Weapons),
             static_cast<QWidget*>(Formations), static_cast<QWidget*>(Info) })
        Viewer->setTabVisible(Viewer->indexOf(sheet), true);

    if (Viewer->currentWidget() == Units)
        UnitsEnter();
    else
        Viewer->setCurrentWidget(Units);
    Units->UnitnameEdit->setFocus();
}

QString TSDIAppForm::uncommittedPageName() const
{
    return uncommittedText().isEmpty() ? QString() : Viewer->tabText(Viewer->currentIndex()).remove('&');
}

void TSDIAppForm::SaveBtnClick()
{
    files_->save(false, uncommittedPageName());
}

void TSDIAppForm::SaveAs1Click()
{
    files_->save(true, uncommittedPageName());
}

void TSDIAppForm::SaveAsBtnClick()
{
    files_->saveAs();
    update();
}

void TSDIAppForm::ExportBtnClick()
{
    files_->exportCsv();
}

} // namespace tarnwick::gui
