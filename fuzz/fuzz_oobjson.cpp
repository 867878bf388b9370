// Reads arbitrary text as the JSON form of a file: it is refused with a place, or
// it gives a file whose JSON form reads back to the same bytes.

#include "core/data/oobjson.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

using namespace tarnwick::core;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* input, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(input), size);
    const OobJsonResult result = OobFromJson(text);
    if (!result.ok) {
        if (result.error.line < 1 || result.error.column < 1 || result.error.problem.empty()
            || !result.bytes.empty())
            std::abort();
        return 0;
    }
    const OobJsonResult again = OobFromJson(OobToJson(result.bytes));
    if (!again.ok || again.bytes != result.bytes)
        std::abort();
    return 0;
}
