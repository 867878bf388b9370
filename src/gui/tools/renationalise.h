#pragma once

// The renationalise dialog: the renumbering dialog configured to renumber one
// nation number to another in every unit and formation of the loaded file.

#include "gui/tools/renumberdlg.h"

#include <cstdint>

namespace tarnwick::gui {

class TRenatDlg : public TRenumberDlg {
    Q_OBJECT
public:
    TRenatDlg(PageContext& context, QWidget* parent = nullptr);

    // Resets the heading, both edits and both names to the loaded file's nation.
    void init(std::uint8_t nation);
    // init, then shows the dialog modally; true when a renumbering changed
    // records while it was open (the main window then shows its page again).
    bool execFor(std::uint8_t nation);

    QLabel* Label1 = nullptr;
    QLineEdit* RenatFromEdit = nullptr;
    QLabel* Label4 = nullptr;
    QLineEdit* RenatToEdit = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label6 = nullptr;
};

} // namespace tarnwick::gui
