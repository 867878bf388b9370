#pragma once

// Bytes from outside shown in a message without letting them drive a terminal.

#include <string>
#include <string_view>

namespace tarnwick::core {

// Control bytes (C0, DEL and the C1 range 0x80..0x9F) as \xNN; every other byte as it is.
std::string EscapeControls(std::string_view bytes);

} // namespace tarnwick::core
