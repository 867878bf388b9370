#pragma once

// Bytes as two lowercase hex digits each, as the JSON and patch files carry the
// bytes no field describes, and messages show control characters.

#include <string>

namespace tarnwick::core {

inline void AppendHexByte(std::string& out, unsigned char b)
{
    static constexpr char kDigits[] = "0123456789abcdef";
    out.push_back(kDigits[b >> 4]);
    out.push_back(kDigits[b & 0xF]);
}

// The value of one hex digit in either case; -1 for any other character.
inline int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace tarnwick::core
