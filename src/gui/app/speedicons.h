#pragma once

// The pictures of the speed buttons, drawn so that they look alike on every desktop.

#include <QIcon>

namespace tarnwick::gui {

enum class SpeedIcon { Erase, Copy, Paste, Move, Back, Forward, Restore, Commit, Find };

QIcon MakeSpeedIcon(SpeedIcon which);

} // namespace tarnwick::gui
