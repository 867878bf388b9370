#include "gui/tools/renationalise.h"

#include "core/rules/document.h"
#include "core/rules/renationalise.h"
#include "gui/common/bytetext.h"
#include "gui/common/dialogs.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace tarnwick::gui {

namespace {

QToolButton* PickButton(const char* name, QWidget* parent)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setText(QStringLiteral("..."));
    return button;
}

QLabel* NameLabel(const char* name, QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setMinimumWidth(160);
    return label;
}

} // namespace

TRenatDlg::TRenatDlg(PageContext& context, QWidget* parent)
    : QDialog(parent)
    , context_(context)
{
    setObjectName(QStringLiteral("RenatDlg"));
    setWindowTitle(QLatin1String(core::kRenatCaption));
    setModal(true);

    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));

    RenatFromEdit = new QLineEdit(this);
    RenatFromEdit->setObjectName(QStringLiteral("RenatFromEdit"));
    RenatFromEdit->setMaxLength(core::kRenatEditLength);
    RenatFromEdit->setFixedWidth(40);
    UnitWpn1PickBtn = PickButton("UnitWpn1PickBtn", this);
    Label4 = NameLabel("Label4", this);

    RenatToEdit = new QLineEdit(this);
    RenatToEdit->setObjectName(QStringLiteral("RenatToEdit"));
    RenatToEdit->setMaxLength(core::kRenatEditLength);
    RenatToEdit->setFixedWidth(40);
    SpeedButton1 = PickButton("SpeedButton1", this);
    Label5 = NameLabel("Label5", this);

    Label6 = new QLabel(this);
    Label6->setObjectName(QStringLiteral("Label6"));
    Label6->setMinimumWidth(260);

    BitBtn1 = new QPushButton(QLatin1String(core::kRenatRenumberCaption), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setDefault(true);
    BitBtn2 = new QPushButton(QLatin1String(core::kRenatCloseCaption), this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    BitBtn2->setToolTip(QLatin1String(core::kRenatCloseHint));
    BitBtn2->setAutoDefault(false);

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Change any"), this), 0, 0);
    grid->addWidget(RenatFromEdit, 0, 1);
    grid->addWidget(UnitWpn1PickBtn, 0, 2);
    grid->addWidget(Label4, 0, 3);
    grid->addWidget(new QLabel(QStringLiteral("To"), this), 1, 0);
    grid->addWidget(RenatToEdit, 1, 1);
    grid->addWidget(SpeedButton1, 1, 2);
    grid->addWidget(Label5, 1, 3);
    grid->setColumnStretch(3, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn2);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addLayout(grid);
    layout->addWidget(Label6);
    layout->addLayout(buttons);

    connect(UnitWpn1PickBtn, &QToolButton::clicked, this, &TRenatDlg::UnitWpn1PickBtnClick);
    connect(SpeedButton1, &QToolButton::clicked, this, &TRenatDlg::SpeedButton1Click);
    connect(BitBtn1, &QPushButton::clicked, this, &TRenatDlg::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &TRenatDlg::BitBtn2Click);
}

void TRenatDlg::init(std::uint8_t nation)
{
    const auto& names = context_.settings->names;
    Label1->setText(FromBytes(core::RenatCurrentTarnText(nation, names)));
    const QString number = QString::fromStdString(core::RenatInitialEditText(nation));
    RenatFromEdit->setText(number);
    RenatToEdit->setText(number);
    const QString name = FromBytes(core::NationName(names, nation));
    Label4->setText(name);
    Label5->setText(name);
}

bool TRenatDlg::execFor(std::uint8_t nation)
{
    changed_ = false;
    init(nation);
    exec();
    return changed_;
}

void TRenatDlg::pickNation(QLineEdit* edit, QLabel* name)
{
    const int r = context_.picker->ShowPickList(core::pickNation);
    if (r < 0)
        return;
    edit->setText(QString::number(r));
    name->setText(FromBytes(core::NationName(context_.settings->names, r)));
}

void TRenatDlg::UnitWpn1PickBtnClick()
{
    pickNation(RenatFromEdit, Label4);
}

void TRenatDlg::SpeedButton1Click()
{
    pickNation(RenatToEdit, Label5);
}

void TRenatDlg::BitBtn1Click()
{
    // Only digits and minus signs count, so the edits' text reads the same as bytes.
    const std::string from = RenatFromEdit->text().toStdString();
    const std::string to = RenatToEdit->text().toStdString();
    core::RenumberOutcome outcome;
    const auto progress = [this](const std::string& text) { Label6->setText(QString::fromStdString(text)); };
    if (context_.changeRecords(core::RenationaliseStepText(from, to), [&](core::TOobData& records) {
            outcome = core::RunRenumber(records, from, to, progress);
            return outcome.ok() && (outcome.counts.units > 0 || outcome.counts.formations > 0);
        }))
        changed_ = true;
    if (!outcome.ok()) {
        context_.dialogs->message(
            this, Dialogs::Kind::Error, windowTitle(), QString::fromStdString(*outcome.error));
        return;
    }
    Label6->setText(QString::fromStdString(outcome.finalText));
    if (context_.setStatus)
        context_.setStatus(Label6->text());
}

void TRenatDlg::BitBtn2Click()
{
    accept();
}

} // namespace tarnwick::gui
