// Opening a file by its path: from the command line and by a drop on the window.

#include "gui/app/sdimain.h"

#include "core/rules/openfile.h"
#include "gui/app/filecommands.h"
#include "gui/app/workspace.h"
#include "gui/pages/loadsavepage.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QUrl>

namespace tarnwick::gui {

namespace {

// The one local file a drop carries, or an empty text.
QString DroppedFile(const QMimeData* data)
{
    if (data == nullptr || !data->hasUrls() || data->urls().size() != 1 || !data->urls()[0].isLocalFile())
        return {};
    return data->urls()[0].toLocalFile();
}

} // namespace

bool TSDIAppForm::openPath(const QString& path)
{
    const core::FileToOpen target = core::FileToOpenFromPath(QFile::encodeName(path).toStdString());
    if (!target.error.empty()) {
        showError(QFile::decodeName(QByteArray::fromStdString(target.error)));
        return false;
    }
    // The questions come before the folder changes, so that Cancel leaves it as it was.
    if (!maySetTypingAside() || !files_->maySetRecordsAside() || !files_->changeFolder(target.folder))
        return false;
    // The list holds a row for every nation; the file commands open the selected one.
    Load->TarnListBox->setCurrentRow(target.nation - 1);
    if (files_->openSelected(false))
        showOpenedFile();
    return Load->selectedNation() == target.nation && workspace_->state().currentNation == target.nation;
}

void TSDIAppForm::dragEnterEvent(QDragEnterEvent* event)
{
    if (!DroppedFile(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void TSDIAppForm::dropEvent(QDropEvent* event)
{
    const QString path = DroppedFile(event->mimeData());
    if (path.isEmpty())
        return;
    event->acceptProposedAction();
    openPath(path);
}

} // namespace tarnwick::gui
