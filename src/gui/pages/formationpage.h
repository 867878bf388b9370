#pragma once

// The Formations page of the main window (sheet "Formations"): one formation
// record with its type, availability, purchase page, ten members and modifiers.
// The page applies the organisation rules while the user types (member rows
// name what they refer to, errors show in maroon) and checks them on commit.

#include "core/rules/formationrules.h"
#include "gui/pages/recordpage.h"

#include <array>
#include <optional>

class QLabel;
class QLineEdit;
class QToolButton;

namespace tarnwick::gui {

class FormationPage : public RecordPage {
    Q_OBJECT
public:
    explicit FormationPage(PageContext& context, QWidget* parent = nullptr);

    int slotCount() const override;
    int currentSlot() const override;
    void setCurrentSlot(int slot) override;
    std::string slotName(int slot) const override;
    void showCurrent() override { ShowFormation(); }
    // Checks the page; stores it, shows it again and rebuilds the list when the
    // check passes. A refused page keeps the user's typing.
    std::optional<core::PageRecord> commitPage() override;
    void clearPage() override { ClearFormationPage(); }
    core::PasteKind pasteKind() const override { return core::PasteKind::Formation; }
    bool fillTransfer(core::PasteBuffers& buffers) override { return FillXferBufferFormation(buffers); }
    void pasteTransfer(const core::PasteBuffers& buffers) override { PasteToFormation(buffers); }
    bool checkPage() override { return CheckFormation(); }

    bool FillXferBufferFormation(core::PasteBuffers& buffers);
    void PasteToFormation(const core::PasteBuffers& buffers);

    // Record to page. A type 5 in any formation but the first shows as 2, with
    // an error box, and asks for the record's repair (repairNeeded).
    void ShowFormation();
    // The page as the record to store; nothing when a field holds no number.
    std::optional<core::TOobFormation> SaveFormation();
    // The page's fields as a record, numbers clamped as a commit stores them;
    // nothing, after an error box naming the field, when a field holds no number
    // (copy into a paste buffer, move).
    // An error names the field; a copy (forCopy) says it made no copy.
    std::optional<core::TOobFormation> pageRecord(bool forCopy = false);
    // Fills the page from a record, stored or not (paste, move); the table is
    // untouched. ShowFormation and paste both show through here.
    void showRecord(const core::TOobFormation& f);
    // The commit check; shows its own findings.
    bool CheckFormation();
    // Empties every control; the record is untouched.
    void ClearFormationPage();

    bool showingFormation() const { return showingFormation_; }
    bool takesSubFormations() const { return kind_.takesSubFormations; }
    bool sectionsOnly() const { return kind_.sectionsOnly; }

signals:
    // The formation at slot holds a Bn HQ where only the first may; its record
    // should be repaired as a company.
    void repairNeeded(int slot);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private slots:
    // FormSlot1EditChange .. FormSlot10EditChange.
    void FormSlotEditChange(int slot);
    void FormSlot1EditKeyUp();
    void FormNationEditChange();
    void FormPageEditChange();
    void FormTypeEditChange();
    void FormTypeEditExit();
    void FormPickNationBtnClick();
    void FormCatPickBtnClick();
    void FormTypePickBtnClick();
    // FormSlot1PickBtnClick .. FormSlot10PickBtnClick (slot 6: FormSlot6BtnClick).
    void FormSlotPickBtnClick(int slot);
    // The right button on the pick buttons of slots 2..10 (FormSlot2PickBtnMouseDown ..).
    void FormSlotPickBtnMouseDown(int slot);

private:
    struct MemberRow {
        QLineEdit* edit = nullptr;
        QToolButton* pick = nullptr;
        QLabel* name = nullptr;
        QLabel* date = nullptr;
        QLabel* type = nullptr;
    };

    void buildControls();
    void layOut();
    const core::TOobFormation& record() const;
    void setFormType(int type);
    void UpdateFormationKind();
    void UpdateSlotLabels(int slot);
    // Sets a member edit; when the text does not change its labels are refreshed anyway.
    void setMemberText(int slot, const QString& text);
    void colourNation(int nation);
    void error(const QString& text);

    QLabel* FormNamelabel = nullptr;
    QLineEdit* FormNameEdit = nullptr;
    QLineEdit* FormNationEdit = nullptr;
    QToolButton* FormPickNationBtn = nullptr;
    QLabel* FormNationLabel = nullptr;
    QLineEdit* FormMonthAvailEdit = nullptr;
    QLineEdit* FormAvailEdit = nullptr;
    QLineEdit* FormMonthUnAvailEdit = nullptr;
    QLineEdit* FormUntilEdit = nullptr;
    QLineEdit* FormPageEdit = nullptr;
    QToolButton* FormCatPickBtn = nullptr;
    QLabel* FormCatLabel = nullptr;
    QLineEdit* FormTypeEdit = nullptr;
    QToolButton* FormTypePickBtn = nullptr;
    QLabel* FormTypeLabel = nullptr;
    QLabel* LabelCo = nullptr;
    QLineEdit* FormExpModEdit = nullptr;
    QLineEdit* FormMoraleModEdit = nullptr;
    QLabel* TotalCount = nullptr;
    std::array<MemberRow, core::kFormationMembers> rows_ {};

    // The type of the formation on the page as last shown, typed or picked
    // (mirrored into the shared state for the formation pick list).
    int formType_ = 0;
    core::FormationKind kind_;
    bool showingFormation_ = false;
};

} // namespace tarnwick::gui
