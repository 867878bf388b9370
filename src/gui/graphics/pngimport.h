#pragma once

// A PNG the user drew, written as a game picture: the file is read here, the
// colours are mapped and the picture written by the core.

#include <QImage>
#include <QString>

#include <filesystem>

class QWidget;

namespace tarnwick::core {
struct RgbaImage;
}

namespace tarnwick::gui {

class Dialogs;

// The picture as 8-bit red, green, blue, alpha bytes (alpha not premultiplied).
core::RgbaImage ToRgba(const QImage& image);

// Asks for a PNG and writes it as picture `number` of the working folder
// gameDir (replacing an existing one only when the user says yes); says in a
// box what went wrong or what the user should know. True when a picture was
// written.
bool ImportPngPicture(QWidget* parent, Dialogs& dialogs, const std::filesystem::path& gameDir, int number);

// The same without the file dialog, for a PNG already chosen.
bool ImportPngPictureFrom(QWidget* parent, Dialogs& dialogs, const QString& pngPath,
    const std::filesystem::path& gameDir, int number);

} // namespace tarnwick::gui
