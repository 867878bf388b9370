#pragma once

// Pictures and icons as Qt images: the palettised picture of the readers as an
// 8-bit indexed QImage, the see-through drawing of pictures and icons, and
// reading a picture file or one icon frame.

#include "core/graphics/indexedimage.h"

#include <QImage>
#include <QString>

#include <filesystem>

namespace tarnwick::gui {

// An indexed 8-bit image with the picture's 256 colours.
QImage ToQImage(const core::IndexedImage& image);

// The picture as it is drawn see-through: every pixel that has the colour of the
// bottom-left pixel is left out, wherever it is. A null image stays null.
QImage WithBottomLeftColourClear(const QImage& picture);

// Reads an LBM picture. Throws core::ArtFileError or core::ELBMexception.
QImage ReadLbmPicture(const std::filesystem::path& path);

// Reads directory entry `entry` of an icon file, with `transparent` in every
// pixel the shape does not cover. Throws core::ArtFileError or core::EShpexception.
QImage ReadIconFrame(const std::filesystem::path& path, int entry, int transparent);

// The text of a reader's error, for a message or a hint.
QString ReaderErrorText(const std::exception& error);

} // namespace tarnwick::gui
