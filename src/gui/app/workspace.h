#pragma once

// What belongs to the loaded file and the folder, apart from any window: the
// document, the current slot of each page, the working folder, the settings
// and the paste buffers. The main window owns one and shows it.

#include "core/data/pastebuffer.h"
#include "core/data/records.h"
#include "core/data/settings.h"

#include <QObject>
#include <QString>

#include <filesystem>
#include <memory>
#include <string>

namespace tarnwick::gui {

class OobDocument;

class Workspace : public QObject {
    Q_OBJECT
public:
    explicit Workspace(QObject* parent = nullptr);
    ~Workspace() override;

    OobDocument& document() const { return *document_; }
    core::CurrentState& state() { return state_; }
    const core::CurrentState& state() const { return state_; }
    core::Settings& settings() { return settings_; }
    const core::Settings& settings() const { return settings_; }
    core::PasteBuffers& pasteBuffers() { return *buffers_; }

    // The working folder, as the file system's bytes and as shown (a
    // replacement character for each byte that is not UTF-8). The process's
    // own working folder is never changed: paths are joined with this one.
    const std::filesystem::path& folder() const { return folder_; }
    const QString& shownFolder() const { return shownFolder_; }
    // path as it names a file: a relative one is taken from the working folder.
    std::filesystem::path resolve(const std::filesystem::path& path) const;
    // Makes dir (taken from the working folder when relative) the working
    // folder; false, with the system's reason, when it cannot be entered.
    bool enterFolder(const std::filesystem::path& dir, std::string* why = nullptr);

private:
    OobDocument* document_ = nullptr;
    core::CurrentState state_;
    core::Settings settings_;
    std::unique_ptr<core::PasteBuffers> buffers_;
    std::filesystem::path folder_;
    QString shownFolder_;
};

} // namespace tarnwick::gui
