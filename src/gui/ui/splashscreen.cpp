#include "gui/ui/splashscreen.h"

#include "gui/common/screenplace.h"
#include "gui/ui/titleartwork.h"

#include <QEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QTimer>
#include <QVBoxLayout>

namespace tarnwick::gui {

namespace {

constexpr int kBevel = 5;

} // namespace

TSplash::TSplash(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("TSplash"));
    setWindowTitle(QStringLiteral("Tarnwick"));
    setWindowIcon(ProgramIcon());
    setFixedSize(kClientWidth, kClientHeight);
    setFocusPolicy(Qt::StrongFocus);

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel1->setLineWidth(kBevel);
    Panel1->setGeometry(0, 0, kClientWidth, kClientHeight);

    Image1 = new QLabel(Panel1);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setScaledContents(true);
    Image1->setPixmap(QPixmap::fromImage(TitleArtwork()));
    Image1->installEventFilter(this);
    auto* layout = new QVBoxLayout(Panel1);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Image1);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(kTimerInterval);
    Timer1->setSingleShot(true);
    connect(Timer1, &QTimer::timeout, this, &TSplash::Timer1Timer);

    CentreOnScreen(this);
    Timer1->start();
}

bool TSplash::timerRunning() const
{
    return Timer1->isActive();
}

void TSplash::Timer1Timer()
{
    Timer1->stop();
}

void TSplash::FormKeyUp()
{
    Timer1->stop();
}

void TSplash::FormMouseDown()
{
    Timer1->stop();
}

void TSplash::Image1MouseDown()
{
    Timer1->stop();
}

void TSplash::keyReleaseEvent(QKeyEvent* event)
{
    FormKeyUp();
    event->accept();
}

void TSplash::mousePressEvent(QMouseEvent* event)
{
    FormMouseDown();
    event->accept();
}

bool TSplash::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Image1 && event->type() == QEvent::MouseButtonPress) {
        Image1MouseDown();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace tarnwick::gui
