#pragma once

// The reclassify dialog: the renumbering dialog configured to change every
// unit of one class to another class.

#include "gui/tools/renumberdlg.h"

namespace tarnwick::gui {

class TFormReclassify : public TRenumberDlg {
    Q_OBJECT
public:
    TFormReclassify(PageContext& context, QWidget* parent = nullptr);

    // Shows the dialog modally (each opening resets it); true when a
    // reclassification changed units while it was open.
    bool execFor();

    // The status bar's text.
    QString statusText() const;

    QLabel* Label2 = nullptr;
    QLineEdit* EditFrom = nullptr;
    QLabel* EditFromdesc = nullptr;
    QLineEdit* EditTo = nullptr;
    QLabel* EditToDesc = nullptr;
    QStatusBar* StatusBar1 = nullptr;

public slots:
    // Both edits back to class 0, both names to its name, the count cleared.
    void FormShow();

protected:
    void showEvent(QShowEvent* event) override;
};

} // namespace tarnwick::gui
