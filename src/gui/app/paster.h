#pragma once

// The copy/paste dialog: picks the paste-buffer entry a copy goes to or a paste
// comes from, copies or pastes a whole table, and exports or imports a buffer.

#include "core/data/pastebuffer.h"
#include "core/rules/paster.h"
#include "gui/common/pagecontext.h"

#include <QDialog>

class QLabel;
class QListWidget;
class QPushButton;

namespace tarnwick::gui {

class TPasterDlg : public QDialog {
    Q_OBJECT
public:
    // What exec() returns.
    enum Result { ResultCancel = 0, ResultOk = 1, ResultAll = 2, ResultFile = 3 };

    TPasterDlg(PageContext& context, core::PasteBuffers& buffers, QWidget* parent = nullptr);

    // Set the kind and mode, fill the rows and the status line; the caller then runs exec().
    void PrepareWeapon(core::PasteMode mode) { prepare(core::PasteKind::Weapon, mode); }
    void PrepareUnit(core::PasteMode mode) { prepare(core::PasteKind::Unit, mode); }
    void PrepareFormation(core::PasteMode mode) { prepare(core::PasteKind::Formation, mode); }
    void prepare(core::PasteKind kind, core::PasteMode mode);

    core::PasteKind kind() const { return kind_; }
    core::PasteMode mode() const { return mode_; }

    QLabel* LabelStatus = nullptr;
    QListWidget* ListBox1 = nullptr;
    QPushButton* OKbtn = nullptr;
    QPushButton* CancelBtn = nullptr;
    QPushButton* CopyAllBtn = nullptr;
    QPushButton* ImpBtn = nullptr;
    QPushButton* ExpBtn = nullptr;

private slots:
    void OKBtnClick();
    void CopyAllBtnClick();
    void ExpBtnClick();
    void ImpBtnClick();

private:
    void fillRows();

    PageContext& context_;
    core::PasteBuffers& buffers_;
    core::PasteKind kind_ = core::PasteKind::Unit;
    core::PasteMode mode_ = core::PasteMode::Copy;
};

} // namespace tarnwick::gui
