#include "gui/app/undokeys.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>

namespace tarnwick::gui {

namespace {

// The text field a key pressed in widget edits, or null.
QLineEdit* FieldOf(QObject* widget)
{
    if (auto* edit = qobject_cast<QLineEdit*>(widget))
        return edit;
    if (auto* combo = qobject_cast<QComboBox*>(widget))
        return combo->lineEdit();
    return nullptr;
}

bool IsShortcutOf(const QAction* action, const QKeyEvent* key)
{
    const QKeySequence pressed(key->keyCombination());
    for (const QKeySequence& shortcut : action->shortcuts())
        if (shortcut == pressed)
            return true;
    return false;
}

} // namespace

UndoKeys::UndoKeys(QWidget* window, QAction* undo, QAction* redo)
    : QObject(window)
    , window_(window)
    , undo_(undo)
    , redo_(redo)
{
    setObjectName(QStringLiteral("UndoKeys"));
    qApp->installEventFilter(this);
}

bool UndoKeys::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::ShortcutOverride && event->type() != QEvent::KeyPress)
        return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    QLineEdit* field = FieldOf(watched);
    if (field == nullptr || widget->window() != window_)
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    const bool undo = IsShortcutOf(undo_, key);
    if (!undo && !IsShortcutOf(redo_, key))
        return false;
    const bool ownHistory
        = !field->isReadOnly() && (undo ? field->isUndoAvailable() : field->isRedoAvailable());
    if (event->type() == QEvent::ShortcutOverride) {
        // Accepted, the key comes to the field as a key press; left alone, the
        // action's shortcut takes it.
        if (ownHistory)
            event->accept();
        return true;
    }
    if (!ownHistory)
        return false;
    // Every one of the keys acts on the field alike, whatever the field's own keys are.
    if (undo)
        field->undo();
    else
        field->redo();
    return true;
}

} // namespace tarnwick::gui
