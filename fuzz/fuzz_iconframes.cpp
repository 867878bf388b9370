// Feeds arbitrary text to the icon frame table parser (a game folder may hold its
// own iconframes.txt) and checks what comes out.

#include "core/graphics/icontables.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

using namespace tarnwick::core;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    IconFrameTable table;
    std::string error;
    const bool ok = ParseIconFrameTable(text, table, error);
    // A refusal always says why, on one line; an accepted table names only real entries.
    if (!ok && (error.empty() || error.find('\n') != std::string::npos))
        std::abort();
    for (int icon = -1; icon <= 3000; icon += 1) {
        const IconFrameRow& row = table.row(icon);
        if (row.hull < 0 || row.hull > kMaxIconEntry || row.turret < -1 || row.turret > kMaxIconEntry)
            std::abort();
    }
    return 0;
}
