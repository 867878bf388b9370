#pragma once

// Closing a tool window from the keyboard.

class QWidget;

namespace tarnwick::gui {

// Escape, and the platform's close key (Ctrl+W, Ctrl+F4), close window when
// nothing inside it took the key: a window that is not a dialog has no such
// keys of its own, and without a window manager no other way to close.
void CloseByKeys(QWidget* window);

} // namespace tarnwick::gui
