#pragma once

// Answers every box with OK/No and every file dialog with cancel, so that a
// benchmark never waits for a user.

#include "gui/common/dialogs.h"

class QuietDialogs : public tarnwick::gui::Dialogs {
public:
    Answer message(QWidget*, Kind, const QString&, const QString&, Buttons buttons) override
    {
        return buttons == Buttons::YesNo ? Answer::No : Answer::Ok;
    }
    std::optional<QString> saveAsFileName(QWidget*, const QString&, const QString&, const QString&) override
    {
        return std::nullopt;
    }
    std::optional<QString> openFileName(QWidget*, const QString&, const QString&, const QString&) override
    {
        return std::nullopt;
    }
    std::optional<QString> folder(QWidget*, const QString&, const QString&) override { return std::nullopt; }
    bool openDocument(const QString&) override { return true; }
};
