#include "core/data/escape.h"

#include "core/data/cp1252.h"
#include "core/data/hex.h"

namespace tarnwick::core {

std::string EscapeControls(std::string_view text)
{
    std::string shown;
    shown.reserve(text.size());
    auto escape = [&](unsigned char b) {
        shown += "\\x";
        AppendHexByte(shown, b);
    };
    std::size_t i = 0;
    while (i < text.size()) {
        const auto b = static_cast<unsigned char>(text[i]);
        if (b < 0x80) {
            if (b < 0x20 || b == 0x7F)
                escape(b);
            else
                shown += text[i];
            ++i;
            continue;
        }
        const std::size_t length = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : 2;
        if (i + length > text.size() || FirstInvalidUtf8(text.substr(i, length)) != std::string_view::npos) {
            escape(b);
            ++i;
            continue;
        }
        const auto second = static_cast<unsigned char>(text[i + 1]);
        if (b == 0xC2 && second < 0xA0)
            escape(second); // U+0080..U+009F
        else
            shown.append(text.substr(i, length));
        i += length;
    }
    return shown;
}

std::string EscapeCp1252(std::string_view bytes)
{
    return EscapeControls(Cp1252ToUtf8(bytes));
}

} // namespace tarnwick::core
