#include "gui/pages/formationpage.h"

#include "core/data/globals.h"
#include "core/rules/document.h"
#include "core/rules/sdimain.h"
#include "gui/common/bytetext.h"
#include "gui/common/dialogs.h"
#include "gui/common/textcolour.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <tuple>

namespace tarnwick::gui {

namespace {

// The length an edit allows the user to type.
const char* const kTypingLimit = "typingLimit";

QString Latin(const std::string& text)
{
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

QLabel* MakeLabel(QWidget* parent, const char* name, bool bold = true)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    if (bold) {
        QFont font = label->font();
        font.setBold(true);
        label->setFont(font);
    }
    SetTextTint(label, core::UnitTint::Navy);
    return label;
}

QLabel* MakeCaption(QWidget* parent, const QString& text)
{
    return new QLabel(text, parent);
}

QLineEdit* MakeEdit(QWidget* parent, const QString& name, int maxLength, int width)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    if (maxLength > 0)
        edit->setMaxLength(maxLength);
    edit->setProperty(kTypingLimit, maxLength);
    edit->setFixedWidth(width);
    return edit;
}

// Shows a stored number in full: the length limit holds typing, not what a
// file holds (nation 123 in a two-digit edit, member 12345 in a four-digit one).
void ShowText(QLineEdit* edit, const QString& text)
{
    const int limit = edit->property(kTypingLimit).toInt();
    if (limit > 0 && text.size() > limit) {
        edit->setMaxLength(static_cast<int>(text.size()));
        edit->setText(text);
        return;
    }
    edit->setText(text);
    if (limit > 0)
        edit->setMaxLength(limit);
}

void ShowNumber(QLineEdit* edit, long value)
{
    ShowText(edit, QString::number(value));
}

QToolButton* MakePickButton(QWidget* parent, const QString& name, const char* hint)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(name);
    button->setText(QStringLiteral("..."));
    button->setFocusPolicy(Qt::NoFocus);
    button->setFixedSize(22, 20);
    if (hint)
        button->setToolTip(QString::fromLatin1(hint));
    return button;
}

std::string Std(const QString& text)
{
    return text.toStdString();
}

QString BuyPageText(int page)
{
    return Latin(page >= 0 && page <= 255 ? core::BuyPageName(static_cast<std::uint8_t>(page)) : "Unknown");
}

QString TwoDigitName(int n)
{
    return QString::number(n).rightJustified(2, QLatin1Char('0'));
}

} // namespace

FormationPage::FormationPage(PageContext& context, QWidget* parent)
    : RecordPage(context, parent)
{
    buildControls();
    layOut();
    kind_ = core::UpdateFormationKind(formType_, currentSlot());
}

void FormationPage::buildControls()
{
    FormNamelabel = MakeLabel(this, "FormNamelabel");
    FormNameEdit = MakeEdit(this, "FormNameEdit", static_cast<int>(core::kNameLength), 130);
    AcceptOnlyCp1252(FormNameEdit);

    FormNationEdit = MakeEdit(this, "FormNationEdit", 2, 30);
    FormPickNationBtn = MakePickButton(this, "FormPickNationBtn", "Choose which nation");
    FormNationLabel = MakeLabel(this, "FormNationLabel");

    FormMonthAvailEdit = MakeEdit(this, "FormMonthAvailEdit", 0, 30);
    FormAvailEdit = MakeEdit(this, "FormAvailEdit", 3, 36);
    FormAvailEdit->setToolTip(
        "(if there is a 100 before the number, the formation is made unavailable - to the AI)");
    FormMonthUnAvailEdit = MakeEdit(this, "FormMonthUnAvailEdit", 0, 30);
    FormUntilEdit = MakeEdit(this, "FormUntilEdit", 3, 36);

    FormPageEdit = MakeEdit(this, "FormPageEdit", 2, 30);
    FormCatPickBtn = MakePickButton(
        this, "FormCatPickBtn", "Select the buy page - default lets GH choose based on slot 1s type");
    FormCatLabel = MakeLabel(this, "FormCatLabel");

    FormTypeEdit = MakeEdit(this, "FormTypeEdit", 2, 30);
    FormTypePickBtn = MakePickButton(this, "FormTypePickBtn", nullptr);
    FormTypeLabel = MakeLabel(this, "FormTypeLabel");

    LabelCo = MakeLabel(this, "LabelCo");
    LabelCo->setWordWrap(true); // the longest kind text may not fit beside a narrow window
    FormExpModEdit = MakeEdit(this, "FormExpModEdit", 3, 36);
    FormMoraleModEdit = MakeEdit(this, "FormMoraleModEdit", 3, 36);
    TotalCount = MakeLabel(this, "TotalCount");
    TotalCount->setText(QStringLiteral("0"));

    for (int n = 1; n <= core::kFormationMembers; ++n) {
        MemberRow& row = rows_[static_cast<std::size_t>(n - 1)];
        row.edit = MakeEdit(this, QStringLiteral("FormSlot%1Edit").arg(n), 4, 42);
        row.edit->setToolTip(n == 1 ? QStringLiteral("MUST be a unit")
                                    : QStringLiteral("Formation = 1000 + subformation number"));
        const QString button
            = n == 6 ? QStringLiteral("FormSlot6Btn") : QStringLiteral("FormSlot%1PickBtn").arg(n);
        row.pick = MakePickButton(this, button,
            n == 1 ? "slot 1 MUST be a unit - NOT a formation" : "Right click to pick formation");
        row.name = MakeLabel(this, QStringLiteral("Formslot%1Label").arg(n).toLatin1().constData());
        row.date = MakeLabel(this, ("Form" + TwoDigitName(n) + "DateLabel").toLatin1().constData());
        row.type = MakeLabel(this, ("Form" + TwoDigitName(n) + "TypeLabel").toLatin1().constData());

        connect(row.edit, &QLineEdit::textChanged, this, [this, n] { FormSlotEditChange(n); });
        connect(row.pick, &QToolButton::clicked, this, [this, n] { FormSlotPickBtnClick(n); });
        if (n > 1)
            row.pick->installEventFilter(this);
    }
    rows_[0].edit->installEventFilter(this);
    FormTypeEdit->installEventFilter(this);

    connect(FormNationEdit, &QLineEdit::textChanged, this, &FormationPage::FormNationEditChange);
    connect(FormPageEdit, &QLineEdit::textChanged, this, &FormationPage::FormPageEditChange);
    connect(FormTypeEdit, &QLineEdit::textChanged, this, &FormationPage::FormTypeEditChange);
    connect(FormPickNationBtn, &QToolButton::clicked, this, &FormationPage::FormPickNationBtnClick);
    connect(FormCatPickBtn, &QToolButton::clicked, this, &FormationPage::FormCatPickBtnClick);
    connect(FormTypePickBtn, &QToolButton::clicked, this, &FormationPage::FormTypePickBtnClick);
}

void FormationPage::layOut()
{
    auto* page = new QHBoxLayout(this);
    page->setContentsMargins(4, 4, 4, 4);
    QListWidget* list = makeItemList("FormationListBox");
    list->setFixedWidth(180);
    page->addWidget(list);

    auto* form = new QVBoxLayout;
    form->setSpacing(4);
    page->addLayout(form, 1);

    // Name and availability on the left, nation, purchase page and type on the right.
    auto* head = new QGridLayout;
    head->setHorizontalSpacing(4);
    head->setVerticalSpacing(3);
    head->addWidget(FormNamelabel, 0, 0);
    head->addWidget(FormNameEdit, 0, 1, 1, 4);
    head->addWidget(MakeCaption(this, "Available from"), 1, 0);
    head->addWidget(FormMonthAvailEdit, 1, 1);
    head->addWidget(MakeCaption(this, "of "), 1, 2);
    head->addWidget(FormAvailEdit, 1, 3);
    head->addWidget(MakeCaption(this, "Until"), 2, 0);
    head->addWidget(FormMonthUnAvailEdit, 2, 1);
    head->addWidget(FormUntilEdit, 2, 3);
    head->setColumnMinimumWidth(5, 12);
    const std::array<std::tuple<const char*, QLineEdit*, QToolButton*, QLabel*>, 3> coded { {
        { "Nation", FormNationEdit, FormPickNationBtn, FormNationLabel },
        { "Purchase screen", FormPageEdit, FormCatPickBtn, FormCatLabel },
        { "Formation Type", FormTypeEdit, FormTypePickBtn, FormTypeLabel },
    } };
    for (int r = 0; r < 3; ++r) {
        auto [caption, edit, button, label] = coded[static_cast<std::size_t>(r)];
        head->addWidget(MakeCaption(this, caption), r, 6);
        head->addWidget(edit, r, 7);
        head->addWidget(button, r, 8);
        head->addWidget(label, r, 9);
    }
    head->setColumnStretch(9, 1);
    form->addLayout(head);
    form->addWidget(LabelCo);

    // Member rows.
    auto* members = new QGridLayout;
    members->setHorizontalSpacing(6);
    members->setVerticalSpacing(2);
    members->addWidget(MakeCaption(this, "U/F"), 0, 2, Qt::AlignHCenter);
    members->addWidget(MakeCaption(this, "Availability"), 0, 4);
    members->addWidget(MakeCaption(this, "Formation Type"), 0, 5);
    for (int n = 1; n <= core::kFormationMembers; ++n) {
        const MemberRow& row = rows_[static_cast<std::size_t>(n - 1)];
        const QString caption
            = n == 1 ? QStringLiteral("Unit 1") : QStringLiteral("Unit/Formation %1").arg(n);
        members->addWidget(MakeCaption(this, caption), n, 0);
        members->addWidget(row.edit, n, 1);
        members->addWidget(row.pick, n, 2);
        members->addWidget(row.name, n, 3);
        members->addWidget(row.date, n, 4);
        members->addWidget(row.type, n, 5);
    }
    members->setColumnMinimumWidth(3, 120);
    members->setColumnMinimumWidth(4, 100);
    members->setColumnStretch(5, 1);
    form->addLayout(members);

    auto* foot = new QHBoxLayout;
    foot->addWidget(MakeCaption(this, "Total units : "));
    foot->addWidget(TotalCount);
    foot->addStretch(1);
    foot->addWidget(MakeCaption(this, "Experience Modifier"));
    foot->addWidget(FormExpModEdit);
    foot->addSpacing(12);
    foot->addWidget(MakeCaption(this, "Morale Modifier"));
    foot->addWidget(FormMoraleModEdit);
    form->addLayout(foot);
    form->addWidget(MakeCaption(this, "NB - Year Fields index 0=>1900 50=>1950 100=>2000 120=>2020"));
    form->addStretch(1);

    QWidget* order[] = { FormNameEdit, FormMonthAvailEdit, FormAvailEdit, FormMonthUnAvailEdit, FormUntilEdit,
        FormNationEdit, FormPageEdit, FormTypeEdit };
    QWidget* previous = list;
    for (QWidget* w : order) {
        setTabOrder(previous, w);
        previous = w;
    }
    for (const MemberRow& row : rows_) {
        setTabOrder(previous, row.edit);
        previous = row.edit;
    }
    setTabOrder(previous, FormExpModEdit);
    setTabOrder(FormExpModEdit, FormMoraleModEdit);
}

int FormationPage::slotCount() const
{
    return core::kFormationSlots;
}

int FormationPage::currentSlot() const
{
    return context_.state->currentFormation;
}

void FormationPage::setCurrentSlot(int slot)
{
    context_.state->currentFormation = static_cast<std::uint16_t>(slot);
}

std::string FormationPage::slotName(int slot) const
{
    return core::TrimName(context_.oob->formations[static_cast<std::size_t>(slot)].name);
}

const core::TOobFormation& FormationPage::record() const
{
    const int slot = std::clamp(currentSlot(), 1, core::kFormationSlots);
    return context_.oob->formations[static_cast<std::size_t>(slot)];
}

void FormationPage::setFormType(int type)
{
    formType_ = type;
    context_.state->currentFormType = static_cast<std::uint8_t>(std::clamp(type, 0, 255));
}

void FormationPage::error(const QString& text)
{
    context_.dialogs->message(this, Dialogs::Kind::Error, Latin(core::kApplicationTitle), text);
}

// ---- Show, save, check, clear ----

void FormationPage::ShowFormation()
{
    core::TOobFormation f = record();
    // A battalion HQ outside slot 1 shows as a company; the record itself is
    // repaired as a change of its own, by whoever hears repairNeeded.
    const bool misplaced = core::IsMisplacedBnHq(currentSlot(), f.formType);
    if (misplaced)
        f.formType = core::kCompanyType;
    showRecord(f);
    markShown();
    if (misplaced) {
        error(Latin(core::BnHqRepairMessage()));
        emit repairNeeded(currentSlot());
    }
}

std::optional<core::TOobFormation> FormationPage::pageRecord(bool forCopy)
{
    auto refuse = [this, forCopy](const QString& text) {
        error(forCopy ? QString::fromStdString(
                  core::CopyRefusedText(core::PasteKind::Formation, text.toStdString()))
                      : text);
    };
    const std::optional<std::string> name = ToBytes(FormNameEdit->text());
    if (!name) {
        refuse(QStringLiteral("The name holds a character that cannot be stored: ") + FormNameEdit->text());
        return std::nullopt;
    }
    core::FormationTexts texts;
    texts.name = *name;
    texts.nation = Std(FormNationEdit->text());
    texts.yearAvail = Std(FormAvailEdit->text());
    texts.monthAvail = Std(FormMonthAvailEdit->text());
    texts.yearUnavail = Std(FormUntilEdit->text());
    texts.monthUnavail = Std(FormMonthUnAvailEdit->text());
    texts.buyPage = Std(FormPageEdit->text());
    texts.formType = Std(FormTypeEdit->text());
    texts.expMod = Std(FormExpModEdit->text());
    texts.moraleMod = Std(FormMoraleModEdit->text());
    for (std::size_t i = 0; i < rows_.size(); ++i)
        texts.slot[i] = Std(rows_[i].edit->text());

    core::TOobFormation f = record();
    if (const auto fault = core::FormationFromTexts(texts, f)) {
        refuse(QString::fromStdString(fault->message()));
        return std::nullopt;
    }
    return f;
}

bool FormationPage::FillXferBufferFormation(core::PasteBuffers& buffers)
{
    const std::optional<core::TOobFormation> read = pageRecord(true);
    if (!read)
        return false;
    buffers.formationXfer.record = *read;
    buffers.formationXfer.sourceNation = context_.state->currentNation;
    return true;
}

void FormationPage::PasteToFormation(const core::PasteBuffers& buffers)
{
    showRecord(buffers.formationXfer.record);
}

std::optional<core::TOobFormation> FormationPage::SaveFormation()
{
    return pageRecord();
}

void FormationPage::showRecord(const core::TOobFormation& f)
{
    showingFormation_ = true;
    // The type first: it decides what the member rows show.
    ShowNumber(FormTypeEdit, f.formType);
    FormTypeLabel->setText(Latin(core::FormationTypeName(f.formType)));
    setFormType(f.formType);
    UpdateFormationKind();

    FormNamelabel->setText(Latin("Formation " + core::ThreeDigits(currentSlot())));
    FormNameEdit->setText(FromBytes(core::TrimName(f.name)));
    ShowNumber(FormNationEdit, f.nation);
    colourNation(f.nation); // the nation of the file may have changed under the same text
    FormNationLabel->setText(FromBytes(core::NationName(context_.settings->names, f.nation)));
    ShowNumber(FormAvailEdit, f.yearAvail);
    ShowNumber(FormMonthAvailEdit, f.monthAvail);
    ShowNumber(FormUntilEdit, f.yearUnavail);
    ShowNumber(FormMonthUnAvailEdit, f.monthUnavail);
    ShowNumber(FormPageEdit, f.buyPage);
    FormCatLabel->setText(BuyPageText(f.buyPage));
    ShowNumber(FormExpModEdit, f.expMod);
    ShowNumber(FormMoraleModEdit, f.moraleMod);

    for (int n = 1; n <= core::kFormationMembers; ++n)
        setMemberText(n, QString::number(f.slot[static_cast<std::size_t>(n - 1)]));
    TotalCount->setText(QString::number(core::FormationTotal(*context_.oob, f)));

    showingFormation_ = false;
    FormNameEdit->setFocus();
}

bool FormationPage::CheckFormation()
{
    FormTypeEditExit();
    std::array<std::string, core::kFormationMembers> members;
    for (std::size_t i = 0; i < rows_.size(); ++i)
        members[i] = Std(rows_[i].edit->text());
    const core::FormationCheck check = core::CheckFormation(*context_.oob, kind_, members);
    for (std::size_t i = 0; i < rows_.size(); ++i)
        if (check.replaceText[i])
            setMemberText(static_cast<int>(i + 1), Latin(*check.replaceText[i]));
    if (!check.message.empty())
        error(Latin(check.message));
    return check.passed;
}

std::optional<core::PageRecord> FormationPage::commitPage()
{
    if (!CheckFormation()) {
        context_.dialogs->message(
            this, Dialogs::Kind::Warning, Latin(core::kApplicationTitle), Latin(core::kFormationNotSaved));
        return std::nullopt;
    }
    if (std::optional<core::TOobFormation> formation = SaveFormation())
        return *formation;
    return std::nullopt; // the page keeps the typing for correction
}

void FormationPage::ClearFormationPage()
{
    FormNamelabel->setText(Latin("Formation " + core::ThreeDigits(currentSlot())));
    rows_[0].type->setText(QStringLiteral("unit"));
    rows_[0].date->clear();
    // In this order: the edits' reactions run as each is emptied.
    FormNameEdit->clear();
    FormNationEdit->clear();
    FormNationLabel->clear();
    FormAvailEdit->clear();
    FormMonthAvailEdit->clear();
    FormUntilEdit->clear();
    FormMonthUnAvailEdit->clear();
    FormPageEdit->clear();
    FormCatLabel->clear();
    FormTypeEdit->clear();
    FormTypeLabel->clear();
    FormExpModEdit->clear();
    FormMoraleModEdit->clear();
    for (const MemberRow& row : rows_) {
        row.edit->clear();
        row.name->clear();
        row.date->clear();
        row.type->clear();
    }
    TotalCount->setText(QStringLiteral("0"));
    FormNameEdit->setFocus();
}

// ---- Kind and member rows ----

void FormationPage::UpdateFormationKind()
{
    kind_ = core::UpdateFormationKind(formType_, currentSlot());
    LabelCo->setText(Latin(kind_.labelCo));
}

void FormationPage::UpdateSlotLabels(int slot)
{
    const MemberRow& row = rows_[static_cast<std::size_t>(slot - 1)];
    std::optional<int> value = core::MemberValue(Std(row.edit->text()));
    if (!value) {
        row.edit->setText(QStringLiteral("0"));
        value = 0;
    }
    const core::SlotLabels labels = core::UpdateSlotLabels(*context_.oob, slot, *value, kind_);
    const std::pair<QLabel*, const core::RowLabel*> parts[]
        = { { row.name, &labels.name }, { row.date, &labels.date }, { row.type, &labels.type } };
    for (auto [label, text] : parts) {
        label->setText(FromBytes(text->text));
        SetTextTint(label, text->maroon ? core::UnitTint::Maroon : core::UnitTint::Navy);
    }
}

void FormationPage::setMemberText(int slot, const QString& text)
{
    QLineEdit* edit = rows_[static_cast<std::size_t>(slot - 1)].edit;
    if (edit->text() == text)
        UpdateSlotLabels(slot);
    else
        ShowText(edit, text); // its reaction refreshes the labels
}

void FormationPage::colourNation(int nation)
{
    const bool foreign = nation != context_.state->currentNation;
    SetTextTint(FormNationLabel, foreign ? core::UnitTint::Maroon : core::UnitTint::Navy);
    SetTextTint(FormNationEdit, foreign ? core::UnitTint::Maroon : core::UnitTint::Normal);
}

// ---- Reactions ----

void FormationPage::FormSlotEditChange(int slot)
{
    UpdateSlotLabels(slot);
}

void FormationPage::FormSlot1EditKeyUp()
{
    QLineEdit* edit = rows_[0].edit;
    const QString clamped = Latin(core::ClampSlot1Text(Std(edit->text())));
    if (edit->text() != clamped)
        edit->setText(clamped);
}

void FormationPage::FormNationEditChange()
{
    const std::optional<int> nation = core::MemberValue(Std(FormNationEdit->text()));
    if (!nation) {
        FormNationEdit->setText(QStringLiteral("0")); // runs this reaction again for 0
        return;
    }
    colourNation(*nation);
}

void FormationPage::FormPageEditChange()
{
    const int page = core::MemberValue(Std(FormPageEdit->text())).value_or(0);
    if (page < 0)
        return;
    const QString text = QString::number(page);
    if (FormPageEdit->text() != text)
        FormPageEdit->setText(text);
    FormCatLabel->setText(BuyPageText(page));
}

void FormationPage::FormTypeEditChange()
{
    if (!showingFormation_)
        FormTypeEditExit();
}

void FormationPage::FormTypeEditExit()
{
    const int old = formType_;
    setFormType(core::MemberValue(Std(FormTypeEdit->text())).value_or(0));
    const QString text = QString::number(formType_);
    if (FormTypeEdit->text() != text)
        FormTypeEdit->setText(text);
    FormTypeLabel->setText(Latin(core::FormationTypeName(formType_)));
    UpdateFormationKind();
    if (formType_ != old)
        for (int n = 1; n <= core::kFormationMembers; ++n)
            UpdateSlotLabels(n);
}

// ---- Buttons ----

void FormationPage::FormPickNationBtnClick()
{
    const int r = context_.picker->ShowPickList(core::pickNation);
    if (r < 0)
        return;
    FormNationEdit->setText(QString::number(r));
    FormNationLabel->setText(FromBytes(core::NationName(context_.settings->names, r)));
}

void FormationPage::FormCatPickBtnClick()
{
    const int r = context_.picker->ShowPickList(core::pickBuyPage);
    if (r < 0)
        return;
    FormPageEdit->setText(QString::number(r));
    FormCatLabel->setText(BuyPageText(r));
}

void FormationPage::FormTypePickBtnClick()
{
    int r = 0;
    if (currentSlot() == 1) {
        r = core::kBnHqType;
        context_.dialogs->message(
            this, Dialogs::Kind::Information, Latin(core::kApplicationTitle), Latin(core::kOnlyBnHqInfo));
    } else {
        r = context_.picker->ShowPickList(core::pickFormationType);
    }
    if (r < 0)
        return;
    FormTypeEdit->setText(QString::number(r)); // runs the type reaction
    FormTypeLabel->setText(Latin(core::FormationTypeName(r)));
    setFormType(r);
    UpdateFormationKind();
}

void FormationPage::FormSlotPickBtnClick(int slot)
{
    const int r = context_.picker->ShowPickList(core::pickUnit);
    if (r < 0)
        return;
    setMemberText(slot, QString::number(r));
}

void FormationPage::FormSlotPickBtnMouseDown(int slot)
{
    if (!kind_.takesSubFormations)
        return;
    const int r = context_.picker->ShowPickList(core::pickFormation);
    if (r < 0)
        return;
    setMemberText(slot, QString::number(r > 0 ? 1000 + r : 0));
}

bool FormationPage::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == rows_[0].edit && event->type() == QEvent::KeyRelease) {
        FormSlot1EditKeyUp();
    } else if (watched == FormTypeEdit && event->type() == QEvent::FocusOut) {
        FormTypeEditExit();
    } else if (event->type() == QEvent::MouseButtonPress
        && static_cast<QMouseEvent*>(event)->button() == Qt::RightButton) {
        for (int n = 2; n <= core::kFormationMembers; ++n)
            if (watched == rows_[static_cast<std::size_t>(n - 1)].pick) {
                FormSlotPickBtnMouseDown(n);
                return true;
            }
    }
    return RecordPage::eventFilter(watched, event);
}

} // namespace tarnwick::gui
