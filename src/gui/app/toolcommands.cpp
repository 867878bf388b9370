// The main window's bulk tools and compare: renationalise, reclassify, the two
// grids, the transparent colour and File > Compare With.

#include "gui/app/sdimain.h"
#include "gui/app/workspace.h"

#include "core/data/oobcompare.h"
#include "core/rules/mergeview.h"
#include "core/rules/sdimain.h"
#include "gui/app/oobdocument.h"
#include "gui/common/dialogs.h"
#include "gui/graphics/unitcolour.h"
#include "gui/pages/unitpage.h"
#include "gui/tools/compareform.h"
#include "gui/tools/gridunits.h"
#include "gui/tools/gridweapons.h"
#include "gui/tools/mergeform.h"
#include "gui/tools/reclassify.h"
#include "gui/tools/renationalise.h"

#include <QPointer>
#include <QTabWidget>

#include <cstdint>

namespace tarnwick::gui {

namespace {

QString AppTitle()
{
    return QString::fromLatin1(core::kApplicationTitle);
}

} // namespace

void TSDIAppForm::ChangeTransparentColour1Click()
{
    FormColour->exec();
}

void TSDIAppForm::Renationalise1Click()
{
    if (!workspace_->state().fileLoaded) {
        dialogs_->message(this, Dialogs::Kind::Information, AppTitle(), core::kPleaseLoadText);
        return;
    }
    if (!maySetTypingAside())
        return;
    const QPointer<QWidget> focused = focusWidget();
    RenatDlg->execFor(static_cast<std::uint8_t>(workspace_->state().currentNation));
    update();
    Units->ShowUnit();
    // Showing the unit puts the keyboard in its name field; on another page that
    // field is hidden, so the keyboard goes back where the user left it.
    if (Viewer->currentWidget() != Units && focused)
        focused->setFocus();
    showAgainAfterBulkChange();
}

void TSDIAppForm::CompareWith1Click()
{
    if (!workspace_->state().fileLoaded) {
        dialogs_->message(this, Dialogs::Kind::Information, AppTitle(), core::kPleaseLoadText);
        return;
    }
    if (CompareForm == nullptr) {
        CompareForm = new TCompareForm(pageContext_, this);
        connect(CompareForm, &TCompareForm::recordActivated, this, &TSDIAppForm::openRecord);
        connect(&workspace_->document(), &OobDocument::recordsChanged, CompareForm, &TCompareForm::refresh);
    }
    CompareForm->askForFile(workspace_->shownFolder());
}

void TSDIAppForm::MergeWith1Click()
{
    if (!workspace_->state().fileLoaded) {
        dialogs_->message(this, Dialogs::Kind::Information, AppTitle(), core::kPleaseLoadText);
        return;
    }
    if (!maySetTypingAside())
        return;
    if (MergeForm == nullptr) {
        MergeForm = new TMergeForm(pageContext_, this);
        connect(MergeForm, &TMergeForm::recordActivated, this, &TSDIAppForm::openRecord);
    }
    // OURS is what a save would write now.
    OobDocument& document = workspace_->document();
    if (!MergeForm->execFor(core::OobFileBytes(document.records(), document.nation()), document.nation()))
        return;
    const std::unique_ptr<core::TOobData> merged = MergeForm->mergedRecords();
    document.change(MergeForm->stepName(), [&](core::TOobData& records) {
        core::TakeMergedRecords(records, *merged);
        return true;
    });
    showAgainAfterBulkChange();
}

void TSDIAppForm::Reclassify1Click()
{
    // The tool redraws the page from the records when it is done.
    if (maySetTypingAside() && FormReclassify->execFor())
        showAgainAfterBulkChange();
}

void TSDIAppForm::WeaponsGrid1Click()
{
    // The tool redraws the page from the records when it is done.
    if (maySetTypingAside() && FormGridWpns->execFor())
        showAgainAfterBulkChange();
}

void TSDIAppForm::UnitsGrid1Click()
{
    // The tool redraws the page from the records when it is done.
    if (maySetTypingAside() && FormGridUnits->execFor())
        showAgainAfterBulkChange();
}

} // namespace tarnwick::gui
