#include "core/data/escape.h"

namespace tarnwick::core {

std::string EscapeControls(std::string_view bytes)
{
    static constexpr char kHex[] = "0123456789abcdef";
    std::string shown;
    shown.reserve(bytes.size());
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x20 || b == 0x7F || (b >= 0x80 && b < 0xA0)) {
            shown += "\\x";
            shown += kHex[b >> 4];
            shown += kHex[b & 0xF];
        } else {
            shown += c;
        }
    }
    return shown;
}

} // namespace tarnwick::core
