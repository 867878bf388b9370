// Typing that is not committed is never dropped without a question: another
// slot or page, another file, an undo or redo and exit ask first.

#include "gui/app/sdimain.h"

#include "core/rules/document.h"
#include "gui/app/oobdocument.h"
#include "gui/app/workspace.h"
#include "gui/common/dialogs.h"
#include "gui/pages/infopage.h"
#include "gui/pages/recordpage.h"

#include <QUndoStack>

namespace tarnwick::gui {

bool TSDIAppForm::maySetTypingAside()
{
    if (uncommittedText().isEmpty())
        return true;
    RecordPage* page = pageInCharge();
    const QString question = page != nullptr
        ? QString::fromStdString(core::CommitTypingQuestion(page->pasteKind(), page->currentSlot()))
        : QString::fromLatin1(core::kCommitCommentQuestion);
    switch (dialogs_->message(this, Dialogs::Kind::Question, core::kCommitTypingCaption, question,
        Dialogs::Buttons::CommitDiscardCancel)) {
    case Dialogs::Answer::Commit:
        // A commit the page's check refused leaves the typing, and the caller stays.
        CommitButtonClick();
        return uncommittedText().isEmpty();
    case Dialogs::Answer::Discard:
        if (page != nullptr)
            page->showCurrent();
        else
            Info->ShowInfo();
        return true;
    default:
        return false;
    }
}

void TSDIAppForm::undoDocument()
{
    if (maySetTypingAside())
        workspace_->document().undoStack()->undo();
}

void TSDIAppForm::redoDocument()
{
    if (maySetTypingAside())
        workspace_->document().undoStack()->redo();
}

} // namespace tarnwick::gui
