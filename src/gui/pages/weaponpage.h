#pragma once

// The weapon page of the main window (sheet "Weapons").

#include <QWidget>

namespace tarnwick::gui {

class WeaponPage : public QWidget {
    Q_OBJECT
public:
    explicit WeaponPage(QWidget* parent = nullptr);
};

} // namespace tarnwick::gui
