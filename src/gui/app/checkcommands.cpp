// The main window's check commands: File > Check File and Edit > Where Used,
// each opening its window beside the main window.

#include "core/rules/sdimain.h"
#include "gui/app/sdimain.h"
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
    if (!state_.fileLoaded) {
        dialogs_->message(this, Dialogs::Kind::Information, QString::fromLatin1(core::kApplicationTitle),
            QString::fromLatin1(core::kPleaseLoadText));
        return;
    }
    // Artwork is read afresh on each Check File; later changes to the records reuse it.
    CheckForm->setSource(oob_.get(), currentPath_, iconFrames_.table);
    ShowBeside(CheckForm);
    CheckForm->refresh();
    setStatus(CheckForm->statusText());
}

void TSDIAppForm::WhereUsed1Click()
{
    RecordPage* page = pageInCharge();
    if (!state_.fileLoaded || page == nullptr) {
        setStatus(core::kWrongPageStatus);
        return;
    }
    WhereUsedForm->setItem(oob_.get(), page->pasteKind(), page->currentSlot());
    ShowBeside(WhereUsedForm);
    WhereUsedForm->refresh();
}

} // namespace tarnwick::gui
