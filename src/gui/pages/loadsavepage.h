#pragma once

// The Load/Save page: the folder chooser, the file list of the 99 nations and
// the buttons of the file commands. The page lists and chooses; the main window
// keeps the working folder and runs the commands.

#include "core/data/folderscan.h"
#include "gui/common/pagecontext.h"

#include <QColor>
#include <QListWidget>
#include <QWidget>

#include <filesystem>

class QGroupBox;
class QHBoxLayout;
class QVBoxLayout;
class QLineEdit;
class QListWidgetItem;
class QPushButton;

namespace tarnwick::gui {

// The file list: columns as wide as the longest row, three of them wanted.
class TarnList : public QListWidget {
    Q_OBJECT
public:
    explicit TarnList(QWidget* parent = nullptr);
    static constexpr int kColumns = 3;
    QSize sizeHint() const override;
    // Sets the columns to the widest of the rows now in the list.
    void fitColumns();
    // Sets the columns to the widest of texts (rows the list would show).
    void fitColumnsTo(const QStringList& texts);
    int rowsPerColumn() const;
};

class LoadSavePage : public QWidget {
    Q_OBJECT
public:
    LoadSavePage(PageContext& context, QWidget* parent = nullptr);

    // Lists dir's sub-folders and the nations' files, from one read of the folder.
    void showFolder(const std::filesystem::path& dir);
    // Fills the file list again for the folder shown.
    void SetList();
    const std::filesystem::path& folder() const { return folder_; }

    // The nation of the selected row; 0 when no row is selected.
    int selectedNation() const;
    // The row text of nation, in its Windows-1252 name.
    QString rowText(int nation, bool fileExists) const;
    // Writes the row of nation again, with its file looked for anew.
    void updateRow(int nation, bool fileExists);
    // SaveBtn, SaveAsBtn and ExportBtn, which need a loaded file.
    void setFileCommandsEnabled(bool enabled);

    QGroupBox* FolderBox = nullptr;
    QLineEdit* DirectoryEdit = nullptr;
    QPushButton* BrowseBtn = nullptr;
    QListWidget* DirectoryListBox1 = nullptr;
    QGroupBox* FilesBox = nullptr;
    TarnList* TarnListBox = nullptr;
    QPushButton* OpenBtn = nullptr;
    QPushButton* SaveBtn = nullptr;
    QPushButton* SaveAsBtn = nullptr;
    QPushButton* ExportBtn = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* ExitButton = nullptr;

protected:
    void resizeEvent(QResizeEvent* event) override;

signals:
    // The user chose a folder: in the list, typed, or through Browse.
    void folderChosen(const std::filesystem::path& dir);
    // Open, a double click or Enter on a row.
    void openRequested();

private:
    void fillFolderList(const core::FolderListing& listing);
    void fillFileList(const core::FolderListing& listing);
    void setRow(QListWidgetItem* item, int nation, bool fileExists) const;
    void folderItemActivated(QListWidgetItem* item);
    void enterTypedFolder();
    void browseForFolder();
    void fitFilesBox();
    // Lists the folder shown; a folder that cannot be read is reported with the system's reason.
    core::FolderListing readFolder();

    PageContext& context_;
    std::filesystem::path folder_;
    QHBoxLayout* row_ = nullptr;
    QVBoxLayout* buttonColumn_ = nullptr;
    QColor greyed_;
};

} // namespace tarnwick::gui
