#include "gui/app/paster.h"

#include "core/data/pastefiles.h"
#include "core/rules/document.h"
#include "core/rules/sdimain.h"
#include "gui/common/bytetext.h"
#include "gui/common/dialogs.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace tarnwick::gui {

namespace {

std::filesystem::path ToPath(const QString& path)
{
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption, const char* hint = nullptr)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    if (hint)
        button->setToolTip(QString::fromLatin1(hint));
    return button;
}

template <class Record>
void FillRows(QStringList& rows, const core::PasteBuffer<Record>& buffer, const core::NameTables& names)
{
    for (int entry = 1; entry <= core::kPasteEntries; ++entry)
        rows << FromBytes(core::PasteEntryRow(entry, buffer[entry], names));
}

// False when a paste names an unused entry: nothing is taken from it. A paste
// takes the fields an entry read from a file lacks from the record it replaces.
template <class Record>
bool OkOnEntry(core::PasteMode mode, core::PasteBuffer<Record>& buffer, core::TransferRecord<Record>& xfer,
    int k, const Record& replaced)
{
    auto& entry = buffer[k];
    if (mode == core::PasteMode::Copy) {
        entry.record = xfer.record;
        entry.sourceNation = xfer.sourceNation;
        entry.used = true;
        entry.fields.reset();
    } else if (entry.used) {
        xfer.record = core::PastedRecord(entry, replaced);
    } else {
        return false;
    }
    return true;
}

} // namespace

TPasterDlg::TPasterDlg(PageContext& context, core::PasteBuffers& buffers, QWidget* parent)
    : QDialog(parent)
    , context_(context)
    , buffers_(buffers)
{
    setObjectName("PasterDlg");
    setWindowTitle("Copy/Paste Dialogue");
    setModal(true);

    LabelStatus = new QLabel(this);
    LabelStatus->setObjectName("LabelStatus");
    ListBox1 = new QListWidget(this);
    ListBox1->setObjectName("ListBox1");
    ListBox1->setUniformItemSizes(true);
    QFont fixed(QStringLiteral("Monospace"));
    fixed.setStyleHint(QFont::TypeWriter);
    ListBox1->setFont(fixed); // the rows are padded into columns
    ListBox1->setMinimumSize(420, 360);

    OKbtn = MakeButton(this, "OKbtn", tr("OK"));
    OKbtn->setDefault(true);
    CancelBtn = MakeButton(this, "CancelBtn", tr("Cancel"));
    CopyAllBtn = MakeButton(
        this, "CopyAllBtn", "All", "Copy all to paste buffer OR Paste all from paste buffer (overwrites)");
    ImpBtn = MakeButton(this, "ImpBtn", "Import", "Import all paste buffer data as .csv");
    ExpBtn = MakeButton(this, "ExpBtn", "Export", "Export all paste buffer data as .csv");

    auto* left = new QVBoxLayout;
    left->addWidget(LabelStatus);
    left->addWidget(ListBox1, 1);
    auto* right = new QVBoxLayout;
    for (QPushButton* button : { OKbtn, CancelBtn, CopyAllBtn, ImpBtn, ExpBtn })
        right->addWidget(button);
    right->addStretch(1);
    auto* row = new QHBoxLayout(this);
    row->addLayout(left, 1);
    row->addLayout(right);
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    connect(OKbtn, &QPushButton::clicked, this, &TPasterDlg::OKBtnClick);
    connect(ListBox1, &QListWidget::itemDoubleClicked, this, &TPasterDlg::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, [this] { done(ResultCancel); });
    connect(CopyAllBtn, &QPushButton::clicked, this, &TPasterDlg::CopyAllBtnClick);
    connect(ImpBtn, &QPushButton::clicked, this, &TPasterDlg::ImpBtnClick);
    connect(ExpBtn, &QPushButton::clicked, this, &TPasterDlg::ExpBtnClick);
}

void TPasterDlg::prepare(core::PasteKind kind, core::PasteMode mode)
{
    kind_ = kind;
    mode_ = mode;
    LabelStatus->setText(QString::fromStdString(core::PasteStatusText(kind, mode)));
    fillRows();
}

void TPasterDlg::fillRows()
{
    const core::NameTables& names = context_.settings->names;
    QStringList rows;
    rows.reserve(core::kPasteEntries);
    switch (kind_) {
    case core::PasteKind::Weapon:
        FillRows(rows, buffers_.weaponBuffer, names);
        break;
    case core::PasteKind::Unit:
        FillRows(rows, buffers_.unitBuffer, names);
        break;
    case core::PasteKind::Formation:
        FillRows(rows, buffers_.formationBuffer, names);
        break;
    }
    ListBox1->setUpdatesEnabled(false);
    ListBox1->clear();
    ListBox1->addItems(rows);
    ListBox1->setCurrentRow(0);
    ListBox1->setUpdatesEnabled(true);
    ListBox1->setFocus();
}

void TPasterDlg::OKBtnClick()
{
    const int k = ListBox1->currentRow() + 1;
    if (k >= 1 && k <= core::kPasteEntries) {
        bool taken = true;
        switch (kind_) {
        case core::PasteKind::Weapon:
            taken = OkOnEntry(mode_, buffers_.weaponBuffer, buffers_.weaponXfer, k,
                context_.oob->weapons[context_.state->currentWeapon]);
            break;
        case core::PasteKind::Unit:
            taken = OkOnEntry(mode_, buffers_.unitBuffer, buffers_.unitXfer, k,
                context_.oob->units[context_.state->currentUnit]);
            break;
        case core::PasteKind::Formation:
            taken = OkOnEntry(mode_, buffers_.formationBuffer, buffers_.formationXfer, k,
                context_.oob->formations[context_.state->currentFormation]);
            break;
        }
        if (!taken) {
            // Nothing to paste: the page keeps what it shows and the user may choose again.
            context_.dialogs->message(this, Dialogs::Kind::Information, windowTitle(),
                QString::fromStdString(core::UnusedEntryText(k)));
            return;
        }
    }
    done(ResultOk);
}

void TPasterDlg::CopyAllBtnClick()
{
    if (mode_ == core::PasteMode::Copy)
        core::CopyAllToBuffer(buffers_, kind_, *context_.oob, context_.state->currentNation);
    else {
        context_.changeRecords(core::PasteAllStepText(kind_), [this](core::TOobData& records) {
            core::PasteAllFromBuffer(buffers_, kind_, records);
            return true;
        });
    }
    done(ResultAll);
}

void TPasterDlg::ExpBtnClick()
{
    const QString dir = context_.currentDir ? *context_.currentDir : QString();
    const int nation = context_.state->currentNation;
    const QString proposed
        = QDir(dir).filePath(QString::fromStdString(core::ExportProposedName(kind_, nation)));
    const auto chosen
        = context_.dialogs->saveAsFileName(this, core::kExportTitle, core::kExportFilter, proposed);
    if (!chosen)
        return; // the dialog stays open for another choice
    // A name typed without an extension gets the dialog's default one.
    QString target = *chosen;
    if (QFileInfo(target).suffix().isEmpty())
        target += QStringLiteral(".csv");
    const std::string titleDir = context_.currentPath ? context_.currentPath->string() : std::string();
    const core::IoResult result
        = core::ExportBuffer(buffers_, kind_, ToPath(target), titleDir, nation, context_.settings->names);
    if (!result.ok()) {
        context_.dialogs->message(
            this, Dialogs::Kind::Error, windowTitle(), QString::fromStdString(result.message()));
        return;
    }
    if (context_.setStatus)
        context_.setStatus(QStringLiteral("Paste buffer written to %1").arg(target));
    done(ResultFile);
}

void TPasterDlg::ImpBtnClick()
{
    const QString dir = context_.currentDir ? *context_.currentDir : QString();
    const auto chosen = context_.dialogs->openFileName(this, QString::fromStdString(core::ImportTitle(kind_)),
        QString::fromStdString(core::ImportFilter(kind_)), dir);
    if (!chosen)
        return;
    const std::filesystem::path path = ToPath(*chosen);
    const core::ImportResult result = core::ImportBuffer(buffers_, kind_, path);
    if (!result.ok()) {
        // The reader changes no entry on an error; the rows stay as they were.
        const std::string text = core::ImportFailureText(result, path.string());
        context_.dialogs->message(this, Dialogs::Kind::Error, windowTitle(), QFile::decodeName(text.c_str()));
        return;
    }
    if (context_.setStatus)
        context_.setStatus(QString::fromStdString(
            core::ImportStatusText(result.entriesRead, chosen->toStdString(), result.note)));
    done(ResultFile);
}

} // namespace tarnwick::gui
