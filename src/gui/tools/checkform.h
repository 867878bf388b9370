#pragma once

// The check window: every finding of the whole-file check of the loaded file,
// sortable by column. A double click or Return on a row asks for its record;
// refresh() checks again (after every change to the records) while it is shown.

#include "core/data/records.h"
#include "core/graphics/icontables.h"
#include "core/rules/filecheck.h"

#include <QString>
#include <QWidget>

#include <filesystem>
#include <memory>
#include <vector>

class QLabel;

namespace tarnwick::gui {

class RecordTable;

class TCheckForm : public QWidget {
    Q_OBJECT
public:
    explicit TCheckForm(QWidget* parent = nullptr);
    ~TCheckForm() override;

    // What to check: the records, and the game folder whose pic and shp folders
    // hold the pictures and icons, with its icon frame table. What was read of
    // the artwork is kept for the same folder unless rereadArt is set.
    void setSource(const core::TOobData* data, const std::filesystem::path& gameDir,
        const core::IconFrameTable& frames, bool rereadArt);

    const std::vector<core::CheckFinding>& findings() const { return findings_; }
    // "Check: 3 errors, 2 warnings".
    QString statusText() const;

    QLabel* CheckSummary = nullptr;
    RecordTable* CheckTable = nullptr;

public slots:
    void refresh();
    // What the last save brought into range, listed after the findings until
    // the next save or open.
    void setSaveNotes(const std::vector<tarnwick::core::TidyChange>& changes);

signals:
    void openRecord(core::PasteKind kind, int slot);

private:
    const core::TOobData* data_ = nullptr;
    std::filesystem::path gameDir_;
    std::unique_ptr<core::ArtCheck> art_;
    std::vector<core::CheckFinding> findings_;
    std::vector<core::CheckFinding> saveNotes_;
};

} // namespace tarnwick::gui
