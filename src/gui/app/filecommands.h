#pragma once

// The file commands of the Load/Save page and the File menu: open, save, Save As,
// the CSV dump and the change of working folder, through the document and the
// dialogs seam. The main window shows their outcome.

#include <QObject>
#include <QString>

#include <filesystem>

class QWidget;

namespace tarnwick::gui {

class LoadSavePage;
class OobDocument;
struct PageContext;

class FileCommands : public QObject {
    Q_OBJECT
public:
    // currentDir and currentPath are the working folder the window shows and
    // the page context names; the commands change them.
    FileCommands(OobDocument& document, PageContext& context, LoadSavePage& load, QString& currentDir,
        std::filesystem::path& currentPath, QWidget* window);

    // Enters a folder; false (after a box, the folder edit set back) when it
    // cannot be entered.
    bool changeFolder(const std::filesystem::path& dir);
    // Opens the selected nation's file, asking first about unsaved changes;
    // true when the records are the new file's.
    bool openSelected();
    // Saves the records back to the file they came from. The status bar names
    // the file (fromShortcut: the nation's stem) and, given uncommittedPage, that
    // page's typing that the save did not take.
    bool save(bool fromShortcut, const QString& uncommittedPage = QString());
    // Asks whether to save changes not yet saved; false when the user cancels
    // or the save fails.
    bool maySetRecordsAside();
    void saveAs();
    void exportCsv();

private:
    void setStatus(const QString& text);
    void showError(const QString& text);

    OobDocument& document_;
    PageContext& context_;
    LoadSavePage& load_;
    QString& currentDir_;
    std::filesystem::path& currentPath_;
    QWidget* window_ = nullptr;
};

} // namespace tarnwick::gui
