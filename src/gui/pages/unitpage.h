#pragma once

// The unit page of the main window (sheet "Units").

#include <QWidget>

class QLineEdit;

namespace tarnwick::gui {

class UnitPage : public QWidget {
    Q_OBJECT
public:
    explicit UnitPage(QWidget* parent = nullptr);

    QLineEdit* UnitnameEdit = nullptr;
};

} // namespace tarnwick::gui
