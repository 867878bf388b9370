// The main window's check commands: File > Check File and Edit > Where Used,
// each opening its window beside the main window.

#include "core/rules/sdimain.h"
#include "gui/app/oobdocument.h"
#include "gui/app/sdimain.h"
#include "gui/app/workspace.h"
#include "gui/common/dialogs.h"
#include "gui/pages/recordpage.h"
#include "gui/tools/checkform.h"
#include "gui/tools/whereused.h"

namespace tarnwick::gui {

namespace {

void ShowBeside(QWidget* window)
{
    window->show();
    window->raise();
    window->activateWindow();
}

} // namespace

void TSDIAppForm::CheckFile1Click()
{
    if (!workspace_->state().fileLoaded) {
        dialogs_->message(this, Dialogs::Kind::Information, QString::fromLatin1(core::kApplicationTitle),
            QString::fromLatin1(core::kPleaseLoadText));
        return;
    }
    // Artwork is read afresh on each Check File; later changes to the records reuse it.
    CheckForm->setSource(&workspace_->document().records(), workspace_->folder(), iconFrames_.table, true);
    ShowBeside(CheckForm);
    CheckForm->refresh();
    setStatus(CheckForm->statusText());
}

void TSDIAppForm::recheckAfterChange()
{
    // Another file may come from another folder; the same folder keeps what was read of its art.
    CheckForm->setSource(&workspace_->document().records(), workspace_->folder(), iconFrames_.table, false);
    CheckForm->refresh();
    WhereUsedForm->refresh();
}

void TSDIAppForm::WhereUsed1Click()
{
    RecordPage* page = pageInCharge();
    if (!workspace_->state().fileLoaded || page == nullptr) {
        setStatus(core::kWrongPageStatus);
        return;
    }
    WhereUsedForm->setItem(&workspace_->document().records(), page->pasteKind(), page->currentSlot());
    ShowBeside(WhereUsedForm);
    WhereUsedForm->refresh();
}

} // namespace tarnwick::gui
