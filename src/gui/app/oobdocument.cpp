#include "gui/app/oobdocument.h"

#include <QScopeGuard>
#include <QSignalBlocker>
#include <QUndoCommand>
#include <QUndoStack>

namespace tarnwick::gui {

// One change: the old and new records of the slots it touched.
class OobDocument::Step : public QUndoCommand {
public:
    Step(OobDocument& document, const QString& text, core::RecordsDelta delta)
        : QUndoCommand(text)
        , document_(document)
        , delta_(std::move(delta))
    {
    }
    void undo() override { document_.restore(delta_, true); }
    void redo() override
    {
        // The change is already in the records when the step is pushed.
        if (done_)
            document_.restore(delta_, false);
        done_ = true;
    }
    std::size_t memoryBytes() const { return sizeof(*this) + delta_.memoryBytes(); }

private:
    OobDocument& document_;
    core::RecordsDelta delta_;
    bool done_ = false;
};

OobDocument::OobDocument(QObject* parent)
    : QObject(parent)
    , records_(std::make_unique<core::TOobData>())
    , stepped_(std::make_unique<core::TOobData>())
    , undoStack_(new QUndoStack(this))
{
    undoStack_->setObjectName("UndoStack");
    connect(
        undoStack_, &QUndoStack::cleanChanged, this, [this](bool clean) { emit modifiedChanged(!clean); });
}

OobDocument::~OobDocument()
{
    // Clearing the steps may report the document clean again; nobody hears it
    // from a document on its way out, least of all a window half destroyed.
    const QSignalBlocker quiet(this);
    // The steps refer to the document: they go first.
    undoStack_->clear();
}

bool OobDocument::isModified() const
{
    return !undoStack_->isClean();
}

void OobDocument::open(const std::filesystem::path& file, std::uint16_t nation, const core::TOobData& records)
{
    const bool wasModified = isModified();
    *records_ = records;
    filePath_ = file;
    nation_ = nation;
    loaded_ = true;
    *stepped_ = *records_;
    undoStack_->clear();
    undoStack_->setClean();
    if (wasModified && !isModified())
        emit modifiedChanged(false);
    emit recordsChanged();
}

void OobDocument::saved()
{
    undoStack_->setClean();
}

bool OobDocument::change(const QString& text, const std::function<bool(core::TOobData& records)>& fn)
{
    if (restoring_)
        return false;
    if (changing_ > 0)
        return fn(*records_);
    bool stored = false;
    {
        ++changing_;
        const auto done = qScopeGuard([this] { --changing_; });
        try {
            stored = fn(*records_);
        } catch (...) {
            // Half a change is no change.
            core::ApplyBefore(core::DiffRecords(*stepped_, *records_), *records_);
            throw;
        }
    }
    core::RecordsDelta delta = core::DiffRecords(*stepped_, *records_);
    if (delta.empty())
        return stored;
    if (!stored) {
        core::ApplyBefore(delta, *records_);
        return false;
    }
    core::ApplyAfter(delta, *stepped_);
    undoStack_->push(new Step(*this, text, std::move(delta)));
    emit recordsChanged();
    return true;
}

void OobDocument::restore(const core::RecordsDelta& delta, bool undo)
{
    restoring_ = true;
    if (undo) {
        core::ApplyBefore(delta, *records_);
        core::ApplyBefore(delta, *stepped_);
    } else {
        core::ApplyAfter(delta, *records_);
        core::ApplyAfter(delta, *stepped_);
    }
    emit recordsRestored();
    restoring_ = false;
    emit recordsChanged();
}

std::size_t OobDocument::undoMemoryBytes() const
{
    std::size_t bytes = 0;
    for (int i = 0; i < undoStack_->count(); ++i) {
        if (const auto* step = dynamic_cast<const Step*>(undoStack_->command(i)))
            bytes += step->memoryBytes();
    }
    return bytes;
}

} // namespace tarnwick::gui
