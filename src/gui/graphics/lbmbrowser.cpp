#include "gui/graphics/lbmbrowser.h"

#include "core/data/globals.h"
#include "core/graphics/artfiles.h"
#include "gui/common/pagecontext.h"
#include "gui/common/pathtext.h"
#include "gui/common/screenplace.h"
#include "gui/graphics/picture.h"
#include "gui/graphics/picturelabel.h"
#include "gui/graphics/pngimport.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>

#include <algorithm>

namespace tarnwick::gui {

namespace {

constexpr int kCellWidth = 160;
constexpr int kCellHeight = 80;
constexpr int kGap = 8;
constexpr int kMaxPicture = core::kMaxPictureNumber;

const char* const kCellNames[9] = { "LBMImageMinus4", "LBMImageMinus3", "LBMImageMinus2", "LBMImageMinus1",
    "TheLBMImage", "LBMImagePlus1", "LBMImagePlus2", "LBMImagePlus3", "LBMImagePlus4" };

QString FileNameText(const std::filesystem::path& path)
{
    return ShownPath(path.filename());
}

} // namespace

TLBMBrowseForm::TLBMBrowseForm(PageContext& context, QWidget* parent)
    : QDialog(parent)
    , context_(context)
{
    setObjectName("LBMBrowseForm");
    setWindowTitle("LBM Browser");
    setModal(true);

    const int gridWidth = 3 * kCellWidth + 2 * kGap;
    for (int i = 0; i < 9; ++i) {
        auto* cell = new PictureLabel(context_.dialogs, this);
        cell->setObjectName(QString::fromLatin1(kCellNames[i]));
        cell->setFixedCell(QSize(kCellWidth, kCellHeight));
        cell->move(kGap + (i % 3) * (kCellWidth + kGap), kGap + (i / 3) * (kCellHeight + kGap));
        cell->setCursor(Qt::PointingHandCursor);
        cell->hide();
        cells_[static_cast<std::size_t>(i)] = cell;
        connect(cell, &PictureLabel::clicked, this, [this, i] { cellClick(i - 4); });
    }
    Bevel1 = new QFrame(this);
    Bevel1->setObjectName("Bevel1");
    Bevel1->setFrameShape(QFrame::Box);
    Bevel1->setFrameShadow(QFrame::Raised);
    Bevel1->setLineWidth(2);
    Bevel1->setGeometry(
        kGap + kCellWidth + kGap - 4, kGap + kCellHeight + kGap - 4, kCellWidth + 8, kCellHeight + 8);
    Bevel1->lower();

    const int below = kGap + 3 * kCellHeight + 3 * kGap;
    ScrollBar1 = new QScrollBar(Qt::Horizontal, this);
    ScrollBar1->setObjectName("ScrollBar1");
    ScrollBar1->setRange(0, 64000);
    ScrollBar1->setPageStep(12);
    ScrollBar1->setSingleStep(5);
    ScrollBar1->setValue(5);
    ScrollBar1->setGeometry(kGap, below, gridWidth, 18);

    const int row = below + 30;
    auto* caption = new QLabel("LBM ID : ", this);
    caption->setGeometry(kGap, row, 60, 24);
    LBMIDEdit = new QLineEdit("5", this);
    LBMIDEdit->setObjectName("LBMIDEdit");
    LBMIDEdit->setGeometry(kGap + 62, row, 64, 24);
    HintLabel = new QLabel("(Click on an LBM to select)", this);
    HintLabel->setObjectName("HintLabel");
    HintLabel->setGeometry(kGap + 136, row, 180, 24);
    OKButton = new QPushButton("OK", this);
    OKButton->setObjectName("OKButton");
    OKButton->setToolTip("Click to select the current LBM");
    OKButton->setGeometry(kGap + gridWidth - 2 * 80 - 8, row, 80, 26);
    OKButton->setDefault(true);
    CancelButton = new QPushButton("Cancel", this);
    CancelButton->setObjectName("CancelButton");
    CancelButton->setToolTip("Ignore Changes");
    CancelButton->setGeometry(kGap + gridWidth - 80, row, 80, 26);

    const int right = kGap + gridWidth + 12;
    Label2 = new QLabel(this);
    Label2->setObjectName("Label2");
    Label2->setGeometry(right, kGap, 180, 20);
    DirectoryListBox1 = new QListWidget(this);
    DirectoryListBox1->setObjectName("DirectoryListBox1");
    DirectoryListBox1->hide();
    FileListBox1 = new QListWidget(this);
    FileListBox1->setObjectName("FileListBox1");
    FileListBox1->setGeometry(right, kGap + 24, 180, row + 26 - kGap - 24 - 34);
    ImportButton = new QPushButton(QString::fromUtf8("Import\u2026"), this);
    ImportButton->setObjectName("ImportButton");
    ImportButton->setToolTip("Write a PNG picture as the picture of the number shown");
    ImportButton->setGeometry(right, row, 180, 26);

    setFixedSize(right + 180 + kGap, row + 26 + kGap);
    FitWhenShown(this, {}, OpenOver::Screen);

    connect(LBMIDEdit, &QLineEdit::textChanged, this, &TLBMBrowseForm::LBMIDEditChange);
    connect(ScrollBar1, &QScrollBar::valueChanged, this, &TLBMBrowseForm::ScrollBar1Change);
    connect(FileListBox1, &QListWidget::itemClicked, this, &TLBMBrowseForm::FileListBox1Click);
    // Moving through the files with the keys chooses as a click does.
    connect(FileListBox1, &QListWidget::itemSelectionChanged, this, [this] {
        const QList<QListWidgetItem*> chosen = FileListBox1->selectedItems();
        if (!chosen.isEmpty())
            FileListBox1Click(chosen.first());
    });
    connect(OKButton, &QPushButton::clicked, this, &TLBMBrowseForm::OKButtonClick);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(ImportButton, &QPushButton::clicked, this, &TLBMBrowseForm::ImportButtonClick);
}

void TLBMBrowseForm::showEvent(QShowEvent* event)
{
    FormShow();
    QDialog::showEvent(event);
}

void TLBMBrowseForm::FormShow()
{
    const std::filesystem::path dir
        = context_.currentPath != nullptr ? *context_.currentPath : std::filesystem::path();
    pictureFolder = dir.empty() ? std::filesystem::path() : core::FindArtFolder(dir, core::kPictureFolder);
    selectedLbm = requestedLbm != 0 ? std::clamp(requestedLbm, 0, kMaxPicture) : 5;
    setEditNumber(selectedLbm);
    {
        const QSignalBlocker blocker(ScrollBar1);
        ScrollBar1->setValue(selectedLbm);
    }
    Label2->setText(ShownPath(pictureFolder.empty() ? dir / core::kPictureFolder : pictureFolder));
    Label2->setToolTip(Label2->text());
    fillFileList();
    Refresh();
}

void TLBMBrowseForm::fillFileList()
{
    DirectoryListBox1->clear();
    FileListBox1->clear();
    if (pictureFolder.empty())
        return;
    DirectoryListBox1->addItem(ShownPath(pictureFolder));
    for (const std::filesystem::path& file : core::ListPictureFiles(pictureFolder))
        FileListBox1->addItem(FileNameText(file));
}

void TLBMBrowseForm::setEditNumber(int number)
{
    // Without a refresh: the caller refreshes once.
    const QSignalBlocker blocker(LBMIDEdit);
    LBMIDEdit->setText(QString::number(number));
}

bool TLBMBrowseForm::editValue(int& v)
{
    try {
        v = core::ClampValue(0, kMaxPicture, LBMIDEdit->text().toStdString());
        return true;
    } catch (const core::EConvertError& error) {
        // Said beside the edit, not in a box that would take the keyboard away
        // from the typing.
        showHint(QString::fromStdString(error.what()));
        return false;
    }
}

void TLBMBrowseForm::LBMIDEditChange()
{
    Refresh();
}

void TLBMBrowseForm::Refresh()
{
    int v = 0;
    if (!editValue(v))
        return;
    hint_.clear();
    {
        // The bar follows the number; moving it here is no choice of the user's.
        const QSignalBlocker blocker(ScrollBar1);
        ScrollBar1->setValue(v);
    }
    for (int k = 4; k >= 1; --k)
        showPicture(cell(-k), std::max(v - k, 0));
    const QString before = hint_;
    hint_.clear();
    showPicture(cell(0), v);
    // The middle picture's own complaint comes first: it is the one chosen.
    if (hint_.isEmpty())
        hint_ = before;
    const QString name = pictureFolder.empty()
        ? QString()
        : FileNameText(core::FindArtFileIn(pictureFolder, core::PictureFileName(v)));
    if (!name.isEmpty()) {
        // A broken file is selected too, so the list shows which one it is.
        const QList<QListWidgetItem*> rows = FileListBox1->findItems(name, Qt::MatchExactly);
        if (!rows.isEmpty()) {
            const QSignalBlocker blocker(FileListBox1);
            FileListBox1->setCurrentItem(rows.first());
        }
    }
    for (int k = 1; k <= 4; ++k)
        showPicture(cell(k), v + k);
    showHint(hint_.isEmpty() ? QStringLiteral("(Click on an LBM to select)") : hint_);
}

void TLBMBrowseForm::showHint(const QString& text)
{
    // The line is short: a long message ends in "…" and is whole in its hint.
    HintLabel->setText(HintLabel->fontMetrics().elidedText(text, Qt::ElideRight, HintLabel->width()));
    HintLabel->setToolTip(text);
}

bool TLBMBrowseForm::showPicture(PictureLabel* target, int number)
{
    const std::filesystem::path path = pictureFolder.empty()
        ? std::filesystem::path()
        : core::FindArtFileIn(pictureFolder, core::PictureFileName(number));
    if (path.empty()) {
        target->hide();
        return false;
    }
    try {
        target->setPicture(ReadLbmPicture(path), false);
    } catch (const std::exception& error) {
        // A broken file hides its cell; the others still show, and the hint
        // line names the file and the reader's complaint.
        target->hide();
        if (hint_.isEmpty())
            hint_ = FileNameText(path) + ": " + ReaderErrorText(error);
        return false;
    }
    target->setSaveName(FileNameText(path.stem()) + ".png");
    target->setToolTip(FileNameText(path));
    target->show();
    return true;
}

void TLBMBrowseForm::cellClick(int offset)
{
    int v = 0;
    if (!editValue(v))
        return;
    selectedLbm = std::clamp(v + offset, 0, kMaxPicture);
    LBMIDEdit->setText(QString::number(selectedLbm));
}

void TLBMBrowseForm::ScrollBar1Change(int position)
{
    LBMIDEdit->setText(QString::number(position));
    int v = 0;
    if (editValue(v))
        selectedLbm = v;
}

void TLBMBrowseForm::FileListBox1Click(QListWidgetItem* item)
{
    if (item == nullptr)
        return;
    try {
        const int number = core::StrToInt(core::DigitsOnly(item->text().toStdString()));
        selectedLbm = std::clamp(number, 0, kMaxPicture);
    } catch (const core::EConvertError& error) {
        showHint(QString::fromStdString(error.what()));
        return;
    }
    LBMIDEdit->setText(QString::number(selectedLbm));
}

void TLBMBrowseForm::OKButtonClick()
{
    int v = 0;
    if (!editValue(v))
        return;
    selectedLbm = v;
    accept();
}

} // namespace tarnwick::gui

namespace tarnwick::gui {

void TLBMBrowseForm::ImportButtonClick()
{
    int v = 0;
    if (!editValue(v) || context_.dialogs == nullptr)
        return;
    const std::filesystem::path dir
        = context_.currentPath != nullptr ? *context_.currentPath : std::filesystem::path();
    if (!ImportPngPicture(this, *context_.dialogs, dir, v))
        return;
    // The folder may be new; the list gains the file; the cells show it.
    pictureFolder = core::FindArtFolder(dir, core::kPictureFolder);
    Label2->setText(ShownPath(pictureFolder));
    fillFileList();
    Refresh();
}

} // namespace tarnwick::gui
