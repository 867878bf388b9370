// Reads arbitrary text as a patch: it is refused with a reason, or it writes out
// as a text that reads back the same and applies to any file without harm.

#include "core/data/oobpatch.h"
#include "core/data/records.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

using namespace tarnwick::core;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* input, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(input), size);
    const PatchReadResult result = PatchFromJson(text);
    if (!result.ok) {
        if (result.error.empty())
            std::abort();
        return 0;
    }
    const std::string written = PatchToJson(result.patch);
    const PatchReadResult again = PatchFromJson(written);
    if (!again.ok || PatchToJson(again.patch) != written)
        std::abort();

    // Forced onto an empty file, then once more: every change is then in place.
    const std::vector<std::uint8_t> empty;
    const PatchApplyResult forced = ApplyPatch(empty, result.patch, false, PatchPrefer::Patch);
    if (forced.items.size() != result.patch.changes.size())
        std::abort();
    ApplyPatch(forced.bytes, result.patch, true, PatchPrefer::None);
    return 0;
}
