#include "gui/app/dialogs.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QUrl>

namespace tarnwick::gui {

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
    const QMessageBox::StandardButtons standard
        = buttons == Buttons::YesNo ? (QMessageBox::Yes | QMessageBox::No) : QMessageBox::Ok;
    QMessageBox box(icon, caption, text, standard, parent);
    box.setDefaultButton(buttons == Buttons::YesNo ? QMessageBox::Yes : QMessageBox::Ok);
    const int result = box.exec();
    if (buttons == Buttons::Ok)
        return Answer::Ok;
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

} // namespace tarnwick::gui
