#include "gui/app/recordcommands.h"

#include "core/rules/document.h"
#include "core/rules/formationrules.h"
#include "core/rules/move.h"
#include "core/rules/navigation.h"
#include "core/rules/sdimain.h"
#include "gui/app/oobdocument.h"
#include "gui/app/paster.h"
#include "gui/common/bytetext.h"
#include "gui/common/dialogs.h"
#include "gui/common/pagecontext.h"
#include "gui/pages/infopage.h"
#include "gui/pages/recordpage.h"
#include "gui/tools/picker.h"

#include <QComboBox>
#include <QScopeGuard>
#include <QSet>

#include <memory>
#include <string>
#include <vector>

namespace tarnwick::gui {

namespace {

QString Text(const std::string& utf8)
{
    return QString::fromStdString(utf8);
}

QString AppTitle()
{
    return QString::fromLatin1(core::kApplicationTitle);
}

// Shows each distinct message box once and answers a repeat with OK: a move
// checks the item before it blanks the old slot and again as it stores it, and
// the user reads the findings once.
class OnceDialogs : public Dialogs {
public:
    explicit OnceDialogs(Dialogs& inner)
        : inner_(inner)
    {
    }
    Answer message(QWidget* parent, Kind kind, const QString& caption, const QString& text,
        Buttons buttons = Buttons::Ok) override
    {
        const QString key = QString::number(static_cast<int>(kind)) + '\n' + caption + '\n' + text;
        if (buttons == Buttons::Ok && shown_.contains(key))
            return Answer::Ok;
        shown_.insert(key);
        return inner_.message(parent, kind, caption, text, buttons);
    }
    std::optional<QString> saveAsFileName(
        QWidget* parent, const QString& title, const QString& filter, const QString& startDir) override
    {
        return inner_.saveAsFileName(parent, title, filter, startDir);
    }
    std::optional<QString> openFileName(
        QWidget* parent, const QString& title, const QString& filter, const QString& startDir) override
    {
        return inner_.openFileName(parent, title, filter, startDir);
    }
    std::optional<QString> folder(QWidget* parent, const QString& title, const QString& startDir) override
    {
        return inner_.folder(parent, title, startDir);
    }
    bool openDocument(const QString& path) override { return inner_.openDocument(path); }

private:
    Dialogs& inner_;
    QSet<QString> shown_;
};

} // namespace

RecordCommands::RecordCommands(
    OobDocument& document, PageContext& context, core::PasteBuffers& buffers, QWidget* window)
    : QObject(window)
    , document_(document)
    , context_(context)
    , buffers_(buffers)
    , window_(window)
{
}

void RecordCommands::setWindows(TPasterDlg* paster, TPickForm* pickForm)
{
    paster_ = paster;
    pickForm_ = pickForm;
}

void RecordCommands::setStatus(const QString& text)
{
    if (context_.setStatus)
        context_.setStatus(text);
}

bool RecordCommands::store(RecordPage& page, int slot, const QString& text)
{
    const std::optional<core::PageRecord> record = page.commitPage();
    if (!record)
        return false;
    document_.change(
        text, [slot, &record](core::TOobData& r) { return core::StoreRecord(r, slot, *record); });
    return true;
}

void RecordCommands::commit(RecordPage& page)
{
    const int slot = page.currentSlot();
    if (store(page, slot, Text(core::CommitStepText(page.pasteKind(), slot))))
        page.committed();
}

void RecordCommands::commitComment(InfoPage& info)
{
    if (const std::optional<std::string> comment = info.SaveInfo())
        document_.change(core::kCommentStepText, [&comment](core::TOobData& r) {
            r.comment = *comment;
            return true;
        });
    info.ShowInfo();
}

void RecordCommands::repairBnHq(int slot)
{
    // Never while an undo or redo shows the records: the step being undone
    // decides what they hold.
    if (document_.isRestoring() || slot < 1 || slot > core::kFormationSlots)
        return;
    document_.change(Text(core::BnHqRepairStepText(slot)), [slot](core::TOobData& r) {
        core::TOobFormation& f = r.formations[static_cast<std::size_t>(slot)];
        if (!core::IsMisplacedBnHq(slot, f.formType))
            return false;
        f.formType = core::kCompanyType;
        return true;
    });
}

void RecordCommands::copy(RecordPage& page)
{
    if (paster_ == nullptr || !page.fillTransfer(buffers_))
        return;
    paster_->prepare(page.pasteKind(), core::PasteMode::Copy);
    paster_->exec();
}

bool RecordCommands::paste(RecordPage& page)
{
    if (paster_ == nullptr)
        return false;
    paster_->prepare(page.pasteKind(), core::PasteMode::Paste);
    const int result = paster_->exec();
    if (result == TPasterDlg::ResultOk)
        page.pasteTransfer(buffers_);
    return result == TPasterDlg::ResultAll;
}

void RecordCommands::move(RecordPage& page)
{
    if (pickForm_ == nullptr)
        return;
    const core::PasteKind kind = page.pasteKind();
    const core::PickMode mode = kind == core::PasteKind::Weapon ? core::pickWeapon
        : kind == core::PasteKind::Unit                         ? core::pickUnit
                                                                : core::pickFormation;
    const int from = page.currentSlot();
    const int to = pickForm_->ShowPickList(mode);
    if (to < 1 || to == from || to > page.slotCount())
        return;
    // The pages speak through the window's dialogs; for the move, each finding once.
    Dialogs* const dialogs = context_.dialogs;
    OnceDialogs once(*dialogs);
    context_.dialogs = &once;
    const auto restore = qScopeGuard([this, dialogs] { context_.dialogs = dialogs; });

    if (!page.fillTransfer(buffers_))
        return;
    // An empty slot moved would only blank the target.
    if (core::TransferIsEmpty(buffers_, kind)) {
        dialogs->message(
            window_, Dialogs::Kind::Information, AppTitle(), Text(core::NothingToMoveText(kind, from)));
        return;
    }
    // The item must pass the page's check where it will be stored before its old
    // slot is blanked; otherwise nothing changes.
    page.setCurrentSlot(to);
    const bool passes = page.checkPage();
    page.setCurrentSlot(from);
    if (!passes)
        return;

    // What the item lands on, named in the status bar.
    const std::string replaced = core::TrimName(page.slotName(to));
    const bool moved = document_.change(
        Text(core::MoveStepText(kind, from, to)), [this, &page, from, to](core::TOobData& r) {
            page.clearPage();
            const std::optional<core::PageRecord> blank = page.commitPage();
            if (!blank || !core::StoreRecord(r, from, *blank))
                return false;
            page.goToSlot(to);
            page.pasteTransfer(buffers_);
            const std::optional<core::PageRecord> item = page.commitPage();
            return item && core::StoreRecord(r, to, *item);
        });
    if (!moved) {
        // Both slots are as they were: the page shows the item where it was.
        page.goToSlot(from);
        page.listInit(from);
        return;
    }
    page.listInit(to);
    page.showCurrent();
    setStatus(Text(core::MovedStatus(kind, from, to, core::RecordsNaming(document_.records(), kind, from),
        FromBytes(replaced).toStdString())));
}

void RecordCommands::find(RecordPage* page, QComboBox& findBox)
{
    const QString typed = findBox.currentText();
    if (core::FindHistoryEntry(typed.toStdString()).empty()) {
        context_.dialogs->message(window_, Dialogs::Kind::Warning, AppTitle(), core::kEnterSearchText);
        return;
    }

    std::vector<std::string> history;
    history.reserve(static_cast<std::size_t>(findBox.count()));
    for (int i = 0; i < findBox.count(); ++i)
        history.push_back(findBox.itemText(i).toStdString());
    if (core::AddToFindHistory(history, typed.toStdString())) {
        findBox.insertItem(0, Text(history.front()));
        findBox.setEditText(typed); // the typed text stays as it was
    }

    if (page == nullptr)
        return;
    // The edit takes only Windows-1252 text, so the names' bytes can be searched.
    const std::string key = core::FindKey(ToBytes(typed).value_or(std::string()));
    const int start = page->currentSlot();
    const int found = key.empty()
        ? 0
        : core::FindNextSlot(start, page->slotCount(), key, [page](int s) { return page->slotName(s); });
    page->goToSlot(found != 0 ? found : start);
    if (found == 0) {
        const core::PasteKind kind = page->pasteKind();
        const core::FindTable table = kind == core::PasteKind::Weapon ? core::FindTable::Weapons
            : kind == core::PasteKind::Unit                           ? core::FindTable::Units
                                                                      : core::FindTable::Formations;
        const QString shownKey = key.empty() ? typed.trimmed().toUpper() : FromBytes(key);
        context_.dialogs->message(window_, Dialogs::Kind::Information, AppTitle(),
            FromBytes(core::NotFoundText(table, "")) + shownKey);
    }
}

} // namespace tarnwick::gui
