#pragma once

// The about box, reached from the Help menu.

#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;

namespace tarnwick::gui {

// The program's name and version line over its artwork. Created once and shown
// modally; OK (also Enter, as the default button) closes it with Accepted.
class TmyAboutBox : public QDialog {
    Q_OBJECT
public:
    static constexpr int kClientWidth = 709;
    static constexpr int kClientHeight = 298;

    explicit TmyAboutBox(QWidget* parent = nullptr);

    // "Tarnwick for GH:FTK  version " followed by the program's version.
    static QString VersionText();

    QFrame* Panel1 = nullptr;
    QLabel* ProgramIcon = nullptr;
    QLabel* Version = nullptr;
    QLabel* Comments = nullptr;
    QPushButton* OKButton = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
};

} // namespace tarnwick::gui
