#include "support/scripteddialogs.h"

namespace tarnwick::testing {

ScriptedDialogs::Answer ScriptedDialogs::message(
    QWidget*, Kind kind, const QString& caption, const QString& text, Buttons buttons)
{
    boxes.append({ kind, caption, text, buttons });
    if (!answers_.isEmpty())
        return answers_.takeFirst();
    return buttons == Buttons::Ok                                                          ? Answer::Ok
        : buttons == Buttons::SaveDiscardCancel || buttons == Buttons::CommitDiscardCancel ? Answer::Discard
                                                                                           : Answer::No;
}

std::optional<QString> ScriptedDialogs::saveAsFileName(
    QWidget*, const QString& title, const QString& filter, const QString& startDir)
{
    fileDialogs.append({ title, filter, startDir });
    return fileNames_.isEmpty() ? std::nullopt : fileNames_.takeFirst();
}

std::optional<QString> ScriptedDialogs::openFileName(
    QWidget*, const QString& title, const QString& filter, const QString& startDir)
{
    fileDialogs.append({ title, filter, startDir });
    return fileNames_.isEmpty() ? std::nullopt : fileNames_.takeFirst();
}

std::optional<QString> ScriptedDialogs::folder(QWidget*, const QString& title, const QString& startDir)
{
    fileDialogs.append({ title, QString(), startDir });
    return folders_.isEmpty() ? std::nullopt : folders_.takeFirst();
}

bool ScriptedDialogs::openDocument(const QString& path)
{
    openedDocuments.append(path);
    return documentOpens;
}

} // namespace tarnwick::testing
