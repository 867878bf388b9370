#pragma once

// Keeps a table's columns at the widths FitColumns gives for its view's width.

#include "core/rules/windowfit.h"

#include <QObject>

#include <vector>

class QTableView;

namespace tarnwick::gui {

class ColumnFitter : public QObject {
    Q_OBJECT
public:
    // fits: one per column of the view's model.
    ColumnFitter(QTableView* view, std::vector<core::ColumnFit> fits);

    // Measures the contents again and sets the widths: call after the rows change.
    // The view calls it itself when its width changes.
    void refit();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QTableView* view_;
    std::vector<core::ColumnFit> fits_;
    int width_ = -1;
};

} // namespace tarnwick::gui
