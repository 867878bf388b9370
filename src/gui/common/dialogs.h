#pragma once

// Every message box, file dialog, folder dialog and desktop hand-over of the
// editor goes through this interface, so that tests can answer them.

#include <QString>

#include <functional>
#include <optional>

class QWidget;

namespace tarnwick::gui {

class Dialogs {
public:
    enum class Kind { Information, Warning, Error, Question };
    // YesNo has Yes as its default button, YesNoDefaultNo has No;
    // SaveDiscardCancel has Save, CommitDiscardCancel has Commit (Escape cancels both).
    enum class Buttons { Ok, YesNo, YesNoDefaultNo, SaveDiscardCancel, CommitDiscardCancel };
    enum class Answer { Ok, Yes, No, Save, Discard, Cancel, Commit };

    virtual ~Dialogs() = default;

    // A modal message box.
    virtual Answer message(QWidget* parent, Kind kind, const QString& caption, const QString& text,
        Buttons buttons = Buttons::Ok)
        = 0;

    // The Save As file dialog: a path, or nothing when cancelled.
    virtual std::optional<QString> saveAsFileName(
        QWidget* parent, const QString& title, const QString& filter, const QString& startDir)
        = 0;

    // An open-file dialog: an existing file, or nothing when cancelled.
    virtual std::optional<QString> openFileName(
        QWidget* parent, const QString& title, const QString& filter, const QString& startDir)
        = 0;

    // A folder chooser: a folder, or nothing when cancelled.
    virtual std::optional<QString> folder(QWidget* parent, const QString& title, const QString& startDir) = 0;

    // Asks the desktop to open a local document with its default handler; false
    // when the desktop refused at once.
    virtual bool openDocument(const QString& path) = 0;
    // The same, where the refusal may also come later (the opener ran and found
    // nothing to show the document with): failed runs then, once.
    virtual void openDocument(const QString& path, std::function<void()> failed)
    {
        if (!openDocument(path))
            failed();
    }
};

// The real boxes and dialogs of the toolkit.
class RealDialogs : public Dialogs {
public:
    Answer message(QWidget* parent, Kind kind, const QString& caption, const QString& text,
        Buttons buttons = Buttons::Ok) override;
    std::optional<QString> saveAsFileName(
        QWidget* parent, const QString& title, const QString& filter, const QString& startDir) override;
    std::optional<QString> openFileName(
        QWidget* parent, const QString& title, const QString& filter, const QString& startDir) override;
    std::optional<QString> folder(QWidget* parent, const QString& title, const QString& startDir) override;
    bool openDocument(const QString& path) override;
    void openDocument(const QString& path, std::function<void()> failed) override;
};

} // namespace tarnwick::gui
