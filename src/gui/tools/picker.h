#pragma once

// The shared pick list: one modal dialog, created once, that offers every
// value of a coded field (or every slot of a table) and hands back the chosen
// number. It never changes a record.

#include "core/rules/picker.h"
#include "gui/common/pagecontext.h"

#include <QDialog>

#include <cstdint>

class QFrame;
class QListWidget;
class QPushButton;

namespace tarnwick::gui {

class TPickForm : public QDialog, public PickList {
    Q_OBJECT
public:
    // Reads the records, the names and currentFormType through context on
    // every call; context must outlive the dialog.
    explicit TPickForm(const PageContext& context, QWidget* parent = nullptr);

    // Fills the list for mode, selects entry 0 and shows the dialog modally.
    // Returns the chosen entry's number, 0 for a formation marked as an
    // invalid choice, core::kPickCancelled when cancelled.
    int ShowPickList(core::PickMode mode) override;

    std::uint8_t pickMode() const { return pickMode_; }
    int pickResult() const { return pickResult_; }

    QFrame* Panel1 = nullptr;
    QListWidget* ListBox1 = nullptr;
    QPushButton* OKBtn = nullptr;
    QPushButton* BitBtn1 = nullptr;

private slots:
    void OKBtnClick();
    void ListBox1DblClick();

private:
    void FillPickList();
    int selectedIndex() const;

    const PageContext& context_;
    std::uint8_t pickMode_ = 0;
    int pickResult_ = -1;
    core::PickListContent content_;
};

} // namespace tarnwick::gui
