#pragma once

// The info page of the main window (sheet "Info").

#include <QWidget>

class QLineEdit;

namespace tarnwick::gui {

class InfoPage : public QWidget {
    Q_OBJECT
public:
    explicit InfoPage(QWidget* parent = nullptr);

    QLineEdit* TarnCommentEdit = nullptr;
};

} // namespace tarnwick::gui
