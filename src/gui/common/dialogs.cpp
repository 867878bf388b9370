#include "gui/common/dialogs.h"

#include "gui/common/screenplace.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QHeaderView>
#include <QMessageBox>
#include <QProcess>
#include <QStandardPaths>
#include <QTreeView>
#include <QUrl>

namespace tarnwick::gui {

namespace {

// Room for the file list's size and date columns where the screen has it.
const QSize kFileDialogSize(760, 480);

// The toolkit's own file dialog (where the desktop offers none) opens at a size
// that fits the screen, with its size, type and date columns as wide as they read.
void Roomy(QFileDialog& dialog)
{
    FitWhenShown(&dialog, kFileDialogSize);
    if (auto* list = dialog.findChild<QTreeView*>(QStringLiteral("treeView"))) {
        QHeaderView* header = list->header();
        header->setStretchLastSection(false);
        header->setSectionResizeMode(0, QHeaderView::Stretch);
        for (int column = 1; column < header->count(); ++column)
            header->setSectionResizeMode(column, QHeaderView::ResizeToContents);
    }
}

} // namespace

Dialogs::Answer RealDialogs::message(
    QWidget* parent, Kind kind, const QString& caption, const QString& text, Buttons buttons)
{
    QMessageBox::Icon icon = QMessageBox::Information;
    switch (kind) {
    case Kind::Information:
        icon = QMessageBox::Information;
        break;
    case Kind::Warning:
        icon = QMessageBox::Warning;
        break;
    case Kind::Error:
        icon = QMessageBox::Critical;
        break;
    case Kind::Question:
        icon = QMessageBox::Question;
        break;
    }
    const QMessageBox::StandardButtons standard = buttons == Buttons::Ok ? QMessageBox::Ok
        : buttons == Buttons::SaveDiscardCancel || buttons == Buttons::CommitDiscardCancel
        ? (QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel)
        : (QMessageBox::Yes | QMessageBox::No);
    QMessageBox box(icon, caption, text, standard, parent);
    // Commit takes the place of Save, in the same role and position.
    if (buttons == Buttons::CommitDiscardCancel)
        box.button(QMessageBox::Save)->setText(QStringLiteral("&Commit"));
    switch (buttons) {
    case Buttons::Ok:
        box.setDefaultButton(QMessageBox::Ok);
        break;
    case Buttons::YesNo:
        box.setDefaultButton(QMessageBox::Yes);
        break;
    case Buttons::YesNoDefaultNo:
        box.setDefaultButton(QMessageBox::No);
        box.setEscapeButton(QMessageBox::No);
        break;
    case Buttons::SaveDiscardCancel:
    case Buttons::CommitDiscardCancel:
        box.setDefaultButton(QMessageBox::Save);
        box.setEscapeButton(QMessageBox::Cancel);
        break;
    }
    const int result = box.exec();
    if (buttons == Buttons::Ok)
        return Answer::Ok;
    if (buttons == Buttons::SaveDiscardCancel || buttons == Buttons::CommitDiscardCancel)
        return result == QMessageBox::Save
            ? (buttons == Buttons::CommitDiscardCancel ? Answer::Commit : Answer::Save)
            : result == QMessageBox::Discard ? Answer::Discard
                                             : Answer::Cancel;
    return result == QMessageBox::Yes ? Answer::Yes : Answer::No;
}

std::optional<QString> RealDialogs::saveAsFileName(
    QWidget* parent, const QString& title, const QString& filter, const QString& startDir)
{
    // Choosing an existing file to write over is the usual case, so no overwrite question.
    QFileDialog dialog(parent, title, startDir, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    Roomy(dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

std::optional<QString> RealDialogs::openFileName(
    QWidget* parent, const QString& title, const QString& filter, const QString& startDir)
{
    QFileDialog dialog(parent, title, startDir, filter);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    Roomy(dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

std::optional<QString> RealDialogs::folder(QWidget* parent, const QString& title, const QString& startDir)
{
    const QString chosen = QFileDialog::getExistingDirectory(parent, title, startDir);
    if (chosen.isEmpty())
        return std::nullopt;
    return chosen;
}

bool RealDialogs::openDocument(const QString& path)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void RealDialogs::openDocument(const QString& path, std::function<void()> failed)
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    // The desktop's opener reports by its exit code whether anything could show
    // the document; it is watched without holding up the window.
    const QString opener = QStandardPaths::findExecutable("xdg-open");
    if (!opener.isEmpty()) {
        auto* process = new QProcess(qApp);
        process->setProgram(opener);
        process->setArguments({ path });
        process->setStandardOutputFile(QProcess::nullDevice());
        process->setStandardErrorFile(QProcess::nullDevice());
        QObject::connect(process, &QProcess::finished, process,
            [process, failed](int exitCode, QProcess::ExitStatus status) {
                if (status != QProcess::NormalExit || exitCode != 0)
                    failed();
                process->deleteLater();
            });
        QObject::connect(
            process, &QProcess::errorOccurred, process, [process, failed](QProcess::ProcessError error) {
                if (error != QProcess::FailedToStart)
                    return;
                failed();
                process->deleteLater();
            });
        process->start();
        return;
    }
#endif
    if (!openDocument(path))
        failed();
}

} // namespace tarnwick::gui
