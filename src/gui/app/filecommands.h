#pragma once

// The file commands of the Load/Save page and the File menu: open, save, Save As,
// the CSV dump and the change of working folder, through the document and the
// dialogs seam. The main window shows their outcome.

#include <QObject>
#include <QString>

#include "core/data/savetidy.h"

#include <cstddef>
#include <filesystem>
#include <vector>

class QWidget;

namespace tarnwick::gui {

class LoadSavePage;
class OobDocument;
class Workspace;
struct PageContext;

class FileCommands : public QObject {
    Q_OBJECT
public:
    // The commands work on the workspace's document and in its folder.
    FileCommands(Workspace& workspace, PageContext& context, LoadSavePage& load, QWidget* window);

    // Enters a folder; false (after a box, the folder edit set back) when it
    // cannot be entered.
    bool changeFolder(const std::filesystem::path& dir);
    // Opens the selected nation's file, asking first about unsaved changes
    // unless the caller has asked already; true when the records are the new file's.
    bool openSelected(bool askFirst = true);
    // Saves the records back to the file they came from. The status bar names
    // the file as it is called on disk, the values the save brought into range
    // and, given uncommittedPage, that page's typing that the save did not take.
    bool save(const QString& uncommittedPage = QString());
    // Asks whether to save changes not yet saved; false when the user cancels
    // or the save fails.
    bool maySetRecordsAside();
    void saveAs();
    void exportCsv();

signals:
    // What the last save brought into range (empty after an open).
    void tidied(const std::vector<tarnwick::core::TidyChange>& changes);

private:
    // Runs the save's tidy as its own step; the number of values it changed.
    std::size_t tidyForSave();
    void setStatus(const QString& text);
    void showError(const QString& text);

    Workspace& workspace_;
    OobDocument& document_;
    PageContext& context_;
    LoadSavePage& load_;
    QWidget* window_ = nullptr;
};

} // namespace tarnwick::gui
