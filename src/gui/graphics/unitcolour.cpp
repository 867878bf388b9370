#include "gui/graphics/unitcolour.h"

#include "gui/common/screenplace.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace tarnwick::gui {

TFormColour::TFormColour(int& colour, std::function<void()> redraw, QWidget* parent)
    : QDialog(parent)
    , colour_(colour)
    , redraw_(std::move(redraw))
{
    setObjectName("FormColour");
    setWindowTitle("16 Bit Monitor Transparency Colour setup");
    setModal(true);

    auto* column = new QVBoxLayout(this);
    for (const char* line : { "(For 32 bit True Colour and 256 Colour, 240 is best)",
             "If you run in 16 bit High colour - you may need to change the value",
             "use this utility to find a colour value your 16 bit colour display likes, then change the "
             "value in the ini file manually" }) {
        auto* label = new QLabel(QString::fromLatin1(line), this);
        label->setWordWrap(true);
        column->addWidget(label);
    }
    SpinEdit1 = new QSpinBox(this);
    SpinEdit1->setObjectName("SpinEdit1");
    SpinEdit1->setRange(0, 255);
    SpinEdit1->setValue(0);
    auto* row = new QHBoxLayout;
    row->addWidget(SpinEdit1);
    row->addStretch(1);
    Button1 = new QPushButton("OK", this);
    Button1->setObjectName("Button1");
    Button1->setDefault(true);
    Button2 = new QPushButton("Cancel", this);
    Button2->setObjectName("Button2");
    row->addWidget(Button1);
    row->addWidget(Button2);
    column->addLayout(row);
    setFixedWidth(420);

    connect(SpinEdit1, &QSpinBox::valueChanged, this, &TFormColour::SpinEdit1Change);
    connect(Button1, &QPushButton::clicked, this, &TFormColour::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TFormColour::Button2Click);
}

void TFormColour::showEvent(QShowEvent* event)
{
    adjustSize();
    CentreOnScreen(this);
    FormShow();
    QDialog::showEvent(event);
}

void TFormColour::FormShow()
{
    // The box keeps the value it had when the dialog last closed.
    remembered_ = colour_;
}

void TFormColour::SpinEdit1Change(int value)
{
    colour_ = value;
    if (redraw_)
        redraw_();
}

void TFormColour::Button1Click()
{
    colour_ = SpinEdit1->value();
    accept();
}

void TFormColour::Button2Click()
{
    colour_ = remembered_;
    if (redraw_)
        redraw_();
    QDialog::reject();
}

} // namespace tarnwick::gui
