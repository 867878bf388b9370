#pragma once

// The program's title artwork and icon, drawn at run time so that no picture
// files have to be carried beside the program.

#include <QIcon>
#include <QImage>
#include <QSize>

namespace tarnwick::gui {

inline constexpr int kTitleArtworkWidth = 384;
inline constexpr int kTitleArtworkHeight = 288;

// The 384 x 288, 24-bit title picture shown by the splash window and the about box.
QImage TitleArtwork();

// A pale map sheet of the given size, the background the about box puts its
// texts on (dark navy text stays readable on it).
QImage MapSheetArtwork(QSize size);

// The program's icon, drawn for the sizes 16 to 256 pixels.
QIcon ProgramIcon();

// One size of the icon (square, side pixels).
QImage ProgramIconImage(int side);

} // namespace tarnwick::gui
