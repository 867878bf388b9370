#pragma once

// The undo and redo keys in a window with a document: a field with typing of
// its own to undo (or redo) keeps the key; otherwise the key goes to the
// document's Undo (or Redo) action, so right after a commit Ctrl+Z undoes it.

#include <QObject>

class QAction;
class QWidget;

namespace tarnwick::gui {

class UndoKeys : public QObject {
    Q_OBJECT
public:
    // Watches every key in window; undo and redo are the window's actions, whose
    // shortcuts are the keys.
    UndoKeys(QWidget* window, QAction* undo, QAction* redo);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* window_;
    QAction* undo_;
    QAction* redo_;
};

} // namespace tarnwick::gui
