#pragma once

// The loaded file as one document: its records, where it was opened from, the
// undo stack of every change made to it, and whether it differs from the file.

#include "core/data/records.h"
#include "core/data/recordsdelta.h"

#include <QObject>
#include <QString>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>

class QUndoStack;

namespace tarnwick::gui {

class OobDocument : public QObject {
    Q_OBJECT
public:
    explicit OobDocument(QObject* parent = nullptr);
    ~OobDocument() override;

    // The records, to read. The only writable records are those change() hands
    // to its function.
    const core::TOobData& records() const { return *records_; }

    bool isLoaded() const { return loaded_; }
    std::uint16_t nation() const { return nation_; }
    // The file the records were read from, and its folder, where Save writes.
    const std::filesystem::path& filePath() const { return filePath_; }
    std::filesystem::path folder() const { return filePath_.parent_path(); }

    QUndoStack* undoStack() const { return undoStack_; }
    // The records differ from the file as last opened or saved.
    bool isModified() const;

    // The records of a file just read, as the file of nation: a new document
    // with an empty undo stack, unmodified.
    void open(const std::filesystem::path& file, std::uint16_t nation, const core::TOobData& records);
    // The records were written to the file; they no longer differ from it.
    void saved();

    // Runs fn on the records and keeps what it changed as one undo step named
    // text; a change that changes nothing leaves no step. When fn answers false
    // whatever it changed is put back. Inside another change, fn's changes
    // belong to that one's step; while an undo or redo puts records back,
    // nothing runs. Returns what fn returns (false when it did not run).
    bool change(const QString& text, const std::function<bool(core::TOobData& records)>& fn);
    // An undo or redo is putting records back.
    bool isRestoring() const { return restoring_; }

    // The total memory the undo steps hold, in bytes.
    std::size_t undoMemoryBytes() const;

signals:
    // After every change, undo, redo and file open.
    void recordsChanged();
    // After an undo or redo: what is on screen no longer shows the records.
    void recordsRestored();
    void modifiedChanged(bool modified);

private:
    class Step;
    void restore(const core::RecordsDelta& delta, bool undo);

    std::unique_ptr<core::TOobData> records_;
    // The records as of the last step: what the next step is measured against.
    std::unique_ptr<core::TOobData> stepped_;
    QUndoStack* undoStack_ = nullptr;
    std::filesystem::path filePath_;
    std::uint16_t nation_ = 0;
    bool loaded_ = false;
    int changing_ = 0;
    bool restoring_ = false;
};

} // namespace tarnwick::gui
