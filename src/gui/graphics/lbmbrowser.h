#pragma once

// The picture browser: nine pictures around a number, a scroll bar over the
// numbers, the number itself, and the picture files of the working folder.

#include <QDialog>

#include <array>
#include <filesystem>

class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QScrollBar;

namespace tarnwick::gui {

struct PageContext;
class PictureLabel;

class TLBMBrowseForm : public QDialog {
    Q_OBJECT
public:
    explicit TLBMBrowseForm(PageContext& context, QWidget* parent = nullptr);

    // Set by the caller before opening: the picture to start at (0: picture 5).
    int requestedLbm = 0;
    // The browser's choice, read by the caller after OK (0..99999).
    int selectedLbm = 5;
    // The working folder's picture folder, found afresh at each opening; empty
    // when the working folder has none.
    std::filesystem::path pictureFolder;

    // The cell showing picture v + offset (offset -4..4; 0 is TheLBMImage).
    PictureLabel* cell(int offset) const { return cells_.at(static_cast<std::size_t>(offset + 4)); }

    void FormShow();
    // Shows the nine pictures around the edit's number.
    void Refresh();

    QLineEdit* LBMIDEdit = nullptr;
    QScrollBar* ScrollBar1 = nullptr;
    QListWidget* FileListBox1 = nullptr;
    QListWidget* DirectoryListBox1 = nullptr; // hidden: the folder the file list shows
    QLabel* Label2 = nullptr;
    QLabel* HintLabel = nullptr;
    QFrame* Bevel1 = nullptr;
    QPushButton* OKButton = nullptr;
    QPushButton* CancelButton = nullptr;
    QPushButton* ImportButton = nullptr; // a PNG as the edit's picture

protected:
    void showEvent(QShowEvent* event) override;

private slots:
    void LBMIDEditChange();
    void ScrollBar1Change(int position);
    void FileListBox1Click(QListWidgetItem* item);
    void OKButtonClick();
    void ImportButtonClick();

private:
    // The edit's number clamped to 0..99999; false (and a note) when it is none.
    bool editValue(int& v);
    void cellClick(int offset);
    // False when there is no such file or the reader refused it (hint_ then says why).
    bool showPicture(PictureLabel* cell, int number);
    void showHint(const QString& text);
    void setEditNumber(int number);
    void fillFileList();

    PageContext& context_;
    std::array<PictureLabel*, 9> cells_ {};
    QString hint_;
};

} // namespace tarnwick::gui
