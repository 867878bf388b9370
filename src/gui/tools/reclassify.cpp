#include "gui/tools/reclassify.h"

#include "core/rules/document.h"
#include "core/rules/reclassify.h"
#include "gui/common/bytetext.h"
#include "gui/common/dialogs.h"
#include "gui/common/screenplace.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QStatusBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace tarnwick::gui {

namespace {

QLineEdit* ClassEdit(const char* name, QWidget* parent)
{
    auto* edit = new QLineEdit(QLatin1String(core::kReclassifyInitialClass), parent);
    edit->setObjectName(QLatin1String(name));
    edit->setFixedWidth(50);
    return edit;
}

QLineEdit* NameField(const char* name, QWidget* parent)
{
    auto* edit = new QLineEdit(QLatin1String(core::kReclassifyInitialClassName), parent);
    edit->setObjectName(QLatin1String(name));
    edit->setReadOnly(true);
    edit->setMinimumWidth(180);
    return edit;
}

QToolButton* PickButton(const char* name, QWidget* parent)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setText(QStringLiteral("..."));
    return button;
}

} // namespace

TFormReclassify::TFormReclassify(PageContext& context, QWidget* parent)
    : QDialog(parent)
    , context_(context)
{
    setObjectName(QStringLiteral("FormReclassify"));
    setWindowTitle(QLatin1String(core::kReclassifyCaption));
    setModal(true);

    Label2 = new QLabel(QLatin1String(core::kReclassifyHeading), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    QFont heading = Label2->font();
    heading.setBold(true);
    Label2->setFont(heading);

    EditFrom = ClassEdit("EditFrom", this);
    UnitWpn1PickBtn = PickButton("UnitWpn1PickBtn", this);
    EditFromdesc = NameField("EditFromdesc", this);
    EditTo = ClassEdit("EditTo", this);
    SpeedButton1 = PickButton("SpeedButton1", this);
    EditToDesc = NameField("EditToDesc", this);

    BitBtn1 = new QPushButton(QLatin1String(core::kReclassifyButtonCaption), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setDefault(true);
    BitBtn2 = new QPushButton(QLatin1String(core::kReclassifyCloseCaption), this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    BitBtn2->setToolTip(QLatin1String(core::kReclassifyCloseHint));
    BitBtn2->setAutoDefault(false);

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);
    statusLabel_ = new QLabel(StatusBar1);
    statusLabel_->setObjectName(QStringLiteral("StatusBar1Text"));
    StatusBar1->addWidget(statusLabel_, 1);

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QLatin1String(core::kReclassifyFromCaption), this), 0, 0);
    grid->addWidget(EditFrom, 0, 1);
    grid->addWidget(UnitWpn1PickBtn, 0, 2);
    grid->addWidget(EditFromdesc, 0, 3);
    grid->addWidget(new QLabel(QLatin1String(core::kReclassifyToCaption), this), 1, 0);
    grid->addWidget(EditTo, 1, 1);
    grid->addWidget(SpeedButton1, 1, 2);
    grid->addWidget(EditToDesc, 1, 3);
    grid->setColumnStretch(3, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn2);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label2);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    layout->addWidget(StatusBar1);

    connect(UnitWpn1PickBtn, &QToolButton::clicked, this, &TFormReclassify::UnitWpn1PickBtnClick);
    connect(SpeedButton1, &QToolButton::clicked, this, &TFormReclassify::SpeedButton1Click);
    connect(BitBtn1, &QPushButton::clicked, this, &TFormReclassify::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &TFormReclassify::BitBtn2Click);
}

bool TFormReclassify::execFor()
{
    changed_ = false;
    // Centred on the desktop rather than on the main window.
    adjustSize();
    CentreOnScreen(this);
    exec();
    return changed_;
}

QString TFormReclassify::statusText() const
{
    return statusLabel_->text();
}

void TFormReclassify::setStatusText(const QString& text)
{
    statusLabel_->setText(text);
}

void TFormReclassify::showEvent(QShowEvent* event)
{
    if (!event->spontaneous())
        FormShow();
    QDialog::showEvent(event);
}

void TFormReclassify::FormShow()
{
    for (QLineEdit* edit : { EditFrom, EditTo })
        edit->setText(QLatin1String(core::kReclassifyInitialClass));
    for (QLineEdit* name : { EditFromdesc, EditToDesc })
        name->setText(QLatin1String(core::kReclassifyInitialClassName));
    // The last run's count belongs to that opening (perhaps another file).
    setStatusText(QString());
}

void TFormReclassify::pickClass(QLineEdit* edit, QLineEdit* name)
{
    const int r = context_.picker->ShowPickList(core::pickUnitClass);
    if (r < 0)
        return;
    edit->setText(QString::number(r));
    name->setText(FromBytes(core::UnitClassName(context_.settings->names, static_cast<std::uint8_t>(r))));
}

void TFormReclassify::UnitWpn1PickBtnClick()
{
    pickClass(EditFrom, EditFromdesc);
}

void TFormReclassify::SpeedButton1Click()
{
    pickClass(EditTo, EditToDesc);
}

void TFormReclassify::BitBtn1Click()
{
    // Only digits and minus signs count, so the edits' text reads the same as bytes.
    const std::string from = EditFrom->text().toStdString();
    const std::string to = EditTo->text().toStdString();
    core::ReclassifyOutcome outcome;
    const auto progress = [this](const std::string& text) { setStatusText(QString::fromStdString(text)); };
    if (context_.changeRecords(core::ReclassifyStepText(from, to), [&](core::TOobData& records) {
            outcome = core::RunReclassify(records, from, to, progress);
            return outcome.ok() && outcome.units > 0;
        }))
        changed_ = true;
    if (!outcome.ok()) {
        context_.dialogs->message(
            this, Dialogs::Kind::Error, windowTitle(), QString::fromStdString(*outcome.error));
        return;
    }
    setStatusText(QString::fromStdString(outcome.statusText));
}

void TFormReclassify::BitBtn2Click()
{
    accept();
}

} // namespace tarnwick::gui
