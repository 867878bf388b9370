#pragma once

// The transparent colour of the icons: a palette index tried out live on the
// current unit's icons, kept with OK, restored with Cancel.

#include <QDialog>

#include <functional>

class QPushButton;
class QSpinBox;

namespace tarnwick::gui {

class TFormColour : public QDialog {
    Q_OBJECT
public:
    // colour is the program's transparent colour, changed in place; redraw
    // draws the current unit's icons again.
    TFormColour(int& colour, std::function<void()> redraw, QWidget* parent = nullptr);

    QSpinBox* SpinEdit1 = nullptr;
    QPushButton* Button1 = nullptr; // OK
    QPushButton* Button2 = nullptr; // Cancel

    // The colour in force when the dialog opened.
    int rememberedColour() const { return remembered_; }

    void FormShow();

public slots:
    // Closing the window or Escape count as Cancel.
    void reject() override { Button2Click(); }

protected:
    void showEvent(QShowEvent* event) override;

private slots:
    void SpinEdit1Change(int value);
    void Button1Click();
    void Button2Click();

private:
    int& colour_;
    std::function<void()> redraw_;
    int remembered_ = 0;
};

} // namespace tarnwick::gui
