// Reads arbitrary text as the JSON form of a file: it is refused with a place, or
// it gives a file whose JSON form reads back to the same bytes.
//
// An input that starts with a zero byte builds a document instead, so that the
// accepting path is reached at all: its next byte says how many edits to make,
// the following three bytes per edit where (two bytes, scaled to the
// document) and what byte to put there, and the rest is an order-of-battle
// file (short ones read as padded with zeros) whose JSON form is edited.
// Without edits the document must read back to exactly that file.

#include "core/data/oobjson.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <string_view>
#include <vector>

using namespace tarnwick::core;

namespace {

void Check(std::string_view text, const std::vector<std::uint8_t>* expected)
{
    const OobJsonResult result = OobFromJson(text);
    if (!result.ok) {
        if (result.error.line < 1 || result.error.column < 1 || result.error.problem.empty()
            || !result.bytes.empty() || expected != nullptr)
            std::abort();
        return;
    }
    if (expected != nullptr && result.bytes != *expected)
        std::abort();
    const OobJsonResult again = OobFromJson(OobToJson(result.bytes));
    if (!again.ok || again.bytes != result.bytes)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* input, std::size_t size)
{
    if (size < 2 || input[0] != 0) {
        Check(std::string_view(reinterpret_cast<const char*>(input), size), nullptr);
        return 0;
    }
    const std::size_t edits = input[1] % 4;
    if (size < 2 + 3 * edits)
        return 0;
    const std::uint8_t* edit = input + 2;
    const std::vector<std::uint8_t> file(edit + 3 * edits, input + size);
    std::string text = OobToJson(file);
    for (std::size_t i = 0; i < edits; ++i, edit += 3) {
        const std::size_t at = (std::size_t { edit[0] } << 8 | edit[1]) * text.size() / 65536;
        text[at] = static_cast<char>(edit[2]);
    }
    Check(text, edits == 0 ? &file : nullptr);
    return 0;
}
