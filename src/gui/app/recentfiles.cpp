#include "gui/app/recentfiles.h"

#include "core/rules/openfile.h"
#include "core/rules/sdimain.h"
#include "gui/common/dialogs.h"

#include <QAction>
#include <QFileInfo>
#include <QMenu>
#include <QSettings>

namespace tarnwick::gui {

namespace {

constexpr const char* kRecentKey = "recentFiles";
constexpr const char* kFolderKey = "lastFolder";

// The user's own state of the program, apart from the game's settings file.
QSettings UserState()
{
    return QSettings(
        QSettings::IniFormat, QSettings::UserScope, QStringLiteral("tarnwick"), QStringLiteral("tarnwick"));
}

} // namespace

RecentFiles::RecentFiles(
    QMenu* fileMenu, Dialogs& dialogs, QWidget* window, std::function<bool(const QString&)> open)
    : QObject(window)
    , dialogs_(dialogs)
    , window_(window)
    , open_(std::move(open))
{
    setObjectName(QStringLiteral("RecentFiles"));
    QAction* first = fileMenu->actions().isEmpty() ? nullptr : fileMenu->actions().first();
    auto* openAction = new QAction(QStringLiteral("&Open…"), fileMenu);
    openAction->setObjectName(QStringLiteral("OpenFile1"));
    openAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    openAction->setToolTip(QStringLiteral("Open an order-of-battle file from any folder"));
    fileMenu->insertAction(first, openAction);
    recentMenu_ = new QMenu(QStringLiteral("Recent &Files"), fileMenu);
    recentMenu_->setObjectName(QStringLiteral("RecentFiles1"));
    fileMenu->insertMenu(first, recentMenu_);
    fileMenu->insertSeparator(first);
    connect(openAction, &QAction::triggered, this, &RecentFiles::openFile);
    rebuild();
}

void RecentFiles::add(const QString& path)
{
    const QString full = QFileInfo(path).absoluteFilePath();
    std::vector<std::string> recent;
    QSettings state = UserState();
    for (const QString& p : state.value(kRecentKey).toStringList())
        recent.push_back(p.toStdString());
    QStringList list;
    for (const std::string& p : core::RecentFilesAfterOpening(recent, full.toStdString()))
        list.append(QString::fromStdString(p));
    state.setValue(kRecentKey, list);
    state.setValue(kFolderKey, QFileInfo(full).absolutePath());
    rebuild();
}

void RecentFiles::openFile()
{
    const auto path = dialogs_.openFileName(window_, QStringLiteral("Open"),
        QLatin1String(core::kSaveAsFilter), UserState().value(kFolderKey).toString());
    if (path)
        open_(*path);
}

void RecentFiles::rebuild()
{
    recentMenu_->clear();
    const QStringList recent = UserState().value(kRecentKey).toStringList();
    int n = 0;
    for (const QString& path : recent) {
        QAction* item = recentMenu_->addAction(QStringLiteral("&%1 %2").arg(++n).arg(path));
        connect(item, &QAction::triggered, this, [this, path] { open_(path); });
    }
    recentMenu_->addSeparator();
    QAction* clear = recentMenu_->addAction(QStringLiteral("&Clear"));
    clear->setObjectName(QStringLiteral("ClearRecent1"));
    clear->setEnabled(!recent.isEmpty());
    connect(clear, &QAction::triggered, this, [this] {
        UserState().remove(kRecentKey);
        rebuild();
    });
}

} // namespace tarnwick::gui
