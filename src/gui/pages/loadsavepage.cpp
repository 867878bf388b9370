#include "gui/pages/loadsavepage.h"

#include "core/data/cp1252.h"
#include "core/rules/sdimain.h"
#include "gui/common/dialogs.h"
#include "gui/common/pathtext.h"

#include <QFile>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QResizeEvent>
#include <QVBoxLayout>

namespace tarnwick::gui {

namespace {

constexpr int kRowPadding = 10; // room around a row's text within its column
constexpr int kNationRows = 99; // a filled list holds a row for every nation

QPushButton* MakeButton(QWidget* parent, const char* name, const char* caption, const char* hint)
{
    auto* button = new QPushButton(QString::fromLatin1(caption), parent);
    button->setObjectName(QString::fromLatin1(name));
    if (hint != nullptr)
        button->setToolTip(QString::fromLatin1(hint));
    button->setMinimumWidth(96);
    return button;
}

} // namespace

// ---- The file list ----

TarnList::TarnList(QWidget* parent)
    : QListWidget(parent)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    setFlow(QListView::TopToBottom);
    setWrapping(true);
    setResizeMode(QListView::Adjust);
    setUniformItemSizes(true);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerItem); // a whole column at a time
    setTextElideMode(Qt::ElideNone);
    QFont listFont = font();
    listFont.setFamily("Sans Serif");
    listFont.setBold(true);
    if (listFont.pointSizeF() > 8.5)
        listFont.setPointSizeF(listFont.pointSizeF() - 1);
    setFont(listFont);
    QPalette listPalette = palette();
    listPalette.setColor(QPalette::Base, listPalette.color(QPalette::Button));
    setPalette(listPalette);
    fitColumns();
}

void TarnList::fitColumns()
{
    QStringList texts;
    for (int i = 0; i < count(); ++i)
        texts << item(i)->text();
    fitColumnsTo(texts);
}

void TarnList::fitColumnsTo(const QStringList& texts)
{
    const QFontMetrics metrics(font());
    // With no rows, columns as wide as a row with the placeholder name.
    int widest = metrics.horizontalAdvance(
        QString::fromLatin1(core::FileListRow(99, false, "*NO INI FILE!*").c_str()));
    for (const QString& text : texts)
        widest = qMax(widest, metrics.horizontalAdvance(text));
    const QSize grid(widest + kRowPadding, metrics.height() + 3);
    if (grid != gridSize()) {
        setGridSize(grid);
        updateGeometry();
    }
}

int TarnList::rowsPerColumn() const
{
    return qMax(1, viewport()->height() / qMax(1, gridSize().height()));
}

QSize TarnList::sizeHint() const
{
    const int frame = 2 * frameWidth();
    return QSize(kColumns * gridSize().width() + frame, QListWidget::sizeHint().height());
}

// ---- The page ----

LoadSavePage::LoadSavePage(PageContext& context, QWidget* parent)
    : QWidget(parent)
    , context_(context)
{
    auto* row = new QHBoxLayout(this);
    row_ = row;
    row->setContentsMargins(8, 8, 8, 8);
    row->setSpacing(8);

    // The folder chooser: the working folder's path and its sub-folders.
    FolderBox = new QGroupBox(tr("Folder"), this);
    FolderBox->setObjectName("FolderBox");
    auto* folderColumn = new QVBoxLayout(FolderBox);
    DirectoryEdit = new QLineEdit(FolderBox);
    DirectoryEdit->setObjectName("DirectoryEdit");
    DirectoryEdit->setToolTip("Type a folder and press Enter to go there");
    BrowseBtn = new QPushButton(tr("Browse..."), FolderBox);
    BrowseBtn->setObjectName("BrowseBtn");
    BrowseBtn->setToolTip("Choose a folder");
    BrowseBtn->setAutoDefault(false);
    DirectoryListBox1 = new QListWidget(FolderBox);
    DirectoryListBox1->setObjectName("DirectoryListBox1");
    DirectoryListBox1->setToolTip("Navigate to the directory you wis to load from, or save to");
    DirectoryListBox1->setSelectionMode(QAbstractItemView::SingleSelection);
    DirectoryListBox1->setUniformItemSizes(true); // tens of thousands of folders stay quick
    DirectoryListBox1->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Expanding);
    DirectoryEdit->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    auto* browseRow = new QHBoxLayout;
    browseRow->addStretch(1);
    browseRow->addWidget(BrowseBtn);
    folderColumn->addWidget(DirectoryEdit);
    folderColumn->addWidget(DirectoryListBox1, 1);
    folderColumn->addLayout(browseRow);
    FolderBox->setMinimumWidth(100);
    FolderBox->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);

    // The file list: one row per nation, its columns as wide as the longest row.
    FilesBox = new QGroupBox(tr("Nations"), this);
    FilesBox->setObjectName("FilesBox");
    auto* filesColumn = new QVBoxLayout(FilesBox);
    TarnListBox = new TarnList(FilesBox);
    TarnListBox->setObjectName("TarnListBox");
    // Half way between the text and the list's background: greyed, still readable.
    const QColor text = TarnListBox->palette().color(QPalette::Text);
    const QColor base = TarnListBox->palette().color(QPalette::Base);
    greyed_ = QColor(
        (text.red() + base.red()) / 2, (text.green() + base.green()) / 2, (text.blue() + base.blue()) / 2);
    filesColumn->addWidget(TarnListBox);

    auto* buttons = new QVBoxLayout;
    buttonColumn_ = buttons;
    buttons->setSpacing(6);
    OpenBtn = MakeButton(
        this, "OpenBtn", "Open", "Load the selected tarn (Or, double-click on a tarn to open it)");
    OpenBtn->setDefault(true);
    SaveBtn = MakeButton(this, "SaveBtn", "Save", "Save your edits to disk, overwriting the selected tarn");
    SaveAsBtn = MakeButton(this, "SaveAsBtn", "Save As..",
        "Save your edits to disk, overwriting the selected tarn as another filename");
    ExportBtn
        = MakeButton(this, "ExportBtn", "Dump CSV", "Print data from currently loaded ghob as 3 csv files");
    Button1 = MakeButton(this, "Button1", "Help", nullptr);
    ExitButton = MakeButton(this, "ExitButton", "Exit", nullptr);
    buttons->addSpacing(14);
    buttons->addWidget(OpenBtn);
    buttons->addWidget(SaveBtn);
    buttons->addWidget(SaveAsBtn);
    buttons->addWidget(ExportBtn);
    buttons->addStretch(1);
    buttons->addWidget(Button1);
    buttons->addWidget(ExitButton);

    // The file list takes the width of whole columns; the folder box the rest.
    row->addWidget(FolderBox, 1);
    row->addWidget(FilesBox, 0);
    row->addLayout(buttons);

    connect(DirectoryListBox1, &QListWidget::itemActivated, this, &LoadSavePage::folderItemActivated);
    connect(DirectoryEdit, &QLineEdit::returnPressed, this, &LoadSavePage::enterTypedFolder);
    connect(BrowseBtn, &QPushButton::clicked, this, &LoadSavePage::browseForFolder);
    connect(TarnListBox, &QListWidget::itemActivated, this, &LoadSavePage::openRequested);
    connect(OpenBtn, &QPushButton::clicked, this, &LoadSavePage::openRequested);
}

void LoadSavePage::showFolder(const std::filesystem::path& dir)
{
    folder_ = dir;
    const core::FolderListing listing = readFolder();
    fillFolderList(listing);
    fillFileList(listing);
}

void LoadSavePage::SetList()
{
    fillFileList(readFolder());
}

core::FolderListing LoadSavePage::readFolder()
{
    core::FolderListing listing = core::ListFolder(folder_);
    if (!listing.error.empty()) {
        context_.dialogs->message(this, Dialogs::Kind::Warning, QString::fromLatin1(core::kApplicationTitle),
            QString::fromStdString(
                core::CannotEnterFolderText(ShownPath(folder_).toStdString(), listing.error)));
    }
    return listing;
}

void LoadSavePage::fillFolderList(const core::FolderListing& listing)
{
    DirectoryEdit->setText(ShownPath(folder_));
    DirectoryListBox1->setUpdatesEnabled(false);
    DirectoryListBox1->clear();
    QStringList shown;
    shown.reserve(static_cast<qsizetype>(listing.subfolders.size()) + 1);
    if (folder_.has_relative_path())
        shown << "..";
    for (const std::string& name : listing.subfolders)
        shown << ShownPath(name);
    DirectoryListBox1->addItems(shown); // one insertion, however many folders
    // A name that is not valid UTF-8 keeps its own bytes beside the text shown.
    const int first = folder_.has_relative_path() ? 1 : 0;
    for (std::size_t i = 0; i < listing.subfolders.size(); ++i) {
        const int row = first + static_cast<int>(i);
        const std::string& name = listing.subfolders[i];
        if (QFile::encodeName(shown[row]).toStdString() != name)
            DirectoryListBox1->item(row)->setData(Qt::UserRole, QByteArray::fromStdString(name));
    }
    DirectoryListBox1->setUpdatesEnabled(true);
}

void LoadSavePage::setRow(QListWidgetItem* item, int nation, bool fileExists) const
{
    const QString text = rowText(nation, fileExists);
    item->setText(text);
    item->setToolTip(text);
    // Rows of nations without a file are greyed.
    if (fileExists)
        item->setData(Qt::ForegroundRole, QVariant());
    else
        item->setForeground(greyed_);
}

void LoadSavePage::fillFileList(const core::FolderListing& listing)
{
    TarnListBox->clear();
    int first = 0;
    for (int n = 1; n <= 99 && first == 0; ++n) {
        if (listing.oobFileExists[static_cast<std::size_t>(n)])
            first = n;
    }
    if (first != 0) {
        for (int n = 1; n <= 99; ++n)
            setRow(new QListWidgetItem(TarnListBox), n, listing.oobFileExists[static_cast<std::size_t>(n)]);
        TarnListBox->setCurrentRow(first - 1);
        TarnListBox->fitColumns();
    } else {
        // A folder without files keeps the columns its rows would need, so the
        // page does not change shape from one folder to the next.
        QStringList texts;
        for (int n = 1; n <= kNationRows; ++n)
            texts << rowText(n, false);
        TarnListBox->fitColumnsTo(texts);
    }
    fitFilesBox();
}

void LoadSavePage::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    fitFilesBox();
}

void LoadSavePage::fitFilesBox()
{
    // As many whole columns as the page has room for, at most as many as the rows
    // fill: no row is ever shown cut off at the list's edge; the rest scroll.
    const int column = TarnListBox->gridSize().width();
    const QMargins box = FilesBox->contentsMargins();
    const QMargins inner = FilesBox->layout()->contentsMargins();
    const int extras
        = box.left() + box.right() + inner.left() + inner.right() + 2 * TarnListBox->frameWidth();
    const QMargins page = row_->contentsMargins();
    const int room = width() - page.left() - page.right() - 2 * row_->spacing()
        - buttonColumn_->sizeHint().width() - FolderBox->minimumWidth() - extras;
    // An empty list (a folder without files) keeps the width a full one would
    // take, so the folder box beside it does not shrink and cut the path.
    const int rows = TarnListBox->rowsPerColumn();
    const int filled = (kNationRows + rows - 1) / rows;
    const int columns = qBound(1, room / qMax(1, column), qMax(1, filled));
    FilesBox->setFixedWidth(columns * column + extras);
}

QString LoadSavePage::rowText(int nation, bool fileExists) const
{
    return QString::fromStdU16String(core::Cp1252ToUtf16(core::FileListRow(
        nation, fileExists, context_.settings->names.nationNames[static_cast<std::size_t>(nation)])));
}

void LoadSavePage::updateRow(int nation, bool fileExists)
{
    if (QListWidgetItem* item = TarnListBox->item(nation - 1)) {
        setRow(item, nation, fileExists);
        TarnListBox->fitColumns();
        fitFilesBox();
    }
}

int LoadSavePage::selectedNation() const
{
    const QListWidgetItem* item = TarnListBox->currentItem();
    if (item == nullptr || !item->isSelected())
        return 0;
    return TarnListBox->currentRow() + 1;
}

void LoadSavePage::setFileCommandsEnabled(bool enabled)
{
    for (QPushButton* button : { SaveBtn, SaveAsBtn, ExportBtn })
        button->setEnabled(enabled);
}

void LoadSavePage::folderItemActivated(QListWidgetItem* item)
{
    if (item == nullptr)
        return;
    const QVariant bytes = item->data(Qt::UserRole);
    const QByteArray name = bytes.isValid() ? bytes.toByteArray() : QFile::encodeName(item->text());
    emit folderChosen(core::NormalFolderPath(folder_, name.toStdString()));
}

void LoadSavePage::enterTypedFolder()
{
    const QString typed = DirectoryEdit->text().trimmed();
    if (typed.isEmpty())
        return;
    emit folderChosen(core::NormalFolderPath(folder_, PathFromText(typed, folder_)));
}

void LoadSavePage::browseForFolder()
{
    if (const auto chosen = context_.dialogs->folder(this, tr("Choose a folder"), ShownPath(folder_)))
        emit folderChosen(core::NormalFolderPath(folder_, PathFromText(*chosen, folder_)));
}

} // namespace tarnwick::gui
