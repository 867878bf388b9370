#include "gui/common/pickkey.h"

#include <QAbstractButton>
#include <QLineEdit>

#include <limits>

namespace {

// Farther than this, a button belongs to something else.
constexpr int kMaxGap = 40;

} // namespace

namespace tarnwick::gui {

QAbstractButton* PickButtonBeside(QWidget* widget)
{
    auto* edit = qobject_cast<QLineEdit*>(widget);
    if (edit == nullptr || edit->parentWidget() == nullptr || !edit->isVisible())
        return nullptr;
    QWidget* parent = edit->parentWidget();
    const QRect place = edit->geometry();
    QAbstractButton* best = nullptr;
    int bestGap = std::numeric_limits<int>::max();
    for (QAbstractButton* button : parent->findChildren<QAbstractButton*>(Qt::FindDirectChildrenOnly)) {
        if (button->text() != QStringLiteral("...") || !button->isVisible() || !button->isEnabled())
            continue;
        const QRect at = button->geometry();
        // On the same row: the button's middle lies within the edit's height.
        const int middle = at.center().y();
        if (middle < place.top() || middle > place.bottom())
            continue;
        const int gap = at.left() - place.right();
        if (gap >= 0 && gap <= kMaxGap && gap < bestGap) {
            best = button;
            bestGap = gap;
        }
    }
    return best;
}

} // namespace tarnwick::gui
