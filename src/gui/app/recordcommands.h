#pragma once

// The record commands of the speed panel: commit, copy, paste, move and find,
// on the record page in charge, through the document and the dialogs seam.

#include "core/data/pastebuffer.h"

#include <QObject>

class QComboBox;
class QWidget;

namespace tarnwick::gui {

class InfoPage;
class OobDocument;
class RecordPage;
class TPasterDlg;
class TPickForm;
struct PageContext;

class RecordCommands : public QObject {
    Q_OBJECT
public:
    // window is the parent of the boxes; the windows the commands open come later.
    RecordCommands(OobDocument& document, PageContext& context, core::PasteBuffers& buffers, QWidget* window);
    void setWindows(TPasterDlg* paster, TPickForm* pickForm);

    // Stores the page as one undo step.
    void commit(RecordPage& page);
    void commitComment(InfoPage& info);
    // The page's text into the transfer record and, in the copy/paste dialog, a buffer entry.
    void copy(RecordPage& page);
    // A buffer entry onto the page (nothing stored), or paste-mode All into the
    // table; true when the table changed and the page should show it again.
    bool paste(RecordPage& page);
    // Repairs the formation at slot that holds a Bn HQ where only the first may,
    // as a step of its own; nothing while an undo or redo shows the records.
    void repairBnHq(int slot);
    // Moves the page's item to a slot chosen from the pick list.
    void move(RecordPage& page);
    // The next record whose name holds the find box's text; page null: only
    // the find history takes the text.
    void find(RecordPage* page, QComboBox& findBox);

private:
    void setStatus(const QString& text);
    // The page's commit stored at slot as one step named text; false when the
    // page refused.
    bool store(RecordPage& page, int slot, const QString& text);

    OobDocument& document_;
    PageContext& context_;
    core::PasteBuffers& buffers_;
    QWidget* window_ = nullptr;
    TPasterDlg* paster_ = nullptr;
    TPickForm* pickForm_ = nullptr;
};

} // namespace tarnwick::gui
