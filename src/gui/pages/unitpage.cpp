#include "gui/pages/unitpage.h"

#include "core/data/globals.h"
#include "core/graphics/artfiles.h"
#include "core/graphics/icontables.h"
#include "core/graphics/shp.h"
#include "core/rules/document.h"
#include "core/rules/iconplacement.h"
#include "core/rules/sdimain.h"
#include "gui/common/bytetext.h"
#include "gui/common/dialogs.h"
#include "gui/common/pathtext.h"
#include "gui/common/textcolour.h"
#include "gui/graphics/lbmbrowser.h"
#include "gui/graphics/picture.h"
#include "gui/graphics/picturelabel.h"
#include "gui/graphics/pngimport.h"

#include <QAction>
#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QToolButton>

#include <algorithm>
#include <cstring>
#include <vector>

namespace tarnwick::gui {

namespace {

constexpr int kPanelWidth = 585;
constexpr int kPanelHeight = 476;
constexpr int kRowHeight = 20;

std::string Utf8(const QString& text)
{
    return text.toStdString();
}

QString Text(const std::string& utf8)
{
    return QString::fromStdString(utf8);
}

// Puts a text the program made into a number edit. The edit's length limit is for
// typing: a stored value longer than that (nation 150 in a two-digit edit) is
// shown whole, so that a commit cannot cut it, and the limit grows with it until
// a shorter text comes.
void SetNumberText(QLineEdit* edit, int typingLength, const QString& text)
{
    const int length = std::max(typingLength, static_cast<int>(text.size()));
    if (length > edit->maxLength())
        edit->setMaxLength(length);
    edit->setText(text);
    if (length < edit->maxLength())
        edit->setMaxLength(length);
}

std::size_t FieldIndex(const std::string& control)
{
    const auto& fields = core::UnitNumberFields();
    return static_cast<std::size_t>(
        std::find_if(fields.begin(), fields.end(),
            [&](const core::UnitNumberField& field) { return control == field.control; })
        - fields.begin());
}

std::string WeaponEditName(int slot)
{
    return "UnitWpn" + std::to_string(slot) + "Edit";
}

} // namespace

UnitPage::UnitPage(PageContext& context, QWidget* parent)
    : RecordPage(context, parent)
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    QListWidget* list = makeItemList("UnitListBox");
    list->setFixedWidth(180);
    layout->addWidget(list);
    buildControls();
    buildTabOrder();
}

QLineEdit* UnitPage::numberEdit(const char* objectName) const
{
    return edits_.at(FieldIndex(objectName));
}

QString UnitPage::editText(const char* objectName) const
{
    return numberEdit(objectName)->text();
}

void UnitPage::buildControls()
{
    auto* panel = new QWidget(this);
    panel->setObjectName("UnitPanel");
    panel->setFixedSize(kPanelWidth, kPanelHeight);
    static_cast<QHBoxLayout*>(layout())->addWidget(panel, 0, Qt::AlignLeft | Qt::AlignTop);
    static_cast<QHBoxLayout*>(layout())->addStretch(1);

    auto place
        = [](QWidget* widget, int x, int y, int w, int h = kRowHeight) { widget->setGeometry(x, y, w, h); };
    auto caption = [&](const QString& text, int x, int y, int w, const char* name = nullptr,
                       Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter) {
        auto* label = new QLabel(text, panel);
        if (name)
            label->setObjectName(QString::fromLatin1(name));
        label->setAlignment(align);
        place(label, x, y, w);
        return label;
    };
    auto nameLabel = [&](const char* name, int x, int y, int w) {
        QLabel* label = caption(QString(), x, y, w, name);
        QFont bold = label->font();
        bold.setBold(true);
        label->setFont(bold);
        SetTextTint(label, core::UnitTint::Navy);
        return label;
    };
    auto pickButton = [&](const char* name, const char* hint, int x, int y) {
        auto* button = new QToolButton(panel);
        button->setObjectName(QString::fromLatin1(name));
        button->setText("...");
        button->setToolTip(QString::fromLatin1(hint));
        button->setFocusPolicy(Qt::NoFocus);
        place(button, x, y, 20);
        return button;
    };

    // Every number edit, made in the order the page fills them.
    const auto& fields = core::UnitNumberFields();
    for (std::size_t i = 0; i < fields.size(); ++i) {
        auto* edit = new QLineEdit(panel);
        edit->setObjectName(QString::fromLatin1(fields[i].control));
        edit->setMaxLength(fields[i].maxLength);
        edits_[i] = edit;
    }
    nationField_ = FieldIndex("UnitNationEdit");
    classField_ = FieldIndex("UnitClassEdit");
    moveField_ = FieldIndex("UnitMCEdit");
    for (int n = 1; n <= 4; ++n)
        weaponFields_[static_cast<std::size_t>(n - 1)] = FieldIndex(WeaponEditName(n));
    auto edit = [&](const char* name, int x, int y, int w) {
        QLineEdit* e = numberEdit(name);
        place(e, x, y, w);
        return e;
    };

    // Name, nation, class and movement class.
    UnitNumLabel = nameLabel("UnitNumLabel", 4, 4, 74);
    UnitNumLabel->setText("Unit 000");
    UnitnameEdit = new QLineEdit(panel);
    UnitnameEdit->setObjectName("UnitnameEdit");
    UnitnameEdit->setMaxLength(15);
    AcceptOnlyCp1252(UnitnameEdit);
    place(UnitnameEdit, 80, 4, 140);

    caption("Nation", 4, 30, 74);
    edit("UnitNationEdit", 80, 30, 30);
    QToolButton* nationButton = pickButton("UnitGetNationBtn", "Select nation ", 112, 30);
    UnitNationLabel = nameLabel("UnitNationLabel", 136, 30, 170);

    caption("Unit Class", 4, 54, 74, "UnitClassLbl");
    edit("UnitClassEdit", 80, 54, 30);
    QToolButton* classButton = pickButton("UnitPickUCBtn", "Select unit class (type)", 112, 54);
    UnitClassLabel = nameLabel("UnitClassLabel", 136, 54, 170);

    caption("Move Class", 4, 78, 74);
    edit("UnitMCEdit", 80, 78, 30);
    QToolButton* moveButton = pickButton(
        "UnitPickMCBtn", "You can have a unit move other than its default for its class", 112, 78);
    UnitMCLabel = nameLabel("UnitMCLabel", 136, 78, 170);

    // The unit's picture, and its icon to the right of it: a big icon centred
    // in the icon area, or the hull with the turret 8 right of and 28 above it,
    // the hull drawn over the turret.
    auto pictureLabel = [&](const char* name) {
        auto* image = new PictureLabel(context_.dialogs, panel);
        image->setObjectName(QString::fromLatin1(name));
        image->hide();
        return image;
    };
    LBMImage = pictureLabel("LBMImage");
    LBMImage->move(310, 10);
    LBMImage->setLargestSize(QSize(160, 92)); // a larger picture would cover the fields below
    LBMImage->setFocusPolicy(Qt::StrongFocus); // its menu opens by key too
    connect(LBMImage->addMenuAction(QString::fromUtf8("Replace from PNG\u2026"), "ReplaceFromPngAction"),
        &QAction::triggered, this, &UnitPage::replacePictureFromPng);
    BigImage = pictureLabel("BigImage");
    BigImage->setLargestSize(QSize(kIconAreaWidth, kIconAreaHeight));
    TurretImage = pictureLabel("TurretImage");
    HullImage = pictureLabel("HullImage");
    HullImage->raise();

    // Availability: "Avaiable From" month "Of" year "Until" month "Of" year "Sound".
    caption("Avaiable From", 4, 108, 90);
    edit("UnitMonthAvailEdit", 96, 108, 30);
    caption("Of", 130, 108, 18);
    edit("UnitYrAvailEdit", 150, 108, 30);
    caption("Until", 186, 108, 32);
    edit("UnitMonthUnAvailEdit", 220, 108, 30);
    caption("Of", 254, 108, 18);
    edit("UnitYrUnavailEdit", 274, 108, 30);
    caption("Sound", 312, 108, 40);
    edit("UnitSoundByteEdit", 354, 108, 30);

    // Plain numbers, captions above their edits.
    const std::pair<const char*, const char*> plain[]
        = { { "Cost", "UnitCostEdit" }, { "Crew", "UnitCrewEdit" }, { "Size", "UnitSizeEdit" },
              { "Carry", "UnitCarryEdit" }, { "Weight", "UnitWeightEdit" }, { "Speed", "UnitSpeedEdit" },
              { "Swim", "UnitSwimEdit" }, { "Radio", "UnitRadioEdit" } };
    int x = 4;
    for (const auto& [text, name] : plain) {
        caption(QString::fromLatin1(text), x, 136, 56);
        edit(name, x, 152, 40);
        x += 58;
    }
    caption("LBM", 4, 178, 60);
    QLineEdit* lbmEdit = edit("UnitLBMEdit", 4, 194, 62);
    const QString lbmHint = "2 different types for modern or WW2 - Pxx and Pmxx";
    lbmEdit->setToolTip(lbmHint);
    QToolButton* lbmButton = pickButton("LBMPickButton", "", 68, 194); // no hint of its own
    caption("Icon", 100, 178, 48);
    edit("UnitIconEdit", 100, 194, 48);
    UpDown1 = new QSpinBox(panel);
    UpDown1->setObjectName("UpDown1");
    UpDown1->setRange(0, 32000);
    UpDown1->setSingleStep(1);
    UpDown1->setWrapping(false);
    UpDown1->setGroupSeparatorShown(false);
    place(UpDown1, 150, 194, 18);
    Label42 = caption("EW", 184, 178, 30, "Label42");
    SetTextTint(Label42, core::UnitTint::Navy);
    edit("UnitEWEdit", 184, 194, 30);
    LabelEW = caption("VIRSS - 2 shots", 218, 194, 120, "LabelEW");
    SetTextTint(LabelEW, core::UnitTint::Blue);
    LabelEW->hide();
    Label58 = caption("Vision", 346, 178, 60, "Label58");
    SetTextTint(Label58, core::UnitTint::Navy);
    edit("UnitVisionEdit", 346, 194, 40);

    // Weapon rows: number, "...", name, HE, AP, (row 1: sabot, HEAT), sound.
    const Qt::Alignment centre = Qt::AlignCenter;
    // Ammunition columns 38 apart, so that "Sabot", "HEAT" and "Sound" do not
    // touch; each caption is centred over its edit and may be wider than it.
    constexpr int kAmmoX = 262;
    constexpr int kAmmoStep = 38;
    const auto ammoX = [&](int column) { return kAmmoX + column * kAmmoStep; };
    const char* columns[] = { "HE", "AP", "Sabot", "HEAT", "Sound" };
    for (int c = 0; c < 5; ++c)
        caption(QString::fromLatin1(columns[c]), ammoX(c) - 7, 224, 44, nullptr, centre);
    const char* rightCaptions[] = { "Fire control", "Range Finder", "Stabiliser", "Survivability" };
    const char* rightEdits[] = { "UnitFCEdit", "UnitRFEdit", "UnitStabiliserEdit", "UnitSurviveEdit" };
    for (int n = 1; n <= 4; ++n) {
        const int y = 240 + (n - 1) * 24;
        const std::string row = std::to_string(n);
        caption(QString("Weapon %1").arg(n), 4, y, 62);
        edit(("UnitWpn" + row + "Edit").c_str(), 68, y, 30);
        weaponPickButtons_[n - 1]
            = pickButton(("UnitWpn" + row + "PickBtn").c_str(), "Select weapon", 100, y);
        QLabel* nameLbl = caption("No Weapon", 124, y, 134, ("UnitWpn" + row + "NameLbl").c_str());
        weaponNameLabels_[n - 1] = nameLbl;
        edit(("UnitWpn" + row + "HEAmmoEdit").c_str(), ammoX(0), y, 30);
        edit(("UnitWpn" + row + "APAmmoEdit").c_str(), ammoX(1), y, 30);
        if (n == 1) {
            edit("UnitSabotAmmoEdit", ammoX(2), y, 30);
            edit("UnitHEATAmmoEdit", ammoX(3), y, 30);
        }
        edit(("UnitWPNSound" + row + "Edit").c_str(), ammoX(4), y, 30);
        QLabel* right = caption(QString::fromLatin1(rightCaptions[n - 1]), 448, y, 90,
            n == 1 ? "Label61" : nullptr, Qt::AlignRight | Qt::AlignVCenter);
        if (n == 1) {
            Label61 = right;
            SetTextTint(Label61, core::UnitTint::Navy);
        }
        edit(rightEdits[n - 1], 542, y, 36);
    }

    // Armour: steel, HEAT and reactive by facing.
    QLabel* armour = caption("Armour", 4, 342, 56);
    QFont bold = armour->font();
    bold.setBold(true);
    armour->setFont(bold);
    const char* facings[] = { "HF", "HS", "HR", "TF", "TS", "TR", "Top" };
    for (int f = 0; f < core::kFacings; ++f)
        caption(QString::fromLatin1(facings[f]), 60 + f * 34, 342, 30, nullptr, centre);
    const char* armourRows[] = { "Steel", "HEAT", "Reactive" };
    const char* armourFirst[] = { "UnitSteelHFEdit", "UnitHEATHFEdit", "UnitERAHFEdit" };
    for (int r = 0; r < 3; ++r) {
        const int y = 358 + r * 24;
        caption(QString::fromLatin1(armourRows[r]), 4, y, 56);
        const std::size_t first = FieldIndex(armourFirst[r]);
        for (int f = 0; f < core::kFacings; ++f)
            place(edits_[first + static_cast<std::size_t>(f)], 60 + f * 34, y, 30);
    }
    auto* eraHelp
        = caption("ERA >10 is Advanced (deduct 10 for actual no of charges)", 302, 400, 280, "Label81");
    eraHelp->setWordWrap(true);
    eraHelp->setGeometry(302, 400, 280, 32);
    caption("ROF", 4, 432, 30);
    edit("UnitROFEdit", 36, 432, 30);
    caption("Smoke Dischargers", 80, 432, 124);
    edit("UnitSDEdit", 206, 432, 30);
    caption("NB - Year Fields index 0=>1900 50=>1950 100=>2000 120=>2020", 4, 456, 576, "Label55");

    // Reactions: every text change, typed or set by the page.
    connect(UnitnameEdit, &QLineEdit::textChanged, this, &UnitPage::updateNationColours);
    connect(numberEdit("UnitNationEdit"), &QLineEdit::textChanged, this, &UnitPage::UnitNationEditChange);
    connect(numberEdit("UnitClassEdit"), &QLineEdit::textChanged, this, &UnitPage::UnitClassEditChange);
    connect(numberEdit("UnitEWEdit"), &QLineEdit::textChanged, this, &UnitPage::UnitEWEditChange);
    connect(numberEdit("UnitVisionEdit"), &QLineEdit::textChanged, this, &UnitPage::UnitVisionEditChange);
    connect(numberEdit("UnitFCEdit"), &QLineEdit::textChanged, this, &UnitPage::UnitFCEditChange);
    connect(numberEdit("UnitSurviveEdit"), &QLineEdit::textChanged, this, &UnitPage::UnitSurviveEditChange);
    connect(numberEdit("UnitERAHFEdit"), &QLineEdit::textChanged, this, &UnitPage::UnitERAHFEditChange);
    connect(numberEdit("UnitERAHSEdit"), &QLineEdit::textChanged, this, &UnitPage::UnitERAHSEditChange);
    connect(numberEdit("UnitERAHREdit"), &QLineEdit::textChanged, this, &UnitPage::UnitERAHREditChange);
    connect(numberEdit("UnitERATFEdit"), &QLineEdit::textChanged, this, &UnitPage::UnitERATFEditChange);
    connect(numberEdit("UnitERATSEdit"), &QLineEdit::textChanged, this, &UnitPage::UnitERATSEditChange);
    connect(numberEdit("UnitERATREdit"), &QLineEdit::textChanged, this, &UnitPage::UnitERATREditChange);
    connect(numberEdit("UnitERATopEdit"), &QLineEdit::textChanged, this, &UnitPage::UnitERATopEditChange);
    for (const char* name : { "UnitYrAvailEdit", "UnitMonthAvailEdit" })
        connect(numberEdit(name), &QLineEdit::editingFinished, this, &UnitPage::UnitYrAvailEditExit);
    for (const char* name : { "UnitYrUnavailEdit", "UnitMonthUnAvailEdit", "UnitSoundByteEdit" })
        connect(numberEdit(name), &QLineEdit::editingFinished, this, &UnitPage::UnitYrUnavailEditExit);
    connect(numberEdit("UnitIconEdit"), &QLineEdit::textChanged, this, [this] {
        setUpDownFromIcon();
        UnitIconEditChange();
    });
    numberEdit("UnitIconEdit")->installEventFilter(this);
    connect(UpDown1, &QSpinBox::valueChanged, this,
        [this](int value) { numberEdit("UnitIconEdit")->setText(QString::number(value)); });
    connect(lbmEdit, &QLineEdit::textChanged, this, &UnitPage::UnitLBMEditChange);

    connect(nationButton, &QToolButton::clicked, this, &UnitPage::UnitGetNationBtnClick);
    connect(classButton, &QToolButton::clicked, this, &UnitPage::UnitPickUCBtnClick);
    connect(moveButton, &QToolButton::clicked, this, &UnitPage::UnitPickMCBtnClick);
    connect(lbmButton, &QToolButton::clicked, this, &UnitPage::LBMPickButtonClick);
    connect(weaponPickButtons_[0], &QToolButton::clicked, this, &UnitPage::UnitWpn1PickBtnClick);
    connect(weaponPickButtons_[1], &QToolButton::clicked, this, &UnitPage::UnitWpn2PickBtnClick);
    connect(weaponPickButtons_[2], &QToolButton::clicked, this, &UnitPage::UnitWpn3PickBtnClick);
    connect(weaponPickButtons_[3], &QToolButton::clicked, this, &UnitPage::UnitWpn4PickBtnClick);
}

bool UnitPage::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && watched == numberEdit("UnitIconEdit")) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            UpDown1->stepBy(key == Qt::Key_Up ? 1 : -1);
            return true;
        }
    }
    return RecordPage::eventFilter(watched, event);
}

void UnitPage::buildTabOrder()
{
    std::vector<QWidget*> order { UnitnameEdit };
    auto add = [&](std::initializer_list<const char*> names) {
        for (const char* name : names)
            order.push_back(numberEdit(name));
    };
    add({ "UnitClassEdit", "UnitNationEdit", "UnitMCEdit", "UnitMonthAvailEdit", "UnitYrAvailEdit",
        "UnitMonthUnAvailEdit", "UnitYrUnavailEdit", "UnitSoundByteEdit", "UnitCostEdit", "UnitCrewEdit",
        "UnitSizeEdit", "UnitCarryEdit", "UnitWeightEdit", "UnitLBMEdit", "UnitSpeedEdit", "UnitSwimEdit",
        "UnitEWEdit", "UnitRadioEdit", "UnitVisionEdit", "UnitIconEdit" });
    add({ "UnitWpn1Edit", "UnitWpn1HEAmmoEdit", "UnitWpn1APAmmoEdit", "UnitSabotAmmoEdit", "UnitHEATAmmoEdit",
        "UnitWPNSound1Edit", "UnitFCEdit", "UnitROFEdit" });
    add({ "UnitWpn2Edit", "UnitWpn2HEAmmoEdit", "UnitWpn2APAmmoEdit", "UnitWPNSound2Edit", "UnitRFEdit",
        "UnitSDEdit" });
    add({ "UnitWpn3Edit", "UnitWpn3HEAmmoEdit", "UnitWpn3APAmmoEdit", "UnitWPNSound3Edit",
        "UnitStabiliserEdit" });
    add({ "UnitWpn4Edit", "UnitWpn4HEAmmoEdit", "UnitWpn4APAmmoEdit", "UnitWPNSound4Edit" });
    add({ "UnitSteelHFEdit", "UnitSteelHSEdit", "UnitSteelHREdit", "UnitSteelTFEdit", "UnitSteelTSEdit",
        "UnitSteelTREdit", "UnitSteelTopEdit" });
    add({ "UnitHEATHFEdit", "UnitHEATHSEdit", "UNITHEATHREdit", "UnitHEATTFEdit", "UNITHEATTSEdit",
        "UnitHEATTREdit", "UnitHEATTopEdit", "UnitSurviveEdit" });
    add({ "UnitERAHFEdit", "UnitERAHSEdit", "UnitERAHREdit", "UnitERATFEdit", "UnitERATSEdit",
        "UnitERATREdit", "UnitERATopEdit" });
    order.push_back(UpDown1);
    for (std::size_t i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}

int UnitPage::slotCount() const
{
    return core::kUnitSlots;
}

int UnitPage::currentSlot() const
{
    return context_.state->currentUnit;
}

void UnitPage::setCurrentSlot(int slot)
{
    context_.state->currentUnit = static_cast<std::uint16_t>(slot);
}

std::string UnitPage::slotName(int slot) const
{
    return context_.oob->units[static_cast<std::size_t>(slot)].name;
}

void UnitPage::showWeaponName(int slot, int weaponNumber)
{
    const core::WeaponNameLook look = core::WeaponNameFor(weaponNumber, context_.oob->weapons);
    QLabel* label = weaponNameLabels_[static_cast<std::size_t>(slot - 1)];
    label->setText(FromBytes(look.text));
    SetTextTint(label, look.tint);
}

void UnitPage::showLabelAfter(std::size_t i, const core::TOobUnit& unit)
{
    const core::NameTables& names = context_.settings->names;
    if (i == nationField_) {
        UnitNationLabel->setText(FromBytes(core::NationName(names, unit.nation)));
    } else if (i == classField_) {
        UnitClassLabel->setText(FromBytes(core::UnitClassName(names, unit.unitClass)));
    } else if (i == moveField_) {
        UnitMCLabel->setText(Text(core::MoveClassName(unit.moveClass)));
    } else {
        for (int n = 1; n <= 4; ++n)
            if (i == weaponFields_[static_cast<std::size_t>(n - 1)])
                showWeaponName(n, unit.weapon[static_cast<std::size_t>(n - 1)]);
    }
}

void UnitPage::ShowUnit()
{
    if (!core::IsUnitSlot(currentSlot()))
        return;
    showRecord(context_.oob->units[static_cast<std::size_t>(currentSlot())]);
    markShown();
}

void UnitPage::showRecord(const core::TOobUnit& unit)
{
    UnitNumLabel->setText(Text(core::UnitNumberText(currentSlot())));
    UnitnameEdit->setText(FromBytes(core::TrimName(unit.name)));

    const core::UnitFieldTexts texts = core::UnitTexts(unit);
    const auto& fields = core::UnitNumberFields();
    for (std::size_t i = 0; i < texts.size(); ++i) {
        SetNumberText(edits_[i], fields[i].maxLength, Text(texts[i]));
        showLabelAfter(i, unit);
    }

    // The loaded nation may have changed (another file) while the texts did not.
    updateNationColours();
    // The number turns red for an empty slot of the loaded nation, and back to
    // navy for any other unit.
    SetTextTint(UnitNumLabel,
        core::UnitNumberTint(Utf8(UnitnameEdit->text()), unit.nation, context_.state->currentNation));
    UnitIconEditChange();
    // The same picture number in another working folder is another picture.
    if (pictureDir_ != workingFolder())
        UnitLBMEditChange();
    UnitnameEdit->setFocus();
}

std::optional<core::TOobUnit> UnitPage::readPage(const core::TOobUnit& base, bool forCopy)
{
    const QString caption = QString::fromLatin1(core::kApplicationTitle);
    const std::optional<std::string> name = ToBytes(UnitnameEdit->text());
    if (!name) {
        const QString field = "Name: '" + UnitnameEdit->text() + "' holds a character that cannot be stored";
        context_.dialogs->message(this, Dialogs::Kind::Error, caption,
            forCopy ? Text(core::CopyRefusedText(core::PasteKind::Unit, Utf8(field)))
                    : field + "\r\n\r\n Unit data not saved!");
        return std::nullopt;
    }
    core::UnitFieldTexts texts;
    for (std::size_t i = 0; i < texts.size(); ++i)
        texts[i] = Utf8(edits_[i]->text());
    const core::UnitReadResult read = core::ReadUnit(base, *name, texts);
    if (!read.unit)
        context_.dialogs->message(this, Dialogs::Kind::Error, caption,
            Text(forCopy ? core::CopyRefusedText(core::PasteKind::Unit, read.fieldMessage) : read.message));
    return read.unit;
}

bool UnitPage::FillXferBufferUnit(core::PasteBuffers& buffers)
{
    // Bytes the page does not show come from the stored record.
    const std::optional<core::TOobUnit> read
        = readPage(context_.oob->units[static_cast<std::size_t>(currentSlot())], true);
    if (!read)
        return false;
    buffers.unitXfer.record = *read;
    buffers.unitXfer.sourceNation = context_.state->currentNation;
    return true;
}

void UnitPage::PasteToUnit(const core::PasteBuffers& buffers)
{
    showRecord(buffers.unitXfer.record);
}

std::optional<core::TOobUnit> UnitPage::SaveUnit()
{
    if (!core::IsUnitSlot(currentSlot()))
        return std::nullopt;
    return readPage(context_.oob->units[static_cast<std::size_t>(currentSlot())]);
}

bool UnitPage::CheckUnitWeapons()
{
    std::array<std::string, 4> weapons;
    for (int n = 1; n <= 4; ++n)
        weapons[static_cast<std::size_t>(n - 1)] = Utf8(editText(WeaponEditName(n).c_str()));
    const core::WeaponCheck check
        = core::CheckUnitWeapons(Utf8(editText("UnitClassEdit")), weapons, context_.oob->weapons);
    for (const core::WeaponFinding& finding : check.findings)
        context_.dialogs->message(this, finding.error ? Dialogs::Kind::Error : Dialogs::Kind::Warning,
            QString::fromLatin1(core::kApplicationTitle), Text(finding.text));
    return check.passed;
}

std::optional<core::PageRecord> UnitPage::commitPage()
{
    SetTextTint(UnitNumLabel, core::UnitTint::Navy);
    if (CheckUnitWeapons()) {
        if (std::optional<core::TOobUnit> unit = SaveUnit())
            return *unit;
        return std::nullopt; // the typing stays for correction
    }
    // A refused page is replaced by the stored record.
    committed();
    return std::nullopt;
}

void UnitPage::ClearUnitPage()
{
    UnitNumLabel->setText(Text(core::UnitNumberText(currentSlot())));
    UnitnameEdit->setText(QString());
    const core::UnitFieldTexts texts = core::BlankUnitTexts();
    // The labels name what the blank texts hold (nation 0, class 216, ...).
    const core::TOobUnit blank = *core::ReadUnit({}, "", texts).unit;
    const auto& fields = core::UnitNumberFields();
    for (std::size_t i = 0; i < texts.size(); ++i) {
        SetNumberText(edits_[i], fields[i].maxLength, Text(texts[i]));
        showLabelAfter(i, blank);
    }
    UnitnameEdit->setFocus();
}

void UnitPage::UnitNationEditChange()
{
    QLineEdit* nation = numberEdit("UnitNationEdit");
    // An empty or unreadable nation becomes "0"; setting it runs this again.
    if (nation->text().trimmed().isEmpty() || !core::TrimmedInt(Utf8(nation->text()))) {
        nation->setText("0");
        return;
    }
    updateNationColours();
}

void UnitPage::updateNationColours()
{
    const core::NationLook look = core::NationLookFor(Utf8(UnitnameEdit->text()),
        Utf8(editText("UnitNationEdit")), Utf8(editText("UnitClassEdit")), context_.state->currentNation);
    SetTextTint(UnitNationLabel, look.label);
    SetTextTint(numberEdit("UnitNationEdit"), look.edit);
}

void UnitPage::UnitClassEditChange()
{
    if (!editText("UnitEWEdit").trimmed().isEmpty())
        UnitEWEditChange();
    updateNationColours();
}

void UnitPage::UnitEWEditChange()
{
    const core::FieldLook look = core::EwLook(Utf8(editText("UnitClassEdit")), Utf8(editText("UnitEWEdit")));
    SetTextTint(numberEdit("UnitEWEdit"), look.edit);
    SetTextTint(Label42, look.caption);
    LabelEW->setText(Text(look.noteText));
    LabelEW->setVisible(look.noteShown);
}

void UnitPage::UnitVisionEditChange()
{
    const core::FieldLook look = core::VisionLook(Utf8(editText("UnitVisionEdit")));
    SetTextTint(numberEdit("UnitVisionEdit"), look.edit);
    SetTextTint(Label58, look.caption);
    Label58->setText(Text(look.captionText));
}

void UnitPage::UnitFCEditChange()
{
    const core::FieldLook look = core::FireControlLook(Utf8(editText("UnitFCEdit")));
    SetTextTint(numberEdit("UnitFCEdit"), look.edit);
    SetTextTint(Label61, look.caption);
    Label61->setText(Text(look.captionText));
}

void UnitPage::UnitSurviveEditChange()
{
    QLineEdit* survive = numberEdit("UnitSurviveEdit");
    SetTextTint(survive, core::SurvivabilityTint(Utf8(survive->text())));
}

void UnitPage::UnitERAEditChange(const char* objectName)
{
    QLineEdit* edit = numberEdit(objectName);
    SetTextTint(edit, core::ReactiveArmourTint(Utf8(edit->text())));
}

void UnitPage::UnitERAHFEditChange()
{
    UnitERAEditChange("UnitERAHFEdit");
}
void UnitPage::UnitERAHSEditChange()
{
    UnitERAEditChange("UnitERAHSEdit");
}
void UnitPage::UnitERAHREditChange()
{
    UnitERAEditChange("UnitERAHREdit");
}
void UnitPage::UnitERATFEditChange()
{
    UnitERAEditChange("UnitERATFEdit");
}
void UnitPage::UnitERATSEditChange()
{
    UnitERAEditChange("UnitERATSEdit");
}
void UnitPage::UnitERATREditChange()
{
    UnitERAEditChange("UnitERATREdit");
}
void UnitPage::UnitERATopEditChange()
{
    UnitERAEditChange("UnitERATopEdit");
}

void UnitPage::UnitGetNationBtnClick()
{
    const int r = context_.picker->ShowPickList(core::pickNation);
    if (r < 0)
        return;
    numberEdit("UnitNationEdit")->setText(QString::number(r));
    UnitNationLabel->setText(FromBytes(core::NationName(context_.settings->names, r)));
}

void UnitPage::UnitPickUCBtnClick()
{
    const int r = context_.picker->ShowPickList(core::pickUnitClass);
    if (r < 0 || r > 255)
        return;
    numberEdit("UnitClassEdit")->setText(QString::number(r));
    UnitClassLabel->setText(
        FromBytes(core::UnitClassName(context_.settings->names, static_cast<std::uint8_t>(r))));
}

void UnitPage::UnitPickMCBtnClick()
{
    const int r = context_.picker->ShowPickList(core::pickMoveClass);
    if (r < 0 || r > 255)
        return;
    numberEdit("UnitMCEdit")->setText(QString::number(r));
    UnitMCLabel->setText(Text(core::MoveClassName(static_cast<std::uint8_t>(r))));
}

void UnitPage::UnitWpnPickBtnClick(int slot)
{
    const int r = context_.picker->ShowPickList(core::pickWeapon);
    if (r < 0) {
        // Cancelled: slots 2 and 3 keep the number but lose the name.
        if (slot == 2 || slot == 3)
            weaponNameLabels_[static_cast<std::size_t>(slot - 1)]->clear();
        return;
    }
    numberEdit(WeaponEditName(slot).c_str())->setText(QString::number(r));
    showWeaponName(slot, r);
}

void UnitPage::setUpDownFromIcon()
{
    const std::optional<int> icon = core::TrimmedInt(Utf8(editText("UnitIconEdit")));
    const QSignalBlocker blocker(UpDown1);
    UpDown1->setValue(icon.value_or(0));
}

void UnitPage::replacePictureFromPng()
{
    int number = 0;
    try {
        number = core::ClampValue(0, core::kMaxPictureNumber, Utf8(editText("UnitLBMEdit")));
    } catch (const core::EConvertError&) {
        return;
    }
    if (context_.dialogs != nullptr && ImportPngPicture(this, *context_.dialogs, workingFolder(), number))
        UnitLBMEditChange();
}

std::filesystem::path UnitPage::workingFolder() const
{
    return context_.currentPath != nullptr ? *context_.currentPath : std::filesystem::path();
}

int UnitPage::transparentColour() const
{
    return context_.transparentColour != nullptr ? *context_.transparentColour
                                                 : core::kDefaultTransparentColour;
}

bool UnitPage::LoadIconEntry(PictureLabel* p, int entry)
{
    if (entry < 0 || context_.currentPath == nullptr || context_.currentPath->empty())
        return false;
    const int file = core::IconFileOf(entry);
    const std::filesystem::path path = core::FindIconFile(*context_.currentPath, file);
    if (path.empty())
        return false;
    p->setPicture(ReadIconFrame(path, core::IconDirectoryIndex(entry), transparentColour()), true);
    p->setSaveName(QString("Icon%1_%2.png").arg(file, 4, 10, QChar('0')).arg(core::IconFrameOf(entry)));
    return true;
}

bool UnitPage::LoadIconFrame(PictureLabel* p, int icon, bool turret)
{
    const core::IconFrameTable& table
        = context_.iconFrames != nullptr ? *context_.iconFrames : core::BuiltInIconFrameTable();
    const core::IconFrameRow& row = table.row(std::min(icon, core::kMaxIconNumber));
    return LoadIconEntry(p, turret ? row.turret : row.hull);
}

bool UnitPage::LoadCrewIcon(PictureLabel* p, int unitClass, int crew, int nation)
{
    return LoadIconEntry(p, core::CrewIconEntry(unitClass, core::UnitClassCategory(unitClass), crew, nation));
}

void UnitPage::placeIconPair(bool withTurret)
{
    const auto box = [](const PictureLabel* label) {
        return core::IconBox { 0, 0, label->picture().width(), label->picture().height() };
    };
    const core::IconPairPlacement placed
        = core::PlaceIconPair({ kIconAreaX, kIconAreaY, kIconAreaWidth, kIconAreaHeight }, kHullX, kHullY,
            box(HullImage), withTurret ? std::optional(box(TurretImage)) : std::nullopt);
    const auto rect = [](const core::IconBox& b) { return QRect(b.x, b.y, b.width, b.height); };
    HullImage->showIn(rect(placed.hull));
    if (withTurret)
        TurretImage->showIn(rect(placed.turret));
}

void UnitPage::UnitIconEditChange()
{
    try {
        const int icon = core::ClampValue(0, core::kMaxIconNumber, Utf8(editText("UnitIconEdit")));
        const int unitClass = core::ClampValue(0, 255, Utf8(editText("UnitClassEdit")));
        const int crew = core::ClampValue(0, 255, Utf8(editText("UnitCrewEdit")));
        const int nation = core::ClampValue(0, 99, Utf8(editText("UnitNationEdit")));
        switch (core::IconDisplayFor(unitClass)) {
        case core::IconDisplay::None:
            TurretImage->hide();
            HullImage->hide();
            BigImage->hide();
            return;
        case core::IconDisplay::Big: {
            TurretImage->hide();
            HullImage->hide();
            const bool shown = LoadIconFrame(BigImage, icon, false);
            if (shown)
                BigImage->move(kIconAreaX + (kIconAreaWidth - BigImage->width()) / 2,
                    kIconAreaY + (kIconAreaHeight - BigImage->height()) / 2);
            BigImage->setVisible(shown);
            return;
        }
        case core::IconDisplay::HullAndTurret:
            break;
        }
        BigImage->hide();
        if (LoadCrewIcon(HullImage, unitClass, crew, nation)) {
            placeIconPair(false);
            HullImage->show();
            TurretImage->hide();
            return;
        }
        const bool turret = LoadIconFrame(TurretImage, icon, true);
        const bool hull = LoadIconFrame(HullImage, icon, false);
        placeIconPair(turret);
        TurretImage->setVisible(turret);
        HullImage->setVisible(hull);
    } catch (const std::exception&) {
        // A text that is no number, or an icon file the reader rejects.
        TurretImage->hide();
        HullImage->hide();
        BigImage->hide();
    }
}

void UnitPage::UnitLBMEditChange()
{
    int number = 0;
    try {
        number = core::ClampValue(0, core::kMaxPictureNumber, Utf8(editText("UnitLBMEdit")));
    } catch (const core::EConvertError&) {
        // Being typed ("", "-"): the picture stays as it was until the text is a number.
        return;
    }
    pictureDir_ = workingFolder();
    const std::filesystem::path path
        = pictureDir_.empty() ? std::filesystem::path() : core::FindPictureFile(pictureDir_, number);
    if (path.empty()) {
        LBMImage->hide();
        return;
    }
    try {
        LBMImage->setPicture(ReadLbmPicture(path), false);
    } catch (const std::exception& error) {
        // A broken picture says why, in its place and in the status bar.
        const QString message = ShownPath(path.filename()) + ": " + ReaderErrorText(error);
        LBMImage->showMessage(message);
        LBMImage->show();
        if (context_.setStatus)
            context_.setStatus(message);
        return;
    }
    LBMImage->setToolTip(ShownPath(path.filename()));
    LBMImage->setSaveName(ShownPath(path.stem()) + ".png");
    LBMImage->show();
}

void UnitPage::LBMPickButtonClick()
{
    TLBMBrowseForm* browser = context_.lbmBrowser;
    if (browser == nullptr)
        return;
    int requested = 0;
    try {
        requested = core::StrToInt(Utf8(editText("UnitLBMEdit")));
    } catch (const core::EConvertError& error) {
        context_.dialogs->message(this, Dialogs::Kind::Error, QString::fromLatin1(core::kApplicationTitle),
            QString::fromStdString(error.what()));
        return;
    }
    browser->requestedLbm = std::clamp(requested, 0, core::kMaxPictureNumber);
    if (browser->exec() == QDialog::Accepted)
        numberEdit("UnitLBMEdit")->setText(QString::number(browser->selectedLbm));
}

} // namespace tarnwick::gui
