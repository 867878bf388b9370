#include "gui/tools/renumberdlg.h"

#include "core/rules/document.h"
#include "core/rules/reclassify.h"
#include "core/rules/renationalise.h"
#include "gui/common/bytetext.h"
#include "gui/common/dialogs.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace tarnwick::gui {

namespace {

template <typename T> T* Named(const char* name, QWidget* parent)
{
    auto* widget = new T(parent);
    widget->setObjectName(QLatin1String(name));
    return widget;
}

} // namespace

TRenumberDlg::TRenumberDlg(const RenumberDlgConfig& config, PageContext& context, QWidget* parent)
    : QDialog(parent)
    , context_(context)
    , kind_(config.kind)
{
    setObjectName(QLatin1String(config.objectName));
    setWindowTitle(QLatin1String(config.caption));
    setModal(true);

    heading = Named<QLabel>(config.headingName, this);
    fromEdit = Named<QLineEdit>(config.fromEditName, this);
    toEdit = Named<QLineEdit>(config.toEditName, this);
    for (QLineEdit* edit : { fromEdit, toEdit }) {
        if (config.editLength > 0)
            edit->setMaxLength(config.editLength);
        edit->setFixedWidth(50);
    }
    UnitWpn1PickBtn = Named<QToolButton>("UnitWpn1PickBtn", this);
    SpeedButton1 = Named<QToolButton>("SpeedButton1", this);
    for (QToolButton* button : { UnitWpn1PickBtn, SpeedButton1 })
        button->setText(QStringLiteral("..."));
    fromName = Named<QLabel>(config.fromNameName, this);
    toName = Named<QLabel>(config.toNameName, this);
    for (QLabel* name : { fromName, toName })
        name->setMinimumWidth(180);
    progress = Named<QLabel>(config.progressName, this);
    progress->setMinimumWidth(260);

    BitBtn1 = new QPushButton(QLatin1String(config.buttonCaption), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setDefault(true);
    BitBtn2 = new QPushButton(QLatin1String(config.closeCaption), this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    BitBtn2->setToolTip(QLatin1String(config.closeHint));
    BitBtn2->setAutoDefault(false);

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QLatin1String(config.fromCaption), this), 0, 0);
    grid->addWidget(fromEdit, 0, 1);
    grid->addWidget(UnitWpn1PickBtn, 0, 2);
    grid->addWidget(fromName, 0, 3);
    grid->addWidget(new QLabel(QLatin1String(config.toCaption), this), 1, 0);
    grid->addWidget(toEdit, 1, 1);
    grid->addWidget(SpeedButton1, 1, 2);
    grid->addWidget(toName, 1, 3);
    grid->setColumnStretch(3, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn2);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addLayout(grid);
    if (config.statusBarName != nullptr) {
        layout->addLayout(buttons);
        statusBar = Named<QStatusBar>(config.statusBarName, this);
        statusBar->setSizeGripEnabled(false);
        statusBar->addWidget(progress, 1);
        layout->addWidget(statusBar);
    } else {
        layout->addWidget(progress);
        layout->addLayout(buttons);
    }

    // Tab goes along each row, then to the buttons.
    QWidget* const tabOrder[] = { fromEdit, UnitWpn1PickBtn, toEdit, SpeedButton1, BitBtn1, BitBtn2 };
    for (std::size_t i = 1; i < std::size(tabOrder); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);

    connect(fromEdit, &QLineEdit::textChanged, this, [this] { showName(fromEdit, fromName); });
    connect(toEdit, &QLineEdit::textChanged, this, [this] { showName(toEdit, toName); });
    connect(UnitWpn1PickBtn, &QToolButton::clicked, this, [this] { pick(fromEdit); });
    connect(SpeedButton1, &QToolButton::clicked, this, [this] { pick(toEdit); });
    connect(BitBtn1, &QPushButton::clicked, this, &TRenumberDlg::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::accept);
}

void TRenumberDlg::reset(const QString& number)
{
    for (QLineEdit* edit : { fromEdit, toEdit }) {
        edit->setText(number);
        edit->setModified(false);
    }
    showName(fromEdit, fromName);
    showName(toEdit, toName);
    // The last run's count belongs to that opening (perhaps another file).
    progress->clear();
}

bool TRenumberDlg::run()
{
    changed_ = false;
    exec();
    return changed_;
}

void TRenumberDlg::showName(QLineEdit* edit, QLabel* name)
{
    // Only digits and minus signs count, so the edit's text reads the same as bytes.
    name->setText(
        FromBytes(core::TypedNumberName(kind_, edit->text().toStdString(), context_.settings->names)));
}

void TRenumberDlg::pick(QLineEdit* edit)
{
    const int r = context_.picker->ShowPickList(
        kind_ == core::RenumberKind::Nation ? core::pickNation : core::pickUnitClass);
    if (r >= 0)
        edit->setText(QString::number(r)); // the name follows the text
}

void TRenumberDlg::BitBtn1Click()
{
    const std::string from = fromEdit->text().toStdString();
    const std::string to = toEdit->text().toStdString();
    auto show = [this](const std::string& text) { progress->setText(QString::fromStdString(text)); };
    std::optional<std::string> error;
    std::string finalText;
    const bool nation = kind_ == core::RenumberKind::Nation;
    const std::string step
        = nation ? core::RenationaliseStepText(from, to) : core::ReclassifyStepText(from, to);
    const bool changed = context_.changeRecords(step, [&](core::TOobData& records) {
        if (nation) {
            const core::RenumberOutcome outcome = core::RunRenumber(records, from, to, show);
            error = outcome.error;
            finalText = outcome.finalText;
            return outcome.ok() && (outcome.counts.units > 0 || outcome.counts.formations > 0);
        }
        const core::ReclassifyOutcome outcome = core::RunReclassify(records, from, to, show);
        error = outcome.error;
        finalText = outcome.statusText;
        return outcome.ok() && outcome.units > 0;
    });
    if (error) {
        context_.dialogs->message(this, Dialogs::Kind::Error, windowTitle(), QString::fromStdString(*error));
        return;
    }
    show(finalText);
    if (changed)
        changed_ = true;
    // The main window's status bar repeats a renumbering's count.
    if (kind_ == core::RenumberKind::Nation && context_.setStatus)
        context_.setStatus(progress->text());
}

} // namespace tarnwick::gui
