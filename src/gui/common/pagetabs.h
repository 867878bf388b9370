#pragma once

// A tab widget whose keyboard page switching never lands on a hidden page.

#include <QTabWidget>

namespace tarnwick::gui {

// QTabWidget's own Ctrl+Tab, Ctrl+Shift+Tab and Ctrl+PageUp/PageDown step over
// disabled pages but not over hidden ones, so with only one page shown they
// would bring up a page whose tab is not even there. These keys here go to the
// next page that is both shown and enabled, or nowhere.
class PageTabs : public QTabWidget {
    Q_OBJECT
public:
    explicit PageTabs(QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    // The index of the next shown and enabled page from the current one going
    // step (+1 or -1) with wrap-around, or -1 when there is none but the current.
    int nextShownPage(int step) const;
};

} // namespace tarnwick::gui
