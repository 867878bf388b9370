#pragma once

// The info page of the main window (sheet "Info"): the file's comment.

#include "gui/pages/pagecontext.h"

#include <QWidget>

class QLineEdit;

namespace tarnwick::gui {

class InfoPage : public QWidget {
    Q_OBJECT
public:
    explicit InfoPage(PageContext& context, QWidget* parent = nullptr);

    // Record to page and page to record.
    void ShowInfo();
    void SaveInfo();

    QLineEdit* TarnCommentEdit = nullptr;

private:
    PageContext& context_;
};

} // namespace tarnwick::gui
