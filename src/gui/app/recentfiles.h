#pragma once

// File > Open… and File > Recent Files, with the last folder of the open
// dialog. Both lists live in the user's configuration folder
// ($XDG_CONFIG_HOME/tarnwick/tarnwick.ini), never in the settings file.

#include <QObject>
#include <QString>

#include <functional>

class QAction;
class QMenu;
class QWidget;

namespace tarnwick::gui {

class Dialogs;

class RecentFiles : public QObject {
    Q_OBJECT
public:
    // Puts Open… and Recent Files at the top of fileMenu; open opens a path
    // (after the unsaved-changes question) and says whether it did.
    RecentFiles(QMenu* fileMenu, Dialogs& dialogs, QWidget* window, std::function<bool(const QString&)> open);

    // path was opened: it goes to the top of the list, its folder is the last folder.
    void add(const QString& path);

private:
    void openFile();
    void rebuild();

    QMenu* recentMenu_ = nullptr;
    Dialogs& dialogs_;
    QWidget* window_;
    std::function<bool(const QString&)> open_;
};

} // namespace tarnwick::gui
