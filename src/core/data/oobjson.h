#pragma once

// A text form of a whole order-of-battle file that goes back to the same bytes:
// every field by the CSV dump's name in file order, each record on a few lines,
// and the bytes that belong to no field as hex in the record or region they sit in.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tarnwick::core {

// A JSON file larger than this is refused before it is parsed: the text of the
// largest file the reader takes (kMaxOobFileBytes, the bytes beyond the records
// as hex) is under 3 MiB, and reformatting adds less than that again.
inline constexpr std::size_t kMaxOobJsonBytes = 4 * 1024 * 1024;

// The same file always gives the same text.
std::string OobToJson(std::span<const std::uint8_t> file);

struct OobJsonError {
    int line = 0; // 1-based
    int column = 0; // 1-based, in characters
    std::string field; // "unit 12 Cost", "length"; empty for a syntax error
    std::string problem;
    // "line 12, column 9: unit 12 Cost: must be a whole number from 0 to 65535, not 70000"
    std::string message() const;
};

struct OobJsonResult {
    bool ok = false;
    std::vector<std::uint8_t> bytes; // the file, when ok
    OobJsonError error; // the first problem, when not
};

// Reads text written by OobToJson, perhaps edited. Refuses an unknown, missing or
// repeated key, a value of the wrong type or out of its field's range, and a name
// that does not fit its field or Windows-1252.
OobJsonResult OobFromJson(std::string_view text);

} // namespace tarnwick::core
