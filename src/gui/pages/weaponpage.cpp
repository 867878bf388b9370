#include "gui/pages/weaponpage.h"

#include "core/data/globals.h"
#include "core/rules/document.h"
#include "core/rules/sdimain.h"
#include "gui/common/bytetext.h"
#include "gui/common/dialogs.h"
#include "gui/common/textcolour.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QToolButton>

#include <variant>

namespace tarnwick::gui {

namespace {

constexpr int kListWidth = 180;
constexpr int kNumberEditWidth = 40;
constexpr int kNameEditWidth = 130;

QLabel* MakeLabel(QWidget* parent, const char* objectName, const char* text)
{
    auto* label = new QLabel(QString::fromLatin1(text), parent);
    if (objectName != nullptr)
        label->setObjectName(QString::fromLatin1(objectName));
    return label;
}

// Screen order of the number rows: class first, accuracy second, then the store order.
constexpr int kScreenOrder[core::kWeaponNumberFields] = { 0, 11, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10 };

struct HelpLine {
    const char* objectName;
    const char* text;
};

// Notes beside rows, by the store-order index of their row.
struct BesideLine {
    HelpLine line;
    int field;
};

constexpr BesideLine kBesideLines[] = {
    { { "Label90", "222 here is used to signify HEAT ammo when AP used" }, 5 },
    { { "Label10", "Appears only to be used for cluster weapons" }, 6 },
    { { "Label13", "Also min range for some weapons - eg ATGM" }, 8 },
    { { "Label91", "Ranges > 199 are used for off map weapons range abstraction inc. LR-SAM" }, 10 },
};
// The second line of the range note, under the last row.
constexpr HelpLine kRangeLine2 { "Label92",
    "and stand off air missiles - a 202 is longer ranged than a 201" };

constexpr HelpLine kFootLines[] = {
    { "Label93",
        "NB - Sabot is simply a second AP type, with a different max range and/or AP value so is "
        "sometimes used " },
    { "Label94", "as an improved AP or better (e.g. say DU) APDS type ammo" },
    { "Label95",
        "Warhead size, HE kill and weapon class all interact to create different weapon sounds, blast "
        "graphics," },
    { "Label97",
        "and terminal effects - e.g. larger Wh size can add to armour penetration, cause craters, and so "
        "on" },
    { "Label98",
        "Only use class 11 aircraft weapons on off map bombardment planes - use normal weapons for "
        "helicopters" },
};

QLabel* MakeNote(QWidget* parent, const HelpLine& line)
{
    QLabel* label = MakeLabel(parent, line.objectName, line.text);
    label->setWordWrap(true);
    return label;
}

constexpr const char* kApPenHint
    = "222 is a special code for HEAT weapons used other than in slot 1 (eg LAW, ATGMs)";

} // namespace

WeaponPage::WeaponPage(PageContext& context, QWidget* parent)
    : RecordPage(context, parent)
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    QListWidget* list = makeItemList("wpnlistbox");
    list->setFixedWidth(kListWidth);
    layout->addWidget(list);
    buildPanel();
    layout->addWidget(Panel5, 1);
}

void WeaponPage::buildPanel()
{
    Panel5 = new QFrame(this);
    Panel5->setObjectName("Panel5");
    auto* grid = new QGridLayout(Panel5);
    grid->setContentsMargins(6, 2, 2, 2);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(2);
    int row = 0;

    WeaponNumberLabel = MakeLabel(Panel5, "WeaponNumberLabel", "");
    QFont bold = WeaponNumberLabel->font();
    bold.setBold(true);
    WeaponNumberLabel->setFont(bold);
    SetTextTint(WeaponNumberLabel, core::UnitTint::Navy);
    grid->addWidget(WeaponNumberLabel, row++, 1, 1, 3);

    WeaponNameEdit = new QLineEdit(Panel5);
    WeaponNameEdit->setObjectName("WeaponNameEdit");
    WeaponNameEdit->setMaxLength(static_cast<int>(core::kNameLength));
    WeaponNameEdit->setFixedWidth(kNameEditWidth);
    AcceptOnlyCp1252(WeaponNameEdit);
    grid->addWidget(WeaponNameEdit, row++, 1, 1, 3, Qt::AlignLeft);

    const auto& fields = core::WeaponNumberFields();
    std::array<int, core::kWeaponNumberFields> rowOf {};
    for (int field : kScreenOrder) {
        const core::WeaponNumberField& f = fields[static_cast<std::size_t>(field)];
        rowOf[static_cast<std::size_t>(field)] = row;
        grid->addWidget(MakeLabel(Panel5, nullptr, f.caption), row, 0);
        auto* edit = new QLineEdit(Panel5);
        edit->setObjectName(QString::fromLatin1(f.control));
        edit->setMaxLength(3);
        edit->setFixedWidth(kNumberEditWidth);
        grid->addWidget(edit, row, 1);
        numberEdits[static_cast<std::size_t>(field)] = edit;
        if (field == 0) {
            WeaponClassEdit = edit;
            WpnClassPickbtn = new QToolButton(Panel5);
            WpnClassPickbtn->setObjectName("WpnClassPickbtn");
            WpnClassPickbtn->setText("...");
            grid->addWidget(WpnClassPickbtn, row, 2);
            WeaponClassLabel = MakeLabel(Panel5, "WeaponClassLabel", "");
            SetTextTint(WeaponClassLabel, core::UnitTint::Navy);
            grid->addWidget(WeaponClassLabel, row, 3);
        }
        ++row;
    }
    numberEdits[5]->setToolTip(QString::fromLatin1(kApPenHint));

    // Notes start right after the edits (no row beside a note has a button) and
    // wrap rather than clip when the font is wide.
    for (const BesideLine& beside : kBesideLines)
        grid->addWidget(
            MakeNote(Panel5, beside.line), rowOf[static_cast<std::size_t>(beside.field)], 2, 1, 2);
    grid->addWidget(MakeNote(Panel5, kRangeLine2), row++, 2, 1, 2);
    grid->setRowMinimumHeight(row++, 6);
    for (const HelpLine& line : kFootLines)
        grid->addWidget(MakeNote(Panel5, line), row++, 0, 1, 4);
    grid->setColumnStretch(3, 1);
    grid->setRowStretch(row, 1);

    connect(WpnClassPickbtn, &QToolButton::clicked, this, &WeaponPage::WpnClassPickbtnClick);
}

int WeaponPage::slotCount() const
{
    return core::kWeaponSlots;
}
int WeaponPage::currentSlot() const
{
    return context_.state->currentWeapon;
}
void WeaponPage::setCurrentSlot(int slot)
{
    context_.state->currentWeapon = static_cast<std::uint16_t>(slot);
}
std::string WeaponPage::slotName(int slot) const
{
    return context_.oob->weapons[static_cast<std::size_t>(slot)].name;
}

void WeaponPage::ShowWeapon()
{
    const int slot = currentSlot();
    if (!core::IsWeaponSlot(slot))
        return;
    showRecord(context_.oob->weapons[static_cast<std::size_t>(slot)]);
    markShown();
}

void WeaponPage::showRecord(const core::TOobWeapon& weapon)
{
    WeaponNumberLabel->setText(QString::fromStdString(core::WeaponNumberText(currentSlot())));
    WeaponNameEdit->setText(FromBytes(core::TrimName(weapon.name)));
    const auto& fields = core::WeaponNumberFields();
    for (std::size_t i = 0; i < fields.size(); ++i)
        numberEdits[i]->setText(QString::number(fields[i].value(weapon)));
    WeaponClassLabel->setText(QString::fromStdString(core::WeaponClassName(weapon.weaponClass)));
    WeaponNameEdit->setFocus();
}

std::optional<core::TOobWeapon> WeaponPage::readPage(bool forCopy)
{
    std::array<std::string, core::kWeaponNumberFields> texts;
    for (std::size_t i = 0; i < texts.size(); ++i)
        texts[i] = numberEdits[i]->text().toStdString();
    // The edit refuses what the code page cannot hold; a name that still cannot
    // be held stores nothing.
    const std::optional<std::string> name = ToBytes(WeaponNameEdit->text());
    if (!name) {
        showSaveError(forCopy ? QString::fromStdString(
                          core::CopyRefusedText(core::PasteKind::Weapon, core::kWeaponNameNotHeldText))
                              : QString::fromLatin1(core::kWeaponNameNotStoredText));
        return std::nullopt;
    }
    const auto result = core::WeaponFromPage(*name, texts);
    if (const auto* error = std::get_if<core::FieldError>(&result)) {
        showSaveError(
            QString::fromStdString(forCopy ? core::CopyRefusedText(core::PasteKind::Weapon, error->message())
                                           : core::FieldErrorText(*error)));
        return std::nullopt;
    }
    return std::get<core::TOobWeapon>(result);
}

std::optional<core::TOobWeapon> WeaponPage::SaveWeapon()
{
    if (!core::IsWeaponSlot(currentSlot()))
        return std::nullopt;
    return readPage();
}

bool WeaponPage::FillXferBufferWpn(core::PasteBuffers& buffers)
{
    const std::optional<core::TOobWeapon> weapon = readPage(true);
    if (!weapon)
        return false;
    buffers.weaponXfer.record = *weapon;
    buffers.weaponXfer.sourceNation = context_.state->currentNation;
    return true;
}

void WeaponPage::PasteToWeapon(const core::PasteBuffers& buffers)
{
    showRecord(buffers.weaponXfer.record);
}

void WeaponPage::showSaveError(const QString& text)
{
    context_.dialogs->message(this, Dialogs::Kind::Error, QString::fromLatin1(core::kApplicationTitle), text);
}

std::optional<core::PageRecord> WeaponPage::commitPage()
{
    if (std::optional<core::TOobWeapon> weapon = SaveWeapon())
        return *weapon;
    return std::nullopt;
}

void WeaponPage::ClearWeaponPage()
{
    WeaponNameEdit->clear();
    for (QLineEdit* edit : numberEdits)
        edit->clear();
    WeaponNameEdit->setFocus();
}

void WeaponPage::WpnClassPickbtnClick()
{
    if (context_.picker == nullptr)
        return;
    const int r = context_.picker->ShowPickList(core::pickWeaponClass);
    if (r < 0)
        return;
    WeaponClassEdit->setText(QString::number(r));
    WeaponClassLabel->setText(QString::fromStdString(core::WeaponClassName(static_cast<std::uint8_t>(r))));
}

} // namespace tarnwick::gui
