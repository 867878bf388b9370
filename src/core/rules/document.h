#pragma once

// What the editor says about the document: the names of undo steps, the
// question before unsaved changes are lost, the modified and uncommitted
// indications. Names come in as UTF-8.

#include "core/data/pastebuffer.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace tarnwick::core {

// Undo steps, as the Edit menu shows them after "Undo " or "Redo ".
// "Commit unit 12", "Commit weapon 3", "Commit formation 40".
std::string CommitStepText(PasteKind kind, int slot);
inline constexpr const char* kCommentStepText = "Commit comment";
// "Move weapon 22 to 40"
std::string MoveStepText(PasteKind kind, int from, int to);
// "Paste all units"
std::string PasteAllStepText(PasteKind kind);
// "Reclassify 7 to 8" (the texts as typed, trimmed)
std::string ReclassifyStepText(std::string_view from, std::string_view to);
// "Renationalise 5 to 7" (the texts as typed, trimmed)
std::string RenationaliseStepText(std::string_view from, std::string_view to);
// "Units grid save", "Weapons grid save"
std::string GridSaveStepText(PasteKind kind);
// "Repair formation 12 as Bn HQ"
std::string BnHqRepairStepText(int slot);
inline constexpr const char* kTidyOnSaveStepText = "Tidy on save";

// The status bar's permanent label while the records differ from the file.
inline constexpr const char* kModifiedLabel = "Modified";
// Asked before opening another file or exiting with unsaved changes:
// "Save the changes to obat05 - Republic of Valdoria?"
std::string SaveChangesQuestion(std::string_view fileRowText);
inline constexpr const char* kSaveChangesCaption = "Unsaved Changes";

// A grid window closed with cell edits that are not saved.
inline constexpr const char* kGridSaveChangesQuestion = "Save the changes made in the grid?";

// A record page whose fields differ from its record:
// "Unit 12 has changes that are not committed (F12 commits)".
std::string UncommittedStatus(PasteKind kind, int slot);
inline constexpr const char* kUncommittedCommentStatus
    = "The comment has changes that are not committed (F12 commits)";
// Asked before typing that is not committed would be dropped (another slot or
// page, another file, an undo or redo, exit): "Commit the changes to unit 12?".
std::string CommitTypingQuestion(PasteKind kind, int slot);
inline constexpr const char* kCommitCommentQuestion = "Commit the changes to the comment?";
inline constexpr const char* kCommitTypingCaption = "Uncommitted Changes";
inline constexpr const char* kCommitHint = "Commit your changes [F12]";
// The commit button's hint while the page has uncommitted changes.
inline constexpr const char* kCommitHintUncommitted
    = "Commit your changes [F12] - this page has changes that are "
      "not committed";
// A save while a page shows uncommitted typing:
// "Saved /x/obat05; the Units page has uncommitted changes".
std::string SavedWithUncommittedStatus(std::string_view savedStatus, std::string_view pageName);
// A save that brought values into range: "Saved /x/obat001.obf; 4 values were
// out of range and were brought into range (F8 lists them)". None: savedStatus.
std::string SavedTidiedStatus(std::string_view savedStatus, std::size_t values);

// Keys of the record commands, shown at the end of their hints.
inline constexpr const char* kEraseKey = "Ctrl+Shift+E";
inline constexpr const char* kCopyKey = "Ctrl+Shift+C";
inline constexpr const char* kPasteKey = "Ctrl+Shift+V";
inline constexpr const char* kMoveKey = "Ctrl+Shift+M";
inline constexpr const char* kBackKey = "Alt+Left";
inline constexpr const char* kForwardKey = "Alt+Right";
// "Cear this form [Ctrl+Shift+E]": a hint with its key; blanks at its end go.
std::string HintWithKey(std::string_view hint, std::string_view key);

// Copy refused because a field holds no number; names the field and its text:
// "Unit not copied: Cost: 'x1' is not a valid integer value".
std::string CopyRefusedText(PasteKind kind, std::string_view fieldMessage);
// Pasting an entry that holds nothing changes nothing: "Entry 12 is unused".
std::string UnusedEntryText(int entry);

} // namespace tarnwick::core
