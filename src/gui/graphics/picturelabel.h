#pragma once

// A label that shows one picture or icon at its own size, see-through or not,
// and offers "Save as PNG…" on a right click (the picture at its real size,
// with its palette).

#include <QImage>
#include <QLabel>
#include <QString>

class QAction;
class QContextMenuEvent;
class QKeyEvent;
class QPaintEvent;
class QMouseEvent;

namespace tarnwick::gui {

class Dialogs;

class PictureLabel : public QLabel {
    Q_OBJECT
public:
    PictureLabel(Dialogs* dialogs, QWidget* parent = nullptr);

    // Shows picture and takes its size. transparent: the colour of the
    // bottom-left pixel is left out everywhere.
    void setPicture(const QImage& picture, bool transparent);
    // A label of fixed size keeps it: a picture larger than the label is shown
    // shrunk to fit, a smaller one centred.
    void setFixedCell(const QSize& size);
    // A label without a fixed size takes its picture's size up to this one; a
    // larger picture is shown shrunk to fit (it is still saved at full size).
    void setLargestSize(const QSize& size) { largest_ = size; }
    // Shows text instead of a picture, in the room a picture may take, and as
    // the hint (a file the reader refused says why).
    void showMessage(const QString& text);
    // Shows the picture scaled to rect's size, at rect.
    void showIn(const QRect& rect);
    // The picture as read (not see-through); null before the first one.
    const QImage& picture() const { return picture_; }
    // The file name "Save as PNG…" proposes, without folder.
    void setSaveName(const QString& name) { saveName_ = name; }
    // The folder the save dialog starts in.
    void setSaveFolder(const QString& folder) { saveFolder_ = folder; }

    // Asks for a file name and writes the picture as PNG; false when cancelled
    // or when it could not be written (then an error box says why).
    bool saveAsPng();

    // An entry the right-click menu offers below "Save as PNG…", also when no
    // picture is shown; the label keeps the action.
    QAction* addMenuAction(const QString& text, const QString& objectName);

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    // The menu key and Shift+F10 open the menu too, below the picture's top left.
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    // The right-click menu at pos (global); false when it offers nothing.
    bool showMenu(const QPoint& pos);

    Dialogs* dialogs_;
    QImage picture_;
    bool transparent_ = false;
    QSize cell_;
    QSize largest_;
    QString saveName_;
    QString saveFolder_;
    QList<QAction*> extraActions_;
};

} // namespace tarnwick::gui
