#pragma once

// A dialogs seam for tests: records every box and answers from a prepared script.

#include "gui/common/dialogs.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace tarnwick::testing {

class ScriptedDialogs : public gui::Dialogs {
public:
    struct Box {
        Kind kind;
        QString caption;
        QString text;
        Buttons buttons;
    };
    struct FileDialog {
        QString title;
        QString filter;
        QString startDir;
    };

    // Answers are used in order; with none prepared an OK box answers Ok, a
    // Yes/No box (either default) answers No and a Save (or Commit)/Discard/Cancel box Discard
    // (what closing did before it asked).
    void setNextAnswer(Answer answer) { answers_.append(answer); }
    // The next file dialog (save or open) returns this path (nothing: cancelled).
    void setNextFileName(std::optional<QString> path) { fileNames_.append(path); }
    void setNextFolder(std::optional<QString> path) { folders_.append(path); }

    Answer message(QWidget* parent, Kind kind, const QString& caption, const QString& text,
        Buttons buttons = Buttons::Ok) override;
    std::optional<QString> saveAsFileName(
        QWidget* parent, const QString& title, const QString& filter, const QString& startDir) override;
    std::optional<QString> openFileName(
        QWidget* parent, const QString& title, const QString& filter, const QString& startDir) override;
    std::optional<QString> folder(QWidget* parent, const QString& title, const QString& startDir) override;
    bool openDocument(const QString& path) override;

    QList<Box> boxes;
    QList<FileDialog> fileDialogs;
    QStringList openedDocuments;
    // What openDocument answers: false as on a desktop with no browser.
    bool documentOpens = true;

    void clear()
    {
        boxes.clear();
        fileDialogs.clear();
        openedDocuments.clear();
    }

private:
    QList<Answer> answers_;
    QList<std::optional<QString>> fileNames_;
    QList<std::optional<QString>> folders_;
};

} // namespace tarnwick::testing
