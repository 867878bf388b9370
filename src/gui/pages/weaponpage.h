#pragma once

// The Weapons page of the main window (sheet "Weapons"): one weapon record as
// decimal text, stored only on commit.

#include "core/rules/weaponpage.h"
#include "gui/pages/recordpage.h"

#include <array>
#include <optional>

class QFrame;
class QLabel;
class QLineEdit;
class QToolButton;

namespace tarnwick::gui {

class WeaponPage : public RecordPage {
    Q_OBJECT
public:
    explicit WeaponPage(PageContext& context, QWidget* parent = nullptr);

    int slotCount() const override;
    int currentSlot() const override;
    void setCurrentSlot(int slot) override;
    std::string slotName(int slot) const override;
    void showCurrent() override { ShowWeapon(); }
    // SaveWeapon.
    std::optional<core::PageRecord> commitPage() override;
    void clearPage() override { ClearWeaponPage(); }
    core::PasteKind pasteKind() const override { return core::PasteKind::Weapon; }
    bool fillTransfer(core::PasteBuffers& buffers) override { return FillXferBufferWpn(buffers); }
    void pasteTransfer(const core::PasteBuffers& buffers) override { PasteToWeapon(buffers); }

    bool FillXferBufferWpn(core::PasteBuffers& buffers);
    void PasteToWeapon(const core::PasteBuffers& buffers);
    // The page as a weapon (nothing, after an error box, when a field is no
    // number), and a weapon shown without storing it.
    // An error names the field; a copy (forCopy) says it made no copy.
    std::optional<core::TOobWeapon> readPage(bool forCopy = false);
    void showRecord(const core::TOobWeapon& weapon);

    // Record to page.
    void ShowWeapon();
    // The page as the record to store. When a field is no number an error box
    // names the field, the typing stays, and there is nothing.
    std::optional<core::TOobWeapon> SaveWeapon();
    // Empties the name and every number; the record is untouched.
    void ClearWeaponPage();

    QFrame* Panel5 = nullptr;
    QLabel* WeaponNumberLabel = nullptr;
    QLineEdit* WeaponNameEdit = nullptr;
    QLineEdit* WeaponClassEdit = nullptr;
    QToolButton* WpnClassPickbtn = nullptr;
    QLabel* WeaponClassLabel = nullptr;
    // In store order (core::WeaponNumberFields()); [0] is WeaponClassEdit.
    std::array<QLineEdit*, core::kWeaponNumberFields> numberEdits {};

private slots:
    void WpnClassPickbtnClick();

private:
    void buildPanel();
    void showSaveError(const QString& text);
};

} // namespace tarnwick::gui
