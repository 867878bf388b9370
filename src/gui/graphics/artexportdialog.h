#pragma once

// File > Export Artwork…: every picture and icon frame of the working folder
// written as PNG files to a folder the user chooses, with a progress dialog
// that can be cancelled.

#include <filesystem>

class QWidget;

namespace tarnwick::gui {

class Dialogs;

// Asks for the folder, runs the export off the window's thread, then says in a
// box what was written and which files were broken.
void ExportArtwork(
    QWidget* parent, Dialogs& dialogs, const std::filesystem::path& gameDir, int transparentColour);

} // namespace tarnwick::gui
