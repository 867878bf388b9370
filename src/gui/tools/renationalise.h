#pragma once

// The renationalise dialog: renumbers one nation number to another in every
// unit and formation of the loaded file.

#include "gui/common/pagecontext.h"

#include <QDialog>

#include <cstdint>

class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace tarnwick::gui {

class TRenatDlg : public QDialog {
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
    QToolButton* UnitWpn1PickBtn = nullptr;
    QLabel* Label4 = nullptr;
    QLineEdit* RenatToEdit = nullptr;
    QToolButton* SpeedButton1 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label6 = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QPushButton* BitBtn2 = nullptr;

public slots:
    void BitBtn1Click();

private slots:
    void UnitWpn1PickBtnClick();
    void SpeedButton1Click();
    void BitBtn2Click();

private:
    void pickNation(QLineEdit* edit, QLabel* name);

    PageContext& context_;
    bool changed_ = false;
};

} // namespace tarnwick::gui
