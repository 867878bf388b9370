#include "gui/tools/checkform.h"

#include "core/rules/whereused.h"
#include "gui/common/bytetext.h"
#include "gui/common/closekeys.h"
#include "gui/common/screenplace.h"
#include "gui/tools/recordtable.h"

#include <QLabel>
#include <QVBoxLayout>

namespace tarnwick::gui {

TCheckForm::TCheckForm(QWidget* parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName("CheckForm");
    setWindowTitle("Check File");
    CheckSummary = new QLabel(this);
    CheckSummary->setObjectName("CheckSummary");
    CheckTable = new RecordTable({ "Severity", "Table", "Slot", "Name", "Message" }, this);
    CheckTable->setObjectName("CheckTable");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(CheckSummary);
    layout->addWidget(CheckTable, 1);
    connect(CheckTable, &RecordTable::openRecord, this, &TCheckForm::openRecord);
    FitWhenShown(this, QSize(760, 360));
    CloseByKeys(this);
}

TCheckForm::~TCheckForm() = default;

void TCheckForm::setSource(const core::TOobData* data, const std::filesystem::path& gameDir,
    const core::IconFrameTable& frames, bool rereadArt)
{
    data_ = data;
    if (rereadArt || art_ == nullptr || gameDir != gameDir_)
        art_ = std::make_unique<core::ArtCheck>(gameDir, frames);
    gameDir_ = gameDir;
}

QString TCheckForm::statusText() const
{
    return QString::fromStdString(core::CheckStatusText(core::CountFindings(findings_)));
}

void TCheckForm::setSaveNotes(const std::vector<core::TidyChange>& changes)
{
    saveNotes_ = core::SaveTidyFindings(changes);
    refresh();
}

void TCheckForm::refresh()
{
    if (!isVisible())
        return; // shown again, it looks again
    findings_ = data_ != nullptr ? core::CheckFile(*data_, art_.get()) : std::vector<core::CheckFinding> {};
    findings_.insert(findings_.end(), saveNotes_.begin(), saveNotes_.end());
    std::vector<RecordTable::Row> rows;
    rows.reserve(findings_.size());
    for (const core::CheckFinding& f : findings_)
        rows.push_back({ f.table, f.slot,
            { QString::fromLatin1(core::SeverityName(f.severity)),
                QString::fromLatin1(core::TableName(f.table)), f.slot, FromBytes(f.name),
                FromBytes(f.message) } });
    CheckTable->setRows(rows);
    CheckSummary->setText(QString::fromStdString(core::CheckWindowText(core::CountFindings(findings_))));
}

} // namespace tarnwick::gui
