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
#include "gui/app/recentfiles.h"
#include "gui/app/recordcommands.h"
#include "gui/app/speedicons.h"
#include "gui/app/workspace.h"
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
#include <QSignalBlocker>
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

// The folder the program was started in, which it never changes.
std::filesystem::path StartFolder()
{
    std::error_code ec;
    return std::filesystem::absolute(std::filesystem::path("."), ec).lexically_normal();
}

QString Text(const std::string& utf8)
{
    return QString::fromStdString(utf8);
}

QString AppTitle()
{
    return QString::fromLatin1(core::kApplicationTitle);
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
    workspace_ = new Workspace(this);
    pageContext_.oob = &workspace_->document().records();
    pageContext_.change = [this](const std::string& text, const std::function<bool(core::TOobData&)>& fn) {
        return workspace_->document().change(Text(text), fn);
    };
    pageContext_.state = &workspace_->state();
    pageContext_.currentDir = &workspace_->shownFolder();
    pageContext_.currentPath = &workspace_->folder();
    pageContext_.settings = &workspace_->settings();
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
    files_ = new FileCommands(*workspace_, pageContext_, *Load, this);

    resize(kDesignWidth, kDesignHeight);
    setAcceptDrops(true);
    CentreOnScreen(this);

    qApp->installEventFilter(this);
    FormCreate();
    createWindows();
}

void TSDIAppForm::watchDocument()
{
    connect(&workspace_->document(), &OobDocument::modifiedChanged, this, [this](bool modified) {
        setWindowModified(modified);
        ModifiedLabel->setVisible(modified);
    });
    // An undo or redo shows the records again, as a bulk change does.
    connect(
        &workspace_->document(), &OobDocument::recordsRestored, this, &TSDIAppForm::showAgainAfterBulkChange);
    // Typing is looked at once the event that changed a field is done, so a page
    // showing a record is judged when it has shown all of it.
    uncommittedTimer_ = new QTimer(this);
    uncommittedTimer_->setSingleShot(true);
    uncommittedTimer_->setInterval(0);
    connect(uncommittedTimer_, &QTimer::timeout, this, &TSDIAppForm::showUncommitted);
    for (RecordPage* page : { static_cast<RecordPage*>(Units), static_cast<RecordPage*>(Weapons),
             static_cast<RecordPage*>(Formations) }) {
        connect(page, &RecordPage::fieldsChanged, uncommittedTimer_, qOverload<>(&QTimer::start));
        page->setLeaveGuard([this] { return maySetTypingAside(); });
    }
    connect(Info->TarnCommentEdit, &QLineEdit::textChanged, uncommittedTimer_, qOverload<>(&QTimer::start));
}

QString TSDIAppForm::uncommittedText() const
{
    if (!workspace_->state().fileLoaded)
        return QString();
    if (RecordPage* page = pageInCharge()) {
        if (page->hasUncommittedChanges())
            return Text(core::UncommittedStatus(page->pasteKind(), page->currentSlot()));
    } else if (currentPage_ == kPageInfo) {
        const std::optional<std::string> typed = ToBytes(Info->TarnCommentEdit->text());
        if (!typed || typed->substr(0, core::kCommentLength) != workspace_->document().records().comment)
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

void TSDIAppForm::loadIconFrames()
{
    // Start-up must survive any game folder: the built-in table is always there.
    try {
        iconFrames_ = core::LoadIconFrameTable(workspace_->folder());
    } catch (const std::exception& e) {
        iconFrames_ = { core::BuiltInIconFrameTable(), {},
            std::string("Cannot read the icon frame table (") + e.what() + "); using the built-in one" };
    }
    if (!iconFrames_.warning.empty())
        setStatus(Text(iconFrames_.warning));
}

const QString& TSDIAppForm::currentDir() const
{
    return workspace_->shownFolder();
}

const std::filesystem::path& TSDIAppForm::currentPath() const
{
    return workspace_->folder();
}

const core::Settings& TSDIAppForm::settings() const
{
    return workspace_->settings();
}

const core::CurrentState& TSDIAppForm::state() const
{
    return workspace_->state();
}

OobDocument* TSDIAppForm::document() const
{
    return &workspace_->document();
}

core::PasteBuffers& TSDIAppForm::pasteBuffers()
{
    return workspace_->pasteBuffers();
}

TSDIAppForm::~TSDIAppForm()
{
    qApp->removeEventFilter(this);
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

    currentPage_ = kPageStartup;
    Viewer->setCurrentWidget(Load);
    setWindowTitle(core::kTitleNoFileLoaded);
    currentPage_ = kPageLoad;

    SetButtons(false);
    setFileLoaded(false);
    connect(Viewer, &QTabWidget::currentChanged, this, &TSDIAppForm::ViewerChange);

    workspace_->state() = core::CurrentState {};
    const QSize minimum = FitToScreen(this, Viewer, QSize(kDesignWidth, kDesignHeight));
    minWindowHeight_ = minimum.height();
    minWindowWidth_ = minimum.width();
    setMinimumSize(minimum);

    programDir_ = options_.programDir;

    if (readinifile()) {
        DirectoryListBox1Change(workspace_->folder());
        setWindowTitle(core::kTitleStartedInDefaultDir);
    } else {
        // The folder the options name, else the one the program was started in.
        const std::filesystem::path here = StartFolder();
        if (options_.workingFolder.isEmpty() || !workspace_->enterFolder(ToPath(options_.workingFolder)))
            workspace_->enterFolder(here);
        setWindowTitle(Text(core::StartedInCurrentDirTitle(workspace_->shownFolder().toStdString())));
        Load->showFolder(workspace_->folder());
    }
    // A settings file that was read with trouble says so, not silently.
    if (!workspace_->settings().warning.empty())
        setStatus(QString::fromStdString(workspace_->settings().warning));
    transparentColour_ = workspace_->settings().transparentColour;
    loadIconFrames();
}

bool TSDIAppForm::readinifile()
{
    workspace_->settings() = core::readinifile(ToPath(options_.settingsFile));
    hintsOn_ = workspace_->settings().hints;
    if (hintsOn_)
        hintStyle_->setHintDelay(workspace_->settings().hintDelayMs);

    // The default folder is taken as the settings file's bytes, whatever their encoding.
    if (workspace_->settings().defaultDir.empty())
        return false;
    const std::filesystem::path absolute
        = core::NormalFolderPath(StartFolder(), workspace_->settings().defaultDir);
    if (workspace_->enterFolder(absolute))
        return true;
    dialogs_->message(this, Dialogs::Kind::Information, AppTitle(), core::kNoDefaultDirText);
    return false;
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
    // Entering a page shows its record again: the page left may hold typing.
    if (pageShown_ >= 0 && pageShown_ != index && !maySetTypingAside()) {
        const QSignalBlocker stay(Viewer);
        Viewer->setCurrentIndex(pageShown_);
        if (QWidget* field = Viewer->currentWidget()->focusWidget())
            field->setFocus(); // back in the field the typing was in
        return;
    }
    pageShown_ = index;
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
    if (workspace_->state().fileLoaded) {
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
    Load->TarnListBox->setFocus(); // arrows choose a nation, Return opens it
}

void TSDIAppForm::InfoEnter()
{
    currentPage_ = kPageInfo;
    Info->ShowInfo();
    Info->TarnCommentEdit->setFocus();
}

void TSDIAppForm::openRecord(core::PasteKind kind, int slot)
{
    if (!workspace_->state().fileLoaded)
        return;
    RecordPage* page = kind == core::PasteKind::Weapon ? static_cast<RecordPage*>(Weapons)
        : kind == core::PasteKind::Unit                ? static_cast<RecordPage*>(Units)
                                                       : static_cast<RecordPage*>(Formations);
    if (slot < 1 || slot > page->slotCount() || !maySetTypingAside())
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
    // A paste replaces what the page shows (or, for several slots, shows the
    // records again): typing on it is asked about first.
    RecordPage* page = pageInCharge();
    if (page != nullptr && maySetTypingAside() && records_->paste(*page))
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
    if (RecordPage* page = pageInCharge(); page != nullptr && maySetTypingAside())
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
    if (pageInCharge() != nullptr && !maySetTypingAside())
        return;
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
    if (!maySetTypingAside()) {
        event->ignore();
        return;
    }
    // Unsaved changes ask their own question instead of the plain one.
    if (workspace_->document().isModified()) {
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
        Load->TarnListBox->setFocus();
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
    DirectoryListBox1Change(PathFromText(dir, workspace_->folder()));
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

void TSDIAppForm::setFileLoaded(bool loaded)
{
    // What needs a file, in one list: disabled until the first open, enabled from then on.
    for (QAction* item : { SaveAs1, WriteCSV1, Reclassify1, Renationalise1, SaveFileAs1, CompareWith1,
             MergeWith1, ChangeTransparentColour1, CheckFile1, WhereUsed1, Grid1->menuAction() })
        item->setEnabled(loaded);
    Grid1->setEnabled(loaded);
    Load->setFileCommandsEnabled(loaded);
    for (QWidget* sheet : { static_cast<QWidget*>(Units), static_cast<QWidget*>(Weapons),
             static_cast<QWidget*>(Formations), static_cast<QWidget*>(Info) })
        Viewer->setTabVisible(Viewer->indexOf(sheet), loaded);
}

void TSDIAppForm::OpenBtnClick()
{
    TarnListBoxDblClick();
}

void TSDIAppForm::TarnListBoxDblClick()
{
    if (maySetTypingAside() && files_->openSelected())
        showOpenedFile();
}

void TSDIAppForm::showOpenedFile()
{
    // Every way of opening a file counts as recent, the Load/Save list too.
    if (auto* recent = findChild<RecentFiles*>()) {
        const std::filesystem::path& file = workspace_->document().filePath();
#ifdef _WIN32
        const QString name = QString::fromStdWString(file.wstring());
#else
        const QString name = QFile::decodeName(QByteArray::fromStdString(file.native()));
#endif
        recent->add(QFileInfo(name).absoluteFilePath());
    }
    loadIconFrames();
    setFileLoaded(true);

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
    files_->save(uncommittedPageName());
}

void TSDIAppForm::SaveAs1Click()
{
    files_->save(uncommittedPageName());
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
