#pragma once

// Windows-1252 byte strings to and from Unicode.
//
// Names, the file comment and settings values are bytes. They are shown as
// Windows-1252; the five bytes that code page leaves undefined (0x81, 0x8D,
// 0x8F, 0x90, 0x9D) show as the C1 control characters of the same value, so
// every byte string survives a trip to Unicode and back unchanged.

#include <optional>
#include <string>
#include <string_view>

namespace tarnwick::core {

// The character a byte shows as.
char32_t Cp1252Char(unsigned char byte);
// The byte that shows as c; nothing when Windows-1252 cannot hold c.
std::optional<unsigned char> Cp1252Byte(char32_t c);

std::u32string Cp1252ToUtf32(std::string_view bytes);
std::u16string Cp1252ToUtf16(std::string_view bytes);
std::string Cp1252ToUtf8(std::string_view bytes);

// Nothing when any character cannot be held (or the input is not well formed);
// a character is never replaced.
std::optional<std::string> Utf32ToCp1252(std::u32string_view text);
std::optional<std::string> Utf16ToCp1252(std::u16string_view text);
std::optional<std::string> Utf8ToCp1252(std::string_view text);

// Where the first byte that is not part of well-formed UTF-8 (no overlong forms,
// no surrogates) is; npos when there is none.
std::size_t FirstInvalidUtf8(std::string_view text);

// The characters of well-formed UTF-8; nothing for anything else.
std::optional<std::u32string> Utf8ToUtf32(std::string_view text);

} // namespace tarnwick::core
