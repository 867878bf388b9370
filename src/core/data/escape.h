#pragma once

// Text from outside shown in a message without letting it drive a terminal.

#include <string>
#include <string_view>

namespace tarnwick::core {

// UTF-8 text with its controls as \xNN: C0, DEL and the C1 controls U+0080..U+009F
// (as the code point: "\x9b"), and every byte that is not part of well-formed
// UTF-8. Every other character is kept as it is.
std::string EscapeControls(std::string_view text);

// Bytes of a name, the comment or a setting, shown through Windows-1252 as
// EscapeControls shows text.
std::string EscapeCp1252(std::string_view bytes);

} // namespace tarnwick::core
