#pragma once

// The reclassify dialog: changes every unit of one class to another class.

#include "gui/common/pagecontext.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class QStatusBar;
class QToolButton;

namespace tarnwick::gui {

class TFormReclassify : public QDialog {
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
    QToolButton* UnitWpn1PickBtn = nullptr;
    QLineEdit* EditFromdesc = nullptr;
    QLineEdit* EditTo = nullptr;
    QToolButton* SpeedButton1 = nullptr;
    QLineEdit* EditToDesc = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QPushButton* BitBtn2 = nullptr;
    QStatusBar* StatusBar1 = nullptr;

public slots:
    // Both edits back to class 0 and both names to its name.
    void FormShow();
    void BitBtn1Click();

protected:
    void showEvent(QShowEvent* event) override;

private slots:
    void UnitWpn1PickBtnClick();
    void SpeedButton1Click();
    void BitBtn2Click();

private:
    void pickClass(QLineEdit* edit, QLineEdit* name);
    void setStatusText(const QString& text);

    PageContext& context_;
    QLabel* statusLabel_ = nullptr;
    bool changed_ = false;
};

} // namespace tarnwick::gui
