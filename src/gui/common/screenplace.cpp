#include "gui/common/screenplace.h"

#include "core/rules/windowfit.h"

#include <QEvent>
#include <QGuiApplication>
#include <QLayout>
#include <QMainWindow>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>

namespace tarnwick::gui {

namespace {

// What a window's border and title bar take, before the window is shown and
// the desktop says so.
constexpr QSize kFrameAllowance(8, 32);

const QScreen* ScreenOf(const QWidget* window)
{
    if (const QScreen* screen = window->screen())
        return screen;
    return QGuiApplication::primaryScreen();
}

// A tool window opens on its main window's screen.
const QScreen* OpeningScreen(const QWidget* window)
{
    if (const QWidget* parent = window->parentWidget())
        return ScreenOf(parent->window());
    return ScreenOf(window);
}

core::ScreenArea Area(const QRect& r)
{
    return { r.x(), r.y(), r.width(), r.height() };
}

core::FrameMargins Margins(const QWidget* window)
{
    const QRect frame = window->frameGeometry();
    const QRect client = window->geometry();
    if (frame == client && !window->testAttribute(Qt::WA_WState_Created))
        return { kFrameAllowance.width() / 2, kFrameAllowance.height() - kFrameAllowance.width() / 2,
            kFrameAllowance.width() / 2, kFrameAllowance.width() / 2 };
    return { client.left() - frame.left(), client.top() - frame.top(), frame.right() - client.right(),
        frame.bottom() - client.bottom() };
}

// Resizes and moves a window from its placement.
void Apply(QWidget* window, const core::WindowRequest& request, const QScreen* screen)
{
    const core::ScreenArea place = core::PlaceWindow(request, Area(screen->availableGeometry()));
    window->resize(place.width, place.height);
    window->move(place.x, place.y);
}

class ScreenFitter : public QObject {
public:
    ScreenFitter(QWidget* window, const QSize& wanted, OpenOver over)
        : QObject(window)
        , window_(window)
        , wanted_(wanted)
        , over_(over)
    {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == window_ && event->type() == QEvent::Show && !event->spontaneous())
            fit();
        return false;
    }

private:
    void fit()
    {
        const QScreen* screen = OpeningScreen(window_);
        if (screen == nullptr)
            return;
        const QSize minimum = window_->minimumSizeHint().expandedTo(window_->minimumSize());
        const QSize size = shown_ || !wanted_.isValid() ? window_->size() : wanted_;
        core::WindowRequest request { size.width(), size.height(), minimum.width(), minimum.height(),
            Margins(window_), Area(screen->availableGeometry()), std::nullopt };
        const QWidget* parent = window_->parentWidget();
        if (over_ == OpenOver::MainWindow && parent != nullptr && parent->window()->isVisible())
            request.over = Area(parent->window()->frameGeometry());
        if (shown_)
            request.at = core::ScreenPoint { window_->pos().x(), window_->pos().y() };
        shown_ = true;
        Apply(window_, request, screen);
    }

    QWidget* window_;
    QSize wanted_;
    OpenOver over_;
    bool shown_ = false;
};

} // namespace

void CentreOnScreen(QWidget* window)
{
    const QScreen* screen = ScreenOf(window);
    if (screen == nullptr)
        return;
    const core::ScreenArea available = Area(screen->availableGeometry());
    // Moved only: the window keeps its size.
    Apply(window,
        { window->width(), window->height(), window->width(), window->height(), Margins(window), available,
            std::nullopt },
        screen);
}

void FitWhenShown(QWidget* window, const QSize& wanted, OpenOver over)
{
    new ScreenFitter(window, wanted, over);
}

QSize FitToScreen(QMainWindow* window, QWidget* pages, const QSize& design)
{
    const QScreen* screen = ScreenOf(window);
    if (screen == nullptr)
        return design;
    QSize frame = window->frameGeometry().size() - window->geometry().size();
    if (frame.isEmpty())
        frame = kFrameAllowance;
    const QSize available = screen->availableGeometry().size();
    const int scrollBar = window->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, window);
    const core::WindowFit fit = core::FitWindow(design.width(), design.height(), available.width(),
        available.height(), frame.width(), frame.height(), scrollBar);
    if (!fit.scroll)
        return design;

    QWidget* holder = pages->parentWidget();
    if (holder != nullptr && holder->layout() != nullptr) {
        // The pages keep the room they have at the design size; the window shows what fits.
        if (window->layout() != nullptr)
            window->layout()->activate();
        holder->layout()->activate();
        pages->setMinimumSize(pages->minimumSizeHint().expandedTo(pages->size()));
        auto* scroller = new QScrollArea(holder);
        scroller->setObjectName("PageScroller");
        scroller->setFrameShape(QFrame::NoFrame);
        scroller->setWidgetResizable(true);
        // Only the dimension the screen is short of scrolls.
        if (fit.width >= design.width() + scrollBar)
            scroller->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        if (fit.height >= design.height() + scrollBar)
            scroller->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        delete holder->layout()->replaceWidget(pages, scroller);
        scroller->setWidget(pages);
    }
    const QSize size(fit.width, fit.height);
    window->setMinimumSize(size);
    window->resize(size);
    CentreOnScreen(window);
    return size;
}

} // namespace tarnwick::gui
