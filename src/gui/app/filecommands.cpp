#include "gui/app/filecommands.h"

#include "core/data/csvdump.h"
#include "core/data/folderscan.h"
#include "core/data/savetidy.h"
#include "core/data/tarnio.h"
#include "core/rules/document.h"
#include "core/rules/sdimain.h"
#include "gui/app/oobdocument.h"
#include "gui/app/workspace.h"
#include "gui/common/dialogs.h"
#include "gui/common/pagecontext.h"
#include "gui/common/pathtext.h"
#include "gui/pages/loadsavepage.h"

#include <QLineEdit>
#include <QStringList>
#include <QWidget>

#include <memory>
#include <string>
#include <system_error>

namespace tarnwick::gui {

namespace {

std::string Shown(const std::filesystem::path& path)
{
    return ShownPath(path).toStdString();
}

QString Text(const std::string& utf8)
{
    return QString::fromStdString(utf8);
}

QString AppTitle()
{
    return QString::fromLatin1(core::kApplicationTitle);
}

} // namespace

FileCommands::FileCommands(Workspace& workspace, PageContext& context, LoadSavePage& load, QWidget* window)
    : QObject(window)
    , workspace_(workspace)
    , document_(workspace.document())
    , context_(context)
    , load_(load)
    , window_(window)
{
}

void FileCommands::setStatus(const QString& text)
{
    if (context_.setStatus)
        context_.setStatus(text);
}

void FileCommands::showError(const QString& text)
{
    context_.dialogs->message(window_, Dialogs::Kind::Error, AppTitle(), text);
}

bool FileCommands::changeFolder(const std::filesystem::path& dir)
{
    std::string why;
    if (!workspace_.enterFolder(dir, &why)) {
        context_.dialogs->message(window_, Dialogs::Kind::Warning, AppTitle(),
            Text(core::CannotEnterFolderText(Shown(workspace_.resolve(dir)), why)));
        load_.DirectoryEdit->setText(workspace_.shownFolder());
        return false;
    }
    load_.showFolder(workspace_.folder());
    setStatus(Text(core::SearchingStatus(workspace_.shownFolder().toStdString())));
    return true;
}

bool FileCommands::openSelected(bool askFirst)
{
    const int nation = load_.selectedNation();
    if (nation == 0)
        return false;
    const std::filesystem::path dir = workspace_.folder();
    if (!core::OobFileExists(dir, nation)) {
        context_.dialogs->message(
            window_, Dialogs::Kind::Information, core::kFileNotFoundCaption, core::kFileNotFoundText);
        return false;
    }
    if (askFirst && !maySetRecordsAside())
        return false;

    // A failed read leaves the records, the title and the pages as they were.
    auto loaded = std::make_unique<core::TOobData>(); // large: not on the stack
    const core::LoadResult result = core::LoadOobFile(*loaded, static_cast<std::uint16_t>(nation), dir);
    if (!result.ok()) {
        const QString text = result.io.kind == core::IoResult::Kind::NotFound
            ? Text(core::UnableToFindText(core::OobFileName(nation)))
            : Text(result.io.message());
        context_.dialogs->message(window_, Dialogs::Kind::Error, core::kFileLoadErrorCaption, text);
        return false;
    }
    core::CurrentState& state = *context_.state;
    state.currentNation = static_cast<std::uint16_t>(nation);
    document_.open(result.io.path, state.currentNation, *loaded);
    loaded.reset();
    emit tidied({});
    const std::string path = Shown(result.io.path);
    if (result.size == core::LoadResult::Size::Short)
        context_.dialogs->message(window_, Dialogs::Kind::Warning, AppTitle(),
            Text(core::ShortFileWarning(path, result.bytesInFile)));
    else if (result.size == core::LoadResult::Size::Long)
        context_.dialogs->message(window_, Dialogs::Kind::Warning, AppTitle(),
            Text(core::LongFileWarning(path, result.bytesInFile)));

    load_.updateRow(nation, true);
    const QString rowText = load_.rowText(nation, true);
    // The title shows a mark while the records differ from the file.
    window_->setWindowTitle(
        Text(core::LoadedTitle(workspace_.shownFolder().toStdString(), rowText.toStdString())) + "[*]");
    state.currentWeapon = 1;
    state.currentUnit = 1;
    state.currentFormation = 1;
    setStatus(Text(core::LoadedStatus(workspace_.shownFolder().toStdString(), rowText.toStdString())));
    state.fileLoaded = true;
    return true;
}

bool FileCommands::save(const QString& uncommittedPage)
{
    const core::CurrentState& state = *context_.state;
    if (!state.fileLoaded) {
        context_.dialogs->message(window_, Dialogs::Kind::Information, AppTitle(), core::kPleaseLoadText);
        return false;
    }
    // Back where the file came from, whatever folder the Load/Save page shows now.
    const std::filesystem::path folder = document_.folder();
    const std::size_t values = tidyForSave();
    auto copy = std::make_unique<core::TOobData>(document_.records());
    const core::IoResult result = core::SaveOobFile(*copy, state.currentNation, folder);
    if (!result.ok()) {
        showError(Text(result.message()));
        return false;
    }
    document_.saved();
    // The file as it is called on disk, whichever way the save was asked for.
    std::string status = core::SavedTidiedStatus(core::SavedFileStatus(Shown(result.path)), values);
    if (!uncommittedPage.isEmpty())
        status = core::SavedWithUncommittedStatus(status, uncommittedPage.toStdString());
    setStatus(Text(status));
    return true;
}

bool FileCommands::maySetRecordsAside()
{
    if (!document_.isModified())
        return true;
    const QString row = load_.rowText(context_.state->currentNation, true);
    const auto answer = context_.dialogs->message(window_, Dialogs::Kind::Question, core::kSaveChangesCaption,
        Text(core::SaveChangesQuestion(row.toStdString())), Dialogs::Buttons::SaveDiscardCancel);
    if (answer == Dialogs::Answer::Save)
        return save();
    return answer == Dialogs::Answer::Discard;
}

void FileCommands::saveAs()
{
    const core::CurrentState& state = *context_.state;
    if (!state.fileLoaded) {
        context_.dialogs->message(
            window_, Dialogs::Kind::Information, core::kNoFileCaption, core::kLoadToOverwriteText);
        return;
    }
    const QString proposed = ShownPath(workspace_.folder() / core::OobFileName(state.currentNation));
    const auto chosen
        = context_.dialogs->saveAsFileName(window_, core::kSaveAsTitle, core::kSaveAsFilter, proposed);
    if (!chosen || chosen->isEmpty())
        return;
    const std::filesystem::path path
        = core::NormalFolderPath(workspace_.folder(), PathFromText(*chosen, workspace_.folder()));
    // The name is cut here, once, to twelve whole characters.
    const std::string name = core::SaveAsFileName(path.filename().string());
    const std::filesystem::path target = path.parent_path() / name;
    if (name.empty() || name == "." || name == "..") {
        showError(Text(core::IoResult::failure(core::IoResult::Kind::WriteError, target, "Invalid file name")
                           .message()));
        return;
    }
    // Another file that is there already is replaced only when the user says so.
    std::error_code ec;
    const bool exists = std::filesystem::exists(std::filesystem::symlink_status(target, ec));
    const bool isOpenFile
        = document_.isLoaded() && std::filesystem::equivalent(target, document_.filePath(), ec);
    if (exists && !isOpenFile) {
        const auto answer
            = context_.dialogs->message(window_, Dialogs::Kind::Question, core::kReplaceFileCaption,
                Text(core::ReplaceFileQuestion(Shown(target))), Dialogs::Buttons::YesNoDefaultNo);
        if (answer != Dialogs::Answer::Yes)
            return;
    }
    const std::size_t values = tidyForSave();
    auto copy = std::make_unique<core::TOobData>(document_.records());
    const core::IoResult result = core::SaveOobFileAs(*copy, state.currentNation, name, target.parent_path());
    if (result.ok()) {
        // Saved over the file it came from, the records are that file again.
        if (isOpenFile)
            document_.saved();
        setStatus(Text(core::SavedTidiedStatus(core::SavedFileStatus(Shown(result.path)), values)));
    } else {
        showError(Text(result.message()));
    }
    load_.SetList();
}

std::size_t FileCommands::tidyForSave()
{
    // What the save would write differently becomes a step of its own, so the
    // records are what the file holds once it is written.
    std::vector<core::TidyChange> changes;
    const std::uint16_t nation = context_.state->currentNation;
    document_.change(core::kTidyOnSaveStepText, [&changes, nation](core::TOobData& records) {
        changes = core::TidyForSave(records, nation);
        return true;
    });
    emit tidied(changes);
    return changes.size();
}

void FileCommands::exportCsv()
{
    const core::CurrentState& state = *context_.state;
    if (!state.fileLoaded) {
        context_.dialogs->message(
            window_, Dialogs::Kind::Information, core::kNoFileCaption, core::kLoadToReportText);
        return;
    }
    const auto results = core::DumpCsv(
        document_.records(), state.currentNation, context_.settings->names, workspace_.folder());
    QStringList failures;
    for (const core::IoResult& result : results) {
        if (!result.ok())
            failures << Text(result.message());
    }
    if (!failures.isEmpty()) {
        showError(failures.join('\n'));
        return;
    }
    setStatus(Text(core::CsvWrittenStatus(workspace_.shownFolder().toStdString())));
}

} // namespace tarnwick::gui
