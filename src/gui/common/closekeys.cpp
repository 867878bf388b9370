#include "gui/common/closekeys.h"

#include <QEvent>
#include <QKeyEvent>
#include <QKeySequence>
#include <QObject>
#include <QWidget>

namespace tarnwick::gui {

namespace {

class CloseKeys : public QObject {
public:
    explicit CloseKeys(QWidget* window)
        : QObject(window)
        , window_(window)
    {
    }

protected:
    // Sees a key on its way up from the widget that has the keyboard, once
    // every widget below the window has let it pass.
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != window_ || event->type() != QEvent::KeyPress)
            return false;
        auto* key = static_cast<QKeyEvent*>(event);
        const bool escape = key->key() == Qt::Key_Escape && key->modifiers() == Qt::NoModifier;
        if (!escape && !key->matches(QKeySequence::Close))
            return false;
        window_->close();
        return true;
    }

private:
    QWidget* window_;
};

} // namespace

void CloseByKeys(QWidget* window)
{
    window->installEventFilter(new CloseKeys(window));
}

} // namespace tarnwick::gui
