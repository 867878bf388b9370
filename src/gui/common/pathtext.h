#pragma once

// Paths stay the file system's bytes; only the text shown for them is converted.

#include <QString>

#include <filesystem>

namespace tarnwick::gui {

// The text shown for a path: its bytes read as UTF-8, with a replacement
// character for each byte that is not part of a valid sequence.
QString ShownPath(const std::filesystem::path& path);

// The path a typed or chosen text names. Where the text begins with the shown
// text of known, that part stands for known's own bytes, so a folder whose name
// is not valid UTF-8 can still be typed below.
std::filesystem::path PathFromText(const QString& text, const std::filesystem::path& known = {});

} // namespace tarnwick::gui
