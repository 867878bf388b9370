#pragma once

// The splash window shown while the program starts.

#include <QWidget>

class QFrame;
class QLabel;
class QTimer;

namespace tarnwick::gui {

// A frameless picture window. Its timer runs for 1250 ms from creation; the
// program's entry keeps processing events while it runs. A key released while
// the window has the focus, or a mouse button pressed on it or on its picture,
// stops the timer at once.
class TSplash : public QWidget {
    Q_OBJECT
public:
    static constexpr int kClientWidth = 394;
    static constexpr int kClientHeight = 299;
    static constexpr int kTimerInterval = 1250;

    explicit TSplash(QWidget* parent = nullptr);

    bool timerRunning() const;

    QFrame* Panel1 = nullptr;
    QLabel* Image1 = nullptr;
    QTimer* Timer1 = nullptr;

public slots:
    void Timer1Timer();

protected:
    void keyReleaseEvent(QKeyEvent* event) override; // FormKeyUp
    void mousePressEvent(QMouseEvent* event) override; // FormMouseDown
    bool eventFilter(QObject* watched, QEvent* event) override; // Image1MouseDown

private:
    void FormKeyUp();
    void FormMouseDown();
    void Image1MouseDown();
};

} // namespace tarnwick::gui
