#pragma once

// The formation page of the main window (sheet "Formations").

#include <QWidget>

namespace tarnwick::gui {

class FormationPage : public QWidget {
    Q_OBJECT
public:
    explicit FormationPage(QWidget* parent = nullptr);
};

} // namespace tarnwick::gui
