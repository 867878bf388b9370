#pragma once

// The Units page of the main window (sheet "Units"): one unit record as edit
// boxes, with labels that name its coded values and follow the typing.

#include "core/rules/unitrules.h"
#include "gui/pages/recordpage.h"

#include <QColor>

#include <array>
#include <filesystem>
#include <optional>

class QLabel;
class QLineEdit;
class QSpinBox;
class QToolButton;

namespace tarnwick::gui {

class PictureLabel;

class UnitPage : public RecordPage {
    Q_OBJECT
public:
    explicit UnitPage(PageContext& context, QWidget* parent = nullptr);

    int slotCount() const override;
    int currentSlot() const override;
    void setCurrentSlot(int slot) override;
    std::string slotName(int slot) const override;
    void showCurrent() override { ShowUnit(); }
    // The weapon check, then the save; a refused unit is replaced on screen by
    // the stored one. A text that is no number keeps the typing and stores nothing.
    std::optional<core::PageRecord> commitPage() override;
    void clearPage() override { ClearUnitPage(); }
    core::PasteKind pasteKind() const override { return core::PasteKind::Unit; }
    bool fillTransfer(core::PasteBuffers& buffers) override { return FillXferBufferUnit(buffers); }
    void pasteTransfer(const core::PasteBuffers& buffers) override { PasteToUnit(buffers); }
    bool checkPage() override { return CheckUnitWeapons(); }

    bool FillXferBufferUnit(core::PasteBuffers& buffers);
    void PasteToUnit(const core::PasteBuffers& buffers);

    // Record to page.
    void ShowUnit();
    // The page as the record to store; nothing (the typing kept) when a field
    // cannot be read as a number.
    std::optional<core::TOobUnit> SaveUnit();
    // True when no weapon slot breaks a rule; shows a box for each finding.
    bool CheckUnitWeapons();
    // The texts of an empty unit in every control; the record is untouched.
    void ClearUnitPage();

    // For copy, paste and move: the page as a record (base gives the bytes the
    // page does not show; nothing and an error box when a field is no number),
    // and a record shown in the page without storing it.
    // An error names the field; a copy (forCopy) says it made no copy, a commit that it stored nothing.
    std::optional<core::TOobUnit> readPage(const core::TOobUnit& base, bool forCopy = false);
    void showRecord(const core::TOobUnit& unit);

    QLineEdit* UnitnameEdit = nullptr;
    PictureLabel* LBMImage = nullptr;
    PictureLabel* BigImage = nullptr;
    PictureLabel* HullImage = nullptr;
    PictureLabel* TurretImage = nullptr;

    // Draws the icons again (after a change of the transparent colour); the
    // typing on the page stays.
    void redrawIcons() { UnitIconEditChange(); }

    // Where the hull icon's top-left corner sits, and the area BigImage is
    // centred in (panel coordinates).
    static constexpr int kHullX = 500;
    static constexpr int kHullY = 48;
    static constexpr int kIconAreaX = 472;
    static constexpr int kIconAreaY = 0;
    static constexpr int kIconAreaWidth = 112;
    static constexpr int kIconAreaHeight = 104;

protected:
    // Up and Down in the icon edit step the icon number, as the arrows beside it do.
    bool eventFilter(QObject* watched, QEvent* event) override;

private slots:
    void UnitNationEditChange();
    void UnitClassEditChange();
    void UnitEWEditChange();
    void UnitVisionEditChange();
    void UnitFCEditChange();
    void UnitSurviveEditChange();
    void UnitERAHFEditChange();
    void UnitERAHSEditChange();
    void UnitERAHREditChange();
    void UnitERATFEditChange();
    void UnitERATSEditChange();
    void UnitERATREditChange();
    void UnitERATopEditChange();

    void UnitGetNationBtnClick();
    void UnitPickUCBtnClick();
    void UnitPickMCBtnClick();
    void UnitWpn1PickBtnClick() { UnitWpnPickBtnClick(1); }
    void UnitWpn2PickBtnClick() { UnitWpnPickBtnClick(2); }
    void UnitWpn3PickBtnClick() { UnitWpnPickBtnClick(3); }
    void UnitWpn4PickBtnClick() { UnitWpnPickBtnClick(4); }
    // Leaving the availability fields does nothing.
    void UnitYrAvailEditExit() { }
    void UnitYrUnavailEditExit() { }

private:
    // The unit's icon and picture.
    void UnitIconEditChange();
    void UnitLBMEditChange();
    void LBMPickButtonClick();
    // The picture's right-click "Replace from PNG…": a PNG as the unit's picture.
    void replacePictureFromPng();
    // Icon loaders: true when the entry names a frame of an icon file that
    // exists and was drawn into p. Throw what the icon reader throws.
    bool LoadIconEntry(PictureLabel* p, int entry);
    bool LoadIconFrame(PictureLabel* p, int icon, bool turret);
    bool LoadCrewIcon(PictureLabel* p, int unitClass, int crew, int nation);
    // Puts the hull, and the turret when there is one, wholly inside the icon area.
    void placeIconPair(bool withTurret);
    int transparentColour() const;
    std::filesystem::path workingFolder() const;

    void UnitERAEditChange(const char* objectName);
    void UnitWpnPickBtnClick(int slot);

    void buildControls();
    void buildTabOrder();
    QLineEdit* numberEdit(const char* objectName) const;
    QString editText(const char* objectName) const;
    // The nation edit's colours follow the name, nation and class texts.
    void updateNationColours();
    void showWeaponName(int slot, int weaponNumber);
    // Writes the name label that follows field i when the page fills it.
    void showLabelAfter(std::size_t i, const core::TOobUnit& unit);
    void setUpDownFromIcon();

    std::array<QLineEdit*, core::kUnitNumberFieldCount> edits_ {};
    std::size_t nationField_ = 0;
    std::size_t classField_ = 0;
    std::size_t moveField_ = 0;
    std::array<std::size_t, 4> weaponFields_ {};
    std::array<QLabel*, 4> weaponNameLabels_ {};
    std::array<QToolButton*, 4> weaponPickButtons_ {};
    QLabel* UnitNumLabel = nullptr;
    QLabel* UnitNationLabel = nullptr;
    QLabel* UnitClassLabel = nullptr;
    QLabel* UnitMCLabel = nullptr;
    QLabel* Label42 = nullptr; // "EW"
    QLabel* LabelEW = nullptr;
    QLabel* Label58 = nullptr; // "Vision"
    QLabel* Label61 = nullptr; // "Fire control"
    QSpinBox* UpDown1 = nullptr;
    // The working folder the shown picture was looked up in.
    std::filesystem::path pictureDir_;
};

} // namespace tarnwick::gui
